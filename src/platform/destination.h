// The destination: may a name be written, then write it whole; and the
// questions the run asks about names before it writes (the same file? the
// run's own output? the name a new file will have?), each answered by the
// system's own rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace sympack::platform {

// How long a device or pipe destination may take to accept the include text.
constexpr unsigned kDeviceWriteLimitMilliseconds = 3000;

class Destination {
 public:
  virtual ~Destination() = default;
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
  // The name a file created under `path` will have, by the system's own
  // rules. Windows: its trailing dots and blanks dropped
  // (NormalisedWindowsName); POSIX: the path as it stands.
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
  // The name its folder lists an existing entry under, by whatever name it
  // was reached: the run asks it to know what a name really stands for.
  // Windows: the long name of an 8.3 alias (GetLongPathNameW); POSIX, where
  // an entry has the one name it was given, the path as it stands; the path
  // as given, too, when it names nothing.
  virtual std::u16string ListedName(std::u16string_view path) = 0;
};

}  // namespace sympack::platform
