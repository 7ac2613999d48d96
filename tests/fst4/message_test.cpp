// Message packing building blocks (hashes, free text, FST4W power) and the
// encoder's behaviour where the reference is at fault. The beacon helpers of
// the C API are in beacon_test.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "bits.h"
#include "callsign.h"
#include "decoded.h"
#include "fst4/encoder.h"
#include "fst4/fst4.h"
#include "unpack77.h"
#include "vectors.h"

using namespace fst4::detail;
using fst4_test::decoded;

namespace {

constexpr const char* kScrambler = "01001010010111101000100110110100101100001000101001111001010101011011111000101";

// The 77 payload bits behind a reference bits line: FST4 lines are
// scrambled, FST4W lines are not.
Bits reference_payload(const std::string& message, const std::string& hint, bool scrambled) {
  std::string line = fst4_test::reference_bits(message, hint);
  EXPECT_GE(line.size(), 77U) << "no reference vector for " << message;
  line.resize(77, '0');
  Bits bits = from_string(line);
  if (scrambled) {
    for (std::size_t i = 0; i < 77; ++i) bits[i] ^= static_cast<std::uint8_t>(kScrambler[i] - '0');
  }
  return bits;
}

std::string payload(const std::string& message, bool hint = false) {
  auto result = fst4::encode(message, hint);
  return result.ok() ? result.encoding->payload_bits : "";
}

}  // namespace

// The hash fields in reference payloads equal our hashes of the same calls.
TEST(CallHashes, MatchFieldsInReferencePayloads) {
  Bits dx = reference_payload("K1ABC RR73; W9XYZ <KH1/KH7Z> -11", "F", true);
  EXPECT_EQ(get_bits(dx, 56, 10), hash_call("KH1/KH7Z", 10));
  Bits eu = reference_payload("<PA3XYZ> <G4ABC> 570012 JO22XX", "F", true);
  EXPECT_EQ(get_bits(eu, 0, 12), hash_call("PA3XYZ", 12));
  EXPECT_EQ(get_bits(eu, 12, 22), hash_call("G4ABC", 22));
  Bits wspr3 = reference_payload("<K1ABC> FN42", "T", false);
  EXPECT_EQ(get_bits(wspr3, 0, 22), hash_call("K1ABC", 22));
  Bits nonstd = reference_payload("<W9XYZ> PJ4/K1ABC RRR", "F", true);
  EXPECT_EQ(get_bits(nonstd, 0, 12), hash_call("W9XYZ", 12));
}

TEST(CallHashes, ShorterHashesAreTheTopBitsOfTheLongOne) {
  for (const char* call : {"K1ABC", "PJ4/K1ABC", "A1BCDEFGHIJ", "3DA0XYZ"}) {
    auto h22 = hash_call(call, 22);
    EXPECT_LT(h22, 1U << 22);
    EXPECT_EQ(hash_call(call, 12), h22 >> 10) << call;
    EXPECT_EQ(hash_call(call, 10), h22 >> 12) << call;
  }
  // Trailing blanks are padding; the 12-bit hashes of these two collide.
  EXPECT_EQ(hash_call("K1ABC", 22), hash_call("K1ABC     ", 22));
  EXPECT_EQ(hash_call("PA3XYZ", 12), hash_call("G4ABC/P", 12));
  EXPECT_NE(hash_call("PA3XYZ", 22), hash_call("G4ABC/P", 22));
}

TEST(CallHashes, BookShowsKnownCallsAndTheLatestOnCollision) {
  HashBook book;
  EXPECT_EQ(book.show(hash_call("K1ABC", 22), 22), "<...>");
  book.save("<K1ABC>");
  EXPECT_EQ(book.show(hash_call("K1ABC", 22), 22), "<K1ABC>");
  book.save("PA3XYZ");
  book.save("G4ABC/P");
  EXPECT_EQ(book.show(hash_call("PA3XYZ", 12), 12), "<G4ABC/P>");
  EXPECT_EQ(book.show(hash_call("PA3XYZ", 22), 22), "<PA3XYZ>");
}

