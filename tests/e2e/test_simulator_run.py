"""The simulator run: the report's presence and its display, the
interpreter named with its reason when no report came, "comspec", a report of
an earlier run, and the simulator installed with the tool."""

import os
import subprocess

import golden
from harness import (BLANK_LINE, DESTINATION_PROMPT, EXIT_NO_LISTING, INSTALLED_SIMULATOR, EXIT_NO_REPORT,
                     EXIT_OK, EXIT_OLD_REPORT_STAYS, LIGHT_GREY, LIGHT_RED, MESSAGE_PROMPT, NO_LISTING,
                     NO_REPORT, OLD_REPORT, INTERPRETER_MADE_NO_REPORT, INTERPRETER_NOT_FOUND,
                     INTERPRETER_NOT_RUNNABLE, interpreter_line, E2ETestCase, copy_program)
from run_rows import BANNER_ROWS, REPORT_ROWS


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
