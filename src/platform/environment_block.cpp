#include "platform/environment_block.h"

#include "platform/name_match.h"
#include "text/utf.h"

namespace sympack::platform {

std::optional<std::string> FindVariable(const char* const* environment, std::string_view name) {
  const std::u16string wanted = text::Utf8ToUtf16(name);
  for (const char* const* entry = environment; entry && *entry; ++entry) {
    const std::string_view pair(*entry);
    const auto equals = pair.find('=', 1);
    if (equals == std::string_view::npos) continue;
    if (EqualsIgnoringCase(text::Utf8ToUtf16(pair.substr(0, equals)), wanted)) {
      return std::string(pair.substr(equals + 1));
    }
  }
  return std::nullopt;
}

}  // namespace sympack::platform
