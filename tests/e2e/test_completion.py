"""Run completion: the whole road of
one run, the include file's bytes, the clipboard, the clean-up, the pause,
and the outcomes when something goes wrong; a header destination and the C
compilers that read it."""

import os
import shutil
import subprocess

import fake_data
import reference
from harness import (BANNER, BLANK_LINE, DARK_GREY, DARK_YELLOW, DESTINATION_PROMPT,
                     EXIT_FOLDER_BUSY, EXIT_NO_LISTING,
                     EXIT_NOT_WRITTEN, EXIT_OK, EXIT_OLD_REPORT_STAYS, EXIT_OTHER_TEXT,
                     EXIT_SIMULATOR_FAILED, EXIT_WRONG_SYMBOL_COUNT, FOLDER_BUSY, REPORT_IS_OUTPUT,
                     LIGHT_GREY, LIGHT_RED, MESSAGE_PROMPT,
                     NO_LISTING, SIMULATOR_LINE, YELLOW, E2ETestCase, not_written_line,
                     other_text, run_output_line, simulator_failed, wrap_rows, written_line, wrong_symbol_count,
                     report_refused_line, BAD_NAME, IS_READ_ONLY, NO_FOLDER, NO_SPACE, RESERVED_NAME)

MESSAGE = b"CQ K1ABC FN42"
INCLUDE_TEXT = reference.build_include_text(fake_data.GOOD_SYMBOLS, MESSAGE)
INCLUDE_FILE = INCLUDE_TEXT + b"\r\n"

REPORT_ROWS = [(row, DARK_YELLOW) for line in fake_data.GOOD_REPORT_LINES
               for row in wrap_rows(line.decode("ascii"))]


def include_rows(data):
    """The rows the interpreter's TYPE shows for a file of CR LF lines."""
    lines = data.decode("latin-1").split("\r\n")
    assert lines[-1] == ""
    return [(row, LIGHT_GREY) for line in lines[:-1] for row in wrap_rows(line)]


class WholeRoad(E2ETestCase):

    def test_whole_road_of_one_run(self):
        self.install("fake_writes_wav")
        run = self.start()
        self.answer_prompts(run, message="cq k1abc fn42", destination="")
        success = run.wait_for_text(written_line("FST4.INC").rstrip())
        code = run.wait_exit()
        self.assertEqual(code, EXIT_OK, run.dump())

        # The screen, row by row, with colours.
        expected = ([(BLANK_LINE, LIGHT_GREY), (BLANK_LINE, LIGHT_GREY), (BANNER, LIGHT_GREY),
                     (SIMULATOR_LINE, DARK_GREY), (BLANK_LINE, LIGHT_GREY),
                     (MESSAGE_PROMPT + "cq k1abc fn42", LIGHT_GREY),
                     (BLANK_LINE, LIGHT_GREY), (BLANK_LINE, LIGHT_GREY)]
                    + REPORT_ROWS
                    + [(DESTINATION_PROMPT, LIGHT_GREY)]
                    + include_rows(INCLUDE_FILE)
                    + [(written_line("FST4.INC"), YELLOW), (BLANK_LINE, LIGHT_GREY)])
        self.assert_transcript(run, expected)
        if self.exact_screen():
            self.assertEqual(len(run.transcript()), len(expected) + 1, run.dump())
            self.assertEqual(run.cursor(), (0, 24), "the cursor waits below the empty line")
        self.assertEqual(written_line("FST4.INC"), "Symbols written to FST4.INC  and copied to Clipboard ")

        # The include file, byte for byte: computed from the fake's symbols by
        # the packing rules, and its first line worked out by hand
        # ("0132" = 0*64 + 1*16 + 3*4 + 2 = 30 = 0x1E).
        data = self.read("FST4.INC")
        self.assertEqual(data, INCLUDE_FILE)
        self.assertEqual(data.split(b"\r\n")[1], b"        de   0x1E, 0x4B, 0x4F, 0x5B, 0xCD, 0xD4, 0xA9, 0x75")
        self.assertEqual(len(data.split(b"\r\n")), 10)
        self.assertTrue(data.endswith(b"    ;   CQ K1ABC FN42\r\n\r\n\r\n"))

        # The clipboard: the include text, the file without its last CR LF.
        self.assertEqual(run.clipboard_texts(), [data[:-2]])
        if self.exact_screen():
            self.assertIn(b"\x1b]52;c;", run.raw, "OSC 52 for the clipboard selection")

        # The clean-up: the report and the audio file are gone.
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])

        # The pause: 2000 ms after the success line is on the screen.
        self.assertGreaterEqual(run.exit_time - success, 1.9,
                                "the success line must show before the 2000 ms pause, not after it")
        self.assertLess(run.exit_time - success, 6)

        self.assert_default_colours_at_end(run)
        self.assertFalse(run.screen.cursor.hidden, "the cursor is visible at the end")
        self.assertEqual(run.modes_now(), run.modes_before, "terminal modes restored")


