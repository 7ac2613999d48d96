"""The messages make_vectors.py runs the reference on, by message type: each
list reaches the edges of its type's fields, and the messages on either side
of them."""


def standard_messages():
    calls = ["K1ABC", "W9XYZ", "KA1ABC", "G4ABC", "PA3XYZ", "VK2AB", "JA1A", "4X1AB", "K12ABC",
             "3DA0XYZ", "3XA1AB", "QU1RK", "Q1ABC", "KH1/KH7Z", "PJ4/K1ABC", "K1ABC/7", "W9XYZ/R",
             "K1ABC/P", "G4ABC/P", "VE3/K1ABC", "K1ABC/QRP", "K1ABC/MM", "<K1ABC>", "<PJ4/K1ABC>",
             "<W9XYZ/R>", "<KH1/KH7Z>"]
    out = []
    for c in calls:
        out += [f"{c} W9XYZ FN42", f"K1ABC {c} 73", f"CQ {c} FN42", f"{c} G4ABC RR73"]
    tails = ["FN42", "AA00", "RR99", "JO22", "R FN42", "RRR", "R RRR", "RR73", "73", "R 73",
             "+00", "-00", "-01", "+01", "-5", "+5", "-9", "R-9", "R+05", "R-30", "R-31", "R-50",
             "R+49", "-10", "-30", "-31", "-49", "-50", "-51", "+49", "+50", "+99", "+100", "-100",
             "-999", "R-51", "R+50", "R +05", "FN42NP", "SS00", "fn42", "+51", "R+51", "R-50", "+050",
             "SA12", "AS12", "RR99", "R +51"]
    out += [f"K1ABC W9XYZ {t}" for t in tails]
    out += ["K1ABC W9XYZ", "CQ K1ABC", "DE K1ABC", "QRZ K1ABC", "QRZ K1ABC FN42", "DE K1ABC FN42",
            "CQ K1ABC FN42", "CQ DX K1ABC FN42", "CQ 007 K1ABC FN42", "CQ 000 K1ABC FN42",
            "CQ 999 K1ABC FN42", "CQ TEST K1ABC FN42", "CQ A K1ABC FN42", "CQ ABCD K1ABC FN42",
            "CQ ABCDE K1ABC FN42", "CQ 12 K1ABC FN42", "CQ 1234 K1ABC FN42", "CQ NA1 K1ABC FN42",
            "CQ K1ABC W9XYZ", "CQ K1ABC -11", "CQ K1ABC R FN42", "CQ K1ABC RRR", "CQ FD K1ABC",
            "CQ POTA W9XYZ EN37", "K1ABC/R W9XYZ EN37", "K1ABC W9XYZ/R R EN37", "K1ABC/R W9XYZ/P EN37",
            "K1ABC/P W9XYZ/P R JO22", "PA3XYZ/P GM4ABC/P R JO22", "<K1ABC/R> W9XYZ", "<K1ABC/P> W9XYZ 73",
            "K1ABC <W9XYZ> -11", "<K1ABC> <W9XYZ> 73", "K1ABC/PA W9XYZ 73", "K1ABC/RR W9XYZ 73",
            "PJ4/K1ABC W9XYZ", "PJ4/K1ABC W9XYZ -15", "K1ABC W9XYZ/7", "K1ABC PJ4/W9XYZ",
            "PJ4/K1ABC PJ4/W9XYZ", "K1ABC W9XYZ R", "K1ABC W9XYZ 73 GL", "K1ABC W9XYZ X FN42",
            "k1abc w9xyz fn42", "cq k1abc fn42", "K1ABC   W9XYZ    FN42", "K1ABC W9XYZ FN42   "]
    return out


def dxpedition_messages():
    out = []
    for rpt in ["-11", "-12", "-30", "-31", "-32", "+00", "+01", "+02", "+31", "+32", "+33", "-40", "+50"]:
        out.append(f"K1ABC RR73; W9XYZ <KH1/KH7Z> {rpt}")
    out += ["K1ABC RR73; W9XYZ <KH1/KH7Z> 7", "PJ4/K1ABC RR73; W9XYZ <KH1/KH7Z> -11",
            "K1ABC RR73; W9XYZ KH1/KH7Z -11", "K1ABC RR73 W9XYZ <KH1/KH7Z> -11",
            "K1ABC RR73; W9XYZ <KH1/KH7Z> X", "K1ABC RR73; <W9XYZ> <KH1/KH7Z> -11",
            # KH6E and PJ4/3D9FC share their 10-bit hash: the hashed call is shown.
            "KH6E RR73; G4SH <PJ4/3D9FC> -23"]
    return out


def field_day_messages():
    out = []
    for entry in ["1A", "2B", "16A", "17A", "32H", "33A", "0A", "5H", "5I", "10F", "1a"]:
        out.append(f"K1ABC W9XYZ {entry} EMA")
        out.append(f"K1ABC W9XYZ R {entry} DX")
    for section in ["AB", "NB", "PE", "SCV", "WWA", "TER", "LAX", "ZZ"]:
        out.append(f"WA9XYZ KA1ABC 3C {section}")
    out += ["WA9XYZ KA1ABC X 3C EMA", "WA9XYZ/P KA1ABC 3C EMA", "<WA9XYZ> KA1ABC 3C EMA",
            "CQ KA1ABC 3C EMA", "WA9XYZ KA1ABC 3 EMA", "WA9XYZ KA1ABC 3C EMA 73"]
    return out


