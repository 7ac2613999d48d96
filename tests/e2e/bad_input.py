"""What the bad-input tests share: the good message and its include file,
the byte chunks and limits they use, Windows-1252 conversions, a simulator
that prints a given report, and BadInputCase (runs without a terminal)."""

import os
import subprocess

import golden
from harness import E2ETestCase, write_program


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
