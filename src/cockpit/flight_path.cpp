#include "cockpit/flight_path.h"

#include <cmath>

#include "frame/cockpit_numbers.h"
#include "frame/elements.h"
#include "frame/host_services.h"
#include "stable_maths.h"

namespace orv::cockpit {

namespace {

constexpr f64 kSecondsPerHour = 3600.0;
constexpr f64 kVerticalSpeedUnit = 256.0;  // token 65 counts 1/256 m/s
constexpr f64 kOffsetLimit = 180.0;

f64 finite(f64 v) { return std::isfinite(v) ? v : 0.0; }

}  // namespace

f64 flight_path_offset(f64 vertical_speed_raw, f64 airspeed_kt, f64 pitch_deg) {
  const f64 v =
      finite(vertical_speed_raw) / kVerticalSpeedUnit * kSecondsPerHour / numbers::kMetresPerNauticalMile;
  const f64 speed = finite(airspeed_kt);
  // Any non-zero speed, even a negative reading, gives a finite ratio or an
  // infinite one whose arc tangent is still finite (straight up or down).
  const f64 path = speed != 0.0 ? -numbers::kDegreesPerRadian * stable::atan(v / speed) : 0.0;
  return finite_or(path - finite(pitch_deg), 0.0, -kOffsetLimit, kOffsetLimit);
}

f64 read_flight_path_offset(f64 pitch_deg) {
  const f64 vertical_speed = read_token_f64(kTokenVerticalSpeed);
  const f64 airspeed = read_token_f64(kTokenAirspeed);
  return flight_path_offset(vertical_speed, airspeed, pitch_deg);
}

}  // namespace orv::cockpit
