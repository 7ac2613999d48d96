// The controlling terminal (/dev/tty): the user's modes saved and put back,
// the tool's raw modes, and the bytes read from it. Keys and the
// cursor-position report both arrive in those bytes.
#pragma once

#include <termios.h>

#include <string>

namespace sympack::platform::posix {

class ControllingTerminal {
 public:
  ControllingTerminal() = default;
  ~ControllingTerminal() { Close(); }
  ControllingTerminal(const ControllingTerminal&) = delete;
  ControllingTerminal& operator=(const ControllingTerminal&) = delete;

  // Opens it, saves its modes and puts the raw modes in force. False when
  // there is none.
  bool Open();
  // Puts the user's modes back and closes it.
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  // The raw modes (no echo, no line editing, no signals from keys, Enter as
  // CR) or the user's own, as found at the start.
  void UseRawModes();
  void UseUserModes();

  // Bytes read from the terminal and not yet taken.
  std::string& Input() { return input_; }
  // Waits up to `timeoutMs` (-1: without limit) for bytes and appends them to
  // Input(). False when none came in time or the terminal went away. A stop
  // and continue (job control) while waiting puts the raw modes back in
  // force, since the shell had the terminal meanwhile, and returns true at
  // once, bytes or none (TakeContinuedWhileReading tells).
  bool ReadBytes(int timeoutMs);
  // True once after a continue found the tool reading keys: the shell had the
  // terminal meanwhile, and what the prompt showed may be gone.
  bool TakeContinuedWhileReading();
  // Takes the keys typed while the user's modes were in force, Enter given
  // back the code the raw modes deliver.
  void TakeKeysTypedInUserModes();

 private:
  void SetModes(const termios& modes);
  bool ReassertModesIfContinued();

  int fd_ = -1;
  bool modesSaved_ = false;
  termios userModes_{};
  termios rawModes_{};
  bool rawInForce_ = false;
  bool continuedWhileReading_ = false;
  std::string input_;
};

}  // namespace sympack::platform::posix
