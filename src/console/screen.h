// What the console algorithms draw on and read keys from: the one screen
// interface (implemented by the system's console, the plain transcript and
// the tests' in-memory screen), the keys, and the terminal a run is given.
// These are the lowest interfaces of the tool: they include nothing of it,
// and the platform's implementations stand on them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sympack::console {

// The screen buffer, in cells. Columns and rows count from 0.
struct ScreenInfo {
  int cursorX = 0;
  int cursorY = 0;
  int width = 0;   // W: columns of the whole buffer
  int height = 0;  // H: rows of the whole buffer
};

struct CursorShape {
  int sizePercent = 0;  // 1..100, percent of the cell; 0 means unknown
  bool visible = true;
};

// One keyboard input event, as the console reports it.
struct KeyEvent {
  bool pressed = false;        // false: a release, or a non-key event
  char16_t character = 0;      // 0: a key without a character
  bool altHeld = false;        // left or right Alt (AltGr included)
  // Alt with a letter key: a shortcut (a menu accelerator), never typing, so
  // the line editor ignores it. Each system tells it by its own keyboard.
  bool shortcut = false;
  // Not a key: the terminal was someone else's meanwhile (POSIX job control,
  // a stop and continue), so the line being typed must be shown again.
  bool redraw = false;
  // A character of a line read as text (standard input: a file, a pipe),
  // not a key: it stands as it is, a control character or NUL too, so that
  // the run refuses such a line rather than the line editor changing it.
  bool literal = false;
};

// The characters of the keys that edit a typed line, as the Windows console
// reports them in its key events. Terminal bytes and standard input's lines
// are turned into the same keys.
constexpr char16_t kEnterCharacter = 13;     // CR
constexpr char16_t kBackspaceCharacter = 8;  // BS

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

// The terminal a run is given: the one screen the texts go to (cells or
// transcript), the keys (Next: typed lines from standard input come as their
// characters and Enter, and Enter for ever at its end; empty when no
// keyboard will ever deliver one), and sleeping.
class Terminal : public KeySource {
 public:
  virtual console::Screen& Screen() = 0;
  // What was written shows before the wait.
  virtual void SleepMilliseconds(unsigned milliseconds) = 0;
};

}  // namespace sympack::console
