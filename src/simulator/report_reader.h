// Reading the channel symbols out of the simulator's report.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sympack::simulator {

// Markers, byte-exact and case-sensitive, found anywhere in a line.
constexpr std::string_view kListingHeader = "hannel symbols";  // opens the listing; dropped
constexpr std::string_view kFileStop = "File";                 // stops it; not added
constexpr std::string_view kChannelEnd = "hannel";             // added, then stops it

// Bytes read from the file at a time.
constexpr std::size_t kReadBlockSize = 128;

// Splits a byte stream into lines the report's way: a CR ends a line (an LF
// right after it goes with it); a lone LF is an ordinary byte; byte 26 ends
// the line and the file for good. Lines have no length limit; each byte is
// looked at once.
class ReportLineReader {
 public:
  // Fills the buffer; bytes read, 0 at the end, empty optional on a failure.
  using ReadFunction = std::function<std::optional<std::size_t>(char*, std::size_t)>;

  explicit ReportLineReader(ReadFunction read) : read_(std::move(read)) {}

  // The next line without its line end; the empty text at the end of the
  // file, and again on every later call. A failed read drops the line.
  std::string ReadFileLine();
  // True once the end of the file (or byte 26, or a failed read) is reached.
  bool AtEnd() const { return atEnd_; }

 private:
  enum class Fill { kData, kEnd, kFailed };
  Fill Refill();

  ReadFunction read_;
  std::array<char, kReadBlockSize> block_{};
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  bool atEnd_ = false;
  bool pendingLf_ = false;  // a CR ended the last block: skip an LF that starts the next
};

// The listing collected from a reader: lines after the first one containing
// the header, joined with nothing between them, until an empty line, a line
// containing "File" (not added) or one containing "hannel" (added). Empty
// optional when the report holds no header line at all.
std::optional<std::string> CollectSymbolText(ReportLineReader& reader);

// Opens the report file (no sharing), collects the listing and closes the
// file again. Empty optional when the file cannot be opened or holds no
// listing header.
std::optional<std::string> ReadSymbolText();

}  // namespace sympack::simulator
