#!/usr/bin/env python3
"""The Uno audio beacon on the air: builds fst4/arduino's FST4WAudioBeacon for
the Uno with one message (or a call's FST4W pair), runs it under simavr from a
slot boundary for one slot per message, records its audio pin (simavr's VCD
trace of PB1, pin 9), turns each slot's pin edges into a 12 kHz WAV and
decodes it with WSJT-X's jt9. Prints one line per message,
"uno: <message> decoded as <text>", and fails when any text differs.

  uno.py [--fst4w] [--period S] MESSAGE    one message, FST4 unless --fst4w
  uno.py [--period S] FIRST SECOND         an FST4W pair ("K1ABC FN42 37",
      "<K1ABC> FN42AB"): the beacon made from its call, locator and power
      sends it in two slots, in turn
"""
import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import air

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SKETCH = os.path.join(ROOT, "fst4", "arduino", "examples", "FST4WAudioBeacon")
F_CPU = 16000000

# simavr reads what to trace from the firmware's .mmcu section (simavr 1.6,
# sim/avr/avr_mcu_section.h): records of tag, length and value. Tags: 12 the
# VCD file's name, 13 its flush period in us, 15 a port pin (port letter,
# pin number, trace name). The link keeps the section through _mmcu, and
# puts it out of the way of the flash image (simavr loads the data after the
# code, where the section would otherwise sit).
TRACE_C = r"""
#include <stdint.h>
#define MMCU __attribute__((section(".mmcu"), used))
struct mmcu_string { uint8_t tag, len; char text[64]; } __attribute__((packed));
struct mmcu_long { uint8_t tag, len; uint32_t value; } __attribute__((packed));
struct mmcu_pin { uint8_t tag, len, port; void *pin; char name[32]; } __attribute__((packed));
const struct mmcu_string _mmcu_vcd_file MMCU = {12, sizeof(struct mmcu_string) - 2, "pin.vcd"};
const struct mmcu_long _mmcu_vcd_period MMCU = {13, sizeof(struct mmcu_long) - 2, 100000};
const struct mmcu_pin _mmcu_audio MMCU = {15, sizeof(struct mmcu_pin) - 2, 'B', (void *)1, "audio"};
const uint8_t _mmcu[2] MMCU = {0, 0};
"""


def build(defines, folder):
    """Copies the sketch with its settings replaced and builds it; the ELF."""
    sketch = os.path.join(folder, "FST4WAudioBeacon")
    shutil.copytree(SKETCH, sketch)
    path = os.path.join(sketch, "FST4WAudioBeacon.ino")
    text = open(path).read()
    for name, value in defines.items():
        text, count = re.subn(r"^(// )?#define %s .*$" % name, "#define %s %s" % (name, value), text, count=1,
                              flags=re.M)
        if count != 1:
            sys.exit("uno: the sketch has no setting %s" % name)
    open(path, "w").write(text)
    open(os.path.join(sketch, "simavr_trace.c"), "w").write(TRACE_C)
    env = dict(os.environ, ARDUINO_ELF_FLAGS="-Wl,--undefined=_mmcu,--section-start=.mmcu=0x910000")
    out = os.path.join(folder, "build")
    subprocess.run([os.path.join(ROOT, "scripts", "arduino-library.sh"), "--compile", path, out], env=env,
                   check=True, stdout=subprocess.DEVNULL)
    return os.path.join(out, "FST4WAudioBeacon.ino.elf")


def vcd_unit(path):
    """The trace's time unit in seconds ($timescale; simavr writes 10 ns)."""
    with open(path) as f:
        m = re.search(r"\$timescale\s*(\d+)\s*(s|ms|us|ns|ps)", f.read(4096))
    return int(m.group(1)) * {"s": 1, "ms": 1e-3, "us": 1e-6, "ns": 1e-9, "ps": 1e-12}[m.group(2)] if m else None


