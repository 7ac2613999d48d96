// What sympack-cmd says and where a command's output goes: complaints on
// standard error in cmd.exe's words, names as this file system spells them,
// the > redirection, and copying a descriptor's bytes on.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "command_parser.h"

namespace sympack::cmd {

void Complain(const std::string& text);

// What failed, in the system's words, for messages of our own.
std::string Reason(int error);

// A file name as this system spells it: exactly the name given, since only
// the system may fold letter case.
std::string NativeName(const std::string& name);

// The descriptor the command writes to: standard output, or the file of its
// > or >> redirection, created if need be. -1 (with cmd.exe's complaint) when
// the file cannot be opened.
int OpenOutput(const ParsedCommand& parsed);

// Reads `from` to its end, handing each block to `put`, which returns false
// when it could not pass the block on. False (with the reason told) when a
// read or a put failed; after a failed put the rest is still read, so that a
// program writing into a pipe can finish. `what` names the source.
bool CopyBlocks(int from, const std::string& what, const std::function<bool(std::string_view)>& put);

}  // namespace sympack::cmd
