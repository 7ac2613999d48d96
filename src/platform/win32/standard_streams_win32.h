// The plain transcript's way out on Windows: standard output for its lines,
// standard error for the light red ones; characters into a console, ANSI code
// page bytes into a file or pipe, lines ended with CR LF.
#pragma once

#include "console/transcript_sink.h"
#include "platform/system.h"

namespace sympack::platform::win32 {

class StandardStreams final : public console::TranscriptSink {
 public:
  // `codePage` converts the text for files and pipes. `promptOnConsole`:
  // lines are typed at a console that does not show standard output, so the
  // prompt goes to standard error too when that is the console.
  StandardStreams(System& codePage, bool promptOnConsole)
      : codePage_(codePage), promptOnConsole_(promptOnConsole) {}

  void Write(std::u16string_view text) override;
  void EndLine() override;
  void ErrorLine(std::u16string_view text) override;
  void BeforeTyping(std::u16string_view prompt) override;

 private:
  System& codePage_;
  const bool promptOnConsole_;
};

}  // namespace sympack::platform::win32
