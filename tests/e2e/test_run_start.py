"""Run start: banner, the simulator check, the message,
the simulator run, the report's presence and its display."""

import os
import subprocess
import time

import fake_data
import golden
from harness import (BANNER, BLANK_LINE, DARK_GREY, DARK_YELLOW, DESTINATION_PROMPT,
                     DOWNLOAD_HINT, EXIT_BAD_MESSAGE, EXIT_NO_LISTING, EXIT_OTHER_TEXT,
                     INSTALLED_SIMULATOR, EXIT_NO_REPORT, EXIT_NOT_WRITTEN, EXIT_OK,
                     EXIT_OLD_REPORT_STAYS, EXIT_SIMULATOR_MISSING, LIGHT_GREY, LIGHT_RED,
                     MESSAGE_PROMPT, NO_LISTING, NO_REPORT, OLD_REPORT, SIMULATOR_LINE,
                     INTERPRETER_MADE_NO_REPORT, INTERPRETER_NOT_FOUND, INTERPRETER_NOT_RUNNABLE,
                     interpreter_line,
                     SIMULATOR_MISSING, E2ETestCase, wrap_rows, copy_program)

USAGE = r"Usage: sympack \[--fst4w\] \[message\]"
VERSION = r"^sympack \d+\.\d+\.\d+$"

BANNER_ROWS = [(BLANK_LINE, LIGHT_GREY), (BLANK_LINE, LIGHT_GREY), (BANNER, LIGHT_GREY),
               (SIMULATOR_LINE, DARK_GREY), (BLANK_LINE, LIGHT_GREY)]

REPORT_ROWS = [(row, DARK_YELLOW) for line in fake_data.GOOD_REPORT_LINES
               for row in wrap_rows(line.decode("ascii"))]


class Banner(E2ETestCase):

    def test_banner_rows_colours_and_message_prompt(self):
        self.install()
        run = self.start()
        run.wait_for_prompt(MESSAGE_PROMPT)
        self.assert_transcript(run, BANNER_ROWS + [(MESSAGE_PROMPT, LIGHT_GREY)])
        self.assertEqual(run.transcript()[6:], [""] * (len(run.transcript()) - 6))
        if self.exact_screen():
            self.assertEqual(run.cursor(), (len(MESSAGE_PROMPT), 5), "the cursor stands right after the prompt")
            # Blanks in the default colours show only in what was sent: the banner
            # goes out as one run of cells, its two trailing blanks included.
            self.assertIn(BANNER.encode("ascii"), run.raw)
            self.assertIn(SIMULATOR_LINE.encode("ascii"), run.raw)

    def test_banner_when_the_cursor_starts_on_the_bottom_row(self):
        self.install()
        run = self.start(before_start=b"$ earlier output\r\n" * 30)
        run.wait_for_prompt(MESSAGE_PROMPT)
        transcript = run.transcript()
        start = transcript.index(BANNER.strip()) - 3
        self.assertEqual(transcript[start], "$ earlier output")
        self.assert_transcript(run, BANNER_ROWS + [(MESSAGE_PROMPT, LIGHT_GREY)], start=start + 1)
        self.assertEqual(run.cursor(), (len(MESSAGE_PROMPT), 24))
        self.assertEqual(run.row_text(24), MESSAGE_PROMPT.strip())


class MissingSimulator(E2ETestCase):

    def check_missing(self, run):
        code = run.wait_exit()
        self.assertEqual(code, EXIT_SIMULATOR_MISSING, run.dump())
        self.assert_transcript(run, BANNER_ROWS + [(SIMULATOR_MISSING, LIGHT_RED),
                                                   (DOWNLOAD_HINT, LIGHT_GREY)])
        if self.exact_screen():
            self.assertEqual(run.cursor(), (0, 7))
            self.assertEqual(len(run.transcript()), 25)
        self.assertEqual(run.transcript()[7:], [""] * (len(run.transcript()) - 7), "nothing more, no prompt")
        self.assertEqual(run.clipboard_texts(), [])
        self.assert_default_colours_at_end(run)

    def test_no_simulator(self):
        run = self.start()
        self.check_missing(run)
        self.assertEqual(self.files(), [], "nothing run, nothing created")

    def test_a_folder_named_like_the_simulator_is_no_simulator(self):
        os.mkdir(self.path("FST4SIM.EXE"))
        self.check_missing(self.start(args=["cq"]))
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_hidden_simulator_is_no_simulator(self):
        # POSIX: a name starting with a dot is hidden; .FST4SIM.EXE is not the name.
        self.install(as_name=".FST4SIM.EXE")
        self.check_missing(self.start(args=["cq"]))

    def test_simulator_name_in_lower_case(self):
        """Found where the system folds letter case (Windows); on POSIX
        `fst4sim.exe` is another name, so the simulator is missing."""
        self.install(as_name="fst4sim.exe")
        if self.runner.posix_system:
            self.check_missing(self.start(args=["cq"]))
            self.assertEqual(self.files(), ["fst4sim.exe"])
            return
        run = self.full_run(args=["cq", "k1abc", "fn42"])
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.files(), ["FST4.INC", "fst4sim.exe"])


