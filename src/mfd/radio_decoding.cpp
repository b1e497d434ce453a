#include "mfd/radio_decoding.h"

namespace orv::mfd {

namespace {

using abi::f64;
using abi::u32;

// The decoders work in integers: every quotient and remainder of the packed
// digits is a whole number well inside a double's exact range, so the values
// are exactly those of the floating-point formulas (floor of a quotient),
// without calls to floor.
f64 whole(long long v) { return static_cast<f64>(v); }

}  // namespace

f64 nav_whole_mhz(u32 packed) {
  const long long high = packed >> 8;  // floor(packed / 256)
  return whole(packed < 0x1000 ? high + 100 : high - 16 + 110);
}

f64 com_whole_mhz(u32 packed) {
  const long long high = packed >> 8;
  if (packed >= 0x3000) return whole(high - 48 + 130);
  if (packed >= 0x2000) return whole(high - 32 + 120);
  return whole(high - 16 + 110);  // below 0x1000 too: floor((packed - 0x1000) / 256)
}

// The low byte, its low nibble and its high nibble, in integers: the same
// values as the remainders and quotients of the packed number, exactly.
f64 frequency_hundredths(u32 packed) {
  const u32 b = packed % 256;
  if (b < 16) return b;
  return static_cast<f64>(b % 16 + 10 * (b / 16));
}

f64 adf_whole_khz(u32 khz_digits, u32 tenths_word) {
  const long long thousands = tenths_word >= 256 ? 1 : 0;
  const long long hundreds = khz_digits >> 8, tens = (khz_digits & 0xFF) >> 4, ones = khz_digits & 0xF;
  return whole(1000 * thousands + 100 * hundreds + 10 * tens + ones);
}

f64 adf_tenths(u32 tenths_word) {
  const f64 y = tenths_word;
  return y >= 256.0 ? y - 256.0 : y;
}

f64 bcd4(u32 packed) {
  const long long thousands = packed >> 12, hundreds = (packed >> 8) & 0xF, tens = (packed >> 4) & 0xF,
                  ones = packed & 0xF;
  return whole(1000 * thousands + 100 * hundreds + 10 * tens + ones);
}

}  // namespace orv::mfd
