#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/posix/transcript.h"
#include "platform/posix/process.h"
#include "text/line_ends.h"
#include "text/utf.h"

namespace sympack::platform {
namespace {

using posix::WriteAll;

// Both descriptors lead to one file (as after "> log.txt 2>&1").
bool SameFile(int first, int second) {
  struct stat a {}, b {};
  return fstat(first, &a) == 0 && fstat(second, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

namespace posix {

bool TerminalCanPlaceCursor() {
  const char* term = std::getenv("TERM");
  return term != nullptr && *term != '\0' && std::string_view(term) != "dumb";
}

bool OutputTakesCells() { return isatty(STDOUT_FILENO) && TerminalCanPlaceCursor(); }

void StandardStreams::Write(std::u16string_view text) {
  if (!text.empty()) WriteAll(STDOUT_FILENO, text::Utf16ToUtf8(text));
}

void StandardStreams::EndLine() { WriteAll(STDOUT_FILENO, std::string_view(&text::kLf, 1)); }

void StandardStreams::ErrorLine(std::u16string_view text) {
  if (SameFile(STDOUT_FILENO, STDERR_FILENO)) return;  // the transcript has it already
  WriteAll(STDERR_FILENO, text::Utf16ToUtf8(text) + text::kLf);
}

void StandardStreams::BeforeTyping(std::u16string_view prompt) {
  if (isatty(STDIN_FILENO) && !isatty(STDOUT_FILENO) && isatty(STDERR_FILENO)) {
    WriteAll(STDERR_FILENO, text::Utf16ToUtf8(prompt));
  }
}

bool TypingShowsOnTranscript() {
  termios modes{};
  return isatty(STDOUT_FILENO) && tcgetattr(STDIN_FILENO, &modes) == 0 && (modes.c_lflag & ECHO) &&
         (modes.c_lflag & ICANON);
}

}  // namespace posix
}  // namespace sympack::platform
