// The distance text rule of the DME and GPS distance fields of both displays
// and of the flight map. For a distance d in nautical miles:
//   d <= 0 (or not a number)   the dashes form      "DME ---"   "--- nm"
//   0 < d < 10                 two decimals         "DME 9.99"  "9.99 nm"
//   10 <= d < 1000             one decimal          "DME 999.9" "999.9 nm"
//   1000 <= d < 10000          whole miles          "DME 1234"  "1234 nm"
//   10000 and more, infinite   the dashes form: no distance on earth is that
//                              long, and the figure would not fit its field
// The text is always rewritten, and never passes the field it is written to.
#pragma once

#include <cstddef>

#include "frame/gauge_abi.h"
#include "frame/text_format.h"

namespace orv::mfd {

// The four forms of one field.
struct DistanceFormats {
  const char* none;           // no distance
  NumberFormat two_decimals;  // below 10
  NumberFormat one_decimal;   // below 1000
  NumberFormat whole;         // below 10000
};

inline constexpr DistanceFormats kDmeDistance{"DME ---", "DME %3.2f", "DME %3.1f", "DME %3.0f"};
inline constexpr DistanceFormats kGpsDistance{"GPS ---", "GPS %3.2f", "GPS %3.1f", "GPS %3.0f"};
inline constexpr DistanceFormats kMapDistance{"--- nm", "%3.2f nm", "%3.1f nm", "%3.0f nm"};

// Copies the dashes form, cut to `size` bytes (terminator included).
void format_no_distance(char* buffer, std::size_t size, const char* none);

// The distance into a caller's buffer of `size` bytes (terminator included),
// in the forms `Forms` (the compiler writes their numbers' fixed parts).
template <const DistanceFormats& Forms>
void format_distance(char* buffer, std::size_t size, abi::f64 d) {
  if (!(d > 0.0) || !(d < 10000.0)) {
    format_no_distance(buffer, size, Forms.none);
  } else if (d < 10.0) {
    format_number<Forms.two_decimals>(buffer, size, d);
  } else if (d < 1000.0) {
    format_number<Forms.one_decimal>(buffer, size, d);
  } else {
    format_number<Forms.whole>(buffer, size, d);
  }
}

// The same into a text element's buffer (a null element writes nothing).
template <const DistanceFormats& Forms>
void write_distance(abi::TextElement* e, abi::f64 nautical_miles) {
  if (e != nullptr)
    format_distance<Forms>(e->text, static_cast<std::size_t>(e->max_chars) + 1, nautical_miles);
}

}  // namespace orv::mfd
