"""The run without any terminal: the plain transcript and its line ends,
lines from standard input, answer files, light red lines on standard error;
standard output redirected."""

import os
import shlex
import signal
import subprocess
import termios

import fake_data
import golden
from harness import (BAD_MESSAGE, BANNER, DESTINATION_PROMPT, DOWNLOAD_HINT, EXIT_BAD_MESSAGE,
                     EXIT_NO_LISTING, EXIT_NOT_WRITTEN, EXIT_OK, EXIT_OTHER_TEXT, EXIT_WRONG_SYMBOL_COUNT,
                     EXIT_SIMULATOR_MISSING, MESSAGE_PROMPT, NO_LISTING, SIMULATOR_LINE, SIMULATOR_MISSING,
                     E2ETestCase, not_written_line, other_text, written_line, wrong_symbol_count)
from terminal_processes import LFLAG, processes_in


INCLUDE = golden.INCLUDE_FILE


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
