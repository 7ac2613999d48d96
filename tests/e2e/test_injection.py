"""What the user types is passed exactly and harms nothing. Whatever a
message holds (quotes, backslashes, percent forms, interpreter syntax), the
simulator's first argument is exactly the message and the fixed parameters
follow, the report still lands in FST4TEMP.TXT, and nothing else is run or
created. Whatever a destination name holds, the include file is written under
exactly that name where the system allows it and shown as exactly that file;
the simulator and every other file stay untouched."""

import os
import shutil
import subprocess
import tempfile

import golden
from harness import (CONTROL_CHARACTER, DESTINATION_PROMPT, EXIT_CONTROL_CHARACTER, EXIT_NOT_WRITTEN,
                     EXIT_OK, MESSAGE_PROMPT, E2ETestCase, PosixRunner, TerminalRun, copy_program, not_written_line,
                     simulator_refused_line, written_line)

MESSAGES = [
    'CQ "K1ABC" FN42',
    '"',
    '""',
    '"""',
    '"CQ K1ABC FN42"',
    'A" & ECHO PWNED > PWNED.TXT & "',
    'A" | MORE',
    'A" < FST4SIM.EXE',
    'A" > EVIL.TXT',
    'A">>EVIL.TXT',
    '"> EVIL.TXT',
    'A" ^> EVIL.TXT',
    '^"^&^',
    'X"^',
    '(A) & (B)" (C) & (D) | (E)',
    'Q" 120  1500 0.0   0 0 0 0 F > EVIL.TXT & "',
    '\\" & ECHO X > EVIL.TXT',
    'A\\\\" > EVIL.TXT',
    'END\\',
    '"A B" "C D" > EVIL.TXT',
    'a"b"c"d & e | f < g > h ^ i ( j ) k',
    '%OS:~0,3%',
    '%PATH:A=B%',
    '%%PATH%%',
    '^%OS:~0,3^%',
    'AB\\',
    'A"B',
    'x>FST4SIM.EXE',
]

# The one command tail above that holds no message.
NO_MESSAGE = '""'


