"""The terminal around the run (issue 2, POSIX platform layer): modes saved
and restored on every way out, children run in the user's modes, the run
without any terminal, output through standard error, a terminal that never
answers the cursor-position request."""

import os
import shutil
import signal
import subprocess
import termios
import time

import fake_data
import reference
from harness import (BANNER, DESTINATION_PROMPT, EXIT_NO_LISTING, EXIT_NO_REPORT,
                     EXIT_NOT_WRITTEN, EXIT_OK, EXIT_SIMULATOR_MISSING, MESSAGE_PROMPT, OWN_TEXTS,
                     E2ETestCase, TerminalRun, written_line)

INCLUDE = reference.include_file_bytes(fake_data.GOOD_SYMBOLS, b"CQ K1ABC FN42")

LFLAG = 3


class TerminalModes(E2ETestCase):

    def setUp(self):
        super().setUp()
        if not self.runner.posix_system:
            self.skipTest("termios")

    def check_restored(self, run):
        self.assertEqual(run.modes_now(), run.modes_before, "terminal modes restored\n" + run.dump())
        self.assert_default_colours_at_end(run)
        self.assertFalse(run.screen.cursor.hidden)

    def test_raw_at_the_prompt_restored_at_the_end(self):
        self.install()
        run = self.start()
        run.wait_for_prompt(MESSAGE_PROMPT)
        lflag = run.modes_now()[LFLAG]
        self.assertFalse(lflag & termios.ECHO, "no echo by the terminal at the prompt")
        self.assertFalse(lflag & termios.ICANON, "keys one by one at the prompt")
        self.assertFalse(lflag & termios.ISIG, "Ctrl+C is a key at the prompt")
        self.assertTrue(run.modes_before[LFLAG] & termios.ECHO)
        run.type("cq k1abc fn42\r")
        run.wait_for_prompt(DESTINATION_PROMPT)
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK)
        self.check_restored(run)

    def test_restored_at_every_ending(self):
        endings = [
            ("missing simulator", None, [], {}, None, EXIT_SIMULATOR_MISSING),
            ("empty message", "fake_good_report", [], {}, "", EXIT_OK),
            ("no report", "fake_good_report", ["cq"], {"COMSPEC": self.runner.missing_interpreter()},
             None, EXIT_NO_REPORT),
            ("no listing", "fake_no_listing", ["cq"], {}, "", EXIT_NO_LISTING),
            ("not written", "fake_good_report", ["cq"], {}, "nofolder/x.inc", EXIT_NOT_WRITTEN),
        ]
        for index, (what, fake, args, env, answer, expected) in enumerate(endings):
            with self.subTest(ending=what):
                folder = os.path.join(self.work, "ending%d" % index)
                os.mkdir(folder)
                if fake:
                    self.runner.install_simulator(fake, folder)
                run = TerminalRun(self.runner, folder, args=args, env=self.environment(**env))
                self.addCleanup(run.close)
                run.start()
                if answer is not None:
                    run.wait_for_prompt(MESSAGE_PROMPT if not args else DESTINATION_PROMPT, timeout=15)
                    run.type(answer + "\r")
                self.assertEqual(run.wait_exit(), expected, run.dump())
                self.check_restored(run)

    def test_restored_when_terminated(self):
        for signal_number in (signal.SIGTERM, signal.SIGHUP):
            with self.subTest(signal=signal_number):
                self.install()
                run = self.start()
                run.wait_for_prompt(MESSAGE_PROMPT)
                run.type("cq")
                run.wait_for_text(MESSAGE_PROMPT + "cq")
                os.kill(run.pid, signal_number)
                self.assertEqual(run.wait_exit(), -signal_number)
                self.check_restored(run)

    def test_interrupt_signals_do_not_end_the_run(self):
        """Ctrl+C, Ctrl+\\ and Ctrl+Z as signals (from another program, or
        the terminal in cooked mode) leave the run going."""
        self.install()
        run = self.start()
        run.wait_for_prompt(MESSAGE_PROMPT)
        for signal_number in (signal.SIGINT, signal.SIGQUIT, signal.SIGTSTP):
            os.kill(run.pid, signal_number)
        time.sleep(0.3)
        run.type("cq k1abc fn42\r")
        run.wait_for_prompt(DESTINATION_PROMPT)
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK, run.dump())
        self.assertEqual(self.read("FST4.INC"), INCLUDE)

    def test_children_run_in_the_users_modes(self):
        self.install()
        run = self.start(env=self.environment(FAKE_SLEEP_MS="1500"))
        run.wait_for_prompt(MESSAGE_PROMPT)
        run.type("cq k1abc fn42\r")
        run.wait_for(lambda: run.cursor()[1] > 5, what="the message's Enter")
        time.sleep(0.5)  # the simulator now sleeps
        self.assertEqual(run.modes_now(), run.modes_before, "the simulator runs in the user's modes")
        run.wait_for_prompt(DESTINATION_PROMPT)
        self.assertFalse(run.modes_now()[LFLAG] & termios.ECHO, "raw again at the destination prompt")
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK)
        self.check_restored(run)


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

    def test_stopped_and_continued_while_the_simulator_runs_and_at_a_prompt(self):
        """Ctrl+Z while the simulator runs gives the shell its terminal and
        fg finishes the run; stopped at a prompt and continued, the tool has
        its raw modes back and the prompt still takes the answer."""
        self.install()
        env = self.environment(FAKE_SLEEP_MS="2500", PS1=self.PROMPT, HISTFILE="/dev/null")
        shell = self.start(command=["bash", "--norc", "--noprofile", "-i"], env=env)
        self.at_shell_prompt(shell, 1)
        shell.type("stty -g > modes.before\r")
        self.at_shell_prompt(shell, 2)
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
        os.kill(self.tool_pid(shell), signal.SIGSTOP)
        self.at_shell_prompt(shell, 4)
        shell.type("fg\r")
        shell.wait_for(lambda: not shell.modes_now()[LFLAG] & termios.ECHO, what="raw modes again")
        shell.type("\r")
        self.at_shell_prompt(shell, 5)
        shell.type("echo exit $?; stty -g > modes.after\r")
        self.at_shell_prompt(shell, 6)
        self.assertIn("exit %d" % EXIT_OK, self.text(shell))
        self.assertEqual(self.read("FST4.INC"), INCLUDE)
        self.assertEqual(self.read("modes.after"), self.read("modes.before"), "terminal modes as before")


