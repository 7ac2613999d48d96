// Every row of reference_vectors.tsv (made by make_vectors.py from WSJT-X's
// fst4sim) must come out of our encoder with the same symbols, decoded
// message and message bits; the heap-free entry must give the same symbols
// without allocating. The C entries give each shape of library_status.tsv
// its status, and say FST4_OTHER_TEXT exactly when the receiver would show
// another text than the message.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <new>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "callsign.h"
#include "fst4/encoder.h"
#include "fst4/fst4.h"
#include "report/carried_text.h"
#include "vectors.h"

// This test program counts the allocations made while `g_counting` is set.
// Every form of operator new and delete goes through malloc and free, so
// that a sanitizer's own allocator never sees a mismatched pair.
#if defined(__GNUC__) && !defined(__clang__)
// GCC takes free() of memory from operator new for a mismatch, not seeing
// that operator new here is malloc.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
namespace {
bool g_counting = false;
long g_allocations = 0;

void* allocate(std::size_t size) noexcept {
  if (g_counting) ++g_allocations;
  return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

void* operator new(std::size_t size) {
  if (void* p = allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

struct Vector {
  std::string message;
  bool hint = false;
  std::string symbols;
  std::string decoded;
  std::string bits_line;
};

std::vector<Vector> load_vectors() {
  std::vector<Vector> rows;
  for (const auto& f : fst4_test::read_tsv(FST4_VECTORS_FILE)) {
    if (f.size() != 5) {
      ADD_FAILURE() << "malformed vector row starting " << (f.empty() ? "" : f[0]);
      continue;
    }
    rows.push_back({f[0], f[1] == "T", f[2], f[3], f[4]});
  }
  return rows;
}

std::string symbol_text(const fst4::Encoding& encoding) {
  std::string text;
  for (auto s : encoding.symbols) text += static_cast<char>('0' + s);
  return text;
}

// The reference prints the info bits either as 77 + 24 bits, or for type 1
// as the groups 28 1 28 1 1 15 3 (payload only); compare without blanks.
std::string reported_bits(const fst4::Encoding& encoding, std::size_t length) {
  std::string info = encoding.info_bits;
  info.resize(101, '0');
  return info.substr(0, length);
}

std::string without_blanks(std::string text) {
  std::erase(text, ' ');
  return text;
}

TEST(ReferenceVectors, CoverEveryMessageType) {
  auto rows = load_vectors();
  ASSERT_GE(rows.size(), 300U);
  std::vector<std::string> kinds;
  for (const auto& row : rows) {
    auto result = fst4::encode(row.message, row.hint);
    if (!result.ok()) continue;
    const auto& e = *result.encoding;
    std::string kind = std::to_string(e.i3);
    if (e.i3 == 0) {
      kind += '.';
      kind += std::to_string(e.n3);
    }
    if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) kinds.push_back(kind);
  }
  for (const char* kind : {"0.0", "0.1", "0.3", "0.4", "0.5", "0.6", "1", "2", "3", "4", "5"}) {
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), kind), kinds.end()) << "no vector of type " << kind;
  }
}

TEST(ReferenceVectors, SymbolsDecodedTextAndBitsMatch) {
  int checked = 0;
  for (const auto& row : load_vectors()) {
    SCOPED_TRACE("message \"" + row.message + "\" W=" + (row.hint ? "T" : "F"));
    auto result = fst4::encode(row.message, row.hint);
    ASSERT_TRUE(result.ok()) << result.refusal;
    const auto& e = *result.encoding;
    EXPECT_EQ(symbol_text(e), row.symbols);
    // The reference's Message: field holds 37 characters.
    EXPECT_EQ(e.decoded.substr(0, 37), row.decoded);
    std::string expected_bits = without_blanks(row.bits_line);
    EXPECT_EQ(reported_bits(e, expected_bits.size()), expected_bits);
    ++checked;
  }
  EXPECT_GE(checked, 300);
}

