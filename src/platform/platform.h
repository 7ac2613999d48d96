// The plain values that cross the System (system.h): directory entries, the
// outcome of a whole-file write, why a process did not start, the
// command-line limit. The screen's and the keys' values are the console's
// (console/screen.h); the platform stands on them, never the other way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "console/screen.h"

namespace sympack::platform {

// The console's values, which the platform's terminals produce.
using console::CursorShape;
using console::KeyEvent;
using console::ScreenInfo;
using console::kBackspaceCharacter;
using console::kEnterCharacter;

// ---- Files and directories ----------------------------------------------------------

// One directory entry, as the system's directory search reports it.
struct DirectoryEntry {
  std::u16string name;  // the entry's own name, without directory part
  // A file the run may take as its own or the simulator's, by the system's
  // own rules: Windows, no folder and no hidden, system or volume-label
  // entry; POSIX, a regular file (through a link) whose name does not
  // start with a dot.
  bool plainFile = false;
};

// Why a file was not written whole (System::WriteWholeFile). Each has its
// own line for the user, so each is a case the user can act on.
enum class WriteRefusal {
  kNone,           // written: every byte is in place
  kBadName,        // empty, or holds * or ?
  kFolder,         // the name is a folder
  kReadOnly,       // an existing file that may not be written
  kNoFolder,       // the folder the name is in does not exist
  kNameTooLong,    // longer than the system takes (never cut to fit)
  kNotAFile,       // something that is neither a file, a device nor a pipe
  kFolderRefuses,  // the folder may not be written: no new file there
  kHeldOpen,       // another program has the file open for writing
  kNobodyReads,    // a pipe without a reader
  kTimedOut,       // a pipe or device did not take the text in time
  kNoSpace,        // the disk (or quota) is full
  kSizeLimit,      // larger than this process may make a file
  kReservedName,   // a Windows device name with an extension (AUX.INC)
  kFailed,         // the system refused for another reason
};

struct WholeFileWrite {
  WriteRefusal refusal = WriteRefusal::kFailed;
  bool diskFile = false;  // a disk file (not a device or a pipe) was written
};

// Why the last process could not be started (System::RunProcess).
enum class StartFailure {
  kNone,         // started, or nothing tried
  kNotFound,     // no program under that name
  kNotRunnable,  // something stands there, but it cannot be run
};

// ---- Processes ------------------------------------------------------------------------

// The longest process command line the platform can start, in UTF-16 units
// (CreateProcessW: 32767 including the terminating zero).
constexpr std::size_t kMaxCommandLineUnits = 32766;

}  // namespace sympack::platform
