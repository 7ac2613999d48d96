"""The ground the other tests stand on: the fake simulators print exactly what
fake_data.py says, and the Python reference rules give the documented worked
examples."""

import os
import shutil
import subprocess
import unittest

import fake_data
import reference
from harness import E2ETestCase


class ReferenceRules(unittest.TestCase):
    """The reference rules against the documented examples (report reading, packing, delivery,
    upper-casing, first field)."""

    def test_worked_packing_example(self):
        text = reference.build_include_text(b"0123321001", b"TEST")
        self.assertEqual(text, b";     FST4 SYMBOLS Packed 4 per byte\r\n"
                               b"        de   0x1B, 0xE4, 0x10\r\n"
                               b"    ;   TEST\r\n"
                               b"\r\n")
        self.assertEqual(len(text), 85)
        self.assertEqual(len(reference.include_file_bytes(b"0123321001", b"TEST")), 87)

    def test_packing_edge_cases(self):
        def data_lines(symbols):
            return reference.build_include_text(symbols, b"M").split(b"\r\n")[1:-3]
        self.assertEqual(data_lines(b""), [])
        self.assertEqual(data_lines(b"01233210" * 4),
                         [b"        de   0x1B, 0xE4, 0x1B, 0xE4, 0x1B, 0xE4, 0x1B, 0xE4"])
        self.assertEqual(data_lines(b"01233210" * 4 + b"1")[1], b"        de   0x40")
        for last, value in [(b"1", b" 0x40"), (b"12", b" 0x60"), (b"123", b" 0x6C"), (b"2", b" 0x80"),
                            (b"3 21", b" 0xC9"), (b"x123", b" 0x1B"), (b"4000", b" 0x10"),
                            (b"9999", b" 0x2F"), (b"3333", b" 0xFF"), (b"0000", b" 0x00")]:
            self.assertEqual(data_lines(last), [b"        de  " + value], last)
        self.assertEqual(data_lines(b"012332100000 Channel"),
                         [b"        de   0x1B, 0xE4, 0x00, 0x00, 0x00"])
        self.assertEqual(reference.build_include_text(b"", b"TEST 1"),
                         b";     FST4 SYMBOLS Packed 4 per byte\r\n    ;   TEST 1\r\n\r\n")

    def test_reading_edge_cases(self):
        read = reference.read_symbol_text
        self.assertEqual(read(b"x\r\nChannel symbols\r\n0123\r\n3210\r\n\r\nmore\r\n"), b"01233210")
        self.assertEqual(read(b"x\r\nChannel symbols\r\n0123\r\n3210\r\nFile\r\nmore\r\n"), b"01233210")
        self.assertEqual(read(b"Channel symbols\r\n0123\r\n3210\r\n0000 Channel\r\n1111\r\n"),
                         b"012332100000 Channel")
        self.assertIsNone(read(b"CHANNEL SYMBOLS\r\n0123\r\n"))
        self.assertEqual(read(b"channel symbols\r\n01\n23\r\n"), b"01\n23")
        self.assertEqual(read(b"Channel symbols\r01\r23"), b"0123")
        self.assertEqual(read(b"Channel symbols\r\n01\x1a23\r\n"), b"01")
        self.assertEqual(read(b"Channel symbols"), b"")

    def test_upper_case_field_and_arguments(self):
        self.assertEqual(reference.upper_case(b"cq k1abc fn42"), b"CQ K1ABC FN42")
        self.assertEqual(reference.upper_case(b"\x84\xe9/1 "), b"\x8e\xe9/1 ")
        self.assertEqual(reference.first_field("  out.inc  , x"), "out.inc")
        self.assertEqual(reference.first_field(' "a, b" c'), "a, b")
        self.assertEqual(reference.first_field(",x"), "")
        split = reference.split_c_arguments
        self.assertEqual(split(b'"CQ K1ABC FN42" 120  1500 0.0   0 0 0 0 F'),
                         [b"CQ K1ABC FN42", b"120", b"1500", b"0.0", b"0", b"0", b"0", b"0", b"F"])
        self.assertEqual(split(b'a\\\\\\"b "c d"'), [b'a\\"b', b"c d"])
        self.assertEqual(split(b'a\\\\"b c"'), [b"a\\b c"])
        self.assertEqual(split(b'a\\b'), [b"a\\b"])
        self.assertEqual(split(b'"a""b" c'), [b'a"b', b"c"])
        self.assertEqual(split(b'"a""b c" d'), [b'a"b c', b"d"])
        self.assertEqual(split(b'"a""b c" d', doubled_quote_stays_quoted=False), [b'a"b', b"c d"])

    def test_fake_data_is_consistent(self):
        self.assertEqual(len(fake_data.GOOD_SYMBOLS), 160)
        self.assertEqual(set(fake_data.GOOD_SYMBOLS), set(b"0123"))
        self.assertIsNone(reference.read_symbol_text(fake_data.NO_LISTING_REPORT))
        for variant, report in fake_data.ODD_REPORTS.items():
            symbols = reference.read_symbol_text(report)
            self.assertEqual(symbols, fake_data.ODD_SYMBOLS[variant], variant)
            lines = reference.build_include_text(symbols, b"TEST").split(b"\r\n")
            self.assertEqual(lines[1:-3], fake_data.ODD_DATA_LINES[variant], variant)


