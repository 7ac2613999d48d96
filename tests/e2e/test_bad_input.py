"""Bad input and faults: messages with every byte value and of
extreme length, odd destination names, reports of garbage or one huge line, a
one-cell terminal, simulators that cannot run, fail or die part way. Each
case states its outcome: the documented behaviour or a clear exit code,
nothing lost, no hang, no crash. Cases the other modules already cover
(quotes and interpreter syntax, wildcards, missing folders, devices,
read-only files, LF-only reports, byte 26, no terminal, a silent terminal, a
missing simulator) are not repeated here."""

import os
import random
import re
import resource
import shutil
import subprocess
import tempfile
import time

import fake_data
import golden
from harness import (COMMAND_TOO_LONG, CONTROL_CHARACTER, DESTINATION_CONTROL_CHARACTER,
                     DESTINATION_NOT_IN_CODE_PAGE, DESTINATION_PROMPT, EXIT_COMMAND_TOO_LONG,
                     EXIT_CONTROL_CHARACTER, EXIT_NO_LISTING, NOT_IN_CODE_PAGE,
                     EXIT_NO_REPORT, EXIT_NOT_WRITTEN, EXIT_OK, EXIT_SIMULATOR_FAILED,
                     EXIT_WRONG_SYMBOL_COUNT, MESSAGE_PROMPT, NO_LISTING, NO_REPORT,
                     REPORT_FOLDER_REFUSES, E2ETestCase, TerminalRun, not_written_line,
                     HELD_OPEN, IS_FOLDER, NAME_TOO_LONG, NOBODY_READS, SIZE_LIMIT, TIMED_OUT,
                     copy_program, simulator_failed, written_line, wrong_symbol_count, write_program)

GOOD_MESSAGE = b"CQ K1ABC FN42"
GOOD_INCLUDE = golden.include_file(GOOD_MESSAGE)
# The byte values 1..255 in four command-line arguments, one run each; the
# high ones are no UTF-8, so the tool sees each as U+FFFD, which Windows-1252
# cannot hold: such a message is refused, never sent with "?" in its place.
# The control characters (below 0x20, and 0x7F) are left out: a message with
# one is refused (test_injection).
BYTE_CHUNKS = [bytes(b for b in range(low, min(low + 64, 256)) if b >= 0x20 and b != 0x7F)
               for low in (1, 65, 129, 193)]
