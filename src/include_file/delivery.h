// Delivering the include text: to the destination file and the clipboard.
#pragma once

#include <string_view>

#include "platform/system.h"

namespace sympack::include_file {

// What writing the include file achieved.
struct IncludeFileWrite {
  bool complete = false;  // the whole text and the CR LF were written
  bool diskFile = false;  // into a disk file (not a device or a pipe)
  platform::WriteRefusal refusal = platform::WriteRefusal::kFailed;  // why not, when not
};

// Writes the include text and one more CR LF as the named file's whole
// content, or leaves the file as it was (System::WriteWholeFile); a device
// (NUL, /dev/null) just receives the bytes. A name that is empty or holds * or
// ? is refused, and so is one the system cannot take whole; a pipe or device
// is given a few seconds at most.
IncludeFileWrite WriteIncludeFile(platform::System& system, std::string_view destinationName, std::string_view includeText);

// Places the include text on the clipboard as Unicode text, without a further
// line end. False when it certainly was not placed.
bool CopyTextToClipboard(platform::System& system, std::string_view includeText);

}  // namespace sympack::include_file