class MessageSource(E2ETestCase):

    def test_command_line_message_needs_no_prompt(self):
        self.install("fake_record_args")
        record, env = self.record_arguments()
        run = self.start(args=["cq", "k1abc", "fn42"], env=self.environment(**env))
        run.wait_for_prompt(DESTINATION_PROMPT)
        # Straight from the banner's empty line to the simulator run: two empty
        # lines, then the report.
        self.assert_transcript(run, BANNER_ROWS + [(BLANK_LINE, LIGHT_GREY), (BLANK_LINE, LIGHT_GREY)]
                               + REPORT_ROWS + [(DESTINATION_PROMPT, LIGHT_GREY)])
        self.assertNotIn("Message", "".join(run.transcript()[:7]))
        self.assertEqual(self.recorded(record),
                         [b"CQ K1ABC FN42", b"120", b"1500", b"0.0", b"0", b"0", b"0", b"0", b"F"])
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK)

    def test_command_line_blanks_are_kept(self):
        """Blanks inside the message are kept; those around the tail are not
        part of it (cmd.exe leaves the blank before a redirection there)."""
        self.install("fake_record_args")
        record, env = self.record_arguments()
        run = self.full_run(args=[" cq  test  "], env=self.environment(**env))
        self.assertEqual(run.exit_code(), EXIT_OK)
        self.assertEqual(self.recorded(record)[0], b"CQ  TEST")

    def test_typed_message_is_upper_cased(self):
        self.install("fake_record_args")
        record, env = self.record_arguments()
        run = self.full_run(message="cq k1abc/p fn42", env=self.environment(**env))
        self.assertEqual(run.exit_code(), EXIT_OK)
        self.assertEqual(self.recorded(record)[0], b"CQ K1ABC/P FN42")
        self.assertIn(b"    ;   CQ K1ABC/P FN42\r\n", self.read("FST4.INC"))

    def test_characters_outside_ascii(self):
        """Windows-1252 is the ANSI code page: e-acute (0xE9) stays, the
        low double quote (0x84) becomes 0x8E (Z with caron) by UpperCase's
        table. The simulator gets the upper-cased text, the file its ANSI
        bytes, the clipboard its characters."""
        self.install("fake_record_args")
        record, env = self.record_arguments()
        run = self.full_run(message="cq \u00e9\u201e", env=self.environment(**env))
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.recorded(record)[0].decode(self.runner.argv_encoding), "CQ \u00e9\u017d")
        self.assertIn(b"    ;   CQ \xe9\x8e\r\n", self.read("FST4.INC"))
        self.assertIn("    ;   CQ \u00e9\u017d\r\n".encode("utf-8"), run.clipboard_texts()[0])
        self.assertIn("Message  cq \u00e9\u201e", run.transcript())

    def test_empty_message_ends_the_run_at_once(self):
        self.install()
        run = self.start()
        run.wait_for_prompt(MESSAGE_PROMPT)
        typed = time.monotonic()
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK)
        self.assertLess(run.exit_time - typed, 1.8, "no pause after an empty message")
        self.assert_transcript(run, BANNER_ROWS + [(MESSAGE_PROMPT, LIGHT_GREY)])
        self.assertEqual(run.cursor(), (0, 6))
        self.assertEqual(run.transcript()[6:], [""] * 19, "nothing more is printed")
        self.assertEqual(self.files(), ["FST4SIM.EXE"], "no simulator run")
        self.assert_default_colours_at_end(run)

    def test_blanks_only_message_goes_on(self):
        """Blanks are a message and go to the simulator; a report whose
        decoded text is empty says the symbols carry nothing: no file."""
        self.install("fake_record_args")
        record, env = self.record_arguments()
        run = self.full_run(message="   ", destination=None, env=self.environment(**env))
        self.assertEqual(run.exit_code(), EXIT_BAD_MESSAGE, run.dump())
        self.assertEqual(self.recorded(record)[0], b"   ")
        self.assertNotIn("FST4.INC", self.files())


