"""The tool's byte rules written again in Python from their written
description (not from the C++ code), checked against the documented worked
examples by test_fakes. No test takes the tool's expected output from here:
that comes from real runs, kept in golden/ (golden.py)."""

HEADER_MARKER = b"hannel symbols"
STOP_MARKER = b"File"
END_MARKER = b"hannel"

SIMULATOR_PARAMETERS = b" 120  1500 0.0   0 0 0 0 F"


def report_lines(report):
    """The report's lines over a whole file: lines end at CR (an LF right
    after it is taken too); a lone LF is an ordinary byte; byte 26 ends the
    file; the last line needs no CR. Yields the lines until the end."""
    end = report.find(b"\x1a")
    if end >= 0:
        report = report[:end]
    pos = 0
    while pos < len(report):
        cr = report.find(b"\r", pos)
        if cr < 0:
            yield report[pos:]
            return
        yield report[pos:cr]
        pos = cr + 1
        if pos < len(report) and report[pos:pos + 1] == b"\n":
            pos += 1


def read_symbol_text(report):
    """ReadSymbolText: the symbol lines after the first line that
    contains "hannel symbols"; None when no such line exists."""
    lines = report_lines(report)
    for line in lines:
        if HEADER_MARKER in line:
            break
    else:
        return None
    symbols = b""
    for line in lines:
        if line == b"" or STOP_MARKER in line:
            break
        symbols += line
        if END_MARKER in line:
            break
    return symbols


def build_include_text(symbols, message):
    """BuildIncludeText: four symbols to a byte, eight values to a
    `de` line, CR LF line ends, the message in the closing comment, one
    empty line after it."""
    text = b";     FST4 SYMBOLS Packed 4 per byte"
    values = []
    for start in range(0, len(symbols), 4):
        value = 0
        for k in range(4):
            position = start + k
            digit = 0
            if position < len(symbols) and 0x30 <= symbols[position] <= 0x39:
                digit = symbols[position] - 0x30
            value = value * 4 + digit
        hex_text = "%X" % value
        if value < 16:
            hex_text = "0" + hex_text
        values.append(b" 0x" + hex_text[:2].encode("ascii"))
    for first in range(0, len(values), 8):
        text += b"\r\n        de  " + b",".join(values[first:first + 8])
    text += b"\r\n"
    text += b"    ;   " + message + b"\r\n" + b"\r\n"
    return text


def include_file_bytes(symbols, message):
    """WriteIncludeFile: the include file holds the include text and one more CR LF."""
    return build_include_text(symbols, message) + b"\r\n"


_UPPER_HIGH = {0x84: 0x8E, 0x94: 0x99, 0x81: 0x9A, 0x82: 0x90, 0xA4: 0xA5,
               0x86: 0x8F, 0x87: 0x80}


def upper_case(message):
    """UpperCase: a to z, and seven bytes of code page 437."""
    out = bytearray()
    for byte in message:
        if 0x61 <= byte <= 0x7A:
            out.append(byte - 0x20)
        else:
            out.append(_UPPER_HIGH.get(byte, byte))
    return bytes(out)


def first_field(line):
    """ReadField: the first comma-separated field of a typed line."""
    line = line.lstrip(" ")
    if line.startswith('"'):
        end = line.find('"', 1)
        return line[1:] if end < 0 else line[1:end]
    comma = line.find(",")
    field = line if comma < 0 else line[:comma]
    return field.rstrip(" ")


def split_c_arguments(text, doubled_quote_stays_quoted=True):
    """The Windows rules by which a C program splits its command line into
    arguments (the program name aside): blanks and tabs separate arguments
    outside quotes; 2n backslashes before a quote give n backslashes and the
    quote toggles quoting, 2n+1 give n backslashes and a literal quote;
    backslashes elsewhere are literal. Inside quotes, "" gives a literal quote
    and, with the rule of the C runtimes since 2008, quoting goes on (the older
    rule ends quoting there)."""
    arguments = []
    pos = 0
    n = len(text)
    while True:
        while pos < n and text[pos:pos + 1] in (b" ", b"\t"):
            pos += 1
        if pos >= n:
            return arguments
        argument = b""
        quoted = False
        while pos < n:
            char = text[pos:pos + 1]
            if not quoted and char in (b" ", b"\t"):
                break
            if char == b"\\":
                run = pos
                while run < n and text[run:run + 1] == b"\\":
                    run += 1
                count = run - pos
                if run < n and text[run:run + 1] == b'"':
                    argument += b"\\" * (count // 2)
                    if count % 2:
                        argument += b'"'
                        pos = run + 1
                    else:
                        pos = run  # the quote is handled below
                else:
                    argument += b"\\" * count
                    pos = run
                continue
            if char == b'"':
                if quoted and text[pos + 1:pos + 2] == b'"':
                    argument += b'"'
                    pos += 2
                    if not doubled_quote_stays_quoted:
                        quoted = False
                    continue
                quoted = not quoted
                pos += 1
                continue
            argument += char
            pos += 1
        arguments.append(argument)


def simulator_arguments(message):
    """What the simulator must receive for an upper-cased message: the message
    itself as its first argument, whatever it holds, then the eight fixed
    parameters."""
    return [message] + SIMULATOR_PARAMETERS.split()


def message_from_tail(tail):
    """The message a command tail gives: blanks and tabs around it do not
    count; a tail wholly inside one pair of double quotes (no other quote in
    it) gives what stands between them."""
    tail = tail.strip(b" \t")
    if len(tail) >= 2 and tail[:1] == b'"' and tail[-1:] == b'"' and b'"' not in tail[1:-1]:
        return tail[1:-1]
    return tail
