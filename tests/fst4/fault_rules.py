"""Where WSJT-X's fst4sim is at fault, and where we encode differently on
purpose: the rules make_vectors.py sorts the reference's outputs by, and
conformance.py and differential.py judge ours by."""

import re

# The reference encodes these, but not the way a sound encoder should.
DELIBERATE = {
    "K1ABC W9XYZ 123 MA": "deliberate: RTTY Roundup needs a 5x9 report (reference reads an unset serial)",
    "K1A/P 37": "deliberate: FST4W suffix of a 3-character call (reference sends K1A/K1A 37)",
    "K1A/7 37": "deliberate: FST4W suffix of a 3-character call (reference sends K1A/K1A 37)",
    "K1A/AB 37": "deliberate: FST4W suffix of a 3-character call (reference sends K1A/K1A 37)",
}

# The reference folds a character its message type cannot carry into
# another one, outside free text (folds_character sees those).
FOLDED = {
    "<W9XYZ> A.B": "folded-character: '.' is no call character (reference sends <W9XYZ> 9/B)",
}

# Every character free text carries; the other types carry no more, except
# '<' '>' around hashed calls and ';' in "RR73;" and "TU;" (WSJT-X 2.6.1,
# lib/77bit/packjt77.f90, packtext77).
TEXT_ALPHABET = set(" 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ+-./?")


def folds_character(message, decoded):
    """The reference sent a character that no message type carries as
    another one: free text whose decoded text is the message with such
    characters read as blanks, or any message holding a character outside
    every alphabet (its decoded text can show one only inside a hashed call,
    from the sender's own table: the hash itself was made from a folded
    character)."""
    text = " ".join(message.upper().split())
    if decoded is None or all(c in TEXT_ALPHABET for c in text):
        return False
    as_free_text = "".join(c if c in TEXT_ALPHABET else " " for c in text)[:13].strip()
    if decoded == as_free_text:
        return True
    words = [w.replace(";", "") if w in ("RR73;", "TU;") else w for w in text.split()]
    foreign = any(c not in TEXT_ALPHABET and c not in "<>" for w in words for c in w)
    return foreign


def spelling(text):
    """The words of a text as the protocol spells them, so that two texts
    with the same words carry the same message: upper case, single blanks,
    a report [R]+-d as sign and two digits (-00 as +00), a hex-digit word
    without leading zeros, a call without a hashed call's <>. The rule of
    the tool's src/report/carried_text.cpp, which the library's
    FST4_OTHER_TEXT is tested against."""
    words = []
    for word in text.upper().split():
        if len(word) > 2 and word[0] == "<" and word[-1] == ">":
            word = word[1:-1]
        report = re.fullmatch(r"(R?)([+-])(\d{1,2})", word)
        if report:
            sign = "+" if int(report[3]) == 0 else report[2]
            word = f"{report[1]}{sign}{int(report[3]):02d}"
        elif all(c in "0123456789ABCDEF" for c in word):
            word = word.lstrip("0") or "0"
        words.append(word)
    return words


