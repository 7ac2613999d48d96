"""End-to-end checks of the Windows build under Wine.

Each test starts `wine cmd /c RUN.BAT` in the shared harness's pseudo-terminal
(tests/e2e/harness.py) of a set size (Wine gives a program a console only when
it runs on a terminal). The batch file
starts SYMPACK.EXE with an exact command tail in the test's working folder,
then, in the same console and Wine session, runs two helpers:
console_dump.exe, which reads every cell's character and attribute back with
ReadConsoleOutputW, and clipboard_dump.exe, which reads the clipboard. The
tool's exit code comes back through %ERRORLEVEL%.

Environment (ctest sets it): SYMPACK_BIN_DIR (the Windows programs),
SYMPACK_WINE_RUN (cmake/wine-run.sh), SYMPACK_WINE_PREFIX.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

# The tool's texts, colours, exit codes and expected outputs live once, in
# the shared end-to-end harness and its golden files (golden.py).
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

from harness import (BANNER, DARK_GREY, DARK_YELLOW, DESTINATION_NOT_IN_CODE_PAGE,  # noqa: E402
                     DESTINATION_PROMPT, DOWNLOAD_HINT, EXIT_CONTROL_CHARACTER, EXIT_NO_LISTING, EXIT_NO_REPORT,
                     EXIT_NOT_WRITTEN, EXIT_OK, EXIT_SIMULATOR_MISSING, INSTALLED_SIMULATOR, NO_INTERPRETER,
                     NOT_IN_CODE_PAGE,
                     LIGHT_GREY, LIGHT_RED, MESSAGE_PROMPT, NO_REPORT, SIMULATOR_LINE,
                     SIMULATOR_MISSING, YELLOW, TerminalRun, written_line)
import golden  # noqa: E402
from wine_runner import SETTLE_SECONDS, windows_path  # noqa: E402

# What follows the quoted message in the simulator's command tail: the
# eight fixed parameters, with the blanks of WSJT-X's own example command.
PARAMETERS = " 120  1500 0.0   0 0 0 0 F"

# The final pause is 2 s; Wine's start-up adds about a second per program.
RUN_TIMEOUT = 60
# Wine 8 drops console input that arrives while, or just after, a program
# attached to the console starts or ends (the interpreter runs of the tool).
# Keys are therefore typed only once the prompt has settled (SETTLE_SECONDS,
# as the Wine runner of the shared suite waits), and typed once more if the
# tool showed no reaction to them; the tool itself keeps every key it gets,
# so a second copy can only follow a lost first one.
REACTION_SECONDS = 4
ATTEMPTS = 3


# ---- The console, as the helper read it back ------------------------------------------------


class ConsoleDump:
    """Every cell of the screen buffer: rows of text and of attributes."""

    def __init__(self, data):
        lines = data.decode("utf-8").split("\n")
        width, height, x, y, attribute = (int(n) for n in lines[0].split())
        self.width, self.height = width, height
        self.cursor = (x, y)
        self.attribute = attribute
        self.rows = [lines[1 + 2 * r] for r in range(height)]
        self.attributes = [[int(lines[2 + 2 * r][2 * c:2 * c + 2], 16) for c in range(width)]
                           for r in range(height)]

    def text(self):
        return [row.rstrip(" ") for row in self.rows]

    def describe(self):
        out = ["cursor %s, attribute %d" % (self.cursor, self.attribute)]
        for r, row in enumerate(self.rows):
            shown = sorted(set(self.attributes[r]))
            out.append("%3d |%s| %s" % (r, row.rstrip(" "), shown))
        return "\n".join(out)


def wrapped(text, width):
    """How a line that the interpreter prints shows in rows of `width`."""
    if not text:
        return [""]
    return [text[i:i + width] for i in range(0, len(text), width)]


# ---- One run in a pseudo-terminal ---------------------------------------------------------


class WineRun(TerminalRun):
    """`wine cmd /c RUN.BAT` in the harness's pseudo-terminal, its screen
    followed so the test can wait for prompts before it types. Wine needs
    keys typed with care (see SETTLE_SECONDS)."""

    def __init__(self, session, workdir, program, args, columns, rows, env):
        command = [session.wine_run, "--prefix", session.prefix, program] + list(args)
        super().__init__(None, workdir, env=env, columns=columns, lines=rows, command=command)
        self.start()

    def screen_text(self):
        return "\n".join(line.rstrip() for line in self.screen.display)

    def wait_for_text(self, text, timeout=RUN_TIMEOUT):
        self.wait_for(lambda: text in self.screen_text(), timeout, "%r on the screen" % text)

    def type(self, keys, timeout=30.0):
        super().type(keys.encode("latin-1") if isinstance(keys, str) else keys, timeout)

    def type_until(self, keys, reacted):
        """Types `keys` until reacted() holds (see SETTLE_SECONDS)."""
        for _ in range(ATTEMPTS):
            self.type(keys)
            deadline = time.monotonic() + REACTION_SECONDS
            while time.monotonic() < deadline:
                if reacted():
                    return
                if self._poll_exit():
                    break
                self.pump(0.05)
            if reacted() or self._poll_exit():
                return
        raise AssertionError("no reaction to %r:\n%s" % (keys, self.screen_text()))

    def answer(self, prompt, text="", echo=None):
        """At `prompt`: types `text` (shown as `echo`, by default the text
        itself) and Enter."""
        self.wait_for_text(prompt.strip())
        time.sleep(SETTLE_SECONDS)
        self.pump(0)
        if text:
            shown = prompt + (text if echo is None else echo)
            self.type_until(text, lambda: shown in self.screen_text())
        before = self.screen_text()
        self.type_until("\r", lambda: self.screen_text() != before)

    def wait_exit(self, timeout=RUN_TIMEOUT):
        try:
            return super().wait_exit(timeout)
        finally:
            self.close()

    def kill(self):
        self.close()


class WineSession:
    def __init__(self):
        self.bin_dir = os.environ.get("SYMPACK_BIN_DIR")
        self.wine_run = os.environ.get("SYMPACK_WINE_RUN")
        self.prefix = os.environ.get("SYMPACK_WINE_PREFIX")
        if not (self.bin_dir and self.wine_run and self.prefix):
            raise unittest.SkipTest("SYMPACK_BIN_DIR, SYMPACK_WINE_RUN and SYMPACK_WINE_PREFIX are not set")

    def program(self, name):
        return os.path.join(self.bin_dir, name)

    def environment(self, **overrides):
        env = {key: value for key, value in os.environ.items() if not key.startswith("FAKE_")}
        env["TERM"] = "xterm"
        env.update(overrides)
        return env

    def capture(self, name, args=(), cwd=None):
        """A Windows program's standard output, run outside any console."""
        result = subprocess.run([self.wine_run, "--prefix", self.prefix, self.program(name)] + list(args),
                                cwd=cwd, capture_output=True, stdin=subprocess.DEVNULL,
                                timeout=RUN_TIMEOUT, env=self.environment())
        return result


