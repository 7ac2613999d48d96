"""End-to-end harness: runs the built sympack in a pseudo-terminal, feeds
everything it prints to a terminal emulator (pyte) and reads the screen's
characters and colours back.

How the tool is started is a runner's business (a small object: the command
that starts the tool, the folder holding the fake simulators, the
environment). The POSIX runner starts the native build; another runner (the
Windows build under Wine) can be added to RUNNERS and chosen with the
environment variable SYMPACK_E2E_RUNNER.
"""

import base64
import concurrent.futures
import errno
import fcntl
import importlib
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import termios
import time
import unittest

import pyte

# ---- Programs the tests put in place ----------------------------------------------------


def copy_program(source, target):
    """Copies a program (into a folder, or as a file) and gives the copy's
    path. `cp` writes it, so this process never holds the copy open for
    writing: tests run side by side, and a child forked meanwhile by another
    thread would keep such a descriptor until its exec, making the program
    "Text file busy" (ETXTBSY) to run."""
    if os.path.isdir(target):
        target = os.path.join(target, os.path.basename(source))
    subprocess.run(["cp", "-p", source, target], check=True)
    return target


def write_program(path, data, mode=0o755):
    """Writes a program (a script) as copy_program puts one in place."""
    handle, draft = tempfile.mkstemp(prefix="sympack-e2e-program-")
    try:
        with os.fdopen(handle, "wb") as f:
            f.write(data.encode("utf-8") if isinstance(data, str) else data)
        os.chmod(draft, mode)
        copy_program(draft, path)
    finally:
        os.remove(draft)
    return path


# ---- Runners -------------------------------------------------------------------------


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


# ---- The tool's own texts ----------------------------------------------------------

BLANK_LINE = ""
BANNER = "Generates FST4[W] Symbols in correct format for PIC .ASM file  "
SIMULATOR_LINE = "Calls FST4SIM.EXE    "
SIMULATOR_MISSING = "FST4SIM.EXE is not present.  Ensure this is in the same directory as SYMPACK"
DOWNLOAD_HINT = "Visit the WSJT-X SOurce Website for full download"
MESSAGE_PROMPT = "Message  "
NO_REPORT = "No Temp file created"
DESTINATION_PROMPT = "Destination file ( FST4.INC )   "
NO_LISTING = "The simulator's report holds no channel symbols: no include file written"
FOLDER_BUSY = "Another SYMPACK is running in this folder.  Wait for it to finish, then try again"
OLD_REPORT = "FST4TEMP.TXT from an earlier run cannot be removed.  Remove it, then try again"
REPORT_FOLDER_REFUSES = "FST4TEMP.TXT cannot be created: this folder cannot be written to"
CONTROL_CHARACTER = "The message holds a control character (CR, LF, tab...): nothing was run"
COMMAND_TOO_LONG = "The message is too long for the interpreter's 8191 characters: nothing was run"
NOT_IN_CODE_PAGE = "The message has a character the code page cannot hold: nothing was run"
DESTINATION_CONTROL_CHARACTER = "The destination holds a control character (tab...): nothing was written"
DESTINATION_NOT_IN_CODE_PAGE = "The destination's name has a character the code page cannot hold"
BAD_MESSAGE = "The simulator's report says the symbols carry no message: no include file written"
INTERRUPTED = "The run was interrupted: no include file written"
INSTALLED_SIMULATOR = "No FST4SIM.EXE in this folder: calls "


def wrong_symbol_count(count):
    return "The simulator's listing holds %d characters, not 160 symbols 0 to 3: no include file written" % count


def other_text(carried):
    return 'The symbols carry "%s", not the message as typed' % carried




def written_line(name):
    return "Symbols written to %s  and copied to Clipboard " % name


def not_written_line(name):
    return "Symbols not written to %s  but copied to Clipboard " % name


def run_output_line(name):
    """Why nothing goes to a file the run's own output is redirected into."""
    return "%s is where this run's output goes: send the output elsewhere" % name


REPORT_IS_OUTPUT = run_output_line("FST4TEMP.TXT")


def simulator_refused_line(name):
    """Why the include file never goes under the simulator's names."""
    return "%s is the simulator, or would run in its place: choose another name" % name


def report_refused_line(name):
    """Why the include file never goes under the report's name."""
    return "%s is the simulator's report, removed at the end: use another name" % name


