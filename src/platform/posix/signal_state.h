// The little state the signal handlers read, in one place, and the handlers
// themselves. A handler may only read what is complete: each item is written
// while no handler that reads it can run, or published by one sig_atomic_t
// store after the rest is in place. Everything else of the run lives in
// objects (PosixSystem and what it owns).
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <string_view>

namespace sympack::posix {

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

// The tool's handlers: Ctrl+C, Ctrl+\ and Ctrl+Z ignored; SIGTERM and SIGHUP
// end the running child, remove the published file and give the terminal
// back before the signal takes its default course; a continue noted. Once
// per process.
void InstallRunSignalHandlers();

}  // namespace sympack::posix
