// The two requests a command line can make instead of carrying a message.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sympack::run {

// The text to print when the command tail, without the blanks and tabs
// around it, is a help word (--help, -h, /?, -?, /help: usage) or a version
// word (--version, /version, -v), in any letter case; nothing for any other
// tail, which is a message.
std::optional<std::string> InformationFor(std::string_view commandTail);

// Writes that text to standard output, as plain lines, so that it can be
// read in a terminal, a pager or a file alike. False when it was not written
// in full.
bool ShowInformation(std::string_view text);

}  // namespace sympack::run
