// The TYPE command: each named file's bytes as they stand, as cmd.exe shows
// them (a header line before each when there are several, its messages for a
// missing file or a folder; a device shows nothing, as TYPE NUL does).
#pragma once

#include <string_view>

namespace sympack::cmd {

// The names as the command's argument text holds them; writes into `out`.
// The exit status: 0 when every file was shown.
int TypeFiles(std::string_view names, int out);

}  // namespace sympack::cmd
