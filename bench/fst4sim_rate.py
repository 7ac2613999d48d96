#!/usr/bin/env python3
"""Reports per second: our FST4SIM.EXE against WSJT-X's fst4sim.

Both programs print one report per run for the same messages (the first N
rows of reference_vectors.tsv, the tool's fixed arguments), alternating
message by message so both see the same machine state. With --bench the
in-process rate of the fst4 library (Google Benchmark) is shown as well.
All ratios come from this one run.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ARGS = ["120", "1500", "0.0", "0", "0", "0", "0"]


def messages(count):
    rows = []
    with open(os.path.join(HERE, "..", "tests", "fst4", "reference_vectors.tsv")) as data:
        for line in data:
            if not line.startswith("#"):
                fields = line.split("\t")
                rows.append((fields[0], fields[1]))
    return rows[:count]


def timed(program, message, hint):
    start = time.perf_counter()
    subprocess.run([program, message, *ARGS, hint], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return time.perf_counter() - start


def library_rate(bench):
    out = subprocess.run([bench, "--benchmark_filter=BM_EncodeVectorMessages", "--benchmark_format=json"],
                         capture_output=True, text=True, check=True).stdout
    result = json.loads(out)["benchmarks"][0]
    return result["items_per_second"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--ours", required=True)
    parser.add_argument("--reference", default=shutil.which("fst4sim"), help="default: fst4sim on PATH")
    parser.add_argument("--bench", help="fst4_bench binary for the in-process rate")
    parser.add_argument("--count", type=int, default=200)
    options = parser.parse_args()
    if not options.reference or not os.access(options.reference, os.X_OK):
        print(f"reference {options.reference} not installed")
        return 77

    rows = messages(options.count)
    ours = reference = 0.0
    for message, hint in rows:
        reference += timed(options.reference, message, hint)
        ours += timed(options.ours, message, hint)
    n = len(rows)
    floor = None
    true = shutil.which("true")
    if true:  # cost of starting any process here
        floor = sum(timed(true, m, h) for m, h in rows)
    print(f"messages: {n} (TRsec 120, nfiles 0)")
    print(f"fst4sim (reference), one process per report: {n / reference:9.1f} reports/s")
    print(f"FST4SIM.EXE (ours),  one process per report: {n / ours:9.1f} reports/s")
    print(f"ratio, process per report: {reference / ours:.1f} x")
    if floor is not None:
        print(f"true (process start-up alone):               {n / floor:9.1f} runs/s")
        if ours > floor:
            print(f"ratio, above start-up cost:  {(reference - floor) / (ours - floor):.0f} x")
    if options.bench:
        rate = library_rate(options.bench)
        print(f"fst4 library, in process:                    {rate:9.0f} reports/s")
        print(f"ratio, library against reference process:    {rate / (n / reference):.0f} x")
    return 0


if __name__ == "__main__":
    sys.exit(main())
