"""Line input at the two prompts: destination
answers, keys typed ahead, editing, ignored keys, wrapping and scrolling at
the screen's edge, the 10000-character limit."""

import os
import time

import golden
from harness import (BANNER, COMMAND_TOO_LONG, DESTINATION_PROMPT, EXIT_COMMAND_TOO_LONG, EXIT_OK,
                     MESSAGE_PROMPT, E2ETestCase, written_line)

INCLUDE = golden.INCLUDE_FILE


class DestinationAnswers(E2ETestCase):
    """The first field of the typed line names the file; an empty field
    gives FST4.INC."""

    def check(self, answer, name):
        self.install()
        run = self.full_run(args=["cq k1abc fn42"], destination=answer)
        if golden.WRITING:
            golden.record(golden.DESTINATION_NAMES, answer, (set(self.files()) - {"FST4SIM.EXE"}).pop())
        self.assertEqual(golden.lookup(golden.DESTINATION_NAMES, answer), name)
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.files(), sorted(["FST4SIM.EXE", name]))
        self.assertEqual(self.read(name), INCLUDE)
        rows = run.transcript()
        self.assertIn((DESTINATION_PROMPT + answer).rstrip(" "), rows)
        self.assertIn(written_line(name).rstrip(" "), rows)
        return run

    def test_empty_answer(self):
        self.check("", "FST4.INC")

    def test_blanks_only(self):
        self.check("    ", "FST4.INC")

    def test_leading_comma(self):
        self.check(",other.inc", "FST4.INC")

    def test_blanks_then_comma(self):
        self.check("   , other.inc", "FST4.INC")

    def test_comma_after_the_name(self):
        self.check("  beacon.inc   , second, third", "beacon.inc")

    def test_quoted_name_with_a_comma_inside(self):
        self.check('"my, file.inc" , rest', "my, file.inc")

    def test_quoted_name_without_its_closing_quote(self):
        self.check(' " spaced name.inc', " spaced name.inc")

    def test_double_quote_inside_an_unquoted_name(self):
        if not self.runner.posix_system:
            self.skipTest("Windows file names cannot hold a double quote")
        self.check('a"b.inc, c', 'a"b.inc')


class TypedAhead(E2ETestCase):
    """Keys typed before the input began are taken as typed."""

    def setUp(self):
        super().setUp()
        lost = getattr(self.runner, "keys_typed_ahead_lost", None)
        if lost:
            self.skipTest(lost)

    def check_finished(self, run):
        code = run.wait_exit()
        self.assertEqual(code, EXIT_OK, run.dump())
        self.assertEqual(self.read("out.inc"), INCLUDE)
        self.assertNotIn("FST4.INC", self.files())
        self.assertIn(written_line("out.inc").rstrip(), run.transcript())

    def test_keys_typed_before_the_prompts_appear(self):
        """Both answers are typed when the tool first asks the terminal for
        the cursor (its keyboard is set up, nothing is printed yet)."""
        self.install()
        run = self.start(type_ahead=b"cq k1abc fn42\rout.inc\r")
        self.check_finished(run)
        rows = run.transcript()
        self.assertEqual(rows[5], MESSAGE_PROMPT + "cq k1abc fn42")
        self.assertIn(DESTINATION_PROMPT + "out.inc", rows)

    def test_keys_typed_while_the_simulator_runs(self):
        """The destination typed while the simulator still runs (the
        terminal is then in the user's own modes) is kept, Enter included."""
        self.install()
        run = self.start(env=self.environment(FAKE_SLEEP_MS="1500"))
        run.wait_for_prompt(MESSAGE_PROMPT)
        run.type("cq k1abc fn42\r")
        run.wait_for(lambda: run.cursor()[1] > 5, what="the message's Enter")
        time.sleep(0.4)  # the simulator sleeps for 1.5 s: type now
        run.type("out.inc\r")
        self.check_finished(run)

    def test_keys_typed_before_the_tool_starts(self):
        """Both answers typed before the process even starts, while the
        terminal is still in the user's own modes."""
        self.install()
        run = self.start(keys_before_start=b"cq k1abc fn42\rout.inc\r")
        self.check_finished(run)
        self.assertIn(b"    ;   CQ K1ABC FN42\r\n", self.read("out.inc"))


