#include "text/marked_input.h"

#include <array>
#include <utility>

#include "text/utf.h"

namespace sympack::text {
namespace {

struct Mark {
  std::string_view bytes;
  InputEncoding encoding;
};

// The Unicode byte-order marks (U+FEFF) in the encodings Windows writes.
constexpr std::array<Mark, 3> kMarks = {{{"\xEF\xBB\xBF", InputEncoding::kUtf8},
                                          {"\xFF\xFE", InputEncoding::kUtf16Le},
                                          {"\xFE\xFF", InputEncoding::kUtf16Be}}};

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

void MarkedInput::Take(std::string_view bytes) {
  pending_.append(bytes);
  if (encoding_ == InputEncoding::kUndecided) Decide();
}

void MarkedInput::End() {
  ended_ = true;
  if (encoding_ == InputEncoding::kUndecided) Decide();
}

void MarkedInput::Decide() {
  for (const Mark& mark : kMarks) {
    const std::string_view start = std::string_view(pending_).substr(0, mark.bytes.size());
    if (start == mark.bytes) {
      encoding_ = mark.encoding;
      pending_.erase(0, mark.bytes.size());
      return;
    }
    // The start of a mark: the next read tells.
    if (!ended_ && start.size() < mark.bytes.size() && mark.bytes.substr(0, start.size()) == start) return;
  }
  encoding_ = InputEncoding::kAsIs;
}

std::string MarkedInput::Drain() {
  switch (encoding_) {
    case InputEncoding::kUndecided:
      return {};
    case InputEncoding::kUtf16Le:
    case InputEncoding::kUtf16Be:
      return DrainUtf16();
    default:
      return std::exchange(pending_, {});
  }
}

std::string MarkedInput::DrainUtf16() {
  const bool lowFirst = encoding_ == InputEncoding::kUtf16Le;
  const auto unitAt = [&](std::size_t at) {
    const auto first = static_cast<unsigned char>(pending_[at]);
    const auto second = static_cast<unsigned char>(pending_[at + 1]);
    return static_cast<char16_t>(lowFirst ? first | (second << 8) : (first << 8) | second);
  };
  std::size_t whole = pending_.size() / 2 * 2;
  // A surrogate pair split over two reads waits for its second half.
  if (!ended_ && whole > 0 && IsHighSurrogate(unitAt(whole - 2))) whole -= 2;
  std::u16string units;
  for (std::size_t at = 0; at < whole; at += 2) units.push_back(unitAt(at));
  pending_.erase(0, whole);
  if (ended_ && !pending_.empty()) {
    units.push_back(kReplacement);
    pending_.clear();
  }
  return Utf16ToUtf8(units);
}

}  // namespace sympack::text
