// The first thing the Windows command interpreter does with a /C command:
// percent expansion of the environment, in command-line mode. The rules, from
// the public analyses of cmd.exe's parser (the question "How does the Windows
// Command Interpreter (CMD.EXE) parse scripts?", answers by jeb and dbenham):
// - Scan left to right; quotes and carets mean nothing yet. At a %, the name
//   runs to the next %, : or the end of the line.
// - No closing % (or a : with no later %): the % is an ordinary character.
// - %NAME% with NAME defined (any letter case): its value.
// - %NAME:~start,length% (either number may be left out or negative) and
//   %NAME:old=new% (old found in any letter case; *old=new replaces from the
//   start up to the first old) with NAME defined: that substring, or the value
//   with every old replaced by new.
// - NAME not defined (or a modifier of neither form): nothing is removed, the
//   % stays and scanning goes on at the very next character, so the closing %
//   may open a new name. %%NAME%% gives % + value + %.
// - The value goes in as it is and is not scanned again; its & | < > ( ) ^ "
//   act in the next phase.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sympack::cmd {

// The value of an environment variable by name (any letter case); empty
// optional when it is not defined.
using VariableLookup = std::function<std::optional<std::string>(std::string_view name)>;

std::string ExpandPercents(std::string_view line, const VariableLookup& lookup);

// The text for a variable form NAME, NAME:~start,length or NAME:old=new (the
// name runs to the first :); empty optional when NAME is not defined or the
// modifier is of neither form.
std::optional<std::string> VariableForm(std::string_view form, const VariableLookup& lookup);

}  // namespace sympack::cmd
