// Delayed expansion, the interpreter's last reading of a command when it is
// on (/V:ON, or the registry's DelayedExpansion = 1 and no /V:OFF). From the
// public analyses of cmd.exe's parser (phase 5): it comes after quotes,
// carets and redirection and works on each token of the command on its own
// (the command name, its argument text, a redirection target), inside quotes
// too. A token without ! stays as it is. In one with a !:
// - a caret is removed and the character after it taken as it is;
// - !NAME! (also with :~start,length or :old=new) is replaced by the value,
//   or removed when NAME is not defined; the value is not read again;
// - !! counts as one opening !; a ! with no closing one is removed.
#pragma once

#include <string>
#include <string_view>

#include "percent_expansion.h"

namespace sympack::cmd {

std::string ExpandDelayed(std::string_view token, const VariableLookup& lookup);

}  // namespace sympack::cmd
