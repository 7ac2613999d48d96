// The file the run wants gone if a signal ends the process (platform.h,
// RemoveAtAbnormalEnd).
#pragma once

namespace sympack::platform::posix {

// Removes that file, if one is named. Safe to call from a signal handler.
void RemoveAbnormalEndFile();

}  // namespace sympack::platform::posix
