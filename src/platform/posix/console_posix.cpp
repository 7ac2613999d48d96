// The console seam on a POSIX system: the screen chosen for the run (cells on
// a terminal that can place the cursor, else the plain transcript), keys from
// the controlling terminal (or lines from standard input), and the hand-over
// of the terminal to a child process.
#include <unistd.h>

#include <deque>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/clipboard_osc52.h"
#include "platform/posix/controlling_terminal.h"
#include "platform/posix/stdin_lines.h"
#include "platform/posix/terminal.h"
#include "platform/posix/terminal_screen.h"
#include "platform/posix/transcript.h"
#include "platform/posix/vt_screen.h"
#include "platform/terminal_input.h"
#include "platform/posix/process.h"

namespace sympack::platform {
namespace {

// How long an ESC waits for the rest of an escape sequence.
constexpr int kEscapeTimeoutMs = 30;

// The terminal as this run uses it, from PrepareConsole to RestoreConsole.
struct TerminalSession {
  bool prepared = false;
  std::unique_ptr<posix::TerminalScreen> screen;  // none: the plain transcript
  bool standardInputLines = false;  // keys are standard input's lines
  std::deque<KeyEvent> keys;  // decoded from the terminal, not yet delivered
};
TerminalSession g_session;

// Decodes what the terminal bytes hold; `paused`: no more came in time.
void DecodeTerminalInput(bool paused) {
  std::string& input = posix::TerminalInput();
  std::vector<KeyEvent> decoded;
  input.erase(0, DecodeKeys(input, paused, decoded));
  g_session.keys.insert(g_session.keys.end(), decoded.begin(), decoded.end());
}

// After a stop and continue the shell's job messages may cover the prompt,
// and the cursor is wherever the shell left it.
std::optional<KeyEvent> RedrawAfterContinue() {
  if (!posix::TakeContinuedWhileReading()) return std::nullopt;
  if (g_session.screen) g_session.screen->TakeBack();
  KeyEvent redraw;
  redraw.redraw = true;
  return redraw;
}

std::optional<KeyEvent> NextTerminalKey() {
  if (auto redraw = RedrawAfterContinue()) return redraw;
  while (g_session.keys.empty()) {
    DecodeTerminalInput(false);
    if (!g_session.keys.empty()) break;
    if (!posix::TerminalInput().empty()) {
      // An unfinished key: a lone ESC is the Esc key when nothing follows soon.
      if (!posix::ReadTerminalBytes(kEscapeTimeoutMs)) DecodeTerminalInput(true);
      continue;
    }
    if (!posix::ReadTerminalBytes(-1)) return std::nullopt;  // the terminal went away
    if (auto redraw = RedrawAfterContinue()) return redraw;
  }
  const KeyEvent key = g_session.keys.front();
  g_session.keys.pop_front();
  return key;
}

}  // namespace

OutputKind PrepareConsole() {
  if (!g_session.prepared) {
    g_session.prepared = true;
    posix::InstallSignalHandlers();
    // Cells need the terminal's answers (cursor reports) in raw mode; keys
    // come from it only when standard input is that terminal too. Piped
    // lines are the input whenever they are there, a terminal or not.
    if (posix::OutputTakesCells()) {
      g_session.screen = posix::MakeVtScreen(STDOUT_FILENO);
      posix::OpenControllingTerminal();
    }
    g_session.standardInputLines = !(posix::HaveControllingTerminal() && isatty(STDIN_FILENO));
  }
  return g_session.screen ? OutputKind::kScreen : OutputKind::kTranscript;
}

void RestoreConsole() {
  if (g_session.screen) g_session.screen->Restore();
  posix::CloseControllingTerminal();
}

std::optional<ScreenInfo> ReadScreenInfo() {
  if (!g_session.screen) return std::nullopt;
  return g_session.screen->Info();
}

bool WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) {
  return g_session.screen && g_session.screen->WriteCells(x, y, cells, attribute);
}

bool ScrollUpOneRow(std::uint16_t fillAttribute) {
  return g_session.screen && g_session.screen->ScrollUpOneRow(fillAttribute);
}

bool PlaceCursor(int x, int y) { return g_session.screen && g_session.screen->PlaceCursor(x, y); }

bool SetCurrentAttribute(std::uint16_t attribute) {
  return g_session.screen && g_session.screen->SetAttribute(attribute);
}

std::optional<CursorShape> ReadCursorShape() {
  if (!g_session.screen) return std::nullopt;
  return g_session.screen->ReadCursorShape();
}

bool SetCursorShape(CursorShape shape) {
  return g_session.screen && g_session.screen->SetCursorShape(shape);
}

std::optional<KeyEvent> NextKeyEvent() {
  posix::FlushTerminal();
  if (g_session.standardInputLines) return posix::NextStandardInputKey();
  if (posix::HaveControllingTerminal()) return NextTerminalKey();
  return std::nullopt;
}

bool PlaceClipboardText(std::u16string_view text) {
  if (g_session.screen) return g_session.screen->PlaceClipboardText(text);
  // With the transcript on standard output, a terminal on standard error that
  // understands sequences still takes the clipboard's; nothing else keeps it.
  if (!isatty(STDERR_FILENO) || !posix::TerminalCanPlaceCursor()) return false;
  return sympack::posix::WriteAll(STDERR_FILENO, posix::ClipboardSequence(text));
}

namespace posix {

void HandOverTerminal() {
  if (g_session.screen) g_session.screen->HandOver();
  UseUserModes();
}

void TakeBackTerminal() {
  UseRawModes();
  TakeKeysTypedInUserModes();
  if (g_session.screen) g_session.screen->TakeBack();
}

void FlushTerminal() {
  if (g_session.screen) g_session.screen->Flush();
}

}  // namespace posix
}  // namespace sympack::platform
