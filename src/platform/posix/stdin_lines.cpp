#include "platform/posix/stdin_lines.h"

#include <unistd.h>

#include <string>
#include <vector>

#include "platform/posix/interrupted.h"
#include "platform/terminal_input.h"
#include "platform/typed_lines.h"
#include "text/marked_input.h"

namespace sympack::platform::posix {
namespace {

constexpr std::size_t kReadChunk = 4096;

struct StandardInput {
  text::MarkedInput marked;  // what was read, its byte-order mark (if any) dropped
  std::string bytes;         // UTF-8 read and not yet decoded
  TypedLines lines;
};
StandardInput g_input;

// Decodes the whole characters read so far; at the end of the input, the
// bytes of an unfinished one too.
void DecodeWhatCame(bool ended) {
  std::vector<KeyEvent> decoded;
  std::size_t at = 0;
  while (at < g_input.bytes.size()) {
    const std::size_t taken = DecodeCharacter(std::string_view(g_input.bytes).substr(at), ended, decoded);
    if (taken == 0) break;
    at += taken;
  }
  g_input.bytes.erase(0, at);
  std::u16string characters;
  for (const KeyEvent& event : decoded) characters += event.character;
  g_input.lines.Take(characters);
  if (ended) g_input.lines.End();
}

void ReadMore() {
  char buffer[kReadChunk];
  const ssize_t n = RetryWhileInterrupted([&buffer] { return read(STDIN_FILENO, buffer, sizeof(buffer)); });
  const bool ended = n <= 0;
  if (ended) {
    g_input.marked.End();
  } else {
    g_input.marked.Take(std::string_view(buffer, static_cast<std::size_t>(n)));
  }
  g_input.bytes += g_input.marked.Drain();
  DecodeWhatCame(ended);
}

}  // namespace

KeyEvent NextStandardInputKey() {
  for (;;) {
    if (const auto key = g_input.lines.NextKey()) return CharacterKeyEvent(*key);
    ReadMore();
  }
}

}  // namespace sympack::platform::posix
