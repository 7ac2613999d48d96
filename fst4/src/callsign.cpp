#include "callsign.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "text.h"

namespace fst4::detail {

namespace {

// Hash multiplier (packjt77.f90, ihashcall): hash = (47055833459 * n) mod
// 2^64, shifted right by 64 - bits; n is the call as 11 base-38 digits.
constexpr std::uint64_t kHashMultiplier = 47055833459ULL;
constexpr std::size_t kHashedCallWidth = 11;

// Standard-call digit alphabets (pack28): position 1 blank/digit/letter (37),
// position 2 digit/letter (36), position 3 digit (10), positions 4..6
// blank/letter (27 each).
constexpr std::string_view kAlpha37 = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kAlpha36 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kAlpha10 = "0123456789";
constexpr std::string_view kAlpha27 = " ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::int64_t kStandardCalls = 37LL * 36 * 10 * 27 * 27 * 27;  // 262 177 560
constexpr std::uint32_t kMask28 = (1U << 28) - 1;

// Index of c in the alphabet, -1 when absent (kept signed on purpose: the
// reference folds such a value into the arithmetic, see standard_value).
std::int64_t index_in(std::string_view alphabet, char c) {
  auto pos = alphabet.find(c);
  return pos == std::string_view::npos ? -1 : static_cast<std::int64_t>(pos);
}

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

// CQ_nnn (exactly three digits) or CQ_abcd (one to four letters).
std::optional<std::int64_t> cq_token(std::string_view word) {
  if (slice(word, 0, 3) != "CQ_" || word.size() < 4 || word.size() > 7) return std::nullopt;
  std::string_view tail = slice(word, 3);
  auto letters = std::count_if(tail.begin(), tail.end(), is_letter);
  auto digits = std::count_if(tail.begin(), tail.end(), is_digit);
  // Any other character would be read as a blank (or cut the number).
  if (static_cast<std::size_t>(letters + digits) != tail.size()) return std::nullopt;
  if (digits == 3 && letters == 0) {
    // The leading number, as std::stol read it; a tail that does not start
    // with one ("/123") is no CQ number rather than an exception.
    std::int64_t number = 0;
    if (std::from_chars(tail.data(), tail.data() + tail.size(), number).ec != std::errc()) {
      return std::nullopt;
    }
    return kCqNumberBase + number;
  }
  if (letters >= 1 && letters <= 4 && digits == 0) {
    // The letters right-aligned in four places, blanks counting 0.
    std::int64_t m = 0;
    std::size_t blanks = 4 - tail.size();
    for (std::size_t i = 0; i < 4; ++i) {
      char c = i < blanks ? ' ' : tail[i - blanks];
      m = 27 * m + (is_letter(c) ? c - 'A' + 1 : 0);
    }
    return kCqLettersBase + m;
  }
  return std::nullopt;
}

// The call-area digit decides whether a call fits the standard form; returns
// its 1-based position, or 0 for a call that must be hashed.
std::size_t standard_area(std::string_view call) {
  std::size_t n = call.size();
  std::size_t area = 1;
  for (std::size_t i = n; i >= 2; --i) {
    if (is_digit(call[i - 1])) {
      area = i;
      break;
    }
  }
  if (area < 2 || area > 3) return 0;
  std::size_t prefix_digits = 0;
  std::size_t prefix_letters = 0;
  for (std::size_t i = 0; i + 1 < area; ++i) {
    prefix_digits += is_digit(call[i]) ? 1 : 0;
    prefix_letters += is_letter(call[i]) ? 1 : 0;
  }
  std::size_t suffix_letters = 0;
  for (std::size_t i = area; i < n; ++i) suffix_letters += is_letter(call[i]) ? 1 : 0;
  if (prefix_letters == 0 || prefix_digits >= area - 1 || suffix_letters > 3) return 0;
  return area;
}

std::int64_t standard_value(std::string_view call, std::size_t area) {
  // The call in six places, its area digit in the third.
  FixedString<6> six(area == 2 ? 1 : 0, ' ');
  six.append(slice(call, 0, 6 - six.size()));
  six.resize(6, ' ');
  std::int64_t s = index_in(kAlpha37, six[0]);
  s = s * 36 + index_in(kAlpha36, six[1]);
  s = s * 10 + index_in(kAlpha10, six[2]);
  s = s * 27 + index_in(kAlpha27, six[3]);
  s = s * 27 + index_in(kAlpha27, six[4]);
  s = s * 27 + index_in(kAlpha27, six[5]);
  return s;
}

std::uint32_t mask28(std::int64_t value) { return static_cast<std::uint32_t>(static_cast<std::uint64_t>(value) & kMask28); }

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

std::uint32_t hash_call(std::string_view call, int bits) {
  // The call left-aligned in kHashedCallWidth places, blank-padded.
  std::uint64_t n = 0;
  for (std::size_t i = 0; i < kHashedCallWidth; ++i) {
    char c = i < call.size() ? call[i] : ' ';
    n = 38 * n + static_cast<std::uint64_t>(index_in(kCallAlphabet38, c));
  }
  return static_cast<std::uint32_t>((kHashMultiplier * n) >> (64 - bits));
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

std::uint32_t pack28(std::string_view word, HashBook& book) {
  if (word == "DE") return 0;
  if (word == "QRZ") return 1;
  if (word == "CQ") return 2;
  if (auto token = cq_token(word)) return mask28(*token);
  std::size_t area = word.empty() || word.front() == '<' ? 0 : standard_area(word);
  book.save(word);
  if (area == 0) return mask28(kTokens + hash_call(strip_brackets(word), 22));
  return mask28(kTokens + kMax22 + standard_value(word, area));
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

std::uint64_t pack58(std::string_view call) {
  // The call right-aligned in kHashedCallWidth places, blank-padded.
  call = slice(call, 0, kHashedCallWidth);
  std::size_t blanks = kHashedCallWidth - call.size();
  std::uint64_t n = 0;
  for (std::size_t i = 0; i < kHashedCallWidth; ++i) {
    char c = i < blanks ? ' ' : call[i - blanks];
    n = 38 * n + static_cast<std::uint64_t>(index_in(kCallAlphabet38, c));
  }
  return n;
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