class SimulatorRun(E2ETestCase):

    def test_report_in_dark_yellow_after_two_empty_lines(self):
        self.install()
        run = self.start()
        self.answer_prompts(run, message="cq k1abc fn42", destination="")
        run.wait_exit()
        self.assert_transcript(run, BANNER_ROWS + [(MESSAGE_PROMPT + "cq k1abc fn42", LIGHT_GREY),
                                                   (BLANK_LINE, LIGHT_GREY), (BLANK_LINE, LIGHT_GREY)]
                               + REPORT_ROWS + [(DESTINATION_PROMPT, LIGHT_GREY)])

    def test_destination_prompt_leaves_the_cursor_after_its_blanks(self):
        self.install()
        run = self.start(args=["cq"])
        run.wait_for_prompt(DESTINATION_PROMPT)
        x, y = run.cursor()
        self.assertEqual(x, len(DESTINATION_PROMPT))
        self.assertEqual(run.row_text(y), DESTINATION_PROMPT.strip())
        self.assertEqual(run.row_text(y - 1), "", "the report's last line is empty")
        self.assertEqual(run.row_text(y - 2), "0101321023")
        if self.exact_screen():
            self.assertIn(DESTINATION_PROMPT.encode("ascii"), run.raw)

    def test_simulator_complaint_in_light_grey_and_empty_report(self):
        """The interpreter creates the redirect file even when the simulator
        prints nothing; its complaint on standard error shows in colour 7; the
        empty report holds no listing."""
        self.install("fake_no_report")
        run = self.start()
        self.answer_prompts(run, message="cq", destination=None)
        code = run.wait_exit()
        self.assertEqual(code, EXIT_NO_LISTING, run.dump())
        self.assert_transcript(run, BANNER_ROWS + [
            (MESSAGE_PROMPT + "cq", LIGHT_GREY),
            ("fake_no_report: no report for this message", LIGHT_GREY),
            (BLANK_LINE, LIGHT_GREY), (BLANK_LINE, LIGHT_GREY),
            (NO_LISTING, LIGHT_RED)])
        self.assertEqual(run.cursor(), (0, 10))
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def check_no_temp_file(self, run, reason):
        code = run.wait_exit()
        self.assertEqual(code, EXIT_NO_REPORT, run.dump())
        self.assert_transcript(run, BANNER_ROWS + [(MESSAGE_PROMPT + "cq k1abc fn42", LIGHT_GREY),
                                                   (NO_REPORT, LIGHT_GREY), (reason, LIGHT_RED)])
        self.assertEqual(run.cursor(), (0, 8))
        self.assertEqual(run.transcript()[8:], [""] * 17)
        self.assert_default_colours_at_end(run)

    def test_no_temp_file_when_the_interpreter_cannot_run(self):
        """The interpreter tried is named with the reason it made no
        report, in light red, so on standard error too."""
        missing = self.runner.missing_interpreter()
        for name in ("COMSPEC", "comspec", "ComSpec"):
            with self.subTest(variable=name):
                for entry in os.listdir(self.work):
                    os.remove(self.path(entry))
                self.install()
                env = self.environment(**{name: missing})
                run = self.start(env=env)
                run.wait_for_prompt(MESSAGE_PROMPT)
                run.type("cq k1abc fn42\r")
                self.check_no_temp_file(run, interpreter_line(missing, INTERPRETER_NOT_FOUND))
                self.assertEqual(self.files(), ["FST4SIM.EXE"])
        if not self.runner.posix_system:
            return
        # Something that is no program, from a script: the reason on
        # standard error.
        notes = os.path.join(self.other_folder(), "notes.txt")
        with open(notes, "wb") as f:
            f.write(b"not a program\n")
        reason = interpreter_line(notes, INTERPRETER_NOT_RUNNABLE)
        result = self.run_scripted(args=["cq k1abc fn42"], env=self.environment(COMSPEC=notes))
        self.assertEqual(result.returncode, EXIT_NO_REPORT, result)
        self.assertTrue(result.stdout.endswith(self.own_lines(NO_REPORT, reason)), result.stdout)
        self.assertEqual(result.stderr, self.own_lines(reason))
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_comspec_names_the_interpreter(self):
        if not self.runner.posix_system:
            self.skipTest("needs /bin/true")
        self.install()
        # A program that ignores its command: nothing writes the report.
        run = self.start(env=self.environment(COMSPEC="/bin/true"))
        run.wait_for_prompt(MESSAGE_PROMPT)
        run.type("cq k1abc fn42\r")
        self.check_no_temp_file(run, interpreter_line("/bin/true", INTERPRETER_MADE_NO_REPORT))
        # Named explicitly, our interpreter works as when comspec is unset.
        for entry in os.listdir(self.work):
            os.remove(self.path(entry))
        self.install()
        interpreter = os.path.join(self.runner.bin_dir, "sympack-cmd")
        run = self.full_run(args=["cq"], env=self.environment(COMSPEC=interpreter))
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())

    def test_report_of_an_earlier_run_is_never_read(self):
        stale = b"Channel symbols\r\n3333333333333333\r\n\r\n"
        with self.subTest("the interpreter cannot run"):
            self.install()
            self.write("FST4TEMP.TXT", stale)
            run = self.start(env=self.environment(COMSPEC=self.runner.missing_interpreter()))
            run.wait_for_prompt(MESSAGE_PROMPT)
            run.type("cq k1abc fn42\r")
            self.check_no_temp_file(run, interpreter_line(self.runner.missing_interpreter(), INTERPRETER_NOT_FOUND))
            self.assertEqual(self.files(), ["FST4SIM.EXE"], "the old report was removed first")
        with self.subTest("the simulator writes nothing"):
            self.write("FST4TEMP.TXT", stale)
            self.write("FST4.INC", b"old include\r\n")
            self.install("fake_no_report")
            run = self.full_run(args=["cq"], destination=None)
            self.assertEqual(run.exit_code(), EXIT_NO_LISTING, run.dump())
            self.assertEqual(self.read("FST4.INC"), b"old include\r\n")
            self.assertNotIn("3333333333333333", run.transcript())
        with self.subTest("an old report that cannot be removed"):
            if not self.runner.posix_system:
                self.skipTest("needs chmod")
            for entry in os.listdir(self.work):
                os.remove(self.path(entry))
            self.install()
            self.write("FST4TEMP.TXT", stale, mode=0o444)
            self.check_old_report_stays()
            self.assertEqual(self.read("FST4TEMP.TXT"), stale)
            self.assertNotIn("FST4.INC", self.files())
        with self.subTest("a pipe in the report's place"):
            if not self.runner.posix_system:
                self.skipTest("needs a FIFO")
            os.chmod(self.path("FST4TEMP.TXT"), 0o644)
            os.remove(self.path("FST4TEMP.TXT"))
            os.mkfifo(self.path("FST4TEMP.TXT"))
            self.check_old_report_stays()  # never waited on
            self.assertEqual(self.files(), ["FST4SIM.EXE", "FST4TEMP.TXT"])

    def check_old_report_stays(self):
        run = self.start()
        run.wait_for_prompt(MESSAGE_PROMPT)
        run.type("cq k1abc fn42\r")
        self.assertEqual(run.wait_exit(), EXIT_OLD_REPORT_STAYS, run.dump())
        self.assert_transcript(run, BANNER_ROWS + [(MESSAGE_PROMPT + "cq k1abc fn42", LIGHT_GREY),
                                                   (OLD_REPORT, LIGHT_RED)])
        self.assertEqual(run.transcript()[7:], [""] * 18)
        self.assert_default_colours_at_end(run)


