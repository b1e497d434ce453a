// Reading a fuzzer's bytes as the values a target needs: numbers (often one
// of the values that break arithmetic: NaN, infinities, denormals, the
// largest doubles and integers), integers, texts. Reads past the end give
// zeros and empty texts, so every input is a complete case.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace orv::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return at_ >= size_; }
  std::size_t left() const { return at_ < size_ ? size_ - at_ : 0; }

  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

  template <typename T>
  T raw() {
    unsigned char bytes[sizeof(T)] = {};
    for (unsigned char& b : bytes) b = byte();
    T v;
    std::memcpy(&v, bytes, sizeof v);
    return v;
  }

  // One of the troublesome values, or any bit pattern.
  double number() {
    static const double kValues[] = {
        0.0,
        -0.0,
        1.0,
        -1.0,
        0.5,
        std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::denorm_min(),
        -std::numeric_limits<double>::denorm_min(),
        DBL_MIN,
        DBL_MAX,
        -DBL_MAX,
        1e300,
        -1e300,
        2147483647.0,
        2147483648.0,
        -2147483649.0,
        4294967296.0,
        9.3e18,
        -9.3e18,
        1e19,
        360.0,
        -360.0,
        1e9,
        65535.0,
    };
    const std::uint8_t pick = byte();
    if (pick < sizeof kValues / sizeof kValues[0]) return kValues[pick];
    if (pick < 200) return static_cast<double>(static_cast<std::int16_t>(raw<std::uint16_t>()));
    return raw<double>();
  }

  // Up to `max` bytes, any values but NUL.
  std::string text(std::size_t max) {
    const std::size_t n = std::min<std::size_t>(byte(), max);
    std::string s;
    for (std::size_t i = 0; i < n && !empty(); ++i) {
      const char c = static_cast<char>(byte());
      s.push_back(c == '\0' ? 'x' : c);
    }
    return s;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace orv::fuzz
