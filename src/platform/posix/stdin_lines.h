// Keys without a terminal keyboard: standard input's lines as typed lines
// (platform/typed_lines.h), decoded from UTF-8.
#pragma once

#include "platform/platform.h"

namespace sympack::platform::posix {

KeyEvent NextStandardInputKey();

}  // namespace sympack::platform::posix
