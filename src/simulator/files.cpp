#include "simulator/files.h"

#include <string>

#include "platform/system.h"
#include "simulator/file_names.h"

namespace sympack::simulator {
namespace {

// A name that ends in a colon or a backslash stands for every entry of that
// directory.
std::u16string SearchPattern(platform::System& system, std::string_view pattern) {
  std::u16string wide = system.AnsiToWide(pattern.substr(0, kMaxSearchNameLength));
  if (!wide.empty() && (wide.back() == u':' || wide.back() == u'\\')) wide += u"*.*";
  return wide;
}

bool IsPlainFile(const platform::DirectoryEntry& entry) {
  return !entry.hidden && !entry.system && !entry.directory && !entry.volumeLabel &&
         entry.name != u"." && entry.name != u"..";
}

// The directory part of a pattern, up to and including its last separator.
std::u16string DirectoryPart(std::u16string_view pattern) {
  const auto cut = pattern.find_last_of(u"\\/:");
  return cut == std::u16string_view::npos ? std::u16string() : std::u16string(pattern.substr(0, cut + 1));
}

}  // namespace

bool FileIsPresent(platform::System& system, std::string_view pattern) {
  if (pattern.empty()) return false;
  for (const auto& entry : system.FindEntries(SearchPattern(system, pattern))) {
    if (IsPlainFile(entry)) return true;
  }
  return false;
}

void DeleteFiles(platform::System& system, std::string_view pattern) {
  if (pattern.empty()) return;
  const std::u16string wide = SearchPattern(system, pattern);
  const std::u16string directory = DirectoryPart(wide);
  for (const auto& entry : system.FindEntries(wide)) {
    if (!IsPlainFile(entry)) continue;
    if (!system.DeleteFileByName(directory + entry.name)) return;
  }
}

bool NameIsTaken(platform::System& system, std::string_view name) {
  if (name.empty()) return false;
  for (const auto& entry : system.FindEntries(SearchPattern(system, name))) {
    if (entry.name != u"." && entry.name != u"..") return true;
  }
  return false;
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

}  // namespace sympack::simulator
