"""Windows' own ground under Wine: the code page, the exact command tail, the
interpreter ("comspec" and redirected output), which FST4SIM.EXE runs, and the
clipboard's other formats."""

import os
import shutil

from wine_console import WineTestCase, BANNER_ROWS  # first: it puts tests/e2e on the path
import golden
from harness import (BANNER, DESTINATION_NOT_IN_CODE_PAGE, DESTINATION_PROMPT, EXIT_CONTROL_CHARACTER,
                     EXIT_NO_LISTING, EXIT_NO_REPORT, EXIT_NOT_WRITTEN, EXIT_OK, INSTALLED_SIMULATOR,
                     NO_INTERPRETER, NOT_IN_CODE_PAGE, LIGHT_GREY, LIGHT_RED, MESSAGE_PROMPT, NO_REPORT,
                     SIMULATOR_LINE, written_line)
from wine_runner import windows_path


# What follows the quoted message in the simulator's command tail: the
# eight fixed parameters, with the blanks of WSJT-X's own example command.
PARAMETERS = " 120  1500 0.0   0 0 0 0 F"


class CodePage(WineTestCase):
    """Greek capitals typed at the console, which Windows-1252 (the ANSI
    code page here) cannot hold: best fit would send "??G" and write
    Gamma.inc over G.inc. The terminal sends UTF-8 and Wine's console reads
    it so."""

    def utf8_terminal(self):
        return self.session.environment(LC_ALL="C.UTF-8")

    def test_a_message_the_code_page_cannot_hold_is_refused(self):
        self.install()
        run = self.start(env=self.utf8_terminal())
        run.answer(MESSAGE_PROMPT, "\u0391\u0392\u0393".encode("utf-8"), echo="\u0391\u0392\u0393")
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_CONTROL_CHARACTER, dump.describe())
        self.assert_rows(dump, [(NOT_IN_CODE_PAGE, LIGHT_RED)], start=6)
        self.assertEqual(self.files(), ["FST4SIM.EXE"], "the simulator never ran")

    def test_a_name_the_code_page_cannot_hold_is_not_written_and_no_other_file_is(self):
        self.install()
        with open(os.path.join(self.work, "G.inc"), "wb") as f:
            f.write(b"notes")
        run = self.start(" cq k1abc fn42", env=self.utf8_terminal())
        run.answer(DESTINATION_PROMPT, "\u0393.inc".encode("utf-8"), echo="\u0393.inc")
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_NOT_WRITTEN, dump.describe())
        self.assertIn(DESTINATION_NOT_IN_CODE_PAGE, dump.text())
        self.assertEqual(self.read("G.inc"), b"notes")
        self.assertEqual(self.files(), ["FST4SIM.EXE", "G.inc"])


class CommandTail(WineTestCase):
    """What reaches the simulator, through the real cmd.exe. The stand-in
    simulator records its whole command line."""

    def recorded_command_line(self):
        return self.read("COMMAND_LINE.BIN").decode("utf-16-le")

    def run_with(self, tail="", typed=None):
        self.install("record_command_line.exe")
        run = self.start(tail)
        if typed is not None:
            run.answer(MESSAGE_PROMPT, typed)
        # Its report holds no listing: the run ends without asking for a
        # destination.
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_NO_LISTING, dump.describe())
        self.assertNotIn(DESTINATION_PROMPT.rstrip(" "), "\n".join(dump.text()))
        line = self.recorded_command_line()
        return line[line.index('"'):].rstrip(" "), dump

    def test_blanks_around_the_tail_are_dropped_and_those_inside_kept(self):
        tail, _ = self.run_with("   cq  test  \t")
        self.assertEqual(tail, '"CQ  TEST"' + PARAMETERS)

    def test_a_message_in_one_pair_of_quotes_is_taken_without_them(self):
        # cmd.exe leaves the blank before a redirection in the tail.
        tail, _ = self.run_with(' "cq k1abc fn42" ')
        self.assertEqual(tail, '"CQ K1ABC FN42"' + PARAMETERS)

    def test_interpreter_syntax_typed_in_the_message_runs_nothing(self):
        message = 'cq" & echo PWNED> PWNED.TXT & "'
        tail, dump = self.run_with(typed=message)
        # The C runtime's quoting: each quote of the message behind a backslash.
        self.assertEqual(tail, '"' + message.upper().replace('"', '\\"') + '"' + PARAMETERS)
        self.assertNotIn("PWNED.TXT", [name.upper() for name in self.files()])


