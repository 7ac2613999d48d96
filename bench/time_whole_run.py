#!/usr/bin/env python3
"""Times whole runs of the tool, without a terminal, against a simulator that
only copies a saved report, and takes off the fixed pause and the simulator.

Usage: time_whole_run.py BIN_DIR WORK_DIR [RUNS]

The tool runs as `setsid sympack "cq k1abc fn42"` with standard input from
/dev/null (so the destination is the default) and its output thrown away.
The simulator's share is the fake simulator started alone in the same folder.
"""
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

PAUSE_SECONDS = 2.0  # the tool's fixed closing pause
MESSAGE = "cq k1abc fn42"
SIMULATOR_ARGS = ["CQ K1ABC FN42", "120", "1500", "0.0", "0", "0", "0", "0", "F"]
SIMULATOR_RUNS = 50


def timed(command, cwd):
    start = time.perf_counter()
    result = subprocess.run(command, cwd=cwd, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return time.perf_counter() - start, result.returncode


def prepare(bin_dir, work):
    work.mkdir(parents=True, exist_ok=True)
    report = subprocess.run([str(bin_dir / "FST4SIM.EXE")] + SIMULATOR_ARGS,
                            capture_output=True, check=True).stdout
    (work / "SIMREPORT.TXT").write_bytes(report)
    shutil.copy(bin_dir / "bench_fake_simulator", work / "FST4SIM.EXE")


def main():
    bin_dir, work = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 10
    prepare(bin_dir, work)
    tool = ["setsid", str(bin_dir / "sympack"), MESSAGE]
    totals = []
    for _ in range(runs):
        seconds, code = timed(tool, work)
        if code != 0:
            sys.exit(f"the tool ended with exit code {code}")
        totals.append(seconds)
    simulator = min(timed([str(work / "FST4SIM.EXE")], work)[0] for _ in range(SIMULATOR_RUNS))
    own = [t - PAUSE_SECONDS - simulator for t in totals]
    print(f"whole run: median {statistics.median(totals) * 1e3:.1f} ms, "
          f"best {min(totals) * 1e3:.1f} ms over {runs} runs")
    print(f"fake simulator alone: best {simulator * 1e3:.2f} ms")
    print(f"tool's own time (run - {PAUSE_SECONDS * 1e3:.0f} ms pause - simulator): "
          f"median {statistics.median(own) * 1e3:.1f} ms, best {min(own) * 1e3:.1f} ms, "
          f"worst {max(own) * 1e3:.1f} ms")


if __name__ == "__main__":
    main()
