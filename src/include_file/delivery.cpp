#include "include_file/delivery.h"

#include "platform/name_match.h"
#include "platform/system.h"
#include "text/line_ends.h"

namespace sympack::include_file {
namespace {

constexpr std::string_view kFinalLineEnd = text::kCrLf;

}  // namespace

IncludeFileWrite WriteIncludeFile(platform::System& system, std::string_view destinationName, std::string_view includeText) {
  // The whole name goes to the system, which refuses one longer than it
  // takes: cut, it would name another file.
  const std::u16string name = system.AnsiToWide(destinationName);
  if (name.empty() || platform::HasWildcards(name)) return {false, false, platform::WriteRefusal::kBadName};

  std::string bytes(includeText);
  bytes += kFinalLineEnd;
  const platform::WholeFileWrite write = system.WriteWholeFile(name, bytes);
  const bool complete = write.refusal == platform::WriteRefusal::kNone;
  return {complete, complete && write.diskFile, write.refusal};
}

bool CopyTextToClipboard(platform::System& system, std::string_view includeText) {
  return system.PlaceClipboardText(system.AnsiToWide(includeText));
}

}  // namespace sympack::include_file
