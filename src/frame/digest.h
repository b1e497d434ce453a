// FNV-1a over bytes and 64-bit words: the digest a drawing surface keeps of
// its last picture, so that a picture that would draw the same pixels again
// is left out (the flight map's layer, the radar's picture).
#pragma once

#include <cstdint>
#include <cstring>

namespace orv {

class Fnv1a {
 public:
  void byte(unsigned v) {
    h_ ^= v & 0xFF;
    h_ *= 0x100000001b3ull;
  }
  // The eight bytes of `v`, lowest first.
  void word(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) byte(static_cast<unsigned>(v >> (8 * i)));
  }
  void number(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    word(bits);
  }
  std::uint64_t value() const { return h_; }

 private:
  std::uint64_t h_ = 0xcbf29ce484222325ull;
};

}  // namespace orv
