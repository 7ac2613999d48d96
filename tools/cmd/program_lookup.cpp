#include "program_lookup.h"

#include "text/ascii_case.h"

namespace sympack::cmd {
namespace {

std::vector<std::string_view> Split(std::string_view list, char separator) {
  std::vector<std::string_view> parts;
  while (true) {
    const auto cut = list.find(separator);
    parts.push_back(list.substr(0, cut));
    if (cut == std::string_view::npos) return parts;
    list.remove_prefix(cut + 1);
  }
}

// The extension of the name's last part, dot included; empty when it has none.
std::string_view Extension(std::string_view name) {
  const auto slash = name.find_last_of("/\\");
  const auto lastPart = slash == std::string_view::npos ? name : name.substr(slash + 1);
  const auto dot = lastPart.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : lastPart.substr(dot);
}

}  // namespace

std::vector<std::string> ProgramFileNames(std::string_view name, std::string_view pathExt) {
  std::vector<std::string> names;
  if (name.empty()) return names;
  const std::string_view extension = Extension(name);
  for (const std::string_view executable : Split(pathExt, ';')) {
    if (executable.empty()) continue;
    if (!extension.empty() && text::EqualsIgnoringAsciiCase(extension, executable)) {
      return {std::string(name)};
    }
  }
  for (const std::string_view executable : Split(pathExt, ';')) {
    if (!executable.empty()) names.push_back(std::string(name) + std::string(executable));
  }
  return names;
}

std::string FindProgramFile(std::string_view name, std::string_view pathExt, std::string_view folders,
                            char separator, const std::function<bool(const std::string&)>& isFile) {
  const std::vector<std::string> names = ProgramFileNames(name, pathExt);
  const bool hasFolder = name.find_first_of("/\\") != std::string_view::npos;
  std::vector<std::string_view> searched{""};
  if (!hasFolder) {
    for (const std::string_view folder : Split(folders, separator)) {
      if (!folder.empty()) searched.push_back(folder);
    }
  }
  for (const std::string_view folder : searched) {
    for (const std::string& file : names) {
      const std::string candidate = folder.empty() ? file : std::string(folder) + "/" + file;
      if (isFile(candidate)) return candidate;
    }
  }
  return {};
}

}  // namespace sympack::cmd
