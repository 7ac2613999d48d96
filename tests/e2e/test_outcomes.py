"""The outcomes of a run when something goes wrong around the report: no
listing, the run's own output as a destination or as the report, a report
held open, a simulator ending with an error, the report's own word on what
the symbols carry, and reports with odd bytes."""

import subprocess

import fake_data
import golden
from harness import (EXIT_NO_LISTING, EXIT_NOT_WRITTEN, EXIT_OK, EXIT_OLD_REPORT_STAYS, EXIT_OTHER_TEXT,
                     EXIT_SIMULATOR_FAILED, EXIT_WRONG_SYMBOL_COUNT, REPORT_IS_OUTPUT, LIGHT_RED, NO_LISTING,
                     SIMULATOR_LINE, E2ETestCase, not_written_line, other_text, run_output_line,
                     simulator_failed, written_line, wrong_symbol_count)
from completion import INCLUDE_FILE, INCLUDE_TEXT, OutcomeCase
from run_rows import REPORT_ROWS


class Outcomes(OutcomeCase):

    def test_report_without_listing(self):
        self.write("FST4.INC", b"old include\r\n")
        run = self.finish(fake="fake_no_listing", destination=None)
        self.assertEqual(run.exit_code(), EXIT_NO_LISTING, run.dump())
        at = run.transcript().index(NO_LISTING) - 1  # right after the report
        after = run.transcript()[at + 1:]
        self.assert_row(run, run.transcript_cells()[at + 1], NO_LISTING, LIGHT_RED)
        self.assertEqual(after[1:], [""] * (len(after) - 1))
        self.assertEqual(run.cursor()[0], 0)
        self.assertEqual(self.read("FST4.INC"), b"old include\r\n", "no include file written")
        self.assertEqual(run.clipboard_texts(), [], "nothing placed on the clipboard")
        # The run's own decision (README): the temporary files are removed.
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])

    def run_with_output_in(self, log_name, typed):
        """A scripted run whose standard output goes to `log_name` in the
        working folder, with `typed` as its input lines."""
        if not self.runner.posix_system:
            self.skipTest("Wine's standard handles made from Unix descriptors have no file "
                          "identity (docs/windows.md)")
        self.install()
        with open(self.path(log_name), "wb") as out:
            result = subprocess.run(self.runner.tool_command(["cq k1abc fn42"]), input=typed,
                                    stdout=out, stderr=subprocess.PIPE, cwd=self.work,
                                    env=self.runner.environment(), timeout=60, start_new_session=True)
        return result.returncode, self.read(log_name)

    def test_the_run_output_is_never_the_destination(self):
        """`> FST4.INC` (Enter takes FST4.INC) and a typed `/dev/stdout`
        with the output in a file: TYPE would copy the file into itself
        without end. Refused before anything is written; the transcript
        stays whole and small."""
        for log_name, typed in (("FST4.INC", b""), ("log.txt", b"/dev/stdout\n")):
            with self.subTest(output=log_name, typed=typed):
                code, log = self.run_with_output_in(log_name, typed)
                self.assertEqual(code, EXIT_NOT_WRITTEN, log)
                self.assertLess(len(log), 4096)
                self.assertNotIn(b"\0", log)
                self.assertNotIn(b"FST4 SYMBOLS", log)
                name = typed.strip().decode() or log_name
                # No terminal takes the clipboard's sequence here.
                line = not_written_line(name).replace("but copied", "and not copied")
                self.assertTrue(log.endswith((run_output_line(name) + "\n" + line + "\n\n").encode()), log)
                self.assertNotIn("FST4TEMP.TXT", self.files())

    def test_the_run_output_as_the_report_ends_the_run_first(self):
        """`> FST4TEMP.TXT`: removing the old report would throw the
        transcript away. Nothing runs and the transcript stays."""
        code, log = self.run_with_output_in("FST4TEMP.TXT", b"")
        self.assertEqual(code, EXIT_OLD_REPORT_STAYS, log)
        self.assertTrue(log.endswith((SIMULATOR_LINE + "\n\n" + REPORT_IS_OUTPUT + "\n").encode()), log)
        self.assertEqual(self.files(), ["FST4SIM.EXE", "FST4TEMP.TXT"])

    def test_a_report_another_program_holds_open_is_not_removed(self):
        """`| tee FST4TEMP.TXT`: removed, it would take tee's text with it.
        As on Windows, a file held open for writing is not deleted, so the
        run ends as for a report that cannot be removed."""
        if not self.runner.posix_system:
            self.skipTest("another process holding a file, from POSIX")
        self.install()
        with open(self.path("FST4TEMP.TXT"), "wb") as held:
            held.write(b"the log so far")
            held.flush()
            result = self.run_scripted(["cq k1abc fn42"])
        self.assertEqual(result.returncode, EXIT_OLD_REPORT_STAYS, result)
        self.assertEqual(self.read("FST4TEMP.TXT"), b"the log so far")

    def test_simulator_ending_with_an_error_after_its_listing(self):
        """The include file holds what was listed, and the outcome says in
        light red that the listing may be incomplete."""
        run = self.finish(env={"FAKE_EXIT_CODE": "1"})
        self.assertEqual(run.exit_code(), EXIT_SIMULATOR_FAILED, run.dump())
        self.assertEqual(self.read("FST4.INC"), INCLUDE_FILE)
        self.assertEqual(run.clipboard_texts(), [INCLUDE_TEXT])
        line = simulator_failed(written_line("FST4.INC"), 1)
        self.assertEqual(line, "Symbols written to FST4.INC  and copied to Clipboard  "
                               "(FST4SIM.EXE ended with exit code 1: the listing may be incomplete)")
        at = run.transcript().index(line[:80])
        self.assert_row(run, run.transcript_cells()[at], line[:80], LIGHT_RED)
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])

    def test_the_reports_own_word_on_what_the_symbols_carry(self):
        """A cut free text is written, said in light red, with its own exit
        code, and the comment carries what the symbols carry. (A bad-message
        report and a listing cut short are rows of the unit table of run
        outcomes.)"""
        typed = "hello world this is a long free text message"
        run = self.finish(args=[typed], env={"FAKE_MESSAGE": "HELLO WORLD T"})
        self.assertEqual(run.exit_code(), EXIT_OTHER_TEXT, run.dump())
        comment = b"HELLO WORLD T  (typed: " + typed.upper().encode() + b")"
        include = golden.include_file(comment)
        self.assertEqual(self.read("FST4.INC"), include)
        self.assertEqual(run.clipboard_texts(), [include[:-2]])
        line = other_text("HELLO WORLD T")
        self.assert_row(run, run.transcript_cells()[run.transcript().index(line)], line, LIGHT_RED)


