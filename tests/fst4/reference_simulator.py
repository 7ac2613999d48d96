"""WSJT-X's fst4sim, the reference our FST4SIM.EXE is compared with: where
it is found, what a run without it reports, and the arguments every
comparison gives it besides the message and the W hint."""

import os
import shutil

SKIPPED = 77  # ctest's skip code for the comparisons (SKIP_RETURN_CODE)
REFERENCE = "fst4sim"  # WSJT-X's simulator, Debian package wsjtx

# TRsec f0 DT fdop del nfiles snr, the same for every compared message.
FIXED_ARGS = ["120", "1500", "0.0", "0", "0", "0", "0"]


def find_reference(given=None):
    """The reference simulator: the path given, else fst4sim found on PATH;
    None when there is none."""
    found = shutil.which(given or REFERENCE)
    return os.path.abspath(found) if found else None


def missing_reference(given=None):
    """Says that the reference is missing and gives the exit status: skipped,
    unless SYMPACK_REFERENCE=1 says this run installed it (scripts/setup.sh,
    scripts/test.sh), when a missing reference is a failure."""
    what = given or f"{REFERENCE} (WSJT-X, Debian package wsjtx) on PATH"
    if os.environ.get("SYMPACK_REFERENCE") == "1":
        print(f"FAIL: the reference simulator {what} is not found, and SYMPACK_REFERENCE=1 expects it")
        return 1
    print(f"SKIP: the reference simulator {what} is not found; nothing compared")
    return SKIPPED
