// Any message, with or without the FST4W hint, through our FST4 encoder. It
// either refuses with a reason or gives 160 tones of 0 to 3 that carry the
// five sync words where the FST4 frame puts them, and a non-empty decoded
// text; encoding the same message twice gives the same tones. The heap-free
// entry gives the same tones, type and word on the text carried, or refuses
// with the same reason.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fst4/encoder.h"
#include "fuzz_check.h"

namespace {

using fst4::kChannelSymbols;
constexpr std::uint8_t kHighestTone = 3;
// The FST4 frame's two sync words and where they start (0-based); from the
// FST4 protocol as WSJT-X 2.6.1 lays it out (lib/fst4/genfst4.f90).
constexpr std::array<std::uint8_t, 8> kSyncWord1 = {0, 1, 3, 2, 1, 0, 2, 3};
constexpr std::array<std::uint8_t, 8> kSyncWord2 = {2, 3, 1, 0, 3, 2, 0, 1};
constexpr std::array<std::size_t, 5> kSyncStarts = {0, 38, 76, 114, 152};

bool SyncWordsInPlace(const std::array<std::uint8_t, kChannelSymbols>& tones) {
  for (std::size_t block = 0; block < kSyncStarts.size(); ++block) {
    const auto& word = block % 2 == 0 ? kSyncWord1 : kSyncWord2;
    if (!std::equal(word.begin(), word.end(), tones.begin() + kSyncStarts[block])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool wsprHint = data[0] & 1;
  const std::string_view message(reinterpret_cast<const char*>(data) + 1, size - 1);

  const auto result = fst4::encode(message, wsprHint);
  fst4::Symbols heapFreeTones{};
  const auto heapFree = fst4::encode_symbols(message, wsprHint, heapFreeTones);
  FUZZ_CHECK(heapFree.ok() == result.ok(), "the heap-free entry decides otherwise");
  if (!result.ok()) {
    FUZZ_CHECK(!result.refusal.empty(), "a refusal without a reason");
    FUZZ_CHECK(result.refusal == heapFree.refusal, "the heap-free entry gives another reason");
    return 0;
  }
  const auto& tones = result.encoding->symbols;
  FUZZ_CHECK(tones.size() == kChannelSymbols, "not 160 tones");
  FUZZ_CHECK(std::all_of(tones.begin(), tones.end(), [](auto t) { return t <= kHighestTone; }),
             "a tone above 3");
  FUZZ_CHECK(SyncWordsInPlace(tones), "a sync word missing");
  FUZZ_CHECK(heapFreeTones == tones, "the heap-free entry gives other tones");
  FUZZ_CHECK(heapFree.i3 == result.encoding->i3 && heapFree.n3 == result.encoding->n3 &&
                 heapFree.mode == result.encoding->mode,
             "the heap-free entry gives another message type");
  FUZZ_CHECK(heapFree.other_text == result.encoding->other_text, "the heap-free entry says otherwise of the text");
  FUZZ_CHECK(!result.encoding->decoded.empty(), "an encoding that decodes as nothing");
  const auto again = fst4::encode(message, wsprHint);
  FUZZ_CHECK(again.ok() && again.encoding->symbols == tones, "the same message, other tones");
  return 0;
}
