// The command interpreter that runs the simulator and shows files.
#pragma once

#include <string>
#include <string_view>

namespace sympack::simulator {

// The interpreter named by the environment variable "comspec" (any letter
// case), in the ANSI code page; where the platform brings an interpreter of
// its own and "comspec" is unset, that one.
std::string InterpreterPath();

// Runs `interpreter /C command` in this console and waits for it to end. The
// command line is never cut: one too long to start is not run at all. False
// when nothing was started.
bool RunInterpreter(std::string_view interpreter, std::string_view command);

// Shows a file through the interpreter's TYPE command. The name goes on the
// command line unquoted, as typed.
void ShowFile(std::string_view interpreter, std::string_view name);

}  // namespace sympack::simulator
