// Reading the channel symbols out of the simulator's report.
#pragma once

#include <vector>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace sympack::report {

// Markers, byte-exact and case-sensitive, found anywhere in a line.
constexpr std::string_view kListingHeader = "hannel symbols";  // opens the listing; dropped
constexpr std::string_view kFileStop = "File";                 // stops it; not added
constexpr std::string_view kChannelEnd = "hannel";             // added, then stops it

// Bytes read from the file at a time. Large blocks keep the number of reads
// (and so the time) near what copying the file costs; the reader's memory is
// this block plus the symbols it keeps, whatever the lines' lengths.
constexpr std::size_t kReadBlockSize = 64 * 1024;

// Splits a byte stream into lines the report's way: a CR ends a line (an LF
// right after it goes with it); a lone LF is an ordinary byte; byte 26 ends
// the line and the file for good. Lines have no length limit.
class ReportLineReader {
 public:
  // Fills the buffer; bytes read, 0 at the end, empty optional on a failure.
  using ReadFunction = std::function<std::optional<std::size_t>(char*, std::size_t)>;
  // Takes one piece of the current line; false to stop reading the line.
  using PieceFunction = std::function<bool(std::string_view)>;

  explicit ReportLineReader(ReadFunction read) : read_(std::move(read)), block_(kReadBlockSize) {}

  // Hands the next line to `take` piece by piece, without its line end, and
  // moves past it. False when a failed read cut the line short: its pieces
  // are then not a line. When `take` stops early the rest of the line is
  // left unread.
  bool ReadLinePieces(const PieceFunction& take);

  // Reads up to and past the first line that contains `marker` (which holds
  // no CR and no byte 26), without gathering the lines it passes. False when
  // the file ends, or a read fails, before such a line is complete.
  bool SkipPastLineContaining(std::string_view marker);

  // Appends to `symbols` the lines of the listing that need no closer look:
  // whole lines inside the buffered block, not empty and holding no stop
  // marker. Stops before the first line that is not such a line.
  void TakePlainListingLines(std::string& symbols);

  // True once the end of the file (or byte 26, or a failed read) is reached.
  bool AtEnd() const { return atEnd_; }

 private:
  enum class Fill { kData, kEnd, kFailed };
  Fill Refill();
  // Makes sure unread bytes are buffered; false at the end or on a failure
  // (then `failed_` tells which).
  bool HaveBytes();
  // Consumes the LF that may follow a CR ending the last line.
  void DropLfAfterCr();
  // Consumes the line end at the current position (a CR and its LF, or byte
  // 26, which stays); nothing at the end of the file.
  void EndLine();

  ReadFunction read_;
  std::vector<char> block_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  bool atEnd_ = false;
  bool failed_ = false;
  bool pendingLf_ = false;  // a CR ended the last block: an LF starting the next goes with it
};

// The listing collected from a reader: lines after the first one containing
// the header, joined with nothing between them, until an empty line, a line
// containing "File" (not added) or one containing "hannel" (added). Empty
// optional when the report holds no header line at all.
std::optional<std::string> CollectSymbolText(ReportLineReader& reader);

// Opens the report file (no sharing), reads it with `read` and closes the
// file again. Empty optional when the file cannot be opened, else what `read`
// gave.
std::optional<std::string> ReadReport(platform::System& system,
                                      const std::function<std::optional<std::string>(ReportLineReader&)>& read);

// The listing of the report file (CollectSymbolText). Empty optional when the
// file cannot be opened or holds no listing header.
std::optional<std::string> ReadSymbolText(platform::System& system);

}  // namespace sympack::report
