"""Run completion: the whole road of one run, the include file's bytes, the
clipboard, the clean-up, the pause; two runs in one folder; a header
destination and the C compilers that read it."""

import shutil
import subprocess

import fake_data
from harness import (BANNER, BLANK_LINE, DARK_GREY, DESTINATION_PROMPT, EXIT_FOLDER_BUSY, EXIT_OK,
                     FOLDER_BUSY, LIGHT_GREY, MESSAGE_PROMPT, SIMULATOR_LINE, YELLOW, E2ETestCase,
                     written_line)
from completion import INCLUDE_FILE
from run_rows import REPORT_ROWS, include_rows


class WholeRoad(E2ETestCase):

    def test_whole_road_of_one_run(self):
        self.install("fake_writes_wav")
        run = self.start()
        self.answer_prompts(run, message="cq k1abc fn42", destination="")
        success = run.wait_for_text(written_line("FST4.INC").rstrip())
        code = run.wait_exit()
        self.assertEqual(code, EXIT_OK, run.dump())

        # The screen, row by row, with colours.
        expected = ([(BLANK_LINE, LIGHT_GREY), (BLANK_LINE, LIGHT_GREY), (BANNER, LIGHT_GREY),
                     (SIMULATOR_LINE, DARK_GREY), (BLANK_LINE, LIGHT_GREY),
                     (MESSAGE_PROMPT + "cq k1abc fn42", LIGHT_GREY),
                     (BLANK_LINE, LIGHT_GREY), (BLANK_LINE, LIGHT_GREY)]
                    + REPORT_ROWS
                    + [(DESTINATION_PROMPT, LIGHT_GREY)]
                    + include_rows(INCLUDE_FILE)
                    + [(written_line("FST4.INC"), YELLOW), (BLANK_LINE, LIGHT_GREY)])
        self.assert_transcript(run, expected)
        if self.exact_screen():
            self.assertEqual(len(run.transcript()), len(expected) + 1, run.dump())
            self.assertEqual(run.cursor(), (0, 24), "the cursor waits below the empty line")
        self.assertEqual(written_line("FST4.INC"), "Symbols written to FST4.INC  and copied to Clipboard ")

        # The include file, byte for byte: computed from the fake's symbols by
        # the packing rules, and its first line worked out by hand
        # ("0132" = 0*64 + 1*16 + 3*4 + 2 = 30 = 0x1E).
        data = self.read("FST4.INC")
        self.assertEqual(data, INCLUDE_FILE)
        self.assertEqual(data.split(b"\r\n")[1], b"        de   0x1E, 0x4B, 0x4F, 0x5B, 0xCD, 0xD4, 0xA9, 0x75")
        self.assertEqual(len(data.split(b"\r\n")), 10)
        self.assertTrue(data.endswith(b"    ;   CQ K1ABC FN42\r\n\r\n\r\n"))

        # The clipboard: the include text, the file without its last CR LF.
        self.assertEqual(run.clipboard_texts(), [data[:-2]])
        if self.exact_screen():
            self.assertIn(b"\x1b]52;c;", run.raw, "OSC 52 for the clipboard selection")

        # The clean-up: the report and the audio file are gone.
        self.assertEqual(self.files(), ["FST4.INC", "FST4SIM.EXE"])

        # The pause: 2000 ms after the success line is on the screen.
        self.assertGreaterEqual(run.exit_time - success, 1.9,
                                "the success line must show before the 2000 ms pause, not after it")
        self.assertLess(run.exit_time - success, 6)

        self.assert_default_colours_at_end(run)
        self.assertFalse(run.screen.cursor.hidden, "the cursor is visible at the end")
        self.assertEqual(run.modes_now(), run.modes_before, "terminal modes restored")


