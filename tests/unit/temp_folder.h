// A fresh folder for one test, made the current directory while it lives.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/host_system.h"

namespace sympack {

// The system the tests run on, for checks of what it does with real files.
inline platform::System& Host() {
  static const auto host = platform::MakeHostSystem(0, nullptr);
  return *host;
}

}  // namespace sympack

namespace sympack::testing {

// Wine keeps a file's read-only attribute in its Unix permissions, which do
// not stop root; real Windows refuses to open such a file for writing. Asks
// the system directly whether a read-only file can be opened for writing.
inline bool ReadOnlyFilesWritableHere() {
#ifdef _WIN32
  const wchar_t* probe = L"read-only-probe.tmp";
  HANDLE created = CreateFileW(probe, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_READONLY, nullptr);
  if (created == INVALID_HANDLE_VALUE) return false;
  CloseHandle(created);
  HANDLE reopened = CreateFileW(probe, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  const bool writable = reopened != INVALID_HANDLE_VALUE;
  if (writable) CloseHandle(reopened);
  SetFileAttributesW(probe, FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(probe);
  return writable;
#else
  return false;
#endif
}

// Letter case in file names is folded only where the system folds it.
inline bool FileNamesFoldCase() {
#ifdef _WIN32
  return true;
#else
  return false;
#endif
}

class TempFolder {
 public:
  TempFolder() : previous_(std::filesystem::current_path()) {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() / ("sympack-unit-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
  }
  ~TempFolder() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
  }

  static void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void MakeReadOnly(const std::string& name) {
    using std::filesystem::perms;
    std::filesystem::permissions(name, perms::owner_write | perms::group_write | perms::others_write,
                                 std::filesystem::perm_options::remove);
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

}  // namespace sympack::testing
