#!/usr/bin/env python3
"""What a beacon puts on the air, as WSJT-X's decoder hears it.

A simulated beacon gives either symbol events, (time in s, tone 0..3 or None
for silence), such as a PIC's tone pins read from gpsim's port log, or the
edge times of a square wave on an audio pin. Either becomes one T/R slot of
12 kHz 16-bit mono audio with white noise added, the slot starting at time 0,
which jt9 then decodes. Times are seconds from the slot boundary.

Constants from WSJT-X (lib/fst4/fst4sim.f90): 12000 samples per second and
nsps samples per symbol for each T/R period; the tones are 12000/nsps Hz
apart, above the audio frequency f0."""
import array
import math
import os
import random
import subprocess
import tempfile
import wave

SAMPLE_RATE = 12000
NSPS = {15: 720, 30: 1680, 60: 3888, 120: 8200, 300: 21504, 900: 66560, 1800: 134400}
FST4W_PERIODS = (120, 300, 900, 1800)
# Where a transmission starts in its slot, in seconds: where WSJT-X's fst4sim
# puts its wave (measured from its audio files), and where jt9 gives DT 0.
START_OFFSET = {15: 0.5}
START_OFFSET_LONGER = 1.0
F0 = 1500.0
NOISE_RMS = 1000.0  # in 16-bit counts
SNR_DB = -12.0      # in WSJT-X's 2500 Hz reference bandwidth: clearly above the decoders' limits


def start_offset(period):
    return START_OFFSET.get(period, START_OFFSET_LONGER)


def tone_spacing(period):
    return SAMPLE_RATE / NSPS[period]


def _noise_and_scale(samples, signal_rms, snr_db, seed):
    """Scales a signal of the given RMS to the wanted SNR against white noise of
    NOISE_RMS (whose share in 2500 Hz is 2500/6000 of it) and adds the noise."""
    noise_in_band = NOISE_RMS * math.sqrt(2500.0 / (SAMPLE_RATE / 2))
    gain = noise_in_band * 10 ** (snr_db / 20) / signal_rms
    rng = random.Random(seed)
    out = array.array("h")
    for value in samples:
        v = gain * value + rng.gauss(0.0, NOISE_RMS)
        out.append(max(-32767, min(32767, int(round(v)))))
    return out


def samples_from_tones(events, period, f0=F0, snr_db=SNR_DB, seed=1):
    """Continuous-phase 4-FSK: from each event on, tone k sounds at
    f0 + k * spacing until the next event; None is silence."""
    spacing = tone_spacing(period)
    events = sorted(events)
    count = period * SAMPLE_RATE
    signal = [0.0] * count
    phase = 0.0
    index = 0
    tone = None
    for n in range(count):
        t = n / SAMPLE_RATE
        while index < len(events) and events[index][0] <= t:
            tone = events[index][1]
            index += 1
        if tone is not None:
            signal[n] = math.sin(phase)
            phase += 2 * math.pi * (f0 + tone * spacing) / SAMPLE_RATE
    return _noise_and_scale(signal, math.sqrt(0.5), snr_db, seed)


def samples_from_edges(edges, period, snr_db=SNR_DB, seed=1):
    """A pin that starts low and toggles at each edge time, as the part drives
    it: each sample is the pin's mean level over its 1/12000 s (+1 high, -1
    low, 0 before the first edge and after the last), which keeps the
    square wave's fundamental and damps what lies above the band."""
    edges = sorted(edges)
    count = period * SAMPLE_RATE
    signal = [0.0] * count
    if len(edges) >= 2:
        level = 1.0
        for start, end in zip(edges, edges[1:]):
            a, b = max(start * SAMPLE_RATE, 0.0), min(end * SAMPLE_RATE, count)
            n = int(a)
            while n < b:
                part = min(b, n + 1) - max(a, n)
                signal[n] += level * part
                n += 1
            level = -level
    # A square wave of amplitude 1 carries 4/pi in its fundamental.
    return _noise_and_scale(signal, (4 / math.pi) * math.sqrt(0.5), snr_db, seed)


def write_wav(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(SAMPLE_RATE)
        out.writeframes(samples.tobytes())


def decode(samples, period, fst4w, f0=F0, jt9="jt9"):
    """The texts jt9 decodes from one slot of samples, in FST4W or FST4 mode,
    each with its time offset DT in seconds: [(text, dt), ...]. jt9 reads the
    slot's time from a file name of the form 000000_0001.wav and writes its
    files into its working folder, so it runs in a folder of its own."""
    with tempfile.TemporaryDirectory() as work:
        name = "000000_0001.wav"
        write_wav(os.path.join(work, name), samples)
        mode = "--fst4w" if fst4w else "--fst4"
        run = subprocess.run([jt9, mode, "-p", str(period), "-f", str(int(f0)), "-d", "3", name],
                             cwd=work, capture_output=True, text=True, timeout=600)
        if run.returncode != 0:
            raise RuntimeError(f"jt9 failed ({run.returncode}): {run.stderr.strip()}")
    decoded = []
    for line in run.stdout.splitlines():
        # "0000 -12  0.1 1500 `  K1ABC FN42 37" : time, SNR, DT, frequency, mode mark, text
        fields = line.split(None, 5)
        if len(fields) == 6 and fields[0].isdigit() and fields[4] == "`":
            decoded.append((fields[5].strip(), float(fields[2])))
    return decoded
