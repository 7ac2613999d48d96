// Any bytes from a terminal, decoded as keys. Input: one byte giving the size
// of the pieces the bytes arrive in (1..16), then the bytes. Checks: every
// byte is taken or kept, and what is kept is shorter than the longest key;
// no more events than bytes taken; decoding piece by piece and then after a
// pause gives exactly the events of decoding the whole after a pause (which
// takes every byte); a cursor-position report found lies inside the bytes
// and has coordinates a screen can have.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "platform/terminal_input.h"

namespace {

namespace platform = sympack::platform;

constexpr std::size_t kMaxPiece = 16;
constexpr int kMaxCoordinate = 99999;

bool SameEvents(const std::vector<platform::KeyEvent>& a, const std::vector<platform::KeyEvent>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].pressed != b[i].pressed || a[i].character != b[i].character ||
        a[i].shortcut != b[i].shortcut || a[i].altHeld != b[i].altHeld) {
      return false;
    }
  }
  return true;
}

// Feeds the bytes in pieces, as reads from a terminal deliver them, keeping
// what is unfinished for the next piece; a pause at the end.
std::vector<platform::KeyEvent> DecodeInPieces(std::string_view bytes, std::size_t piece) {
  std::vector<platform::KeyEvent> events;
  std::string kept;
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    kept += bytes.substr(at, piece);
    const std::size_t before = events.size();
    const std::size_t taken = platform::DecodeKeys(kept, false, events);
    FUZZ_CHECK(taken <= kept.size(), "more bytes taken than there were");
    FUZZ_CHECK(kept.size() - taken < platform::kMaxKeySequenceBytes, "an unfinished key grew unbounded");
    FUZZ_CHECK(events.size() - before <= taken, "more events than bytes taken");
    kept.erase(0, taken);
  }
  const std::size_t taken = platform::DecodeKeys(kept, true, events);
  FUZZ_CHECK(taken == kept.size(), "bytes left over after a pause");
  return events;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t piece = 1 + data[0] % kMaxPiece;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  std::vector<platform::KeyEvent> whole;
  FUZZ_CHECK(platform::DecodeKeys(bytes, true, whole) == bytes.size(), "a byte not taken after a pause");
  FUZZ_CHECK(whole.size() <= bytes.size(), "more events than bytes");
  FUZZ_CHECK(SameEvents(DecodeInPieces(bytes, piece), whole),
             "decoding in pieces differs from decoding the whole");

  if (const auto report = platform::FindCursorReport(bytes)) {
    FUZZ_CHECK(report->start + report->length <= bytes.size(), "a report beyond the bytes");
    FUZZ_CHECK(report->row >= 0 && report->row < kMaxCoordinate && report->column >= 0 &&
                   report->column < kMaxCoordinate,
               "a report with coordinates no screen has");
  }
  return 0;
}
