#include "platform/posix/paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include "platform/name_match.h"
#include "text/utf.h"

namespace sympack::platform::posix {

std::string ToNativePath(std::u16string_view name) { return text::Utf16ToUtf8(name); }

std::pair<std::string, std::string> SplitLast(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return {"", path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

std::string ResolveExisting(const std::string& path) {
  struct stat info {};
  if (path.empty() || lstat(path.c_str(), &info) == 0) return path;
  const auto [directory, last] = SplitLast(path);
  if (last.empty()) return path;
  DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return path;
  const std::u16string wanted = text::Utf8ToUtf16(last);
  std::string found = path;
  while (const dirent* entry = readdir(dir)) {
    if (platform::EqualsIgnoringCase(text::Utf8ToUtf16(entry->d_name), wanted)) {
      found = directory + entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

}  // namespace sympack::platform::posix
