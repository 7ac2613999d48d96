// One run of the tool, from the banner to the end.
#pragma once

#include <string_view>

#include "platform/system.h"

namespace sympack::run {

// Banner, simulator check, message, simulator run, report display, the
// report's listing read and, when it allows an include file, the destination
// prompt, on the system given; then hands over to CompleteRun.
// The command tail as the system gives it (System::CommandTail). Returns the
// exit code.
int RunTool(platform::System& system, std::u16string_view commandTail);

}  // namespace sympack::run