TEST(FreeText, PacksThirteenCharactersInto71Bits) {
  EXPECT_EQ(payload("TNX BOB 73 GL"), "01100011111011011100111011100010101001001010111000000111111101010000000000000");
  // The largest value, 42^13 - 1 ("?" is the last character), needs all 71
  // bits and survives the trip back.
  std::string top = payload("?????????????");
  EXPECT_EQ(top.substr(71), "000000");
  EXPECT_EQ(top[0], '1');
  EXPECT_EQ(decoded("?????????????"), "?????????????");
  // Only 13 characters are sent.
  EXPECT_EQ(decoded("THIS IS TOO LONG FOR ONE"), "THIS IS TOO L");
  EXPECT_EQ(decoded("hello   there"), "HELLO THERE");
}

TEST(FreeText, AlphabetRoundTrips) {
  const std::string all = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ+-./?";
  for (std::size_t i = 0; i < all.size(); i += 7) {
    std::string chunk = "Z" + all.substr(i, 7) + "Z";
    EXPECT_EQ(decoded(chunk).substr(0, 13), chunk.substr(0, 13)) << chunk;
  }
}

// FST4W sends p5 = nint(0.3 dBm) and decodes nint(p5 * 10 / 3): every level
// 0..60 must come back as the nearest of the 19 sendable levels.
TEST(Fst4wPower, RoundsToTheNearestSendableLevel) {
  for (int dbm = 0; dbm <= 99; ++dbm) {
    std::string text = decoded("K1ABC FN42 " + std::to_string(dbm));
    int sent = std::stoi(text.substr(text.rfind(' ') + 1));
    int level = std::min(dbm, 60);
    int p5 = static_cast<int>(std::floor(0.3 * level + 0.5 + 1e-9));
    EXPECT_EQ(sent, static_cast<int>(std::lround(p5 * 10.0 / 3.0))) << dbm;
    EXPECT_LE(std::abs(sent - level), 2) << dbm;
    EXPECT_EQ(fst4w_carried_power(dbm), sent) << "the beacon helper's power is what the receiver shows";
  }
  EXPECT_EQ(decoded("K1ABC FN42 5"), "K1ABC FN42 7");   // 1.5 rounds up to 2
  EXPECT_EQ(decoded("K1ABC FN42 60"), "K1ABC FN42 60");
  EXPECT_EQ(decoded("K1ABC FN42 99"), "K1ABC FN42 60");
  auto r = fst4::encode("K1ABC FN42 37", false);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.encoding->mode, fst4::Mode::fst4w);
  EXPECT_EQ(r.encoding->info_bits.size(), 74U);
}

// Messages the reference cannot encode soundly get no symbols at all.
TEST(Refusals, MessagesTheReferenceSendsAsGarbage) {
  for (const char* message : {"CQ <K1ABC>", "CQ K1ABC R FN42", "CQ K1ABC 73", "CQ K1ABC -11", "CQ DX K1ABC R FN42",
                              "@@@", "K1ABC W9XYZ 5I EMA", "K1ABC W9XYZ R 9Z DX", "K1ABC W9XYZ/P", "K1ABC PJ4/W9XYZ",
                              "0", "000000000000000000F", "K1ABC W9XYZ +999", "", "     "}) {
    auto result = fst4::encode(message, false);
    EXPECT_FALSE(result.ok()) << '"' << message << "\" decoded as " << (result.ok() ? result.encoding->decoded : "");
    if (!result.ok()) {
      EXPECT_FALSE(result.refusal.empty());
    }
  }
}

// Every message listed as a reference fault must either be refused or be
// sent as something that decodes to real text.
TEST(Refusals, ReferenceFaultsNeverYieldGarbage) {
  int rows = 0;
  for (const auto& row : fst4_test::read_tsv(FST4_FAULTS_FILE)) {
    ASSERT_EQ(row.size(), 3U);
    ++rows;
    auto result = fst4::encode(row[0], row[1] == "T");
    if (!result.ok()) continue;
    EXPECT_FALSE(result.encoding->decoded.empty()) << row[0];
    EXPECT_EQ(result.encoding->decoded.find("<...>"), std::string::npos) << row[0];
  }
  EXPECT_GE(rows, 20);
}

