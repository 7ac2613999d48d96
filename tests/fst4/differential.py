#!/usr/bin/env python3
"""Differential run: our FST4SIM.EXE against WSJT-X's fst4sim on random
messages of every type (the generator of conformance.py, with hinted FST4W
forms and calls beginning with Q), under a seed that is printed so that any
run can be repeated:  differential.py --ours FST4SIM.EXE [--seed N] [--count N]

Each message falls in one class:
  same              both print the same Message: line and symbol listing
  reference crash   the reference prints no listing (it died or stopped)
  reference garble  the reference's listing is unsound: its bad-message text,
                    symbols outside 0..3, an unknown "<...>" hash, an empty
                    decode, an exchange read from an unset value, or a field
                    it cannot hold sent as another value (a report past
                    +-50, an FST4W prefix or suffix): ours must then refuse,
                    or send the message as typed, or its free-text cut
  refused fold      the message holds a character no message type carries,
                    the reference sends it as another character, ours refuses
  deliberate        we send it differently on purpose (README, conformance.py)
  real difference   anything else, also our refusing a message the reference
                    sends soundly, or ours being unsound where it is at fault

Exit status: 0 when there is no real difference, 1 otherwise, 77 when the
reference is not found (a failure with SYMPACK_REFERENCE=1).
"""

import argparse
import collections
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from conformance import (deliberate, folded, garbled, generated_messages, listing,  # noqa: E402
                         reference_fault, run, sound_instead, unset_serial)
from reference_simulator import find_reference, missing_reference  # noqa: E402

SAME, CRASH, GARBLE, FOLD, DELIBERATE, REAL = ("same", "reference crash", "reference garble", "refused fold",
                                               "deliberate", "real difference")


def classify(ours, reference, message, hint):
    """The class of one message, and a line saying why for the differences."""
    ref_code, ref_out = run(reference, message, hint)
    our_code, our_out = run(ours, message, hint)
    ref_message, ref_block = listing(ref_out)
    our_message, our_block = listing(our_out)
    our_sound = our_code == 2 or (our_code == 0 and not reference_fault(our_message, our_block))
    if our_code == 0 and our_message == ref_message and our_block == ref_block:
        return SAME, ""
    if deliberate(message):
        expected = message.upper().split()[0]
        if our_code == 0 and our_message is not None and our_message[9:46].split()[0] == expected:
            return DELIBERATE, ""
        return REAL, f"deliberate difference, but ours is {our_message!r} (exit {our_code})"
    if folded(message, ref_message):
        if our_code == 2:
            return FOLD, ""
        return REAL, f"the reference folds a character into {ref_message!r}; ours {our_message!r} (exit {our_code})"
    if ref_code == 0 and garbled(message, ref_message):
        if sound_instead(message, our_code, our_message):
            return GARBLE, ""
        return REAL, f"the reference garbles a field into {ref_message!r}; ours {our_message!r} (exit {our_code})"
    if ref_code != 0 or ref_block is None:
        kind = CRASH
    elif unset_serial(message, ref_out) or reference_fault(ref_message, ref_block):
        kind = GARBLE
    else:
        why = "ours refuses it" if our_code == 2 else f"ours {our_message!r} (exit {our_code})"
        if our_code == 0 and our_message == ref_message:
            why = "same decoded text, different symbols"
        return REAL, f"reference {ref_message!r}; {why}"
    if not our_sound:
        return REAL, f"{kind}, and ours is unsound too: {our_message!r} (exit {our_code})"
    return kind, ""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--ours", required=True)
    parser.add_argument("--reference", help="default: fst4sim on PATH")
    parser.add_argument("--seed", type=int, default=None, help="default: a new random seed")
    parser.add_argument("--count", type=int, default=300)
    options = parser.parse_args()
    reference = find_reference(options.reference)
    if reference is None:
        return missing_reference(options.reference)
    options.reference = reference

    seed = options.seed if options.seed is not None else random.SystemRandom().randrange(1 << 32)
    print(f"differential run, seed {seed} (repeat: --seed {seed} --count {options.count})", flush=True)
    counts = collections.Counter()
    for message, hint in generated_messages(options.count, seed):
        kind, why = classify(options.ours, options.reference, message, hint)
        counts[kind] += 1
        if kind == REAL:
            print(f"REAL DIFFERENCE {message!r} W={hint}: {why}")
    print(", ".join(f"{counts[k]} {k}" for k in (SAME, CRASH, GARBLE, FOLD, DELIBERATE, REAL)) + f" (seed {seed})")
    return 1 if counts[REAL] else 0


if __name__ == "__main__":
    sys.exit(main())
