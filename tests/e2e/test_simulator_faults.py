"""Reports of garbage or one huge line, a one-cell terminal, simulators that
are not executable, fail or die part way: a clear exit code, nothing lost, no
hang, no crash."""

import os
import random
import re
import shutil
import subprocess
import tempfile

import fake_data
import golden
from harness import (DESTINATION_PROMPT, EXIT_NO_LISTING, EXIT_NO_REPORT, EXIT_OK, EXIT_SIMULATOR_FAILED,
                     EXIT_WRONG_SYMBOL_COUNT, NO_LISTING, NO_REPORT, REPORT_FOLDER_REFUSES, copy_program,
                     simulator_failed, written_line, wrong_symbol_count)
from bad_input import (GOOD_INCLUDE, HUGE_LINE_BYTES, GARBAGE_SEED, GARBAGE_BYTES, SLOW_RUN_SECONDS,
                       script_simulator, BadInputCase)


class BadReports(BadInputCase):
    """Reports the simulator should never print. Run without a terminal: the
    report is shown by the interpreter, and garbage on a terminal would only
    disturb the screen the harness reads."""

    def setUp(self):
        super().setUp()
        self.needs_posix("a shell-script simulator")

    def test_binary_garbage_without_a_header_writes_nothing(self):
        garbage = bytes(random.Random(GARBAGE_SEED).randrange(256) for _ in range(GARBAGE_BYTES))
        garbage = garbage.replace(b"hannel symbols", b"")
        script_simulator(self.work, self.report_aside(garbage))
        result = self.run_without_terminal(["cq k1abc fn42"])
        self.assertEqual(result.returncode, EXIT_NO_LISTING)
        self.assertEqual(self.files(), ["FST4SIM.EXE"], "no include file, the report removed")

    def test_listing_inside_garbage_is_read_by_the_rules(self):
        """A header amid random bytes: the listing is whatever the line rules
        collect after it; not being one transmission, it is refused, and the
        light red line gives the count the rules read."""
        noise = random.Random(GARBAGE_SEED + 1)
        before = bytes(noise.randrange(256) for _ in range(GARBAGE_BYTES))
        after = bytes(noise.randrange(256) for _ in range(GARBAGE_BYTES))
        before = before.replace(b"hannel", b"").replace(b"\x1a", b"")  # byte 26 would end it early
        printed = before + b"\r\nChannel symbols:\r\n" + after
        script_simulator(self.work, self.report_aside(printed))
        result = self.run_without_terminal(["cq k1abc fn42"])
        with open(result.output_path, "rb") as f:
            output = f.read()
        key = "garbage seed %d, %d bytes each side" % (GARBAGE_SEED + 1, GARBAGE_BYTES)
        if golden.WRITING:
            said = re.search(rb"listing holds (\d+) characters", output)
            golden.record(golden.LISTING_COUNTS, key, int(said.group(1)) if said else None)
        count = golden.lookup(golden.LISTING_COUNTS, key)
        self.assertGreater(count, 100, "the seed gives a listing worth checking")
        self.assertEqual(result.returncode, EXIT_WRONG_SYMBOL_COUNT)
        self.assertIn(self.own_lines(wrong_symbol_count(count)), output)
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_single_100_mib_line_ends_with_no_listing(self):
        report = self.report_aside(b"")
        with open(report, "wb") as f:
            f.truncate(HUGE_LINE_BYTES)  # zero bytes: one line, no header
        script_simulator(self.work, report)
        result = self.run_without_terminal(["cq k1abc fn42"], timeout=SLOW_RUN_SECONDS)
        self.assertEqual(result.returncode, EXIT_NO_LISTING)
        self.assertEqual(self.files(), ["FST4SIM.EXE"])


class OneCellTerminal(BadInputCase):

    def test_terminal_one_column_wide_and_one_row_high(self):
        """Every text wraps and scrolls cell by cell; the run completes and
        the include file and clipboard are exact."""
        lost = getattr(self.runner, "keys_typed_ahead_lost", None)
        if lost:
            self.skipTest(lost + " (the Enter here is typed before the start)")
        self.install()
        run = self.start(args=["cq k1abc fn42"], columns=1, lines=1, keys_before_start=b"\r")
        self.assertEqual(run.wait_exit(timeout=60), EXIT_OK, run.dump())
        self.assertEqual(self.read("FST4.INC"), GOOD_INCLUDE)
        self.assertEqual(run.clipboard_texts(), [GOOD_INCLUDE[:-2]])


