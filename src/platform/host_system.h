// The system the tool runs on, made once by the process entry.
#pragma once

#include <memory>

#include "platform/system.h"

namespace sympack::platform {

// The host's system. Its screen is the console's cells until
// PrepareForRun() says the texts go out as the plain transcript.
class HostSystem : public System {
 public:
  // Prepares the console (modes, keyboard, control handler) and picks the
  // screen: cells on a console, the transcript otherwise.
  virtual void PrepareForRun() = 0;
  // Gives the user back the console as it was.
  virtual void RestoreAfterRun() = 0;
  // Ends the process as the interruption ProcessWasInterrupted saw would
  // have ended it, once the run has cleaned up and RestoreAfterRun has given
  // the console back, so that its exit status says so: POSIX: of that
  // signal; Windows: STATUS_CONTROL_C_EXIT, as Ctrl+C ends a console program.
  [[noreturn]] virtual void EndInterrupted() = 0;
};

// The system this process runs on; argc and argv are what main() received.
std::unique_ptr<HostSystem> MakeHostSystem(int argc, char** argv);

}  // namespace sympack::platform
