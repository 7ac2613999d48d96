"""The help and version words, and a quoted tail with the blank a
redirection leaves."""

import os
import subprocess

import golden
from harness import BANNER, EXIT_OTHER_TEXT, EXIT_NOT_WRITTEN, EXIT_OK, E2ETestCase


USAGE = r"Usage: sympack \[--fst4w\] \[message\]"
VERSION = r"^sympack \d+\.\d+\.\d+$"


class UsageAndVersion(E2ETestCase):

    def test_help_and_version_words_touch_nothing_and_anything_else_is_a_message(self):
        """Typed as Windows and Linux users type them, with the blank cmd.exe
        leaves before a redirection: usage or the version, exit 0, and the
        user's FST4.INC and clipboard as they were."""
        self.install()
        with open(self.path("FST4.INC"), "wb") as f:
            f.write(b"mine")
        answers = {"--help ": USAGE, "/?": USAGE, "-h": USAGE, "-?\t": USAGE, "/HELP": USAGE,
                   "--version": VERSION, "/version ": VERSION, "-V": VERSION}
        for request, expected in answers.items():
            with self.subTest(request=request):
                run = self.start(args=[request])
                self.assertEqual(run.wait_exit(), EXIT_OK, run.dump())
                self.assertRegex("\n".join(run.transcript()), "(?m)" + expected)
                self.assertNotIn(BANNER.strip(), run.transcript())
                self.assertEqual(run.clipboard_texts(), [])
        for request in ("--help ", "/?"):  # standard output redirected, no input at all
            result = self.run_scripted([request])
            self.assertEqual(result.returncode, EXIT_OK, result)
            self.assertRegex(result.stdout.decode(), "(?m)" + USAGE)
            self.assertIn(b"\n  11  the listing does not hold exactly 160 symbols", result.stdout.replace(b"\r", b""))
        if self.runner.posix_system:  # an output that takes nothing: exit 5, and why
            result = subprocess.run(self.runner.tool_command(["--help"]), stdout=open("/dev/full", "wb"),
                                    stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, cwd=self.work,
                                    env=self.environment(), timeout=30)
            self.assertEqual(result.returncode, EXIT_NOT_WRITTEN, result)
            self.assertEqual(result.stderr, b"sympack: standard output did not take the whole text\n")
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"], "no run, no file")
        self.assertEqual(self.read("FST4.INC"), b"mine")
        # Anything else is a message, as ever: the run goes on to write it.
        for args in (["--help x"], ["--version", "x"], ["-hh"]):
            run = self.full_run(args=args)
            self.assertIn(run.exit_code(), (EXIT_OK, EXIT_OTHER_TEXT), run.dump())
            self.assertNotEqual(self.read("FST4.INC"), b"mine", args)
            os.remove(self.path("FST4.INC"))

    def test_a_quoted_tail_with_a_blank_before_a_redirection_is_the_message(self):
        """SYMPACK "cq k1abc fn42" > log.txt: cmd.exe keeps the blank before
        the redirection in the tail; the quotes still go."""
        self.install("fake_record_args")
        record, env = self.record_arguments()
        result = self.run_scripted(['"cq k1abc fn42"  '], env=self.environment(**env))
        self.assertEqual(result.returncode, EXIT_OK, result)
        self.assertEqual(self.recorded(record)[0], b"CQ K1ABC FN42")
        self.assertEqual(self.read("FST4.INC"),
                         golden.INCLUDE_FILE)
