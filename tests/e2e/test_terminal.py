"""The terminal around the run (the POSIX platform layer): modes saved
and restored on every way out, children run in the user's modes, the run
without any terminal, output through standard error, a terminal that never
answers the cursor-position request."""

import os
import shlex
import shutil
import signal
import subprocess
import termios
import time

import fake_data
import golden
from harness import (BAD_MESSAGE, BANNER, DESTINATION_PROMPT, DOWNLOAD_HINT, EXIT_BAD_MESSAGE, EXIT_KEYBOARD_LOST,
                     EXIT_NO_LISTING, EXIT_NO_REPORT, EXIT_NOT_WRITTEN, EXIT_OK, EXIT_OTHER_TEXT,
                     EXIT_WRONG_SYMBOL_COUNT, EXIT_SIMULATOR_MISSING, INTERRUPTED, LIGHT_RED, MESSAGE_PROMPT,
                     NO_LISTING,
                     SIMULATOR_LINE, SIMULATOR_MISSING, E2ETestCase, TerminalRun,
                     not_written_line, other_text, written_line, wrong_symbol_count, write_program)

INCLUDE = golden.INCLUDE_FILE

LFLAG = 3

# Every signal whose default course ends a process, short of the keyboard's
# and SIGKILL: each ends the whole run.
ENDING_SIGNALS = (signal.SIGTERM, signal.SIGHUP, signal.SIGPIPE, signal.SIGUSR1, signal.SIGUSR2,
                  signal.SIGALRM, signal.SIGVTALRM, signal.SIGPROF, signal.SIGXCPU, signal.SIGXFSZ)


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
            ("no listing", "fake_no_listing", ["cq"], {}, None, EXIT_NO_LISTING),
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
        for signal_number in ENDING_SIGNALS:
            with self.subTest(signal=signal_number):
                self.install()
                run = self.start()
                run.wait_for_prompt(MESSAGE_PROMPT)
                run.type("cq")
                run.wait_for_text(MESSAGE_PROMPT + "cq")
                os.kill(run.pid, signal_number)
                self.assertEqual(run.wait_exit(), -signal_number)
                self.check_restored(run)

    def test_a_run_ended_by_a_signal_leaves_no_report(self):
        for signal_number in ENDING_SIGNALS:
            with self.subTest(signal=signal_number):
                self.install()
                run = self.start(args=["cq"])
                run.wait_for_prompt(DESTINATION_PROMPT)
                self.assertIn("FST4TEMP.TXT", self.files())
                os.kill(run.pid, signal_number)
                self.assertEqual(run.wait_exit(), -signal_number)
                self.assertEqual(self.files(), ["FST4SIM.EXE"])
                self.check_restored(run)

    def test_a_terminal_that_goes_away_at_a_prompt_is_no_answer(self):
        """The terminal closed at a prompt, with text half typed: the tool
        sees the end of its keyboard before, or without, any SIGHUP (here a
        shell that ignores it leads the session, as in a terminal window, so
        none comes). No answer is taken from it: an earlier FST4.INC stays,
        no file is named after the half-typed text, the report goes, and
        nothing is left running."""
        for args, prompt, typed in (([], MESSAGE_PROMPT, "cq k1"), (["cq k1abc fn42"], DESTINATION_PROMPT, "beac")):
            with self.subTest(prompt=prompt):
                self.install()
                self.write("FST4.INC", b"earlier")
                status = os.path.join(self.other_folder(), "status")
                shell = ["/bin/sh", "-c", 'trap "" HUP; "$@"; echo $? > "%s"' % status, "sh"]
                run = self.start(command=shell + self.runner.tool_command(args))
                run.wait_for_prompt(prompt)
                run.type(typed)
                run.wait_for_text(prompt + typed)
                children = descendants(run.pid)
                os.close(run.master)
                run.master = None
                deadline = time.monotonic() + 10
                while os.waitpid(run.pid, os.WNOHANG)[0] == 0:
                    self.assertLess(time.monotonic(), deadline, "the run did not end")
                    time.sleep(0.05)
                run.exit_status = 0
                with open(status) as f:
                    self.assertEqual(int(f.read()), EXIT_KEYBOARD_LOST)
                self.assertEqual([pid for pid in children if alive(pid)], [], "no process left")
                self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])
                self.assertEqual(self.read("FST4.INC"), b"earlier")

    def test_a_signal_while_the_simulator_runs_ends_the_whole_run(self):
        """The interpreter and the simulator end with the tool, and the
        report goes after they have ended: nothing appears later. Every
        signal whose default course ends a process does this, and the exit
        status says which it was."""
        def check(signal_number):
            folder = os.path.join(self.work, signal.Signals(signal_number).name)
            os.mkdir(folder)
            self.runner.install_simulator("fake_good_report", folder)
            with open(os.path.join(folder, "FST4.INC"), "wb") as f:
                f.write(b"mine")
            run = TerminalRun(self.runner, folder, args=["cq"], env=self.environment(FAKE_SLEEP_MS="3000"))
            self.addCleanup(run.close)
            run.start()
            run.wait_for(lambda: len(descendants(run.pid)) >= 2, timeout=10,
                         what="the interpreter and the simulator")
            children = descendants(run.pid)
            os.kill(run.pid, signal_number)
            self.assertEqual(run.wait_exit(), -signal_number, run.dump())
            self.assertEqual([pid for pid in children if alive(pid)], [], "no child left running")
            time.sleep(3.2)  # the simulator would have written its report by now
            self.assertEqual(self.files(folder), ["FST4.INC", "FST4SIM.EXE"])
            with open(os.path.join(folder, "FST4.INC"), "rb") as f:
                self.assertEqual(f.read(), b"mine", "the destination as it was")
            self.check_restored(run)

        self.each_at_once(ENDING_SIGNALS, check, label="signal")

    def test_ctrl_c_or_ctrl_backslash_while_the_simulator_runs_ends_the_run(self):
        """The keys reach the interpreter and the simulator from the
        terminal; the run ends after them with a light red line, removes
        the report, asks for nothing, writes nothing, and ends of the key's
        signal. At the prompts the same keys are keys (test above)."""
        def check(case):
            key, signal_number = case
            folder = os.path.join(self.work, signal.Signals(signal_number).name)
            os.mkdir(folder)
            self.runner.install_simulator("fake_good_report", folder)
            with open(os.path.join(folder, "FST4.INC"), "wb") as f:
                f.write(b"mine")
            run = TerminalRun(self.runner, folder, args=["cq"], env=self.environment(FAKE_SLEEP_MS="3000"))
            self.addCleanup(run.close)
            run.start()
            run.wait_for(lambda: "FST4SIM.EXE" in [command_name(pid) for pid in descendants(run.pid)],
                         timeout=10, what="the simulator running")
            children = descendants(run.pid)
            run.type(key)
            self.assertEqual(run.wait_exit(), -signal_number, run.dump())
            self.assertEqual([pid for pid in children if alive(pid)], [], "no child left running")
            rows = run.transcript()
            self.assertIn(INTERRUPTED, rows, run.dump())
            self.assert_row(run, run.transcript_cells()[rows.index(INTERRUPTED)], INTERRUPTED, LIGHT_RED)
            self.assertFalse(any(row.startswith(DESTINATION_PROMPT.rstrip()) for row in rows), "nothing asked")
            time.sleep(3.2)  # the simulator would have written its report by now
            self.assertEqual(self.files(folder), ["FST4.INC", "FST4SIM.EXE"])
            with open(os.path.join(folder, "FST4.INC"), "rb") as f:
                self.assertEqual(f.read(), b"mine", "the destination as it was")
            self.check_restored(run)

        self.each_at_once([("\x03", signal.SIGINT), ("\x1c", signal.SIGQUIT)], check, label="key")

    def test_a_simulator_that_ignores_the_signal_is_killed(self):
        """It gets two seconds, then is killed: nothing keeps the run from
        ending, and no report appears afterwards."""
        write_program(self.path("FST4SIM.EXE"), "#!/bin/sh\ntrap '' TERM\nexec sleep 6\n")
        run = self.start(args=["cq"])
        run.wait_for(lambda: "sleep" in [command_name(pid) for pid in descendants(run.pid)], timeout=10,
                     what="the simulator sleeping, deaf to SIGTERM")
        children = descendants(run.pid)
        os.kill(run.pid, signal.SIGTERM)
        self.assertEqual(run.wait_exit(timeout=10), -signal.SIGTERM, run.dump())
        self.assertEqual([pid for pid in children if alive(pid)], [], "no child left running")
        self.assertEqual(self.files(), ["FST4SIM.EXE"])
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


