#!/usr/bin/env python3
"""Decodes what a PIC beacon sent under gpsim: reads the writes to its tone
port from gpsim's port log (each with the instruction cycle it happened in),
turns them into symbol events on the slot's time line and has jt9 decode
them (air.py). Prints each decoded text on a line of its own.

The beacon's contract, as examples/pic/ keep it: the port's bits 1:0 carry the
tone number and bit 2 is set while transmitting; the part started at second
START_SECOND of a slot of PERIOD seconds, and an instruction cycle is 4/FOSC s.
"""
import argparse
import re
import sys

import air

CYCLE_LINE = re.compile(r"^0x([0-9A-Fa-f]+) ")
TX_ON = 0x04
TONE_BITS = 0x03


def tone_events(log_path, register, fosc, start_second, period):
    """[(seconds from the slot boundary, tone or None)] for every write."""
    write = re.compile(r"Wrote: 0x([0-9A-Fa-f]+) to " + re.escape(register) + r"\(")
    boundary = period - start_second  # seconds after reset
    events = []
    cycle = None
    with open(log_path, encoding="ascii", errors="replace") as log:
        for line in log:
            match = CYCLE_LINE.match(line)
            if match:
                cycle = int(match.group(1), 16)
                continue
            match = write.search(line)
            if match and cycle is not None:
                value = int(match.group(1), 16)
                tone = value & TONE_BITS if value & TX_ON else None
                events.append((cycle * 4 / fosc - boundary, tone))
    return events


def keying_fault(events, period):
    """What is wrong with the keying, or None: 160 symbols, the first at the
    start offset (1 s, 0.5 s in a 15 s slot), each nsps/12000 s long, then
    silence (all within 1 ms)."""
    symbol = air.NSPS[period] / air.SAMPLE_RATE
    starts = [t for t, tone in events if tone is not None]
    if len(starts) != 160:
        return f"{len(starts)} symbols keyed, not 160"
    stop = [t for t, tone in events if tone is None and t > starts[0]]
    edges = starts + stop[:1]
    if not stop or stop[0] < starts[-1]:
        return "the transmitter is still on after the last symbol"
    offset = air.start_offset(period)
    if abs(starts[0] - offset) > 0.001:
        return f"the first symbol starts {starts[0]:.4f} s into the slot, not {offset} s"
    worst = max(abs(b - a - symbol) for a, b in zip(edges, edges[1:]))
    if worst > 0.001:
        return f"a symbol is {worst * 1000:.2f} ms off its length of {symbol * 1000:.2f} ms"
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--log", required=True)
    parser.add_argument("--register", default="portb")
    parser.add_argument("--fosc", type=int, required=True)
    parser.add_argument("--start-second", type=int, required=True)
    parser.add_argument("--period", type=int, required=True)
    parser.add_argument("--fst4w", action="store_true")
    args = parser.parse_args()
    events = tone_events(args.log, args.register, args.fosc, args.start_second, args.period)
    fault = keying_fault(events, args.period)
    if fault:
        sys.exit(f"{args.log}: {fault}")
    samples = air.samples_from_tones(events, args.period)
    for text, _ in air.decode(samples, args.period, args.fst4w):
        print(text)


if __name__ == "__main__":
    main()
