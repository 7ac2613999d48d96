"""How the simulator is found and the interpreter started: no file without an
executable extension runs, the tool installed in a folder of any script, a
"comspec" path with a blank, the registry's DelayedExpansion and AutoRun as
sympack-cmd models them, a message with a control character, a link planted
as the report, and our interpreter taking what cmd.exe takes."""

import os
import subprocess

import golden
from harness import (CONTROL_CHARACTER, EXIT_CONTROL_CHARACTER, EXIT_OK, E2ETestCase, PosixRunner,
                     TerminalRun, copy_program)


class ProgramLookup(E2ETestCase):

    def test_a_file_without_an_executable_extension_is_never_run(self):
        if not self.runner.posix_system:
            self.skipTest("a shell script stands in for the file")
        self.install()
        marker = os.path.join(self.other_folder(), "ran")
        for name in ("fst4sim", "FST4SIM", "Fst4Sim.txt"):
            self.write(name, ('#!/bin/sh\ntouch "%s"\n' % marker).encode("ascii"), mode=0o755)
        run = self.full_run(args=["cq k1abc fn42"])
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertFalse(os.path.exists(marker), "a file without an executable extension ran")
        self.assertEqual(self.read("FST4.INC"), golden.INCLUDE_FILE)

    def test_the_tool_installed_in_a_folder_of_any_script(self):
        if not self.runner.posix_system:
            self.skipTest("the POSIX build finds its interpreter beside itself")
        folder = os.path.join(self.other_folder(), "\u043f\u0430\u043f\u043a\u0430 \u00e9")
        os.mkdir(folder)
        for program in ("sympack", "sympack-cmd"):
            copy_program(os.path.join(self.runner.bin_dir, program), folder)
        runner = PosixRunner(folder)
        runner.fakes_dir = self.runner.fakes_dir
        self.install()
        run = TerminalRun(runner, self.work, args=["cq k1abc fn42"], env=self.environment())
        self.addCleanup(run.close)
        run.start()
        self.answer_prompts(run)
        self.assertEqual(run.wait_exit(), EXIT_OK, run.dump())
        self.assertEqual(self.read("FST4.INC"), golden.INCLUDE_FILE)


