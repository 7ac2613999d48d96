// A vector with its capacity fixed at compile time and its elements inside
// the object: the encoder builds its bit strings in these so that encoding
// never touches the heap (beacon firmware often has none).
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <type_traits>

namespace fst4::detail {

// Elements beyond the capacity are dropped, and overflowed() says so; the
// encoder's sizes never get there (each buffer is sized for the longest
// value it holds).
template <class T, std::size_t Capacity>
class FixedVector {
 public:
  FixedVector() = default;
  explicit FixedVector(std::size_t count, T value = T{}) { resize(count, value); }
  template <class It>
    requires(!std::is_integral_v<It>)
  FixedVector(It first, It last) {
    insert(end(), first, last);
  }
  template <std::size_t Other>
  FixedVector(const FixedVector<T, Other>& other)  // NOLINT: as a copy, cut when longer
      : FixedVector(other.begin(), other.end()) {}

  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] bool empty() const { return size_ == 0; }
  [[nodiscard]] static constexpr std::size_t capacity() { return Capacity; }
  [[nodiscard]] bool overflowed() const { return overflowed_; }

  T* data() { return items_; }
  const T* data() const { return items_; }
  T* begin() { return items_; }
  T* end() { return items_ + size_; }
  const T* begin() const { return items_; }
  const T* end() const { return items_ + size_; }
  T& operator[](std::size_t i) { return items_[i]; }
  const T& operator[](std::size_t i) const { return items_[i]; }

  void clear() { size_ = 0; }
  void push_back(T value) {
    if (size_ < Capacity) {
      items_[size_++] = value;
    } else {
      overflowed_ = true;
    }
  }
  void resize(std::size_t count, T value = T{}) {
    if (count > Capacity) {
      overflowed_ = true;
      count = Capacity;
    }
    for (std::size_t i = size_; i < count; ++i) items_[i] = value;
    size_ = count;
  }
  // Inserts [first, last) before `pos`; what no longer fits falls off the end.
  template <class It>
  void insert(const T* pos, It first, It last) {
    auto at = static_cast<std::size_t>(pos - items_);
    for (; first != last; ++first, ++at) {
      if (size_ == Capacity) {
        overflowed_ = true;
        if (at >= Capacity) return;
        --size_;
      }
      std::move_backward(items_ + at, items_ + size_, items_ + size_ + 1);
      items_[at] = *first;
      ++size_;
    }
  }
  void insert(const T* pos, std::initializer_list<T> values) { insert(pos, values.begin(), values.end()); }

  friend bool operator==(const FixedVector& a, const FixedVector& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }

 private:
  T items_[Capacity]{};
  std::size_t size_ = 0;
  bool overflowed_ = false;
};

}  // namespace fst4::detail
