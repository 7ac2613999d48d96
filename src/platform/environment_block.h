// One variable of an environment block: "NAME=value" entries, as POSIX's
// environ holds them. Names compare as Windows compares them, without regard
// to letter case (name_match.h's folding), so "comspec", "PATHEXT" and the
// names the interpreter expands are found as cmd.exe would find them. A name
// ends at the first '=' after its first character: Windows' own block holds
// names such as "=C:".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sympack::platform {

// The value of the first entry named `name` (UTF-8); empty when none is.
std::optional<std::string> FindVariable(const char* const* environment, std::string_view name);

}  // namespace sympack::platform
