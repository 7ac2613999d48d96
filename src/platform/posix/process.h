// Starting programs on POSIX, shared by the tool's platform layer and by the
// command interpreter sympack-cmd: the search of PATH, the spawn, the wait
// for the exit status, and writing every byte of a buffer.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sympack::platform::posix {

// The exit status a shell gives a program ended by signal N: 128 + N.
constexpr int kSignalExitBase = 128;

// The signals whose default course ends a process, short of the keyboard's
// and SIGKILL. Each ends the whole run: the tool, and our interpreter with
// the program it runs, pass it on to their child and wait for its end, the
// report is removed, and the process then ends of that very signal, so its
// exit status says which. SIGPIPE and SIGXFSZ also come from a write (the
// reader gone, the file-size limit): on the run's own output they end it the
// same way; a destination's write holds them (WriteSignalsHeld).
inline constexpr int kEndingSignals[] = {SIGTERM, SIGHUP,    SIGPIPE, SIGUSR1, SIGUSR2,
                                         SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ};
// Ctrl+C and Ctrl+\ from the terminal in its user's modes, which reach the
// whole foreground process group: while a program runs they end it, and the
// run after it. (At the tool's prompts the terminal is raw and they are keys.)
inline constexpr int kKeyboardSignals[] = {SIGINT, SIGQUIT};

// True for a regular file this process may execute.
bool IsExecutableFile(const std::string& path);

// The first "folder/name" along PATH for which `isProgram` holds; empty when
// none does. An empty PATH entry is the current folder; without PATH the
// system's usual folders are searched.
std::string FindOnPath(const std::string& name,
                       const std::function<bool(const std::string&)>& isProgram = IsExecutableFile);

struct SpawnOptions {
  int standardOutput = -1;  // a descriptor to take the place of standard output; -1 keeps it
};

// Starts the program with these arguments (the program's own name is put
// first), this environment, and the default handling of the signals this
// process ignores. The child's process id, or empty when it did not start.
std::optional<pid_t> Spawn(const std::string& program, const std::vector<std::string>& arguments,
                           SpawnOptions options = {});

// Waits for the child to end: its exit status, or kSignalExitBase + N when a
// signal N ended it; empty when it cannot be waited for. A child stopped by
// job control stops this process too, so that the shell gets the terminal
// back; when this process is continued the child is continued with it, so
// the wait never hangs on a stopped child.
std::optional<int> WaitForExit(pid_t child);

// How long a program ended by a forwarded signal has before it is killed: a
// program that catches the signal gets time to clean up, but none may keep
// the run from ending.
constexpr int kProgramEndGraceMilliseconds = 2000;
// The interpreter gets longer: it passes the signal on to its program and
// gives that the time above, and must not be killed before it killed that.
constexpr int kInterpreterEndGraceMilliseconds = kProgramEndGraceMilliseconds + 1000;

// Ends the child Spawn started and WaitForExit has not yet seen end: sends it
// `signalNumber` and a continue (it may be stopped), and waits for its end;
// after `graceMilliseconds` it is killed. Nothing when no child runs.
// Only async-signal-safe calls: made for signal handlers, so that a run ended
// from outside takes its children with it instead of leaving them running.
void EndRunningChild(int signalNumber, int graceMilliseconds);

// Gives the signal its default handling and raises it, unheld: how a handler
// that has done its part (or a process that stops alongside its child) lets
// the signal take its usual course. Returns only from a stop (or a signal
// whose default is to be ignored), with the mask as it was.
// Only async-signal-safe calls.
void RaiseByDefault(int signalNumber);

// Writes all the bytes, going on after interruptions and partial writes.
// False when the descriptor refused them.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace sympack::platform::posix
