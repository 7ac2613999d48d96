"""The Windows build under Wine, for the shared end-to-end suite.

SYMPACK.EXE runs in the harness's pseudo-terminal through cmake/wine-run.sh
(Wine gives a program a console only on a terminal). It is started by the
helper start_with_tail.exe, which hands it exactly the command tail the
POSIX build would get (the arguments joined by blanks): `wine prog args`
would quote arguments with blanks, and a batch file would let cmd.exe read
&, |, % and carets. The helper empties the Windows clipboard first and saves
its text afterwards, which stands in for the OSC 52 sequence of the POSIX
build. The fakes are the Windows builds in the same bin folder.

Environment (ctest sets it): SYMPACK_BIN_DIR, SYMPACK_WINE_RUN
(cmake/wine-run.sh), SYMPACK_WINE_PREFIX.
"""

import codecs
import os
import shutil
import subprocess
import tempfile
import time
import unittest

from harness import PosixRunner

# Wine 8 drops console input that arrives while, or just after, a program
# attached to the console starts or ends (the helper starting the tool, the
# interpreter running the simulator). Keys are typed only once the output
# has been still this long.
SETTLE_SECONDS = 0.5
# A cold Wine start (a new prefix or server) takes seconds.
PROGRAM_TIMEOUT = 120


# Windows-1252 as Windows has it: the five bytes Python's cp1252 leaves
# undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for U+0081 and so on.
ANSI_CODEC = "sympack-windows-1252"
_UNDEFINED_IN_PYTHON = {0x81, 0x8D, 0x8F, 0x90, 0x9D}


def _ansi_encode(text, errors="strict"):
    data = bytes(ord(c) if ord(c) in _UNDEFINED_IN_PYTHON else c.encode("cp1252", errors)[0]
                 for c in text)
    return data, len(text)


def _ansi_decode(data, errors="strict"):
    text = "".join(chr(b) if b in _UNDEFINED_IN_PYTHON else bytes([b]).decode("cp1252", errors)
                   for b in bytes(data))
    return text, len(data)


codecs.register(lambda name: codecs.CodecInfo(_ansi_encode, _ansi_decode, name=ANSI_CODEC)
                if name == ANSI_CODEC.replace("-", "_") else None)


