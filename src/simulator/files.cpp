#include "simulator/files.h"

#include <optional>
#include <string>

#include "platform/name_match.h"
#include "platform/platform.h"

namespace sympack::simulator {
namespace {

// The name as the directory search takes it; empty for a name with * or ?,
// which would be searched as a pattern.
std::u16string SearchName(std::string_view name) {
  std::u16string wide = platform::AnsiToWide(name);
  if (platform::HasWildcards(wide)) wide.clear();
  return wide;
}

bool IsPlainFile(const platform::DirectoryEntry& entry) {
  return !entry.hidden && !entry.system && !entry.directory && !entry.volumeLabel &&
         entry.name != u"." && entry.name != u"..";
}

// The entry standing under the name; empty when there is none.
std::optional<platform::DirectoryEntry> EntryNamed(std::string_view name) {
  const std::u16string searched = SearchName(name);
  if (searched.empty()) return std::nullopt;
  platform::EntrySearch search(searched);
  return search.Next();
}

}  // namespace

bool FileIsPresent(std::string_view name) {
  const auto entry = EntryNamed(name);
  return entry && IsPlainFile(*entry);
}

void DeleteFiles(std::string_view name) {
  if (FileIsPresent(name)) platform::DeleteFileByName(SearchName(name));
}

bool NameIsTaken(std::string_view name) {
  const auto entry = EntryNamed(name);
  return entry && entry->name != u"." && entry->name != u"..";
}

void RemoveIfRunEndsAbnormally(std::string_view name) {
  platform::RemoveAtAbnormalEnd(platform::AnsiToWide(name));
}

bool NamesSameFile(std::string_view first, std::string_view second) {
  return platform::NamesSameFile(platform::AnsiToWide(first), platform::AnsiToWide(second));
}

bool NameIsRunOutput(std::string_view name) {
  return platform::NamesStandardOutputOrError(platform::AnsiToWide(name));
}

bool FolderRefusesNewFile(std::string_view name) {
  return platform::FolderRefusesNewFile(platform::AnsiToWide(name));
}

}  // namespace sympack::simulator
