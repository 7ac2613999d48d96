"""The outcomes of a run by its destination: other names, sub folders, the
report's own name, device names, read-only files, missing folders, devices,
a file held open, other spellings, wildcards, a longer file cut, permissions
and links kept, the user's other files."""

import os

from harness import (BLANK_LINE, EXIT_NOT_WRITTEN, EXIT_OK, LIGHT_GREY, LIGHT_RED, YELLOW, not_written_line,
                     written_line, report_refused_line, BAD_NAME, IS_READ_ONLY, NO_FOLDER, NO_SPACE,
                     RESERVED_NAME)
from completion import INCLUDE_FILE, INCLUDE_TEXT, OutcomeCase
from run_rows import include_rows


class DestinationOutcomes(OutcomeCase):

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