# Python's cp1252 leaves five bytes undefined; Windows maps them to the C1
# controls of the same value, and so does the tool.
CP1252_UNDEFINED = (0x81, 0x8D, 0x8F, 0x90, 0x9D)
# cmd.exe takes at most 8191 characters of command. Beside the message, the
# simulator's command holds 55: FST4SIM.EXE, a blank, the quotes around the
# message, the parameters and " > FST4TEMP.TXT". A message with a double
# quote goes as "...\"..." with a caret before every character: twice its
# length and 3, and 53 more.
INTERPRETER_LIMIT = 8191
LONGEST_MESSAGES = [(b"CQ K1ABC FN42 " * 600)[:INTERPRETER_LIMIT - 55],
                    b'CQ "' + b"K" * ((INTERPRETER_LIMIT - 53) // 2 - 3 - 4)]
# More than a process command line can hold.
TOO_LONG_MESSAGE_LENGTH = 33000
HUGE_LINE_BYTES = 100 * 1024 * 1024
GARBAGE_SEED = 6
GARBAGE_BYTES = 20000
# Generous limits: these catch a hang, they do not measure speed.
SLOW_RUN_SECONDS = 300


def cp1252_text(data):
    return "".join(chr(b) if b in CP1252_UNDEFINED else bytes([b]).decode("cp1252") for b in data)


def cp1252_bytes(text):
    return bytes(ord(c) if ord(c) in CP1252_UNDEFINED else c.encode("cp1252")[0] for c in text)


def as_tool_sees_argument(argument):
    """The command tail the POSIX tool takes from one argument: decoded as
    UTF-8 (a malformed byte becomes U+FFFD), then put in Windows-1252; None
    when the page cannot hold it."""
    text = argument.decode("utf-8", errors="replace")
    try:
        return text.encode("cp1252")
    except UnicodeEncodeError:
        return None


def script_simulator(folder, report_path, tail=""):
    """A simulator that prints the report file and then runs `tail`."""
    write_program(os.path.join(folder, "FST4SIM.EXE"), '#!/bin/sh\ncat "%s"\n%s\n' % (report_path, tail))


class BadInputCase(E2ETestCase):

    def needs_posix(self, why):
        if not self.runner.posix_system:
            self.skipTest(why)

    def run_without_terminal(self, args, timeout=60):
        """The tool in a new session without a terminal, standard input
        empty, its output in files (they may be large)."""
        out_path = os.path.join(self.other_folder(), "out")
        with open(out_path, "wb") as out:
            result = subprocess.run(self.runner.tool_command(args), stdin=subprocess.DEVNULL,
                                    stdout=out, stderr=subprocess.STDOUT, cwd=self.work,
                                    env=self.runner.environment(), timeout=timeout,
                                    start_new_session=True)
        result.output_path = out_path
        return result

    def report_aside(self, data):
        path = os.path.join(self.other_folder(), "report")
        with open(path, "wb") as f:
            f.write(data)
        return path


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

    def check_delivered(self, folder, run, code, recorded, key):
        """The simulator got what the golden table holds for `key`, and the
        include file's comment holds it."""
        self.assertEqual(code, EXIT_OK, run.dump())
        if golden.WRITING:
            arguments = [cp1252_bytes(a) for a in recorded.decode(self.runner.argv_encoding).split("\n")[:-1]]
            golden.record_simulator_arguments(key, arguments)
        upper = golden.simulator_message(key)
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
            self.check_delivered(folder, run, code, recorded, "command line: byte chunk %d" % index)

        self.each_at_once(range(len(BYTE_CHUNKS)), check, label="chunk")

    def test_every_character_of_the_code_page_on_the_command_line(self):
        high = cp1252_text(bytes(range(0x80, 0x100)))
        run, code, recorded = self.run_recorded(self.work, args=[high.encode("utf-8")])
        self.check_delivered(self.work, run, code, recorded, "command line: Windows-1252 0x80 to 0xFF")

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
        self.check_delivered(folder, run, code, recorded, "typed: Windows-1252 from blank, controls between")

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


class DestinationNames(BadInputCase):

    def finish(self, destination):
        self.install()
        run = self.start(args=["cq k1abc fn42"])
        run.wait_for_prompt(DESTINATION_PROMPT, timeout=30)
        run.type(destination + "\r")
        run.wait_exit(timeout=60)
        return run

    def test_quoted_name_with_blanks_is_written(self):
        run = self.finish('"my beacon.inc", ignored')
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.read("my beacon.inc"), GOOD_INCLUDE)
        self.assertIn(written_line("my beacon.inc").rstrip(), run.transcript())
        self.assertEqual(self.files(), ["FST4SIM.EXE", "my beacon.inc"])

    def test_a_name_longer_than_the_system_takes_is_refused_not_cut(self):
        name = "n" * 300 + ".inc"
        run = self.finish(name)
        self.assertEqual(run.exit_code(), EXIT_NOT_WRITTEN, run.dump())
        self.assertIn(name + NAME_TOO_LONG, "".join(run.transcript()))
        self.assertIn(not_written_line(name).rstrip(), "".join(run.transcript()))
        self.assertEqual(self.files(), ["FST4SIM.EXE"], "nothing written, under no name")

    def test_a_pipe_without_a_reader_is_not_waited_on(self):
        self.needs_posix("a FIFO")
        os.mkfifo(self.path("pipe.inc"))
        run = self.finish("pipe.inc")
        self.assertEqual(run.exit_code(), EXIT_NOT_WRITTEN, run.dump())
        self.assertIn("pipe.inc" + NOBODY_READS, run.transcript())
        self.assertIn(not_written_line("pipe.inc").rstrip(), run.transcript())
        self.assertEqual(self.files(), ["FST4SIM.EXE", "pipe.inc"])

    def test_a_pipe_whose_reader_never_reads_is_given_up(self):
        """A reader holds the FIFO open and never reads, and the pipe is
        full: the write gives up after its few seconds, says so on standard
        error, and the run ends."""
        self.needs_posix("a FIFO")
        self.install()
        os.mkfifo(self.path("pipe.inc"))
        reader = os.open(self.path("pipe.inc"), os.O_RDONLY | os.O_NONBLOCK)
        self.addCleanup(os.close, reader)
        filler = os.open(self.path("pipe.inc"), os.O_WRONLY | os.O_NONBLOCK)
        self.addCleanup(os.close, filler)
        try:
            while True:
                os.write(filler, b"x" * 4096)
        except BlockingIOError:
            pass
        result = self.run_scripted(args=["cq k1abc fn42"], typed=b"pipe.inc\n", timeout=30)
        self.assertEqual(result.returncode, EXIT_NOT_WRITTEN, result)
        self.assertIn(self.own_lines("pipe.inc" + TIMED_OUT), result.stderr)
        # The limit (3 s), the closing pause (2 s) and the run itself.
        self.assertLess(result.took, 9, "the write waited past its limit")
        self.assertEqual(self.files(), ["FST4SIM.EXE", "pipe.inc"])

    def test_a_backslash_is_part_of_a_linux_name(self):
        """`..\\beacon.inc` is a file of that name in the current folder: the
        parent folder's beacon.inc is never touched."""
        self.needs_posix("a backslash in a file name")
        folder = self.path("sub")
        os.mkdir(folder)
        self.runner.install_simulator("fake_good_report", folder)
        self.write("beacon.inc", b"the parent's own\r\n")
        result = self.run_scripted(args=["cq k1abc fn42"], typed=b"..\\beacon.inc\n", folder=folder)
        self.assertEqual(result.returncode, EXIT_OK, result)
        with open(os.path.join(folder, "..\\beacon.inc"), "rb") as f:
            self.assertEqual(f.read(), GOOD_INCLUDE)
        self.assertIn(self.shown(GOOD_INCLUDE), result.stdout, "TYPE shows the same file")
        self.assertEqual(self.read("beacon.inc"), b"the parent's own\r\n")
        self.assertEqual(self.files(folder), ["..\\beacon.inc", "FST4SIM.EXE"])

    def test_a_viewer_never_blocks_the_write_and_a_writer_does(self):
        """`sleep 30 < FST4.INC` (a viewer) keeps the old text it has open
        and the name gets the new one; `sleep 30 >> FST4.INC` (a program
        writing it) keeps the file from being replaced, and the run says why."""
        self.needs_posix("leases")
        self.install()
        self.write("FST4.INC", b"old text\r\n")
        for redirect, code in (("<", EXIT_OK), (">>", EXIT_NOT_WRITTEN)):
            with self.subTest(holder=redirect):
                holder = subprocess.Popen(["sh", "-c", "exec sleep 30 %s FST4.INC" % redirect], cwd=self.work)
                self.addCleanup(holder.wait)
                self.addCleanup(holder.kill)
                time.sleep(0.3)
                result = self.run_scripted(args=["cq k1abc fn42"])
                holder.kill()
                self.assertEqual(result.returncode, code, result)
                if code == EXIT_OK:
                    self.assertEqual(self.read("FST4.INC"), GOOD_INCLUDE)
                    self.write("FST4.INC", b"old text\r\n")
                else:
                    self.assertEqual(self.read("FST4.INC"), b"old text\r\n")
                    self.assertIn(self.own_lines("FST4.INC" + HELD_OPEN), result.stderr)
                self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])

    def test_a_write_cut_short_leaves_the_earlier_file_byte_for_byte(self):
        """A file-size limit smaller than the include file (as a full disk
        would) stops the write half-way: the earlier FST4.INC keeps every
        byte and its permissions, nothing half-written is left, and the
        reason is on standard error. The interpreter lifts the limit for
        itself, so that the report can be made."""
        self.needs_posix("a file-size limit")
        self.install()
        earlier = b"; the user's earlier symbols\r\n" * 3
        self.write("FST4.INC", earlier, mode=0o640)
        interpreter = os.path.join(self.other_folder(), "unlimited-cmd")
        write_program(interpreter, ('#!/bin/sh\nulimit -f unlimited\nexec "%s" "$@"\n'
                                    % self.runner.interpreter_program()).encode())
        limit = len(GOOD_INCLUDE) // 2

        def limited():
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, resource.RLIM_INFINITY))

        result = subprocess.run(self.runner.tool_command(["cq k1abc fn42"]), stdin=subprocess.DEVNULL,
                                capture_output=True, cwd=self.work, timeout=60, start_new_session=True,
                                env=self.environment(COMSPEC=interpreter), preexec_fn=limited)
        self.assertEqual(result.returncode, EXIT_NOT_WRITTEN, result)
        self.assertEqual(self.read("FST4.INC"), earlier)
        self.assertEqual(os.stat(self.path("FST4.INC")).st_mode & 0o7777, 0o640)
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])
        self.assertTrue(result.stderr.startswith(self.own_lines("FST4.INC" + SIZE_LIMIT)), result.stderr)

    def test_a_folder_is_not_written(self):
        os.mkdir(self.path("beacon"))
        run = self.finish("beacon")
        self.assertEqual(run.exit_code(), EXIT_NOT_WRITTEN, run.dump())
        self.assertIn("beacon" + IS_FOLDER, run.transcript())
        self.assertIn(not_written_line("beacon").rstrip(), run.transcript())
        self.assertEqual(os.listdir(self.path("beacon")), [], "the folder is left as it was")
        self.assertEqual(self.files(), ["FST4SIM.EXE", "beacon"])