# ---- The test case base ---------------------------------------------------------------------


class WineTestCase(unittest.TestCase):
    maxDiff = None
    columns, rows = 80, 60

    def setUp(self):
        self.session = WineSession()
        self.work = tempfile.mkdtemp(prefix="sympack-wine-")
        self.aside = tempfile.mkdtemp(prefix="sympack-wine-aside-")
        for folder in (self.work, self.aside):
            self.addCleanup(shutil.rmtree, folder, True)

    def install(self, program="fake_good_report.exe", as_name="FST4SIM.EXE"):
        shutil.copyfile(self.session.program(program), os.path.join(self.work, as_name))

    def aside_path(self, name):
        return os.path.join(self.aside, name)

    def start(self, tail="", before=(), after=(), env=None, beside=None):
        """Starts the tool from a batch file with `tail` exactly after the
        program name; `before` and `after` are further batch lines. The tool
        is a copy of SYMPACK.EXE in a folder of its own, with `beside` (a
        program of the build) as FST4SIM.EXE there when given."""
        folder = tempfile.mkdtemp(prefix="sympack-wine-tool-")
        self.addCleanup(shutil.rmtree, folder, True)
        shutil.copyfile(self.session.program("SYMPACK.EXE"), os.path.join(folder, "SYMPACK.EXE"))
        if beside:
            shutil.copyfile(self.session.program(beside), os.path.join(folder, "FST4SIM.EXE"))
        self.tool_folder = folder
        tool = '"%s"' % windows_path(os.path.join(folder, "SYMPACK.EXE"))
        lines = ["@echo off"] + list(before) + [tool + tail]
        lines.append('>"%s" echo %%ERRORLEVEL%%' % windows_path(self.aside_path("exit.txt")))
        lines += list(after)
        lines.append('"%s" "%s"' % (windows_path(self.session.program("console_dump.exe")),
                                     windows_path(self.aside_path("dump.txt"))))
        lines.append('"%s" > "%s"' % (windows_path(self.session.program("clipboard_dump.exe")),
                                       windows_path(self.aside_path("clip.txt"))))
        batch = self.aside_path("RUN.BAT")
        with open(batch, "wb") as f:
            f.write("\r\n".join(lines).encode("latin-1") + b"\r\n")
        run = WineRun(self.session, self.work, "cmd", ["/c", windows_path(batch)], self.columns, self.rows,
                      env or self.session.environment())
        self.addCleanup(run.kill)
        return run

    def finish(self, run):
        """Waits for the end; the exit code and the console as read back."""
        run.wait_exit()
        with open(self.aside_path("exit.txt"), "rb") as f:
            exit_code = int(f.read().strip())
        with open(self.aside_path("dump.txt"), "rb") as f:
            dump = ConsoleDump(f.read())
        return exit_code, dump

    def clipboard(self):
        with open(self.aside_path("clip.txt"), "rb") as f:
            return f.read()

    def read(self, name):
        with open(os.path.join(self.work, name), "rb") as f:
            return f.read()

    def files(self):
        return sorted(os.listdir(self.work))

    def good_report(self):
        result = self.session.capture("fake_good_report.exe")
        self.assertEqual(result.returncode, 0)
        return result.stdout

    # -- assertions on the console --

    def assert_rows(self, dump, expected, start=0):
        """Rows from `start`: each (text, attribute) row holds the text with
        that attribute on every one of its cells, trailing blanks included,
        and the untouched rest of the row in light grey."""
        for index, (text, attribute) in enumerate(expected):
            row = start + index
            self.assertEqual(dump.rows[row].rstrip(" "), text.rstrip(" "),
                             "text of row %d\n%s" % (row, dump.describe()))
            wanted = [attribute] * len(text) + [LIGHT_GREY] * (dump.width - len(text))
            self.assertEqual(dump.attributes[row], wanted,
                             "attributes of row %d (%r)\n%s" % (row, text, dump.describe()))

    def assert_blank_from(self, dump, row):
        for r in range(row, dump.height):
            self.assertEqual(dump.rows[r].strip(" "), "", "row %d\n%s" % (r, dump.describe()))
            self.assertEqual(set(dump.attributes[r]), {LIGHT_GREY}, "row %d\n%s" % (r, dump.describe()))