class SimulatorFaults(BadInputCase):

    def setUp(self):
        super().setUp()
        self.needs_posix("file modes and shell scripts")

    def full(self, asked=True):
        """A run with the message on the command line, Enter at the
        destination prompt; asked False: the run must end without one."""
        run = self.start(args=["cq k1abc fn42"])
        if asked:
            run.wait_for_prompt(DESTINATION_PROMPT, timeout=30)
            run.type("\r")
        run.wait_exit(timeout=60)
        if not asked:
            self.assertNotIn(DESTINATION_PROMPT.rstrip(), "\n".join(run.transcript()), "nothing asked")
        return run

    def test_simulator_that_is_not_executable(self):
        """Present but not a program: the interpreter complains, the report
        is empty, the run says so and writes nothing."""
        self.write("FST4SIM.EXE", b"not a program\n", mode=0o644)
        run = self.full(asked=False)
        self.assertEqual(run.exit_code(), EXIT_NO_LISTING, run.dump())
        self.assertTrue(any(NO_LISTING in row for row in run.transcript()), run.dump())
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_a_folder_that_cannot_be_written_is_named_as_the_reason(self):
        """No report can be made where the user may not write: after "No
        Temp file created" a light red line says why, on standard error
        too. Root writes every folder, so root runs the tool as nobody."""
        self.install()
        os.chmod(self.work, 0o755)
        as_user = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] if os.geteuid() == 0 else []
        command = self.runner.tool_command(["cq"])
        if as_user:
            # The build tree may sit in a folder only root may enter (a clone
            # in mktemp's folder): nobody then runs copies of the tool and its
            # interpreter from a folder anyone may read, so that the folder
            # is the one thing nobody may not do.
            programs = tempfile.mkdtemp()
            self.addCleanup(shutil.rmtree, programs)
            os.chmod(programs, 0o755)
            for name in ("sympack", "sympack-cmd"):
                copy_program(os.path.join(self.runner.bin_dir, name), programs)
            command = [os.path.join(programs, "sympack"), "cq"]
        else:
            os.chmod(self.work, 0o555)
        result = subprocess.run(as_user + command, stdin=subprocess.DEVNULL,
                                capture_output=True, cwd=self.work, env=self.runner.environment(),
                                timeout=60, start_new_session=True)
        self.assertEqual(result.returncode, EXIT_NO_REPORT, result)
        self.assertTrue(result.stdout.endswith(("%s\n%s\n" % (NO_REPORT, REPORT_FOLDER_REFUSES)).encode()),
                        result.stdout)
        self.assertTrue(result.stderr.endswith((REPORT_FOLDER_REFUSES + "\n").encode()), result.stderr)
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_simulator_exit_code_is_reported_even_after_a_whole_listing(self):
        script_simulator(self.work, self.report_aside(fake_data.GOOD_REPORT), "exit 3")
        run = self.full()
        self.assertEqual(run.exit_code(), EXIT_SIMULATOR_FAILED, run.dump())
        self.assertEqual(self.read("FST4.INC"), GOOD_INCLUDE)
        self.assertIn(simulator_failed(written_line("FST4.INC"), 3), "".join(run.transcript()))

    def test_simulator_killed_part_way_through_its_listing(self):
        """The report ends inside the listing: the lines printed so far are
        the listing, nothing more is invented, and so no include file."""
        cut = fake_data.GOOD_REPORT.index(b"1023321132")
        script_simulator(self.work, self.report_aside(fake_data.GOOD_REPORT[:cut]), "kill -KILL $$")
        run = self.full(asked=False)
        lines = fake_data.GOOD_REPORT_LINES
        self.assertEqual(lines.index(b"1023321132") - lines.index(fake_data.LISTING_HEADER + b": ") - 1, 8,
                         "eight listing lines of ten symbols before the cut")
        self.assertEqual(run.exit_code(), EXIT_WRONG_SYMBOL_COUNT, run.dump())
        self.assertIn(wrong_symbol_count(80)[:80].rstrip(), run.transcript())
        self.assertNotIn("FST4.INC", self.files())
