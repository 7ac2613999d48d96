// The plain transcript on POSIX systems, and the facts about the standard
// streams that decide when the texts go out that way.
#pragma once

namespace sympack::platform::posix {

// False for a terminal that cannot place the cursor: TERM unset, empty or
// "dumb" (a line-only terminal, an editor's shell buffer).
bool TerminalCanPlaceCursor();

// True when standard output is a terminal that can place the cursor: the
// texts then go out as cells; otherwise as the plain transcript.
bool OutputTakesCells();

}  // namespace sympack::platform::posix
