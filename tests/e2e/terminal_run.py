"""One run of the tool in a pseudo-terminal: starts it, types keys, answers
the terminal's requests, waits for screen text and the exit."""

import errno
import fcntl
import os
import select
import signal
import struct
import termios
import time

import pyte

from screen_reading import ScreenReading, AnsweringScreen


class TerminalRun(ScreenReading):
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
        self.screen = AnsweringScreen(columns, lines, self)
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
