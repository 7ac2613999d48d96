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

namespace sympack::platform {

// An open file; closes itself when dropped.
class OpenFile {
 public:
  virtual ~OpenFile() = default;
  // True for a disk file, false for devices and pipes (GetFileType).
  virtual bool IsDisk() = 0;
  // Moves to the start and cuts the file there.
  virtual bool TruncateToStart() = 0;
  // Cuts the file at its current position.
  virtual bool TruncateHere() = 0;
  // Bytes read (0 at the end), or empty when the read failed.
  virtual std::optional<std::size_t> Read(char* buffer, std::size_t size) = 0;
  // Bytes written, or empty when the write failed; may write fewer than given.
  virtual std::optional<std::size_t> Write(std::string_view bytes) = 0;
};

class System : public console::KeySource {
 public:
  // ---- Code page (see platform.h for each rule)
  virtual std::u16string AnsiToWide(std::string_view ansi) = 0;
  virtual std::string WideToAnsi(std::u16string_view wide) = 0;
  virtual std::size_t AnsiCharacterLength(std::string_view text) = 0;
  virtual std::string ProgramTextToAnsi(std::string_view printed) = 0;
  virtual bool AnsiIsSingleByte() = 0;

  // ---- Command line, environment and programs
  // The text after the program name on the process command line, exactly as
  // given. Windows: the tail rules applied to GetCommandLineW(); POSIX: the
  // arguments joined with one blank.
  virtual std::u16string CommandTail() = 0;
  virtual std::optional<std::u16string> EnvironmentVariable(std::u16string_view name) = 0;
  virtual std::u16string DefaultInterpreter() = 0;
  virtual std::optional<std::u16string> InstalledSimulator() = 0;
  // Starts the command line, waits for it, gives its exit code; empty when
  // it could not be started.
  virtual std::optional<std::uint32_t> RunProcess(std::u16string_view commandLine) = 0;

  // ---- Console: the one screen the texts go to (cells or transcript), the
  // keys (KeySource::Next), sleeping.
  virtual console::Screen& Screen() = 0;
  virtual void SleepMilliseconds(unsigned milliseconds) = 0;

  // ---- Files
  // The entry a name (without * or ?) stands for, as the system's own
  // directory search finds it (Windows: any letter case, an 8.3 alias);
  // empty when there is none.
  virtual std::optional<DirectoryEntry> FindEntry(std::u16string_view name) = 0;
  virtual bool DeleteFileByName(std::u16string_view path) = 0;
  virtual std::unique_ptr<OpenFile> OpenForReading(std::u16string_view path) = 0;
  virtual std::unique_ptr<OpenFile> OpenOrCreateForWriting(std::u16string_view path) = 0;
  virtual std::u16string NameAsCreated(std::u16string_view path) = 0;
  virtual bool NamesSameFile(std::u16string_view first, std::u16string_view second) = 0;
  virtual bool NamesStandardOutputOrError(std::u16string_view path) = 0;
  virtual bool FolderRefusesNewFile(std::u16string_view path) = 0;
  virtual std::u16string LongNameOf(std::u16string_view path) = 0;

  // ---- Claims on the run's surroundings
  // The file removed should the process be ended from outside; empty cancels.
  virtual void RemoveAtAbnormalEnd(std::u16string_view path) = 0;
  // False when another run works in the current folder.
  virtual bool ClaimCurrentFolder() = 0;

  // ---- Clipboard: false when the text certainly was not placed.
  virtual bool PlaceClipboardText(std::u16string_view text) = 0;
};

}  // namespace sympack::platform
