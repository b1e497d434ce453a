// Decoding of the packed radio values the host delivers as integers in the
// low word of a token's value: frequencies as packed decimal digits (118.35 MHz
// is 0x1835, the leading 1 implied), the ADF frequency in two tokens, the
// transponder code as four packed digits.
//
// The arithmetic is done in doubles after the integer is converted, with
// floor, and without any check: a value that is not packed decimal decodes by
// the same steps into some number (never a crash). Callers read each token
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

// Whole MHz of a NAV-band frequency (100..119 for packed values).
abi::f64 nav_whole_mhz(abi::u32 packed);
// Whole MHz of a COM-band frequency (110..139 for packed values from 0x1000).
abi::f64 com_whole_mhz(abi::u32 packed);
// Hundredths of MHz, 0..99 for packed values.
abi::f64 frequency_hundredths(abi::u32 packed);
// Whole kHz of the ADF from its three digits and its tenths word (0..1999).
abi::f64 adf_whole_khz(abi::u32 khz_digits, abi::u32 tenths_word);
// The ADF's tenths-of-kHz digit from its tenths word.
abi::f64 adf_tenths(abi::u32 tenths_word);
// Four packed digits, 0..9999.
abi::f64 bcd4(abi::u32 packed);

}  // namespace orv::mfd