class NoTerminal(E2ETestCase):
    """Without any terminal the lines come from standard input, and the end of
    input gives empty lines: scripts never hang."""

    def setUp(self):
        super().setUp()
        if not self.runner.posix_system:
            self.skipTest("setsid and pipes")

    def run_piped(self, data, args=()):
        self.install()
        began = time.monotonic()
        result = subprocess.run(self.runner.tool_command(args), input=data, capture_output=True,
                                cwd=self.work, env=self.runner.environment(), timeout=30,
                                start_new_session=True)  # setsid: no controlling terminal
        return result, time.monotonic() - began

    def check_quiet(self, result):
        for stream in (result.stdout, result.stderr):
            for text in OWN_TEXTS:
                self.assertNotIn(text.encode("ascii"), stream)
            self.assertNotIn(b"\x1b]52", stream, "no clipboard without a terminal")
            self.assertNotIn(b"\x1b[", stream, "no terminal sequences")

    def test_lines_from_standard_input(self):
        result, took = self.run_piped(b"cq k1abc fn42\n\n")
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertEqual(self.read("FST4.INC"), INCLUDE)
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])
        self.check_quiet(result)
        self.assertGreaterEqual(took, 1.9, "the pause is kept")

    def test_crlf_lines_and_a_destination(self):
        result, _ = self.run_piped(b"cq k1abc fn42\r\nout.inc, x\r\n")
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertEqual(self.read("out.inc"), INCLUDE)
        self.check_quiet(result)

    def test_end_of_input_gives_empty_lines(self):
        result, _ = self.run_piped(b"cq k1abc fn42")
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertEqual(self.read("FST4.INC"), INCLUDE)
        self.check_quiet(result)

    def test_no_input_at_all_is_an_empty_message(self):
        result, took = self.run_piped(b"")
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertEqual(self.files(), ["FST4SIM.EXE"])
        self.assertLess(took, 1.5)
        self.check_quiet(result)

    def test_message_on_the_command_line(self):
        result, _ = self.run_piped(b"", args=["cq", "k1abc", "fn42"])
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertEqual(self.read("FST4.INC"), INCLUDE)
        self.check_quiet(result)


class OutputThroughStandardError(E2ETestCase):

    def test_standard_output_redirected_to_a_file(self):
        """The tool's texts still show on the terminal (through standard
        error); the file gets none of them."""
        if not self.runner.posix_system:
            self.skipTest("redirection set up by the harness")
        self.install()
        out = os.path.join(self.other_folder(), "stdout.txt")
        run = self.start(stdout_path=out)
        run.wait_for_prompt(MESSAGE_PROMPT)
        self.assertEqual(run.transcript()[2], BANNER.strip())
        run.type("cq k1abc fn42\r")
        run.wait_for_prompt(DESTINATION_PROMPT)
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK, run.dump())
        self.assertIn(written_line("FST4.INC").rstrip(), run.transcript())
        self.assertEqual(self.read("FST4.INC"), INCLUDE)
        with open(out, "rb") as f:
            redirected = f.read()
        for text in OWN_TEXTS:
            self.assertNotIn(text.encode("ascii"), redirected)
        self.assertNotIn(b"\x1b", redirected)
        self.assertEqual(run.clipboard_texts(), [INCLUDE[:-2]])


class CursorReports(E2ETestCase):

    def test_terminal_that_never_answers(self):
        """No answer to the cursor-position request: the tool goes on after
        its wait instead of hanging, and the run completes."""
        self.install()
        began = time.monotonic()
        run = self.start(args=["cq k1abc fn42"], answer_cursor=False)
        run.wait_for_text(DESTINATION_PROMPT.strip(), timeout=15)
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK, run.dump())
        self.assertLess(time.monotonic() - began, 10)
        self.assertEqual(self.read("FST4.INC"), INCLUDE)
        self.assertEqual(run.clipboard_texts(), [INCLUDE[:-2]])
        self.assertIn(written_line("FST4.INC").rstrip(), run.transcript())
