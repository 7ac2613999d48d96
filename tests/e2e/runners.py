"""How the tests start the tool: a runner gives the command that starts it,
the folder of the fake simulators and the environment. The POSIX runner starts
the native build; another (the Windows build under Wine, wine_runner.py) is
chosen with the environment variable SYMPACK_E2E_RUNNER."""

import importlib
import os
import subprocess
import unittest

from programs import copy_program


class PosixRunner:
    """The native build: bin/sympack, the fakes beside it, our interpreter
    bin/sympack-cmd used because "comspec" is unset.

    What a runner gives the tests (another runner, such as one for the Windows
    build under Wine, provides the same names):
      tool_command(args)        argv that starts the tool with these arguments
                                (the first item a path, or a program on PATH)
      fakes_dir, fake_path(f)   where the fake simulators are
      install_simulator(f, folder, as_name)   copy a fake in as FST4SIM.EXE
      environment(overrides)    the tool's environment, "comspec" removed
      missing_interpreter()     a "comspec" value that names no program
      run_program(path, args, cwd, env)       run a fake directly
      argv_encoding, interpreter_converts_lf, doubled_quote_stays_quoted,
      posix_system, transcript_line_end, clipboard_without_terminal
                                facts some tests depend on
    """

    name = "posix"
    # Arguments reach a fake as bytes in this encoding.
    argv_encoding = "utf-8"
    # Our interpreter writes each lone LF of a redirected program as CR LF.
    interpreter_converts_lf = True
    # "" inside a quoted stretch: a literal quote, and quoting goes on (the
    # rule of the C runtimes since 2008, which our interpreter follows).
    doubled_quote_stays_quoted = True
    # termios, setsid, /dev/full and chmod mean what POSIX says.
    posix_system = True
    # The line end of the tool's own lines in its plain transcript.
    transcript_line_end = b"\n"
    # Whether the text reaches a clipboard when no terminal is there (the
    # POSIX build sets it through the terminal, OSC 52).
    clipboard_without_terminal = False
    # The locale the tool runs in unless a test sets another.
    default_locale = "C"
    # How many runs may go side by side (E2ETestCase.each_at_once): each run
    # spends most of its time in the tool's closing pause.
    runs_at_once = 8

    def __init__(self, bin_dir):
        self.bin_dir = bin_dir
        self.fakes_dir = bin_dir

    def tool_command(self, args):
        return [os.path.join(self.bin_dir, "sympack")] + list(args)

    def fake_path(self, fake):
        return os.path.join(self.fakes_dir, fake)

    def install_simulator(self, fake, folder, as_name="FST4SIM.EXE"):
        target = copy_program(self.fake_path(fake), os.path.join(folder, as_name))
        os.chmod(target, 0o755)
        return target

    def environment(self, overrides=None):
        """The tool's environment: this one without any "comspec" (in any
        letter case) and without the fakes' knobs, then `overrides` (a value of
        None removes the variable)."""
        env = {key: value for key, value in os.environ.items()
               if key.lower() != "comspec" and not key.startswith("FAKE_")}
        env["TERM"] = "xterm"
        # The ANSI code page follows the locale: any but a UTF-8 one gives
        # Windows-1252, which the tests assume unless they set another.
        env["LC_ALL"] = self.default_locale
        for key, value in (overrides or {}).items():
            if value is None:
                env.pop(key, None)
            else:
                env[key] = value
        return env

    def missing_interpreter(self):
        """A "comspec" value that names no program."""
        return "/nonexistent/folder/cmd.exe"

    # The interpreter program the tool starts when "comspec" is unset, its
    # file name, and how a "comspec" value names a path.
    def interpreter_program(self):
        return os.path.join(self.bin_dir, "sympack-cmd")

    def program_name(self, name):
        return name

    def comspec_value(self, path):
        return path

    def run_program(self, path, args=(), cwd=None, env=None, timeout=30):
        return subprocess.run([path] + list(args), cwd=cwd, env=env, capture_output=True,
                              timeout=timeout, stdin=subprocess.DEVNULL)


# Other runners live in their own modules ("module.Class"), loaded when chosen.
RUNNERS = {"posix": PosixRunner, "wine": "wine_runner.WineRunner"}


def make_runner():
    bin_dir = os.environ.get("SYMPACK_BIN_DIR")
    if not bin_dir:
        raise unittest.SkipTest("SYMPACK_BIN_DIR is not set (ctest sets it)")
    name = os.environ.get("SYMPACK_E2E_RUNNER", "posix")
    if name not in RUNNERS:
        raise RuntimeError("unknown SYMPACK_E2E_RUNNER %r (known: %s)" % (name, ", ".join(RUNNERS)))
    runner = RUNNERS[name]
    if isinstance(runner, str):
        module, _, cls = runner.rpartition(".")
        runner = getattr(importlib.import_module(module), cls)
    return runner(os.path.abspath(bin_dir))
