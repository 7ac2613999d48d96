"""Odd destination names: each written exactly, or refused with its reason,
nothing else touched. (Wildcards, missing folders, devices and read-only files
are test_outcomes'.)"""

import os
import resource
import subprocess
import time

from harness import (DESTINATION_PROMPT, EXIT_NOT_WRITTEN, EXIT_OK, not_written_line, HELD_OPEN, IS_FOLDER,
                     NAME_TOO_LONG, NOBODY_READS, SIZE_LIMIT, TIMED_OUT, written_line, write_program)
from bad_input import GOOD_INCLUDE, BadInputCase


class DestinationNames(BadInputCase):

    def finish(self, destination):
        self.install()
        run = self.start(args=["cq k1abc fn42"])
        run.wait_for_prompt(DESTINATION_PROMPT, timeout=30)
        run.type(destination + "\r")
        run.wait_exit(timeout=60)
        return run

    def test_quoted_name_with_blanks_is_written(self):
        run = self.finish('"my beacon.inc", ignored')
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.read("my beacon.inc"), GOOD_INCLUDE)
        self.assertIn(written_line("my beacon.inc").rstrip(), run.transcript())
        self.assertEqual(self.files(), ["FST4SIM.EXE", "my beacon.inc"])

    def test_a_name_longer_than_the_system_takes_is_refused_not_cut(self):
        name = "n" * 300 + ".inc"
        run = self.finish(name)
        self.assertEqual(run.exit_code(), EXIT_NOT_WRITTEN, run.dump())
        self.assertIn(name + NAME_TOO_LONG, "".join(run.transcript()))
        self.assertIn(not_written_line(name).rstrip(), "".join(run.transcript()))
        self.assertEqual(self.files(), ["FST4SIM.EXE"], "nothing written, under no name")

    def test_a_pipe_without_a_reader_is_not_waited_on(self):
        self.needs_posix("a FIFO")
        os.mkfifo(self.path("pipe.inc"))
        run = self.finish("pipe.inc")
        self.assertEqual(run.exit_code(), EXIT_NOT_WRITTEN, run.dump())
        self.assertIn("pipe.inc" + NOBODY_READS, run.transcript())
        self.assertIn(not_written_line("pipe.inc").rstrip(), run.transcript())
        self.assertEqual(self.files(), ["FST4SIM.EXE", "pipe.inc"])

    def test_a_pipe_whose_reader_never_reads_is_given_up(self):
        """A reader holds the FIFO open and never reads, and the pipe is
        full: the write gives up after its few seconds, says so on standard
        error, and the run ends."""
        self.needs_posix("a FIFO")
        self.install()
        os.mkfifo(self.path("pipe.inc"))
        reader = os.open(self.path("pipe.inc"), os.O_RDONLY | os.O_NONBLOCK)
        self.addCleanup(os.close, reader)
        filler = os.open(self.path("pipe.inc"), os.O_WRONLY | os.O_NONBLOCK)
        self.addCleanup(os.close, filler)
        try:
            while True:
                os.write(filler, b"x" * 4096)
        except BlockingIOError:
            pass
        result = self.run_scripted(args=["cq k1abc fn42"], typed=b"pipe.inc\n", timeout=30)
        self.assertEqual(result.returncode, EXIT_NOT_WRITTEN, result)
        self.assertIn(self.own_lines("pipe.inc" + TIMED_OUT), result.stderr)
        # The limit (3 s), the closing pause (2 s) and the run itself.
        self.assertLess(result.took, 9, "the write waited past its limit")
        self.assertEqual(self.files(), ["FST4SIM.EXE", "pipe.inc"])

    def test_a_backslash_is_part_of_a_linux_name(self):
        """`..\\beacon.inc` is a file of that name in the current folder: the
        parent folder's beacon.inc is never touched."""
        self.needs_posix("a backslash in a file name")
        folder = self.path("sub")
        os.mkdir(folder)
        self.runner.install_simulator("fake_good_report", folder)
        self.write("beacon.inc", b"the parent's own\r\n")
        result = self.run_scripted(args=["cq k1abc fn42"], typed=b"..\\beacon.inc\n", folder=folder)
        self.assertEqual(result.returncode, EXIT_OK, result)
        with open(os.path.join(folder, "..\\beacon.inc"), "rb") as f:
            self.assertEqual(f.read(), GOOD_INCLUDE)
        self.assertIn(self.shown(GOOD_INCLUDE), result.stdout, "TYPE shows the same file")
        self.assertEqual(self.read("beacon.inc"), b"the parent's own\r\n")
        self.assertEqual(self.files(folder), ["..\\beacon.inc", "FST4SIM.EXE"])

    def test_a_viewer_never_blocks_the_write_and_a_writer_does(self):
        """`sleep 30 < FST4.INC` (a viewer) keeps the old text it has open
        and the name gets the new one; `sleep 30 >> FST4.INC` (a program
        writing it) keeps the file from being replaced, and the run says why."""
        self.needs_posix("leases")
        self.install()
        self.write("FST4.INC", b"old text\r\n")
        for redirect, code in (("<", EXIT_OK), (">>", EXIT_NOT_WRITTEN)):
            with self.subTest(holder=redirect):
                holder = subprocess.Popen(["sh", "-c", "exec sleep 30 %s FST4.INC" % redirect], cwd=self.work)
                self.addCleanup(holder.wait)
                self.addCleanup(holder.kill)
                time.sleep(0.3)
                result = self.run_scripted(args=["cq k1abc fn42"])
                holder.kill()
                self.assertEqual(result.returncode, code, result)
                if code == EXIT_OK:
                    self.assertEqual(self.read("FST4.INC"), GOOD_INCLUDE)
                    self.write("FST4.INC", b"old text\r\n")
                else:
                    self.assertEqual(self.read("FST4.INC"), b"old text\r\n")
                    self.assertIn(self.own_lines("FST4.INC" + HELD_OPEN), result.stderr)
                self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])

    def test_a_write_cut_short_leaves_the_earlier_file_byte_for_byte(self):
        """A file-size limit smaller than the include file (as a full disk
        would) stops the write half-way: the earlier FST4.INC keeps every
        byte and its permissions, nothing half-written is left, and the
        reason is on standard error. The interpreter lifts the limit for
        itself, so that the report can be made."""
        self.needs_posix("a file-size limit")
        self.install()
        earlier = b"; the user's earlier symbols\r\n" * 3
        self.write("FST4.INC", earlier, mode=0o640)
        interpreter = os.path.join(self.other_folder(), "unlimited-cmd")
        write_program(interpreter, ('#!/bin/sh\nulimit -f unlimited\nexec "%s" "$@"\n'
                                    % self.runner.interpreter_program()).encode())
        limit = len(GOOD_INCLUDE) // 2

        def limited():
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, resource.RLIM_INFINITY))

        result = subprocess.run(self.runner.tool_command(["cq k1abc fn42"]), stdin=subprocess.DEVNULL,
                                capture_output=True, cwd=self.work, timeout=60, start_new_session=True,
                                env=self.environment(COMSPEC=interpreter), preexec_fn=limited)
        self.assertEqual(result.returncode, EXIT_NOT_WRITTEN, result)
        self.assertEqual(self.read("FST4.INC"), earlier)
        self.assertEqual(os.stat(self.path("FST4.INC")).st_mode & 0o7777, 0o640)
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])
        self.assertTrue(result.stderr.startswith(self.own_lines("FST4.INC" + SIZE_LIMIT)), result.stderr)

    def test_a_folder_is_not_written(self):
        os.mkdir(self.path("beacon"))
        run = self.finish("beacon")
        self.assertEqual(run.exit_code(), EXIT_NOT_WRITTEN, run.dump())
        self.assertIn("beacon" + IS_FOLDER, run.transcript())
        self.assertIn(not_written_line("beacon").rstrip(), run.transcript())
        self.assertEqual(os.listdir(self.path("beacon")), [], "the folder is left as it was")
        self.assertEqual(self.files(), ["FST4SIM.EXE", "beacon"])
