// A string with its capacity fixed at compile time and its characters inside
// the object, always NUL-terminated: the encoder's words, calls and decoded
// text, built without the heap.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace fst4::detail {

// Part of `text` as std::string_view::substr gives it, except that a start
// past the end gives an empty view: substr would throw, and without
// exceptions that is a call to abort, which drags the C library's signal
// handling and with it malloc into a firmware image.
inline std::string_view slice(std::string_view text, std::size_t pos, std::size_t count = std::string_view::npos) {
  if (pos > text.size()) return {};
  return {text.data() + pos, std::min(count, text.size() - pos)};
}

// Characters beyond the capacity are dropped, and overflowed() says so
// (also for a string appended that had itself overflowed), so that a cut
// text is never taken for the whole one.
template <std::size_t Capacity>
class FixedString {
 public:
  FixedString() = default;
  explicit FixedString(std::string_view text) { append(text); }
  FixedString(std::size_t count, char c) { append(count, c); }

  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] bool empty() const { return size_ == 0; }
  [[nodiscard]] static constexpr std::size_t capacity() { return Capacity; }
  [[nodiscard]] bool overflowed() const { return overflowed_; }
  [[nodiscard]] const char* c_str() const { return chars_; }
  [[nodiscard]] std::string_view view() const { return {chars_, size_}; }
  operator std::string_view() const { return view(); }  // NOLINT: used as a view everywhere

  const char* begin() const { return chars_; }
  const char* end() const { return chars_ + size_; }
  char& operator[](std::size_t i) { return chars_[i]; }
  char operator[](std::size_t i) const { return chars_[i]; }
  [[nodiscard]] char front() const { return chars_[0]; }
  [[nodiscard]] char back() const { return chars_[size_ - 1]; }

  void clear() { set_size(0); }
  void pop_back() { set_size(size_ - 1); }
  // Shortens to `count` characters, or pads with `c` up to it.
  void resize(std::size_t count, char c = ' ') {
    if (count < size_) {
      set_size(count);
    } else {
      append(count - size_, c);
    }
  }

  FixedString& append(char c) {
    if (size_ < Capacity) {
      chars_[size_] = c;
      set_size(size_ + 1);
    } else {
      overflowed_ = true;
    }
    return *this;
  }
  FixedString& append(std::size_t count, char c) {
    for (std::size_t i = 0; i < count; ++i) append(c);
    return *this;
  }
  FixedString& append(std::string_view text) {
    for (char c : text) append(c);
    return *this;
  }
  template <std::size_t Other>
  FixedString& append(const FixedString<Other>& text) {
    overflowed_ = overflowed_ || text.overflowed();
    return append(text.view());
  }
  void push_back(char c) { append(c); }
  FixedString& operator+=(char c) { return append(c); }
  FixedString& operator+=(std::string_view text) { return append(text); }

  friend bool operator==(const FixedString& a, std::string_view b) { return a.view() == b; }

 private:
  void set_size(std::size_t size) {
    size_ = size;
    chars_[size_] = '\0';
  }

  char chars_[Capacity + 1]{};
  std::size_t size_ = 0;
  bool overflowed_ = false;
};

// Appends each part (a string, a view or a character) in turn.
template <std::size_t Capacity, class... Parts>
FixedString<Capacity>& append_all(FixedString<Capacity>& out, const Parts&... parts) {
  (out.append(parts), ...);
  return out;
}

// Appends `value` in decimal, with leading zeros up to `min_digits` digits.
template <std::size_t Capacity>
FixedString<Capacity>& append_decimal(FixedString<Capacity>& out, unsigned long long value,
                                      std::size_t min_digits = 1) {
  char digits[20];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (std::size_t i = count; i < min_digits; ++i) out.append('0');
  while (count > 0) out.append(digits[--count]);
  return out;
}

}  // namespace fst4::detail
