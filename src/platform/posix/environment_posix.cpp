// The code page, the command line and the environment on POSIX systems.
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/environment_block.h"
#include "platform/posix/posix_system.h"
#include "platform/posix/process.h"
#include "text/cp1252.h"
#include "text/utf.h"

extern char** environ;

namespace sympack::platform::posix {
namespace {

// The interpreter program installed beside the tool.
constexpr char kInterpreterName[] = "sympack-cmd";
// Where the installation puts our simulator, from the tool's own folder
// (GNU layout: bin/ and libexec/<package>/ under one prefix).
constexpr char kInstalledSimulatorPath[] = "/../libexec/sympack/FST4SIM.EXE";

// The ANSI code page follows the user's locale (LC_ALL, LC_CTYPE, LANG): in a
// UTF-8 locale names and messages in any script pass unchanged; any other
// keeps Windows-1252. Asked once, without changing the process's own locale.
bool LocaleIsUtf8() {
  static const bool utf8 = [] {
    const locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0)) return false;
    const char* codeset = nl_langinfo_l(CODESET, user);
    const bool isUtf8 = codeset != nullptr &&
                        (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
    freelocale(user);
    return isUtf8;
  }();
  return utf8;
}

// Linux only: /proc/self/exe names the running program. Another POSIX system
// needs its own way (sysctl KERN_PROC_PATHNAME, _NSGetExecutablePath); there
// readlink fails and the current folder is taken instead.
std::string ExecutableDirectory() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (length <= 0) return ".";
  std::string full(path, static_cast<std::size_t>(length));
  const auto slash = full.rfind('/');
  return slash == std::string::npos ? "." : full.substr(0, slash);
}

}  // namespace

std::u16string PosixSystem::AnsiToWide(std::string_view ansi) {
  return LocaleIsUtf8() ? text::Utf8ToUtf16(ansi) : text::Cp1252ToUtf16(ansi);
}

std::string PosixSystem::WideToAnsi(std::u16string_view wide) {
  return LocaleIsUtf8() ? text::Utf16ToUtf8(wide) : text::Utf16ToCp1252(wide);
}

// Exact when the way back gives the same text: Windows-1252 gives '?' for
// what it cannot hold, UTF-8 U+FFFD for a lone surrogate.
std::optional<std::string> PosixSystem::WideToAnsiExactly(std::u16string_view wide) {
  std::string ansi = WideToAnsi(wide);
  if (AnsiToWide(ansi) != wide) return std::nullopt;
  return ansi;
}

std::size_t PosixSystem::AnsiCharacterLength(std::string_view text) {
  return LocaleIsUtf8() ? text::Utf8CharacterLength(text) : text::SingleByteCharacterLength(text);
}

bool PosixSystem::AnsiIsSingleByte() { return !LocaleIsUtf8(); }

std::string PosixSystem::ProgramTextToAnsi(std::string_view printed) { return WideToAnsi(text::Utf8ToUtf16(printed)); }

// The arguments joined with one blank: a shell has already undone the
// quoting, so this is the closest to the line as typed there is.
std::u16string PosixSystem::CommandTail() {
  std::string joined;
  for (int i = 1; i < argc_; ++i) {
    if (i > 1) joined += ' ';
    joined += argv_[i];
  }
  return text::Utf8ToUtf16(joined);
}

std::optional<std::u16string> PosixSystem::EnvironmentVariable(std::u16string_view name) {
  const auto value = FindVariable(environ, text::Utf16ToUtf8(name));
  if (!value) return std::nullopt;
  return text::Utf8ToUtf16(*value);
}

std::u16string PosixSystem::DefaultInterpreter() {
  return text::Utf8ToUtf16(ExecutableDirectory() + "/" + kInterpreterName);
}

std::optional<std::u16string> PosixSystem::InstalledSimulator() {
  char resolved[PATH_MAX];
  const std::string path = ExecutableDirectory() + kInstalledSimulatorPath;
  if (realpath(path.c_str(), resolved) == nullptr || !posix::IsExecutableFile(resolved)) {
    return std::nullopt;
  }
  return text::Utf8ToUtf16(resolved);
}

}  // namespace sympack::platform::posix
