#include "mfd/radio_values.h"

#include "mfd/radio_decoding.h"

namespace orv::mfd {

abi::f64 com1_mhz = 0.0, com1_mhz_hundredths = 0.0;
abi::f64 com2_mhz = 0.0, com2_mhz_hundredths = 0.0;
abi::f64 nav1_mhz = 0.0, nav1_mhz_hundredths = 0.0;
abi::f64 nav2_mhz = 0.0, nav2_mhz_hundredths = 0.0;
abi::f64 adf_khz = 0.0, adf_khz_tenths = 0.0;
abi::f64 transponder_code = 0.0;

void refresh_radio_values() {
  com1_mhz = decode_com_whole_mhz(kTokenCom1Standby);
  com1_mhz_hundredths = decode_frequency_hundredths(kTokenCom1Standby);
  com2_mhz = decode_com_whole_mhz(kTokenCom2Standby);
  com2_mhz_hundredths = decode_frequency_hundredths(kTokenCom2Standby);
  nav1_mhz = decode_nav_whole_mhz(kTokenNav1Standby);
  nav1_mhz_hundredths = decode_frequency_hundredths(kTokenNav1Standby);
  nav2_mhz = decode_nav_whole_mhz(kTokenNav2Standby);
  nav2_mhz_hundredths = decode_frequency_hundredths(kTokenNav2Standby);
  adf_khz = decode_adf_khz();
  adf_khz_tenths = decode_adf_tenths();
  transponder_code = decode_bcd4(kTokenTransponder);
}

abi::f64 refresh_adf_values() {
  adf_khz = decode_adf_khz();
  adf_khz_tenths = decode_adf_tenths();
  return adf_khz + adf_khz_tenths / 10.0;
}

}  // namespace orv::mfd
