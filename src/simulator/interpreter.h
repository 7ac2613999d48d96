// The command interpreter that runs the simulator and shows files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sympack::simulator {

// The interpreter named by the environment variable "comspec" (any letter
// case), in the ANSI code page; where the platform brings an interpreter of
// its own and "comspec" is unset, that one.
std::string InterpreterPath();

// Runs `interpreter /C command` in this console and waits for it to end. The
// command line is never cut: one too long to start is not run at all. The
// interpreter's exit code, which is that of the last program it ran; empty
// when nothing was started.
std::optional<std::uint32_t> RunInterpreter(std::string_view interpreter, std::string_view command);

// Shows a file through the interpreter's TYPE command. The name goes on the
// command line unquoted, as typed.
void ShowFile(std::string_view interpreter, std::string_view name);

}  // namespace sympack::simulator