def vcd_edges(path):
    """The audio pin's edges in seconds (simavr may log one level twice), and
    the last time the trace reached."""
    unit, ident, level, edges, now = vcd_unit(path), None, None, [], 0
    with open(path) as f:
        for line in f:
            if line.startswith("$var") and line.split()[4] == "audio":
                ident = line.split()[3]
            elif line.startswith("#"):
                now = int(line[1:])
            elif ident and line[1:].strip() == ident and line[0] in "01" and line[0] != level:
                if level is not None:
                    edges.append(now * unit)
                level = line[0]
    return edges, now * unit


def run(elf, folder, seconds):
    """Runs the firmware under simavr until its trace passes `seconds` of part time."""
    log = open(os.path.join(folder, "uart.txt"), "w")
    sim = subprocess.Popen(["simavr", "-m", "atmega328p", "-f", str(F_CPU), elf], cwd=folder, stdout=log,
                           stderr=subprocess.STDOUT)
    trace = os.path.join(folder, "pin.vcd")
    try:
        while sim.poll() is None:
            time.sleep(2)
            if os.path.exists(trace) and last_time(trace) >= seconds:
                break
    finally:
        if sim.poll() is None:
            sim.send_signal(signal.SIGINT)  # simavr closes the trace on it
            try:
                sim.wait(10)
            except subprocess.TimeoutExpired:
                sim.kill()
                sim.wait()
    return vcd_edges(trace)


def last_time(path):
    """The last time stamp in the trace so far, in seconds."""
    unit = vcd_unit(path)
    with open(path, "rb") as f:
        f.seek(max(0, os.path.getsize(path) - 4096))
        tail = f.read()
        stamps = re.findall(rb"^#(\d+)$", tail[:tail.rfind(b"\n") + 1], re.M)  # whole lines only
    return int(stamps[-1]) * unit if stamps and unit else 0.0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("messages", nargs="+", metavar="MESSAGE")
    parser.add_argument("--fst4w", action="store_true", help="send one MESSAGE as FST4W")
    parser.add_argument("--period", type=int, default=120)
    parser.add_argument("--snr", type=float, default=air.SNR_DB, help="dB in 2500 Hz")
    parser.add_argument("--texts", action="store_true", help="print only the decoded texts, one a line")
    args = parser.parse_args()
    expected = args.messages
    if len(expected) == 1:
        defines = {"BEACON_MESSAGE": '"%s"' % expected[0].replace("\\", "\\\\").replace('"', '\\"'),
                   "BEACON_FST4W": int(args.fst4w)}
        fst4w = args.fst4w
    else:
        first, second = (m.split() for m in expected[:2])
        if len(expected) != 2 or len(second) != 2 or not second[0].startswith("<") or not first[-1].isdigit():
            parser.error("a pair is \"CALL GRID4 DBM\" (or \"CALL DBM\") then \"<CALL> GRID\"")
        defines = {"BEACON_CALL": '"%s"' % second[0].strip("<>"), "BEACON_GRID": '"%s"' % second[1],
                   "BEACON_DBM": first[-1], "BEACON_FST4W": 1}
        fst4w = True
    defines["BEACON_PERIOD"] = args.period
    folder = tempfile.mkdtemp(prefix="uno-beacon-")
    try:
        elf = build(defines, folder)
        slots = len(expected)
        edges, reached = run(elf, folder, slots * args.period)
        failures = 0
        for slot, message in enumerate(expected):
            start = slot * args.period
            slot_edges = [t - start for t in edges if start <= t < start + args.period]
            samples = air.samples_from_edges(slot_edges, args.period, snr_db=args.snr)
            texts = [text for text, _ in air.decode(samples, args.period, fst4w)]
            if args.texts:
                print("\n".join(texts))
            else:
                print("uno: %s decoded as %s" % (message, " | ".join(texts) if texts else "nothing"))
            if texts != [message]:
                failures += 1
        if reached < slots * args.period:
            print("uno: simavr stopped at %.1f s of part time" % reached, file=sys.stderr)
            failures += 1
        return 1 if failures else 0
    finally:
        if os.environ.get("UNO_KEEP"):
            print("uno: files kept in " + folder, file=sys.stderr)
        else:
            shutil.rmtree(folder)


if __name__ == "__main__":
    sys.exit(main())
