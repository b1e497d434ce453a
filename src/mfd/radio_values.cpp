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

}  // namespace

// Each token is read once and decoded into both of its values.
void refresh_radio_values() {
  const abi::u32 com1 = read_token_u32(kTokenCom1Standby);
  com1_mhz = com_whole_mhz(com1);
  com1_mhz_hundredths = frequency_hundredths(com1);
  const abi::u32 com2 = read_token_u32(kTokenCom2Standby);
  com2_mhz = com_whole_mhz(com2);
  com2_mhz_hundredths = frequency_hundredths(com2);
  const abi::u32 nav1 = read_token_u32(kTokenNav1Standby);
  nav1_mhz = nav_whole_mhz(nav1);
  nav1_mhz_hundredths = frequency_hundredths(nav1);
  const abi::u32 nav2 = read_token_u32(kTokenNav2Standby);
  nav2_mhz = nav_whole_mhz(nav2);
  nav2_mhz_hundredths = frequency_hundredths(nav2);
  refresh_adf();
  transponder_code = bcd4(read_token_u32(kTokenTransponder));
}

abi::f64 refresh_adf_values() {
  refresh_adf();
  return adf_khz + adf_khz_tenths / 10.0;
}

}  // namespace orv::mfd
