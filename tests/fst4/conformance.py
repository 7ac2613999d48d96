#!/usr/bin/env python3
"""Runs WSJT-X's fst4sim and our FST4SIM.EXE side by side.

For every message of reference_vectors.tsv, plus a fixed-seed set of
generated messages, both programs get the same nine arguments. Their
"Message:" lines and their symbol listings (the "Channel symbols" line and
the 16 lines after it) must be identical byte for byte.

A generated message on which the reference is at fault (bad-message text,
symbols outside 0..3, a crash, or an unknown "<...>" hash) is not compared;
our program must then either refuse it or print a listing of real symbols.
One holding a character that no message type carries, which the reference
sends as another character, our program must refuse.
Messages we encode differently on purpose (see deliberate()) must decode to
the message itself.

Exit status: 0 all equal, 1 a difference, 77 the reference is not found
(ctest reports the test as skipped; with SYMPACK_REFERENCE=1, as scripts/test.sh
sets, a missing reference is a failure instead).
"""

import argparse
import os
import random
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fault_rules import (DELIBERATE, folds_character, garbles_field, payload_type,  # noqa: E402
                         reads_unset_serial, spelling)
from reference_simulator import FIXED_ARGS, find_reference, missing_reference  # noqa: E402


def run(program, message, hint):
    proc = subprocess.run([program, message, *FIXED_ARGS, hint], capture_output=True)
    return proc.returncode, proc.stdout.decode("latin-1")


def unset_serial(message, stdout):
    """The reference read an unset value for this message (its output then
    varies from run to run)."""
    if not reads_unset_serial(message):
        return False
    lines = stdout.split("\n")
    for i, line in enumerate(lines):
        if line.startswith("Message bits:") or line.startswith("          mycall"):
            return payload_type(lines[i + 1]) in [(0, 0), (3, 0)]
    return True


def listing(stdout):
    """The Message: line and the symbol block, or None when absent."""
    lines = stdout.split("\n")
    message = next((line for line in lines if line.startswith("Message: ")), None)
    for i, line in enumerate(lines):
        if "hannel symbols" in line:
            return message, "\n".join(lines[i:i + 17])
    return message, None


def folded(message, message_line):
    """The reference sent a character of `message` as another one."""
    return message_line is not None and folds_character(message, message_line[9:46].rstrip())


def decoded_text(message_line):
    return None if message_line is None else message_line[9:46].rstrip()


def garbled(message, message_line):
    """The reference sent a field it cannot hold as another value."""
    return garbles_field(message, decoded_text(message_line)) is not None


def sound_instead(message, code, message_line):
    """Ours, where the reference garbles a field: refused, or the message as
    typed, or free text cut to its 13 characters (the reference's own cut)."""
    decoded = decoded_text(message_line)
    if code == 2:
        return True
    if code != 0 or decoded is None:
        return False
    return spelling(message) == spelling(decoded) or decoded == " ".join(message.upper().split())[:13].rstrip()


def reference_fault(message_line, block):
    if message_line is None or block is None:
        return True
    digits = "".join(block.split("\n")[1:])
    return ("bad message" in message_line or "<...>" in message_line or "<>" in message_line or len(digits) != 160
            or any(c not in "0123" for c in digits) or message_line[9:46].strip() == "")


def deliberate(message):
    """Messages we send differently from the reference on purpose."""
    text = " ".join(message.upper().split())
    # FST4W: a 3-character call with a 1-2 character suffix; the reference
    # sends the call as its own prefix ("K1A/P 37" as "K1A/K1A 37").
    return message in DELIBERATE or re.fullmatch(r"[A-Z0-9]{3}/[A-Z0-9]{1,2} \d{1,2}", text) is not None


