"""Bad messages: answer lines with control characters or text the code page
cannot hold, every byte value in a message, very long messages. Each case
states its outcome: the documented behaviour or a clear exit code, nothing
lost, no hang, no crash. (Quotes and interpreter syntax are test_injection's.)"""

import os

import fake_data
import golden
from harness import (COMMAND_TOO_LONG, CONTROL_CHARACTER, DESTINATION_CONTROL_CHARACTER,
                     DESTINATION_NOT_IN_CODE_PAGE, DESTINATION_PROMPT, EXIT_COMMAND_TOO_LONG,
                     EXIT_CONTROL_CHARACTER, NOT_IN_CODE_PAGE, EXIT_NOT_WRITTEN, EXIT_OK, MESSAGE_PROMPT,
                     TerminalRun)
from bad_input import (BYTE_CHUNKS, LONGEST_MESSAGES, TOO_LONG_MESSAGE_LENGTH, cp1252_text, cp1252_bytes,
                       as_tool_sees_argument, BadInputCase)


class AnswerLines(BadInputCase):
    """Answer lines from a file are taken as they stand, never edited as
    keys: one holding a control character is refused as a command line is
    (exit code 12) and an earlier include file stays; text the code page
    cannot hold is neither sent nor used as a name (no best fit)."""

    EARLIER = b"earlier include file\r\n"
    UTF8_MARK = b"\xef\xbb\xbf"

    def run_answers(self, typed):
        """The run of `typed` in a folder of its own holding an earlier
        FST4.INC and G.inc: the result, the folder's files, and what the two
        files hold afterwards."""
        folder = self.other_folder()
        self.runner.install_simulator("fake_good_report", folder)
        for name in ("FST4.INC", "G.inc"):
            with open(os.path.join(folder, name), "wb") as f:
                f.write(self.EARLIER)
        result = self.run_scripted(typed=typed, folder=folder)
        kept = {}
        for name in ("FST4.INC", "G.inc"):
            with open(os.path.join(folder, name), "rb") as f:
                kept[name] = f.read()
        return result, sorted(os.listdir(folder)), kept

    def test_control_characters_in_answer_lines(self):
        cases = {
            "tab in the message": (b"CQ K1ABC\tFN42\ntab.inc\n", CONTROL_CHARACTER, False),
            "BEL in the message": (b"CQ K1ABC\x07FN42\n\n", CONTROL_CHARACTER, False),
            "NUL in the message": (b"CQ K1ABC\x00FN42\r\n\r\n", CONTROL_CHARACTER, False),
            "backspace in the message": (b"CQ K1ABCX\x08 FN42\n\n", CONTROL_CHARACTER, False),
            "ESC in the message": (b"CQ K1ABC \x1b[2JFN42\n\n", CONTROL_CHARACTER, False),
            "form feed in the destination": (b"cq k1abc fn42\nbe\x0cac.inc\n", DESTINATION_CONTROL_CHARACTER, True),
            "tab after the destination's comma": (b"cq k1abc fn42\rout.inc,\tx\r", DESTINATION_CONTROL_CHARACTER, True),
        }

        def check(name):
            typed, line, simulator_ran = cases[name]
            result, files, kept = self.run_answers(typed)
            self.assertEqual(result.returncode, EXIT_CONTROL_CHARACTER, result)
            self.assertIn(line.encode(), result.stderr)
            self.assertEqual(kept["FST4.INC"], self.EARLIER, "the earlier include file stays")
            self.assertEqual(files, ["FST4.INC", "FST4SIM.EXE", "G.inc"], "nothing written, the report removed")
            self.assertEqual(fake_data.LISTING_HEADER in result.stdout, simulator_ran, result.stdout)

        self.each_at_once(sorted(cases), check)

    def test_text_the_code_page_cannot_hold(self):
        """In Windows-1252 (the tests' code page) Greek capitals have no
        place: best fit would send "ABG" or "??G" and write Gamma.inc over
        G.inc."""
        result, files, kept = self.run_answers(self.UTF8_MARK + "\u0391\u0392\u0393\r\n\r\n".encode())
        self.assertEqual(result.returncode, EXIT_CONTROL_CHARACTER, result)
        self.assertIn(NOT_IN_CODE_PAGE.encode(), result.stderr)
        self.assertNotIn(fake_data.LISTING_HEADER, result.stdout, "the simulator never ran")
        self.assertEqual(files, ["FST4.INC", "FST4SIM.EXE", "G.inc"])

        result, files, kept = self.run_answers(self.UTF8_MARK + "cq k1abc fn42\r\n\u0393.inc\r\n".encode())
        self.assertEqual(result.returncode, EXIT_NOT_WRITTEN, result)
        self.assertIn(DESTINATION_NOT_IN_CODE_PAGE.encode(), result.stderr)
        self.assertEqual(kept, {"FST4.INC": self.EARLIER, "G.inc": self.EARLIER}, "no other file touched")
        self.assertEqual(files, ["FST4.INC", "FST4SIM.EXE", "G.inc"])


