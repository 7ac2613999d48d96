// Any bytes as the simulator's report. Checks that the listing the reader
// collects
//   - matches a plain model of the line and listing rules, written apart
//     from the reader (one pass per rule);
//   - holds only bytes of the report, in their order, and never a CR;
//   - does not depend on how many bytes each read hands over (1..128, or
//     all at once).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "report/report_reader.h"

namespace {

using sympack::report::CollectSymbolText;
using sympack::report::ReadReportBytes;

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kEndOfFile = 26;
// Reads hand over all they are asked for for the reference result, then
// every size from 1 to 128 bytes, the sizes around the line ends that matter.
constexpr std::size_t kWholeRead = sympack::report::kMaxReportBytes;
constexpr std::size_t kLargestSmallChunk = 128;

// The model: cut at the first byte 26, split at CR (a CR LF pair is one line
// end), and the last piece counts only when it is not empty.
std::vector<std::string_view> ModelLines(std::string_view report) {
  report = report.substr(0, report.find(kEndOfFile));
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t cr; (cr = report.find(kCr, start)) != std::string_view::npos;) {
    lines.push_back(report.substr(start, cr - start));
    start = cr + 1;
    if (start < report.size() && report[start] == kLf) ++start;
  }
  if (start < report.size()) lines.push_back(report.substr(start));
  return lines;
}

bool Has(std::string_view line, std::string_view marker) {
  return line.find(marker) != std::string_view::npos;
}

std::optional<std::string> ModelListing(std::string_view report) {
  const auto lines = ModelLines(report);
  const auto header = std::find_if(lines.begin(), lines.end(), [](std::string_view line) {
    return Has(line, sympack::report::kListingHeader);
  });
  if (header == lines.end()) return std::nullopt;
  std::string listing;
  for (auto line = header + 1; line != lines.end(); ++line) {
    if (line->empty() || Has(*line, sympack::report::kFileStop)) break;
    listing += *line;
    if (Has(*line, sympack::report::kChannelEnd)) break;
  }
  return listing;
}

std::optional<std::string> Collect(std::string_view report, std::size_t chunk) {
  std::size_t position = 0;
  return CollectSymbolText(ReadReportBytes([&](char* buffer, std::size_t size) -> std::optional<std::size_t> {
    const std::size_t count = std::min({size, chunk, report.size() - position});
    std::memcpy(buffer, report.data() + position, count);
    position += count;
    return count;
  }));
}

bool IsSubsequence(std::string_view part, std::string_view whole) {
  std::size_t next = 0;
  for (const char c : part) {
    next = whole.find(c, next);
    if (next == std::string_view::npos) return false;
    ++next;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view report(reinterpret_cast<const char*>(data), size);
  const auto listing = Collect(report, kWholeRead);

  FUZZ_CHECK(listing == ModelListing(report), "the listing differs from the model's");
  if (listing) {
    FUZZ_CHECK(listing->find(kCr) == std::string::npos, "a CR in the listing");
    FUZZ_CHECK(IsSubsequence(*listing, report), "the listing holds bytes not in the report");
  }
  for (std::size_t chunk = 1; chunk <= kLargestSmallChunk; ++chunk) {
    FUZZ_CHECK(Collect(report, chunk) == listing, "the listing depends on the read size");
  }
  return 0;
}