class LineEditing(E2ETestCase):

    def start_recording(self):
        self.install("fake_record_args")
        self.record, env = self.record_arguments()
        run = self.start(env=self.environment(**env))
        run.wait_for_prompt(MESSAGE_PROMPT)
        return run

    def finish(self, run, message):
        run.wait_for_prompt(DESTINATION_PROMPT)
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK, run.dump())
        self.assertEqual(self.recorded(self.record)[0], message)

    def wait_for_row(self, run, y, text, cursor_x=None):
        def shown():
            return run.row_text(y) == text and (cursor_x is None or run.cursor() == (cursor_x, y))
        run.wait_for(shown, what="row %d to read %r" % (y, text))

    def test_backspace(self):
        run = self.start_recording()
        run.type("\x7f\x7f\x08")  # Backspace on an empty line does nothing
        run.type("ab")
        self.wait_for_row(run, 5, MESSAGE_PROMPT + "ab", 11)
        run.type("\x7f\x7f\x7f")
        self.wait_for_row(run, 5, MESSAGE_PROMPT.strip(), 9)
        run.type("cq k1abx")
        self.wait_for_row(run, 5, MESSAGE_PROMPT + "cq k1abx", 17)
        run.type("\x7f")  # DEL, as terminals send Backspace
        self.wait_for_row(run, 5, MESSAGE_PROMPT + "cq k1ab", 16)
        run.type("c fn4x\x08")  # Ctrl+H is Backspace too
        self.wait_for_row(run, 5, MESSAGE_PROMPT + "cq k1abc fn4", 21)
        run.type("2\r")
        self.finish(run, b"CQ K1ABC FN42")
        self.assertEqual(run.transcript()[5], MESSAGE_PROMPT + "cq k1abc fn42")

    def test_keys_without_effect(self):
        """Arrows, function keys, Home, End, Insert, Delete, the page keys,
        Tab, Escape, Ctrl+C, Ctrl+\\ and Alt with a letter change nothing."""
        signals = getattr(self.runner, "control_keys_are_signals", None)
        if signals:
            self.skipTest(signals)
        run = self.start_recording()
        run.type("cq")
        self.wait_for_row(run, 5, MESSAGE_PROMPT + "cq", 11)
        keys = [b"\x1b[A", b"\x1b[B", b"\x1b[C", b"\x1b[D", b"\x1bOA", b"\x1b[1;5C",
                b"\x1bOP", b"\x1bOS", b"\x1b[15~", b"\x1b[24~", b"\x1b[H", b"\x1b[F", b"\x1b[1~",
                b"\x1b[4~", b"\x1b[2~", b"\x1b[3~", b"\x1b[5~", b"\x1b[6~",
                b"\t", b"\x03", b"\x1c", b"\x1a", b"\x11", b"\x13", b"\x0a",
                b"\x1bx", b"\x1bQ", b"\x1bm"]
        for key in keys:
            run.type(key)
            time.sleep(0.05)
        run.type(b"\x1b")  # Escape alone
        time.sleep(0.3)
        run.type(" k1abc")
        self.wait_for_row(run, 5, MESSAGE_PROMPT + "cq k1abc", 17)
        run.type(b"\x1b")
        time.sleep(0.3)
        run.type(" fn42\r")
        self.finish(run, b"CQ K1ABC FN42")
        self.assertEqual(run.transcript()[5], MESSAGE_PROMPT + "cq k1abc fn42")
        self.assertEqual(run.exit_code(), EXIT_OK, "Ctrl+C, Ctrl+\\ and Ctrl+Z did not end the run")

    def test_10000_character_limit(self):
        redrawn = getattr(self.runner, "screen_is_redrawn", None)
        if redrawn:
            self.skipTest(redrawn + " (the echo is read from the screen)")
        run = self.start_recording()
        line = "abcdefghij" * 1000

        def echoed():
            rows = run.transcript()[5:]
            for end in ("", COMMAND_TOO_LONG):
                rows = rows[:rows.index(end)] if end in rows else rows
            return "".join(rows)

        run.type(line + "XYZ")  # three keys past the limit: neither shown nor kept
        run.wait_for(lambda: len(echoed()) >= len(MESSAGE_PROMPT) + 10000, timeout=60,
                     what="the echo of 10000 characters")
        run.type("\x7fQ")  # Backspace still works on a full line, and Q is taken
        run.type("R")      # the line is full again
        run.type("\r")
        # Taken whole, the message is too long for the interpreter's command
        # line: refused, and the simulator never runs.
        self.assertEqual(run.wait_exit(), EXIT_COMMAND_TOO_LONG, run.dump())
        self.assertIn(COMMAND_TOO_LONG, run.transcript(), run.dump())
        self.assertFalse(os.path.exists(self.record), "the simulator ran")
        self.assertEqual(echoed(), MESSAGE_PROMPT + line[:-1] + "Q")


