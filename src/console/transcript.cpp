#include "console/transcript.h"

#include <algorithm>

#include "console/colors.h"
#include "text/control_characters.h"

namespace sympack::console {
namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kStandIn = u'?';
constexpr std::uint16_t kForegroundBits = 0x0F;


}  // namespace

std::optional<ScreenInfo> TranscriptScreen::Info() {
  return ScreenInfo{cursorX_, 0, kTranscriptWidth, 1};
}

void TranscriptScreen::WriteCells(int x, int /*y*/, std::u16string_view cells, std::uint16_t attribute) {
  if (EchoLeftOut() || x < 0) return;
  const auto at = static_cast<std::size_t>(x);
  if (at < sent_) return;  // what went out cannot be taken back
  if (line_.size() < at + cells.size()) line_.resize(at + cells.size(), kBlank);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    line_[at + i] = text::IsControl(cells[i]) ? kStandIn : cells[i];
  }
  if ((attribute & kForegroundBits) == kLightRed) lightRed_ = true;
}

void TranscriptScreen::ScrollUp(std::uint16_t /*fillAttribute*/) {
  // While typing the cursor follows the last character kept: blanks that
  // Backspace left behind it are no part of the line.
  if (typing_ && cursorX_ >= 0) {
    line_.resize(std::max(sent_, std::min(line_.size(), static_cast<std::size_t>(cursorX_))));
  }
  if (!EchoLeftOut()) {
    sink_.Write(std::u16string_view(line_).substr(sent_));
    sink_.EndLine();
    if (lightRed_) sink_.ErrorLine(line_);
  }
  line_.clear();
  sent_ = 0;
  cursorX_ = 0;
  lightRed_ = false;
  typing_ = false;
}

void TranscriptScreen::PlaceCursor(int x, int /*y*/) { cursorX_ = x; }

void TranscriptScreen::TypingStarts() {
  sink_.Write(std::u16string_view(line_).substr(sent_));
  sent_ = line_.size();
  sink_.BeforeTyping(line_);
  typing_ = true;
}

}  // namespace sympack::console
