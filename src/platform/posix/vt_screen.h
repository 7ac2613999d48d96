// The console on a terminal that understands VT sequences: cells written with
// cursor positioning and colours, scrolling by a line feed on the bottom row,
// the cursor read with the terminal's cursor-position report.
#pragma once

#include <memory>

#include "platform/posix/terminal_screen.h"

namespace sympack::platform::posix {

// The screen on the terminal behind `outFd`.
std::unique_ptr<TerminalScreen> MakeVtScreen(int outFd);

}  // namespace sympack::platform::posix
