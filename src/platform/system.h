// The system a run is given, as the roles the run needs from the operating
// system: the terminal (console/screen.h), the code page (text/code_page.h),
// the interpreter run, the destination, the run's own files, the clipboard
// and the standard streams. Each role is implemented once per operating
// system (the host's System is made once by MakeHostSystem,
// platform/host_system.h); tests hand the run an in-memory one, so that the
// run's rules are checked without a console, a folder or a process. A function that needs one role takes that
// role; one that needs several takes the System.
//
// Text crosses it as UTF-16, as the Win32 "W" calls take it; the ANSI code
// page conversions belong to it, because on Windows they are the system's own.
#pragma once

#include "console/screen.h"
#include "platform/clipboard.h"
#include "platform/destination.h"
#include "platform/interpreter_run.h"
#include "platform/run_files.h"
#include "platform/output_streams.h"
#include "text/code_page.h"

namespace sympack::platform {

class System : public console::Terminal,
               public text::CodePage,
               public InterpreterRun,
               public Destination,
               public RunFiles,
               public Clipboard,
               public OutputStreams {};

}  // namespace sympack::platform