BANNER_ROWS = [("", LIGHT_GREY), ("", LIGHT_GREY), (BANNER, LIGHT_GREY), (SIMULATOR_LINE, DARK_GREY),
               ("", LIGHT_GREY)]


def full_run_rows(report, include, width):
    """Every row of a run with the message on the command line and Enter at
    the destination prompt, as (text, attribute); the cursor ends on the row
    after them."""
    report_rows = [(row, DARK_YELLOW) for line in report.decode("ascii").split("\r\n")[:-1]
                   for row in wrapped(line, width)]
    include_rows = [(line, LIGHT_GREY) for line in (include + b"\r\n").decode("ascii").split("\r\n")[:-1]]
    return (BANNER_ROWS + [("", LIGHT_GREY), ("", LIGHT_GREY)] + report_rows +
            [(DESTINATION_PROMPT, LIGHT_GREY)] + include_rows +
            [(written_line("FST4.INC"), YELLOW), ("", LIGHT_GREY)])


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


class CodePage(WineTestCase):
    """Greek capitals typed at the console, which Windows-1252 (the ANSI
    code page here) cannot hold: best fit would send "??G" and write
    Gamma.inc over G.inc. The terminal sends UTF-8 and Wine's console reads
    it so."""

    def utf8_terminal(self):
        return self.session.environment(LC_ALL="C.UTF-8")

    def test_a_message_the_code_page_cannot_hold_is_refused(self):
        self.install()
        run = self.start(env=self.utf8_terminal())
        run.answer(MESSAGE_PROMPT, "\u0391\u0392\u0393".encode("utf-8"), echo="\u0391\u0392\u0393")
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_CONTROL_CHARACTER, dump.describe())
        self.assert_rows(dump, [(NOT_IN_CODE_PAGE, LIGHT_RED)], start=6)
        self.assertEqual(self.files(), ["FST4SIM.EXE"], "the simulator never ran")

    def test_a_name_the_code_page_cannot_hold_is_not_written_and_no_other_file_is(self):
        self.install()
        with open(os.path.join(self.work, "G.inc"), "wb") as f:
            f.write(b"notes")
        run = self.start(" cq k1abc fn42", env=self.utf8_terminal())
        run.answer(DESTINATION_PROMPT, "\u0393.inc".encode("utf-8"), echo="\u0393.inc")
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_NOT_WRITTEN, dump.describe())
        self.assertIn(DESTINATION_NOT_IN_CODE_PAGE, dump.text())
        self.assertEqual(self.read("G.inc"), b"notes")
        self.assertEqual(self.files(), ["FST4SIM.EXE", "G.inc"])


