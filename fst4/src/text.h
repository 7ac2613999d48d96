// Message text handling shared by the packers: word splitting, callsign
// validity, grids and small parsers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fst4::detail {

// Words are cut to 13 characters and at most 19 are kept.
inline constexpr std::size_t kMaxWordLength = 13;
inline constexpr std::size_t kMaxWords = 19;

struct Words {
  // The message upper-cased with runs of blanks collapsed to one.
  std::string text;
  std::vector<std::string> words;

  [[nodiscard]] std::size_t count() const { return words.size(); }
  // Word n counted from 1, or "" when there are fewer words.
  [[nodiscard]] const std::string& at(std::size_t n) const;
};

// Upper-cases, collapses blanks and splits. "CQ <word> <call> ..." becomes
// "CQ_<word> <call> ..." when the third word is a valid call.
Words split_message(std::string_view message);

inline bool is_letter(char c) { return c >= 'A' && c <= 'Z'; }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Whether a base call may begin with Q. Calls starting with Q are refused
// (Q codes are not calls; QU1RK is the one exception) everywhere except in
// the FST4W call-grid-power message, which the reference packs with any
// such call.
enum class QCalls { refused, allowed };

// Base call of a valid standard or compound call ("PJ4/K1ABC" -> "K1ABC"),
// or nothing when the word is not a usable call.
std::optional<std::string> base_call(std::string_view word, QCalls q_calls = QCalls::refused);

// "FN42": two letters A..R then two digits.
bool is_grid4(std::string_view word);
// "FN42NP": a grid4 then two letters A..X.
bool is_grid6(std::string_view word);

// A whole word read as a decimal integer with an optional sign.
std::optional<long> parse_int(std::string_view word);

// "<CALL>": a word in angle brackets; returns the call inside.
std::optional<std::string> bracketed_call(std::string_view word);

}  // namespace fst4::detail
