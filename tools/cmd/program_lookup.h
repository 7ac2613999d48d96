// Which file the Windows command interpreter runs for a command name. As
// documented for cmd.exe: a name with a folder part is looked for there only;
// a bare name in the current folder first, then in each folder of PATH in
// order. Only a file with an executable extension is ever run: a name whose
// extension is one of PATHEXT (any letter case) is tried as it stands; any
// other name gets each PATHEXT extension in turn. So a file `fst4sim`
// without an extension is never taken for the command FST4SIM.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "command/interpreter_rules.h"

namespace sympack::cmd {

// The file names tried in each folder, in order (no folder part).
std::vector<std::string> ProgramFileNames(std::string_view name, std::string_view pathExt);

// The first candidate path for which `isFile` holds, or empty. `folders` is
// the PATH list (separated by `separator`); a name with a folder part (either
// slash) is not looked for on it. Candidates are the folder, "/", the name.
std::string FindProgramFile(std::string_view name, std::string_view pathExt, std::string_view folders,
                            char separator, const std::function<bool(const std::string&)>& isFile);

}  // namespace sympack::cmd
