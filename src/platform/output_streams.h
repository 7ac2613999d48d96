// Standard output and error, for what is answered instead of a run (the
// usage, the version): plain bytes, LF as the line end.
#pragma once

#include <string_view>

namespace sympack::platform {

class OutputStreams {
 public:
  virtual ~OutputStreams() = default;
  // Windows writes CR LF, as the C runtime writes text. False when not all
  // of it was written.
  virtual bool WriteStandardOutput(std::string_view text) = 0;
  virtual void WriteStandardError(std::string_view text) = 0;
};

}  // namespace sympack::platform