// Every vector, and every message the reference sends as garbage (most of
// which we refuse), through the heap-free entry.
TEST(ReferenceVectors, HeapFreeEntryAllocatesNothing) {
  auto rows = load_vectors();
  std::vector<std::vector<std::string>> faults = fst4_test::read_tsv(FST4_FAULTS_FILE);
  ASSERT_GE(faults.size(), 20U);
  // A character the reference folds into another is refused: the decoded
  // column carries "refuse" for those rows.
  for (const auto& f : faults) {
    rows.push_back({f[0], f[1] == "T", "", f[2].starts_with("folded-character") ? "refuse" : "", ""});
  }
  int refused = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE("message \"" + row.message + "\" W=" + (row.hint ? "T" : "F"));
    fst4::Symbols symbols{};
    g_allocations = 0;
    g_counting = true;
    fst4::SymbolsResult result = fst4::encode_symbols(row.message, row.hint, symbols);
    g_counting = false;
    EXPECT_EQ(g_allocations, 0);
    if (row.decoded == "refuse") {
      EXPECT_FALSE(result.ok()) << "a folded character must be refused";
    }
    if (!result.ok()) {
      ++refused;
      continue;
    }
    if (row.symbols.empty()) continue;
    std::string text;
    for (auto s : symbols) text += static_cast<char>('0' + s);
    EXPECT_EQ(text, row.symbols);
  }
  EXPECT_GE(refused, 10);
}

// The names library_status.tsv gives the statuses, in the enumeration's order.
constexpr std::array<const char*, 11> kStatusNames = {
    "OK",           "UNCARRIED_CHARACTER", "NOT_FST4W",    "FREE_TEXT_CHARACTER", "REPORT_RANGE",  "FIELD_DAY_CLASS",
    "TWO_PLAIN_CALLS", "WOULD_NOT_DECODE", "EMPTY_DECODE", "OTHER_TEXT",          "NULL_ARGUMENT"};
static_assert(kStatusNames.size() == FST4_NULL_ARGUMENT + 1, "a status without a name");

std::string status_name(fst4_status status) {
  auto index = static_cast<std::size_t>(status);
  return index < kStatusNames.size() ? kStatusNames[index] : "status " + std::to_string(index);
}

TEST(LibraryStatus, EachShapeAsTheTableSays) {
  int rows = 0;
  for (const auto& row : fst4_test::read_tsv(FST4_STATUS_FILE)) {
    ASSERT_EQ(row.size(), 5U);
    SCOPED_TRACE("message \"" + row[0] + "\" W=" + row[1]);
    const int hint = row[1] == "T" ? 1 : 0;
    std::uint8_t symbols[fst4::kChannelSymbols];
    EXPECT_EQ(status_name(fst4_encode(row[0].c_str(), hint, symbols, nullptr)), row[2]);
    EXPECT_EQ(status_name(fst4w_encode(row[0].c_str(), hint, symbols)), row[3]);
    auto result = fst4::encode(row[0], hint != 0);
    EXPECT_EQ(result.ok() ? result.encoding->decoded : "", row[4]);
    EXPECT_EQ(result.ok() && result.encoding->other_text, row[2] == "OTHER_TEXT");
    ++rows;
  }
  EXPECT_GE(rows, 60);
}

// NULL is refused where a beacon could pass one; a status that is none is
// named as unknown, never as "encoded".
TEST(LibraryStatus, NullArgumentsAndUnknownStatus) {
  char text[FST4_MAX_MESSAGE + 1];
  char grid[7];
  std::uint8_t tones[FST4_CHANNEL_SYMBOLS];
  EXPECT_EQ(fst4_encode(nullptr, 0, tones, nullptr), FST4_NULL_ARGUMENT);
  EXPECT_EQ(fst4_encode("CQ K1ABC FN42", 0, nullptr, nullptr), FST4_NULL_ARGUMENT);
  EXPECT_EQ(fst4w_encode(nullptr, 0, tones), FST4_NULL_ARGUMENT);
  EXPECT_EQ(fst4w_encode("K1ABC FN42 37", 0, nullptr), FST4_NULL_ARGUMENT);
  EXPECT_EQ(fst4_encode("CQ K1ABC FN42", 0, tones, nullptr), FST4_OK);
  EXPECT_EQ(fst4w_beacon_messages(nullptr, "FN42", 37, text, text), 0);
  EXPECT_EQ(fst4w_beacon_messages("K1ABC", nullptr, 37, text, text), 0);
  EXPECT_EQ(fst4w_beacon_messages("K1ABC", "FN42", 37, nullptr, text), 0);
  EXPECT_EQ(fst4w_beacon_messages("K1ABC", "FN42", 37, text, nullptr), 0);
  EXPECT_EQ(fst4_grid_locator(0, 0, 6, nullptr), -1);
  EXPECT_STREQ(fst4_status_text(static_cast<fst4_status>(FST4_NULL_ARGUMENT + 1)), "unknown status");
  EXPECT_STRNE(fst4_status_text(FST4_OTHER_TEXT), fst4_status_text(FST4_OK));
  ASSERT_EQ(fst4_grid_locator(0, 0, 6, grid), 0);
}

