// The little state the signal handlers read, in one place, and the handlers
// themselves. A handler may only read what is complete: each item is written
// while no handler that reads it can run, or published by one sig_atomic_t
// store after the rest is in place. Everything else of the run lives in
// objects (PosixSystem and what it owns).
#pragma once

#include <signal.h>
#include <sys/types.h>
#include <termios.h>

#include <string_view>

namespace sympack::platform::posix {

// The child Spawn started that no wait has yet seen end; 0 when none.
void SetRunningChild(pid_t child);
pid_t RunningChild();

// The controlling terminal and the user's own modes, put back when a signal
// ends the run. fd -1: there is none (or it was closed).
void PublishTerminal(int fd, const termios& userModes);
void WithdrawTerminal();

// What a signal that ends the run writes to `fd` after the terminal's modes
// are back (a reset of colours and cursor). `bytes` must stay valid for the
// life of the process; fd -1 writes nothing.
void PublishOutputReset(int fd, std::string_view bytes);

// The file a signal that ends the run removes (its native path); empty: none.
void PublishAbnormalEndFile(std::string_view path);

// True once after each continue (SIGCONT) since the last call.
bool TakeContinued();

// The keyboard signal (SIGINT or SIGQUIT) that reached the tool while a
// child ran, since the last call; 0 when none did. Taking it clears it.
int TakeInterrupt();

// Ends the process of `signalNumber` with its default course, as the
// keyboard would have ended it; the run has cleaned up and given the
// terminal back.
[[noreturn]] void EndBySignal(int signalNumber);

// The tool's handlers: Ctrl+Z ignored; Ctrl+C and Ctrl+\ ignored too, except
// while a child runs: then passed on to it and noted (TakeInterrupt); every
// ending signal (kEndingSignals) ends the running child, removes the
// published file and gives the terminal back before the signal takes its
// default course; a continue noted. Once per process.
void InstallRunSignalHandlers();

// While it lives, SIGPIPE and SIGXFSZ wait: a write to a pipe whose reader
// has gone, or past the file-size limit, fails (EPIPE, EFBIG) instead of
// ending the run, and the writer says the file was not written. When it
// ends, the signal a failed write raised is taken away; one sent from
// outside meanwhile is delivered then (or, when a write failed too, taken
// for that write's).
class WriteSignalsHeld {
 public:
  WriteSignalsHeld();
  ~WriteSignalsHeld();
  WriteSignalsHeld(const WriteSignalsHeld&) = delete;
  WriteSignalsHeld& operator=(const WriteSignalsHeld&) = delete;
  // A write failed with this errno.
  void NoteFailure(int error);

 private:
  sigset_t previous_;
  sigset_t raised_;
};

}  // namespace sympack::platform::posix
