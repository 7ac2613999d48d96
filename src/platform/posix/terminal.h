// What the POSIX process launcher needs from the terminal layer.
#pragma once

namespace sympack::platform::posix {

// Before a child runs: pending output flushed, the console colour in force,
// the user's own terminal modes back.
void HandOverTerminal();
// After it ended: the tool's modes again, and the cursor position to be
// asked anew, since the child moved it.
void TakeBackTerminal();
// Writes out what the console operations have buffered, so that it shows
// before the process waits (Pause).
void FlushTerminal();

}  // namespace sympack::platform::posix
