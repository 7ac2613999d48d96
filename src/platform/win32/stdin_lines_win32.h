// Keys without the console keyboard: standard input's lines as typed lines
// (platform/typed_lines.h), read from a console in its line mode or from a
// file or pipe in the ANSI code page (UTF-8 or UTF-16 after a byte-order
// mark).
#pragma once

#include "platform/platform.h"

namespace sympack::platform::win32 {

KeyEvent NextStandardInputKey(bool consoleLineMode);

}  // namespace sympack::platform::win32
