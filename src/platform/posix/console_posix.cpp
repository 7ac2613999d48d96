// The console seam on a POSIX system: the screen chosen for the run, keys
// from the controlling terminal (or lines from standard input without one),
// and the hand-over of the terminal to a child process.
#include <unistd.h>

#include <deque>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/controlling_terminal.h"
#include "platform/posix/stdin_lines.h"
#include "platform/posix/terminal.h"
#include "platform/posix/terminal_screen.h"
#include "platform/posix/vt_screen.h"
#include "platform/terminal_input.h"

namespace sympack::platform {
namespace {

// How long an ESC waits for the rest of an escape sequence.
constexpr int kEscapeTimeoutMs = 30;

struct Console {
  bool prepared = false;
  std::unique_ptr<posix::TerminalScreen> screen;  // none: writes fail silently
  bool standardInputLines = false;  // no terminal keyboard: keys from standard input
  std::deque<KeyEvent> keys;  // decoded from the terminal, not yet delivered
};
Console g_console;

// The screen for this run: a terminal on standard output, else on standard
// error; none when neither is one.
std::unique_ptr<posix::TerminalScreen> ChooseScreen() {
  for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
    if (isatty(fd)) return posix::MakeVtScreen(fd);
  }
  return nullptr;
}

// Decodes what the terminal bytes hold; `paused`: no more came in time.
void DecodeTerminalInput(bool paused) {
  std::string& input = posix::TerminalInput();
  std::vector<KeyEvent> decoded;
  input.erase(0, DecodeKeys(input, paused, decoded));
  g_console.keys.insert(g_console.keys.end(), decoded.begin(), decoded.end());
}

std::optional<KeyEvent> NextTerminalKey() {
  while (g_console.keys.empty()) {
    DecodeTerminalInput(false);
    if (!g_console.keys.empty()) break;
    if (!posix::TerminalInput().empty()) {
      // An unfinished key: a lone ESC is the Esc key when nothing follows soon.
      if (!posix::ReadTerminalBytes(kEscapeTimeoutMs)) DecodeTerminalInput(true);
      continue;
    }
    if (!posix::ReadTerminalBytes(-1)) return std::nullopt;  // the terminal went away
  }
  const KeyEvent key = g_console.keys.front();
  g_console.keys.pop_front();
  return key;
}

}  // namespace

bool PrepareConsole() {
  if (!g_console.prepared) {
    g_console.prepared = true;
    g_console.screen = ChooseScreen();
    posix::InstallSignalHandlers();
    g_console.standardInputLines = !posix::OpenControllingTerminal();
  }
  return g_console.screen != nullptr;
}

void RestoreConsole() {
  if (g_console.screen) g_console.screen->Restore();
  posix::CloseControllingTerminal();
}

std::optional<ScreenInfo> ReadScreenInfo() {
  if (!g_console.screen) return std::nullopt;
  return g_console.screen->Info();
}

bool WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) {
  return g_console.screen && g_console.screen->WriteCells(x, y, cells, attribute);
}

bool ScrollUpOneRow(std::uint16_t fillAttribute) {
  return g_console.screen && g_console.screen->ScrollUpOneRow(fillAttribute);
}

bool PlaceCursor(int x, int y) { return g_console.screen && g_console.screen->PlaceCursor(x, y); }

bool SetCurrentAttribute(std::uint16_t attribute) {
  return g_console.screen && g_console.screen->SetAttribute(attribute);
}

std::optional<CursorShape> ReadCursorShape() {
  if (!g_console.screen) return std::nullopt;
  return g_console.screen->ReadCursorShape();
}

bool SetCursorShape(CursorShape shape) {
  return g_console.screen && g_console.screen->SetCursorShape(shape);
}

std::optional<KeyEvent> NextKeyEvent() {
  posix::FlushTerminal();
  if (posix::HaveControllingTerminal()) return NextTerminalKey();
  if (g_console.standardInputLines) return posix::NextStandardInputKey();
  return std::nullopt;
}

bool PlaceClipboardText(std::u16string_view text) {
  return g_console.screen && g_console.screen->PlaceClipboardText(text);
}

namespace posix {

void HandOverTerminal() {
  if (g_console.screen) g_console.screen->HandOver();
  UseUserModes();
}

void TakeBackTerminal() {
  UseRawModes();
  TakeKeysTypedInUserModes();
  if (g_console.screen) g_console.screen->TakeBack();
}

void FlushTerminal() {
  if (g_console.screen) g_console.screen->Flush();
}

}  // namespace posix
}  // namespace sympack::platform
