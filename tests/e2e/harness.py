"""End-to-end harness: runs the built sympack in a pseudo-terminal, feeds
everything it prints to a terminal emulator (pyte) and reads the screen's
characters and colours back. The tests import everything from here; it lives
in modules by concept:

    programs.py        programs the tests put in place (copy_program, write_program)
    runners.py         how the tool is started (PosixRunner, RUNNERS, make_runner)
    tool_texts.py      the tool's own texts and exit codes
    screen_reading.py  colours, the screen's cells, rows and clipboard texts
    terminal_run.py    TerminalRun, one run in a pseudo-terminal
    e2e_case.py        E2ETestCase, the test case base
"""

from programs import *  # noqa: F401,F403
from runners import *  # noqa: F401,F403
from tool_texts import *  # noqa: F401,F403
from screen_reading import *  # noqa: F401,F403
from terminal_run import *  # noqa: F401,F403
from e2e_case import *  # noqa: F401,F403