class BadReports(BadInputCase):
    """Reports the simulator should never print. Run without a terminal: the
    report is shown by the interpreter, and garbage on a terminal would only
    disturb the screen the harness reads."""

    def setUp(self):
        super().setUp()
        self.needs_posix("a shell-script simulator")

    def test_binary_garbage_without_a_header_writes_nothing(self):
        garbage = bytes(random.Random(GARBAGE_SEED).randrange(256) for _ in range(GARBAGE_BYTES))
        garbage = garbage.replace(b"hannel symbols", b"")
        script_simulator(self.work, self.report_aside(garbage))
        result = self.run_without_terminal(["cq k1abc fn42"])
        self.assertEqual(result.returncode, EXIT_NO_LISTING)
        self.assertEqual(self.files(), ["FST4SIM.EXE"], "no include file, the report removed")

    def test_listing_inside_garbage_is_read_by_the_rules(self):
        """A header amid random bytes: the listing is whatever the line rules
        collect after it; not being one transmission, it is refused, and the
        light red line gives the count the rules read."""
        noise = random.Random(GARBAGE_SEED + 1)
        before = bytes(noise.randrange(256) for _ in range(GARBAGE_BYTES))
        after = bytes(noise.randrange(256) for _ in range(GARBAGE_BYTES))
        before = before.replace(b"hannel", b"").replace(b"\x1a", b"")  # byte 26 would end it early
        printed = before + b"\r\nChannel symbols:\r\n" + after
        script_simulator(self.work, self.report_aside(printed))
        result = self.run_without_terminal(["cq k1abc fn42"])
        with open(result.output_path, "rb") as f:
            output = f.read()
        key = "garbage seed %d, %d bytes each side" % (GARBAGE_SEED + 1, GARBAGE_BYTES)
        if golden.WRITING:
            said = re.search(rb"listing holds (\d+) characters", output)
            golden.record(golden.LISTING_COUNTS, key, int(said.group(1)) if said else None)
        count = golden.lookup(golden.LISTING_COUNTS, key)
        self.assertGreater(count, 100, "the seed gives a listing worth checking")
        self.assertEqual(result.returncode, EXIT_WRONG_SYMBOL_COUNT)
        self.assertIn(self.own_lines(wrong_symbol_count(count)), output)
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_single_100_mib_line_ends_with_no_listing(self):
        report = self.report_aside(b"")
        with open(report, "wb") as f:
            f.truncate(HUGE_LINE_BYTES)  # zero bytes: one line, no header
        script_simulator(self.work, report)
        result = self.run_without_terminal(["cq k1abc fn42"], timeout=SLOW_RUN_SECONDS)
        self.assertEqual(result.returncode, EXIT_NO_LISTING)
        self.assertEqual(self.files(), ["FST4SIM.EXE"])


