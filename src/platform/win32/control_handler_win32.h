// The console's control events: Ctrl+C and Ctrl+Break do not end the run;
// a closed console, log-off or shut-down, which do, remove the run's report
// first (the name Win32System::RemoveAtAbnormalEnd gave).
#pragma once

namespace sympack::platform::win32 {

void HandleControlEvents();

}  // namespace sympack::platform::win32
