"""Command injection through the message (issue 2, fault 1): whatever the
message holds, the simulator receives exactly what `"` + message + `"` and
the parameters give by the C argument rules, the report still lands in
FST4TEMP.TXT, and nothing else is run or created."""

import os
import shutil
import tempfile

import reference
from harness import DESTINATION_PROMPT, EXIT_OK, MESSAGE_PROMPT, E2ETestCase, TerminalRun

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
]


class CommandInjection(E2ETestCase):

    def expected_arguments(self, message):
        upper = reference.upper_case(message.encode("cp1252"))
        arguments = reference.simulator_arguments(
            upper, doubled_quote_stays_quoted=self.runner.doubled_quote_stays_quoted,
            blank_before_redirection_kept=getattr(self.runner, "blank_before_redirection_kept", False))
        return [a.decode("cp1252").encode(self.runner.argv_encoding) for a in arguments], upper

    def run_message(self, folder, message, typed):
        self.runner.install_simulator("fake_record_args", folder)
        aside = tempfile.mkdtemp(prefix="sympack-e2e-aside-")
        self.addCleanup(shutil.rmtree, aside, True)
        record = os.path.join(aside, "argv.txt")
        env = self.environment(FAKE_ARGV_FILE=record)
        run = TerminalRun(self.runner, folder, args=[] if typed else [message], env=env)
        self.addCleanup(run.close)
        run.start()
        if typed:
            run.wait_for_prompt(MESSAGE_PROMPT)
            run.type(message + "\r")
        run.wait_for_prompt(DESTINATION_PROMPT, timeout=15)
        run.type("\r")
        code = run.wait_exit()

        expected, upper = self.expected_arguments(message)
        self.assertEqual(code, EXIT_OK, run.dump())
        self.assertEqual(os.listdir(aside), ["argv.txt"], "the simulator ran once, nothing else wrote there")
        self.assertEqual(self.recorded(record), expected)
        self.assertEqual(sorted(os.listdir(folder)), ["FST4.INC", "FST4SIM.EXE"],
                         "no other file created, the report removed")
        with open(os.path.join(folder, "FST4.INC"), "rb") as f:
            self.assertIn(b"\r\n    ;   " + upper + b"\r\n\r\n\r\n", f.read())

    def test_messages_on_the_command_line(self):
        for index, message in enumerate(MESSAGES):
            with self.subTest(message=message):
                folder = os.path.join(self.work, "case%02d" % index)
                os.mkdir(folder)
                self.run_message(folder, message, typed=False)

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
        expected, _ = self.expected_arguments("cq k1abc & fn42 | x > y < z ^ (w)")
        self.assertEqual(expected[0], b"CQ K1ABC & FN42 | X > Y < Z ^ (W)")
        self.assertEqual(len(expected), 9)
