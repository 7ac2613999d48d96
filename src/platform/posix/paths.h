// File names on POSIX. Shared by the tool's platform layer and by the command
// interpreter sympack-cmd.
#pragma once

#include <string>
#include <string_view>

namespace sympack::platform::posix {

// The UTF-8 path for a UTF-16 name. Only the slash separates folders: a
// backslash is a character of a name like any other (`..\\beacon.inc` is a
// file in the current folder), so the name the user typed is the file that
// is written, shown and removed.
std::string ToNativePath(std::u16string_view name);

// The existing entry the path names, if need be by a case-insensitive match
// of its last part; the path unchanged when nothing matches. Only for looking
// up a program as cmd.exe does, which folds case: everywhere else a name is
// exactly the name.
std::string ResolveExisting(const std::string& path);

// Splits at the last slash: ("dir/", "name"); a path without slash gives
// ("", path).
std::pair<std::string, std::string> SplitLast(const std::string& path);

}  // namespace sympack::platform::posix
