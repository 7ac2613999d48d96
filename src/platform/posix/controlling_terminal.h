// The controlling terminal (/dev/tty): the user's modes saved and put back,
// the tool's raw modes, the bytes read from it, and the signals that concern
// it. Keys and the cursor-position report both arrive in those bytes.
#pragma once

#include <string>
#include <string_view>

namespace sympack::platform::posix {

// Ctrl+C, Ctrl+\ and Ctrl+Z ignored, the terminal put back on SIGTERM and
// SIGHUP, a continue after a stop noted. Through sigaction; the handlers
// touch only async-signal-safe state.
void InstallSignalHandlers();

// Opens the controlling terminal, saves its modes and puts the raw modes in
// force. False when there is none.
bool OpenControllingTerminal();
// Puts the user's modes back and closes it.
void CloseControllingTerminal();
bool HaveControllingTerminal();

// The raw modes (no echo, no line editing, no signals from keys, Enter as CR)
// or the user's own, as found at the start.
void UseRawModes();
void UseUserModes();

// Bytes read from the terminal and not yet taken.
std::string& TerminalInput();
// Waits up to `timeoutMs` (-1: without limit) for bytes and appends them to
// TerminalInput(). False when none came in time or the terminal went away.
// A stop and continue (job control) while waiting puts the modes back in
// force, since the shell had the terminal meanwhile, and returns true at
// once, bytes or none (TakeContinuedWhileReading tells).
bool ReadTerminalBytes(int timeoutMs);

// True once after a continue found the tool reading keys: the shell had the
// terminal meanwhile, and what the prompt showed may be gone.
bool TakeContinuedWhileReading();

// Takes the keys typed while the user's modes were in force, Enter given back
// the code the raw modes deliver.
void TakeKeysTypedInUserModes();

// What a signal that ends the process writes to `fd` after the terminal's
// modes are put back (a reset of colours and cursor). `bytes` must stay
// valid for the life of the process; fd -1 writes nothing.
void SetOutputResetOnSignal(int fd, std::string_view bytes);

}  // namespace sympack::platform::posix
