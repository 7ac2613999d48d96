#!/usr/bin/env python3
"""Writes the committed seed corpus of each fuzz target under fuzz/corpus/.

Usage: fuzz/make_seeds.py GOOD_REPORT
GOOD_REPORT is a simulator report with CR LF line ends (the fake simulator
fake_good_report prints one). The seeds are small, varied starting points;
the fuzzer finds the rest.
"""
import struct
import sys
from pathlib import Path

CORPUS = Path(__file__).resolve().parent / "corpus"


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def report_seeds(good):
    listing = b"text\r\nChannel symbols:\r\n0123\r\n3210\r\n\r\nmore\r\n"
    write("fuzz_report_reader", "good_report", good)
    write("fuzz_report_reader", "lf_only", good.replace(b"\r\n", b"\n"))
    write("fuzz_report_reader", "cr_only", good.replace(b"\r\n", b"\r"))
    write("fuzz_report_reader", "byte26", good.replace(b"1023\r\n", b"10\x1a23\r\n", 1))
    write("fuzz_report_reader", "short_listing", listing)
    write("fuzz_report_reader", "file_stop", listing.replace(b"\r\n\r\nmore", b"\r\nFile x\r\n"))
    write("fuzz_report_reader", "channel_end", listing.replace(b"3210\r\n", b"3210\r\n0000 Channel\r\n"))
    write("fuzz_report_reader", "header_last", b"a\r\nchannel symbols")
    write("fuzz_report_reader", "no_header", b"*** bad message ***\r\n")
    write("fuzz_report_reader", "crlf_at_block_edge", b"x" * 127 + b"\r\n" + listing)


def symbols_of(good):
    text = good.split(b"hannel symbols", 1)[1].split(b"\r\n\r\n", 1)[0]
    return bytes(c for c in text if c in b"0123")


def include_text_seeds(good):
    def seed(message, symbols):
        return bytes([len(message)]) + message + symbols

    symbols = symbols_of(good)
    write("fuzz_include_text", "full_frame", seed(b"CQ K1ABC FN42", symbols))
    write("fuzz_include_text", "empty_symbols", seed(b"TEST", b""))
    write("fuzz_include_text", "short_group", seed(b"TEST", b"0123321001"))
    write("fuzz_include_text", "digits_over_3", seed(b"X", b"40009999"))
    write("fuzz_include_text", "closing_line", seed(b"M", b"012332100000 Channel"))
    write("fuzz_include_text", "odd_message", seed(b"\"&|<>^\r\n\x1a\xff", b"3 21x123"))
    write("fuzz_include_text", "comment_breakers", seed(b"*/ /* ??/ x\\ */\\", b"01233"))


def utf16(text):
    return text.encode("utf-16-le")


def command_line_seeds():
    write("fuzz_command_line", "plain", utf16("sympack cq k1abc fn42  "))
    write("fuzz_command_line", "quoted_program", utf16('"C:\\a b\\SYMPACK.EXE"   cq test'))
    write("fuzz_command_line", "unclosed_quote", utf16('"C:\\a b\\SYMPACK.EXE'))
    write("fuzz_command_line", "leading_blanks", utf16("   cq"))
    write("fuzz_command_line", "tab_after_token", utf16("sympack\tcq"))
    write("fuzz_command_line", "empty", b"")


def text_conversion_seeds():
    write("fuzz_text_conversions", "ascii", b"cq k1abc fn42")
    write("fuzz_text_conversions", "utf8", "cq \u00e9\u201e \U0001F4FB".encode("utf-8"))
    write("fuzz_text_conversions", "malformed", b"\xc3\x28 \xe2\x82 \xf0\x9f\x92 \xc0\x80 \xed\xa0\x80 \xff")
    write("fuzz_text_conversions", "cp1252", bytes(range(256)))


def first_field_seeds():
    write("fuzz_first_field", "plain", utf16("  FST4.INC  , rest"))
    write("fuzz_first_field", "quoted", utf16('  "a, b.inc" tail'))
    write("fuzz_first_field", "unclosed", utf16('"a, b'))
    write("fuzz_first_field", "comma_first", utf16(",x"))
    write("fuzz_first_field", "inner_quote", utf16('a"b,c'))


PRESSED, ALT, RESIZE, REPEAT = 1, 2, 4, 8
SHORTCUT = 1  # the key's kind, in an event's last byte


def key(ch, flags=PRESSED, kind=0):
    return struct.pack("<BHB", flags, ord(ch) if isinstance(ch, str) else ch, kind)