class Interpreter(WineTestCase):

    def test_without_comspec_nothing_runs(self):
        """Nothing is started without an interpreter, and the run says so."""
        self.install()
        run = self.start(" cq k1abc fn42", before=["set COMSPEC="])
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_NO_REPORT, dump.describe())
        self.assert_rows(dump, BANNER_ROWS + [(NO_REPORT, LIGHT_GREY), (NO_INTERPRETER, LIGHT_RED)])
        self.assertEqual(self.files(), ["FST4SIM.EXE"])

    def test_standard_output_redirected_gets_the_plain_transcript(self):
        """The file gets every line, CR LF ended, the interpreter's displays in
        their places; the console shows only the prompt (through standard
        error) and the typing, which the console's own line editing echoes."""
        self.install()
        report = self.good_report()
        include = golden.include_text()
        out = self.aside_path("out.txt")
        # No blank before ">": the interpreter would leave it in the tail.
        run = self.start(' cq k1abc fn42> "%s"' % windows_path(out))
        run.answer(DESTINATION_PROMPT)
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK, dump.describe())
        with open(out, "rb") as f:
            redirected = f.read()
        own = lambda *lines: b"".join(line.encode("ascii") + b"\r\n" for line in lines)
        self.assertEqual(redirected, own("", "", BANNER, SIMULATOR_LINE, "", "", "") + report
                         + own(DESTINATION_PROMPT) + include + b"\r\n"
                         + own(written_line("FST4.INC"), ""))
        self.assertNotIn(BANNER.rstrip(" "), dump.text())
        self.assertIn(DESTINATION_PROMPT.rstrip(" "), dump.text())
        self.assertEqual(self.read("FST4.INC"), include + b"\r\n")
        self.assertEqual(self.clipboard(), include)


class SimulatorProgram(WineTestCase):
    """Which FST4SIM.EXE runs: the folder's own, called by its full name, or
    the one beside SYMPACK.EXE (the zip's folder) when the folder has none."""

    def include_text(self):
        self.good_report()  # the fake runs and prints the report the golden file was made from
        return golden.include_text()

    def test_a_command_file_beside_the_simulator_never_runs(self):
        """PATHEXT puts .COM, and .BAT and .CMD, before .EXE for a bare
        FST4SIM; called FST4SIM.EXE, the simulator is that file alone."""
        self.install()
        shutil.copyfile(self.session.program("fake_no_report.exe"), os.path.join(self.work, "FST4SIM.COM"))
        for name in ("FST4SIM.BAT", "FST4SIM.CMD"):
            with open(os.path.join(self.work, name), "wb") as f:
                f.write(b"@echo ran> RAN.TXT\r\n")
        run = self.start(" cq k1abc fn42")
        run.answer(DESTINATION_PROMPT)
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK, dump.describe())
        self.assertEqual(self.read("FST4.INC"), self.include_text() + b"\r\n")
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.BAT", "FST4SIM.CMD", "FST4SIM.COM", "FST4SIM.EXE"])

    def test_started_by_path_from_another_folder_the_simulator_beside_it_runs(self):
        run = self.start(" cq k1abc fn42", beside="fake_good_report.exe")
        run.answer(DESTINATION_PROMPT)
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK, dump.describe())
        said = INSTALLED_SIMULATOR + windows_path(os.path.join(self.tool_folder, "FST4SIM.EXE"))
        self.assertIn(said, "".join(row.ljust(dump.width) for row in dump.rows), dump.describe())
        self.assertEqual(self.read("FST4.INC"), self.include_text() + b"\r\n")
        self.assertEqual(self.files(), ["FST4.INC"])

    def test_the_folders_own_simulator_comes_first(self):
        self.install()
        run = self.start(" cq k1abc fn42", beside="fake_no_report.exe")
        run.answer(DESTINATION_PROMPT)
        exit_code, dump = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK, dump.describe())
        self.assertNotIn(INSTALLED_SIMULATOR.rstrip(" "), "\n".join(dump.text()))
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])


class Clipboard(WineTestCase):
    """Wine keeps the clipboard in the window station, and drops the window
    station about a second after the last program on its desktop has ended
    (the desktop's explorer.exe closes then). Data seeded by a program run on
    its own before the tool is therefore often gone before the tool starts,
    whatever the tool does. The seeding runs in the batch file instead, whose
    cmd.exe and console keep the desktop up for the whole run, and the formats
    are listed right before the tool too: a marker lost before the tool ran is
    reported as that, never blamed on the tool."""

    def list_formats(self, name):
        return '"%s" formats > "%s"' % (windows_path(self.session.program("clipboard_dump.exe")),
                                        windows_path(self.aside_path(name)))

    def formats(self, name):
        with open(self.aside_path(name), "rb") as f:
            return f.read().split()

    def test_other_formats_stay_on_the_clipboard(self):
        self.install()
        seed = '"%s" seed' % windows_path(self.session.program("clipboard_dump.exe"))
        run = self.start(" cq k1abc fn42", before=[seed, self.list_formats("before.txt")],
                         after=[self.list_formats("after.txt")])
        run.answer(DESTINATION_PROMPT)
        exit_code, _ = self.finish(run)
        self.assertEqual(exit_code, EXIT_OK)
        self.assertIn(b"marker", self.formats("before.txt"), "the seeding did not take")
        self.assertIn(b"marker", self.formats("after.txt"), "the tool emptied the clipboard")
        self.assertTrue(self.clipboard().startswith(b";     FST4 SYMBOLS Packed 4 per byte\r\n"))
