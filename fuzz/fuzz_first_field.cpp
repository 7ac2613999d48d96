// Any UTF-16 line (input bytes taken in pairs) cut to its first field. The
// line sits in a heap block of exactly its length, so that a read past its
// end is caught. The field must be what a plain model of the rules gives:
// leading blanks skipped; a quoted field up to the next quote or the end; a
// plain field up to the first comma, trailing blanks dropped.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "console/console.h"
#include "fuzz_check.h"

namespace {

std::u16string ModelField(std::u16string_view line) {
  std::size_t at = 0;
  while (at < line.size() && line[at] == u' ') ++at;
  std::u16string field;
  if (at < line.size() && line[at] == u'"') {
    for (++at; at < line.size() && line[at] != u'"'; ++at) field += line[at];
    return field;
  }
  for (; at < line.size() && line[at] != u','; ++at) field += line[at];
  while (!field.empty() && field.back() == u' ') field.pop_back();
  return field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t units = size / sizeof(char16_t);
  const auto exact = std::make_unique<char16_t[]>(units);
  if (units > 0) std::memcpy(exact.get(), data, units * sizeof(char16_t));
  const std::u16string_view line(exact.get(), units);

  FUZZ_CHECK(sympack::console::FirstField(line) == ModelField(line), "the field differs from the model's");
  return 0;
}
