"""The rows a run shows on the screen, as (text, colour): the banner, the
fakes' good report, an include file as the interpreter's TYPE shows it."""

import fake_data
from harness import BANNER, BLANK_LINE, DARK_GREY, DARK_YELLOW, LIGHT_GREY, SIMULATOR_LINE, wrap_rows

BANNER_ROWS = [(BLANK_LINE, LIGHT_GREY), (BLANK_LINE, LIGHT_GREY), (BANNER, LIGHT_GREY),
               (SIMULATOR_LINE, DARK_GREY), (BLANK_LINE, LIGHT_GREY)]

REPORT_ROWS = [(row, DARK_YELLOW) for line in fake_data.GOOD_REPORT_LINES
               for row in wrap_rows(line.decode("ascii"))]


def include_rows(data):
    """The rows the interpreter's TYPE shows for a file of CR LF lines."""
    lines = data.decode("latin-1").split("\r\n")
    assert lines[-1] == ""
    return [(row, LIGHT_GREY) for line in lines[:-1] for row in wrap_rows(line)]
