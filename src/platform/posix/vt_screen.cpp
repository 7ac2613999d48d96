#include "platform/posix/vt_screen.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "platform/posix/clipboard_osc52.h"
#include "platform/posix/signal_state.h"
#include "platform/terminal_input.h"
#include "platform/posix/process.h"
#include "text/utf.h"

namespace sympack::platform::posix {
namespace {

constexpr int kFallbackWidth = 80;
constexpr int kFallbackHeight = 25;
// How long to wait for the terminal to answer a cursor-position request.
constexpr int kReportTimeoutMs = 500;
constexpr std::uint16_t kDefaultAttribute = 7;  // light grey on black: the terminal's defaults
constexpr int kDefaultCursorSize = 10;
constexpr std::string_view kShowCursor = "\x1b[?25h";
constexpr std::string_view kHideCursor = "\x1b[?25l";
constexpr std::string_view kAskCursorPosition = "\x1b[6n";
// Written when a signal ends the process: default colours, cursor shown.
constexpr std::string_view kResetOnSignal = "\x1b[0m\x1b[?25h";

// Windows attribute bits (1 blue, 2 green, 4 red) in the ANSI colour order
// (1 red, 2 green, 4 blue).
int AnsiColour(int windowsColour) {
  return ((windowsColour & 4) ? 1 : 0) | (windowsColour & 2) | ((windowsColour & 1) ? 4 : 0);
}

std::string SgrFor(std::uint16_t attribute) {
  const int foreground = attribute & 0xF;
  const int background = (attribute >> 4) & 0xF;
  std::string sgr = "\x1b[0";
  if (foreground != kDefaultAttribute) {
    sgr += ';' + std::to_string(((foreground & 8) ? 90 : 30) + AnsiColour(foreground));
  }
  if (background != 0) {
    sgr += ';' + std::to_string(((background & 8) ? 100 : 40) + AnsiColour(background));
  }
  return sgr + 'm';
}

// A cell holds one character; control characters are shown as the glyphs the
// PC character set gives them, never acted on by the terminal.
void AppendCell(std::string& out, char16_t unit) {
  static constexpr char16_t kControlGlyphs[32] = {
      u' ',    u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022',
      u'\u25D8', u'\u25CB', u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C',
      u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8',
      u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC'};
  if (unit < 32) {
    text::AppendUtf8(out, kControlGlyphs[unit]);
  } else if (unit == 0x7F) {
    text::AppendUtf8(out, u'\u2302');
  } else if (unit >= 0x80 && unit < 0xA0) {
    out += '?';  // C1 controls would be acted on by the terminal
  } else if (unit >= 0xD800 && unit <= 0xDFFF) {
    text::AppendUtf8(out, 0xFFFD);
  } else {
    text::AppendUtf8(out, unit);
  }
}

}  // namespace

VtScreen::VtScreen(int outFd, ControllingTerminal& terminal)
    : outFd_(outFd), terminal_(terminal), consoleAttribute_(kDefaultAttribute), drawnAttribute_(kDefaultAttribute) {
  posix::PublishOutputReset(outFd, kResetOnSignal);
}

VtScreen::~VtScreen() { posix::PublishOutputReset(-1, {}); }

std::optional<ScreenInfo> VtScreen::Info() {
  ScreenInfo info;
  Size(info.width, info.height);
  if (!cursorKnown_) AskCursorPosition();
  if (!cursorKnown_) {
    // No answer: go on from the bottom row, where scrolling always works.
    cursorX_ = 0;
    cursorY_ = info.height - 1;
    cursorKnown_ = true;
  }
  info.cursorX = std::min(cursorX_, info.width - 1);
  info.cursorY = std::min(cursorY_, info.height - 1);
  return info;
}

void VtScreen::WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) {
  MoveTo(x, y);
  DrawIn(attribute);
  for (const char16_t unit : cells) AppendCell(pending_, unit);
  // Where the terminal's own cursor ends is its business; the console
  // algorithms place the cursor explicitly after every write.
  cursorKnown_ = false;
}

void VtScreen::ScrollUp(std::uint16_t fillAttribute) {
  int width = 0, height = 0;
  Size(width, height);
  MoveTo(0, height - 1);
  // The background of the fill is the only part of the attribute a new row
  // shows; the tool's background is always black.
  DrawIn(static_cast<std::uint16_t>(kDefaultAttribute | (fillAttribute & 0xF0)));
  pending_ += '\n';  // at the bottom row: the top row goes into the scrollback
  cursorKnown_ = false;
}

void VtScreen::PlaceCursor(int x, int y) {
  MoveTo(x, y);
  cursorX_ = x;
  cursorY_ = y;
  cursorKnown_ = true;
}

void VtScreen::SetAttribute(std::uint16_t attribute) {
  consoleAttribute_ = attribute;
  DrawIn(attribute);
}

std::optional<CursorShape> VtScreen::ReadCursorShape() { return CursorShape{kDefaultCursorSize, cursorVisible_}; }

void VtScreen::SetCursorShape(CursorShape shape) {
  if (shape.visible != cursorVisible_) pending_ += shape.visible ? kShowCursor : kHideCursor;
  cursorVisible_ = shape.visible;
}

void VtScreen::PlaceClipboardText(std::u16string_view text) {
  pending_ += ClipboardSequence(text);
  Flush();
}

void VtScreen::Flush() {
  if (!pending_.empty()) posix::WriteAll(outFd_, pending_);
  pending_.clear();
}

void VtScreen::HandOver() {
  DrawIn(consoleAttribute_);
  Flush();
}

void VtScreen::Restore() {
  if (!cursorVisible_) pending_ += kShowCursor;
  Flush();
}

void VtScreen::Size(int& width, int& height) const {
  winsize size{};
  if (ioctl(outFd_, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
    width = size.ws_col;
    height = size.ws_row;
    return;
  }
  width = kFallbackWidth;
  height = kFallbackHeight;
}

void VtScreen::DrawIn(std::uint16_t attribute) {
  if (attribute == drawnAttribute_) return;
  pending_ += SgrFor(attribute);
  drawnAttribute_ = attribute;
}

void VtScreen::MoveTo(int x, int y) {
  pending_ += "\x1b[" + std::to_string(y + 1) + ';' + std::to_string(x + 1) + 'H';
}

// Asks the terminal where the cursor is and takes its report out of the
// input, leaving keys typed around it in place.
void VtScreen::AskCursorPosition() {
  if (!reportsWork_ || !terminal_.IsOpen()) return;
  pending_ += kAskCursorPosition;
  Flush();
  std::string& input = terminal_.Input();
  for (;;) {
    if (const auto report = FindCursorReport(input)) {
      input.erase(report->start, report->length);
      cursorX_ = report->column;
      cursorY_ = report->row;
      cursorKnown_ = true;
      return;
    }
    if (!terminal_.ReadBytes(kReportTimeoutMs)) {
      reportsWork_ = false;  // a terminal that never answers is not asked again
      return;
    }
  }
}

}  // namespace sympack::platform::posix
