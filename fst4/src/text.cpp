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

const std::string& Words::at(std::size_t n) const {
  static const std::string empty;
  return (n >= 1 && n <= words.size()) ? words[n - 1] : empty;
}

Words split_message(std::string_view message) {
  Words result;
  std::string word;
  auto flush = [&] {
    if (word.empty()) return;
    if (result.words.size() < kMaxWords) result.words.push_back(word.substr(0, kMaxWordLength));
    word.clear();
  };
  for (char raw : message) {
    char c = upper(raw);
    if (c == ' ') {
      if (!result.text.empty() && result.text.back() != ' ') result.text.push_back(' ');
      flush();
    } else {
      result.text.push_back(c);
      word.push_back(c);
    }
  }
  flush();
  while (!result.text.empty() && result.text.back() == ' ') result.text.pop_back();

  auto& w = result.words;
  if (w.size() >= 3 && w[0] == "CQ" && base_call(w[2])) {
    w[1] = "CQ_" + w[1].substr(0, 10);
    w.erase(w.begin());
  }
  return result;
}

std::optional<std::string> base_call(std::string_view word, QCalls q_calls) {
  if (word.empty() || word.size() > kMaxCompoundCall) return std::nullopt;
  if (word.find_first_of(".+-?") != std::string_view::npos) return std::nullopt;
  auto slash = word.find('/');
  if (word.size() > kMaxBaseCall && slash == std::string_view::npos) return std::nullopt;
  std::string_view base = word;
  if (slash != std::string_view::npos) {
    std::string_view left = word.substr(0, slash);
    std::string_view right = word.substr(slash + 1);
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
  std::string_view suffix = base.substr(area + 1);
  if (suffix.empty() || suffix.size() > 3) return std::nullopt;
  for (char c : suffix) {
    if (!is_letter(c)) return std::nullopt;
  }
  for (char c : base.substr(0, area)) {
    if (!is_alnum(c)) return std::nullopt;
  }
  return std::string(base);
}

bool is_grid4(std::string_view word) {
  return word.size() == 4 && word[0] >= 'A' && word[0] <= 'R' && word[1] >= 'A' && word[1] <= 'R' &&
         is_digit(word[2]) && is_digit(word[3]);
}

bool is_grid6(std::string_view word) {
  return word.size() == 6 && is_grid4(word.substr(0, 4)) && word[4] >= 'A' && word[4] <= 'X' &&
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

std::optional<std::string> bracketed_call(std::string_view word) {
  if (word.size() < 3 || word.front() != '<' || word.back() != '>') return std::nullopt;
  return std::string(word.substr(1, word.size() - 2));
}

}  // namespace fst4::detail
