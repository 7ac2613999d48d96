#include "simulator/files.h"

#include <string>

#include "platform/platform.h"
#include "simulator/file_names.h"

namespace sympack::simulator {
namespace {

// A name that ends in a colon or a backslash stands for every entry of that
// directory.
std::u16string SearchPattern(std::string_view pattern) {
  std::u16string wide = platform::AnsiToWide(pattern.substr(0, kMaxSearchNameLength));
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

bool FileIsPresent(std::string_view pattern) {
  if (pattern.empty()) return false;
  platform::EntrySearch search(SearchPattern(pattern));
  while (auto entry = search.Next()) {
    if (IsPlainFile(*entry)) return true;
  }
  return false;
}

void DeleteFiles(std::string_view pattern) {
  if (pattern.empty()) return;
  const std::u16string wide = SearchPattern(pattern);
  const std::u16string directory = DirectoryPart(wide);
  platform::EntrySearch search(wide);
  while (auto entry = search.Next()) {
    if (!IsPlainFile(*entry)) continue;
    if (!platform::DeleteFileByName(directory + entry->name)) return;
  }
}

bool NameIsTaken(std::string_view name) {
  if (name.empty()) return false;
  platform::EntrySearch search(SearchPattern(name));
  while (auto entry = search.Next()) {
    if (entry->name != u"." && entry->name != u"..") return true;
  }
  return false;
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
