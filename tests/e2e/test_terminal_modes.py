"""The terminal around the run (the POSIX platform layer): modes saved and
restored on every way out, every ending signal and Ctrl+C or Ctrl+\\ while the
simulator runs, a reader gone, children run in the user's modes."""

import os
import signal
import termios
import time

import golden
from harness import (DESTINATION_PROMPT, EXIT_KEYBOARD_LOST, EXIT_NO_LISTING, EXIT_NO_REPORT,
                     EXIT_NOT_WRITTEN, EXIT_OK, EXIT_SIMULATOR_MISSING, INTERRUPTED, LIGHT_RED,
                     MESSAGE_PROMPT, E2ETestCase, TerminalRun, write_program)
from terminal_processes import LFLAG, ENDING_SIGNALS, descendants, command_name, alive


INCLUDE = golden.INCLUDE_FILE


class TerminalModes(E2ETestCase):

    def setUp(self):
        super().setUp()
        if not self.runner.posix_system:
            self.skipTest("termios")

    def check_restored(self, run):
        self.assertEqual(run.modes_now(), run.modes_before, "terminal modes restored\n" + run.dump())
        self.assert_default_colours_at_end(run)
        self.assertFalse(run.screen.cursor.hidden)

    def test_raw_at_the_prompt_restored_at_the_end(self):
        self.install()
        run = self.start()
        run.wait_for_prompt(MESSAGE_PROMPT)
        lflag = run.modes_now()[LFLAG]
        self.assertFalse(lflag & termios.ECHO, "no echo by the terminal at the prompt")
        self.assertFalse(lflag & termios.ICANON, "keys one by one at the prompt")
        self.assertFalse(lflag & termios.ISIG, "Ctrl+C is a key at the prompt")
        self.assertTrue(run.modes_before[LFLAG] & termios.ECHO)
        run.type("cq k1abc fn42\r")
        run.wait_for_prompt(DESTINATION_PROMPT)
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK)
        self.check_restored(run)

    def test_restored_at_every_ending(self):
        endings = [
            ("missing simulator", None, [], {}, None, EXIT_SIMULATOR_MISSING),
            ("empty message", "fake_good_report", [], {}, "", EXIT_OK),
            ("no report", "fake_good_report", ["cq"], {"COMSPEC": self.runner.missing_interpreter()},
             None, EXIT_NO_REPORT),
            ("no listing", "fake_no_listing", ["cq"], {}, None, EXIT_NO_LISTING),
            ("not written", "fake_good_report", ["cq"], {}, "nofolder/x.inc", EXIT_NOT_WRITTEN),
        ]
        for index, (what, fake, args, env, answer, expected) in enumerate(endings):
            with self.subTest(ending=what):
                folder = os.path.join(self.work, "ending%d" % index)
                os.mkdir(folder)
                if fake:
                    self.runner.install_simulator(fake, folder)
                run = TerminalRun(self.runner, folder, args=args, env=self.environment(**env))
                self.addCleanup(run.close)
                run.start()
                if answer is not None:
                    run.wait_for_prompt(MESSAGE_PROMPT if not args else DESTINATION_PROMPT, timeout=15)
                    run.type(answer + "\r")
                self.assertEqual(run.wait_exit(), expected, run.dump())
                self.check_restored(run)

    def test_restored_when_terminated(self):
        for signal_number in ENDING_SIGNALS:
            with self.subTest(signal=signal_number):
                self.install()
                run = self.start()
                run.wait_for_prompt(MESSAGE_PROMPT)
                run.type("cq")
                run.wait_for_text(MESSAGE_PROMPT + "cq")
                os.kill(run.pid, signal_number)
                self.assertEqual(run.wait_exit(), -signal_number)
                self.check_restored(run)

    def test_a_run_ended_by_a_signal_leaves_no_report(self):
        for signal_number in ENDING_SIGNALS:
            with self.subTest(signal=signal_number):
                self.install()
                run = self.start(args=["cq"])
                run.wait_for_prompt(DESTINATION_PROMPT)
                self.assertIn("FST4TEMP.TXT", self.files())
                os.kill(run.pid, signal_number)
                self.assertEqual(run.wait_exit(), -signal_number)
                self.assertEqual(self.files(), ["FST4SIM.EXE"])
                self.check_restored(run)

    def test_a_terminal_that_goes_away_at_a_prompt_is_no_answer(self):
        """The terminal closed at a prompt, with text half typed: the tool
        sees the end of its keyboard before, or without, any SIGHUP (here a
        shell that ignores it leads the session, as in a terminal window, so
        none comes). No answer is taken from it: an earlier FST4.INC stays,
        no file is named after the half-typed text, the report goes, and
        nothing is left running."""
        for args, prompt, typed in (([], MESSAGE_PROMPT, "cq k1"), (["cq k1abc fn42"], DESTINATION_PROMPT, "beac")):
            with self.subTest(prompt=prompt):
                self.install()
                self.write("FST4.INC", b"earlier")
                status = os.path.join(self.other_folder(), "status")
                shell = ["/bin/sh", "-c", 'trap "" HUP; "$@"; echo $? > "%s"' % status, "sh"]
                run = self.start(command=shell + self.runner.tool_command(args))
                run.wait_for_prompt(prompt)
                run.type(typed)
                run.wait_for_text(prompt + typed)
                children = descendants(run.pid)
                os.close(run.master)
                run.master = None
                deadline = time.monotonic() + 10
                while os.waitpid(run.pid, os.WNOHANG)[0] == 0:
                    self.assertLess(time.monotonic(), deadline, "the run did not end")
                    time.sleep(0.05)
                run.exit_status = 0
                with open(status) as f:
                    self.assertEqual(int(f.read()), EXIT_KEYBOARD_LOST)
                self.assertEqual([pid for pid in children if alive(pid)], [], "no process left")
                self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])
                self.assertEqual(self.read("FST4.INC"), b"earlier")

    def start_slow_run(self, name):
        """A run of "cq" in a folder of its own holding the user's FST4.INC,
        its simulator taking 3 s before it writes the report."""
        folder = os.path.join(self.work, name)
        os.mkdir(folder)
        self.runner.install_simulator("fake_good_report", folder)
        with open(os.path.join(folder, "FST4.INC"), "wb") as f:
            f.write(b"mine")
        run = TerminalRun(self.runner, folder, args=["cq"], env=self.environment(FAKE_SLEEP_MS="3000"))
        self.addCleanup(run.close)
        run.start()
        return folder, run

    def test_a_signal_while_the_simulator_runs_ends_the_whole_run(self):
        """The interpreter and the simulator end with the tool, and the
        report goes after they have ended: nothing appears later. Every
        signal whose default course ends a process does this, and the exit
        status says which it was."""
        def check(signal_number):
            folder, run = self.start_slow_run(signal.Signals(signal_number).name)
            run.wait_for(lambda: len(descendants(run.pid)) >= 2, timeout=10,
                         what="the interpreter and the simulator")
            children = descendants(run.pid)
            os.kill(run.pid, signal_number)
            self.assertEqual(run.wait_exit(), -signal_number, run.dump())
            self.assertEqual([pid for pid in children if alive(pid)], [], "no child left running")
            time.sleep(3.2)  # the simulator would have written its report by now
            self.assertEqual(self.files(folder), ["FST4.INC", "FST4SIM.EXE"])
            with open(os.path.join(folder, "FST4.INC"), "rb") as f:
                self.assertEqual(f.read(), b"mine", "the destination as it was")
            self.check_restored(run)

        self.each_at_once(ENDING_SIGNALS, check, label="signal")

    def test_ctrl_c_or_ctrl_backslash_while_the_simulator_runs_ends_the_run(self):
        """The keys reach the interpreter and the simulator from the
        terminal; the run ends after them with a light red line, removes
        the report, asks for nothing, writes nothing, and ends of the key's
        signal. At the prompts the same keys are keys (test above)."""
        def check(case):
            key, signal_number = case
            folder, run = self.start_slow_run(signal.Signals(signal_number).name)
            run.wait_for(lambda: "FST4SIM.EXE" in [command_name(pid) for pid in descendants(run.pid)],
                         timeout=10, what="the simulator running")
            children = descendants(run.pid)
            run.type(key)
            self.assertEqual(run.wait_exit(), -signal_number, run.dump())
            self.assertEqual([pid for pid in children if alive(pid)], [], "no child left running")
            rows = run.transcript()
            self.assertIn(INTERRUPTED, rows, run.dump())
            self.assert_row(run, run.transcript_cells()[rows.index(INTERRUPTED)], INTERRUPTED, LIGHT_RED)
            self.assertFalse(any(row.startswith(DESTINATION_PROMPT.rstrip()) for row in rows), "nothing asked")
            time.sleep(3.2)  # the simulator would have written its report by now
            self.assertEqual(self.files(folder), ["FST4.INC", "FST4SIM.EXE"])
            with open(os.path.join(folder, "FST4.INC"), "rb") as f:
                self.assertEqual(f.read(), b"mine", "the destination as it was")
            self.check_restored(run)

        self.each_at_once([("\x03", signal.SIGINT), ("\x1c", signal.SIGQUIT)], check, label="key")

    def test_a_simulator_that_ignores_the_signal_is_killed(self):
        """It gets two seconds, then is killed: nothing keeps the run from
        ending, and no report appears afterwards."""
        write_program(self.path("FST4SIM.EXE"), "#!/bin/sh\ntrap '' TERM\nexec sleep 6\n")
        run = self.start(args=["cq"])
        run.wait_for(lambda: "sleep" in [command_name(pid) for pid in descendants(run.pid)], timeout=10,
                     what="the simulator sleeping, deaf to SIGTERM")
        children = descendants(run.pid)
        os.kill(run.pid, signal.SIGTERM)
        self.assertEqual(run.wait_exit(timeout=10), -signal.SIGTERM, run.dump())
        self.assertEqual([pid for pid in children if alive(pid)], [], "no child left running")
        self.assertEqual(self.files(), ["FST4SIM.EXE"])
        self.check_restored(run)

    def test_interrupt_signals_do_not_end_the_run(self):
        """Ctrl+C, Ctrl+\\ and Ctrl+Z as signals (from another program, or
        the terminal in cooked mode) leave the run going."""
        self.install()
        run = self.start()
        run.wait_for_prompt(MESSAGE_PROMPT)
        for signal_number in (signal.SIGINT, signal.SIGQUIT, signal.SIGTSTP):
            os.kill(run.pid, signal_number)
        time.sleep(0.3)
        run.type("cq k1abc fn42\r")
        run.wait_for_prompt(DESTINATION_PROMPT)
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK, run.dump())
        self.assertEqual(self.read("FST4.INC"), INCLUDE)

    def test_children_run_in_the_users_modes(self):
        self.install()
        run = self.start(env=self.environment(FAKE_SLEEP_MS="1500"))
        run.wait_for_prompt(MESSAGE_PROMPT)
        run.type("cq k1abc fn42\r")
        run.wait_for(lambda: run.cursor()[1] > 5, what="the message's Enter")
        time.sleep(0.5)  # the simulator now sleeps
        self.assertEqual(run.modes_now(), run.modes_before, "the simulator runs in the user's modes")
        run.wait_for_prompt(DESTINATION_PROMPT)
        self.assertFalse(run.modes_now()[LFLAG] & termios.ECHO, "raw again at the destination prompt")
        run.type("\r")
        self.assertEqual(run.wait_exit(), EXIT_OK)
        self.check_restored(run)
