// Message text handling shared by the packers: word splitting, callsign
// validity, grids and small parsers.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "fixed_string.h"
#include "fst4/encoder.h"

namespace fst4::detail {

// Words are cut to 13 characters and at most 19 are kept.
inline constexpr std::size_t kMaxWordLength = 13;
inline constexpr std::size_t kMaxWords = 19;

using Word = FixedString<kMaxWordLength>;

struct Words {
  // The message upper-cased with runs of blanks collapsed to one.
  FixedString<kMaxMessageLength> text;
  std::array<Word, kMaxWords> words{};
  std::size_t word_count = 0;

  [[nodiscard]] std::size_t count() const { return word_count; }
  // Word n counted from 1, or "" when there are fewer words.
  [[nodiscard]] std::string_view at(std::size_t n) const;
};

// Upper-cases, collapses blanks and splits. "CQ <word> <call> ..." becomes
// "CQ_<word> <call> ..." when the third word is a valid call.
Words split_message(std::string_view message);

// Free-text alphabet, blank = 0 (WSJT-X 2.6.1, lib/77bit/packjt77.f90,
// packtext77). Every character any message type carries is in it, except
// '<' '>' around hashed calls and ';' in "RR73;" and "TU;".
inline constexpr std::string_view kTextAlphabet = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ+-./?";

// Whether a message type can carry every character of `text`. A character
// outside these alphabets would be folded into the payload as some other
// character (the reference sends "CQ K1ABC,FN42" as "CQ K1ABB/FN42"), so a
// message holding one is refused instead.
bool carried_by_some_type(std::string_view text);
// Whether every character of a call is one of its 38 (blank, digits,
// letters, '/'), as hashed and 58-bit calls need.
bool in_call_alphabet(std::string_view call);

inline bool is_letter(char c) { return c >= 'A' && c <= 'Z'; }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Whether a base call may begin with Q. Calls starting with Q are refused
// (Q codes are not calls; QU1RK is the one exception) everywhere except in
// the FST4W call-grid-power message, which the reference packs with any
// such call.
enum class QCalls { refused, allowed };

// Base call of a valid standard or compound call ("PJ4/K1ABC" -> "K1ABC"),
// or nothing when the word is not a usable call. The result views `word`.
std::optional<std::string_view> base_call(std::string_view word, QCalls q_calls = QCalls::refused);

// "FN42": two letters A..R then two digits.
bool is_grid4(std::string_view word);
// "FN42NP": a grid4 then two letters A..X.
bool is_grid6(std::string_view word);

// A whole word read as a decimal integer with an optional sign.
std::optional<long> parse_int(std::string_view word);

// "<CALL>": a word in angle brackets around characters of the call
// alphabet; returns the call inside (a view of `word`).
std::optional<std::string_view> bracketed_call(std::string_view word);

}  // namespace fst4::detail