def typed(text):
    return b"".join(key(c) + key(c, 0) for c in text)


def line_editor_seeds():
    enter, backspace = key(13), key(8)
    write("fuzz_line_editor", "typed_line", bytes([79, 24, 0, 0, 0, 0]) + typed("cq k1abc fn42") + enter)
    write("fuzz_line_editor", "field", bytes([79, 24, 3, 5, 1, 0]) + typed(' "a, b" , c') + enter)
    write("fuzz_line_editor", "backspace_over_edge",
          bytes([9, 3, 0, 0, 0, 0]) + typed("abcdefghijkl") + backspace * 5 + enter)
    write("fuzz_line_editor", "wrap_pending_prompt",
          bytes([9, 3, 0, 2, 2, 10]) + typed("xy") + backspace * 3 + enter)
    write("fuzz_line_editor", "alt_and_controls",
          bytes([40, 5, 0, 0, 4, 0]) + key("q", PRESSED | ALT, SHORTCUT) + key(9) + key(27) + key(3) +
          key(0) + typed("ok") + enter)
    write("fuzz_line_editor", "over_the_limit",
          bytes([1, 1, 0, 0, 0, 0]) + key("z", PRESSED | REPEAT | 14 << 4) + backspace + enter)
    write("fuzz_line_editor", "resized", bytes([20, 4, 19, 3, 0, 0]) + typed("abc") +
          struct.pack("<BBBB", RESIZE, 4, 1, 0) + backspace * 2 + typed("d") + enter)


def key_decoder_seeds():
    write("fuzz_key_decoder", "typed_keys", b"\x01" + "cq k1abc \u00e9\U0001F600\r".encode())
    write("fuzz_key_decoder", "escape_sequences", b"\x03\x1b[A\x1b[1;5C\x1bOP\x1b[3~\x1bb\x1b\x1b\x7f")
    write("fuzz_key_decoder", "cursor_report", b"\x02ab\x1b[12;34Rc")
    write("fuzz_key_decoder", "broken_utf8", b"\x05\xe2\x82a\x80\xf0\x9f")


def simulator_command_seeds():
    for name, message in [("plain", b"CQ K1ABC FN42"), ("syntax", b"A&B|C<D>E^F(G)"),
                          ("odd_quotes", b'A"B&C'), ("even_quotes", b'"CQ" "&"'),
                          ("nested", b'""&""^"'), ("trailing_blanks", b"CQ TEST  "),
                          ("high_bytes", bytes(range(1, 256))),
                          ("substring_form", b"%OS:~0,3%"), ("replace_form", b"%PATH:A=B%"),
                          ("doubled_percents", b"%%PATH%%"), ("trailing_backslash", b"AB\\"),
                          ("inner_quote", b'A"B'), ("redirection_name", b"x>FST4SIM.EXE"),
                          ("carets_around_forms", b"^%OS:~0,3^%"), ("type_separators", b"my a,b;c=d.inc"),
                          ("carriage_return", b"A%\r&B"), ("cr_redirection", b"%\r>VICTIM.TXT"),
                          ("line_feed", b'A"\nB'), ("delayed_expansion", b"!OS! A^B! !OS!.inc"),
                          ("trail_backslash", b"\x95\x5c"), ("trail_backslash_quote", b'%\x83\x5c"\x83\x5c'),
                          ("trail_letters", b"cq \x83\x63\x83\x61\xe0\x7a"),
                          ("trail_syntax", b"\x81\x5e\x81\x7c&\x95\x5c\\")]:
        write("fuzz_simulator_command", name, message)


def fst4_seeds():
    for name, hint, message in [("standard", 0, b"CQ K1ABC FN42"), ("wspr", 1, b"K1ABC FN42 37"),
                                ("hashed", 1, b"<PJ4/K1ABC> FN42"), ("free_text", 0, b"TNX BOB 73 GL"),
                                ("telemetry", 0, b"123456789ABCDEF012"),
                                ("contest", 0, b"K1ABC W9XYZ 6A WI"), ("too_long", 0, b"X" * 60),
                                ("lower_case", 0, b"cq k1abc fn42"), ("empty", 0, b"")]:
        write("fuzz_fst4_encode", name, bytes([hint]) + message)


def main():
    good = Path(sys.argv[1]).read_bytes()
    report_seeds(good)
    include_text_seeds(good)
    command_line_seeds()
    text_conversion_seeds()
    first_field_seeds()
    line_editor_seeds()
    key_decoder_seeds()
    simulator_command_seeds()
    fst4_seeds()


if __name__ == "__main__":
    main()
