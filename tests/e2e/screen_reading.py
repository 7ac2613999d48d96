"""Reading the terminal emulator's screen back: the tool's colours, each
cell's colour, the clipboard's OSC 52 texts, and the rows of a run's
transcript (ScreenReading, which TerminalRun takes on)."""

import base64
import re

import pyte


# Console colour numbers (1 blue, 2 green, 4 red, 8 intensity) of the colours
# the tool uses.
DARK_YELLOW = 6
LIGHT_GREY = 7
DARK_GREY = 8
LIGHT_RED = 12
YELLOW = 14

_BASE_COLOURS = {"black": 0, "blue": 1, "green": 2, "cyan": 3, "red": 4, "magenta": 5,
                 "brown": 6, "white": 7, "default": 7}


def cell_colour(char):
    """The console colour number a screen cell shows: pyte gives the colour
    name of SGR 30-37 (or 39, default) and sets bold for the bright 90-97."""
    base = _BASE_COLOURS.get(char.fg)
    if base is None:
        return ("unknown", char.fg)
    if char.bold:
        if char.fg == "default":
            return ("bold default",)
        base |= 8
    return base


class AnsweringScreen(pyte.HistoryScreen):
    """A screen with scrollback that answers the cursor-position request
    through the pseudo-terminal, as a real terminal does."""

    def __init__(self, columns, lines, run):
        super().__init__(columns, lines, history=5000)
        self._run = run

    def write_process_input(self, data):
        self._run._answer(data)


OSC52 = re.compile(rb"\x1b\]52;([^;\x07\x1b]*);([^\x07\x1b]*)(?:\x07|\x1b\\)")


class ScreenReading:
    """What a run's screen shows: rows, cells, colours, the cursor, the
    clipboard; the run gives `screen`, `lines`, `columns`, `raw`, `chunks` and
    `runner`."""

    # -- reading the screen --

    def _rows(self):
        """Every row so far: the scrolled-off ones, then the visible screen."""
        rows = list(self.screen.history.top)
        rows += [self.screen.buffer[y] for y in range(self.lines)]
        return rows

    def _row_cells(self, row):
        return [row[x] for x in range(self.columns)]

    def transcript(self):
        """The text of every row so far, trailing blanks removed."""
        return ["".join(row[x].data for x in range(self.columns)).rstrip(" ") for row in self._rows()]

    def transcript_cells(self):
        return [self._row_cells(row) for row in self._rows()]

    def row_text(self, y, strip=True):
        """The text of visible row y."""
        text = "".join(self.screen.buffer[y][x].data for x in range(self.columns))
        return text.rstrip(" ") if strip else text

    def row_colours(self, y):
        return [cell_colour(self.screen.buffer[y][x]) for x in range(self.columns)]

    def cell(self, x, y):
        return self.screen.buffer[y][x]

    def cursor(self):
        return self.screen.cursor.x, self.screen.cursor.y

    def display(self):
        return [self.row_text(y) for y in range(self.lines)]

    def clipboard_texts(self):
        """The texts placed on the clipboard with OSC 52, decoded (or, where
        the runner reads a clipboard of its own, what it found there)."""
        if hasattr(self.runner, "clipboard_texts"):
            return self.runner.clipboard_texts()
        return [base64.b64decode(m.group(2)) for m in OSC52.finditer(bytes(self.raw))]

    def first_time_of(self, needle):
        """When the raw output first held `needle`."""
        seen = bytearray()
        for when, data in self.chunks:
            seen += data
            if needle in seen:
                return when
        return None

    def dump(self):
        lines = ["---- transcript (%d rows, cursor %s) ----" % (len(self._rows()), self.cursor())]
        for index, cells in enumerate(self.transcript_cells()):
            text = "".join(c.data for c in cells).rstrip(" ")
            colours = sorted({cell_colour(c) for c in cells if c.data != " "}, key=str)
            lines.append("%3d |%s|  %s" % (index, text, colours if text else ""))
        tail = bytes(self.raw[-600:])
        lines.append("---- last raw output bytes ----")
        lines.append(repr(tail))
        return "\n".join(lines)