class CommandInjection(E2ETestCase):

    def expected_arguments(self, key):
        """What the simulator must get for the message given as `key` (in the
        recorder's encoding), and its first argument in Windows-1252."""
        upper = golden.simulator_message(key)
        arguments = [upper] + golden.parameters()
        return [a.decode("cp1252").encode(self.runner.argv_encoding) for a in arguments], upper

    def recorded_in_cp1252(self, record):
        return [a.decode(self.runner.argv_encoding).encode("cp1252") for a in self.recorded(record)]

    def run_message(self, folder, message, typed):
        self.runner.install_simulator("fake_record_args", folder)
        aside = tempfile.mkdtemp(prefix="sympack-e2e-aside-")
        self.addCleanup(shutil.rmtree, aside, True)
        record = os.path.join(aside, "argv.txt")
        env = self.environment(FAKE_ARGV_FILE=record)
        run = TerminalRun(self.runner, folder, args=[] if typed else [message], env=env)
        self.addCleanup(run.close)
        run.start()
        key = ("typed: " if typed else "command line: ") + message
        if message == NO_MESSAGE:
            # A pair of quotes alone is no message, and the run asks for one.
            typed, message, key = True, "x", key + ", then typed: x"
        if typed:
            run.wait_for_prompt(MESSAGE_PROMPT)
            run.type(message + "\r")
        run.wait_for_prompt(DESTINATION_PROMPT, timeout=15)
        run.type("\r")
        code = run.wait_exit()

        if golden.WRITING:
            golden.record_simulator_arguments(key, self.recorded_in_cp1252(record))
        expected, upper = self.expected_arguments(key)
        self.assertEqual(code, EXIT_OK, run.dump())
        self.assertEqual(os.listdir(aside), ["argv.txt"], "the simulator ran once, nothing else wrote there")
        self.assertEqual(self.recorded(record), expected)
        self.assertEqual(sorted(os.listdir(folder)), ["FST4.INC", "FST4SIM.EXE"],
                         "no other file created, the report removed")
        with open(os.path.join(folder, "FST4.INC"), "rb") as f:
            self.assertIn(b"\r\n    ;   " + upper + b"\r\n\r\n\r\n", f.read())

    def test_messages_on_the_command_line(self):
        def check(indexed):
            index, message = indexed
            if "%" in message and getattr(self.runner, "carets_removed_before_percents", None):
                self.skipTest(self.runner.carets_removed_before_percents)
            folder = os.path.join(self.work, "case%02d" % index)
            os.mkdir(folder)
            self.run_message(folder, message, typed=False)

        self.each_at_once(enumerate(MESSAGES), check, label="message")

    def test_messages_typed_at_the_prompt(self):
        for index, message in enumerate(['cq "k1abc" & echo x > evil.txt',
                                         'a" | b ^ c > "d.txt']):
            with self.subTest(message=message):
                folder = os.path.join(self.work, "typed%02d" % index)
                os.mkdir(folder)
                self.run_message(folder, message, typed=True)

    def test_message_without_quotes_is_passed_as_one_argument(self):
        folder = os.path.join(self.work, "plain")
        os.mkdir(folder)
        self.run_message(folder, "cq k1abc & fn42 | x > y < z ^ (w)", typed=False)
        expected, _ = self.expected_arguments("command line: cq k1abc & fn42 | x > y < z ^ (w)")
        self.assertEqual(expected[0], b"CQ K1ABC & FN42 | X > Y < Z ^ (W)")
        self.assertEqual(len(expected), 9)

    def test_a_message_in_any_script_in_a_utf8_locale(self):
        if not self.runner.posix_system:
            self.skipTest("the locale sets the code page on POSIX systems only")
        self.runner.install_simulator("fake_record_args", self.work)
        record, env = self.record_arguments()
        env["LC_ALL"] = "C.UTF-8"
        message = "cq \u0444\u0430\u0439\u043b %OS% \u00e9\\"
        run = self.full_run(args=[message], env=self.environment(**env))
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        upper = message.upper().replace("\u0424\u0410\u0419\u041b", "\u0444\u0430\u0439\u043b")
        upper = upper.replace("\u00c9", "\u00e9").encode("utf-8")
        self.assertEqual(self.recorded(record), [upper] + golden.parameters())
        self.assertTrue(self.read("FST4.INC").endswith(b"    ;   " + upper + b"\r\n\r\n\r\n"))


INCLUDE_FILE = golden.INCLUDE_FILE
# Files an unquoted or split name used to reach instead of the one written.
DECOYS = {"my": b"DECOY my\r\n", "ab.inc": b"DECOY ab\r\n", "a": b"DECOY a\r\n",
          "b.inc": b"DECOY b\r\n", "x": b"DECOY x\r\n", "x.inc": b"DECOY x.inc\r\n",
          "beacon.inc": b"DECOY beacon\r\n", "D.INC": b"DECOY D\r\n", "R": b"DECOY R\r\n"}
# Typed at the destination prompt.
DESTINATIONS = ['x>FST4SIM.EXE', 'beacon.inc >FST4SIM.EXE', 'x.inc & del FST4SIM.EXE', 'R&D.INC',
                'my beacon.inc', '"my file.inc"', 'a^b.inc', 'a;b.inc', 'a=b.inc', '%OS%.inc',
                '"a,b.inc"', '%PATH:~0,3%.inc', '(a).inc']
# No Windows file name holds these.
NOT_IN_WINDOWS_NAMES = set('"*?<>|')


