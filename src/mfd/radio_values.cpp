#include "mfd/radio_values.h"

#include "mfd/radio_decoding.h"

namespace orv::mfd {

abi::f64 com1_mhz = 0.0, com1_mhz_hundredths = 0.0;
abi::f64 com2_mhz = 0.0, com2_mhz_hundredths = 0.0;
abi::f64 nav1_mhz = 0.0, nav1_mhz_hundredths = 0.0;
abi::f64 nav2_mhz = 0.0, nav2_mhz_hundredths = 0.0;
abi::f64 adf_khz = 0.0, adf_khz_tenths = 0.0;
abi::f64 transponder_code = 0.0;

namespace {

// The ADF values from its two tokens, each read once.
void refresh_adf() {
  const abi::u32 tenths_word = read_token_u32(kTokenAdfTenths);
  adf_khz = adf_whole_khz(read_token_u32(kTokenAdfKhzDigits), tenths_word);
  adf_khz_tenths = adf_tenths(tenths_word);
}

// A standby frequency token, read once, as its whole megahertz (decoded by
// `Whole`, which differs for COM and NAV) and its hundredths.
template <abi::f64 (*Whole)(abi::u32)>
void refresh_frequency(abi::u32 token, abi::f64& mhz, abi::f64& hundredths) {
  const abi::u32 packed = read_token_u32(token);
  mhz = Whole(packed);
  hundredths = frequency_hundredths(packed);
}

}  // namespace

// Each token is read once and decoded into both of its values.
void refresh_radio_values() {
  refresh_frequency<com_whole_mhz>(kTokenCom1Standby, com1_mhz, com1_mhz_hundredths);
  refresh_frequency<com_whole_mhz>(kTokenCom2Standby, com2_mhz, com2_mhz_hundredths);
  refresh_frequency<nav_whole_mhz>(kTokenNav1Standby, nav1_mhz, nav1_mhz_hundredths);
  refresh_frequency<nav_whole_mhz>(kTokenNav2Standby, nav2_mhz, nav2_mhz_hundredths);
  refresh_adf();
  transponder_code = bcd4(read_token_u32(kTokenTransponder));
}

abi::f64 refresh_adf_values() {
  refresh_adf();
  return adf_khz + adf_khz_tenths / 10.0;
}

}  // namespace orv::mfd
