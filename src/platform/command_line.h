// How a Windows process command line splits into the program-name token and
// the tail that follows it. Used by the Windows seam for the tool's own
// command tail, and by the POSIX seam to find the program of a command line.
#pragma once

#include <string_view>

namespace sympack::platform {

struct CommandLineParts {
  std::u16string_view programToken;  // may be empty (a line that starts with a blank)
  std::u16string_view tail;          // everything after it, leading blanks skipped
};

// Rules: a line that starts with a double quote has a token up to and
// including the next double quote (or the whole line when that quote never
// comes); a line that starts with a blank has no token; otherwise the token
// runs up to the first character of code 32 or below. Only blanks (code 32)
// directly after the token are skipped; a tab or other control character
// starts the tail. Never reads past the end of the line.
CommandLineParts SplitCommandLine(std::u16string_view commandLine);

}  // namespace sympack::platform