class InterpreterStart(E2ETestCase):
    """How the interpreter is started, and what it is never handed."""

    def test_a_comspec_path_with_a_blank(self):
        """Quoted, the path is one token: a program named by the part before
        the blank (which CreateProcess tries first for an unquoted path)
        never runs."""
        aside = self.other_folder()
        folder = os.path.join(aside, "my tools")
        os.mkdir(folder)
        interpreter = copy_program(self.runner.interpreter_program(), folder)
        record, env = self.record_arguments()
        decoy = os.path.join(aside, self.runner.program_name("my"))
        copy_program(self.runner.fake_path("fake_record_args"), decoy)
        os.chmod(decoy, 0o755)
        self.install()
        env["COMSPEC"] = self.runner.comspec_value(interpreter)
        run = self.full_run(args=["cq k1abc fn42"], env=self.environment(**env))
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertFalse(os.path.exists(record), "the path was split at its blank")
        self.assertEqual(self.read("FST4.INC"), golden.INCLUDE_FILE)

    def test_a_message_with_a_control_character_runs_nothing(self):
        """No escape carries a CR (removed after percent expansion, moving a
        caret onto the next character) or an LF (the end of the command) or a
        tab exactly: refused in light red (so on standard error too), before
        any file is touched."""
        self.install("fake_record_args")
        record, env = self.record_arguments()
        self.write("FST4TEMP.TXT", b"an old report\r\n")
        for message in [b"A%\r&B", b"%\r>VICTIM.TXT", b'cq "k1abc\nfn42', b"cq\tk1abc", b"cq\x7f"]:
            with self.subTest(message=message):
                result = self.run_scripted(args=[message], env=self.environment(**env))
                self.assertEqual(result.returncode, EXIT_CONTROL_CHARACTER, result.stdout)
                self.assertIn(self.own_lines(CONTROL_CHARACTER), result.stdout)
                self.assertEqual(result.stderr, self.own_lines(CONTROL_CHARACTER))
                self.assertEqual(self.files(), ["FST4SIM.EXE", "FST4TEMP.TXT"])
                self.assertEqual(self.read("FST4TEMP.TXT"), b"an old report\r\n")
                self.assertFalse(os.path.exists(record), "the simulator ran")

    def test_the_registry_settings_never_reach_the_run(self):
        """With DelayedExpansion = 1 and an AutoRun command in the (modelled)
        registry, an interpreter started without /V:OFF reads ! and carets
        once more and runs AutoRun first; the tool starts it with /D /V:OFF:
        the message arrives exactly and AutoRun never runs."""
        if not self.runner.posix_system:
            self.skipTest("our POSIX interpreter models the registry with environment variables")
        self.install("fake_record_args")
        record, env = self.record_arguments()
        marker = os.path.join(self.other_folder(), "AUTORAN.TXT")
        env.update(SYMPACK_CMD_DELAYED_EXPANSION="1", SYMPACK_CMD_AUTORUN="TYPE NUL > \"%s\"" % marker,
                   OS="Windows_NT")
        interpreter = os.path.join(self.runner.bin_dir, "sympack-cmd")
        # The model is live: without the switches, both settings act.
        plain = subprocess.run([interpreter, '/C FST4SIM "!OS! A^B!"'], cwd=self.work, capture_output=True,
                               env=self.environment(**env))
        self.assertEqual(self.recorded(record)[0], b"Windows_NT AB", plain.stderr)
        self.assertTrue(os.path.exists(marker), "AutoRun did not run")
        os.remove(marker)
        os.remove(record)
        message = "!OS! A^B! %OS% !"
        run = self.full_run(args=[message], env=self.environment(**env))
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertEqual(self.recorded(record), [message.upper().encode("ascii")] + golden.parameters())
        self.assertFalse(os.path.exists(marker), "AutoRun ran before the command")

    def test_our_interpreter_never_follows_a_link_planted_as_the_report(self):
        """A link planted under FST4TEMP.TXT after the tool's check (or a
        pipe) is no door: sympack-cmd's redirection refuses it and runs
        nothing, and the file the link points to keeps its bytes."""
        if not self.runner.posix_system:
            self.skipTest("our POSIX interpreter")
        self.install("fake_record_args")
        record, env = self.record_arguments()
        victim = os.path.join(self.other_folder(), "victim.txt")
        with open(victim, "wb") as f:
            f.write(b"the user's own\n")
        interpreter = os.path.join(self.runner.bin_dir, "sympack-cmd")
        for plant in ("link", "dangling link", "pipe"):
            with self.subTest(plant=plant):
                if plant == "link":
                    os.symlink(victim, self.path("FST4TEMP.TXT"))
                elif plant == "dangling link":
                    os.symlink(victim + ".new", self.path("FST4TEMP.TXT"))
                else:
                    os.mkfifo(self.path("FST4TEMP.TXT"))
                result = subprocess.run([interpreter, "/D /V:OFF /C FST4SIM.EXE x > FST4TEMP.TXT"], cwd=self.work,
                                        capture_output=True, env=self.environment(**env), timeout=30)
                self.assertEqual(result.returncode, 1, result)
                self.assertEqual(result.stderr, b"Access is denied.\n")
                self.assertFalse(os.path.exists(record), "the simulator ran")
                os.remove(self.path("FST4TEMP.TXT"))
        with open(victim, "rb") as f:
            self.assertEqual(f.read(), b"the user's own\n")
        self.assertFalse(os.path.exists(victim + ".new"))

    def test_our_interpreter_takes_what_cmd_takes(self):
        """sympack-cmd runs a command of 8191 characters and refuses a longer
        one, as cmd.exe does, so the Linux runs show the limit is kept."""
        if not self.runner.posix_system:
            self.skipTest("our POSIX interpreter")
        self.install("fake_record_args")
        record, env = self.record_arguments()
        interpreter = os.path.join(self.runner.bin_dir, "sympack-cmd")
        for length, code in ((8191, 0), (8192, 1)):
            command = 'FST4SIM "%s"' % ("x" * (length - len('FST4SIM ""')))
            result = subprocess.run([interpreter, "/D /V:OFF /C " + command], cwd=self.work,
                                    capture_output=True, env=self.environment(**env))
            self.assertEqual(result.returncode, code, result.stderr)
            self.assertEqual(os.path.exists(record), code == 0, "the simulator ran (or did not)")
            if code == 0:
                os.remove(record)
        self.assertEqual(result.stderr, b"The command line is too long.\n")
