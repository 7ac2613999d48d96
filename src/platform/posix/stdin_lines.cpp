#include "platform/posix/stdin_lines.h"

#include <unistd.h>

#include <vector>

#include "platform/posix/interrupted.h"
#include "platform/platform.h"
#include "platform/terminal_input.h"

namespace sympack::platform::posix {
namespace {

constexpr std::size_t kReadChunk = 4096;

}  // namespace

// Decodes the whole characters read so far; at the end of the input, the
// bytes of an unfinished one too.
void StandardInputLines::DecodeWhatCame(bool ended) {
  std::vector<KeyEvent> decoded;
  std::size_t at = 0;
  while (at < bytes_.size()) {
    const std::size_t taken = DecodeCharacter(std::string_view(bytes_).substr(at), ended, decoded);
    if (taken == 0) break;
    at += taken;
  }
  bytes_.erase(0, at);
  std::u16string characters;
  for (const KeyEvent& event : decoded) characters += event.character;
  lines_.Take(characters);
  if (ended) lines_.End();
}

void StandardInputLines::ReadMore() {
  char buffer[kReadChunk];
  const ssize_t n = RetryWhileInterrupted([&buffer] { return read(STDIN_FILENO, buffer, sizeof(buffer)); });
  const bool ended = n <= 0;
  if (ended) {
    marked_.End();
  } else {
    marked_.Take(std::string_view(buffer, static_cast<std::size_t>(n)));
  }
  bytes_ += marked_.Drain();
  DecodeWhatCame(ended);
}

std::optional<KeyEvent> StandardInputLines::Next() {
  for (;;) {
    if (lines_.Exhausted() && isatty(STDIN_FILENO)) return std::nullopt;
    if (const auto key = lines_.NextKey()) {
      KeyEvent event = CharacterKeyEvent(*key);
      event.literal = *key != kEnterCharacter;
      return event;
    }
    ReadMore();
  }
}

}  // namespace sympack::platform::posix
