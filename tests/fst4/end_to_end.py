#!/usr/bin/env python3
"""sympack with our own FST4SIM.EXE: the include file must pack the reference
simulator's symbols for the message, as captured in reference_vectors.tsv:
those of its FST4 form (hint F), or with --fst4w on the command line those of
its FST4W form (hint T), which differ for the second message of an FST4W pair.

Runs without a terminal (new session, message and destination as stdin lines),
so it checks the whole road from the typed message to the file's bytes."""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

# (options on the command line, message typed, message sent, reference hint)
RUNS = [([], "cq k1abc fn42", "CQ K1ABC FN42", "F"),
        ([], "<k1abc> fn42ab", "<K1ABC> FN42AB", "F"),
        (["--fst4w"], "<k1abc> fn42ab", "<K1ABC> FN42AB", "T"),
        (["/FST4W"], "k1abc fn42 37", "K1ABC FN42 37", "T")]


def reference_symbols(vectors, message, hint):
    with open(vectors, encoding="utf-8") as rows:
        for row in rows:
            fields = row.rstrip("\n").split("\t")
            if len(fields) >= 3 and fields[0] == message and fields[1] == hint:
                return fields[2]
    raise SystemExit(f"no reference vector for {message!r} ({hint})")


def expected_include(symbols, message):
    """The include file as the packing rules give it, written out directly."""
    values = [int(symbols[i:i + 4].ljust(4, "0"), 4) for i in range(0, len(symbols), 4)]
    lines = [";     FST4 SYMBOLS Packed 4 per byte"]
    for start in range(0, len(values), 8):
        lines.append("        de  " + ",".join(f" 0x{v:02X}" for v in values[start:start + 8]))
    lines.append("    ;   " + message)
    return ("\r\n".join(lines) + "\r\n\r\n\r\n").encode("ascii")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="folder with sympack, sympack-cmd, FST4SIM.EXE")
    parser.add_argument("--vectors", required=True)
    args = parser.parse_args()

    for options, typed, sent, hint in RUNS:
        run_one(args, options, typed, sent, hint)
    print("include files match the reference symbols")


def run_one(args, options, typed, sent, hint):
    symbols = reference_symbols(args.vectors, sent, hint)
    assert len(symbols) == 160
    expected = expected_include(symbols, sent)
    assert expected.count(b"de  ") == 5 and expected.count(b"0x") == 40

    with tempfile.TemporaryDirectory() as work:
        shutil.copy(os.path.join(args.bin, "FST4SIM.EXE"), os.path.join(work, "FST4SIM.EXE"))
        env = {k: v for k, v in os.environ.items() if k.lower() != "comspec"}
        run = subprocess.run([os.path.join(args.bin, "sympack"), *options], cwd=work, env=env,
                             input=(typed + "\n\n").encode(), capture_output=True,
                             start_new_session=True, timeout=60)
        if run.returncode != 0:
            sys.exit(f"sympack {options} exited {run.returncode}: {run.stderr.decode(errors='replace')}")
        with open(os.path.join(work, "FST4.INC"), "rb") as written:
            actual = written.read()
        leftovers = sorted(set(os.listdir(work)) - {"FST4SIM.EXE", "FST4.INC"})
    if actual != expected:
        sys.exit(f"{options} {typed!r}: include file differs:\n{actual!r}\nexpected:\n{expected!r}")
    if leftovers:
        sys.exit(f"temporary files left behind: {leftovers}")

if __name__ == "__main__":
    main()