def garbles_field(message, decoded):
    """The reference sends a field it cannot hold as another value: a report
    beyond -50..+50 wraps (+51 as -50, -51 as the grid RR84), an RTTY serial
    beyond 7999 is read as a state (8001 as AL), a call with '/' in a contest
    exchange comes back as another call ("PA0U/MM" as "PA0TZM"), and an FST4W
    prefix or suffix the 16-bit field cannot hold comes back as another call
    ("K1ABC/123 37" as "K1ABC/AN 37", "0K/W9XYZ 37" as "K/W9XYZ 37",
    "K1AB/P FN42 37" as "K1AAZ FN42 37"). Ours refuses the first and sends
    the others as free text."""
    words = " ".join(message.upper().split()).split()
    if decoded is None or spelling(message) == spelling(decoded):
        return None
    report = re.fullmatch(r"R?([+-]\d+)", words[-1]) if words else None
    if report and len(words) in (3, 4) and not -50 <= int(report[1]) <= 50:
        return "wrapped-report"
    if (len(words) >= 4 and re.fullmatch(r"5[1-9]9", words[-2]) and words[-1].isdigit()
            and int(words[-1]) > 7999):
        return "wrapped-serial"
    fst4w_shape = len(words) == 2 or (len(words) == 3 and re.fullmatch(r"[A-Z]{2}\d{2}", words[1]))
    if (fst4w_shape and "/" in words[0] and words[-1].isdigit() and len(words[-1]) <= 2
            and decoded.split()[:1] != words[:1]):
        return "garbled-affix"
    def base(call):  # the longer side of a compound call, as the call check takes it
        call = call.strip("<>")
        return max(call.split("/"), key=len) if "/" in call else call
    shown = {part for w in decoded.split() for part in w.strip("<>").split("/")}
    cut = decoded == " ".join(words)[:13].rstrip()
    if not cut and any("/" in word and base(word) not in shown for word in words):
        return "garbled-call"
    return None


def valid_call(word):
    """A standard or compound call as the reference's call check accepts it."""
    if len(word) > 11 or any(c in word for c in ".+-?") or (len(word) > 6 and "/" not in word):
        return False
    base = word
    if "/" in word:
        left, right = word.split("/", 1)
        base = left if len(left) > len(right) else right
    if not 3 <= len(base) <= 6 or not (base[0].isalpha() or base[1].isalpha()):
        return False
    if base[0] == "Q" and base != "QU1RK":
        return False
    area = 2 if base[2].isdigit() else (1 if base[1].isdigit() else 0)
    suffix = base[area + 1:]
    return (area > 0 and 1 <= len(suffix) <= 3 and suffix.isalpha() and suffix.isupper()
            and base[:area].isalnum())


def reads_unset_serial(message):
    """The reference's RTTY check reads an unset serial number on 4 to 6
    words with two valid calls and no 5x9 report before the last word, when
    no earlier message type took the message: it then crashes, or sends free
    text or a made-up exchange, depending on stack contents. Only the shape
    is checked here; see payload_type for the rest."""
    words = message.upper().split()
    if not 4 <= len(words) <= 6:
        return False
    tu = 1 if words[0] == "TU;" else 0
    report = words[-2][:3]
    is_rst = len(report) == 3 and report[0] == "5" and report[1] in "123456789" and report[2] == "9"
    return valid_call(words[tu]) and valid_call(words[tu + 1]) and not is_rst


SCRAMBLER = "01001010010111101000100110110100101100001000101001111001010101011011111000101"


def payload_type(bits_line):
    """(i3, n3) of the payload behind a reference bits line (FST4 lines)."""
    bits = bits_line.replace(" ", "")[:77]
    c77 = "".join("1" if a != b else "0" for a, b in zip(bits, SCRAMBLER))
    return int(c77[74:77], 2), int(c77[71:74], 2)


def classify(message, decoded, symbols, bits):
    """Why the reference's output for `message` is unsound, or None."""
    if message.startswith(" "):
        return "leading-blank"
    if reads_unset_serial(message) and (bits is None or payload_type(bits) in [(0, 0), (3, 0)]):
        return "unset-serial"
    if symbols is None or decoded is None:
        return "crash"
    if "bad message" in decoded:
        return "bad-message"
    if len(symbols) != 160 or any(c not in "0123" for c in symbols):
        return "garbage-symbols"
    if decoded == "":
        return "empty-decode"
    if "<...>" in decoded:  # every call we pack is known, so this is garbage
        return "lost-message"
    if "<>" in decoded:  # a call whose hash is 0 is shown as an empty table slot
        return "blank-hash"
    if folds_character(message, decoded):
        return "folded-character"
    if message not in DELIBERATE and garbles_field(message, decoded):
        return garbles_field(message, decoded)
    return DELIBERATE.get(message) or FOLDED.get(message)