# Why the system did not take the include file, after its name.
BAD_NAME = " holds * or ?, which no file name may: choose another name"
IS_FOLDER = " is a folder: name a file"
IS_READ_ONLY = " is read-only: it stays as it was"
NO_FOLDER = " is in a folder that does not exist"
NAME_TOO_LONG = " is a longer name than the system takes (it is never cut)"
NOBODY_READS = " is a pipe that nobody reads"
TIMED_OUT = " did not take the text within 3 seconds"
NO_SPACE = ": no space left on the disk; an earlier file stays as it was"
SIZE_LIMIT = ": over this process's file-size limit; an earlier file stays as it was"
RESERVED_NAME = " is a Windows device name, whatever its extension: choose another name"
HELD_OPEN = " is open for writing in another program: close it, then try again"


def interpreter_line(path, after):
    """Why the interpreter made no report (after NO_REPORT)."""
    return "The command interpreter %s%s" % (path, after)


INTERPRETER_NOT_FOUND = " was not found"
INTERPRETER_NOT_RUNNABLE = " cannot be run (not a program, or no permission)"
INTERPRETER_MADE_NO_REPORT = " ran, but made no FST4TEMP.TXT"
NO_INTERPRETER = "COMSPEC is not set: there is no command interpreter to run the simulator"


def simulator_failed(line, exit_code):
    """An outcome line when the simulator ended with a non-zero exit code."""
    return line + " (FST4SIM.EXE ended with exit code %d: the listing may be incomplete)" % exit_code


# Exactly as the tool writes them (the report's "Message: " is not the prompt).
OWN_TEXTS = [BANNER, SIMULATOR_LINE, SIMULATOR_MISSING, DOWNLOAD_HINT, MESSAGE_PROMPT,
             NO_REPORT, DESTINATION_PROMPT, NO_LISTING, FOLDER_BUSY, OLD_REPORT, REPORT_IS_OUTPUT,
             REPORT_FOLDER_REFUSES, CONTROL_CHARACTER, COMMAND_TOO_LONG, BAD_MESSAGE,
             NOT_IN_CODE_PAGE, DESTINATION_CONTROL_CHARACTER, DESTINATION_NOT_IN_CODE_PAGE,
             INSTALLED_SIMULATOR, INTERRUPTED,
             "Symbols written to", "Symbols not written to", "Clipboard"]

# Exit codes (src/run/exit_codes.h, README)
EXIT_OK = 0
EXIT_SIMULATOR_MISSING = 2
EXIT_NO_REPORT = 3
EXIT_NO_LISTING = 4
EXIT_NOT_WRITTEN = 5
EXIT_FOLDER_BUSY = 6
EXIT_OLD_REPORT_STAYS = 7
EXIT_SIMULATOR_FAILED = 8
EXIT_OTHER_TEXT = 9
EXIT_BAD_MESSAGE = 10
EXIT_WRONG_SYMBOL_COUNT = 11
EXIT_CONTROL_CHARACTER = 12
EXIT_COMMAND_TOO_LONG = 13
EXIT_KEYBOARD_LOST = 129

# ---- Colours -------------------------------------------------------------------------

# Console colour numbers (1 blue, 2 green, 4 red, 8 intensity) of the colours
# the tool uses.
DARK_YELLOW = 6
LIGHT_GREY = 7
DARK_GREY = 8
LIGHT_RED = 12
YELLOW = 14

_BASE_COLOURS = {"black": 0, "blue": 1, "green": 2, "cyan": 3, "red": 4, "magenta": 5,
                 "brown": 6, "white": 7, "default": 7}


def cell_colour(char):
    """The console colour number a screen cell shows: pyte gives the colour
    name of SGR 30-37 (or 39, default) and sets bold for the bright 90-97."""
    base = _BASE_COLOURS.get(char.fg)
    if base is None:
        return ("unknown", char.fg)
    if char.bold:
        if char.fg == "default":
            return ("bold default",)
        base |= 8
    return base


# ---- The pseudo-terminal run ------------------------------------------------------------


class _Screen(pyte.HistoryScreen):
    """A screen with scrollback that answers the cursor-position request
    through the pseudo-terminal, as a real terminal does."""

    def __init__(self, columns, lines, run):
        super().__init__(columns, lines, history=5000)
        self._run = run

    def write_process_input(self, data):
        self._run._answer(data)


OSC52 = re.compile(rb"\x1b\]52;([^;\x07\x1b]*);([^\x07\x1b]*)(?:\x07|\x1b\\)")


