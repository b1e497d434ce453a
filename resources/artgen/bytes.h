// Little-endian writers for the RIFF and BMP headers the generator writes.
#pragma once

#include <cstdint>
#include <vector>

namespace orv::art {

inline void put_u16(std::vector<std::uint8_t>& v, unsigned x) {
  v.push_back(static_cast<std::uint8_t>(x & 0xFF));
  v.push_back(static_cast<std::uint8_t>((x >> 8) & 0xFF));
}

inline void put_u32(std::vector<std::uint8_t>& v, unsigned x) {
  put_u16(v, x & 0xFFFF);
  put_u16(v, x >> 16);
}

}  // namespace orv::art