class WrapAndScroll(E2ETestCase):
    """The echo wraps at the right edge; Backspace walks back over a row
    edge; at the bottom row the screen scrolls only when more output comes."""

    TEXT70 = "".join(chr(ord("a") + i % 26) for i in range(70))

    def setUp(self):
        super().setUp()
        redrawn = getattr(self.runner, "screen_is_redrawn", None)
        if redrawn:
            self.skipTest(redrawn)

    def start_recording(self, **options):
        self.install("fake_record_args")
        self.record, env = self.record_arguments()
        run = self.start(env=self.environment(**env), **options)
        run.wait_for_prompt(MESSAGE_PROMPT)
        return run

    def finish(self, run, message):
        run.wait_for_prompt(DESTINATION_PROMPT)
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK, run.dump())
        self.assertEqual(self.recorded(self.record)[0], message)

    def expect(self, run, rows, cursor, what):
        """rows: {y: text}; cursor: (x, y)."""
        def shown():
            return all(run.row_text(y) == text for y, text in rows.items()) and run.cursor() == cursor
        run.wait_for(shown, what=what)

    def test_wrap_in_the_middle_of_the_screen(self):
        run = self.start_recording()
        full = MESSAGE_PROMPT + self.TEXT70 + "Z"  # exactly one row
        run.type(self.TEXT70 + "Z0123456789")
        self.expect(run, {5: full, 6: "0123456789"}, (10, 6), "the echo wrapped onto row 6")
        self.assertEqual(run.cell(79, 5).data, "Z")
        run.type("\x7f" * 10)
        self.expect(run, {5: full, 6: ""}, (0, 6), "row 6 emptied")
        run.type("\x7f")
        self.expect(run, {5: MESSAGE_PROMPT + self.TEXT70, 6: ""}, (79, 5), "Backspace walked back onto row 5")
        run.type("Y")
        self.expect(run, {5: MESSAGE_PROMPT + self.TEXT70 + "Y"}, (0, 6), "Y in the last column")
        run.type("\r")
        self.finish(run, (self.TEXT70 + "Y").upper().encode("ascii"))
        rows = run.transcript()
        # A row filled exactly, then Enter: one empty row below it, then the
        # two empty lines before the report.
        self.assertEqual(rows[5:10], [MESSAGE_PROMPT + self.TEXT70 + "Y", "", "", "", ""])
        self.assertTrue(rows[10].startswith("Message: " + self.TEXT70.upper()), rows[10])

    def test_wrap_and_scroll_on_the_bottom_row(self):
        run = self.start_recording(before_start=b"$ earlier output\r\n" * 30)
        self.assertEqual(run.cursor(), (len(MESSAGE_PROMPT), 24))
        base = {21: BANNER.strip(), 22: "Calls FST4SIM.EXE", 23: ""}
        full = MESSAGE_PROMPT + self.TEXT70 + "Z"
        run.type(self.TEXT70 + "Z")
        # The last row is full: the cursor waits at its start, nothing scrolled yet.
        self.expect(run, {**base, 24: full}, (0, 24), "a full last row, no scroll yet")
        run.type("\x7f")
        self.expect(run, {**base, 24: MESSAGE_PROMPT + self.TEXT70}, (79, 24),
                    "Backspace took back the last cell of the last row")
        run.type("Z")
        self.expect(run, {**base, 24: full}, (0, 24), "the last row full again")
        run.type("q")
        self.expect(run, {21: "Calls FST4SIM.EXE", 22: "", 23: full, 24: "q"}, (1, 24), "one row scrolled")
        run.type("\x7f")
        self.expect(run, {23: full, 24: ""}, (0, 24), "q taken back")
        run.type("\x7f")
        self.expect(run, {23: MESSAGE_PROMPT + self.TEXT70, 24: ""}, (79, 23), "walked back over the edge")
        run.type("W")
        self.expect(run, {23: MESSAGE_PROMPT + self.TEXT70 + "W"}, (0, 24), "W in the last column")
        run.type("\r")
        self.finish(run, (self.TEXT70 + "W").upper().encode("ascii"))
        rows = run.transcript()
        at = rows.index(MESSAGE_PROMPT + self.TEXT70 + "W")
        self.assertEqual(rows[at + 1:at + 5], ["", "", "", ""])
        self.assertTrue(rows[at + 5].startswith("Message: " + self.TEXT70.upper()), rows[at + 5])

    def test_exact_fill_of_the_last_row_then_enter(self):
        """Enter right after a text that filled the last row: the row stays
        in view with one empty row below it (a scroll by two)."""
        run = self.start_recording(before_start=b"$ earlier output\r\n" * 30)
        full = MESSAGE_PROMPT + self.TEXT70 + "Z"
        run.type(self.TEXT70 + "Z")
        self.expect(run, {24: full}, (0, 24), "a full last row")
        run.type("\r")
        self.finish(run, (self.TEXT70 + "Z").upper().encode("ascii"))
        rows = run.transcript()
        at = rows.index(full)
        self.assertEqual(rows[at - 2], "Calls FST4SIM.EXE")
        self.assertEqual(rows[at + 1:at + 5], ["", "", "", ""])
        self.assertTrue(rows[at + 5].startswith("Message: " + self.TEXT70.upper()), rows[at + 5])
