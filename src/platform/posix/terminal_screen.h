// What the console operations draw on when the tool runs on a POSIX system.
// PrepareConsole chooses one implementation for the run from what standard
// output and standard error are; the seam functions pass their calls on.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace sympack::platform::posix {

class TerminalScreen {
 public:
  virtual ~TerminalScreen() = default;

  virtual std::optional<ScreenInfo> Info() = 0;
  virtual bool WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) = 0;
  virtual bool ScrollUpOneRow(std::uint16_t fillAttribute) = 0;
  virtual bool PlaceCursor(int x, int y) = 0;
  virtual bool SetAttribute(std::uint16_t attribute) = 0;
  virtual std::optional<CursorShape> ReadCursorShape() = 0;
  virtual bool SetCursorShape(CursorShape shape) = 0;
  // Places the text on the clipboard of whatever shows the output; false
  // when it certainly was not placed.
  virtual bool PlaceClipboardText(std::u16string_view text) = 0;

  // Writes out what is buffered, so that it shows before the process waits.
  virtual void Flush() = 0;
  // Before a child runs: output flushed, the console colour in force.
  virtual void HandOver() = 0;
  // After it ended: whatever the child may have changed is learnt anew.
  virtual void TakeBack() = 0;
  // On the way out: the output's own state (cursor, colours) given back.
  virtual void Restore() = 0;
};

}  // namespace sympack::platform::posix
