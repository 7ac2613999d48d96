// Keys without a terminal keyboard: the characters of standard input's lines,
// each line ended by Enter (CR, LF or CR LF); at the end of the input, Enter
// for every further read, so that a prompt is always answered.
#pragma once

#include "platform/platform.h"

namespace sympack::platform::posix {

KeyEvent NextStandardInputKey();

}  // namespace sympack::platform::posix