class TwoRunsInOneFolder(E2ETestCase):

    def test_the_second_run_is_refused_and_touches_nothing(self):
        """Run A waits at its destination prompt with its report; run B, in
        the same folder, says so in light red and ends at once; A then ends as
        if B had never been."""
        self.install()
        first = self.start(args=["cq k1abc fn42"])
        first.wait_for_prompt(DESTINATION_PROMPT, timeout=15)
        before = {name: self.read(name) for name in self.files()}
        self.assertIn("FST4TEMP.TXT", before)

        second = self.run_scripted(["cq k9xyz"], b"B.INC\n")
        self.assertEqual(second.returncode, EXIT_FOLDER_BUSY, second)
        self.assertEqual(second.stdout, self.own_lines("", "", BANNER, SIMULATOR_LINE, "", FOLDER_BUSY))
        self.assertEqual(second.stderr, self.own_lines(FOLDER_BUSY))
        self.assertEqual({name: self.read(name) for name in self.files()}, before)

        first.type("A.INC\r")
        self.assertEqual(first.wait_exit(), EXIT_OK, first.dump())
        self.assertEqual(self.read("A.INC"), INCLUDE_FILE)
        self.assertEqual(self.files(), ["A.INC", "FST4SIM.EXE"])

        # The claim ends with the run: the folder is free again.
        self.assertEqual(self.run_scripted(["cq k1abc fn42"], b"B.INC\n").returncode, EXIT_OK)


# One line of program around the header, included twice, and a second
# translation unit that includes it too, so the guard and `static` are tried;
# FST4_SYMBOL(i) reads the same symbols as the array.
C_MAIN = (b'#include "BEACON.H"\n#include "BEACON.H"\n#include <stdio.h>\nint other(void);\n'
          b"int main(void) { int i; for (i = 0; i < FST4_SYMBOL_COUNT; ++i) "
          b"putchar(FST4_SYMBOL(i) == fst4_symbols[i] ? '0' + FST4_SYMBOL(i) : 'X'); return other(); }\n")
C_OTHER = b'#include "BEACON.H"\nint other(void) { return fst4_symbols[0] & 0; }\n'
# Strict ISO modes read trigraphs; -Werror makes every warning (a comment
# inside a comment, a trigraph that splices a line) fail the build.
C_BUILDS = [("gcc", "-std=c89"), ("gcc", "-std=c99"), ("gcc", "-std=gnu11"),
            ("g++", "-std=c++98"), ("g++", "-std=c++11"), ("g++", "-std=gnu++17")]


class CHeader(E2ETestCase):

    def test_header_destination_gets_a_c_array_that_compiles_to_the_report_symbols(self):
        self.install()
        run = self.full_run(message="cq */ ??/ k1abc\\", destination="BEACON.H")
        self.assertEqual(run.exit_code(), EXIT_OK, run.dump())
        self.assertIn(written_line("BEACON.H").rstrip(), run.transcript())
        data = self.read("BEACON.H")
        self.assertEqual(self.files(), ["BEACON.H", "FST4SIM.EXE"])
        self.assertEqual(run.clipboard_texts(), [data[:-2]])
        lines = data.split(b"\r\n")
        self.assertEqual(lines[:2], [b"/* FST4 SYMBOLS one per element, 0 to 3 */",
                                     b"/* CQ * / ??/ K1ABC\\ */"])
        self.assertEqual(lines[-3:], [b"#endif", b"", b""], "one more CR LF after the text")
        self.assertIn(b"#define FST4_SYMBOL_COUNT 160", lines)
        self.assertEqual(len([line for line in lines if line.startswith(b"  ")]), 16, "ten to a line")

        for compiler, standard in C_BUILDS:
            with self.subTest(compiler=compiler, standard=standard):
                if not shutil.which(compiler):
                    self.skipTest(compiler + " is not installed")
                self.assertEqual(self.compile_and_print(compiler, standard),
                                 fake_data.GOOD_SYMBOLS.decode("ascii"))

    def compile_and_print(self, compiler, standard):
        self.write("main.c", C_MAIN)
        self.write("other.c", C_OTHER)
        program = self.path("print-%s%s" % (compiler, standard))
        language = ["-x", "c++"] if compiler == "g++" else []
        build = subprocess.run([compiler, standard, "-pedantic-errors", "-Wall", "-Wextra", "-Werror"]
                               + language + ["main.c", "other.c", "-o", program],
                               cwd=self.work, capture_output=True, timeout=120)
        self.assertEqual(build.returncode, 0, build.stderr.decode(errors="replace"))
        printed = subprocess.run([program], capture_output=True, timeout=30)
        self.assertEqual(printed.returncode, 0)
        return printed.stdout.decode("ascii")
