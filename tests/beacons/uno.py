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
import math
import os
import random
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import wave

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SKETCH = os.path.join(ROOT, "fst4", "arduino", "examples", "FST4WAudioBeacon")
SAMPLE_RATE = 12000
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


def wav(edges, start, period, path, snr_db):
    """A 12 kHz WAV of the slot from `start`: the pin's square wave as the
    sine of its phase (pi per half cycle, the transmitter's low-pass), with
    white noise at `snr_db` in 2500 Hz."""
    edges = [t - start for t in edges if start <= t < start + period]
    count = period * SAMPLE_RATE
    samples = [0.0] * count
    for i in range(len(edges) - 1):
        a, b = edges[i], edges[i + 1]
        first, last = math.ceil(a * SAMPLE_RATE), math.ceil(b * SAMPLE_RATE)
        for n in range(first, min(last, count)):
            samples[n] = math.sin(math.pi * (i + (n / SAMPLE_RATE - a) / (b - a)))
    sigma = math.sqrt(0.5 / 10 ** (snr_db / 10) * (SAMPLE_RATE / 2) / 2500)
    noise = random.Random(1)
    peak = 1.0 + 4 * sigma
    frames = b"".join(struct.pack("<h", max(-32767, min(32767, int(32767 * (s + noise.gauss(0, sigma)) / peak))))
                      for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(SAMPLE_RATE)
        w.writeframes(frames)


def decode(path, fst4w, period):
    """jt9's decoded texts of the WAV (run in its own folder: jt9 leaves files)."""
    folder = tempfile.mkdtemp(prefix="jt9-")
    try:
        shutil.copy(path, os.path.join(folder, "000000_0001.wav"))
        out = subprocess.run(["jt9", "--fst4w" if fst4w else "--fst4", "-p", str(period), "-f", "1500", "-F", "100",
                              "000000_0001.wav"], cwd=folder, capture_output=True, text=True, timeout=600).stdout
    finally:
        shutil.rmtree(folder)
    # Lines "0001 -15  0.0 1500 `  K1ABC FN42 37": time, SNR, DT, audio frequency,
    # the mode's mark, then the text.
    return [m.group(1).strip() for m in re.finditer(r"^\s*\d{4,6}\s+-?\d+\s+-?[\d.]+\s+\d+\s+`(.*)$", out, re.M)]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("messages", nargs="+", metavar="MESSAGE")
    parser.add_argument("--fst4w", action="store_true", help="send one MESSAGE as FST4W")
    parser.add_argument("--period", type=int, default=120)
    parser.add_argument("--snr", type=float, default=-15.0, help="dB in 2500 Hz (default -15)")
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
            path = os.path.join(folder, "slot%d.wav" % slot)
            wav(edges, slot * args.period, args.period, path, args.snr)
            texts = decode(path, fst4w, args.period)
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
