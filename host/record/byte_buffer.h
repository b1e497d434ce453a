// A growable byte buffer for lines made in place: bytes appended with a
// bounds check and a copy, or written through reserve() and kept with
// commit(). It grows only for a line longer than what it holds, so a buffer
// sized once serves a whole run without allocating.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace orv::host {

class ByteBuffer {
 public:
  explicit ByteBuffer(std::size_t capacity = 0) : data_(new char[capacity]), capacity_(capacity) {}
  void push_back(char c) {
    if (size_ == capacity_) grow(1);
    data_[size_++] = c;
  }
  void append(const char* p, std::size_t n) {
    if (capacity_ - size_ < n) grow(n);
    std::memcpy(data_.get() + size_, p, n);
    size_ += n;
  }
  void append(std::string_view s) { append(s.data(), s.size()); }
  // Room for `n` more bytes, written through the pointer and then kept
  // with commit().
  char* reserve(std::size_t n) {
    make_room(n);
    return data_.get() + size_;
  }
  // Grows, if need be, to hold `n` more bytes.
  void make_room(std::size_t n) {
    if (capacity_ - size_ < n) grow(n);
  }
  void commit(const char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }
  const char* data() const { return data_.get(); }
  std::size_t size() const { return size_; }
  std::string_view view() const { return {data_.get(), size_}; }
  bool empty() const { return size_ == 0; }
  void clear() { size_ = 0; }
  // Keeps the first `n` bytes (n <= size()).
  void truncate(std::size_t n) { size_ = n; }

 private:
  void grow(std::size_t n) {
    const std::size_t capacity = std::max(capacity_ * 2, size_ + n);
    std::unique_ptr<char[]> data(new char[capacity]);
    std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
  }
  std::unique_ptr<char[]> data_;
  std::size_t capacity_;
  std::size_t size_ = 0;
};

}  // namespace orv::host
