"""Whatever a destination name holds, the include file is written under
exactly that name where the system allows it and shown as exactly that file;
the simulator and every other file stay untouched."""

import os

import golden
from harness import (DESTINATION_PROMPT, EXIT_NOT_WRITTEN, EXIT_OK, E2ETestCase, TerminalRun,
                     not_written_line, simulator_refused_line, written_line)


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
