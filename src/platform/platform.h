// The plain values that cross the System (system.h) and the screen
// interface (console/screen.h): cells and cursor, key events, directory
// entries, the command-line limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sympack::platform {

// ---- Console output --------------------------------------------------------------

// The console screen buffer, in cells. Columns and rows count from 0.
struct ScreenInfo {
  int cursorX = 0;
  int cursorY = 0;
  int width = 0;   // W: columns of the whole buffer
  int height = 0;  // H: rows of the whole buffer
};

struct CursorShape {
  int sizePercent = 0;  // 1..100, percent of the cell; 0 means unknown
  bool visible = true;
};

// ---- Keyboard ----------------------------------------------------------------------

// One keyboard input event, as the console reports it.
struct KeyEvent {
  bool pressed = false;        // false: a release, or a non-key event
  char16_t character = 0;      // 0: a key without a character
  std::uint16_t scanCode = 0;  // PC keyboard scan code, where known
  bool altHeld = false;        // left or right Alt (AltGr included)
  // Not a key: the terminal was someone else's meanwhile (POSIX job control,
  // a stop and continue), so the line being typed must be shown again.
  bool redraw = false;
  // A character of a line read as text (standard input: a file, a pipe),
  // not a key: it stands as it is, a control character or NUL too, so that
  // the run refuses such a line rather than the line editor changing it.
  bool literal = false;
};

// ---- Files and directories ----------------------------------------------------------

// One directory entry, as the system's directory search reports it.
struct DirectoryEntry {
  std::u16string name;  // the entry's own name, without directory part
  bool hidden = false;
  bool system = false;  // POSIX: devices, sockets, pipes
  bool directory = false;
  bool volumeLabel = false;
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
