// Fixed rules of the Windows command interpreter, cmd.exe, shared by the
// tool, which writes commands for it, and by sympack-cmd, which stands in for
// it where the system has none.
#pragma once

#include <cstddef>
#include <string_view>

namespace sympack::command {

// cmd.exe takes at most this many characters (UTF-16 units) of command after
// /C; a longer one is not run as given.
constexpr std::size_t kMaxInterpreterCommand = 8191;

// The extensions cmd.exe tries, in this order, for a command name when the
// environment sets no PATHEXT: its built-in fallback. (Windows itself sets a
// longer list for every session; a run that finds none set is started
// without it, and so is its interpreter.)
constexpr std::string_view kPathExtWhenUnset = ".COM;.EXE;.BAT;.CMD";

}  // namespace sympack::command
