#!/usr/bin/env python3
"""sympack with our own FST4SIM.EXE: the include file must pack the reference
simulator's symbols for the message, as captured in reference_vectors.tsv:
those of its FST4 form (hint F), or with --fst4w on the command line those of
its FST4W form (hint T), which differ for the second message of an FST4W pair.

Runs without a terminal (new session, message and destination as stdin lines),
so it checks the whole road from the typed message to the file's bytes. Then
what the library's word becomes at the end of a run: a message it refuses
(FST4SIM.EXE exit 2) ends with exit 4 and no include file, one whose symbols
carry another text with exit 9, one it sends as typed with exit 0."""
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
# message, the run's exit code, whether FST4.INC is written
OUTCOMES = [("K1ABC W9XYZ +51", 4, False),    # a report past +50 would wrap to -50: refused
            ("K1ABC FN42 -10", 9, True),      # free text cut to 13 characters
            ("K1ABC/123 37", 0, True)]        # no FST4W suffix field holds it: free text, as typed


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


def run_sympack(bin_folder, work, options, answers):
    shutil.copy(os.path.join(bin_folder, "FST4SIM.EXE"), os.path.join(work, "FST4SIM.EXE"))
    env = {k: v for k, v in os.environ.items() if k.lower() != "comspec"}
    return subprocess.run([os.path.join(bin_folder, "sympack"), *options], cwd=work, env=env,
                          input=answers.encode(), capture_output=True, start_new_session=True, timeout=60)


def run_one(args, options, typed, sent, hint):
    symbols = reference_symbols(args.vectors, sent, hint)
    assert len(symbols) == 160
    expected = expected_include(symbols, sent)
    assert expected.count(b"de  ") == 5 and expected.count(b"0x") == 40

    with tempfile.TemporaryDirectory() as work:
        run = run_sympack(args.bin, work, options, typed + "\n\n")
        if run.returncode != 0:
            sys.exit(f"sympack {options} exited {run.returncode}: {run.stderr.decode(errors='replace')}")
        with open(os.path.join(work, "FST4.INC"), "rb") as written:
            actual = written.read()
        leftovers = sorted(set(os.listdir(work)) - {"FST4SIM.EXE", "FST4.INC"})
    if actual != expected:
        sys.exit(f"{options} {typed!r}: include file differs:\n{actual!r}\nexpected:\n{expected!r}")
    if leftovers:
        sys.exit(f"temporary files left behind: {leftovers}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="folder with sympack, sympack-cmd, FST4SIM.EXE")
    parser.add_argument("--vectors", required=True)
    args = parser.parse_args()

    for options, typed, sent, hint in RUNS:
        run_one(args, options, typed, sent, hint)
    for message, code, written in OUTCOMES:
        with tempfile.TemporaryDirectory() as work:
            run = run_sympack(args.bin, work, [], message + "\n\n")
            if (run.returncode, os.path.exists(os.path.join(work, "FST4.INC"))) != (code, written):
                sys.exit(f"{message!r}: exit {run.returncode}, FST4.INC written: "
                         f"{os.path.exists(os.path.join(work, 'FST4.INC'))}; expected {code}, {written}")
    print("include files match the reference symbols; refused, cut and as-typed messages end as they should")


if __name__ == "__main__":
    main()
