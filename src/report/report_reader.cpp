#include "report/report_reader.h"

#include <algorithm>
#include <array>

#include "platform/system.h"
#include "report/file_names.h"
#include "text/line_ends.h"

namespace sympack::report {
namespace {

using text::kCr;
using text::kLf;
constexpr char kEndOfFile = 26;  // Ctrl+Z
constexpr std::size_t kReadSize = 4096;

bool Contains(std::string_view line, std::string_view marker) { return line.find(marker) != std::string_view::npos; }

// The text up to and with its last line end (a CR, and the LF after it when
// that was read too).
void CutToLastLineEnd(std::string& text) {
  const auto cr = text.rfind(kCr);
  if (cr == std::string::npos) {
    text.clear();
    return;
  }
  text.resize(cr + 1 < text.size() && text[cr + 1] == kLf ? cr + 2 : cr + 1);
}

}  // namespace

std::string ReadReportBytes(const ReadFunction& read) {
  std::string text;
  std::array<char, kReadSize> block;
  while (text.size() < kMaxReportBytes) {
    const std::size_t wanted = std::min(block.size(), kMaxReportBytes - text.size());
    const auto got = read(block.data(), wanted);
    if (!got) break;
    if (*got == 0) return text;
    const std::string_view piece(block.data(), std::min(*got, wanted));
    const auto eof = piece.find(kEndOfFile);
    text.append(piece.substr(0, eof));
    if (eof != std::string_view::npos) return text;
  }
  CutToLastLineEnd(text);
  return text;
}

std::vector<std::string_view> ReportLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto cr = text.find(kCr);
    lines.push_back(text.substr(0, cr));
    if (cr == std::string_view::npos) break;
    text.remove_prefix(cr + 1);
    if (!text.empty() && text.front() == kLf) text.remove_prefix(1);
  }
  return lines;
}

std::optional<std::string> CollectSymbolText(std::string_view text) {
  const auto lines = ReportLines(text);
  auto line = std::find_if(lines.begin(), lines.end(), [](std::string_view l) { return Contains(l, kListingHeader); });
  if (line == lines.end()) return std::nullopt;
  std::string symbols;
  for (++line; line != lines.end(); ++line) {
    if (line->empty() || Contains(*line, kFileStop)) break;
    symbols += *line;
    if (Contains(*line, kChannelEnd)) break;
  }
  return symbols;
}

std::optional<std::string> ReadReportText(platform::System& system) {
  const auto file = system.OpenForReading(system.AnsiToWide(kReportFile));
  if (!file) return std::nullopt;
  return ReadReportBytes([&file](char* buffer, std::size_t size) { return file->Read(buffer, size); });
}

std::optional<std::string> ReadSymbolText(platform::System& system) {
  const auto text = ReadReportText(system);
  if (!text) return std::nullopt;
  return CollectSymbolText(*text);
}

}  // namespace sympack::report
