#include "platform/typed_lines.h"

#include "text/line_ends.h"

namespace sympack::platform {

void TypedLines::Take(std::u16string_view characters) {
  pending_.insert(pending_.end(), characters.begin(), characters.end());
}

std::optional<char16_t> TypedLines::NextKey() {
  while (!pending_.empty()) {
    const char16_t unit = pending_.front();
    pending_.pop_front();
    const bool lfOfCrLf = afterCr_ && unit == text::kLf;
    afterCr_ = unit == text::kCr;
    if (lfOfCrLf) continue;
    return unit == text::kCr || unit == text::kLf ? kEnterCharacter : unit;
  }
  if (ended_) return kEnterCharacter;
  return std::nullopt;
}

}  // namespace sympack::platform
