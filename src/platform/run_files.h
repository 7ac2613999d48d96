// The run's own files in the current folder (the report, the audio file,
// the simulator beside it): presence, reading, removal, removal should the
// run be ended from outside, and the claim on the folder that keeps two runs
// out of each other's files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace sympack::platform {

// An open file; closes itself when dropped.
class OpenFile {
 public:
  virtual ~OpenFile() = default;
  // Bytes read (0 at the end), or empty when the read failed.
  virtual std::optional<std::size_t> Read(char* buffer, std::size_t size) = 0;
};

class RunFiles {
 public:
  virtual ~RunFiles() = default;
  // The entry a name (without * or ?) stands for, as the system's own
  // directory search finds it (Windows: any letter case, an 8.3 alias);
  // empty when there is none.
  virtual std::optional<DirectoryEntry> FindEntry(std::u16string_view name) = 0;
  virtual bool DeleteFileByName(std::u16string_view path) = 0;
  // Opens one of the run's own files (the report) for reading, held so that
  // while it stays open neither another such open nor the tool's deletion
  // gets through, and nothing else the tool does replaces what is read.
  // Windows: share mode 0 (CreateFileW, GENERIC_READ, OPEN_EXISTING); POSIX:
  // an exclusive flock, which runs of the tool honour and plain readers
  // (a viewer) do not see. Empty on failure.
  virtual std::unique_ptr<OpenFile> OpenForReading(std::u16string_view path) = 0;

  // Names a file that is removed if the process is ended from outside before
  // the run's own clean-up (POSIX: SIGTERM or SIGHUP; Windows: the console
  // closed, log-off or shut-down). An empty name cancels it.
  virtual void RemoveAtAbnormalEnd(std::u16string_view path) = 0;
  // Claims the current directory for this process, so that two runs never
  // work in one folder at the same time. The claim touches no file and the
  // system drops it when the process ends in whatever way. False when
  // another process holds it; true also when the system cannot tell.
  virtual bool ClaimCurrentFolder() = 0;
};

}  // namespace sympack::platform
