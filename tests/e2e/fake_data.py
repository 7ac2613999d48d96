"""What the fake simulators print, held again on this side so that the tests
know what the tool was given; test_fakes checks that both copies agree byte
for byte. What the tool must make of it is in golden.py."""


# tests/fakes/fake_common.h, kGoodReportLines: WSJT-X fst4sim's report for
#   fst4sim "CQ K1ABC FN42" 120  1500 0.0   0 0 0 0 F
GOOD_REPORT_LINES = [
    b"",
    b"Message: CQ K1ABC FN42                         W: F iwspr: 0",
    b"f0: 1500.000   DT:  0.00   TxT: 109.3   SNR:   0.0",
    b"",
    b"          mycall                         hiscall                    hisgrid",
    b"0100101001011110100010011001 0 1001111110101100101011000111 1 0 111111010011110 100",
    b"",
    b"Channel symbols: ",
    b"0132102310",
    b"3311233031",
    b"3110222113",
    b"1113022123",
    b"1032012233",
    b"1233110210",
    b"3331311303",
    b"3203010132",
    b"1023321132",
    b"2021033021",
    b"0303223311",
    b"1000231032",
    b"0102320213",
    b"0222323103",
    b"1213221131",
    b"0101321023",
    b"",
]



def message_line(decoded):
    """The report's Message: line for a decoded text, in the real simulator's
    layout (a field of 37 characters, a longer text whole)."""
    return b"Message: " + decoded.ljust(37) + b" W: F iwspr: 0"


def good_report_lines(decoded=b"CQ K1ABC FN42"):
    """The good report as the fakes print it when their Message: line gives
    `decoded` (the message they received, or FAKE_MESSAGE)."""
    return GOOD_REPORT_LINES[:1] + [message_line(decoded)] + GOOD_REPORT_LINES[2:]


def good_report(decoded=b"CQ K1ABC FN42", line_end=b"\r\n"):
    return b"".join(line + line_end for line in good_report_lines(decoded))


GOOD_REPORT = b"".join(line + b"\r\n" for line in GOOD_REPORT_LINES)
LF_REPORT = b"".join(line + b"\n" for line in GOOD_REPORT_LINES)
# The line that opens the listing in WSJT-X's report, without its colon.
LISTING_HEADER = b"Channel symbols"
# The listing's sixteen lines of ten symbols, as printed.
GOOD_SYMBOLS = b"".join(GOOD_REPORT_LINES[GOOD_REPORT_LINES.index(LISTING_HEADER + b": ") + 1:-1])

NO_LISTING_REPORT = (
    b"\r\n"
    b"Message: CQ K1ABC FN42\r\n"
    b"Channel: none\r\n"
    b"\r\n"
    b"CHANNEL SYMBOLS:\r\n"
    b"0132102310\r\n"
    b"3311233031\r\n"
    b"\r\n")

ODD_REPORTS = {
    "file": (b"Odd report\r\n"
             b"Channel symbols:\r"
             b"0123 321\r\n"
             b"4000\r"
             b"9999\r\n"
             b"12 3\r\n"
             b"Fileinfo 3333\r\n"
             b"3333\r\n"
             b"\r\n"),
    "ctrlz": (b"Odd report\r\n"
              b"channel symbols\r\n"
              b"0123\r\n"
              b"32\x1a10\r\n"
              b"3333\r\n"
              b"\r\n"),
    "channel": (b"Odd report\r\n"
                b"Channel symbols:\r\n"
                b"0123\r\n"
                b"3210\r\n"
                b"0000 Channel\r\n"
                b"3333\r\n"
                b"\r\n"),
    "worked": (b"Worked example\r\n"
               b"Channel symbols:\r\n"
               b"0123321001\r\n"
               b"\r\n"),
}

# The SymbolText each odd report must give, worked out by hand from the rules
# of the report reader (the tests also check the Python reader against these).
ODD_SYMBOLS = {
    "file": b"0123 321" + b"4000" + b"9999" + b"12 3",
    "ctrlz": b"0123" + b"32",
    "channel": b"0123" + b"3210" + b"0000 Channel",
    "worked": b"0123321001",
}

# The data lines those give by the packing rules, worked out by hand.
ODD_DATA_LINES = {
    # "0123" 27, " 321" 57, "4000" 256 -> "100" cut to "10", "9999" 765 ->
    # "2FD" cut to "2F", "12 3" 64+32+0+3 = 99
    "file": [b"        de   0x1B, 0x39, 0x10, 0x2F, 0x63"],
    # "0123" 27, "32" and two missing positions: 192+32 = 224
    "ctrlz": [b"        de   0x1B, 0xE0"],
    "channel": [b"        de   0x1B, 0xE4, 0x00, 0x00, 0x00"],
    "worked": [b"        de   0x1B, 0xE4, 0x10"],
}