class FakeSimulators(E2ETestCase):
    """Each fake, run on its own, prints what the tests expect of it."""

    def output_of(self, fake, args=(), env=None):
        path = self.runner.fake_path(fake)
        self.assertTrue(os.path.exists(path), "fake %s not built at %s" % (fake, path))
        return self.runner.run_program(path, args, cwd=self.work,
                                       env=self.runner.environment(env or {}))

    def test_good_report(self):
        result = self.output_of("fake_good_report")
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, fake_data.GOOD_REPORT, b""))
        self.assertEqual(fake_data.good_report(), fake_data.GOOD_REPORT)
        # Its Message: line gives what it received, or what FAKE_MESSAGE says.
        result = self.output_of("fake_good_report", ["HELLO WORLD THIS IS LONG", "120"])
        self.assertEqual(result.stdout, fake_data.good_report(b"HELLO WORLD THIS IS LONG"))
        result = self.output_of("fake_good_report", ["CQ K1ABC FN42"], env={"FAKE_MESSAGE": "*** bad message ***"})
        self.assertEqual(result.stdout, fake_data.good_report(b"*** bad message ***"))
        result = self.output_of("fake_good_report", ["X"], env={"FAKE_NO_MESSAGE_LINE": "1"})
        self.assertEqual(result.stdout, fake_data.GOOD_REPORT.replace(fake_data.GOOD_REPORT_LINES[1] + b"\r\n", b""))

    def test_lf_report(self):
        result = self.output_of("fake_lf_report")
        self.assertEqual((result.returncode, result.stdout), (0, fake_data.LF_REPORT))
        self.assertNotIn(b"\r", result.stdout)

    def test_no_report(self):
        result = self.output_of("fake_no_report")
        self.assertNotEqual(result.returncode, 0)
        self.assertEqual(result.stdout, b"")
        self.assertIn(b"no report", result.stderr)

    def test_no_listing(self):
        result = self.output_of("fake_no_listing")
        self.assertEqual((result.returncode, result.stdout), (0, fake_data.NO_LISTING_REPORT))

    def test_odd_bytes(self):
        for variant, report in fake_data.ODD_REPORTS.items():
            with self.subTest(variant=variant):
                env = {} if variant == "file" else {"FAKE_VARIANT": variant}
                result = self.output_of("fake_odd_bytes", env=env)
                self.assertEqual((result.returncode, result.stdout), (0, report))

    def test_record_args(self):
        record, env = self.record_arguments()
        result = self.output_of("fake_record_args", ["CQ  \"X\" & Y", "", "120"], env)
        self.assertEqual((result.returncode, result.stdout), (0, fake_data.good_report(b'CQ  "X" & Y')))
        self.assertEqual(self.recorded(record), [b'CQ  "X" & Y', b"", b"120"])

    def test_writes_wav(self):
        result = self.output_of("fake_writes_wav")
        self.assertEqual((result.returncode, result.stdout), (0, fake_data.GOOD_REPORT))
        self.assertIn("000000_0001.wav", self.files())

    def test_sleep_knob(self):
        import time
        began = time.monotonic()
        result = self.output_of("fake_good_report", env={"FAKE_SLEEP_MS": "300"})
        self.assertEqual(result.returncode, 0)
        self.assertGreaterEqual(time.monotonic() - began, 0.29)

    @unittest.skipUnless(shutil.which("fst4sim"), "WSJT-X's fst4sim is not installed")
    def test_good_report_is_the_real_simulators(self):
        """The captured report is what the real simulator prints (its lines
        end in LF; the symbols are the same)."""
        result = subprocess.run([shutil.which("fst4sim"), "CQ K1ABC FN42", "120", "1500", "0.0",
                                 "0", "0", "0", "0", "F"], cwd=self.work, capture_output=True, timeout=60)
        self.assertEqual(result.stdout, fake_data.LF_REPORT)
