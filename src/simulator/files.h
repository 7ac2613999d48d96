// Presence checks and deletions by file name or pattern, as the run uses them.
#pragma once

#include <string_view>

#include "platform/system.h"

namespace sympack::simulator {

// True when a plain file (not hidden, not a system entry, not a directory)
// matches the name or pattern. Never fails: a failed search gives false.
bool FileIsPresent(platform::System& system, std::string_view pattern);

// Deletes the plain files that match, in the order the search yields them,
// stopping at the first one that cannot be deleted. Reports nothing.
void DeleteFiles(platform::System& system, std::string_view pattern);

// True when anything at all stands under the name: a plain file, a hidden or
// system entry, a directory.
bool NameIsTaken(platform::System& system, std::string_view name);

// True when both names exist and are one and the same file.
bool NamesSameFile(platform::System& system, std::string_view first, std::string_view second);

// True when the name is the very file standard output or standard error
// writes to.
bool NameIsRunOutput(platform::System& system, std::string_view name);

// True when the name's folder may not be written, so that no file of that
// name can be made there.
bool FolderRefusesNewFile(platform::System& system, std::string_view name);

// The file the system removes should the run be ended from outside before its
// own clean-up; an empty name cancels that.
void RemoveIfRunEndsAbnormally(platform::System& system, std::string_view name);

}  // namespace sympack::simulator
