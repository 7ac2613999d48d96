// The tool's console: text placed cell by cell at the cursor in the current
// colour, line ends, colour changes, typed-line input and pauses. The rules
// for wrapping, scrolling and editing live here, once, over a Screen and a
// KeySource.
#pragma once

#include <concepts>
#include <optional>
#include <string>
#include <string_view>

#include "console/colors.h"
#include "console/screen.h"
#include "text/code_page.h"

namespace sympack::console {

// Longest line a user can type; further characters are neither kept nor shown.
constexpr std::size_t kMaxTypedLine = 10000;

class Console {
 public:
  // The code page converts the texts; the terminal's clock paces Pause.
  Console(Screen& screen, KeySource& keys, Terminal& clock, text::CodePage& codePage)
      : screen_(screen), keys_(keys), clock_(clock), codePage_(codePage) {}
  Console(Terminal& terminal, text::CodePage& codePage)
      : Console(terminal.Screen(), terminal, terminal, codePage) {}
  // A system that is both (the run's System).
  template <typename Host>
    requires std::derived_from<Host, Terminal> && std::derived_from<Host, text::CodePage>
  explicit Console(Host& host) : Console(static_cast<Terminal&>(host), static_cast<text::CodePage&>(host)) {}

  // Places ANSI code page text at the cursor, with no line end.
  void WriteText(std::string_view ansi);
  // The same for text already in UTF-16: one unit per cell, control
  // characters included (they are shown, never acted on).
  void WriteWide(std::u16string_view text);
  void EndLine();
  // Ends the line unless the cursor stands at a line's start: something
  // else wrote there meanwhile (a terminal's ^C, a shell's job message).
  void StartLine();
  void WriteLine(std::string_view ansi);
  // Colours of 16 or more leave the foreground as it is; the console's
  // current attribute is set either way.
  void SetTextColor(int foreground);

  // One typed line, whole and unconverted; empty when the keyboard went away
  // before Enter (a hang-up, the end of a terminal's input), which is no
  // answer at all. Keys are edited (Backspace; other control keys ignored);
  // a line read from standard input keeps every character it holds.
  std::optional<std::u16string> ReadLine();

  void Pause(unsigned milliseconds);

 private:
  std::uint16_t CurrentAttribute() const { return Attribute(foreground_, background_); }
  void EchoBackspace();
  void ShowLineAgain(std::u16string_view prompt, std::u16string_view typed);

  Screen& screen_;
  KeySource& keys_;
  Terminal& clock_;
  text::CodePage& codePage_;
  int foreground_ = kLightGrey;
  int background_ = kBlack;
  // The last cell of the last row was written: the next output scrolls first.
  bool wrapPending_ = false;
  std::u16string lineSoFar_;  // written since the last line end: a prompt, when typing starts
};

// The first field of a typed line: leading blanks skipped; a quoted field runs
// to the next double quote (or the end); otherwise up to the first comma, with
// trailing blanks removed.
std::u16string FirstField(std::u16string_view line);

}  // namespace sympack::console
