"""The tool under a shell with job control (Ctrl+Z and fg), as a user
starts it."""

import os
import shutil
import signal
import termios
import time

import golden
from harness import DESTINATION_PROMPT, EXIT_OK, MESSAGE_PROMPT, SIMULATOR_LINE, E2ETestCase
from terminal_processes import LFLAG, descendants, alive

INCLUDE = golden.INCLUDE_FILE


class JobControl(E2ETestCase):
    """The tool under a shell with job control, as a user starts it."""

    PROMPT = "shell> "

    @staticmethod
    def text(run):
        return "\n".join(run.transcript())

    def setUp(self):
        super().setUp()
        if not self.runner.posix_system or not shutil.which("bash"):
            self.skipTest("job control of a POSIX shell")

    def at_shell_prompt(self, run, count):
        run.wait_for(lambda: self.text(run).count(self.PROMPT.strip()) >= count, timeout=20,
                     what="shell prompt number %d" % count)

    def tool_pid(self, shell):
        """The tool: the shell's child."""
        for entry in os.listdir("/proc"):
            try:
                with open("/proc/%s/stat" % entry) as f:
                    fields = f.read().rsplit(")", 1)[1].split()
            except (OSError, IndexError):
                continue
            if int(fields[1]) == shell.pid:
                return int(entry)
        raise AssertionError("the tool is not running\n" + shell.dump())

    def shell_with_modes_saved(self):
        """An interactive bash at its second prompt, the terminal's modes
        saved in modes.before, the simulator (2.5 s slow) in place."""
        self.install()
        env = self.environment(FAKE_SLEEP_MS="2500", PS1=self.PROMPT, HISTFILE="/dev/null")
        shell = self.start(command=["bash", "--norc", "--noprofile", "-i"], env=env)
        self.at_shell_prompt(shell, 1)
        shell.type("stty -g > modes.before\r")
        self.at_shell_prompt(shell, 2)
        return shell

    def test_stopped_and_continued_while_the_simulator_runs_and_at_a_prompt(self):
        """Ctrl+Z while the simulator runs gives the shell its terminal and
        fg finishes the run; stopped at a prompt and continued, the tool has
        its raw modes back and the prompt still takes the answer."""
        shell = self.shell_with_modes_saved()
        shell.type(" ".join(self.runner.tool_command([])) + "\r")
        shell.wait_for_prompt(MESSAGE_PROMPT)
        shell.type("cq k1abc fn42\r")
        time.sleep(0.8)  # the simulator now sleeps
        shell.type("\x1a")  # Ctrl+Z
        self.at_shell_prompt(shell, 3)
        self.assertIn("Stopped", self.text(shell))
        self.assertFalse(os.path.exists(self.path("FST4.INC")))

        shell.type("fg\r")
        shell.wait_for_prompt(DESTINATION_PROMPT, timeout=15)
        shell.type("b")
        shell.wait_for_text(DESTINATION_PROMPT + "b")
        os.kill(self.tool_pid(shell), signal.SIGSTOP)
        self.at_shell_prompt(shell, 4)
        command_shown = self.text(shell).count(self.runner.tool_command([])[-1])
        shell.type("fg\r")
        # The shell's own line editor also runs without echo: first see the
        # shell name the job it continues, then the tool's raw modes, and the
        # prompt with the text typed so far again below the shell's lines.
        shell.wait_for(lambda: self.text(shell).count(self.runner.tool_command([])[-1]) > command_shown,
                       what="the shell continuing the job")
        shell.wait_for(lambda: not shell.modes_now()[LFLAG] & termios.ECHO, what="raw modes again")
        typed_so_far = DESTINATION_PROMPT + "b"
        shell.wait_for(lambda: sum(row == typed_so_far for row in shell.transcript()) == 2,
                       what="the prompt and the typed text shown again")
        shown_again = shell.transcript()
        self.assertGreater(max(i for i, row in enumerate(shown_again) if row.startswith(DESTINATION_PROMPT)),
                           max(i for i, row in enumerate(shown_again) if self.PROMPT.strip() in row))
        shell.type(".inc\r")
        self.at_shell_prompt(shell, 5)
        shell.type("echo exit $?; stty -g > modes.after\r")
        self.at_shell_prompt(shell, 6)
        self.assertIn("exit %d" % EXIT_OK, self.text(shell))
        self.assertIn(DESTINATION_PROMPT + "b.inc", shell.transcript())
        self.assertEqual(self.read("b.inc"), INCLUDE)
        self.assertEqual(self.read("modes.after"), self.read("modes.before"), "terminal modes as before")


    def test_kill_after_ctrl_z_ends_the_job(self):
        """`kill %1` sends SIGTERM and SIGCONT to the stopped job: the run
        ends (tool, interpreter and simulator) without touching the
        terminal it no longer owns, and leaves no report."""
        shell = self.shell_with_modes_saved()
        shell.type(" ".join(self.runner.tool_command(["cq"])) + "\r")
        shell.wait_for_text(SIMULATOR_LINE.strip())
        shell.wait_for(lambda: len(descendants(self.tool_pid(shell))) >= 2, timeout=10,
                       what="the simulator running")
        everyone = [self.tool_pid(shell)] + descendants(self.tool_pid(shell))
        shell.type("\x1a")  # Ctrl+Z
        self.at_shell_prompt(shell, 3)
        self.assertIn("Stopped", self.text(shell))
        shell.type("kill %1\r")
        self.at_shell_prompt(shell, 4)
        shell.wait_for(lambda: not any(alive(pid) for pid in everyone), timeout=10,
                       what="the whole job ended")
        shell.type("jobs; stty -g > modes.after\r")
        self.at_shell_prompt(shell, 5)
        self.assertIn("Terminated", self.text(shell))
        self.assertNotIn("Stopped (tty output)", self.text(shell))
        self.assertEqual(self.read("modes.after"), self.read("modes.before"), "terminal modes as before")
        time.sleep(2.7)  # past the simulator's sleep: no report appears
        self.assertEqual(sorted(self.files()), ["FST4SIM.EXE", "modes.after", "modes.before"])
