#include "report/files.h"

#include <optional>
#include <string>

#include "platform/name_match.h"
#include "platform/system.h"

namespace sympack::report {
namespace {

// The name as the directory search takes it; empty for a name with * or ?,
// which would be searched as a pattern.
std::u16string SearchName(platform::System& system, std::string_view name) {
  std::u16string wide = system.AnsiToWide(name);
  if (platform::HasWildcards(wide)) wide.clear();
  return wide;
}

bool IsPlainFile(const platform::DirectoryEntry& entry) {
  return entry.plainFile && entry.name != u"." && entry.name != u"..";
}

// The entry standing under the name; empty when there is none.
std::optional<platform::DirectoryEntry> EntryNamed(platform::System& system, std::string_view name) {
  const std::u16string searched = SearchName(system, name);
  if (searched.empty()) return std::nullopt;
  return system.FindEntry(searched);
}

}  // namespace

bool FileIsPresent(platform::System& system, std::string_view name) {
  const auto entry = EntryNamed(system, name);
  return entry && IsPlainFile(*entry);
}

void RemoveFile(platform::System& system, std::string_view name) {
  if (FileIsPresent(system, name)) system.DeleteFileByName(SearchName(system, name));
}

bool NameIsTaken(platform::System& system, std::string_view name) {
  const auto entry = EntryNamed(system, name);
  return entry && entry->name != u"." && entry->name != u"..";
}

void RemoveIfRunEndsAbnormally(platform::System& system, std::string_view name) {
  system.RemoveAtAbnormalEnd(system.AnsiToWide(name));
}

bool NamesSameFile(platform::System& system, std::string_view first, std::string_view second) {
  return system.NamesSameFile(system.AnsiToWide(first), system.AnsiToWide(second));
}

bool NameIsRunOutput(platform::System& system, std::string_view name) {
  return system.NamesStandardOutputOrError(system.AnsiToWide(name));
}

bool FolderRefusesNewFile(platform::System& system, std::string_view name) {
  return system.FolderRefusesNewFile(system.AnsiToWide(name));
}

}  // namespace sympack::report