def generated_messages(count, seed):
    rng = random.Random(seed)
    letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"

    def call():
        prefix = rng.choice(["K", "W", "N", "G", "VK", "JA", "PA", "DL", "KH", "4X", "3D", "F", "Q", "QA"])
        return prefix + rng.choice("0123456789") + "".join(rng.choice(letters) for _ in range(rng.randint(1, 3)))

    def compound():
        return rng.choice([f"{rng.choice(['PJ4', 'VE3', 'KH6', 'F'])}/{call()}", f"{call()}/{rng.choice('0123456789PR')}"])

    def grid():
        return rng.choice("ABCDEFGHIJKLMNOPQR") + rng.choice("ABCDEFGHIJKLMNOPQR") + f"{rng.randint(0, 99):02d}"

    def report():
        return f"{rng.choice(['', 'R'])}{rng.randint(-50, 49):+03d}"

    forms = [
        lambda: f"{call()} {call()} {rng.choice([grid(), report(), 'RRR', 'RR73', '73'])}",
        lambda: f"CQ {call()} {grid()}",
        lambda: f"CQ {rng.choice(['DX', 'TEST', 'NA', '%03d' % rng.randint(0, 999)])} {call()} {grid()}",
        lambda: f"{compound()} {call()} {rng.choice([grid(), '73', report()])}",
        lambda: f"<{compound()}> {call()} {rng.choice(['RRR', '73', ''])}".strip(),
        lambda: f"{compound()} <{call()}> {rng.choice(['RR73', '73', ''])}".strip(),
        lambda: f"{call()} {grid()} {rng.randint(0, 60)}",
        lambda: f"{compound()} {rng.randint(0, 60)}",
        lambda: f"{call()} RR73; {call()} <{compound()}> {rng.randint(-30, 30)}",
        lambda: f"{call()} {call()} {rng.choice(['', 'R '])}{rng.randint(1, 32)}{rng.choice('ABCDEF')} "
                f"{rng.choice(['EMA', 'DX', 'WWA', 'NTX', 'SCV'])}",
        lambda: f"{rng.choice(['', 'TU; '])}{call()} {call()} {rng.choice(['', 'R '])}5{rng.randint(2, 9)}9 "
                f"{rng.choice(['MA', 'ON', 'DX', 'X42', str(rng.randint(1, 7999))])}",
        lambda: f"<{call()}> <{compound()}> {rng.choice(['', 'R '])}{rng.randint(52, 59)}{rng.randint(1, 2047):04d} "
                f"{grid()}{rng.choice('ABCDEFGHIJKLMNOPQRSTUVWX')}{rng.choice('ABCDEFGHIJKLMNOPQRSTUVWX')}",
        lambda: "".join(rng.choice("0123456789ABCDEF") for _ in range(rng.randint(1, 18))),
        # Fields at and past their limits: prefixes and suffixes with digits,
        # reports and serials around their ends, grid letters past R,
        # several hex-like words, two /MM calls.
        lambda: f"{call()}/{rng.choice(['0A', '09', '10', '123', '100', '3L5', '3L6', '400', 'ZZ9', '7', 'P', 'QRP'])} "
                f"{rng.randint(0, 60)}",
        lambda: f"{rng.choice(['00', '0K', 'K', '1AB', 'ZZZ', 'PJ4A', '3D2'])}/{call()} {rng.randint(0, 60)}",
        lambda: f"{call()} {call()} {rng.choice(['', 'R', 'R '])}{rng.choice([-99, -52, -51, -50, -49, 49, 50, 51, 99]):+03d}",
        lambda: f"<{call()}> <{call()}> {rng.choice(['', 'R '])}{rng.randint(52, 59)}"
                f"{rng.choice([1, 2046, 2047, 2048, 2049, 4095, 9999]):04d} {grid()}{rng.choice('AMX')}{rng.choice('AMX')}",
        lambda: f"W9XYZ {call()} 5{rng.randint(2, 9)}9 {rng.choice([1, 7998, 7999, 8000, 8001])}",
        lambda: f"{call()} {call()} {rng.choice('ARSTZ')}{rng.choice('ARSTZ')}{rng.randint(0, 99):02d}",
        lambda: f"{call()} {rng.choice('ARSTZ')}{rng.choice('ARSTZ')}{rng.randint(0, 99):02d} {rng.randint(0, 60)}",
        lambda: " ".join("".join(rng.choice("0123456789ABCDEF") for _ in range(rng.randint(1, 8)))
                         for _ in range(rng.randint(2, 3))),
        lambda: f"{call()}/MM {call()}/MM {rng.choice(['', 'R '])}{rng.randint(1, 32)}{rng.choice('ABCDEFGH')} "
                f"{rng.choice(['MB', 'EMA', 'DX'])}",
        lambda: "".join(rng.choice(" 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ+-./?") for _ in range(rng.randint(1, 20))).strip(),
    ]
    # With the W hint: the FST4W form "<CALL> GRID" and what it must not take.
    hinted = [
        lambda: f"<{rng.choice([call, compound])()}> {grid()}{rng.choice(['', 'AA', 'MX', 'XX'])}",
        lambda: f"{call()} {grid()} {rng.randint(0, 60)}",
        lambda: f"{call()} {call()} {grid()}",
    ]
    # Characters no message type carries (and ';' outside "RR73;" and "TU;"),
    # put into a message of ordinary shape: it must be refused, never sent as
    # some other character.
    foreign = ['"', "#", ",", ";", ":", "!", "*", "=", "'", "$", "&", "|", "\u00e4", "\u00b0"]

    def with_foreign(text):
        at = rng.randint(0, len(text))
        return text[:at] + rng.choice(foreign) + text[at:]

    messages = []
    for _ in range(count):
        hint = "T" if rng.random() < 0.15 else "F"
        text = rng.choice(hinted if hint == "T" else forms)()
        if text and rng.random() < 0.1:
            text = with_foreign(text)
        if text:
            messages.append((text.lower() if rng.random() < 0.1 else text, hint))
    return messages


