#include "platform/posix/posix_system.h"

#include <time.h>
#include <unistd.h>

#include <vector>

#include "platform/posix/clipboard_osc52.h"
#include "platform/posix/interrupted.h"
#include "platform/posix/process.h"
#include "platform/posix/signal_state.h"
#include "platform/terminal_input.h"

namespace sympack::platform {

std::unique_ptr<HostSystem> MakeHostSystem(int argc, char** argv) {
  return std::make_unique<posix::PosixSystem>(argc, argv);
}

namespace posix {
namespace {

// How long an ESC waits for the rest of an escape sequence.
constexpr int kEscapeTimeoutMs = 30;

}  // namespace

void PosixSystem::PrepareForRun() {
  if (prepared_) return;
  prepared_ = true;
  posix::InstallRunSignalHandlers();
  // Cells need the terminal's answers (cursor reports) in raw mode; keys
  // come from it only when standard input is that terminal too. Piped
  // lines are the input whenever they are there, a terminal or not.
  if (OutputTakesCells()) {
    cells_ = std::make_unique<VtScreen>(STDOUT_FILENO, terminal_);
    terminal_.Open();
  } else {
    transcript_ = std::make_unique<console::TranscriptScreen>(streams_, TypingShowsOnTranscript());
  }
  keysFromStandardInput_ = !(terminal_.IsOpen() && isatty(STDIN_FILENO));
}

void PosixSystem::RestoreAfterRun() {
  if (cells_) cells_->Restore();
  terminal_.Close();
}

console::Screen& PosixSystem::Screen() {
  if (cells_) return *cells_;
  // Texts before the run's preparation go out plainly.
  if (!transcript_) transcript_ = std::make_unique<console::TranscriptScreen>(streams_, false);
  return *transcript_;
}

void PosixSystem::FlushScreen() {
  if (cells_) cells_->Flush();
}

// Decodes what the terminal bytes hold; `paused`: no more came in time.
void PosixSystem::DecodeTerminalInput(bool paused) {
  std::string& input = terminal_.Input();
  std::vector<KeyEvent> decoded;
  input.erase(0, DecodeKeys(input, paused, decoded));
  keys_.insert(keys_.end(), decoded.begin(), decoded.end());
}

// After a stop and continue the shell's job messages may cover the prompt,
// and the cursor is wherever the shell left it.
std::optional<KeyEvent> PosixSystem::RedrawAfterContinue() {
  if (!terminal_.TakeContinuedWhileReading()) return std::nullopt;
  if (cells_) cells_->TakeBack();
  KeyEvent redraw;
  redraw.redraw = true;
  return redraw;
}

std::optional<KeyEvent> PosixSystem::NextTerminalKey() {
  if (auto redraw = RedrawAfterContinue()) return redraw;
  while (keys_.empty()) {
    DecodeTerminalInput(false);
    if (!keys_.empty()) break;
    if (!terminal_.Input().empty()) {
      // An unfinished key: a lone ESC is the Esc key when nothing follows soon.
      if (!terminal_.ReadBytes(kEscapeTimeoutMs)) DecodeTerminalInput(true);
      continue;
    }
    if (!terminal_.ReadBytes(-1)) return std::nullopt;  // the terminal went away
    if (auto redraw = RedrawAfterContinue()) return redraw;
  }
  const KeyEvent key = keys_.front();
  keys_.pop_front();
  return key;
}

std::optional<KeyEvent> PosixSystem::Next() {
  FlushScreen();
  if (keysFromStandardInput_) return standardInput_.Next();
  if (terminal_.IsOpen()) return NextTerminalKey();
  return std::nullopt;
}

void PosixSystem::SleepMilliseconds(unsigned milliseconds) {
  // What was written shows before the wait, as console writes do on Windows.
  FlushScreen();
  timespec rest{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  RetryWhileInterrupted([&rest] { return nanosleep(&rest, &rest); });
}

bool PosixSystem::PlaceClipboardText(std::u16string_view text) {
  if (cells_) {
    cells_->PlaceClipboardText(text);
    return true;
  }
  // With the transcript on standard output, a terminal on standard error that
  // understands sequences still takes the clipboard's; nothing else keeps it.
  if (!isatty(STDERR_FILENO) || !TerminalCanPlaceCursor()) return false;
  return posix::WriteAll(STDERR_FILENO, ClipboardSequence(text));
}

bool PosixSystem::WriteStandardOutput(std::string_view text) {
  return sympack::platform::posix::WriteAll(STDOUT_FILENO, text);
}

void PosixSystem::WriteStandardError(std::string_view text) { sympack::platform::posix::WriteAll(STDERR_FILENO, text); }

void PosixSystem::HandOverTerminal() {
  if (cells_) cells_->HandOver();
  terminal_.UseUserModes();
}

void PosixSystem::TakeBackTerminal() {
  terminal_.UseRawModes();
  terminal_.TakeKeysTypedInUserModes();
  if (cells_) cells_->TakeBack();
}

}  // namespace posix
}  // namespace sympack::platform
