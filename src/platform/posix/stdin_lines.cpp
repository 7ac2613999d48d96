#include "platform/posix/stdin_lines.h"

#include <unistd.h>

#include <cerrno>
#include <deque>
#include <string>
#include <vector>

#include "platform/terminal_input.h"
#include "text/marked_input.h"

namespace sympack::platform::posix {
namespace {

constexpr char16_t kEnter = 13;
constexpr std::size_t kReadChunk = 4096;

struct StandardInput {
  text::MarkedInput marked;  // what was read, its byte-order mark (if any) dropped
  std::string bytes;  // UTF-8 read and not yet decoded
  bool ended = false;
  bool afterCr = false;  // an LF next belongs to the CR's Enter
  std::deque<KeyEvent> events;  // decoded and not yet delivered
};
StandardInput g_input;

void ReadMore() {
  char buffer[kReadChunk];
  ssize_t n;
  do {
    n = read(STDIN_FILENO, buffer, sizeof(buffer));
  } while (n < 0 && errno == EINTR);
  if (n <= 0) {
    g_input.ended = true;
    g_input.marked.End();
  } else {
    g_input.marked.Take(std::string_view(buffer, static_cast<std::size_t>(n)));
  }
  g_input.bytes += g_input.marked.Drain();
}

// Decodes the next key at the front of the bytes; false when more bytes are
// needed to finish it.
bool DecodeNext() {
  std::string& bytes = g_input.bytes;
  if (bytes.empty()) return false;
  const bool lfOfCrLf = g_input.afterCr && bytes.front() == '\n';
  g_input.afterCr = bytes.front() == '\r';
  if (lfOfCrLf) {  // CR LF is one Enter, even when it arrives split over two reads
    bytes.erase(0, 1);
    return true;
  }
  if (bytes.front() == '\r' || bytes.front() == '\n') {
    bytes.erase(0, 1);
    g_input.events.push_back(CharacterKeyEvent(kEnter));
    return true;
  }
  std::vector<KeyEvent> decoded;
  const std::size_t taken = DecodeCharacter(bytes, g_input.ended, decoded);
  if (taken == 0) return false;
  bytes.erase(0, taken);
  g_input.events.insert(g_input.events.end(), decoded.begin(), decoded.end());
  return true;
}

}  // namespace

KeyEvent NextStandardInputKey() {
  while (g_input.events.empty()) {
    if (DecodeNext()) continue;
    if (g_input.ended) return CharacterKeyEvent(kEnter);
    ReadMore();
  }
  const KeyEvent event = g_input.events.front();
  g_input.events.pop_front();
  return event;
}

}  // namespace sympack::platform::posix