// Words of the shapes where fields reach their limits, for random messages.
constexpr const char* kWords[] = {
    "K1ABC", "W9XYZ", "PJ4/K1ABC", "K1ABC/P", "W9XYZ/R", "K1ABC/7", "K1ABC/0A", "K1ABC/123", "K1ABC/3L6", "00/K1ABC",
    "0K/W9XYZ", "K1A/P", "K1ABC/MM", "ER5A/MM", "P6CM/MM", "<K1ABC>", "<PA3XYZ>", "<KH1/KH7Z>", "3DA0XYZ", "Q1ABC",
    "CQ", "DE", "QRZ", "DX", "ABCDE", "TU;", "RR73;", "R", "FN42", "RR99", "SA12", "AS12", "FN42NP", "IO91XX",
    "FN42YY", "+50", "+51", "-50", "-51", "-5", "+050", "R+05", "R-51", "-00", "-11", "-12", "+32", "+34", "37",
    "5", "61", "07", "579", "519", "5999", "7999", "8000", "+12", "0012", "590003", "592048", "594095", "MA", "EMA",
    "DX", "3C", "23F", "+1A", "RRR", "RR73", "73", "ABCDEF", "12345", "DEADBEEF", "+05", "7FFFFF", "TNX", "GL"};

std::vector<std::pair<std::string, bool>> status_messages() {
  std::vector<std::pair<std::string, bool>> messages;
  for (const char* file : {FST4_VECTORS_FILE, FST4_FAULTS_FILE, FST4_STATUS_FILE}) {
    for (const auto& row : fst4_test::read_tsv(file)) messages.emplace_back(row[0], row[1] == "T");
  }
  std::mt19937 random(24);
  for (int i = 0; i < 20000; ++i) {
    std::string message;
    for (auto n = random() % 6 + 1; n > 0; --n) {
      message += message.empty() ? "" : " ";
      message += kWords[random() % std::size(kWords)];
    }
    messages.emplace_back(message, random() % 4 == 0);
  }
  return messages;
}

// Two calls of the message sharing a 10-bit hash (as PA3XYZ and G4ABC/P do
// in 12 bits) are shown as one: the symbols carry the hash, not the call.
bool shares_a_hash(const std::string& message) {
  std::vector<std::string> calls;
  std::string word;
  for (std::istringstream words(message); words >> word;) {
    if (word.size() > 2 && word.front() == '<' && word.back() == '>') word = word.substr(1, word.size() - 2);
    for (const auto& other : calls) {
      if (other != word && fst4::detail::hash_call(other, 10) == fst4::detail::hash_call(word, 10)) return true;
    }
    calls.push_back(word);
  }
  return false;
}

// The rule for "another text" is the tool's own (report/carried_text.h),
// applied to what the library's decoder shows: the C core, which has no
// decoder, must come to the same answer from its fields alone.
TEST(LibraryStatus, OtherTextExactlyWhenTheReceiverShowsAnother) {
  int other = 0;
  int same = 0;
  for (const auto& [message, hint] : status_messages()) {
    auto result = fst4::encode(message, hint);
    if (!result.ok() || shares_a_hash(message)) continue;
    const auto& decoded = result.encoding->decoded;
    const bool shows_another = !sympack::report::CarriesSameText(message, decoded);
    // Never OK over another text. The other way round only a free text cut
    // to 13 characters may be called another text where the rule reads the
    // same ("-00" cut to "-0", which is +00 as a report).
    const bool cut_free_text = result.encoding->i3 == 0 && result.encoding->n3 == 0 && decoded.size() == 13;
    EXPECT_TRUE(result.encoding->other_text == shows_another || (!shows_another && cut_free_text))
        << '"' << message << "\" W=" << hint << " is shown as \"" << decoded << "\", other_text "
        << result.encoding->other_text;
    ++(shows_another ? other : same);
  }
  EXPECT_GE(other, 1000);
  EXPECT_GE(same, 1000);
}

}  // namespace
