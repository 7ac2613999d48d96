"""Lines piped in with a terminal there, TERM=dumb, and a terminal that
never answers the cursor-position request."""

import os
import time

import golden
from harness import (BANNER, DESTINATION_PROMPT, EXIT_OK, MESSAGE_PROMPT, SIMULATOR_LINE, E2ETestCase,
                     written_line)


INCLUDE = golden.INCLUDE_FILE


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