def telemetry_messages():
    return ["0", "1", "73", "ABC", "DEADBEEF", "123456789ABCDEF012", "7FFFFF000000000000",
            "800000000000000000", "FFFFFFFFFFFFFFFFFF", "1234567890ABCDEF", "0000000000000000001",
            "12345678901234567890", "00000000000000000F", "abcdef", "ABCDEFG", "7FFFFFFFFFFFFFFFFF",
            "12 34", "ABCDEF 12345", "ABCDEF012345", "DEAD BEEF", "12 34 56", "+05", "123456789ABCDEF0123"]


def free_text_messages():
    return ["CQ ABCD", "CQ ABCDE", "CQ ABCDE FN42", "CQ ABCDEFGHIJKL", "CQ 12345", "CQ A/B", "CQ FN42",
            "<W9XYZ> ABCD", "<W9XYZ> AB", "<W9XYZ> ABCDEFGHIJKL", "<W9XYZ> A.B", "+05", "-05", "+FF",
            "1+2", "-1", "123456+12345", "K1ABC W9XYZ RR73X", "K1ABC W9XYZ 73X", "K1ABC W9XYZ RRRX",
            "K1ABC W9XYZ FN42X", "<K1ABC> FN42 R", "<K1ABC> FN42", "<K1ABC> W9XYZ FN42",
            "K1ABC PJ4/W9XYZ 73", "PJ4/K1ABC W9XYZ/7", "K1ABC/P W9XYZ/7", "K1ABC W9XYZ/P",
            "CQ K1ABC 73", "CQ PJ4/K1ABC 73", "QRZ PJ4/K1ABC", "DE PJ4/K1ABC 73", "QRZ K1ABC 73",
            "QRZ <K1ABC>", "DE <K1ABC> FN42", "CQ DX <K1ABC> FN42", "CQ <K1ABC/P>", "CQ <K1ABC/P> FN42",
            "CQ DX K1ABC R FN42", "CQ DX K1ABC 73", "1234567890ABCDEF123", "000000000000000000F", "12345678901234567890",
            "TNX BOB 73 GL", "HELLO WORLD", "A", "ABCDEFGHIJKLM", "ABCDEFGHIJKLMNOP",
            "NOPQRSTUVWXYZ", "0123456789+-.", "/?+-. 0123456", "A@@B", "@A", "A@B", "TEST 1 2 3",
            "CQ K1ABC,FN42", "G;7O V0PHL JA78", 'CQ "K1ABC" FN42', "CQ K1\u00e4BC FN42", "K1ABC W9XYZ #73",
            "hello there", "GL OM 73", "73 GL", "RR73 TNX", "CQ", "DE", "QRZ", "CQ CQ CQ",
            "K1ABC W9XYZ EN37 EXTRA", "K1ABC FN42 100", "K1ABC/P FN42 37", "WHAT IS UP?",
            "1.5 KW", "JUST-A-TEST", "A B C D E F G", "PSE QSY 14.074", "CQ K1ABC FN42 EXTRA",
            "TU 5NN", "K1ABC", "PJ4/K1ABC", "<K1ABC>", "FN42", "RRR", "RR73", "R", "+05"]


def rtty_messages():
    out = []
    for rst in ["529", "539", "549", "559", "569", "579", "589", "599", "519"]:
        out.append(f"K1ABC W9XYZ {rst} MA")
    for exch in ["AL", "ZL", "NWT", "PEI", "DC", "X01", "X99", "X00", "0001", "1", "7999", "8000", "0", "ZZ"]:
        out.append(f"W9XYZ K1ABC 579 {exch}")
    out += ["TU; K1ABC W9XYZ 579 MA", "TU; K1ABC W9XYZ R 579 MA", "K1ABC W9XYZ R 589 0012",
            "TU; K1ABC/P W9XYZ 599 TX", "K1ABC W9XYZ 123 MA", "K1ABC W9XYZ FOO 579 MA",
            "K1ABC W9XYZ 5999 MA", "K1ABC W9XYZ 579 12 34", "<K1ABC> W9XYZ 579 MA"]
    return out


def nonstandard_messages():
    out = []
    for c in ["PJ4/K1ABC", "K1ABC/QRP", "VE3/K1ABC", "KH1/KH7Z", "YW18FIFA", "K1ABC/7", "3DA0XYZ", "A1BCDEFGHIJ"]:
        out += [f"<W9XYZ> {c}", f"{c} <W9XYZ>", f"<W9XYZ> {c} RRR", f"{c} <W9XYZ> RR73",
                f"<W9XYZ> {c} 73", f"CQ {c}", f"CQ <{c}>"]
    out += ["CQ <K1ABC>", "CQ K1ABC/P", "CQ PJ4/K1ABC FN42", "<W9XYZ> PJ4/K1ABC R", "<W9XYZ> PJ4/K1ABC -11",
            "QRZ PJ4/K1ABC", "DE PJ4/K1ABC"]
    return out