class UsageAndVersion(E2ETestCase):

    def test_help_and_version_words_touch_nothing_and_anything_else_is_a_message(self):
        """Typed as Windows and Linux users type them, with the blank cmd.exe
        leaves before a redirection: usage or the version, exit 0, and the
        user's FST4.INC and clipboard as they were."""
        self.install()
        with open(self.path("FST4.INC"), "wb") as f:
            f.write(b"mine")
        answers = {"--help ": USAGE, "/?": USAGE, "-h": USAGE, "-?\t": USAGE, "/HELP": USAGE,
                   "--version": VERSION, "/version ": VERSION, "-V": VERSION}
        for request, expected in answers.items():
            with self.subTest(request=request):
                run = self.start(args=[request])
                self.assertEqual(run.wait_exit(), EXIT_OK, run.dump())
                self.assertRegex("\n".join(run.transcript()), "(?m)" + expected)
                self.assertNotIn(BANNER.strip(), run.transcript())
                self.assertEqual(run.clipboard_texts(), [])
        for request in ("--help ", "/?"):  # standard output redirected, no input at all
            result = self.run_scripted([request])
            self.assertEqual(result.returncode, EXIT_OK, result)
            self.assertRegex(result.stdout.decode(), "(?m)" + USAGE)
            self.assertIn(b"\n  11  the listing does not hold exactly 160 symbols", result.stdout.replace(b"\r", b""))
        if self.runner.posix_system:  # an output that takes nothing: exit 5, and why
            result = subprocess.run(self.runner.tool_command(["--help"]), stdout=open("/dev/full", "wb"),
                                    stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, cwd=self.work,
                                    env=self.environment(), timeout=30)
            self.assertEqual(result.returncode, EXIT_NOT_WRITTEN, result)
            self.assertEqual(result.stderr, b"sympack: standard output did not take the whole text\n")
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"], "no run, no file")
        self.assertEqual(self.read("FST4.INC"), b"mine")
        # Anything else is a message, as ever: the run goes on to write it.
        for args in (["--help x"], ["--version", "x"], ["-hh"]):
            run = self.full_run(args=args)
            self.assertIn(run.exit_code(), (EXIT_OK, EXIT_OTHER_TEXT), run.dump())
            self.assertNotEqual(self.read("FST4.INC"), b"mine", args)
            os.remove(self.path("FST4.INC"))

    def test_a_quoted_tail_with_a_blank_before_a_redirection_is_the_message(self):
        """SYMPACK "cq k1abc fn42" > log.txt: cmd.exe keeps the blank before
        the redirection in the tail; the quotes still go."""
        self.install("fake_record_args")
        record, env = self.record_arguments()
        result = self.run_scripted(['"cq k1abc fn42"  '], env=self.environment(**env))
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertEqual(self.recorded(record)[0], b"CQ K1ABC FN42")
        self.assertEqual(self.read("FST4.INC"),
                         golden.INCLUDE_FILE)


