// The plain transcript on POSIX systems, and the facts about the standard
// streams that decide when the texts go out that way.
#pragma once

#include <string_view>

#include "console/transcript_sink.h"

namespace sympack::platform::posix {

// False for a terminal that cannot place the cursor: TERM unset, empty or
// "dumb" (a line-only terminal, an editor's shell buffer).
bool TerminalCanPlaceCursor();

// True when standard output is a terminal that can place the cursor: the
// texts then go out as cells; otherwise as the plain transcript.
bool OutputTakesCells();

// True when typed lines are echoed by the terminal onto the very output the
// transcript goes to (a terminal that cannot place the cursor, in its own
// line mode), so that the transcript must not echo them again.
bool TypingShowsOnTranscript();

// UTF-8 text and LF line ends on standard output, light red lines again on
// standard error. Written straight through, so that it stays in order with
// what the children print on the same output.
class StandardStreams final : public console::TranscriptSink {
 public:
  void Write(std::u16string_view text) override;
  void EndLine() override;
  void ErrorLine(std::u16string_view text) override;
  // Typing at a terminal while the transcript goes elsewhere: the prompt
  // shows on that terminal through standard error, when that is one.
  void BeforeTyping(std::u16string_view prompt) override;
};

}  // namespace sympack::platform::posix
