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


def windows_path(path):
    """Wine's drive Z: is the Unix root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class WineRunner(PosixRunner):
    """What PosixRunner's docstring lists, for SYMPACK.EXE under Wine."""

    name = "wine"
    # The fakes are C programs of the Windows build: their argv is in the
    # ANSI code page, which Wine sets to Windows-1252 here.
    argv_encoding = "cp1252"
    # cmd.exe copies the simulator's output byte for byte.
    interpreter_converts_lf = False
    doubled_quote_stays_quoted = True
    posix_system = False
    # Ctrl+C reaches the tool as a signal to its control handler, not as a key.
    ctrl_c_is_a_key = False
    # Why a test that relies on the POSIX terminal or system cannot apply.
    NOT_APPLICABLE = "POSIX only: Wine draws a Windows console on the terminal"

    def __init__(self, bin_dir):
        super().__init__(bin_dir)
        self.wine_run = os.environ.get("SYMPACK_WINE_RUN")
        self.prefix = os.environ.get("SYMPACK_WINE_PREFIX")
        if not (self.wine_run and self.prefix):
            raise unittest.SkipTest("SYMPACK_WINE_RUN and SYMPACK_WINE_PREFIX are not set (ctest sets them)")
        self.records = tempfile.mkdtemp(prefix="sympack-wine-records-")
        self.runs = 0
        self.clipboard_file = None

    def __del__(self):
        shutil.rmtree(getattr(self, "records", ""), ignore_errors=True)

    def _wine(self, program, args=()):
        return [self.wine_run, "--prefix", self.prefix, program] + list(args)

    def tool_command(self, args):
        self.runs += 1
        self.clipboard_file = os.path.join(self.records, "clipboard-%d.txt" % self.runs)
        tail = " ".join(args).encode("utf-8").hex()
        return self._wine(os.path.join(self.bin_dir, "start_with_tail.exe"),
                          [windows_path(os.path.join(self.bin_dir, "SYMPACK.EXE")), tail,
                           windows_path(self.clipboard_file)])

    def fake_path(self, fake):
        return os.path.join(self.fakes_dir, fake + ".exe")

    def environment(self, overrides=None):
        env = super().environment(overrides)
        env.pop("LC_ALL", None)  # Wine's code pages follow the locale; keep the default
        return env

    def missing_interpreter(self):
        return "C:\\nonexistent\\folder\\cmd.exe"

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
