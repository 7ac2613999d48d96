"""Expected outputs kept as data (tests/e2e/golden/), taken from real runs of
the tool and checked by eye, instead of a second model of its rules written
in Python: a change in what the tool writes or passes on fails a test.

- cq_k1abc_fn42.inc: FST4.INC of `sympack cq k1abc fn42` with the real
  FST4SIM.EXE beside it (its listing is WSJT-X fst4sim's, the report the fakes
  print). The other include files the tests expect are this one with the
  closing comment's text changed: the fakes print this listing whatever the
  message.
- simulator_arguments.json: for each message a test gives (on the command
  line or typed), the first argument the simulator received, in
  Windows-1252; under "parameters", the eight fixed ones after it.
- destination_names.json: for each typed destination answer, the name of
  the file the tool wrote ("FST4.INC" for an empty first field).
- listing_counts.json: the count of listing characters the tool reports
  for a generated report.

To regenerate them (after a deliberate change of the tool's output; then
read the diff): tests/e2e/golden/regenerate.sh [build folder]. It writes the
include file from a run with the real simulator, then runs the end-to-end
modules with SYMPACK_E2E_GOLDEN=write, in which each table test records what
the tool did instead of comparing it.
"""

import json
import os
import threading

FOLDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "golden")
WRITING = os.environ.get("SYMPACK_E2E_GOLDEN") == "write"
_lock = threading.Lock()


def path(name):
    return os.path.join(FOLDER, name)


def read_bytes(name):
    with open(path(name), "rb") as f:
        return f.read()


def _load(table):
    try:
        with open(path(table), "r", encoding="ascii") as f:
            return json.load(f)
    except FileNotFoundError:
        if WRITING:
            return {}
        raise


def lookup(table, key):
    """The value `table` holds for `key`; KeyError names a missing row."""
    with _lock:
        values = _load(table)
    if key not in values:
        raise KeyError("%s has no row %r: regenerate it (golden.py)" % (table, key))
    return values[key]


def record(table, key, value):
    """In write mode, sets the row `key` of `table` to what the tool did."""
    assert WRITING
    with _lock:
        values = _load(table)
        values[key] = value
        with open(path(table) + ".new", "w", encoding="ascii") as f:
            json.dump(values, f, indent=1, sort_keys=True, ensure_ascii=True)
            f.write("\n")
        os.replace(path(table) + ".new", path(table))


def as_text(data):
    """Bytes as a JSON string, one character per byte."""
    return data.decode("latin-1")


def as_bytes(text):
    return text.encode("latin-1")


# ---- The include file ------------------------------------------------------------------

INCLUDE_FILE = read_bytes("cq_k1abc_fn42.inc")
_COMMENT_START = b"\r\n    ;   "
_COMMENT_END = b"\r\n\r\n\r\n"
assert INCLUDE_FILE.endswith(b"    ;   CQ K1ABC FN42" + _COMMENT_END), "golden include file damaged"


def include_file(comment=b"CQ K1ABC FN42"):
    """The include file the tool writes for the fakes' listing with `comment`
    as the closing comment's text."""
    head = INCLUDE_FILE[:INCLUDE_FILE.rindex(_COMMENT_START)]
    return head + _COMMENT_START + comment + _COMMENT_END


def include_text(comment=b"CQ K1ABC FN42"):
    """The clipboard's text: the include file but its last line end."""
    return include_file(comment)[:-2]


# ---- What the simulator received ----------------------------------------------------------

ARGUMENTS = "simulator_arguments.json"


def parameters():
    return [as_bytes(p) for p in lookup(ARGUMENTS, "parameters")]


def simulator_message(key):
    """The first argument the simulator got for the message given as `key`."""
    return as_bytes(lookup(ARGUMENTS, key))


def record_simulator_arguments(key, arguments):
    """Write mode: `arguments` (Windows-1252 bytes) as the simulator got them."""
    record(ARGUMENTS, key, as_text(arguments[0]))
    record(ARGUMENTS, "parameters", [as_text(a) for a in arguments[1:]])


# ---- The file a destination answer names -----------------------------------------------

DESTINATION_NAMES = "destination_names.json"


# ---- What the tool says of a listing -------------------------------------------------------

LISTING_COUNTS = "listing_counts.json"
