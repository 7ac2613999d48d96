// Reading the channel symbols out of the simulator's report.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace sympack::report {

// Markers, byte-exact and case-sensitive, found anywhere in a line.
constexpr std::string_view kListingHeader = "hannel symbols";  // opens the listing; dropped
constexpr std::string_view kFileStop = "File";                 // stops it; not added
constexpr std::string_view kChannelEnd = "hannel";             // added, then stops it

// The most of a report that is read. The simulator's report is about 1 KiB;
// anything past this is no report of ours, and a report that never ends (a
// device planted under its name) costs no more than this.
constexpr std::size_t kMaxReportBytes = 1024 * 1024;

// Fills the buffer; bytes read, 0 at the end, empty optional on a failure.
using ReadFunction = std::function<std::optional<std::size_t>(char*, std::size_t)>;

// The report's bytes up to its end, byte 26 (which ends the file for good) or
// kMaxReportBytes. A failed read, or the limit, cuts the text back to its
// last line end: a line read in part is not a line.
std::string ReadReportBytes(const ReadFunction& read);

// The report's lines: a CR ends a line (an LF right after it goes with it);
// a lone LF is an ordinary byte; the last line needs no line end.
std::vector<std::string_view> ReportLines(std::string_view text);

// The listing: lines after the first one containing the header, joined with
// nothing between them, until an empty line, a line containing "File" (not
// added) or one containing "hannel" (added). Empty optional when no line
// holds the header.
std::optional<std::string> CollectSymbolText(std::string_view text);

// The report file's bytes (ReadReportBytes), the file opened with no
// sharing; empty optional when it cannot be opened.
std::optional<std::string> ReadReportText(platform::System& system);

// The listing of the report file (CollectSymbolText). Empty optional when the
// file cannot be opened or holds no listing header.
std::optional<std::string> ReadSymbolText(platform::System& system);

}  // namespace sympack::report
