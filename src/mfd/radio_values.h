// The radio values both displays share: the decoded standby frequencies of the
// four radios and the decoded ADF and transponder settings. The left display
// refreshes them at every update (`refresh_radio_values`), its tuning areas
// rewrite a channel's values before they compare a limit, and the ADF
// frequency fields of both displays rewrite the ADF values. One copy per
// loaded module, zero at load.
#pragma once

#include "frame/gauge_abi.h"

namespace orv::mfd {

extern abi::f64 com1_mhz, com1_mhz_hundredths;  // token 617
extern abi::f64 com2_mhz, com2_mhz_hundredths;  // token 871
extern abi::f64 nav1_mhz, nav1_mhz_hundredths;  // token 872
extern abi::f64 nav2_mhz, nav2_mhz_hundredths;  // token 873
extern abi::f64 adf_khz, adf_khz_tenths;        // tokens 16 and 18
extern abi::f64 transponder_code;               // token 38

// Decodes all of them afresh, in the order com1, com2, nav1, nav2 (whole MHz
// then hundredths each), ADF kHz, ADF tenths, transponder.
void refresh_radio_values();

// Rewrites `adf_khz` and `adf_khz_tenths` and returns the ADF frequency in kHz
// (whole + tenths / 10).
abi::f64 refresh_adf_values();

}  // namespace orv::mfd
