// The command interpreter that runs the simulator and shows files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"
#include "command/interpreter_argument.h"
#include "command/interpreter_rules.h"

namespace sympack::command {

// The interpreter named by the environment variable "comspec" (any letter
// case); where the platform brings an interpreter of its own and "comspec" is
// unset, that one. Kept in UTF-16, as the system gives it, so that a path in
// any script reaches the system unchanged whatever the ANSI code page holds.
std::u16string InterpreterPath(platform::InterpreterRun& system);

// How the interpreter is started, as Node.js starts cmd.exe: /D keeps the
// registry's AutoRun command (a cd, say) from running before ours, /V:OFF
// keeps delayed expansion (the registry's DelayedExpansion) from reading ! and
// carets once more; only these switches on the command line rule them out.
constexpr std::u16string_view kInterpreterSwitches = u" /D /V:OFF /C ";
// A command that begins with a quote (the installed simulator's path) would
// lose its first and last quote to cmd.exe's rule for quotes after /C: it
// goes in one more pair of quotes, which /S always takes away.
constexpr std::u16string_view kInterpreterSwitchesQuoted = u" /D /V:OFF /S /C ";

// The process command line `interpreter /D /V:OFF /C command`. The
// interpreter's path heads it as CreateProcess reads its first token: in
// quotes when it holds a blank or another character up to 32, which would
// end the token or make CreateProcess try its prefixes as programs; as it
// stands otherwise (a value that holds a quote is taken as quoted by its
// owner). Empty optional when the command passes kMaxInterpreterCommand or the
// line the process limit: it is never cut.
std::optional<std::u16string> InterpreterCommandLine(std::u16string_view interpreter, std::u16string_view command);

// True when the command (ANSI bytes), as it follows /C, is no longer than
// kMaxInterpreterCommand.
bool FitsInterpreter(text::CodePage& system, std::string_view command);

// Runs the interpreter line (InterpreterCommandLine) in this console and waits
// for it to end. Nothing is run for a command that does not fit. The
// interpreter's exit code, which is that of the last program it ran; empty
// when nothing was started.
std::optional<std::uint32_t> RunInterpreter(platform::System& system, std::u16string_view interpreter, std::string_view command);

// "TYPE " + the name as TYPE's one argument (InterpreterArgument): bare when
// it needs no care, so the report is shown by "TYPE FST4TEMP.TXT". Empty
// optional for a name TYPE cannot be given exactly. (A name whose command
// passes the interpreter's limit is not run by ShowFile either.)
std::optional<std::string> ShowFileCommand(std::string_view name, CharacterLength characterLength);

// Shows a file through the interpreter's TYPE command; nothing is run for a
// name TYPE cannot be given exactly, nor for a command too long for the
// interpreter.
void ShowFile(platform::System& system, std::u16string_view interpreter, std::string_view name);

}  // namespace sympack::command