// Where the reference misbehaves but the message can be sent soundly.
TEST(Differences, SoundChoicesWhereTheReferenceMisbehaves) {
  // Leading blanks are skipped; the reference eats characters for most
  // counts ("  CQ K1ABC FN42" goes out as "Q K1ABC FN42").
  for (const char* message : {" CQ K1ABC FN42", "  CQ   K1ABC  FN42", "    CQ K1ABC FN42"}) {
    EXPECT_EQ(payload(message), payload("CQ K1ABC FN42")) << '"' << message << '"';
  }
  // A 4- to 6-word message without a 5x9 report is not an RTTY exchange:
  // free text, never an unset serial number (the reference crashes on some).
  EXPECT_EQ(decoded("K1ABC W9XYZ EN37 EXTRA"), "K1ABC W9XYZ E");
  EXPECT_EQ(decoded("K1ABC W9XYZ FOO 579 MA"), "K1ABC W9XYZ F");
  EXPECT_EQ(decoded("K1ABC W9XYZ 123 MA"), "K1ABC W9XYZ 1");
  EXPECT_EQ(decoded("WA9XYZ KA1ABC 3C ZZ"), "WA9XYZ KA1ABC");
  // Serial numbers stop at 7999; 8000 would decode as nothing.
  EXPECT_EQ(decoded("W9XYZ K1ABC 579 8000"), "W9XYZ K1ABC 5");
  EXPECT_EQ(decoded("W9XYZ K1ABC 579 7999"), "W9XYZ K1ABC 579 7999");
  // A WSPR prefix longer than 3 characters is free text (reference crashes).
  EXPECT_EQ(decoded("ABCD/K1ABC 37"), "ABCD/K1ABC 37");
}

TEST(MessageField, OnlyThe37CharactersOfTheFieldAreRead) {
  std::string field = "K1ABC W9XYZ R FN42 ";
  field.resize(37, 'X');
  EXPECT_EQ(payload(field + "MORE TEXT"), payload(field));
  EXPECT_EQ(payload("cq k1abc fn42"), payload("CQ K1ABC FN42"));
}

TEST(MessageTypes, ReportedTypeAndMode) {
  struct Case {
    const char* message;
    bool hint;
    int i3, n3;
    fst4::Mode mode;
  };
  const Case cases[] = {{"TNX BOB 73 GL", false, 0, 0, fst4::Mode::fst4},
                        {"K1ABC RR73; W9XYZ <KH1/KH7Z> -11", false, 0, 1, fst4::Mode::fst4},
                        {"K1ABC W9XYZ 16A EMA", false, 0, 3, fst4::Mode::fst4},
                        {"K1ABC W9XYZ 17A EMA", false, 0, 4, fst4::Mode::fst4},
                        {"DEADBEEF", false, 0, 5, fst4::Mode::fst4},
                        {"<K1ABC> FN42", true, 0, 6, fst4::Mode::fst4w},
                        {"<K1ABC> FN42", false, 4, 0, fst4::Mode::fst4},
                        {"K1ABC/R W9XYZ EN37", false, 1, 0, fst4::Mode::fst4},
                        {"K1ABC/P W9XYZ EN37", false, 2, 0, fst4::Mode::fst4},
                        {"TU; K1ABC W9XYZ 579 MA", false, 3, 0, fst4::Mode::fst4},
                        {"<PA3XYZ> <G4ABC> 570012 JO22XX", false, 5, 0, fst4::Mode::fst4}};
  for (const auto& c : cases) {
    auto r = fst4::encode(c.message, c.hint);
    ASSERT_TRUE(r.ok()) << c.message;
    EXPECT_EQ(r.encoding->i3, c.i3) << c.message;
    EXPECT_EQ(r.encoding->n3, c.n3) << c.message;
    EXPECT_EQ(r.encoding->mode, c.mode) << c.message;
    for (auto s : r.encoding->symbols) ASSERT_LE(s, 3);
  }
}
