"""What the user types as a message is passed exactly and harms nothing.
Whatever a message holds (quotes, backslashes, percent forms, interpreter
syntax), the simulator's first argument is exactly the message and the fixed
parameters follow, the report still lands in FST4TEMP.TXT, and nothing else is
run or created."""

import os
import shutil
import tempfile

import golden
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
        if not typed and message == NO_MESSAGE:
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
