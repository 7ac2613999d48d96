// The command interpreter that runs the simulator and shows files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "simulator/interpreter_argument.h"

namespace sympack::simulator {

// The interpreter named by the environment variable "comspec" (any letter
// case); where the platform brings an interpreter of its own and "comspec" is
// unset, that one. Kept in UTF-16, as the system gives it, so that a path in
// any script reaches the system unchanged whatever the ANSI code page holds.
std::u16string InterpreterPath();

// Runs `interpreter /C command` in this console and waits for it to end. The
// command line is never cut: one too long to start is not run at all. The
// interpreter's exit code, which is that of the last program it ran; empty
// when nothing was started.
std::optional<std::uint32_t> RunInterpreter(std::u16string_view interpreter, std::string_view command);

// "TYPE " + the name as TYPE's one argument (InterpreterArgument): bare when
// it needs no care, so the report is shown by "TYPE FST4TEMP.TXT". Empty
// optional for a name TYPE cannot be given exactly.
std::optional<std::string> ShowFileCommand(std::string_view name, CharacterLength characterLength);

// Shows a file through the interpreter's TYPE command; nothing is run for a
// name TYPE cannot be given exactly.
void ShowFile(std::u16string_view interpreter, std::string_view name);

}  // namespace sympack::simulator
