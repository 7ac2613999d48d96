"""The test case base of the end-to-end tests: a working folder and a
runner for each test, runs side by side, and assertions on the screen."""

import concurrent.futures
import os
import shutil
import subprocess
import tempfile
import time
import unittest

from programs import write_program
from runners import make_runner
from screen_reading import LIGHT_GREY, cell_colour
from terminal_run import TerminalRun
from tool_texts import DESTINATION_PROMPT, MESSAGE_PROMPT


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
