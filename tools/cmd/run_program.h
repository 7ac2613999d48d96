// Programs as cmd.exe finds and runs them (program_lookup.h), on this system:
// the file found under the name the file system holds, started with the
// command's arguments, its output copied into a redirection's file with
// Windows' line ends.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sympack::cmd {

// An environment variable by name (any letter case), as the interpreter reads it.
using Environment = std::function<std::optional<std::string>(std::string_view)>;

// The program cmd.exe would run for the command name; empty when there is none.
std::string FindProgram(const std::string& name, const Environment& environment);

// Runs the program with the arguments the text holds, its output into `out`
// (standard output as it stands; any other descriptor through a pipe, with
// CR LF line ends). Its exit status; a failed copy of its output makes a
// failure of a run the program itself called a success.
int RunProgram(const std::string& program, std::string_view argumentText, int out);

}  // namespace sympack::cmd
