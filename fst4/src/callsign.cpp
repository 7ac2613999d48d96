#include "callsign.h"

#include <algorithm>

#include <fst4/fst4.h>

#include "fst4_call.h"
#include "text.h"

namespace fst4::detail {

namespace {

// Standard-call digit alphabets (pack28): position 1 blank/digit/letter (37),
// position 2 digit/letter (36), position 3 digit (10), positions 4..6
// blank/letter (27 each).
constexpr std::string_view kAlpha37 = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kAlpha36 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kAlpha10 = "0123456789";
constexpr std::string_view kAlpha27 = " ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::int64_t kStandardCalls = 37LL * 36 * 10 * 27 * 27 * 27;  // 262 177 560
constexpr std::size_t kHashedCallWidth = 11;

std::string_view strip_brackets(std::string_view call) {
  if (!call.empty() && call.front() == '<') call.remove_prefix(1);
  return slice(call, 0, call.find('>'));
}

CallText trimmed(std::string_view text) {
  auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  auto last = text.find_last_not_of(' ');
  return CallText(slice(text, first, last - first + 1));
}

CallText unpack_standard(std::int64_t s) {
  FixedString<6> six(6, ' ');
  six[5] = kAlpha27[static_cast<std::size_t>(s % 27)];
  s /= 27;
  six[4] = kAlpha27[static_cast<std::size_t>(s % 27)];
  s /= 27;
  six[3] = kAlpha27[static_cast<std::size_t>(s % 27)];
  s /= 27;
  six[2] = kAlpha10[static_cast<std::size_t>(s % 10)];
  s /= 10;
  six[1] = kAlpha36[static_cast<std::size_t>(s % 36)];
  s /= 36;
  six[0] = kAlpha37[static_cast<std::size_t>(s)];
  return trimmed(six);
}

CallText unpack_cq_letters(std::int64_t m) {
  FixedString<4> four(4, ' ');
  for (int i = 3; i >= 0; --i) {
    std::int64_t digit = m % 27;
    four[static_cast<std::size_t>(i)] = digit == 0 ? ' ' : static_cast<char>('A' + digit - 1);
    m /= 27;
  }
  CallText text("CQ ");
  return text.append(trimmed(four));
}

}  // namespace

// The core's hash (fst4/core/fst4_call.c), the one the packer sends.
std::uint32_t hash_call(std::string_view call, int bits) {
  return fst4_hash_call(fst4_span{call.data(), call.size()}, static_cast<unsigned>(bits));
}

void HashBook::save(std::string_view call) {
  Word bare(strip_brackets(call));
  auto end = std::remove_if(calls_.begin(), calls_.begin() + count_, [&](const Word& w) { return w.view() == bare.view(); });
  count_ = static_cast<std::size_t>(end - calls_.begin());
  if (count_ == kCapacity) {
    std::move(calls_.begin() + 1, calls_.end(), calls_.begin());
    --count_;
  }
  calls_[count_++] = bare;
}

// When two calls share a hash the one saved last is shown, as the
// reference's table does (e.g. PA3XYZ and G4ABC/P share their 12-bit hash).
CallText HashBook::show(std::uint32_t hash, int bits) const {
  CallText shown;
  for (std::size_t i = count_; i-- > 0;) {
    if (hash_call(calls_[i], bits) == hash) return append_all(shown, '<', calls_[i], '>');
  }
  return shown.append("<...>");
}

std::optional<CallText> unpack28(std::uint32_t n28, const HashBook& book) {
  std::int64_t n = n28;
  if (n == 0) return CallText("DE");
  if (n == 1) return CallText("QRZ");
  if (n == 2) return CallText("CQ");
  if (n < kCqLettersBase) {
    CallText text("CQ ");
    return append_decimal(text, static_cast<unsigned long long>(n - kCqNumberBase), 3);
  }
  if (n < kCqLettersBase + kCqLettersCount) return unpack_cq_letters(n - kCqLettersBase);
  if (n < kTokens) return std::nullopt;
  if (n < kTokens + kMax22) return book.show(static_cast<std::uint32_t>(n - kTokens), 22);
  std::int64_t s = n - kTokens - kMax22;
  if (s >= kStandardCalls) return std::nullopt;
  return unpack_standard(s);
}

CallText unpack58(std::uint64_t n58) {
  FixedString<kHashedCallWidth> call(kHashedCallWidth, ' ');
  for (std::size_t i = kHashedCallWidth; i-- > 0;) {
    call[i] = kCallAlphabet38[static_cast<std::size_t>(n58 % 38)];
    n58 /= 38;
  }
  return trimmed(call);
}

}  // namespace fst4::detail
