#include "console/console.h"

#include <algorithm>

#include "text/control_characters.h"

namespace sympack::console {
namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kQuote = u'"';
constexpr char16_t kComma = u',';

}  // namespace

void Console::WriteText(std::string_view ansi) {
  if (ansi.empty()) return;
  WriteWide(codePage_.AnsiToWide(ansi));
}

void Console::WriteWide(std::u16string_view text) {
  if (text.empty()) return;
  lineSoFar_ += text;
  const auto info = screen_.Info();
  if (!info || info->width <= 0 || info->height <= 0) return;
  const int width = info->width;
  const int lastRow = info->height - 1;
  int x = std::clamp(info->cursorX, 0, width - 1);
  int y = std::clamp(info->cursorY, 0, lastRow);

  while (!text.empty()) {
    if (wrapPending_) {
      // The previous write filled the last cell of the last row.
      wrapPending_ = false;
      screen_.ScrollUp(CurrentAttribute());
    }
    const auto run = std::min<std::size_t>(text.size(), static_cast<std::size_t>(width - x));
    screen_.WriteCells(x, y, text.substr(0, run), CurrentAttribute());
    text.remove_prefix(run);
    x += static_cast<int>(run);
    if (x == width) {
      x = 0;
      if (y == lastRow) {
        wrapPending_ = true;
      } else {
        ++y;
      }
    }
  }
  screen_.PlaceCursor(x, y);
}

void Console::EndLine() {
  lineSoFar_.clear();
  const auto info = screen_.Info();
  if (!info || info->height <= 0) return;
  const int lastRow = info->height - 1;
  if (info->cursorY >= lastRow) {
    screen_.ScrollUp(CurrentAttribute());
    if (wrapPending_) screen_.ScrollUp(CurrentAttribute());
    wrapPending_ = false;
    screen_.PlaceCursor(0, lastRow);
  } else {
    screen_.PlaceCursor(0, info->cursorY + 1);
  }
}

void Console::WriteLine(std::string_view ansi) {
  WriteText(ansi);
  EndLine();
}

void Console::SetTextColor(int foreground) {
  if (foreground >= 0 && foreground < kColorCount) foreground_ = foreground;
  screen_.SetAttribute(CurrentAttribute());
}

void Console::Pause(unsigned milliseconds) { clock_.SleepMilliseconds(milliseconds); }

void Console::EchoBackspace() {
  const auto info = screen_.Info();
  if (!info || info->width <= 0 || info->height <= 0) return;
  int x = info->cursorX;
  int y = info->cursorY;
  if (wrapPending_) {
    // The cursor waits at column 0 of the last row; the last character
    // typed sits in the last cell of that row.
    wrapPending_ = false;
    x = info->width - 1;
    y = info->height - 1;
  } else if (x > 0) {
    --x;
  } else if (y > 0) {
    x = info->width - 1;
    --y;
  } else {
    return;  // the line's start has scrolled out of the buffer
  }
  screen_.PlaceCursor(x, y);
  WriteWide(std::u16string_view(&kBlank, 1));
  wrapPending_ = false;
  screen_.PlaceCursor(x, y);
}

std::optional<std::u16string> Console::ReadLine() {
  screen_.TypingStarts();
  const auto shape = screen_.ReadCursorShape();
  const bool wasHidden = shape && !shape->visible;
  if (wasHidden) screen_.SetCursorShape({shape->sizePercent, true});

  const std::u16string prompt = lineSoFar_;
  std::u16string line;
  bool answered = false;
  while (auto event = keys_.Next()) {
    if (event->redraw) {
      ShowLineAgain(prompt, line);
      continue;
    }
    const char16_t ch = event->character;
    if (event->literal && ch != kEnterCharacter) {
      // Shown as the line holds it: no control character acts on the screen.
      if (line.size() >= kMaxTypedLine) continue;
      line.push_back(ch);
      WriteWide(std::u16string_view(&ch, 1));
      continue;
    }
    if (!event->pressed || ch == 0) continue;
    if (event->shortcut) continue;
    if (ch == kEnterCharacter) {
      EndLine();
      answered = true;
      break;
    }
    if (ch == kBackspaceCharacter) {
      if (!line.empty()) {
        line.pop_back();
        EchoBackspace();
      }
      continue;
    }
    if (ch < text::kFirstPrintable || line.size() >= kMaxTypedLine) continue;
    line.push_back(ch);
    WriteWide(std::u16string_view(&ch, 1));
  }

  if (wasHidden) screen_.SetCursorShape(*shape);
  if (!answered) return std::nullopt;
  return line;
}

void Console::StartLine() {
  wrapPending_ = false;
  const auto info = screen_.Info();
  if (info && info->cursorX != 0) EndLine();
}

// Whatever the screen showed meanwhile (a shell's job messages), the prompt
// and the text typed so far appear again, on a line of their own, and typing
// goes on after them.
void Console::ShowLineAgain(std::u16string_view prompt, std::u16string_view typed) {
  StartLine();
  lineSoFar_.clear();
  WriteWide(prompt);
  WriteWide(typed);
}

std::u16string FirstField(std::u16string_view line) {
  std::size_t start = 0;
  while (start < line.size() && line[start] == kBlank) ++start;
  line.remove_prefix(start);
  if (line.empty()) return {};
  if (line.front() == kQuote) {
    line.remove_prefix(1);
    return std::u16string(line.substr(0, line.find(kQuote)));
  }
  auto field = line.substr(0, line.find(kComma));
  while (!field.empty() && field.back() == kBlank) field.remove_suffix(1);
  return std::u16string(field);
}

}  // namespace sympack::console
