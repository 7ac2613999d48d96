#include "report/report_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/system.h"
#include "report/file_names.h"
#include "text/line_ends.h"

namespace sympack::report {
namespace {

using text::kCr;
using text::kLf;
constexpr char kEndOfFile = 26;  // Ctrl+Z

// The longer of the two stop markers: a marker split between two pieces of a
// line is found by looking back this many bytes less one.
constexpr std::size_t kLongestStopMarker = std::max(kFileStop.size(), kChannelEnd.size());

bool Contains(std::string_view text, std::string_view marker) {
  return text.find(marker) != std::string_view::npos;
}

// Offset of the first CR or byte 26 in the bytes, or their count.
std::size_t LineEndIn(const char* bytes, std::size_t count) {
  const void* cr = std::memchr(bytes, kCr, count);
  std::size_t end = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - bytes) : count;
  const void* eof = std::memchr(bytes, kEndOfFile, end);
  if (eof) end = static_cast<std::size_t>(static_cast<const char*>(eof) - bytes);
  return end;
}

}  // namespace

ReportLineReader::Fill ReportLineReader::Refill() {
  position_ = filled_ = 0;
  const auto got = read_(block_.data(), block_.size());
  if (!got) return Fill::kFailed;
  if (*got == 0) return Fill::kEnd;
  filled_ = std::min(*got, block_.size());
  return Fill::kData;
}

bool ReportLineReader::HaveBytes() {
  if (atEnd_) return false;
  if (position_ < filled_) return true;
  const Fill fill = Refill();
  if (fill == Fill::kData) return true;
  failed_ = fill == Fill::kFailed;
  atEnd_ = true;
  return false;
}

void ReportLineReader::DropLfAfterCr() {
  if (!pendingLf_ || !HaveBytes()) return;
  pendingLf_ = false;
  if (block_[position_] == kLf) ++position_;
}

void ReportLineReader::EndLine() {
  if (position_ >= filled_) return;
  if (block_[position_] == kEndOfFile) {
    atEnd_ = true;  // never consumed: every later read stops here again
    return;
  }
  ++position_;  // the CR; an LF right after it goes with it
  if (position_ < filled_) {
    if (block_[position_] == kLf) ++position_;
  } else {
    pendingLf_ = true;
  }
}

bool ReportLineReader::ReadLinePieces(const PieceFunction& take) {
  DropLfAfterCr();
  while (HaveBytes()) {
    const char* start = block_.data() + position_;
    const std::size_t available = filled_ - position_;
    const std::size_t end = LineEndIn(start, available);
    position_ += end;
    if (end > 0 && !take(std::string_view(start, end))) return true;
    if (end < available) {
      EndLine();
      return true;
    }
  }
  return !failed_;
}

bool ReportLineReader::SkipPastLineContaining(std::string_view marker) {
  DropLfAfterCr();
  const std::size_t keep = marker.size() - 1;
  std::string carry;  // the last bytes before this block, for a marker split between blocks
  std::string seam;   // carry and the start of this block, reused from block to block
  carry.reserve(2 * keep);
  seam.reserve(2 * keep);
  while (HaveBytes()) {
    const char* start = block_.data() + position_;
    const std::size_t available = filled_ - position_;
    // Nothing after a byte 26 is read.
    const void* eof = std::memchr(start, kEndOfFile, available);
    const std::size_t usable = eof ? static_cast<std::size_t>(static_cast<const char*>(eof) - start) : available;
    const std::string_view region(start, usable);

    std::size_t pastMarker = std::string_view::npos;
    if (!carry.empty()) {
      seam.assign(carry);
      seam.append(region.substr(0, keep));
      const auto at = seam.find(marker);
      if (at != std::string::npos) pastMarker = at + marker.size() - carry.size();
    }
    if (pastMarker == std::string_view::npos) {
      // A search led by the marker's first byte (memchr) outruns a skip
      // table on report text, where that byte is rare.
      const auto at = region.find(marker);
      if (at != std::string_view::npos) pastMarker = at + marker.size();
    }
    if (pastMarker != std::string_view::npos) {
      // The marker holds no line end, so it lies inside one line: the
      // header line. Read on to its end.
      position_ += pastMarker;
      return ReadLinePieces([](std::string_view) { return true; });
    }

    carry.append(region.substr(region.size() - std::min(region.size(), keep)));
    if (carry.size() > keep) carry.erase(0, carry.size() - keep);
    position_ += usable;
    if (usable < available) {
      atEnd_ = true;
      return false;
    }
  }
  return false;
}

