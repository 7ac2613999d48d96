// The console on a terminal that understands VT sequences: cells written with
// cursor positioning and colours, scrolling by a line feed on the bottom row,
// the cursor read with the terminal's cursor-position report. Output is
// buffered and goes out before every wait (Flush).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "console/screen.h"
#include "platform/platform.h"
#include "platform/posix/controlling_terminal.h"

namespace sympack::platform::posix {

class VtScreen final : public console::Screen {
 public:
  // The screen on the terminal behind `outFd`; cursor reports are read from
  // `terminal` while it is open.
  VtScreen(int outFd, ControllingTerminal& terminal);
  ~VtScreen() override;
  VtScreen(const VtScreen&) = delete;
  VtScreen& operator=(const VtScreen&) = delete;

  std::optional<ScreenInfo> Info() override;
  void WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) override;
  void ScrollUp(std::uint16_t fillAttribute) override;
  void PlaceCursor(int x, int y) override;
  void SetAttribute(std::uint16_t attribute) override;
  std::optional<CursorShape> ReadCursorShape() override;
  void SetCursorShape(CursorShape shape) override;

  // Places the text on the clipboard of whatever shows the output (OSC 52).
  void PlaceClipboardText(std::u16string_view text);
  // Writes out what is buffered, so that it shows before the process waits.
  void Flush();
  // Before a child runs: output flushed, the console colour in force.
  void HandOver();
  // After it ended, or after a stop and continue: where the cursor is must
  // be learnt anew.
  void TakeBack() { cursorKnown_ = false; }
  // On the way out: the output's own state (cursor, colours) given back.
  void Restore();

 private:
  void Size(int& width, int& height) const;
  void DrawIn(std::uint16_t attribute);
  void MoveTo(int x, int y);
  void AskCursorPosition();

  int outFd_;
  ControllingTerminal& terminal_;
  std::string pending_;  // output not yet written
  bool cursorKnown_ = false;
  int cursorX_ = 0, cursorY_ = 0;
  bool reportsWork_ = true;  // false once the terminal failed to answer
  std::uint16_t consoleAttribute_;
  std::uint16_t drawnAttribute_;  // what the terminal uses now
  bool cursorVisible_ = true;
};

}  // namespace sympack::platform::posix
