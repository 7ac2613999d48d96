"""What the Windows end-to-end checks under Wine stand on: the console as
console_dump.exe reads it back (ConsoleDump), a run of `wine cmd /c RUN.BAT`
in the shared harness's pseudo-terminal (WineRun), the Wine session
(WineSession), the test case base (WineTestCase) and the rows of a whole run.
tests/e2e is put on the module path here, so import this module before the
shared harness."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

# The tool's texts, colours, exit codes and expected outputs live once, in
# the shared end-to-end harness and its golden files (tests/e2e/golden.py).
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

from harness import (BANNER, DARK_GREY, DARK_YELLOW, DESTINATION_PROMPT, LIGHT_GREY,  # noqa: E402
                     SIMULATOR_LINE, YELLOW, TerminalRun, written_line)
from wine_runner import SETTLE_SECONDS, windows_path  # noqa: E402

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
