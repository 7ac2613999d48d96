// An in-memory console screen and a scripted keyboard, so the console rules
// can be checked cell by cell.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "console/screen.h"

namespace sympack::testing {

class MemoryScreen final : public console::Screen {
 public:
  struct Cell {
    char16_t ch = u' ';
    std::uint16_t attribute = 7;
  };

  MemoryScreen(int width, int height)
      : width_(width), height_(height), cells_(static_cast<std::size_t>(width * height)) {}

  std::optional<console::ScreenInfo> Info() override {
    return console::ScreenInfo{x_, y_, width_, height_};
  }
  void WriteCells(int x, int y, std::u16string_view run, std::uint16_t attribute) override {
    CheckInRow(x, run.size());
    for (std::size_t i = 0; i < run.size(); ++i) At(x + static_cast<int>(i), y) = {run[i], attribute};
  }
  void ScrollUp(std::uint16_t fill) override {
    ++scrolls;
    cells_.erase(cells_.begin(), cells_.begin() + width_);
    cells_.insert(cells_.end(), static_cast<std::size_t>(width_), Cell{u' ', fill});
  }
  void PlaceCursor(int x, int y) override { x_ = x, y_ = y; }
  void SetAttribute(std::uint16_t attribute) override { consoleAttribute = attribute; }
  std::optional<console::CursorShape> ReadCursorShape() override { return shape; }
  void SetCursorShape(console::CursorShape s) override {
    shape = s;
    ++shapeChanges;
  }

  // The row's characters, trailing blanks kept.
  std::string Row(int y) const {
    std::string row;
    for (int x = 0; x < width_; ++x) row += static_cast<char>(cells_[Index(x, y)].ch);
    return row;
  }
  std::string RowTrimmed(int y) const {
    std::string row = Row(y);
    return row.substr(0, row.find_last_not_of(' ') + 1);
  }
  const Cell& CellAt(int x, int y) const { return cells_[Index(x, y)]; }
  int CursorX() const { return x_; }
  int CursorY() const { return y_; }
  void MoveCursor(int x, int y) { x_ = x, y_ = y; }

  int scrolls = 0;
  int shapeChanges = 0;
  std::uint16_t consoleAttribute = 0xFFFF;  // never set
  console::CursorShape shape{25, true};
  bool rowOverflow = false;

 private:
  void CheckInRow(int x, std::size_t size) {
    if (x < 0 || x + static_cast<int>(size) > width_) rowOverflow = true;
  }
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }
  Cell& At(int x, int y) { return cells_[Index(x, y)]; }

  int width_, height_;
  int x_ = 0, y_ = 0;
  std::vector<Cell> cells_;
};

class KeyList final : public console::KeySource {
 public:
  std::optional<console::KeyEvent> Next() override {
    if (events_.empty()) return std::nullopt;
    auto event = events_.front();
    events_.pop_front();
    return event;
  }

  KeyList& Type(std::u16string_view text) {
    for (char16_t c : text) Key(c);
    return *this;
  }
  KeyList& Key(char16_t c, bool alt = false, bool shortcut = false) {
    console::KeyEvent down;
    down.pressed = true, down.character = c, down.altHeld = alt, down.shortcut = shortcut;
    events_.push_back(down);
    console::KeyEvent up = down;
    up.pressed = false;
    events_.push_back(up);  // the release must change nothing
    return *this;
  }
  // Alt with a letter key, as the system reports it.
  KeyList& Shortcut(char16_t c) { return Key(c, true, true); }
  // Characters of a line read from standard input: text, not keys.
  KeyList& Literal(std::u16string_view text) {
    for (char16_t c : text) {
      console::KeyEvent event;
      event.pressed = true, event.character = c, event.literal = true;
      events_.push_back(event);
    }
    return *this;
  }
  KeyList& Redraw() {
    console::KeyEvent redraw;
    redraw.redraw = true;
    events_.push_back(redraw);
    return *this;
  }
  KeyList& Enter() { return Key(13); }
  KeyList& Backspace() { return Key(8); }
  std::size_t Remaining() const { return events_.size(); }

 private:
  std::deque<console::KeyEvent> events_;
};

}  // namespace sympack::testing
