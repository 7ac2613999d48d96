"""Run start: the banner, the simulator check, where the message comes from
(the command line or the prompt), empty and blank messages."""

import os
import time

from harness import (BANNER, BLANK_LINE, DESTINATION_PROMPT, DOWNLOAD_HINT, EXIT_BAD_MESSAGE, EXIT_OK,
                     EXIT_SIMULATOR_MISSING, LIGHT_GREY, LIGHT_RED, MESSAGE_PROMPT, SIMULATOR_LINE,
                     SIMULATOR_MISSING, E2ETestCase)
from run_rows import BANNER_ROWS, REPORT_ROWS


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
