#include "text.h"

#include <limits>

namespace fst4::detail {

namespace {

// Largest base call in characters, and the longest call with a prefix or
// suffix (lib/chkcall.f90).
constexpr std::size_t kMaxBaseCall = 6;
constexpr std::size_t kMaxCompoundCall = 11;

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool is_alnum(char c) { return is_letter(c) || is_digit(c); }

}  // namespace

std::string_view Words::at(std::size_t n) const {
  return (n >= 1 && n <= word_count) ? words[n - 1].view() : std::string_view{};
}

bool carried_by_some_type(std::string_view text) {
  for (char c : text) {
    if (kTextAlphabet.find(c) == std::string_view::npos && c != '<' && c != '>' && c != ';') return false;
  }
  return true;
}

bool in_call_alphabet(std::string_view call) {
  for (char c : call) {
    if (!is_alnum(c) && c != '/' && c != ' ') return false;
  }
  return true;
}

Words split_message(std::string_view message) {
  Words result;
  for (char raw : message) {
    char c = upper(raw);
    if (c != ' ') {
      result.text.append(c);
    } else if (!result.text.empty() && result.text.back() != ' ') {
      result.text.append(' ');
    }
  }
  while (!result.text.empty() && result.text.back() == ' ') result.text.pop_back();

  // The words are the text's blank-separated runs.
  std::string_view rest = result.text;
  while (!rest.empty()) {
    auto blank = rest.find(' ');
    std::string_view word = slice(rest, 0, blank);
    rest = blank == std::string_view::npos ? std::string_view{} : slice(rest, blank + 1);
    if (result.word_count < kMaxWords) result.words[result.word_count++] = Word(slice(word, 0, kMaxWordLength));
  }

  auto& w = result.words;
  if (result.word_count >= 3 && w[0] == "CQ" && base_call(w[2])) {
    Word joined("CQ_");
    joined.append(slice(w[1].view(), 0, 10));
    w[1] = joined;
    for (std::size_t i = 1; i < result.word_count; ++i) w[i - 1] = w[i];
    w[--result.word_count] = Word();
  }
  return result;
}

std::optional<std::string_view> base_call(std::string_view word, QCalls q_calls) {
  if (word.empty() || word.size() > kMaxCompoundCall) return std::nullopt;
  if (word.find_first_of(".+-?") != std::string_view::npos || !in_call_alphabet(word)) return std::nullopt;
  auto slash = word.find('/');
  if (word.size() > kMaxBaseCall && slash == std::string_view::npos) return std::nullopt;
  std::string_view base = word;
  if (slash != std::string_view::npos) {
    std::string_view left = slice(word, 0, slash);
    std::string_view right = slice(word, slash + 1);
    base = left.size() > right.size() ? left : right;
  }
  if (base.size() > kMaxBaseCall || base.size() < 3) return std::nullopt;
  if (!is_letter(base[0]) && !is_letter(base[1])) return std::nullopt;
  if (q_calls == QCalls::refused && base[0] == 'Q' && base != "QU1RK") return std::nullopt;
  // The call-area digit is the last digit among positions 2 and 3.
  std::size_t area = 0;
  if (is_digit(base[1])) area = 1;
  if (base.size() > 2 && is_digit(base[2])) area = 2;
  if (area == 0) return std::nullopt;
  std::string_view suffix = slice(base, area + 1);
  if (suffix.empty() || suffix.size() > 3) return std::nullopt;
  for (char c : suffix) {
    if (!is_letter(c)) return std::nullopt;
  }
  for (char c : slice(base, 0, area)) {
    if (!is_alnum(c)) return std::nullopt;
  }
  return base;
}

bool is_grid4(std::string_view word) {
  return word.size() == 4 && word[0] >= 'A' && word[0] <= 'R' && word[1] >= 'A' && word[1] <= 'R' &&
         is_digit(word[2]) && is_digit(word[3]);
}

bool is_grid6(std::string_view word) {
  return word.size() == 6 && is_grid4(slice(word, 0, 4)) && word[4] >= 'A' && word[4] <= 'X' &&
         word[5] >= 'A' && word[5] <= 'X';
}

std::optional<long> parse_int(std::string_view word) {
  std::size_t i = 0;
  bool negative = false;
  if (!word.empty() && (word[0] == '+' || word[0] == '-')) {
    negative = word[0] == '-';
    i = 1;
  }
  if (i == word.size() || word.size() - i > 9) return std::nullopt;
  long value = 0;
  for (; i < word.size(); ++i) {
    if (!is_digit(word[i])) return std::nullopt;
    value = value * 10 + (word[i] - '0');
  }
  return negative ? -value : value;
}

std::optional<std::string_view> bracketed_call(std::string_view word) {
  if (word.size() < 3 || word.front() != '<' || word.back() != '>') return std::nullopt;
  std::string_view call = slice(word, 1, word.size() - 2);
  if (!in_call_alphabet(call)) return std::nullopt;
  return call;
}

}  // namespace fst4::detail