class Outcomes(E2ETestCase):

    def finish(self, destination="", args=("cq k1abc fn42",), fake="fake_good_report", env=None):
        """A run with the message on the command line and `destination`
        typed at its prompt."""
        self.install(fake)
        run = self.full_run(args=args, destination=destination,
                            env=self.environment(**(env or {})))
        self.assert_default_colours_at_end(run)
        return run

    def rows_after_prompt(self, run):
        rows = run.transcript()
        at = max(i for i, row in enumerate(rows) if row.startswith(DESTINATION_PROMPT.rstrip()))
        return at, rows[at + 1:]

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

    def test_other_destination(self):
        run = self.finish(destination="beacon.inc")
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.read("beacon.inc"), INCLUDE_FILE)
        self.assertEqual(self.files(), ["FST4SIM.EXE", "beacon.inc"])
        at, after = self.rows_after_prompt(run)
        self.assert_transcript(run, include_rows(INCLUDE_FILE)
                               + [(written_line("beacon.inc"), YELLOW), (BLANK_LINE, LIGHT_GREY)],
                               start=at + 1)
        self.assertEqual(run.clipboard_texts(), [INCLUDE_TEXT])

    def test_destination_in_a_sub_folder(self):
        os.mkdir(self.path("inc"))
        run = self.finish(destination="inc/beacon.inc")
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.read("inc/beacon.inc"), INCLUDE_FILE)
        self.assertIn(written_line("inc/beacon.inc").rstrip(), run.transcript())

    def check_report_file_kept(self, answer, kept_as):
        """A name that is another file than the report: written, and the
        report is removed all the same."""
        run = self.finish(destination=answer)
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.files(), sorted(["FST4SIM.EXE", kept_as]))
        self.assertEqual(self.read(kept_as), INCLUDE_FILE, "the include file stays")
        at, after = self.rows_after_prompt(run)
        self.assert_transcript(run, include_rows(INCLUDE_FILE)
                               + [(written_line(answer), YELLOW), (BLANK_LINE, LIGHT_GREY)],
                               start=at + 1)
        self.assertEqual(run.clipboard_texts(), [INCLUDE_TEXT])

    def check_report_refused(self, answer):
        """The report under any name the system takes for it is never the
        include file: the run removes it, and the next run would take it for
        a stale report. Refused with its reason; the report goes all the same."""
        run = self.finish(destination=answer)
        self.assertEqual(run.exit_code(), EXIT_NOT_WRITTEN, run.dump())
        self.assertEqual(self.files(), ["FST4SIM.EXE"])
        at, after = self.rows_after_prompt(run)
        self.assert_transcript(run, [(report_refused_line(answer), LIGHT_RED),
                                     (not_written_line(answer), LIGHT_RED), (BLANK_LINE, LIGHT_GREY)],
                               start=at + 1)
        self.assertEqual(run.clipboard_texts(), [INCLUDE_TEXT])

    def test_destination_is_the_report_file(self):
        self.check_report_refused("FST4TEMP.TXT")

    def test_destination_is_the_report_file_in_lower_case(self):
        # Another file on POSIX, where names are exact; the report itself
        # where the system folds letter case.
        if self.runner.posix_system:
            self.check_report_file_kept("fst4temp.txt", kept_as="fst4temp.txt")
        else:
            self.check_report_refused("fst4temp.txt")

    def test_destination_is_a_path_to_the_report_file(self):
        self.check_report_refused("./FST4TEMP.TXT")

    def test_a_windows_device_name_with_an_extension(self):
        """On Windows `aux.inc` is the device AUX, whatever the extension:
        it would take the text and keep none, so it is refused with its
        reason. On Linux it is a file like any other."""
        run = self.finish(destination="aux.inc")
        if self.runner.posix_system:
            self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
            self.assertEqual(self.read("aux.inc"), INCLUDE_FILE)
            return
        self.assertEqual(run.exit_code(), EXIT_NOT_WRITTEN, run.dump())
        at, after = self.rows_after_prompt(run)
        self.assert_transcript(run, [("aux.inc" + RESERVED_NAME, LIGHT_RED),
                                     (not_written_line("aux.inc"), LIGHT_RED), (BLANK_LINE, LIGHT_GREY)],
                               start=at + 1)
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_read_only_destination(self):
        if not self.runner.posix_system:
            self.skipTest("needs chmod")
        self.write("FST4.INC", b"OLD CONTENT\r\n", mode=0o444)
        run = self.finish()
        self.assertEqual(run.exit_code(), EXIT_NOT_WRITTEN, run.dump())
        self.assertEqual(self.read("FST4.INC"), b"OLD CONTENT\r\n", "the old content stays")
        at, after = self.rows_after_prompt(run)
        # The old content is not shown as if it were the result: the failure
        # line follows the prompt.
        self.assert_transcript(run, [("FST4.INC" + IS_READ_ONLY, LIGHT_RED), (not_written_line("FST4.INC"), LIGHT_RED),
                                     (BLANK_LINE, LIGHT_GREY)], start=at + 1)
        self.assertNotIn("OLD CONTENT", run.transcript())
        self.assertEqual(run.clipboard_texts(), [INCLUDE_TEXT], "the clipboard still gets the text")
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"], "clean-up done")

    def check_not_written(self, answer, reason):
        """Not written, with `reason` after the name in the light red line
        above the outcome."""
        run = self.finish(destination=answer)
        self.assertEqual(run.exit_code(), EXIT_NOT_WRITTEN, run.dump())
        rows = run.transcript()
        at = rows.index(not_written_line(answer).rstrip())
        self.assert_row(run, run.transcript_cells()[at - 1], answer + reason, LIGHT_RED)
        self.assert_row(run, run.transcript_cells()[at], not_written_line(answer), LIGHT_RED)
        self.assertEqual(rows[at + 1:], [""] * (len(rows) - at - 1))
        self.assertNotIn("Symbols written", "\n".join(rows))
        self.assertEqual(run.clipboard_texts(), [INCLUDE_TEXT])
        return run

    def test_missing_folder(self):
        self.check_not_written("nofolder/FST4.INC", NO_FOLDER)
        self.assertEqual(self.files(), ["FST4SIM.EXE"], "nothing created")

    def test_full_device(self):
        if not os.path.exists("/dev/full") or not self.runner.posix_system:
            self.skipTest("needs /dev/full")
        self.check_not_written("/dev/full", NO_SPACE)

    def test_null_device(self):
        """A device takes the text and is never shown: TYPE would read
        /dev/zero without end (the run's time limit ends that)."""
        if not self.runner.posix_system:
            self.skipTest("needs /dev/null")
        for device in ("/dev/null", "/dev/zero"):
            with self.subTest(device=device):
                run = self.finish(destination=device)
                self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
                self.assertIn(written_line(device).rstrip(), run.transcript())
                self.assertEqual(self.files(), ["FST4SIM.EXE"])

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

    def test_a_file_another_program_holds_open_is_not_written(self):
        """`| tee FST4.INC`: another process writes the file. Written under
        its feet, the file would get NUL bytes (tee's offset lies beyond the
        new end) and TYPE would chase tee's copy of itself. As on Windows,
        where no handle without sharing opens a file held open elsewhere,
        the file is not written."""
        if not self.runner.posix_system:
            self.skipTest("another process holding a file, from POSIX")
        self.install()
        with open(self.path("FST4.INC"), "wb") as held:
            held.write(b"held open")
            held.flush()
            run = self.finish()
        self.assertEqual(run.exit_code(), EXIT_NOT_WRITTEN, run.dump())
        self.assertEqual(self.read("FST4.INC"), b"held open")

    def test_other_spellings_are_other_files(self):
        """Only Windows folds letter case: on POSIX the user's `fst4.inc`,
        `Beacon.INC` and `fst4temp.txt` are other files, never written,
        shown or removed for FST4.INC, beacon.inc or the report."""
        if not self.runner.posix_system:
            self.skipTest("names are exact where the system keeps them exactly")
        users = {"fst4.inc": b"my notes\r\n", "Beacon.INC": b"beacon\r\n", "fst4temp.txt": b"mine\r\n"}
        for name, data in users.items():
            self.write(name, data)
        for answer, written in (("", "FST4.INC"), ("beacon.inc", "beacon.inc")):
            run = self.finish(destination=answer)
            self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
            self.assertEqual(self.read(written), INCLUDE_FILE)
            self.assertIn(written_line(written).rstrip(), run.transcript())
        for name, data in users.items():
            self.assertEqual(self.read(name), data, name)
        self.assertEqual(self.files(), sorted(list(users) + ["FST4.INC", "FST4SIM.EXE", "beacon.inc"]))

    def test_name_with_wildcards_writes_nothing(self):
        self.write("out1.inc", b"keep\r\n")
        self.check_not_written("out*.inc", BAD_NAME)
        self.assertEqual(self.read("out1.inc"), b"keep\r\n")
        self.assertEqual(self.files(), ["FST4SIM.EXE", "out1.inc"])

    def test_longer_file_is_cut(self):
        self.write("FST4.INC", b"X" * 5000)
        run = self.finish()
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.read("FST4.INC"), INCLUDE_FILE)

    def test_the_replaced_file_keeps_its_permissions_and_a_link_is_written_through(self):
        """The new text replaces the file whole, with the old file's
        permission bits; a link stays a link, and its target (in its own
        folder) gets the text. Nothing else is left in either folder."""
        if not self.runner.posix_system:
            self.skipTest("permission bits and symbolic links")
        self.write("FST4.INC", b"old\r\n", mode=0o640)
        aside = self.other_folder()
        target = os.path.join(aside, "beacon.inc")
        with open(target, "wb") as f:
            f.write(b"old beacon\r\n")
        os.chmod(target, 0o604)
        os.symlink(target, self.path("beacon.inc"))
        for answer in ("", "beacon.inc"):
            run = self.finish(destination=answer)
            self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.read("FST4.INC"), INCLUDE_FILE)
        self.assertEqual(os.stat(self.path("FST4.INC")).st_mode & 0o7777, 0o640)
        self.assertTrue(os.path.islink(self.path("beacon.inc")))
        with open(target, "rb") as f:
            self.assertEqual(f.read(), INCLUDE_FILE)
        self.assertEqual(os.stat(target).st_mode & 0o7777, 0o604)
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE", "beacon.inc"])
        self.assertEqual(self.files(aside), ["beacon.inc"])

    def test_a_dangling_audio_link_of_the_user_stays(self):
        """The presence check before the run looks at the link itself: the
        user's link, dangling then, is not the simulator's file, even when
        the simulator writes through it."""
        if not self.runner.posix_system:
            self.skipTest("symbolic links")
        os.symlink("recording.wav", self.path("000000_0001.wav"))
        run = self.finish(fake="fake_writes_wav")
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertTrue(os.path.islink(self.path("000000_0001.wav")), self.files())
        self.assertEqual(self.files(), ["000000_0001.wav", "FST4.INC", "FST4SIM.EXE", "recording.wav"])

    def test_other_files_stay(self):
        self.write("keep.txt", b"keep")
        self.write("000000_0002.wav", b"keep")
        run = self.finish()
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.files(), ["000000_0002.wav", "FST4.INC", "FST4SIM.EXE", "keep.txt"])

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
        include = reference.include_file_bytes(fake_data.GOOD_SYMBOLS, comment)
        self.assertEqual(self.read("FST4.INC"), include)
        self.assertEqual(run.clipboard_texts(), [include[:-2]])
        line = other_text("HELLO WORLD T")
        self.assert_row(run, run.transcript_cells()[run.transcript().index(line)], line, LIGHT_RED)