def descendants(pid):
    """The processes below `pid`, from /proc."""
    parents = {}
    for entry in os.listdir("/proc"):
        try:
            with open("/proc/%s/stat" % entry) as f:
                parents[int(entry)] = int(f.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
    found, frontier = [], [pid]
    while frontier:
        children = [child for child, parent in parents.items() if parent in frontier]
        found += children
        frontier = children
    return found


def processes_in(folder):
    """The processes whose current folder is `folder`, from /proc."""
    found = []
    for entry in os.listdir("/proc"):
        try:
            if entry.isdigit() and os.readlink("/proc/%s/cwd" % entry) == os.path.realpath(folder):
                found.append(int(entry))
        except OSError:
            continue
    return [pid for pid in found if alive(pid)]


def command_name(pid):
    try:
        with open("/proc/%d/comm" % pid) as f:
            return f.read().strip()
    except OSError:
        return None


def alive(pid):
    """True while the process exists and is no zombie."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


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
        self.install()
        env = self.environment(FAKE_SLEEP_MS="2500", PS1=self.PROMPT, HISTFILE="/dev/null")
        shell = self.start(command=["bash", "--norc", "--noprofile", "-i"], env=env)
        self.at_shell_prompt(shell, 1)
        shell.type("stty -g > modes.before\r")
        self.at_shell_prompt(shell, 2)
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


class NoTerminal(E2ETestCase):
    """Without any terminal or console (a script, cron): the lines come from
    standard input, its end gives empty lines, so scripts never hang; standard
    output gets the plain transcript of the whole run, and the light red lines
    go to standard error as well."""

    def scripted(self, typed, args=(), fake="fake_good_report", env=None):
        if fake:
            self.install(fake)
        return self.run_scripted(args, typed, env=env)

    def check_plain(self, result):
        for stream in (result.stdout, result.stderr):
            self.assertNotIn(b"\x1b", stream, "no terminal sequences")
            self.assertNotIn(b"\x07", stream)

    def banner(self):
        return self.own_lines("", "", BANNER, SIMULATOR_LINE, "")

    def outcome(self, line):
        """The outcome line as it reads when the clipboard cannot be reached
        without a terminal."""
        if not self.runner.clipboard_without_terminal:
            line = line.replace("and copied to Clipboard", "but not copied to Clipboard")
            line = line.replace("but copied to Clipboard", "and not copied to Clipboard")
        return line

    def test_lines_from_standard_input(self):
        """The main road: every line in order, the interpreter's displays in
        their places, nothing on standard error."""
        result = self.scripted(b"cq k1abc fn42\n\n")
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertEqual(result.stdout,
                         self.banner()
                         + self.own_lines(MESSAGE_PROMPT + "cq k1abc fn42", "", "")
                         + self.shown(fake_data.GOOD_REPORT)
                         + self.own_lines(DESTINATION_PROMPT)
                         + self.shown(INCLUDE)
                         + self.own_lines(self.outcome(written_line("FST4.INC")), ""))
        self.assertEqual(result.stderr, b"")
        self.check_plain(result)
        self.assertEqual(self.read("FST4.INC"), INCLUDE)
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])
        self.assertGreaterEqual(result.took, 1.9, "the pause is kept")

    def test_answer_files_as_windows_editors_save_them(self):
        """UTF-8 with its mark (Notepad, PowerShell 7) and UTF-16 in either
        byte order (Notepad's "Unicode", PowerShell 5's >): the mark is no
        part of the message, and the file named is the file written."""
        self.install()
        answers = "cq k1abc fn42\r\ncaf\u00e9.inc\r\n"
        for encoding, mark in (("utf-8", b"\xef\xbb\xbf"), ("utf-16-le", b"\xff\xfe"),
                               ("utf-16-be", b"\xfe\xff")):
            with self.subTest(encoding=encoding):
                result = self.run_scripted(typed=mark + answers.encode(encoding))
                self.assertEqual(result.returncode, EXIT_OK, result)
                self.assertIn(self.own_lines(MESSAGE_PROMPT + "cq k1abc fn42"), result.stdout)
                self.assertEqual(self.read("caf\u00e9.inc"), INCLUDE)
                self.assertEqual(self.files(), ["FST4SIM.EXE", "caf\u00e9.inc"])
                os.remove(self.path("caf\u00e9.inc"))

    def test_the_outcome_names_the_file_the_system_holds(self):
        """Windows drops a name's trailing dots and blanks: dot.inc. writes
        dot.inc, and the outcome line says so; POSIX keeps the name."""
        result = self.scripted(b"cq k1abc fn42\r\ndot.inc.\r\n")
        self.assertEqual(result.returncode, EXIT_OK, result)
        held = "dot.inc." if self.runner.posix_system else "dot.inc"
        self.assertEqual(self.files(), ["FST4SIM.EXE", held])
        self.assertIn(self.own_lines(self.outcome(written_line(held))), result.stdout)

    def test_the_reports_word_goes_to_standard_error_too(self):
        for env, code, line in (({"FAKE_MESSAGE": "CQ K1ABC"}, EXIT_OTHER_TEXT, other_text("CQ K1ABC")),
                                ({"FAKE_MESSAGE": "*** bad message ***"}, EXIT_BAD_MESSAGE, BAD_MESSAGE),
                                ({"FAKE_LINES": "16"}, EXIT_WRONG_SYMBOL_COUNT, wrong_symbol_count(80))):
            with self.subTest(env=env):
                result = self.scripted(b"\n", args=["cq", "k1abc", "fn42"], env=self.environment(**env))
                self.assertEqual(result.returncode, code, result)
                self.assertIn(self.own_lines(line), result.stdout)
                self.assertTrue(result.stderr.startswith(self.own_lines(line)), result.stderr)
                # A report that rules out any include file asks for no destination.
                self.assertEqual(DESTINATION_PROMPT.encode() in result.stdout, code == EXIT_OTHER_TEXT, result.stdout)

    def test_a_reader_that_goes_away_ends_the_run(self):
        """`sympack cq | head -n 1`: the first line the tool writes after
        head has gone ends the run as SIGPIPE ends a program, and the run
        leaves no report and no process behind."""
        if not self.runner.posix_system:
            self.skipTest("a POSIX pipeline")
        self.install()
        command = " ".join(shlex.quote(word) for word in self.runner.tool_command(["cq"]))
        result = subprocess.run(["bash", "-c", command + ' < /dev/null | head -n 1; echo "${PIPESTATUS[0]}"'],
                                cwd=self.work, env=self.environment(FAKE_SLEEP_MS="1000"), capture_output=True,
                                timeout=30)
        self.assertEqual(result.stdout, b"\n%d\n" % (128 + signal.SIGPIPE), result)
        self.assertEqual(self.files(), ["FST4SIM.EXE"])
        self.assertEqual(processes_in(self.work), [], "no process left in the folder")

    def test_missing_simulator_says_so(self):
        result = self.scripted(b"", fake=None)
        self.assertEqual(result.returncode, EXIT_SIMULATOR_MISSING, result)
        self.assertEqual(result.stdout, self.banner() + self.own_lines(SIMULATOR_MISSING, DOWNLOAD_HINT))
        self.assertEqual(result.stderr, self.own_lines(SIMULATOR_MISSING))
        self.assertEqual(self.files(), [])

    def test_no_listing_says_so(self):
        result = self.scripted(b"\n", args=["cq"], fake="fake_no_listing")
        self.assertEqual(result.returncode, EXIT_NO_LISTING, result)
        self.assertTrue(result.stdout.startswith(self.banner() + self.own_lines("", "")), result.stdout)
        self.assertTrue(result.stdout.endswith(self.own_lines(NO_LISTING)), result.stdout)
        self.assertNotIn(DESTINATION_PROMPT.encode(), result.stdout, "nothing asked when nothing can be written")
        self.assertEqual(result.stderr, self.own_lines(NO_LISTING))
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_not_written_says_so(self):
        result = self.scripted(b"nofolder/x.inc\n", args=["cq", "k1abc", "fn42"])
        self.assertEqual(result.returncode, EXIT_NOT_WRITTEN, result)
        line = self.outcome(not_written_line("nofolder/x.inc"))
        self.assertIn(self.own_lines(DESTINATION_PROMPT + "nofolder/x.inc"), result.stdout)
        self.assertTrue(result.stdout.endswith(self.own_lines(line, "")), result.stdout)
        # The interpreter's complaint about the missing file, then the line.
        self.assertTrue(result.stderr.endswith(self.own_lines(line)), result.stderr)
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_light_red_lines_once_when_both_streams_go_to_one_file(self):
        self.install()
        os.mkdir(self.path("FST4.INC"))  # the answer "" (ended input) names a folder
        log = os.path.join(self.other_folder(), "log.txt")
        with open(log, "wb") as out:
            code = subprocess.run(self.runner.tool_command(["cq"]), stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=subprocess.STDOUT, cwd=self.work, env=self.runner.environment(),
                                  timeout=60, start_new_session=True).returncode
        self.assertEqual(code, EXIT_NOT_WRITTEN)
        with open(log, "rb") as f:
            self.assertEqual(f.read().count(b"Symbols not written"), 1)

    def test_crlf_lines_and_a_destination(self):
        result = self.scripted(b"cq k1abc fn42\r\nout.inc, x\r\n")
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertEqual(self.read("out.inc"), INCLUDE)
        self.assertIn(self.own_lines(DESTINATION_PROMPT + "out.inc, x"), result.stdout)
        self.check_plain(result)

    def test_end_of_input_gives_empty_lines(self):
        result = self.scripted(b"cq k1abc fn42")
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertEqual(self.read("FST4.INC"), INCLUDE)
        self.assertIn(self.own_lines(MESSAGE_PROMPT + "cq k1abc fn42"), result.stdout)
        self.assertIn(self.own_lines(DESTINATION_PROMPT), result.stdout)
        self.check_plain(result)

    def test_no_input_at_all_is_an_empty_message(self):
        result = self.scripted(b"")
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertEqual(self.files(), ["FST4SIM.EXE"])
        self.assertLess(result.took, 1.5 if self.runner.posix_system else 10)
        self.assertEqual(result.stdout, self.banner() + self.own_lines(MESSAGE_PROMPT))
        self.check_plain(result)

    def test_message_on_the_command_line(self):
        result = self.scripted(b"", args=["cq", "k1abc", "fn42"])
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertEqual(self.read("FST4.INC"), INCLUDE)
        self.assertTrue(result.stdout.startswith(self.banner() + self.own_lines("", "")
                                                 + self.shown(fake_data.GOOD_REPORT)), result.stdout)
        self.check_plain(result)


class OutputNotATerminal(E2ETestCase):

    def test_standard_output_redirected_to_a_file(self):
        """Typed at the terminal, written to a file: the file gets the plain
        transcript; the terminal shows the prompts (through standard error)
        and the typing in its own line mode."""
        if not self.runner.posix_system:
            self.skipTest("redirection set up by the harness")
        self.install()
        out = os.path.join(self.other_folder(), "stdout.txt")
        run = self.start(stdout_path=out)
        run.wait_for_text(MESSAGE_PROMPT.strip())
        self.assertTrue(run.modes_now()[LFLAG] & termios.ICANON, "the terminal's own line mode")
        run.type("cq k1abc fn42\r")
        run.wait_for_text(DESTINATION_PROMPT.strip(), timeout=15)
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK, run.dump())
        self.assertEqual(self.read("FST4.INC"), INCLUDE)
        with open(out, "rb") as f:
            redirected = f.read()
        self.assertIn(b"\n" + MESSAGE_PROMPT.encode() + b"cq k1abc fn42\n", redirected)
        self.assertTrue(redirected.endswith(
            (DESTINATION_PROMPT + "\n").encode() + self.shown(INCLUDE) + written_line("FST4.INC").encode()
            + b"\n\n"),
            redirected)
        self.assertNotIn(b"\x1b", redirected)
        rows = run.transcript()
        self.assertIn(MESSAGE_PROMPT + "cq k1abc fn42", rows)
        self.assertNotIn(BANNER.strip(), rows, "the transcript is not on the terminal")
        self.assertEqual(run.clipboard_texts(), [INCLUDE[:-2]])
        self.assertEqual(run.modes_now(), run.modes_before)


class LinesWithATerminal(E2ETestCase):
    """A terminal is there, but the answers come from elsewhere, or the
    terminal cannot place the cursor."""

    def test_piped_lines_are_read_though_a_terminal_is_there(self):
        """The screen as usual; the answers are standard input's lines, echoed
        after the prompts, and no key is awaited."""
        if not self.runner.posix_system:
            self.skipTest("standard input redirected by the harness")
        self.install()
        lines = os.path.join(self.other_folder(), "lines.txt")
        with open(lines, "wb") as f:
            f.write(b"cq k1abc fn42\nout.inc\n")
        run = self.start(stdin_path=lines)
        self.assertEqual(run.wait_exit(), EXIT_OK, run.dump())
        rows = run.transcript()
        self.assertEqual(rows[2], BANNER.strip())
        self.assertIn(MESSAGE_PROMPT + "cq k1abc fn42", rows)
        self.assertIn(DESTINATION_PROMPT + "out.inc", rows)
        self.assertIn(written_line("out.inc").rstrip(), rows)
        self.assertEqual(self.read("out.inc"), INCLUDE)
        self.assertEqual(run.clipboard_texts(), [INCLUDE[:-2]])
        self.assertEqual(run.modes_now(), run.modes_before)

    def test_a_terminal_that_cannot_place_the_cursor_gets_the_transcript(self):
        """TERM=dumb: plain lines, not one escape byte; the terminal's own
        line mode echoes the typing, and the tool does not echo it again."""
        if not self.runner.posix_system:
            self.skipTest("TERM is a POSIX matter")
        self.install()
        run = self.start(env=self.environment(TERM="dumb"))
        run.wait_for_text(MESSAGE_PROMPT.strip())
        run.type("cq k1abc fn42\r")
        run.wait_for_text(DESTINATION_PROMPT.strip(), timeout=15)
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK, run.dump())
        self.assertNotIn(b"\x1b", bytes(run.raw))
        rows = run.transcript()
        self.assertEqual(rows[:6], ["", "", BANNER.strip(), SIMULATOR_LINE.strip(), "",
                                    MESSAGE_PROMPT + "cq k1abc fn42"])
        self.assertEqual(rows.count(MESSAGE_PROMPT + "cq k1abc fn42"), 1)
        self.assertEqual(rows[6:8], ["", ""])
        self.assertIn(written_line("FST4.INC").replace("and copied", "but not copied").rstrip(), rows)
        self.assertEqual(self.read("FST4.INC"), INCLUDE)
        self.assertEqual(run.clipboard_texts(), [], "a dumb terminal is not asked to keep it")


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
