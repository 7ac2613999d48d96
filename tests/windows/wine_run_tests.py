"""The road of one run under Wine, every console cell checked: a full run, a
missing simulator, typed input and its editing, a small console that
scrolls."""

import os
import time

from wine_console import RUN_TIMEOUT, WineTestCase, BANNER_ROWS, full_run_rows  # first: it puts tests/e2e on the path
import golden
from harness import (DESTINATION_PROMPT, DOWNLOAD_HINT, EXIT_OK, EXIT_SIMULATOR_MISSING, LIGHT_GREY,
                     LIGHT_RED, MESSAGE_PROMPT, SIMULATOR_MISSING, YELLOW, written_line)
from wine_runner import SETTLE_SECONDS, windows_path


class FullRun(WineTestCase):
    """The road of one run, message on the command line, every cell checked."""

    def test_every_cell_the_files_the_clipboard_and_the_exit_code(self):
        self.install()
        report = self.good_report()
        expected_text = golden.include_text()

        run = self.start(" cq k1abc fn42")
        run.answer(DESTINATION_PROMPT)
        exit_code, dump = self.finish(run)

        self.assertEqual(exit_code, EXIT_OK, dump.describe())
        self.assertEqual(self.read("FST4.INC"), expected_text + b"\r\n")
        self.assertEqual(self.clipboard(), expected_text)
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"], "the report is removed")

        expected = full_run_rows(report, expected_text, dump.width)
        self.assert_rows(dump, expected)
        self.assert_blank_from(dump, len(expected))
        self.assertEqual(dump.cursor, (0, len(expected)))
        self.assertEqual(dump.attribute, LIGHT_GREY, "the console is left in light grey")


class MissingSimulator(WineTestCase):

    def test_banner_and_the_two_messages(self):
        run = self.start(" cq k1abc fn42")
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_SIMULATOR_MISSING)
        self.assert_rows(dump, BANNER_ROWS + [(SIMULATOR_MISSING, LIGHT_RED), (DOWNLOAD_HINT, LIGHT_GREY)])
        self.assert_blank_from(dump, 7)
        self.assertEqual(dump.attribute, LIGHT_GREY)
        self.assertEqual(self.files(), [])

    def test_a_folder_of_that_name_is_no_simulator(self):
        os.mkdir(os.path.join(self.work, "FST4SIM.EXE"))
        exit_code, dump = self.finish(self.start(" cq"))
        self.assertEqual(exit_code, EXIT_SIMULATOR_MISSING, dump.describe())


class TypedInput(WineTestCase):
    """Keys typed at the prompts, through Wine's console keyboard."""

    def test_message_and_destination_typed_with_editing(self):
        self.install()
        run = self.start()
        # Backspace (DEL from the terminal) removes the extra letter; an arrow
        # key carries no character and changes nothing.
        run.answer(MESSAGE_PROMPT, "cqq\x7f k1abc\x1b[D fn42", echo="cq k1abc fn42")
        run.answer(DESTINATION_PROMPT, "out.inc , ignored")
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK, dump.describe())
        text = dump.text()
        self.assertIn(MESSAGE_PROMPT + "cq k1abc fn42", text)
        self.assertIn(DESTINATION_PROMPT + "out.inc , ignored", text)
        self.assertIn(written_line("out.inc").rstrip(" "), text)
        self.assertTrue(self.read("out.inc").endswith(b"    ;   CQ K1ABC FN42\r\n\r\n\r\n"))

    def test_lines_from_a_redirected_standard_input(self):
        """A console is there, but the answers come from a file: the screen as
        usual, each answer echoed after its prompt."""
        self.install()
        with open(self.aside_path("in.txt"), "wb") as f:
            f.write(b"cq k1abc fn42\r\nout.inc\r\n")
        run = self.start(' < "%s"' % windows_path(self.aside_path("in.txt")))
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK, dump.describe())
        self.assert_rows(dump, BANNER_ROWS + [(MESSAGE_PROMPT + "cq k1abc fn42", LIGHT_GREY)])
        self.assertIn(DESTINATION_PROMPT + "out.inc", dump.text())
        self.assertIn(written_line("out.inc").rstrip(" "), dump.text())
        self.assertTrue(self.read("out.inc").endswith(b"    ;   CQ K1ABC FN42\r\n\r\n\r\n"))

    def test_a_console_gone_at_the_destination_prompt_writes_nothing(self):
        """The terminal Wine's console lives in goes away with a name half
        typed: no answer is taken from it. An earlier FST4.INC stays and no
        file is named after the half-typed text. (Windows sends the close
        event, whose handler removes the report; Wine 8 ends the program of a
        console whose terminal has gone without one, so the report may stay:
        docs/windows.md.)"""
        self.install()
        with open(os.path.join(self.work, "FST4.INC"), "wb") as f:
            f.write(b"earlier")
        run = self.start(" cq k1abc fn42")
        run.wait_for_text(DESTINATION_PROMPT.strip())
        time.sleep(SETTLE_SECONDS)
        run.pump(0)
        run.type_until("beac", lambda: DESTINATION_PROMPT + "beac" in run.screen_text())
        os.close(run.master)
        run.master = None
        deadline = time.monotonic() + RUN_TIMEOUT
        while not run._poll_exit():
            self.assertLess(time.monotonic(), deadline, "the run did not end")
            time.sleep(0.1)
        time.sleep(SETTLE_SECONDS)
        self.assertEqual([name for name in self.files() if name != "FST4TEMP.TXT"], ["FST4.INC", "FST4SIM.EXE"])
        self.assertEqual(self.read("FST4.INC"), b"earlier")

    def test_an_empty_message_ends_the_run_at_once(self):
        self.install()
        run = self.start()
        run.answer(MESSAGE_PROMPT)
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK)
        self.assert_rows(dump, BANNER_ROWS + [(MESSAGE_PROMPT, LIGHT_GREY)])
        self.assert_blank_from(dump, 6)
        self.assertEqual(dump.cursor, (0, 6))
        self.assertEqual(self.files(), ["FST4SIM.EXE"])


class SmallConsole(WineTestCase):
    """An 80 x 25 console: the run scrolls the whole buffer."""

    columns, rows = 80, 25

    def test_the_last_rows_after_scrolling(self):
        self.install()
        report = self.good_report()
        include = golden.include_text()
        run = self.start(" cq k1abc fn42")
        run.answer(DESTINATION_PROMPT)
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK)
        self.assertEqual((dump.width, dump.height), (80, 25))
        self.assertEqual(dump.cursor, (0, 24))
        # The buffer holds the last 25 rows of the whole run, cursor row
        # included. The line end after the success line scrolled while the
        # colour was still yellow, so the row it opened is blank in yellow.
        rows = full_run_rows(report, include, dump.width)[-24:-1]
        self.assert_rows(dump, rows)
        self.assertEqual(dump.rows[23].strip(" "), "")
        self.assertEqual(dump.attributes[23], [YELLOW] * dump.width, dump.describe())
        self.assert_blank_from(dump, 24)
