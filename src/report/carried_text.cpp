#include "report/carried_text.h"

#include <algorithm>
#include <vector>

#include "platform/system.h"
#include "report/file_names.h"
#include "report/report_reader.h"
#include "text/ascii_case.h"
#include "text/blanks.h"
#include "text/hex_digits.h"

namespace sympack::report {
namespace {

constexpr std::size_t kReportDigits = 2;

using text::kBlanks;
using text::WithoutBlanksAround;

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A signal report, "R" before it or not: a sign and one or two digits, written
// by the protocol as sign and two digits, with -00 as +00.
std::optional<std::string> ReportSpelling(std::string_view word) {
  std::string roger;
  if (!word.empty() && word.front() == 'R') {
    roger = "R";
    word.remove_prefix(1);
  }
  if (word.size() < 2 || (word.front() != '+' && word.front() != '-')) return std::nullopt;
  std::string_view digits = word.substr(1);
  if (!AllDigits(digits) || digits.size() > kReportDigits) return std::nullopt;
  const char sign = digits == "0" || digits == "00" ? '+' : word.front();
  return roger + sign + std::string(kReportDigits - digits.size(), '0') + std::string(digits);
}

std::string WordSpelling(std::string_view word) {
  if (word.size() > 2 && word.front() == '<' && word.back() == '>') word = word.substr(1, word.size() - 2);
  if (const auto report = ReportSpelling(word)) return *report;
  if (word.find_first_not_of(text::kHexDigits) == std::string_view::npos) {
    const auto nonZero = word.find_first_not_of('0');
    if (nonZero == std::string_view::npos) return word.empty() ? std::string() : std::string("0");
    return std::string(word.substr(nonZero));
  }
  return std::string(word);
}

std::vector<std::string> Spelling(std::string_view text) {
  const std::string upper = text::AsciiUpper(text);
  std::vector<std::string> words;
  std::string_view rest(upper);
  while (!(rest = WithoutBlanksAround(rest)).empty()) {
    const auto end = std::min(rest.find_first_of(kBlanks), rest.size());
    words.push_back(WordSpelling(rest.substr(0, end)));
    rest.remove_prefix(end);
  }
  return words;
}

}  // namespace

std::optional<std::string> DecodedTextOfLine(std::string_view line) {
  if (line.substr(0, kMessageLineStart.size()) != kMessageLineStart) return std::nullopt;
  line.remove_prefix(kMessageLineStart.size());
  const auto fieldAfter = line.rfind(kMessageLineFieldAfter);
  if (fieldAfter != std::string_view::npos) line = line.substr(0, fieldAfter);
  return std::string(WithoutBlanksAround(line));
}

std::optional<std::string> ReadDecodedText(platform::System& system) {
  const auto text = ReadReportText(system);
  if (!text) return std::nullopt;
  // The Message: line comes before the listing.
  for (const std::string_view line : ReportLines(*text)) {
    if (line.find(kListingHeader) != std::string_view::npos) break;
    if (auto decoded = DecodedTextOfLine(line)) return system.ProgramTextToAnsi(*decoded);
  }
  return std::nullopt;
}

bool IsNoMessage(std::string_view decoded) {
  decoded = WithoutBlanksAround(decoded);
  return decoded.empty() || decoded == kBadMessageMark || decoded == kUnknownHashMark;
}

bool CarriesSameText(std::string_view sent, std::string_view decoded) {
  return Spelling(sent) == Spelling(decoded);
}

}  // namespace sympack::report