class OneCellTerminal(BadInputCase):

    def test_terminal_one_column_wide_and_one_row_high(self):
        """Every text wraps and scrolls cell by cell; the run completes and
        the include file and clipboard are exact."""
        lost = getattr(self.runner, "keys_typed_ahead_lost", None)
        if lost:
            self.skipTest(lost + " (the Enter here is typed before the start)")
        self.install()
        run = self.start(args=["cq k1abc fn42"], columns=1, lines=1, keys_before_start=b"\r")
        self.assertEqual(run.wait_exit(timeout=60), EXIT_OK, run.dump())
        self.assertEqual(self.read("FST4.INC"), GOOD_INCLUDE)
        self.assertEqual(run.clipboard_texts(), [GOOD_INCLUDE[:-2]])


class SimulatorFaults(BadInputCase):

    def setUp(self):
        super().setUp()
        self.needs_posix("file modes and shell scripts")

    def full(self, asked=True):
        """A run with the message on the command line, Enter at the
        destination prompt; asked False: the run must end without one."""
        run = self.start(args=["cq k1abc fn42"])
        if asked:
            run.wait_for_prompt(DESTINATION_PROMPT, timeout=30)
            run.type("\r")
        run.wait_exit(timeout=60)
        if not asked:
            self.assertNotIn(DESTINATION_PROMPT.rstrip(), "\n".join(run.transcript()), "nothing asked")
        return run

    def test_simulator_that_is_not_executable(self):
        """Present but not a program: the interpreter complains, the report
        is empty, the run says so and writes nothing."""
        self.write("FST4SIM.EXE", b"not a program\n", mode=0o644)
        run = self.full(asked=False)
        self.assertEqual(run.exit_code(), EXIT_NO_LISTING, run.dump())
        self.assertTrue(any(NO_LISTING in row for row in run.transcript()), run.dump())
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_a_folder_that_cannot_be_written_is_named_as_the_reason(self):
        """No report can be made where the user may not write: after "No
        Temp file created" a light red line says why, on standard error
        too. Root writes every folder, so root runs the tool as nobody."""
        self.install()
        os.chmod(self.work, 0o755)
        as_user = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] if os.geteuid() == 0 else []
        command = self.runner.tool_command(["cq"])
        if as_user:
            # The build tree may sit in a folder only root may enter (a clone
            # in mktemp's folder): nobody then runs copies of the tool and its
            # interpreter from a folder anyone may read, so that the folder
            # is the one thing nobody may not do.
            programs = tempfile.mkdtemp()
            self.addCleanup(shutil.rmtree, programs)
            os.chmod(programs, 0o755)
            for name in ("sympack", "sympack-cmd"):
                copy_program(os.path.join(self.runner.bin_dir, name), programs)
            command = [os.path.join(programs, "sympack"), "cq"]
        else:
            os.chmod(self.work, 0o555)
        result = subprocess.run(as_user + command, stdin=subprocess.DEVNULL,
                                capture_output=True, cwd=self.work, env=self.runner.environment(),
                                timeout=60, start_new_session=True)
        self.assertEqual(result.returncode, EXIT_NO_REPORT, result)
        self.assertTrue(result.stdout.endswith(("%s\n%s\n" % (NO_REPORT, REPORT_FOLDER_REFUSES)).encode()),
                        result.stdout)
        self.assertTrue(result.stderr.endswith((REPORT_FOLDER_REFUSES + "\n").encode()), result.stderr)
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_simulator_exit_code_is_reported_even_after_a_whole_listing(self):
        script_simulator(self.work, self.report_aside(fake_data.GOOD_REPORT), "exit 3")
        run = self.full()
        self.assertEqual(run.exit_code(), EXIT_SIMULATOR_FAILED, run.dump())
        self.assertEqual(self.read("FST4.INC"), GOOD_INCLUDE)
        self.assertIn(simulator_failed(written_line("FST4.INC"), 3), "".join(run.transcript()))

    def test_simulator_killed_part_way_through_its_listing(self):
        """The report ends inside the listing: the lines printed so far are
        the listing, nothing more is invented, and so no include file."""
        cut = fake_data.GOOD_REPORT.index(b"1023321132")
        script_simulator(self.work, self.report_aside(fake_data.GOOD_REPORT[:cut]), "kill -KILL $$")
        run = self.full(asked=False)
        lines = fake_data.GOOD_REPORT_LINES
        self.assertEqual(lines.index(b"1023321132") - lines.index(fake_data.LISTING_HEADER + b": ") - 1, 8,
                         "eight listing lines of ten symbols before the cut")
        self.assertEqual(run.exit_code(), EXIT_WRONG_SYMBOL_COUNT, run.dump())
        self.assertIn(wrong_symbol_count(80)[:80].rstrip(), run.transcript())
        self.assertNotIn("FST4.INC", self.files())
