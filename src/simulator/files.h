// Presence checks and deletions by file name or pattern, as the run uses them.
#pragma once

#include <string_view>

namespace sympack::simulator {

// True when a plain file (not hidden, not a system entry, not a directory)
// matches the name or pattern. Never fails: a failed search gives false.
bool FileIsPresent(std::string_view pattern);

// Deletes the plain files that match, in the order the search yields them,
// stopping at the first one that cannot be deleted. Reports nothing.
void DeleteFiles(std::string_view pattern);

// True when both names exist and are one and the same file.
bool NamesSameFile(std::string_view first, std::string_view second);

}  // namespace sympack::simulator
