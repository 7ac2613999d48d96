// The console's control events and the programs the run starts. Every such
// program goes into one job object that ends them all when this process ends
// in any way (JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE). Ctrl+C and Ctrl+Break do
// not end the tool: while a program runs they end it, with all it started,
// and are noted so that the run ends after it; at the prompts they change
// nothing. A closed console (log-off, shut-down) ends the programs first,
// then removes the run's report (the name Win32System::RemoveAtAbnormalEnd
// gave), and the system ends the process.
#pragma once

#include <windows.h>

namespace sympack::platform::win32 {

void HandleControlEvents();

// Takes a process just started suspended as the run's running program and
// puts it in the run's job. Where it cannot go there (before Windows 8, a
// tool that is itself in a job), it runs all the same and is ended alone.
void AdoptChild(HANDLE process);

// The program adopted last has ended: true when Ctrl+C or Ctrl+Break came
// while it ran.
bool ReleaseChild();

// True once a closed console is ending the run: nothing more may start.
bool RunIsEnding();

}  // namespace sympack::platform::win32
