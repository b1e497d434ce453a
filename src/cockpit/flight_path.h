// The flight path marker's place relative to the attitude symbols, shared by
// the head-up display's marker and the standby attitude indicator's flight
// path ball.
//
// Both instruments draw the marker on a symbol centred on the boresight that
// the host moves by pitch; the marker has to sit at the flight path angle, so
// the value handed to the host is the flight path angle (degrees above the
// horizon, from the vertical speed over the airspeed) negated, minus the
// pitch attitude.
#pragma once

#include "frame/gauge_abi.h"

namespace orv::cockpit {

// Token variables the marker reads itself.
inline constexpr abi::u32 kTokenVerticalSpeed = 65;  // metres per second x 256
inline constexpr abi::u32 kTokenAirspeed = 61;       // knots

// The marker's offset in degrees of pitch: -atan(v / airspeed) in degrees
// minus `pitch_deg`, where v is `vertical_speed_raw` / 256 (metres per second)
// turned into knots. At an airspeed of exactly zero the ratio has no value
// (0/0) or only an infinite one, so the path angle counts as 0 there and the
// marker sits on the horizon at the pitch offset. NaN or infinite inputs
// count as 0; the result is always finite and within -180..+180 degrees.
abi::f64 flight_path_offset(abi::f64 vertical_speed_raw, abi::f64 airspeed_kt, abi::f64 pitch_deg);

// Reads token 65 and then token 61 (each into a freshly cleared record) and
// returns flight_path_offset() for them and `pitch_deg`.
abi::f64 read_flight_path_offset(abi::f64 pitch_deg);

}  // namespace orv::cockpit