class TwoRunsInOneFolder(E2ETestCase):

    def test_the_second_run_is_refused_and_touches_nothing(self):
        """Run A waits at its destination prompt with its report; run B, in
        the same folder, says so in light red and ends at once; A then ends as
        if B had never been."""
        self.install()
        first = self.start(args=["cq k1abc fn42"])
        first.wait_for_prompt(DESTINATION_PROMPT, timeout=15)
        before = {name: self.read(name) for name in self.files()}
        self.assertIn("FST4TEMP.TXT", before)

        second = self.run_scripted(["cq k9xyz"], b"B.INC\n")
        self.assertEqual(second.returncode, EXIT_FOLDER_BUSY, second)
        self.assertEqual(second.stdout, self.own_lines("", "", BANNER, SIMULATOR_LINE, "", FOLDER_BUSY))
        self.assertEqual(second.stderr, self.own_lines(FOLDER_BUSY))
        self.assertEqual({name: self.read(name) for name in self.files()}, before)

        first.type("A.INC\r")
        self.assertEqual(first.wait_exit(), EXIT_OK, first.dump())
        self.assertEqual(self.read("A.INC"), INCLUDE_FILE)
        self.assertEqual(self.files(), ["A.INC", "FST4SIM.EXE"])

        # The claim ends with the run: the folder is free again.
        self.assertEqual(self.run_scripted(["cq k1abc fn42"], b"B.INC\n").returncode, EXIT_OK)


