// The two requests a command line can make instead of carrying a message.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace sympack::run {

// The text to print when the command tail, without the blanks and tabs
// around it, is a help word (--help, -h, /?, -?, /help: usage) or a version
// word (--version, /version, -v), in any letter case; nothing for any other
// tail, which is a message.
std::optional<std::string> InformationFor(std::string_view commandTail);

// Answers a command tail (System::CommandTail) that asks for usage or the
// version: writes the text to standard output, as plain lines, so that it
// can be read in a terminal, a pager or a file alike, and gives the exit
// code (kExitNotWritten, with a line on standard error, when standard output
// did not take it whole). Nothing, and nothing written, for a message.
std::optional<int> AnswerInformationRequest(platform::System& system);

}  // namespace sympack::run