def eu_vhf_messages():
    out = []
    for exch in ["520001", "590003", "594095", "599999", "520000", "532047", "532048", "599000", "594096"]:
        out.append(f"<PA3XYZ> <G4ABC/P> {exch} IO91NP")
    for exch in ["592046", "592047", "592048", "594095", "522048"]:
        out.append(f"<PA3XYZ> <G4ABC> R {exch} IO91NP")
    out += ["ER5A/MM P6CM/MM R 23F MB", "K1ABC/MM W9XYZ/MM 3C EMA", "ER5A/MM P6CM/MM 579 MA"]
    out += ["<PA3XYZ> <G4ABC/P> R 590003 IO91NP", "<PA3XYZ> <G4ABC> 570012 JO22XX", "<G4ABC> <PA3XYZ> 570012 JO22AA",
            "<PA3XYZ> <G4ABC/P> 590003 IO91", "<PA3XYZ> G4ABC 590003 IO91NP", "<PA3XYZ> <G4ABC/P> X 590003 IO91NP",
            "<PA3XYZ> <G4ABC/P> 590003 IO91NY", "<PA3XYZ> <PA3XYZ> 590003 IO91NP"]
    return out


def wspr_messages():
    out = []
    for dbm in ["0", "1", "2", "3", "5", "7", "10", "13", "17", "20", "23", "27", "30", "33", "37",
                "40", "43", "47", "50", "53", "57", "60", "61", "99", "00", "07", "100", "-5"]:
        out.append(f"K1ABC FN42 {dbm}")
    for call in ["PJ4/K1ABC", "K/W9XYZ", "0K/W9XYZ", "ABC/K1ABC", "ABCD/K1ABC", "K1ABC/7", "K1ABC/P", "K1ABC/AB",
                 "K1ABC/12", "K1ABC/AB1", "K1ABC/ABC", "K1ABC/A1B", "VE3/W9XYZ", "K1ABC/QRP", "K1ABC/123",
                 "K1ABC/0A", "K1ABC/09", "K1ABC/10", "K1ABC/100", "K1ABC/3L5", "K1ABC/3L6", "K1ABC/400",
                 "K1ABC/ZZ9", "00/K1ABC", "ZZZ/W9XYZ", "PJ4A/K1ABC"]:
        out.append(f"{call} 37")
    out += ["K1ABC FN42 73", "KA1ABC JO22 30", "K1A FN42 10", "4X1AB KM72 20", "K12ABC FN42 10",
            "G4ABC/P IO91 37", "<K1ABC> FN42 37", "K1ABC RR99 37", "K1ABC SS00 37", "K1ABC FN42NP 37",
            "PJ4/K1ABC 7", "PJ4/K1ABC 100", "K1ABC 37", "CQ FN42 37", "K1ABC SA12 37", "K1ABC AS12 37",
            "K1A/P FN42 37", "K1AB/P FN42 37",
            "<K1ABC> FN42AB"]  # the second of a pair: FST4W only with the hint T
    # Calls beginning with Q: refused as calls elsewhere, packed here.
    out += ["Q1ABC FN42 37", "Q9Y FN42 30", "Q9PP FN42 33", "QQ1AB JO22 20", "Q11ABC FN42 7", "QA1XYZ IO91 0",
            "q1abc fn42 37", "Q1ABC/P 37", "PJ4/Q1ABC 37"]
    return out


def hinted_messages():
    return ["<K1ABC> FN42", "<K1ABC> FN42NP", "<PJ4/K1ABC> JO22AX", "<K1ABC> AA00AA", "<K1ABC> RR99XX",
            "<K1ABC> FN42YY", "<K1ABC> FN42", "<K1ABC>  FN42", "K1ABC FN42 37", "PJ4/K1ABC 37",
            "CQ K1ABC FN42", "TNX BOB 73 GL", "K1ABC W9XYZ -11", "<K1ABC> W9XYZ", "<K1ABC> FN4",
            "<W9XYZ/P> IO91NP", "<KH1/KH7Z> BL10", "<K1ABC> FN42AB"]


def leading_blank_messages():
    return [" CQ K1ABC FN42", "  CQ K1ABC FN42", "   CQ K1ABC FN42", "    TNX BOB 73 GL",
            "      K1ABC FN42 37"]


def all_messages():
    rows = []
    groups = [standard_messages, dxpedition_messages, field_day_messages, telemetry_messages,
              free_text_messages, rtty_messages, nonstandard_messages, eu_vhf_messages,
              wspr_messages, leading_blank_messages]
    for group in groups:
        rows += [(m, "F") for m in group()]
    rows += [(m, "T") for m in hinted_messages()]
    seen = set()
    unique = []
    for row in rows:
        if row not in seen:
            seen.add(row)
            unique.append(row)
    return unique