# One line of program around the header, included twice, and a second
# translation unit that includes it too, so the guard and `static` are tried;
# FST4_SYMBOL(i) reads the same symbols as the array.
C_MAIN = (b'#include "BEACON.H"\n#include "BEACON.H"\n#include <stdio.h>\nint other(void);\n'
          b"int main(void) { int i; for (i = 0; i < FST4_SYMBOL_COUNT; ++i) "
          b"putchar(FST4_SYMBOL(i) == fst4_symbols[i] ? '0' + FST4_SYMBOL(i) : 'X'); return other(); }\n")
C_OTHER = b'#include "BEACON.H"\nint other(void) { return fst4_symbols[0] & 0; }\n'
# Strict ISO modes read trigraphs; -Werror makes every warning (a comment
# inside a comment, a trigraph that splices a line) fail the build.
C_BUILDS = [("gcc", "-std=c89"), ("gcc", "-std=c99"), ("gcc", "-std=gnu11"),
            ("g++", "-std=c++98"), ("g++", "-std=c++11"), ("g++", "-std=gnu++17")]


class CHeader(E2ETestCase):

    def test_header_destination_gets_a_c_array_that_compiles_to_the_report_symbols(self):
        self.install()
        run = self.full_run(message="cq */ ??/ k1abc\\", destination="BEACON.H")
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertIn(written_line("BEACON.H").rstrip(), run.transcript())
        data = self.read("BEACON.H")
        self.assertEqual(self.files(), ["BEACON.H", "FST4SIM.EXE"])
        self.assertEqual(run.clipboard_texts(), [data[:-2]])
        lines = data.split(b"\r\n")
        self.assertEqual(lines[:2], [b"/* FST4 SYMBOLS one per element, 0 to 3 */",
                                     b"/* CQ * / ??/ K1ABC\\ */"])
        self.assertEqual(lines[-3:], [b"#endif", b"", b""], "one more CR LF after the text")
        self.assertIn(b"#define FST4_SYMBOL_COUNT 160", lines)
        self.assertEqual(len([line for line in lines if line.startswith(b"  ")]), 16, "ten to a line")

        for compiler, standard in C_BUILDS:
            with self.subTest(compiler=compiler, standard=standard):
                if not shutil.which(compiler):
                    self.skipTest(compiler + " is not installed")
                self.assertEqual(self.compile_and_print(compiler, standard),
                                 fake_data.GOOD_SYMBOLS.decode("ascii"))

    def compile_and_print(self, compiler, standard):
        self.write("main.c", C_MAIN)
        self.write("other.c", C_OTHER)
        program = self.path("print-%s%s" % (compiler, standard))
        language = ["-x", "c++"] if compiler == "g++" else []
        build = subprocess.run([compiler, standard, "-pedantic-errors", "-Wall", "-Wextra", "-Werror"]
                               + language + ["main.c", "other.c", "-o", program],
                               cwd=self.work, capture_output=True, timeout=120)
        self.assertEqual(build.returncode, 0, build.stderr.decode(errors="replace"))
        printed = subprocess.run([program], capture_output=True, timeout=30)
        self.assertEqual(printed.returncode, 0)
        return printed.stdout.decode("ascii")


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