class CommandTail(WineTestCase):
    """What reaches the simulator, through the real cmd.exe. The stand-in
    simulator records its whole command line."""

    def recorded_command_line(self):
        return self.read("COMMAND_LINE.BIN").decode("utf-16-le")

    def run_with(self, tail="", typed=None):
        self.install("record_command_line.exe")
        run = self.start(tail)
        if typed is not None:
            run.answer(MESSAGE_PROMPT, typed)
        # Its report holds no listing: the run ends without asking for a
        # destination.
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_NO_LISTING, dump.describe())
        self.assertNotIn(DESTINATION_PROMPT.rstrip(" "), "\n".join(dump.text()))
        line = self.recorded_command_line()
        return line[line.index('"'):].rstrip(" "), dump

    def test_blanks_around_the_tail_are_dropped_and_those_inside_kept(self):
        tail, _ = self.run_with("   cq  test  \t")
        self.assertEqual(tail, '"CQ  TEST"' + PARAMETERS)

    def test_a_message_in_one_pair_of_quotes_is_taken_without_them(self):
        # cmd.exe leaves the blank before a redirection in the tail.
        tail, _ = self.run_with(' "cq k1abc fn42" ')
        self.assertEqual(tail, '"CQ K1ABC FN42"' + PARAMETERS)

    def test_interpreter_syntax_typed_in_the_message_runs_nothing(self):
        message = 'cq" & echo PWNED> PWNED.TXT & "'
        tail, dump = self.run_with(typed=message)
        # The C runtime's quoting: each quote of the message behind a backslash.
        self.assertEqual(tail, '"' + message.upper().replace('"', '\\"') + '"' + PARAMETERS)
        self.assertNotIn("PWNED.TXT", [name.upper() for name in self.files()])


class Interpreter(WineTestCase):

    def test_without_comspec_nothing_runs(self):
        """Nothing is started without an interpreter, and the run says so."""
        self.install()
        run = self.start(" cq k1abc fn42", before=["set COMSPEC="])
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_NO_REPORT, dump.describe())
        self.assert_rows(dump, BANNER_ROWS + [(NO_REPORT, LIGHT_GREY), (NO_INTERPRETER, LIGHT_RED)])
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_standard_output_redirected_gets_the_plain_transcript(self):
        """The file gets every line, CR LF ended, the interpreter's displays in
        their places; the console shows only the prompt (through standard
        error) and the typing, which the console's own line editing echoes."""
        self.install()
        report = self.good_report()
        include = golden.include_text()
        out = self.aside_path("out.txt")
        # No blank before ">": the interpreter would leave it in the tail.
        run = self.start(' cq k1abc fn42> "%s"' % windows_path(out))
        run.answer(DESTINATION_PROMPT)
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK, dump.describe())
        with open(out, "rb") as f:
            redirected = f.read()
        own = lambda *lines: b"".join(line.encode("ascii") + b"\r\n" for line in lines)
        self.assertEqual(redirected, own("", "", BANNER, SIMULATOR_LINE, "", "", "") + report
                         + own(DESTINATION_PROMPT) + include + b"\r\n"
                         + own(written_line("FST4.INC"), ""))
        self.assertNotIn(BANNER.rstrip(" "), dump.text())
        self.assertIn(DESTINATION_PROMPT.rstrip(" "), dump.text())
        self.assertEqual(self.read("FST4.INC"), include + b"\r\n")
        self.assertEqual(self.clipboard(), include)


