// Every row of reference_vectors.tsv (made by make_vectors.py from WSJT-X's
// fst4sim) must come out of our encoder with the same symbols, decoded
// message and message bits; the heap-free entry must give the same symbols
// without allocating.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "fst4/encoder.h"
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

}  // namespace