def windows_path(path):
    """Wine's drive Z: is the Unix root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class WineRunner(PosixRunner):
    """What PosixRunner's docstring lists, for SYMPACK.EXE under Wine."""

    name = "wine"
    # The fakes are C programs of the Windows build: their argv is in the
    # ANSI code page, which Wine sets to Windows-1252 here.
    argv_encoding = ANSI_CODEC
    # cmd.exe copies the simulator's output byte for byte.
    interpreter_converts_lf = False
    doubled_quote_stays_quoted = True
    posix_system = False
    transcript_line_end = b"\r\n"
    # The Win32 clipboard needs no console.
    clipboard_without_terminal = True
    # Where Wine's cmd.exe differs from the documented one (docs/windows.md).
    carets_removed_before_percents = ("Wine's cmd.exe takes carets away before it expands percents, "
                                      "unlike the documented cmd.exe")
    # Wine takes its ANSI code page (Windows-1252 here) from this locale.
    default_locale = "C.UTF-8"
    # cmd.exe keeps the blank before "> FST4TEMP.TXT" in the simulator's
    # command line, as Windows' cmd.exe does.
    blank_before_redirection_kept = True
    # What the terminal shows is Wine's drawing of the console, not the tool's
    # own output.
    screen_is_redrawn = ("Wine draws the console on the terminal itself (leaving out trailing "
                         "blanks, redrawing rows); wine_e2e reads the cells back with console_dump.exe")
    # Ctrl+C, Ctrl+Z and Ctrl+\\ typed on the terminal reach Wine as signals.
    control_keys_are_signals = ("Wine takes Ctrl+C, Ctrl+Z and Ctrl+\\ typed on the terminal as "
                                "signals, not as keys for the console")
    # Why keys typed ahead cannot be checked.
    keys_typed_ahead_lost = ("Wine drops console input that arrives while a program attached to "
                             "the console starts or ends")

    # Each run's tail and clipboard files are the runner's own state.
    runs_at_once = 1

    def __init__(self, bin_dir):
        super().__init__(bin_dir)
        self.wine_run = os.environ.get("SYMPACK_WINE_RUN")
        self.prefix = os.environ.get("SYMPACK_WINE_PREFIX")
        if not (self.wine_run and self.prefix):
            raise unittest.SkipTest("SYMPACK_WINE_RUN and SYMPACK_WINE_PREFIX are not set (ctest sets them)")
        self.records = tempfile.mkdtemp(prefix="sympack-wine-records-")
        # SYMPACK.EXE alone in a folder: beside it in bin/ stands our
        # FST4SIM.EXE, which a folder without a simulator would call (as the
        # POSIX build's bin/ has no libexec/ beside it, so a test's folder
        # without FST4SIM.EXE has none at all).
        self.tool = os.path.join(self.records, "SYMPACK.EXE")
        shutil.copyfile(os.path.join(self.bin_dir, "SYMPACK.EXE"), self.tool)
        self.runs = 0
        self.clipboard_file = None

    def __del__(self):
        shutil.rmtree(getattr(self, "records", ""), ignore_errors=True)

    def _wine(self, program, args=()):
        return [self.wine_run, "--prefix", self.prefix, program] + list(args)

    def tool_command(self, args):
        """The POSIX build's tail is its arguments joined by blanks (bytes
        arguments are UTF-8); the helper hands SYMPACK.EXE that tail."""
        self.runs += 1
        self.clipboard_file = os.path.join(self.records, "clipboard-%d.txt" % self.runs)
        tail_file = os.path.join(self.records, "tail-%d.txt" % self.runs)
        with open(tail_file, "wb") as f:
            f.write(b" ".join(a if isinstance(a, bytes) else a.encode("utf-8") for a in args))
        return self._wine(os.path.join(self.bin_dir, "start_with_tail.exe"),
                          [windows_path(self.tool),
                           windows_path(tail_file), windows_path(self.clipboard_file)])

    def fake_path(self, fake):
        return os.path.join(self.fakes_dir, fake + ".exe")

    def environment(self, overrides=None):
        """As PosixRunner's; a "comspec" the test sets goes through the helper
        (Wine puts its own COMSPEC over the Unix one). Without one, the tool
        gets Wine's: cmd.exe."""
        env = super().environment(overrides)
        for key in [key for key in env if key.lower() == "comspec"]:
            env["SYMPACK_E2E_SET_" + key] = env.pop(key)
        return env

    def missing_interpreter(self):
        return "C:\\nonexistent\\folder\\cmd.exe"

    def interpreter_program(self):
        return os.path.join(self.prefix, "drive_c", "windows", "system32", "cmd.exe")

    def program_name(self, name):
        return name + ".exe"

    def comspec_value(self, path):
        return windows_path(path)

    def run_program(self, path, args=(), cwd=None, env=None, timeout=PROGRAM_TIMEOUT):
        return subprocess.run(self._wine(path, args), cwd=cwd, env=env, capture_output=True,
                              timeout=timeout, stdin=subprocess.DEVNULL)

    # -- hooks the harness calls where the runner has them --

    def clipboard_texts(self):
        """What the last run left on the clipboard, as UTF-8: one text, or none."""
        if not (self.clipboard_file and os.path.exists(self.clipboard_file)):
            return []
        with open(self.clipboard_file, "rb") as f:
            return [f.read()]

    def before_typing(self, run):
        """Waits until the output has been still for SETTLE_SECONDS."""
        quiet_since = time.monotonic()
        while time.monotonic() - quiet_since < SETTLE_SECONDS:
            if run.pump(0.05):
                quiet_since = time.monotonic()