class TerminalRun:
    """One run of the tool in a pseudo-terminal of `columns` x `lines`.

    The parent keeps the slave side open too, so that output is never lost
    when the tool ends and the terminal's modes can be read after it.
    """

    def __init__(self, runner, workdir, args=(), env=None, columns=80, lines=25,
                 answer_cursor=True, type_ahead=None, before_start=b"",
                 keys_before_start=b"", stdout_path=None, stdin_path=None, command=None):
        self.runner = runner
        self.command = command  # what starts instead of the tool (a shell, say)
        self.workdir = workdir
        self.args = list(args)
        self.env = env if env is not None else runner.environment()
        self.columns = columns
        self.lines = lines
        self.answer_cursor = answer_cursor
        self.type_ahead = type_ahead  # typed when the first cursor request comes
        self.before_start = before_start  # written to the terminal before the start
        self.keys_before_start = keys_before_start  # typed before the start
        self.stdout_path = stdout_path
        self.stdin_path = stdin_path  # typed lines from a file, the terminal still there
        self.screen = _Screen(columns, lines, self)
        self.stream = pyte.ByteStream(self.screen)
        self.raw = bytearray()
        self.chunks = []  # (time, bytes)
        self.cursor_requests = 0
        self.pid = None
        self.exit_status = None
        self.exit_time = None
        self.modes_before = None

    # -- life --

    def start(self):
        self.master, self.slave = os.openpty()
        os.set_blocking(self.master, False)
        fcntl.ioctl(self.slave, termios.TIOCSWINSZ,
                    struct.pack("HHHH", self.lines, self.columns, 0, 0))
        if self.before_start:
            os.write(self.slave, self.before_start)
            self.pump(0.2)
        self.modes_before = termios.tcgetattr(self.slave)
        if self.keys_before_start:
            self.type(self.keys_before_start)
            self.pump(0.2)
        command = self.command or self.runner.tool_command(self.args)
        pid = os.fork()
        if pid == 0:  # the child: a new session whose controlling terminal is the slave
            try:
                os.setsid()
                fcntl.ioctl(self.slave, termios.TIOCSCTTY, 0)
                for fd in (0, 1, 2):
                    os.dup2(self.slave, fd)
                if self.stdout_path:
                    out = os.open(self.stdout_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
                    os.dup2(out, 1)
                    os.close(out)
                if self.stdin_path:
                    lines = os.open(self.stdin_path, os.O_RDONLY)
                    os.dup2(lines, 0)
                    os.close(lines)
                os.close(self.master)
                os.close(self.slave)
                os.chdir(self.workdir)
                os.execvpe(command[0], command, self.env)
            finally:
                os._exit(127)
        self.pid = pid
        self.start_time = time.monotonic()
        return self

    def close(self):
        """Ends the tool if it still runs, and closes the terminal."""
        if self.pid is not None and self.exit_status is None:
            # The tool leads its own process group (setsid): end it and
            # whatever it started.
            try:
                os.killpg(self.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            os.waitpid(self.pid, 0)
            self.exit_status = -1
        for fd in ("master", "slave"):
            if getattr(self, fd, None) is not None:
                os.close(getattr(self, fd))
                setattr(self, fd, None)

    # -- input and output --

    def _answer(self, data):
        # Called while output is being fed to the screen: writes without
        # reading (small writes, which the terminal's input queue takes).
        self.cursor_requests += 1
        if self.type_ahead is not None and self.cursor_requests == 1:
            self._write_direct(self.type_ahead)
        if self.answer_cursor:
            self._write_direct(data.encode("ascii"))

    def _write_direct(self, data):
        if isinstance(data, str):
            data = data.encode("utf-8")
        deadline = time.monotonic() + 5
        while data:
            try:
                data = data[os.write(self.master, data):]
            except BlockingIOError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.005)

    def type(self, keys, timeout=30.0):
        """Types keys: a str (sent as UTF-8) or bytes, as the terminal sends
        them. Output is read meanwhile, so that long input cannot block the
        tool on its echo."""
        if isinstance(keys, str):
            keys = keys.encode("utf-8")
        if hasattr(self.runner, "before_typing"):
            self.runner.before_typing(self)
        deadline = time.monotonic() + timeout
        while keys:
            if time.monotonic() > deadline:
                raise AssertionError("the tool took no more keys\n" + self.dump())
            readable, writable, _ = select.select([self.master], [self.master], [], 0.05)
            if readable:
                self.pump(0)
            if writable:
                try:
                    n = os.write(self.master, keys[:512])
                except BlockingIOError:
                    continue
                keys = keys[n:]

    def pump(self, timeout):
        """Reads what the tool printed within `timeout` seconds (less if it
        printed something); False when nothing came."""
        ready, _, _ = select.select([self.master], [], [], max(timeout, 0))
        if not ready:
            return False
        try:
            data = os.read(self.master, 65536)
        except BlockingIOError:
            return False
        except OSError as error:
            if error.errno == errno.EIO:
                return False
            raise
        self.raw += data
        self.chunks.append((time.monotonic(), data))
        self.stream.feed(data)
        return True

    def _poll_exit(self):
        if self.exit_status is None:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                self.exit_time = time.monotonic()
                self.exit_status = status
        return self.exit_status is not None

    def wait_for(self, predicate, timeout=10.0, what="a condition"):
        """Pumps output until predicate() holds; returns the time it did."""
        deadline = time.monotonic() + timeout
        while True:
            if predicate():
                return time.monotonic()
            if self._poll_exit():
                while self.pump(0.05):
                    pass
                if predicate():
                    return time.monotonic()
                raise AssertionError("the tool ended (%s) before %s\n%s"
                                     % (self.exit_description(), what, self.dump()))
            if time.monotonic() > deadline:
                raise AssertionError("timed out after %.1f s waiting for %s\n%s"
                                     % (timeout, what, self.dump()))
            self.pump(0.02)

    def wait_for_text(self, text, timeout=10.0):
        return self.wait_for(lambda: any(text in line for line in self.transcript()),
                             timeout, "the text %r" % text)

    def wait_for_prompt(self, prompt, timeout=10.0):
        """Waits until the cursor stands right after `prompt` (trailing blanks
        included) on its row."""
        def at_prompt():
            y, x = self.screen.cursor.y, self.screen.cursor.x
            return self.row_text(y, strip=False)[:x].endswith(prompt)
        return self.wait_for(at_prompt, timeout, "the prompt %r" % prompt)

    def wait_exit(self, timeout=20.0):
        """Waits for the tool to end; its exit code (negative: killed by that
        signal)."""
        deadline = time.monotonic() + timeout
        while not self._poll_exit():
            if time.monotonic() > deadline:
                raise AssertionError("the tool did not end within %.1f s\n%s" % (timeout, self.dump()))
            self.pump(0.02)
        while self.pump(0.1):
            pass
        return self.exit_code()

    def exit_code(self):
        status = self.exit_status
        if os.WIFEXITED(status):
            return os.WEXITSTATUS(status)
        if os.WIFSIGNALED(status):
            return -os.WTERMSIG(status)
        return None

    def exit_description(self):
        code = self.exit_code()
        return "killed by signal %d" % -code if code is not None and code < 0 else "exit code %s" % code

    def modes_now(self):
        return termios.tcgetattr(self.slave)

    # -- reading the screen --

    def _rows(self):
        """Every row so far: the scrolled-off ones, then the visible screen."""
        rows = list(self.screen.history.top)
        rows += [self.screen.buffer[y] for y in range(self.lines)]
        return rows

    def _row_cells(self, row):
        return [row[x] for x in range(self.columns)]

    def transcript(self):
        """The text of every row so far, trailing blanks removed."""
        return ["".join(row[x].data for x in range(self.columns)).rstrip(" ") for row in self._rows()]

    def transcript_cells(self):
        return [self._row_cells(row) for row in self._rows()]

    def row_text(self, y, strip=True):
        """The text of visible row y."""
        text = "".join(self.screen.buffer[y][x].data for x in range(self.columns))
        return text.rstrip(" ") if strip else text

    def row_colours(self, y):
        return [cell_colour(self.screen.buffer[y][x]) for x in range(self.columns)]

    def cell(self, x, y):
        return self.screen.buffer[y][x]

    def cursor(self):
        return self.screen.cursor.x, self.screen.cursor.y

    def display(self):
        return [self.row_text(y) for y in range(self.lines)]

    def clipboard_texts(self):
        """The texts placed on the clipboard with OSC 52, decoded (or, where
        the runner reads a clipboard of its own, what it found there)."""
        if hasattr(self.runner, "clipboard_texts"):
            return self.runner.clipboard_texts()
        return [base64.b64decode(m.group(2)) for m in OSC52.finditer(bytes(self.raw))]

    def first_time_of(self, needle):
        """When the raw output first held `needle`."""
        seen = bytearray()
        for when, data in self.chunks:
            seen += data
            if needle in seen:
                return when
        return None

    def dump(self):
        lines = ["---- transcript (%d rows, cursor %s) ----" % (len(self._rows()), self.cursor())]
        for index, cells in enumerate(self.transcript_cells()):
            text = "".join(c.data for c in cells).rstrip(" ")
            colours = sorted({cell_colour(c) for c in cells if c.data != " "}, key=str)
            lines.append("%3d |%s|  %s" % (index, text, colours if text else ""))
        tail = bytes(self.raw[-600:])
        lines.append("---- last raw output bytes ----")
        lines.append(repr(tail))
        return "\n".join(lines)


# ---- The test case base --------------------------------------------------------------------


class E2ETestCase(unittest.TestCase):
    """Each test gets its own working folder and runner."""

    maxDiff = None

    def setUp(self):
        self.runner = make_runner()
        self.work = tempfile.mkdtemp(prefix="sympack-e2e-")
        self.addCleanup(self._remove_folder, self.work)

    @staticmethod
    def _remove_folder(folder):
        for root, dirs, files in os.walk(folder):
            for name in dirs + files:
                path = os.path.join(root, name)
                if os.path.islink(path):
                    continue  # a link has no modes of its own on Linux
                try:
                    os.chmod(path, 0o755)
                except OSError:
                    pass
        shutil.rmtree(folder, ignore_errors=True)

    def other_folder(self):
        folder = tempfile.mkdtemp(prefix="sympack-e2e-aside-")
        self.addCleanup(self._remove_folder, folder)
        return folder

    def install(self, fake="fake_good_report", as_name="FST4SIM.EXE"):
        return self.runner.install_simulator(fake, self.work, as_name)

    def environment(self, **overrides):
        return self.runner.environment(overrides)

    def start(self, args=(), env=None, **options):
        run = TerminalRun(self.runner, self.work, args=args,
                          env=env if env is not None else self.runner.environment(), **options)
        self.addCleanup(run.close)
        return run.start()

    def path(self, name):
        return os.path.join(self.work, name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def write(self, name, data, mode=None):
        if mode is not None and mode & 0o111:
            write_program(self.path(name), data, mode)
            return
        with open(self.path(name), "wb") as f:
            f.write(data)
        if mode is not None:
            os.chmod(self.path(name), mode)

    def files(self, folder=None):
        return sorted(os.listdir(folder or self.work))

    # -- common roads --

    def run_scripted(self, args=(), typed=b"", env=None, folder=None, timeout=60):
        """The tool as a script starts it: no terminal at all (a new session),
        standard input read from a file holding `typed`, standard output and
        standard error into files. (Under Wine the program then has no
        console.) A CompletedProcess with stdout and stderr as bytes, and
        `took`, the seconds the run took."""
        aside = self.other_folder()
        paths = {name: os.path.join(aside, name) for name in ("in", "out", "err")}
        with open(paths["in"], "wb") as f:
            f.write(typed)
        began = time.monotonic()
        with open(paths["in"], "rb") as stdin, open(paths["out"], "wb") as stdout, \
                open(paths["err"], "wb") as stderr:
            result = subprocess.run(self.runner.tool_command(args), stdin=stdin, stdout=stdout,
                                    stderr=stderr, cwd=folder or self.work,
                                    env=env if env is not None else self.runner.environment(),
                                    timeout=timeout, start_new_session=True)
        result.took = time.monotonic() - began
        with open(paths["out"], "rb") as f:
            result.stdout = f.read()
        with open(paths["err"], "rb") as f:
            result.stderr = f.read()
        return result

    def each_at_once(self, cases, check, label="case"):
        """check(case) for every case, side by side (up to the runner's
        runs_at_once), then each case's outcome reported as its own subtest,
        labelled `label`. A check must keep to its own folder and files."""
        def outcome(case):
            try:
                check(case)
            except BaseException as error:  # reported below, in the case's subtest
                return error
            return None

        cases = list(cases)
        workers = max(1, min(len(cases), self.runner.runs_at_once))
        with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
            outcomes = list(pool.map(outcome, cases))
        for case, error in zip(cases, outcomes):
            with self.subTest(**{label: case}):
                if error is not None:
                    raise error

    def own_lines(self, *texts):
        """The tool's own lines as its plain transcript writes them."""
        return b"".join(text.encode("ascii") + self.runner.transcript_line_end for text in texts)

    def shown(self, data):
        """A file's CR LF lines as the plain transcript shows them: ended as
        the system ends lines, like the tool's own."""
        return data.replace(b"\r\n", self.runner.transcript_line_end)

    def record_arguments(self):
        """An environment for fake_record_args and the file it records into
        (in a folder of its own, so the working folder holds only the run's
        files)."""
        record = os.path.join(self.other_folder(), "argv.txt")
        return record, {"FAKE_ARGV_FILE": record}

    @staticmethod
    def recorded(record):
        with open(record, "rb") as f:
            data = f.read()
        assert data.endswith(b"\n") or data == b"", data
        return data.split(b"\n")[:-1]

    def answer_prompts(self, run, message=None, destination=""):
        """Types the message (when the run asks for one) and the destination
        answer, each when its prompt shows; destination None: the run must
        end without asking for one (a report that rules out any include
        file)."""
        if message is not None:
            run.wait_for_prompt(MESSAGE_PROMPT)
            run.type(message + "\r")
        if destination is None:
            return
        run.wait_for_prompt(DESTINATION_PROMPT, timeout=15)
        run.type(destination + "\r")

    def full_run(self, args=(), message=None, destination="", env=None, **options):
        """One run from start to end; the finished run. With destination None
        the run must end without asking for one."""
        run = self.start(args=args, env=env, **options)
        self.answer_prompts(run, message, destination)
        run.wait_exit(timeout=30)
        if destination is None:
            self.assertFalse(any(row.startswith(DESTINATION_PROMPT.rstrip()) for row in run.transcript()),
                             "nothing asked when nothing can be written\n" + run.dump())
        return run

    # -- assertions on the screen --

    def exact_screen(self):
        """Whether the terminal shows the tool's own output, so that rows,
        colours, blanks and the cursor can be checked cell by cell. A runner
        whose terminal shows another program's drawing of the screen (Wine's
        console) names the reason in `screen_is_redrawn`; the exact checks are
        then reported as a skipped subtest and the test goes on."""
        reason = getattr(self.runner, "screen_is_redrawn", None)
        if not reason:
            return True
        with self.subTest(check="exact screen"):
            self.skipTest(reason)
        return False

    def assert_row(self, run, cells, text, colour, what=""):
        """A row holds exactly `text` (trailing blanks of it included, as far
        as colours show them) in `colour`, and nothing after it."""
        if not self.exact_screen():
            return
        shown = "".join(c.data for c in cells)
        self.assertEqual(shown.rstrip(" "), text.rstrip(" "),
                         "row text %s\n%s" % (what, run.dump()))
        for x, char in enumerate(text):
            if char != " " or colour != LIGHT_GREY:
                self.assertEqual(cell_colour(cells[x]), colour,
                                 "colour of column %d (%r) %s\n%s" % (x, char, what, run.dump()))
        if colour != LIGHT_GREY and len(text) < len(cells):
            # A blank written in the colour shows; the cell after the text was not written.
            self.assertEqual(cell_colour(cells[len(text)]), LIGHT_GREY,
                             "the cell after %r is not blank in the default colours %s\n%s"
                             % (text, what, run.dump()))
        for x, char in enumerate(cells):
            self.assertEqual(char.bg, "default", "background of column %d %s" % (x, what))

    def assert_transcript(self, run, expected, start=0):
        """Rows from `start` on: `expected` is a list of (text, colour); the
        transcript must hold exactly these rows (and then only blank rows up to
        the cursor's row)."""
        if not self.exact_screen():
            return
        cells = run.transcript_cells()
        for index, (text, colour) in enumerate(expected):
            self.assertLess(start + index, len(cells), "missing row %d: %r\n%s"
                            % (start + index, text, run.dump()))
            self.assert_row(run, cells[start + index], text, colour, "in row %d" % (start + index))

    def assert_default_colours_at_end(self, run):
        if not self.exact_screen():
            return
        attrs = run.screen.cursor.attrs
        self.assertEqual((attrs.fg, attrs.bg, attrs.bold), ("default", "default", False),
                         "the terminal is not left in its default colours")


def wrap_rows(text, columns=80):
    """How a line of text shows on a screen `columns` wide: cut into rows."""
    if not text:
        return [""]
    return [text[i:i + columns] for i in range(0, len(text), columns)]