class MessageBytes(BadInputCase):
    """Whatever bytes a message holds, the simulator gets them as documented,
    the include file's trailer holds them upper-cased, and nothing else runs."""

    def expected_arguments(self, upper):
        arguments = [upper] + golden.parameters()
        return b"".join(cp1252_text(a).encode(self.runner.argv_encoding) + b"\n"
                        for a in arguments)

    def run_recorded(self, folder, args=(), typed=None):
        """A simulator that, like another maker's, prints no Message: line:
        no decoded text could carry these bytes (a CR, byte 26 or a C1
        control would break the report or the terminal), so only the
        arguments and the include file are checked."""
        self.runner.install_simulator("fake_record_args", folder)
        record = os.path.join(self.other_folder(), "argv.txt")
        run = TerminalRun(self.runner, folder, args=args,
                          env=self.environment(FAKE_ARGV_FILE=record, FAKE_NO_MESSAGE_LINE="1"))
        self.addCleanup(run.close)
        run.start()
        if typed is not None:
            run.wait_for_prompt(MESSAGE_PROMPT)
            run.type(typed + b"\r")
        run.wait_for_prompt(DESTINATION_PROMPT, timeout=30)
        run.type("\r")
        code = run.wait_exit(timeout=60)
        with open(record, "rb") as f:  # one LF after each argument; arguments may hold LFs too
            return run, code, f.read()

    def delivered_as(self, key, recorded):
        """The first argument the golden table holds for the message given as
        `key` (write mode: what `recorded` shows the simulator got)."""
        if golden.WRITING:
            arguments = [cp1252_bytes(a) for a in recorded.decode(self.runner.argv_encoding).split("\n")[:-1]]
            golden.record_simulator_arguments(key, arguments)
        return golden.simulator_message(key)

    def check_delivered(self, folder, run, code, recorded, upper):
        self.assertEqual(code, EXIT_OK, run.dump())
        self.assertEqual(recorded, self.expected_arguments(upper))
        self.assertEqual(sorted(os.listdir(folder)), ["FST4.INC", "FST4SIM.EXE"])
        with open(os.path.join(folder, "FST4.INC"), "rb") as f:
            self.assertEqual(f.read(), golden.include_file(upper))

    def test_every_byte_value_on_the_command_line(self):
        self.needs_posix("arguments as raw bytes")
        def check(index):
            chunk = BYTE_CHUNKS[index]
            folder = os.path.join(self.work, "bytes%d" % index)
            os.mkdir(folder)
            tail = as_tool_sees_argument(chunk)
            if tail is None:
                self.runner.install_simulator("fake_good_report", folder)
                run = TerminalRun(self.runner, folder, args=[chunk])
                self.addCleanup(run.close)
                run.start()
                self.assertEqual(run.wait_exit(timeout=60), EXIT_CONTROL_CHARACTER, run.dump())
                self.assertIn(NOT_IN_CODE_PAGE, run.dump())
                self.assertEqual(os.listdir(folder), ["FST4SIM.EXE"], "nothing ran")
                return
            run, code, recorded = self.run_recorded(folder, args=[chunk])
            self.check_delivered(folder, run, code, recorded,
                                 self.delivered_as("command line: byte chunk %d" % index, recorded))

        self.each_at_once(range(len(BYTE_CHUNKS)), check, label="chunk")

    def test_every_character_of_the_code_page_on_the_command_line(self):
        high = cp1252_text(bytes(range(0x80, 0x100)))
        run, code, recorded = self.run_recorded(self.work, args=[high.encode("utf-8")])
        self.check_delivered(self.work, run, code, recorded,
                             self.delivered_as("command line: Windows-1252 0x80 to 0xFF", recorded))

    def test_typed_characters_of_the_code_page_and_ignored_controls(self):
        """Every character of Windows-1252 from blank up, typed with the
        control keys 1..31 between them (Backspace, Enter and Escape aside):
        the controls change nothing, every character arrives."""
        signals = getattr(self.runner, "control_keys_are_signals", None)
        if signals:
            self.skipTest(signals)
        controls = bytes(b for b in range(1, 32) if b not in (8, 13, 27))
        characters = bytes(range(32, 127)) + bytes(range(0xA0, 0x100))
        keys = bytearray()
        for index, byte in enumerate(characters):
            keys += bytes([byte]).decode("cp1252").encode("utf-8")
            keys.append(controls[index % len(controls)])
        folder = os.path.join(self.work, "typed")
        os.mkdir(folder)
        run, code, recorded = self.run_recorded(folder, typed=bytes(keys))
        self.check_delivered(folder, run, code, recorded,
                             self.delivered_as("typed: Windows-1252 from blank, controls between", recorded))

    def test_the_longest_messages_the_interpreter_takes(self):
        """A message whose command fills cmd.exe's 8191 characters exactly
        arrives whole, plain or with a caret before every character."""
        for index, message in enumerate(LONGEST_MESSAGES):
            with self.subTest(length=len(message)):
                folder = os.path.join(self.work, "longest%d" % index)
                os.mkdir(folder)
                run, code, recorded = self.run_recorded(folder, args=[message.lower()])
                self.check_delivered(folder, run, code, recorded, message)

    def test_a_message_one_character_longer_runs_nothing(self):
        """One character more, or far more than a process command line can
        hold: refused before anything runs, in light red (so also on
        standard error)."""
        self.install("fake_record_args")
        record, env = self.record_arguments()
        for message in [m + b"X" for m in LONGEST_MESSAGES] + [b"x" * TOO_LONG_MESSAGE_LENGTH]:
            with self.subTest(length=len(message)):
                result = self.run_scripted(args=[message], env=self.environment(**env))
                self.assertEqual(result.returncode, EXIT_COMMAND_TOO_LONG, result.stdout)
                self.assertIn(self.own_lines(COMMAND_TOO_LONG), result.stdout)
                self.assertEqual(result.stderr, self.own_lines(COMMAND_TOO_LONG))
                self.assertEqual(self.files(), ["FST4SIM.EXE"])
                self.assertFalse(os.path.exists(record), "the simulator ran")
