#!/usr/bin/env python3
"""Sets the tool's report reader beside cat on the same files.

Usage: compare_with_cat.py BIN_DIR WORK_DIR

For report files of 1 KiB to 100 MiB in three shapes it times, best of
several runs, `cat FILE > /dev/null` and the reader driver with the committed
read block and with the variant block (each a whole process, started the
same way), and takes each one's peak resident memory from /usr/bin/time.
The drivers print their block sizes, which head the columns.
Prints a Markdown table.
"""
import os
import subprocess
import sys
import time
from pathlib import Path

KIB = 1024
MIB = 1024 * KIB
SIZES = [KIB, 10 * KIB, 100 * KIB, MIB, 10 * MIB, 100 * MIB]
REPORT = "FST4TEMP.TXT"
SHORT_LINE = b"f0: 1500.000   DT: 0.00   TxT: 109.3   SNR: 0.0\r\n"
SYMBOL_LINE = b"0132102331\r\n"
HEADER = b"Channel symbols:\r\n"


def repeated(piece, size, first=b""):
    count = (size - len(first)) // len(piece) + 1
    return (first + piece * count)[:size]


SHAPES = {
    "short lines, no header": lambda size: repeated(SHORT_LINE, size),
    "one line, no line end": lambda size: b"0" * size,
    "header, then symbol lines": lambda size: repeated(SYMBOL_LINE, size, HEADER),
}


def runs_for(size):
    return 3 if size >= 10 * MIB else 15


def best_seconds(command, cwd, runs):
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, check=False)
        best = min(best, time.perf_counter() - start)
    return best


def peak_kib(command, cwd):
    result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, cwd=cwd,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=False)
    return int(result.stderr.decode().strip().splitlines()[-1])


def driver_says(reader, cwd, what):
    """A figure the reader driver prints ("kept", "block")."""
    out = subprocess.run([reader], cwd=cwd, capture_output=True, check=False).stdout.decode()
    return int(dict(line.split() for line in out.splitlines())[what])


def size_label(size):
    return f"{size // MIB} MiB" if size >= MIB else f"{size // KIB} KiB"


def main():
    bin_dir, work = Path(sys.argv[1]), Path(sys.argv[2])
    reader = str(bin_dir / "bench_read_report")
    variant = str(bin_dir / "bench_read_report_variant")
    blocks = [driver_says(r, work, "block") for r in (reader, variant)]
    print(f"| shape | size | cat ms | reader ms ({blocks[0]} B block) | reader / cat "
          f"| variant ms ({blocks[1]} B block) | variant / cat "
          f"| peak KiB cat / reader / variant | symbol bytes kept |")
    print("|---|---|---|---|---|---|---|---|---|")
    for shape, make in SHAPES.items():
        for size in SIZES:
            folder = work / f"{shape.split(',')[0].replace(' ', '_')}_{size}"
            folder.mkdir(parents=True, exist_ok=True)
            (folder / REPORT).write_bytes(make(size))
            runs = runs_for(size)
            cat = ["cat", REPORT]
            t_cat = best_seconds(cat, folder, runs)
            t_reader = best_seconds([reader], folder, runs)
            t_variant = best_seconds([variant], folder, runs)
            peaks = [peak_kib(c, folder) for c in (cat, [reader], [variant])]
            print(f"| {shape} | {size_label(size)} | {t_cat * 1e3:.2f} | {t_reader * 1e3:.2f} "
                  f"| {t_reader / t_cat:.2f} | {t_variant * 1e3:.2f} | {t_variant / t_cat:.2f} "
                  f"| {' / '.join(map(str, peaks))} | {driver_says(reader, folder, 'kept')} |",
                  flush=True)
            os.remove(folder / REPORT)


if __name__ == "__main__":
    main()
