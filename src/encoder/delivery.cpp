#include "encoder/delivery.h"

#include "platform/name_match.h"
#include "platform/platform.h"
#include "text/line_ends.h"

namespace sympack::encoder {
namespace {

constexpr std::string_view kFinalLineEnd = text::kCrLf;

bool WroteAll(const platform::File& file, std::string_view bytes) {
  const auto written = platform::WriteBytes(file, bytes);
  return written && *written == bytes.size();
}

}  // namespace

IncludeFileWrite WriteIncludeFile(std::string_view destinationName, std::string_view includeText) {
  // The whole name goes to the system, which refuses one longer than it
  // takes: cut, it would name another file.
  const std::u16string name = platform::AnsiToWide(destinationName);
  if (name.empty() || platform::HasWildcards(name)) return {};

  platform::File file = platform::OpenOrCreateForWriting(name);
  if (!file.IsOpen()) return {};
  const bool disk = platform::IsDiskFile(file);
  bool complete = !disk || platform::TruncateToStart(file);
  // The text and the final line end go out as two writes; the second is
  // tried even when the first fell short.
  const bool textWritten = WroteAll(file, includeText);
  const bool endWritten = WroteAll(file, kFinalLineEnd);
  complete = complete && textWritten && endWritten;
  if (disk) complete = platform::TruncateHere(file) && complete;
  file.Close();
  return {complete, disk};
}

bool CopyTextToClipboard(std::string_view includeText) {
  return platform::PlaceClipboardText(platform::AnsiToWide(includeText));
}

}  // namespace sympack::encoder