class DestinationNames(E2ETestCase):
    """Each destination is written under exactly its name (where the system
    allows that name), and exactly that file is shown."""

    def run_destination(self, folder, typed, env=None):
        self.runner.install_simulator("fake_good_report", folder)
        for name, data in DECOYS.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
        with open(os.path.join(folder, "FST4SIM.EXE"), "rb") as f:
            simulator = f.read()
        run = TerminalRun(self.runner, folder, args=["cq k1abc fn42"], env=env or self.environment())
        self.addCleanup(run.close)
        run.start()
        run.wait_for_prompt(DESTINATION_PROMPT, timeout=15)
        run.type(typed + "\r")
        code = run.wait_exit()
        with open(os.path.join(folder, "FST4SIM.EXE"), "rb") as f:
            self.assertEqual(f.read(), simulator, "the simulator is untouched")
        for name, data in DECOYS.items():
            with open(os.path.join(folder, name), "rb") as f:
                self.assertEqual(f.read(), data, "%s is untouched" % name)
        screen = "\n".join(run.transcript())
        self.assertNotIn("DECOY", screen, run.dump())
        self.assertNotIn("cannot find", screen, run.dump())
        return run, code

    def check_written_and_shown(self, folder, run, code, name):
        self.assertEqual(code, EXIT_OK, run.dump())
        with open(os.path.join(folder, name), "rb") as f:
            self.assertEqual(f.read(), INCLUDE_FILE)
        self.assertEqual(sorted(os.listdir(folder)), sorted(list(DECOYS) + ["FST4SIM.EXE", name]))
        rows = run.transcript()
        at = max(i for i, row in enumerate(rows) if row.startswith(DESTINATION_PROMPT.rstrip()))
        shown = [line.decode("ascii") for line in INCLUDE_FILE.split(b"\r\n")[:-1]]
        self.assertEqual(rows[at + 1:at + 1 + len(shown)], shown, run.dump())
        self.assertEqual(rows[at + 1 + len(shown)], written_line(name).rstrip(), run.dump())

    def test_names_with_blanks_separators_syntax_and_percent_forms(self):
        def check(indexed):
            index, typed = indexed
            folder = os.path.join(self.work, "case%02d" % index)
            os.mkdir(folder)
            if golden.WRITING:
                run, code = self.run_destination(folder, typed)
                written = set(os.listdir(folder)) - set(DECOYS) - {"FST4SIM.EXE"}
                golden.record(golden.DESTINATION_NAMES, typed, written.pop() if written else None)
            name = golden.lookup(golden.DESTINATION_NAMES, typed)
            if "%" in name and getattr(self.runner, "carets_removed_before_percents", None):
                self.skipTest(self.runner.carets_removed_before_percents)
            if not golden.WRITING:
                run, code = self.run_destination(folder, typed)
            if self.runner.posix_system or not NOT_IN_WINDOWS_NAMES & set(name):
                self.check_written_and_shown(folder, run, code, name)
            else:
                self.assertEqual(code, EXIT_NOT_WRITTEN, run.dump())
                self.assertIn(not_written_line(name).rstrip(), run.transcript())
                self.assertNotIn(";     FST4 SYMBOLS", "\n".join(run.transcript()))
                self.assertEqual(sorted(os.listdir(folder)), sorted(list(DECOYS) + ["FST4SIM.EXE"]))

        self.each_at_once(enumerate(DESTINATIONS), check, label="destination")

    def test_a_name_in_any_script_in_a_utf8_locale(self):
        if not self.runner.posix_system:
            self.skipTest("the locale sets the code page on POSIX systems only")
        name = "\u0444\u0430\u0439\u043b.inc"
        run, code = self.run_destination(self.work, name, env=self.environment(LC_ALL="C.UTF-8"))
        self.check_written_and_shown(self.work, run, code, name)

    def check_refused(self, typed, prepare=None, index=0):
        folder = os.path.join(self.work, "refused%d" % index)
        os.mkdir(folder)
        if prepare:
            prepare(folder)
        run, code = self.run_destination(folder, typed)
        self.assertEqual(code, EXIT_NOT_WRITTEN, run.dump())
        self.assertNotIn(";     FST4 SYMBOLS", "\n".join(run.transcript()), "nothing shown")
        self.assertIn(not_written_line(typed).rstrip(), run.transcript(), run.dump())
        return folder, run

    def test_the_simulator_is_refused_under_any_of_its_names(self):
        """The simulator is called by its full name, FST4SIM.EXE, and cmd.exe
        runs the file of that name: written, it would run the include text
        from then on. Our interpreter's program lookup folds case as
        cmd.exe's does, so every letter case counts on POSIX too."""
        # Other letter cases and a PATHEXT without .EXE are rows of the unit
        # table of run outcomes; these go through the system's own names.
        names = ["FST4SIM.EXE", "fst4sim.exe", "./Fst4sim.Exe"]
        if not self.runner.posix_system:
            names.append("fst4sim.exe.")  # Windows drops a trailing dot: the same file
        def check(indexed):
            index, typed = indexed
            folder, run = self.check_refused(typed, index=index)
            self.assertIn(simulator_refused_line(typed), "\n".join(run.transcript()), run.dump())
            self.assertEqual(sorted(os.listdir(folder)), sorted(list(DECOYS) + ["FST4SIM.EXE"]),
                             "no stand-in made")

        self.each_at_once(enumerate(names), check, label="destination")

    def test_a_command_file_beside_the_simulator_is_just_a_file(self):
        """FST4SIM.COM, .BAT or .JS, which cmd.exe would run before
        FST4SIM.EXE for a bare FST4SIM, is written like any name, and the
        next run in the folder still runs FST4SIM.EXE, not the include text
        under that name."""
        def check(indexed):
            index, typed = indexed
            folder = os.path.join(self.work, "beside%d" % index)
            os.mkdir(folder)
            run, code = self.run_destination(folder, typed)
            self.check_written_and_shown(folder, run, code, typed)
            again = TerminalRun(self.runner, folder, args=["cq k1abc fn42"], env=self.environment())
            self.addCleanup(again.close)
            again.start()
            again.wait_for_prompt(DESTINATION_PROMPT, timeout=15)
            again.type("\r")
            self.assertEqual(again.wait_exit(), EXIT_OK, again.dump())
            with open(os.path.join(folder, "FST4.INC"), "rb") as f:
                self.assertEqual(f.read(), INCLUDE_FILE)

        self.each_at_once(enumerate(["FST4SIM.COM", "fst4sim.bat", "Fst4sim.Js"]), check, label="destination")

    def test_a_read_only_file_keeps_its_text_and_is_not_shown(self):
        if not self.runner.posix_system:
            self.skipTest("needs chmod (Wine as root writes read-only files)")

        def read_only(folder):
            path = os.path.join(folder, "old.inc")
            with open(path, "wb") as f:
                f.write(b"OLD DE LINES\r\n")
            os.chmod(path, 0o444)

        folder, run = self.check_refused("old.inc", prepare=read_only)
        self.assertNotIn("OLD DE LINES", "\n".join(run.transcript()), "the old text is not shown")
        with open(os.path.join(folder, "old.inc"), "rb") as f:
            self.assertEqual(f.read(), b"OLD DE LINES\r\n")

    def test_a_device_is_not_shown(self):
        device = "/dev/tty" if self.runner.posix_system else "CON"
        folder = os.path.join(self.work, "device")
        os.mkdir(folder)
        run, code = self.run_destination(folder, device)
        self.assertEqual(code, EXIT_OK, run.dump())
        self.assertIn(written_line(device).rstrip(), run.transcript())
        # The text reached the device (here the screen) once, by the write.
        self.assertEqual("\n".join(run.transcript()).count("    ;   CQ K1ABC FN42"), 1, run.dump())


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
        self.assertEqual(self.read("FST4.INC"), INCLUDE_FILE)

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
        self.assertEqual(self.read("FST4.INC"), INCLUDE_FILE)


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
        self.assertEqual(self.read("FST4.INC"), INCLUDE_FILE)

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
