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

The checks live in modules by what they check (ctest names each group: the
classes below): wine_run_tests.py (the road of one run), wine_system_tests.py
(the code page, the command tail, the interpreter, the simulator program, the
clipboard), on wine_console.py (the console dump, the run, the test case base).

    python3 wine_e2e.py FullRun [CodePage ...]
"""

import sys
import unittest

from wine_console import WineTestCase  # noqa: F401  (first: it puts tests/e2e on the path)
from wine_run_tests import FullRun, MissingSimulator, SmallConsole, TypedInput  # noqa: F401
from wine_system_tests import Clipboard, CodePage, CommandTail, Interpreter, SimulatorProgram  # noqa: F401

if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]] + sys.argv[1:], verbosity=2)
