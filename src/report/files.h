// Presence checks and deletions by file name, as the run uses them. A name is
// never a pattern: one holding * or ? names no file here.
#pragma once

#include <string_view>

#include "platform/system.h"

namespace sympack::report {

// True when a plain file (not hidden, not a system entry, not a directory)
// stands under the name. Never fails: a failed search gives false.
bool FileIsPresent(platform::System& system, std::string_view name);

// Deletes the plain file of that name, if there is one. Reports nothing.
void RemoveFile(platform::System& system, std::string_view name);

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

}  // namespace sympack::report
