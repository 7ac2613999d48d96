// Any key stream typed into the line editor on an in-memory screen that may
// be resized between keys. Input: width, height, cursor column and row, a
// mode byte (bit 0: not used; bit 1: a prompt of
// `prompt length` cells written first, so the read can start with a wrap
// pending; bit 2: the cursor starts hidden; bit 3: the events are a line
// read from standard input, literal characters), the prompt length, then
// events of four bytes each (see NextEvent). Checks: every cell write and
// cursor placement lies inside the screen as it is at that moment; the line
// is what a plain model of the editing rules gives, no line when the events
// end before Enter, and never exceeds the limit; the cursor's visibility is
// as it was before the read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "console/console.h"
#include "fuzz_check.h"
#include "platform/host_system.h"
#include "platform/platform.h"

namespace {

namespace console = sympack::console;

constexpr int kMaxWidth = 160;
constexpr int kMaxHeight = 50;
constexpr std::size_t kSetupBytes = 6;
constexpr std::size_t kEventBytes = 4;
constexpr std::uint8_t kPressed = 1, kAlt = 2, kResize = 4, kRepeat = 8;
constexpr std::uint8_t kShortcut = 1;  // in the event's last byte
constexpr int kRepeatShift = 4;  // the high four bits: repeat 2^k times
constexpr char16_t kBackspace = 8, kEnter = 13, kFirstPrintable = 32;

class BoundedScreen final : public console::Screen {
 public:
  BoundedScreen(int width, int height, int x, int y) : width_(width), height_(height), x_(x), y_(y) {}

  std::optional<console::ScreenInfo> Info() override {
    return console::ScreenInfo{x_, y_, width_, height_};
  }
  void WriteCells(int x, int y, std::u16string_view cells, std::uint16_t) override {
    FUZZ_CHECK(y >= 0 && y < height_, "a cell written outside the screen's rows");
    FUZZ_CHECK(x >= 0 && x + static_cast<long>(cells.size()) <= width_,
               "a cell written outside the screen's columns");
  }
  void ScrollUp(std::uint16_t) override {}
  void PlaceCursor(int x, int y) override {
    FUZZ_CHECK(x >= 0 && x < width_ && y >= 0 && y < height_, "the cursor placed off the screen");
    x_ = x, y_ = y;
  }
  void SetAttribute(std::uint16_t) override {}
  std::optional<console::CursorShape> ReadCursorShape() override { return shape; }
  void SetCursorShape(console::CursorShape s) override { shape = s; }

  // As a terminal does: the cursor is kept inside the new size.
  void Resize(int width, int height) {
    width_ = width, height_ = height;
    x_ = std::min(x_, width - 1), y_ = std::min(y_, height - 1);
  }

  console::CursorShape shape{25, true};

 private:
  int width_, height_, x_, y_;
};

// Events of four bytes: flags (kPressed, kAlt, kResize, kRepeat and the
// repeat exponent), the character's two bytes, the key's kind (kShortcut:
// a shortcut the system found, such as Alt with a letter). A resize event
// changes the screen to (low byte, high byte) and delivers no key.
class FuzzKeys final : public console::KeySource {
 public:
  FuzzKeys(const std::uint8_t* data, std::size_t size, BoundedScreen& screen, bool literal)
      : data_(data), size_(size), screen_(screen), literal_(literal) {}

  std::optional<console::KeyEvent> Next() override {
    while (repeats_ == 0) {
      if (position_ + kEventBytes > size_) return std::nullopt;
      const std::uint8_t* event = data_ + position_;
      position_ += kEventBytes;
      if (event[0] & kResize) {
        screen_.Resize(event[1] % kMaxWidth + 1, event[2] % kMaxHeight + 1);
        continue;
      }
      current_.pressed = event[0] & kPressed;
      current_.altHeld = event[0] & kAlt;
      current_.character = static_cast<char16_t>(event[1] | event[2] << 8);
      current_.shortcut = event[3] & kShortcut;
      current_.literal = literal_ && current_.character != kEnter;
      repeats_ = (event[0] & kRepeat) ? std::size_t{1} << (event[0] >> kRepeatShift) : 1;
    }
    --repeats_;
    events.push_back(current_);
    return current_;
  }

  std::vector<console::KeyEvent> events;  // every event handed out, in order

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  BoundedScreen& screen_;
  bool literal_;
  std::size_t position_ = 0;
  std::size_t repeats_ = 0;
  console::KeyEvent current_;
};

// The editing rules applied to the events the editor took; no line when
// they ended before Enter.
std::optional<std::u16string> ModelLine(const std::vector<console::KeyEvent>& events) {
  std::u16string line;
  for (const auto& event : events) {
    if (event.literal) {
      if (line.size() < console::kMaxTypedLine) line.push_back(event.character);
      continue;
    }
    if (!event.pressed || event.character == 0) continue;
    if (event.shortcut) continue;
    if (event.character == kEnter) return line;
    if (event.character == kBackspace) {
      if (!line.empty()) line.pop_back();
    } else if (event.character >= kFirstPrintable && line.size() < console::kMaxTypedLine) {
      line.push_back(event.character);
    }
  }
  return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kSetupBytes) return 0;
  const int width = data[0] % kMaxWidth + 1;
  const int height = data[1] % kMaxHeight + 1;
  BoundedScreen screen(width, height, data[2] % width, data[3] % height);
  const bool withPrompt = data[4] & 2, hidden = data[4] & 4, literal = data[4] & 8;
  screen.shape.visible = !hidden;
  FuzzKeys keys(data + kSetupBytes, size - kSetupBytes, screen, literal);
  static const auto host = sympack::platform::MakeHostSystem(0, nullptr);  // its code page
  console::Console console(screen, keys, *host, *host);
  if (withPrompt) console.WriteText(std::string(data[5], 'P'));

  const std::optional<std::u16string> line = console.ReadLine();

  const std::optional<std::u16string> model = ModelLine(keys.events);
  FUZZ_CHECK(line.has_value() == model.has_value(), "a line where the model has none, or none where it has one");
  if (line && model) {
    FUZZ_CHECK(model->size() <= console::kMaxTypedLine, "the model broke the limit");
    FUZZ_CHECK(*line == *model, "the line differs from the model's");
    FUZZ_CHECK(line->size() <= console::kMaxTypedLine, "a line over the limit");
  }
  FUZZ_CHECK(screen.shape.visible == !hidden, "the cursor's visibility not restored");
  return 0;
}
