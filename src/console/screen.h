// What the console algorithms draw on and read keys from: the one screen
// interface, implemented by the system's console, the plain transcript and
// the tests' in-memory screen.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace sympack::console {

using platform::CursorShape;
using platform::KeyEvent;
using platform::ScreenInfo;

class Screen {
 public:
  virtual ~Screen() = default;
  virtual std::optional<ScreenInfo> Info() = 0;
  virtual void WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) = 0;
  virtual void ScrollUp(std::uint16_t fillAttribute) = 0;
  virtual void PlaceCursor(int x, int y) = 0;
  virtual void SetAttribute(std::uint16_t attribute) = 0;
  virtual std::optional<CursorShape> ReadCursorShape() = 0;
  virtual void SetCursorShape(CursorShape shape) = 0;
  // A typed line is about to be read (after its prompt).
  virtual void TypingStarts() {}
};

class KeySource {
 public:
  virtual ~KeySource() = default;
  // The next input event; empty when no key will ever come.
  virtual std::optional<KeyEvent> Next() = 0;
};

}  // namespace sympack::console
