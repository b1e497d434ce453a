// Decoding of the packed radio values the host delivers as integers in the
// low word of a token's value: frequencies as packed decimal digits (118.35 MHz
// is 0x1835, the leading 1 implied), the ADF frequency in two tokens, the
// transponder code as four packed digits.
//
// Nothing is checked: a value that is not packed decimal decodes by the same
// steps into some number (never a crash). Callers read each token
// once (`read_token_u32`) and decode the value given. Both displays and the
// flight map share them.
#pragma once

#include "frame/gauge_abi.h"
#include "frame/host_services.h"

namespace orv::mfd {

// Token variables of the packed radio values.
inline constexpr abi::u32 kTokenAdfKhzDigits = 16;  // three packed digits of the whole kHz
inline constexpr abi::u32 kTokenAdfTenths = 18;     // tenths digit, plus 0x100 from 1000 kHz on
inline constexpr abi::u32 kTokenTransponder = 38;   // four packed digits
inline constexpr abi::u32 kTokenNav1Active = 24;
inline constexpr abi::u32 kTokenNav2Active = 27;
inline constexpr abi::u32 kTokenCom1Active = 23;
inline constexpr abi::u32 kTokenCom2Active = 870;
inline constexpr abi::u32 kTokenCom1Standby = 617;
inline constexpr abi::u32 kTokenCom2Standby = 871;
inline constexpr abi::u32 kTokenNav1Standby = 872;
inline constexpr abi::u32 kTokenNav2Standby = 873;

// The decoders work in integers: every quotient and remainder of the packed
// digits is a whole number well inside a double's exact range, so the values
// are exactly those of the floating-point formulas (floor of a quotient),
// without calls to floor.

// Whole MHz of a NAV-band frequency (100..119 for packed values).
inline abi::f64 nav_whole_mhz(abi::u32 packed) {
  const long long high = packed >> 8;  // floor(packed / 256)
  return static_cast<abi::f64>(packed < 0x1000 ? high + 100 : high - 16 + 110);
}

// Whole MHz of a COM-band frequency (110..139 for packed values from 0x1000).
inline abi::f64 com_whole_mhz(abi::u32 packed) {
  const long long high = packed >> 8;
  if (packed >= 0x3000) return static_cast<abi::f64>(high - 48 + 130);
  if (packed >= 0x2000) return static_cast<abi::f64>(high - 32 + 120);
  return static_cast<abi::f64>(high - 16 + 110);  // below 0x1000 too: floor((packed - 0x1000) / 256)
}

// Hundredths of MHz, 0..99 for packed values: the low byte, its low nibble
// and its high nibble, in integers.
inline abi::f64 frequency_hundredths(abi::u32 packed) {
  const abi::u32 b = packed % 256;
  if (b < 16) return b;
  return static_cast<abi::f64>(b % 16 + 10 * (b / 16));
}

// Whole kHz of the ADF from its three digits and its tenths word (0..1999).
inline abi::f64 adf_whole_khz(abi::u32 khz_digits, abi::u32 tenths_word) {
  const long long thousands = tenths_word >= 256 ? 1 : 0;
  const long long hundreds = khz_digits >> 8, tens = (khz_digits & 0xFF) >> 4, ones = khz_digits & 0xF;
  return static_cast<abi::f64>(1000 * thousands + 100 * hundreds + 10 * tens + ones);
}

// The ADF's tenths-of-kHz digit from its tenths word.
inline abi::f64 adf_tenths(abi::u32 tenths_word) {
  const abi::f64 y = tenths_word;
  return y >= 256.0 ? y - 256.0 : y;
}

// Four packed digits, 0..9999.
inline abi::f64 bcd4(abi::u32 packed) {
  const long long thousands = packed >> 12, hundreds = (packed >> 8) & 0xF, tens = (packed >> 4) & 0xF,
                  ones = packed & 0xF;
  return static_cast<abi::f64>(1000 * thousands + 100 * hundreds + 10 * tens + ones);
}

}  // namespace orv::mfd