void ReportLineReader::TakePlainListingLines(std::string& symbols) {
  DropLfAfterCr();
  if (pendingLf_ || position_ >= filled_ || atEnd_) return;
  const char* block = block_.data();
  std::size_t end = filled_;  // nothing after a byte 26 counts
  if (const void* eof = std::memchr(block + position_, kEndOfFile, end - position_)) {
    end = static_cast<std::size_t>(static_cast<const char*>(eof) - block);
  }
  // Lines before the first stop marker in the block are plain; markers hold
  // no line end, so one never spans two lines.
  const std::string_view region(block + position_, end - position_);
  const std::size_t markerOffset = std::min(region.find(kFileStop), region.find(kChannelEnd));
  const std::size_t firstMarker = markerOffset == std::string_view::npos ? end : position_ + markerOffset;
  // Room for every byte that can come, cut back to what came.
  const std::size_t kept = symbols.size();
  symbols.resize(kept + (end - position_));
  char* out = symbols.data() + kept;
  while (position_ < end) {
    const char* start = block + position_;
    const void* cr = std::memchr(start, kCr, end - position_);
    if (cr == nullptr) break;  // the line goes on past the block
    const auto length = static_cast<std::size_t>(static_cast<const char*>(cr) - start);
    if (length == 0 || position_ + length > firstMarker) break;
    std::memcpy(out, start, length);
    out += length;
    position_ += length + 1;
    if (position_ == filled_) {
      pendingLf_ = true;
      break;
    }
    if (block[position_] == kLf) ++position_;
  }
  symbols.resize(static_cast<std::size_t>(out - symbols.data()));
}

std::optional<std::string> CollectSymbolText(ReportLineReader& reader) {
  if (!reader.SkipPastLineContaining(kListingHeader)) return std::nullopt;
  std::string symbols;
  for (;;) {
    reader.TakePlainListingLines(symbols);
    // Each line goes straight into the symbols and is taken out again when
    // a stop marker says it does not belong there.
    const std::size_t lineStart = symbols.size();
    bool fileStop = false;
    bool channelEnd = false;
    const bool complete = reader.ReadLinePieces([&](std::string_view piece) {
      const std::size_t lookBack = std::min(symbols.size() - lineStart, kLongestStopMarker - 1);
      const std::size_t from = symbols.size() - lookBack;
      symbols.append(piece);
      const std::string_view fresh = std::string_view(symbols).substr(from);
      if (Contains(fresh, kFileStop)) {
        fileStop = true;
        return false;  // the line is not added, and the listing ends here
      }
      channelEnd = channelEnd || Contains(fresh, kChannelEnd);
      return true;
    });
    if (!complete || fileStop || symbols.size() == lineStart) {
      symbols.resize(lineStart);
      break;
    }
    if (channelEnd) break;
  }
  return symbols;
}

std::optional<std::string> ReadReport(platform::System& system,
                                      const std::function<std::optional<std::string>(ReportLineReader&)>& read) {
  const auto file = system.OpenForReading(system.AnsiToWide(kReportFile));
  if (!file) return std::nullopt;
  ReportLineReader reader([&file](char* buffer, std::size_t size) { return file->Read(buffer, size); });
  return read(reader);
}

std::optional<std::string> ReadSymbolText(platform::System& system) { return ReadReport(system, CollectSymbolText); }

}  // namespace sympack::report
