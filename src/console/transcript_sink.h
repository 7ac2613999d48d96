// Where the plain transcript's text goes (console/transcript.h).
#pragma once

#include <string_view>

namespace sympack::console {

// Where the transcript's text goes; the system's standard streams, or a
// recorder in tests.
class TranscriptSink {
 public:
  virtual ~TranscriptSink() = default;
  // Text for standard output, no line end.
  virtual void Write(std::u16string_view text) = 0;
  virtual void EndLine() = 0;
  // A whole line, with its line end, for standard error.
  virtual void ErrorLine(std::u16string_view text) = 0;
  // A typed line is about to be read; `prompt` is the line so far.
  virtual void BeforeTyping(std::u16string_view prompt) = 0;
};

}  // namespace sympack::console