class SimulatorProgram(WineTestCase):
    """Which FST4SIM.EXE runs: the folder's own, called by its full name, or
    the one beside SYMPACK.EXE (the zip's folder) when the folder has none."""

    def include_text(self):
        self.good_report()  # the fake runs and prints the report the golden file was made from
        return golden.include_text()

    def test_a_command_file_beside_the_simulator_never_runs(self):
        """PATHEXT puts .COM, and .BAT and .CMD, before .EXE for a bare
        FST4SIM; called FST4SIM.EXE, the simulator is that file alone."""
        self.install()
        shutil.copyfile(self.session.program("fake_no_report.exe"), os.path.join(self.work, "FST4SIM.COM"))
        for name in ("FST4SIM.BAT", "FST4SIM.CMD"):
            with open(os.path.join(self.work, name), "wb") as f:
                f.write(b"@echo ran> RAN.TXT\r\n")
        run = self.start(" cq k1abc fn42")
        run.answer(DESTINATION_PROMPT)
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK, dump.describe())
        self.assertEqual(self.read("FST4.INC"), self.include_text() + b"\r\n")
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.BAT", "FST4SIM.CMD", "FST4SIM.COM", "FST4SIM.EXE"])

    def test_started_by_path_from_another_folder_the_simulator_beside_it_runs(self):
        run = self.start(" cq k1abc fn42", beside="fake_good_report.exe")
        run.answer(DESTINATION_PROMPT)
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK, dump.describe())
        said = INSTALLED_SIMULATOR + windows_path(os.path.join(self.tool_folder, "FST4SIM.EXE"))
        self.assertIn(said, "".join(row.ljust(dump.width) for row in dump.rows), dump.describe())
        self.assertEqual(self.read("FST4.INC"), self.include_text() + b"\r\n")
        self.assertEqual(self.files(), ["FST4.INC"])

    def test_the_folders_own_simulator_comes_first(self):
        self.install()
        run = self.start(" cq k1abc fn42", beside="fake_no_report.exe")
        run.answer(DESTINATION_PROMPT)
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK, dump.describe())
        self.assertNotIn(INSTALLED_SIMULATOR.rstrip(" "), "\n".join(dump.text()))
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])


class Clipboard(WineTestCase):
    """Wine keeps the clipboard in the window station, and drops the window
    station about a second after the last program on its desktop has ended
    (the desktop's explorer.exe closes then). Data seeded by a program run on
    its own before the tool is therefore often gone before the tool starts,
    whatever the tool does. The seeding runs in the batch file instead, whose
    cmd.exe and console keep the desktop up for the whole run, and the formats
    are listed right before the tool too: a marker lost before the tool ran is
    reported as that, never blamed on the tool."""

    def list_formats(self, name):
        return '"%s" formats > "%s"' % (windows_path(self.session.program("clipboard_dump.exe")),
                                        windows_path(self.aside_path(name)))

    def formats(self, name):
        with open(self.aside_path(name), "rb") as f:
            return f.read().split()

    def test_other_formats_stay_on_the_clipboard(self):
        self.install()
        seed = '"%s" seed' % windows_path(self.session.program("clipboard_dump.exe"))
        run = self.start(" cq k1abc fn42", before=[seed, self.list_formats("before.txt")],
                         after=[self.list_formats("after.txt")])
        run.answer(DESTINATION_PROMPT)
        exit_code, _ = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK)
        self.assertIn(b"marker", self.formats("before.txt"), "the seeding did not take")
        self.assertIn(b"marker", self.formats("after.txt"), "the tool emptied the clipboard")
        self.assertTrue(self.clipboard().startswith(b";     FST4 SYMBOLS Packed 4 per byte\r\n"))


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


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]] + sys.argv[1:], verbosity=2)
