// The system a run is given: everything the tool's logic needs from the
// operating system, as one object. The host's is made once by MakeHostSystem
// (platform/host_system.h); tests hand the run an in-memory one, so that the
// run's rules are checked without a console, a folder or a process.
//
// Text crosses it as UTF-16, as the Win32 "W" calls take it; the ANSI code
// page conversions belong to it, because on Windows they are the system's own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/screen.h"
#include "platform/platform.h"
#include "text/code_page.h"

namespace sympack::platform {

// How long a device or pipe destination may take to accept the include text.
constexpr unsigned kDeviceWriteLimitMilliseconds = 3000;

// An open file; closes itself when dropped.
class OpenFile {
 public:
  virtual ~OpenFile() = default;
  // Bytes read (0 at the end), or empty when the read failed.
  virtual std::optional<std::size_t> Read(char* buffer, std::size_t size) = 0;
};

class System : public console::Terminal, public text::CodePage {
 public:
  // ---- Command line, environment and programs
  // The text after the program name on the process command line, exactly as
  // given. Windows: the tail rules applied to GetCommandLineW(); POSIX: the
  // arguments joined with one blank.
  virtual std::u16string CommandTail() = 0;
  // One environment variable, looked up without regard to letter case
  // (GetEnvironmentVariableW); empty when it is not set.
  virtual std::optional<std::u16string> EnvironmentVariable(std::u16string_view name) = 0;
  // The command interpreter to use when "comspec" is not set. Windows: none
  // (empty); POSIX: our own interpreter program, installed beside the tool.
  virtual std::u16string DefaultInterpreter() = 0;
  // The simulator installed with the tool, for a folder that has none of its
  // own. POSIX: <prefix>/libexec/sympack/FST4SIM.EXE, found from the folder
  // of the running program (<prefix>/bin), so any prefix works, when it is
  // an executable file. Windows: FST4SIM.EXE in the folder of the running
  // SYMPACK.EXE (the zip holds both programs in one folder), when it is a
  // file.
  virtual std::optional<std::u16string> InstalledSimulator() = 0;
  // Starts the command line (the program is its first token, as
  // CreateProcessW takes it with no separate program name) in this console,
  // with this environment and directory, and waits for it to end without a
  // time limit. The exit code, or empty when the process could not be
  // started. While it runs the console is handed over in its normal modes.
  virtual std::optional<std::uint32_t> RunProcess(std::u16string_view commandLine) = 0;
  // True when the user interrupted the last RunProcess from the keyboard
  // while it ran (POSIX: Ctrl+C or Ctrl+\, SIGINT or SIGQUIT; Windows:
  // Ctrl+C or Ctrl+Break): the process and what it started have ended. The
  // run then ends too (HostSystem::EndInterrupted).
  virtual bool ProcessWasInterrupted() = 0;
  // Why the last RunProcess started nothing; kNone after one that started.
  virtual StartFailure LastStartFailure() = 0;

  // ---- Files
  // The entry a name (without * or ?) stands for, as the system's own
  // directory search finds it (Windows: any letter case, an 8.3 alias);
  // empty when there is none.
  virtual std::optional<DirectoryEntry> FindEntry(std::u16string_view name) = 0;
  virtual bool DeleteFileByName(std::u16string_view path) = 0;
  // Opens an existing file for reading only, with no sharing (CreateFileW,
  // GENERIC_READ, share 0, OPEN_EXISTING). Empty on failure.
  virtual std::unique_ptr<OpenFile> OpenForReading(std::u16string_view path) = 0;
  // May this be written? Then write it whole: `bytes` become the file's
  // whole content, or the file stays as it was. A disk file is replaced by a
  // new file, written and flushed in full in the same folder and put in its
  // place by one rename that keeps the old file's permissions (a link is
  // written through: the rename happens in its target's folder); on any
  // failure the new file goes and the old one is untouched. A device or a
  // pipe is written directly, never waiting without end: one that nobody
  // reads, or that does not take the text within kDeviceWriteLimitMilliseconds,
  // is not written. Readers never stand in the way; another program writing
  // the file does. Says why when it is not written.
  virtual WholeFileWrite WriteWholeFile(std::u16string_view path, std::string_view bytes) = 0;
  // The name the file system holds for a file created under `path`.
  // Windows: its trailing dots and blanks dropped (NormalisedWindowsName);
  // POSIX: the path as it stands.
  virtual std::u16string NameAsCreated(std::u16string_view path) = 0;
  // True when both names exist and denote one and the same file.
  virtual bool NamesSameFile(std::u16string_view first, std::u16string_view second) = 0;
  // True when the name exists and denotes the very file (or device, or pipe)
  // standard output or standard error writes to: device and inode on POSIX,
  // volume serial number and file index on Windows.
  virtual bool NamesStandardOutputOrError(std::u16string_view path) = 0;
  // True when a new file cannot be made under this name because its folder
  // may not be written (no permission, or write protection); false when it
  // could be, or when something else stands in the way. Leaves nothing.
  virtual bool FolderRefusesNewFile(std::u16string_view path) = 0;
  // The long name the file system keeps for an existing entry whose name may
  // be an alias (GetLongPathNameW: a Windows 8.3 short name); the name as
  // given when it names nothing or the system keeps one name only (POSIX).
  virtual std::u16string LongNameOf(std::u16string_view path) = 0;

  // ---- Claims on the run's surroundings
  // Names a file that is removed if the process is ended from outside before
  // the run's own clean-up (POSIX: SIGTERM or SIGHUP; Windows: the console
  // closed, log-off or shut-down). An empty name cancels it.
  virtual void RemoveAtAbnormalEnd(std::u16string_view path) = 0;
  // Claims the current directory for this process, so that two runs never
  // work in one folder at the same time. The claim touches no file and the
  // system drops it when the process ends in whatever way. False when
  // another process holds it; true also when the system cannot tell.
  virtual bool ClaimCurrentFolder() = 0;

  // ---- Clipboard: UTF-16 text as CF_UNICODETEXT (Windows) or through the
  // output terminal (POSIX, OSC 52). False when it certainly was not placed.
  virtual bool PlaceClipboardText(std::u16string_view text) = 0;
};

}  // namespace sympack::platform
