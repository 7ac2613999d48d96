#include "include_file/delivery.h"

#include "platform/name_match.h"
#include "platform/system.h"
#include "text/line_ends.h"

namespace sympack::include_file {
namespace {

constexpr std::string_view kFinalLineEnd = text::kCrLf;

bool WroteAll(platform::OpenFile& file, std::string_view bytes) {
  const auto written = file.Write(bytes);
  return written && *written == bytes.size();
}

}  // namespace

IncludeFileWrite WriteIncludeFile(platform::System& system, std::string_view destinationName, std::string_view includeText) {
  // The whole name goes to the system, which refuses one longer than it
  // takes: cut, it would name another file.
  const std::u16string name = system.AnsiToWide(destinationName);
  if (name.empty() || platform::HasWildcards(name)) return {};

  const auto file = system.OpenOrCreateForWriting(name);
  if (!file) return {};
  const bool disk = file->IsDisk();
  bool complete = !disk || file->TruncateToStart();
  // The text and the final line end go out as two writes; the second is
  // tried even when the first fell short.
  const bool textWritten = WroteAll(*file, includeText);
  const bool endWritten = WroteAll(*file, kFinalLineEnd);
  complete = complete && textWritten && endWritten;
  if (disk) complete = file->TruncateHere() && complete;
  return {complete, disk};
}

bool CopyTextToClipboard(platform::System& system, std::string_view includeText) {
  return system.PlaceClipboardText(system.AnsiToWide(includeText));
}

}  // namespace sympack::include_file