class InstalledSimulator(E2ETestCase):
    """After an install, a folder without FST4SIM.EXE uses the simulator
    installed with the tool, found from the tool's own folder; one in the
    folder still comes first."""

    def setUp(self):
        super().setUp()
        if not self.runner.posix_system:
            self.skipTest("the Windows zip holds both programs in one folder")
        # A prefix whose path no interpreter may read as syntax.
        self.prefix = os.path.join(self.other_folder(), "pre fix & %OS% ^ (x)")
        for folder in ("bin", "libexec/sympack"):
            os.makedirs(os.path.join(self.prefix, folder))
        for program in ("sympack", "sympack-cmd"):
            copy_program(os.path.join(self.runner.bin_dir, program), os.path.join(self.prefix, "bin"))
        self.installed = self.runner.install_simulator("fake_good_report",
                                                       os.path.join(self.prefix, "libexec/sympack"))

    def run_installed(self, typed, **env):
        answers = os.path.join(self.other_folder(), "in")
        with open(answers, "wb") as f:
            f.write(typed)
        with open(answers, "rb") as stdin:
            return subprocess.run([os.path.join(self.prefix, "bin", "sympack"), "cq k1abc fn42"], stdin=stdin,
                                  capture_output=True, cwd=self.work, timeout=60,
                                  env=self.runner.environment(dict(env, OS="Windows_NT")))

    def test_the_installed_simulator_runs_where_the_folder_has_none(self):
        result = self.run_installed(b"\n")
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertIn((INSTALLED_SIMULATOR + self.installed + "\n").encode(), result.stdout)
        self.assertEqual(self.read("FST4.INC"),
                         golden.INCLUDE_FILE)
        self.assertEqual(self.files(), ["FST4.INC"])

    def test_the_folders_own_simulator_comes_first(self):
        self.install("fake_record_args")
        record, env = self.record_arguments()
        result = self.run_installed(b"\n", **env)
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertNotIn(INSTALLED_SIMULATOR.encode(), result.stdout)
        self.assertEqual(self.recorded(record)[0], b"CQ K1ABC FN42")