class ReportReading(E2ETestCase):
    """Reports with odd bytes, read by the report rules: none holds one
    transmission (160 symbols 0 to 3), so each is refused, its light red
    line giving the count the rules read."""

    def check_variant(self, variant):
        self.install("fake_odd_bytes")
        env = {"FAKE_VARIANT": variant}
        run = self.full_run(args=["test"], destination=None, env=self.environment(**env))
        self.assertEqual(run.exit_code(), EXIT_WRONG_SYMBOL_COUNT, run.dump())
        line = wrong_symbol_count(len(fake_data.ODD_SYMBOLS[variant]))
        first = line[:80].rstrip(" ")
        self.assert_row(run, run.transcript_cells()[run.transcript().index(first)], line[:80], LIGHT_RED)
        self.assertEqual(self.files(), ["FST4SIM.EXE"])
        self.assertEqual(run.clipboard_texts(), [])

    def test_cr_only_line_ends_blanks_high_digits_and_file_stop_line(self):
        self.check_variant("file")

    def test_byte_26_ends_the_report(self):
        self.check_variant("ctrlz")

    def test_line_with_channel_ends_the_listing(self):
        self.check_variant("channel")

    def test_worked_example_of_ten_symbols(self):
        self.check_variant("worked")

    def test_report_with_lf_only_lines(self):
        """A POSIX program prints lone LFs; our interpreter writes them into the
        redirect file as CR LF, so the report reads as the good one."""
        if not self.runner.interpreter_converts_lf:
            self.skipTest("the interpreter keeps lone LFs")
        self.install("fake_lf_report")
        run = self.full_run(args=["cq k1abc fn42"])
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.read("FST4.INC"), INCLUDE_FILE)
        rows = run.transcript()
        at = rows.index("Channel symbols:")
        self.assertEqual(rows[at - 8:at + 18], [row.rstrip(" ") for row, _ in REPORT_ROWS])
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])