def vector_messages(path):
    rows = []
    with open(path) as data:
        for line in data:
            if not line.startswith("#"):
                fields = line.rstrip("\n").split("\t")
                rows.append((fields[0], fields[1]))
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--ours", required=True)
    parser.add_argument("--reference", help="default: fst4sim on PATH")
    parser.add_argument("--vectors", required=True)
    parser.add_argument("--generated", type=int, default=300)
    parser.add_argument("--seed", type=int, default=5)
    options = parser.parse_args()

    reference = find_reference(options.reference)
    if reference is None:
        return missing_reference(options.reference)
    options.reference = reference

    failures = 0
    compared = 0
    faults = 0
    cases = [(m, h, True) for m, h in vector_messages(options.vectors)]
    cases += [(m, h, False) for m, h in generated_messages(options.generated, options.seed)]
    for message, hint, from_vectors in cases:
        ref_out = run(options.reference, message, hint)[1]
        ref_message, ref_block = listing(ref_out)
        code, our_out = run(options.ours, message, hint)
        our_message, our_block = listing(our_out)
        if deliberate(message):
            faults += 1
            expected = message.upper().split()[0]
            if code != 0 or our_message is None or our_message[9:46].split()[0] != expected:
                print(f"FAIL {message!r} W={hint}: deliberate difference, ours is {our_message!r}")
                failures += 1
            continue
        if not from_vectors and folded(message, ref_message):
            faults += 1
            if code != 2:
                print(f"FAIL {message!r} W={hint}: the reference folds a character and ours does not refuse it")
                failures += 1
            continue
        if not from_vectors and garbled(message, ref_message):
            faults += 1
            if not sound_instead(message, code, our_message):
                print(f"FAIL {message!r} W={hint}: the reference garbles a field and ours is {our_message!r}")
                failures += 1
            continue
        if unset_serial(message, ref_out) or (not from_vectors and reference_fault(ref_message, ref_block)):
            faults += 1
            if code == 0 and reference_fault(our_message, our_block):
                print(f"FAIL {message!r} W={hint}: reference at fault and ours is no sound listing either")
                failures += 1
            continue
        compared += 1
        if code != 0 or our_message != ref_message or our_block != ref_block:
            failures += 1
            print(f"FAIL {message!r} W={hint}")
            print(f"  reference: {ref_message!r}")
            print(f"  ours:      {our_message!r} (exit {code})")
            if our_block != ref_block:
                print("  symbol listings differ")
    print(f"{compared} compared byte for byte, {faults} reference faults and deliberate differences checked, "
          f"{failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
