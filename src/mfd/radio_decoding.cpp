#include "mfd/radio_decoding.h"

#include <cmath>

#include "frame/host_services.h"

namespace orv::mfd {

namespace {

using abi::f64;
using abi::u32;

// "Shifted right by 8" of the packed value, as a double.
f64 high_byte(f64 v) { return std::floor(v / 256.0); }

}  // namespace

f64 nav_whole_mhz(u32 packed) {
  const f64 v = packed;
  if (v < 0x1000) return high_byte(v) + 100.0;
  return high_byte(v - 0x1000) + 110.0;
}

f64 com_whole_mhz(u32 packed) {
  const f64 v = packed;
  if (v >= 0x3000) return high_byte(v - 0x3000) + 130.0;
  if (v >= 0x2000) return high_byte(v - 0x2000) + 120.0;
  return high_byte(v - 0x1000) + 110.0;
}

// The low byte, its low nibble and its high nibble, in integers: the same
// values as the remainders and quotients of the packed number, exactly.
f64 frequency_hundredths(u32 packed) {
  const u32 b = packed % 256;
  if (b < 16) return b;
  return static_cast<f64>(b % 16 + 10 * (b / 16));
}

f64 adf_whole_khz(u32 khz_digits, u32 tenths_word) {
  f64 x = khz_digits;
  const f64 thousands = static_cast<f64>(tenths_word) >= 256.0 ? 1.0 : 0.0;
  const f64 hundreds = std::floor(x / 256.0);
  x -= 256.0 * hundreds;
  const f64 tens = std::floor(x / 16.0);
  const f64 ones = x - 16.0 * tens;
  return 1000.0 * thousands + 100.0 * hundreds + 10.0 * tens + ones;
}

f64 adf_tenths(u32 tenths_word) {
  const f64 y = tenths_word;
  return y >= 256.0 ? y - 256.0 : y;
}

f64 bcd4(u32 packed) {
  f64 v = packed;
  const f64 thousands = std::floor(v / 4096.0);
  v -= 4096.0 * thousands;
  const f64 hundreds = std::floor(v / 256.0);
  v -= 256.0 * hundreds;
  const f64 tens = std::floor(v / 16.0);
  const f64 ones = v - 16.0 * tens;
  return 1000.0 * thousands + 100.0 * hundreds + 10.0 * tens + ones;
}

u32 read_token_u32(u32 token_id) { return read_token(token_id).value.d; }

f64 decode_nav_whole_mhz(u32 token_id) { return nav_whole_mhz(read_token_u32(token_id)); }
f64 decode_com_whole_mhz(u32 token_id) { return com_whole_mhz(read_token_u32(token_id)); }
f64 decode_frequency_hundredths(u32 token_id) { return frequency_hundredths(read_token_u32(token_id)); }
f64 decode_adf_khz() {
  const u32 digits = read_token_u32(kTokenAdfKhzDigits);
  return adf_whole_khz(digits, read_token_u32(kTokenAdfTenths));
}
f64 decode_adf_tenths() { return adf_tenths(read_token_u32(kTokenAdfTenths)); }
f64 decode_bcd4(u32 token_id) { return bcd4(read_token_u32(token_id)); }

}  // namespace orv::mfd
