#include "simulator/report_reader.h"

#include "platform/platform.h"
#include "simulator/file_names.h"

namespace sympack::simulator {
namespace {

constexpr char kCr = 13;
constexpr char kLf = 10;
constexpr char kEndOfFile = 26;  // Ctrl+Z

bool Contains(std::string_view line, std::string_view marker) {
  return line.find(marker) != std::string_view::npos;
}

// Longest file name the reader passes on; longer ones are cut.
constexpr std::size_t kMaxOpenNameLength = 255;

}  // namespace

ReportLineReader::Fill ReportLineReader::Refill() {
  position_ = filled_ = 0;
  const auto got = read_(block_.data(), block_.size());
  if (!got) return Fill::kFailed;
  if (*got == 0) return Fill::kEnd;
  filled_ = *got;
  return Fill::kData;
}

std::string ReportLineReader::ReadFileLine() {
  std::string line;
  while (!atEnd_) {
    if (position_ == filled_) {
      const Fill fill = Refill();
      if (fill != Fill::kData) {
        atEnd_ = true;
        if (fill == Fill::kFailed) line.clear();
        break;
      }
    }
    if (pendingLf_) {
      pendingLf_ = false;
      if (block_[position_] == kLf) {
        ++position_;
        continue;
      }
    }
    const char* start = block_.data() + position_;
    const std::size_t available = filled_ - position_;
    std::size_t stop = 0;
    while (stop < available && start[stop] != kCr && start[stop] != kEndOfFile) ++stop;
    line.append(start, stop);
    position_ += stop;
    if (stop == available) continue;
    if (start[stop] == kEndOfFile) {
      atEnd_ = true;  // never consumed: every later read stops here again
      break;
    }
    ++position_;  // the CR; an LF right after it goes with it
    if (position_ < filled_) {
      if (block_[position_] == kLf) ++position_;
    } else {
      pendingLf_ = true;
    }
    break;
  }
  return line;
}

std::optional<std::string> CollectSymbolText(ReportLineReader& reader) {
  for (;;) {
    const std::string line = reader.ReadFileLine();
    if (Contains(line, kListingHeader)) break;
    if (reader.AtEnd()) return std::nullopt;
  }
  std::string symbols;
  for (;;) {
    const std::string line = reader.ReadFileLine();
    if (line.empty() || Contains(line, kFileStop)) break;
    symbols += line;
    if (Contains(line, kChannelEnd)) break;
  }
  return symbols;
}

std::optional<std::string> ReadSymbolText() {
  std::u16string name = platform::AnsiToWide(kReportFileForReading);
  if (name.size() > kMaxOpenNameLength) name.resize(kMaxOpenNameLength);
  platform::File file = platform::OpenForReading(name);
  if (!file.IsOpen()) return std::nullopt;
  ReportLineReader reader([&file](char* buffer, std::size_t size) {
    return platform::ReadBytes(file, buffer, size);
  });
  auto symbols = CollectSymbolText(reader);
  file.Close();
  return symbols;
}

}  // namespace sympack::simulator
