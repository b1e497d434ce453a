#include "host/aircraft/gps_service.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "stable_maths.h"

namespace orv::host {

namespace gps = abi::gps;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadiansPerDegree = kPi / 180.0;
constexpr double kTwoTo32 = 4294967296.0;
constexpr double kTwoTo64 = 18446744073709551616.0;
constexpr double kMetresPerSecondPerKnot = 1852.0 / 3600.0;

constexpr std::uint32_t kTokenAirspeed = 61;
constexpr std::uint32_t kTokenHeading = 84;
constexpr std::uint32_t kTokenGroundSpeed = 832;
constexpr std::uint32_t kTokenTrack = 834;
constexpr std::uint32_t kTokenWaypointDistance = 835;
constexpr std::uint32_t kTokenNextWaypoint = 839;
constexpr const char* kActiveWaypointExpression = "(A:GPS IS ACTIVE WAY POINT,number)";

// A waypoint closer than this counts as reached whatever the geometry.
constexpr double kCaptureMetres = 150.0;
// The anticipation of a turn never starts further out than this.
constexpr double kLongestLead = 8000.0;

// Degrees into [0, 360).
double wrap360(double d) {
  d = std::fmod(d, 360.0);
  return d < 0.0 ? d + 360.0 : d;
}

// Degrees into (-180, 180].
double wrap180(double d) {
  d = wrap360(d);
  return d > 180.0 ? d - 360.0 : d;
}

template <typename T>
void put(unsigned char* base, std::size_t offset, T value) {
  std::memcpy(base + offset, &value, sizeof value);
}

}  // namespace

std::int64_t gps_fixed_latitude(double degrees) {
  const double v = std::clamp(degrees, -90.0, 90.0) * kMetresPerLatitudeDegree * kTwoTo32;
  return static_cast<std::int64_t>(std::llround(v));
}

std::int64_t gps_fixed_longitude(double degrees) {
  double v = wrap180(degrees) / 360.0 * kTwoTo64;
  if (v >= kTwoTo64 / 2.0) v -= kTwoTo64;
  return static_cast<std::int64_t>(v);
}

GpsService::GpsService(GpsPlan plan)
    : plan_(std::move(plan)),
      latitude_(plan_.latitude),
      longitude_(plan_.longitude),
      heading_(0.0),
      active_(plan_.waypoints.empty() ? 0 : std::min(plan_.active, plan_.waypoints.size() - 1)) {
  heading_ = wrap360(plan_.heading ? *plan_.heading : plan_.waypoints.empty() ? 0.0 : bearing_to(active_));
  records_.assign(plan_.waypoints.size() * gps::kWaypointRecordSize, 0);
  for (std::size_t i = 0; i < plan_.waypoints.size(); ++i) {
    unsigned char* r = records_.data() + i * gps::kWaypointRecordSize;
    const GpsWaypoint& w = plan_.waypoints[i];
    put<std::uint32_t>(r, 0, static_cast<std::uint32_t>(gps::kWaypointRecordSize));
    put<std::int64_t>(r, gps::waypoint::kLatitude, gps_fixed_latitude(w.latitude));
    put<std::int64_t>(r, gps::waypoint::kLongitude, gps_fixed_longitude(w.longitude));
    const std::size_t room = gps::kWaypointRecordSize - gps::waypoint::kIdent - 1;
    std::memcpy(r + gps::waypoint::kIdent, w.ident.data(), std::min(room, w.ident.size()));
  }
}

GpsService::Vector GpsService::to_waypoint(std::size_t i) const {
  const GpsWaypoint& w = plan_.waypoints[i];
  return {(w.latitude - latitude_) * kMetresPerLatitudeDegree, wrap180(w.longitude - longitude_) *
                                                                   kMetresPerLongitudeDegree *
                                                                   std::cos(latitude_ * kRadiansPerDegree)};
}

double GpsService::bearing_to(std::size_t i) const {
  const Vector v = to_waypoint(i);
  return wrap360(std::atan2(v.east, v.north) / kRadiansPerDegree);
}

double GpsService::distance() const {
  if (plan_.waypoints.empty()) return 0.0;
  const Vector v = to_waypoint(active_);
  return stable::hypot(v.north, v.east);
}

double GpsService::leg_course(std::size_t i) const {
  if (i == 0) return heading_;
  const Vector a = to_waypoint(i - 1), b = to_waypoint(i);
  return wrap360(std::atan2(b.east - a.east, b.north - a.north) / kRadiansPerDegree);
}

// Past the active waypoint: it lies behind the line through it square to the
// leg into it.
bool GpsService::passed_active() const {
  const double course = leg_course(active_) * kRadiansPerDegree;
  const Vector v = to_waypoint(active_);
  return v.north * std::cos(course) + v.east * std::sin(course) < 0.0;
}

void GpsService::sequence() {
  const std::size_t n = plan_.waypoints.size();
  while (active_ + 1 < n) {
    const double turn = std::fabs(wrap180(leg_course(active_ + 1) - leg_course(active_)));
    const double rate = std::max(plan_.turn_rate, 0.1) * kRadiansPerDegree;
    const double lead =
        std::min(kLongestLead, speed_ / rate * stable::tan(std::min(turn, 170.0) / 2.0 * kRadiansPerDegree));
    const double d = distance();
    if (!(d <= std::max(lead, kCaptureMetres) || passed_active())) break;
    ++active_;
  }
}

void GpsService::attach(SimState& state) {
  state.register_named_data(gps::kBlockName, block_);
  advance(state);
}

void GpsService::advance(SimState& state) {
  const double t = state.time();
  const double dt = last_time_ ? std::max(0.0, t - *last_time_) : 0.0;
  last_time_ = t;
  speed_ =
      (plan_.ground_speed ? *plan_.ground_speed : state.number(kTokenAirspeed)) * kMetresPerSecondPerKnot;
  if (!std::isfinite(speed_)) speed_ = 0.0;

  const bool last_passed =
      !plan_.waypoints.empty() && active_ + 1 == plan_.waypoints.size() && passed_active();
  const bool steering = plan_.steer && !plan_.waypoints.empty() && !last_passed;
  if (steering) {
    const double step = std::max(plan_.turn_rate, 0.0) * dt;
    heading_ = wrap360(heading_ + std::clamp(wrap180(bearing_to(active_) - heading_), -step, step));
  } else if (!plan_.steer) {
    const double h = state.number(kTokenHeading);
    heading_ = std::isfinite(h) ? wrap360(h) : heading_;
  }

  const double travelled = speed_ * dt;
  const double h = heading_ * kRadiansPerDegree;
  latitude_ = std::clamp(latitude_ + travelled * std::cos(h) / kMetresPerLatitudeDegree, -89.0, 89.0);
  longitude_ =
      wrap180(longitude_ + travelled * std::sin(h) /
                               (kMetresPerLongitudeDegree * std::cos(latitude_ * kRadiansPerDegree)));
  sequence();
  publish(state);
  if (plan_.steer) state.set_number(kTokenHeading, heading_);
}

void GpsService::publish(SimState& state) {
  const bool valid = !plan_.waypoints.empty();
  const double track = heading_ * kRadiansPerDegree;
  const double d = distance();
  std::memset(block_, 0, sizeof block_);
  put<std::uint32_t>(block_, 0, static_cast<std::uint32_t>(gps::kMinimumBlockSize));
  put<std::int64_t>(block_, gps::block::kLatitude, gps_fixed_latitude(latitude_));
  put<std::int64_t>(block_, gps::block::kLongitude, gps_fixed_longitude(longitude_));
  put<double>(block_, gps::block::kGroundSpeed, speed_);
  put<double>(block_, gps::block::kUpDirection, track);
  put<double>(block_, gps::block::kTrack, track);
  put<std::uint32_t>(block_, gps::block::kActiveValid, valid ? 1 : 0);
  put<std::uint32_t>(block_, gps::block::kActiveIndex, static_cast<std::uint32_t>(active_));
  put<double>(block_, gps::block::kDistance, d);
  put<std::uint32_t>(block_, gps::block::kWaypointCount, static_cast<std::uint32_t>(plan_.waypoints.size()));
  put<const void*>(block_, gps::block::kWaypoints, valid ? records_.data() : nullptr);

  state.set_number(kTokenGroundSpeed, speed_);
  state.set_number(kTokenTrack, track);
  state.set_number(kTokenWaypointDistance, valid ? d : 0.0);
  state.set_text(kTokenNextWaypoint, valid ? plan_.waypoints[active_].ident.substr(0, 7) : std::string());
  state.set_expression_number(kActiveWaypointExpression, valid ? 1.0 : 0.0);
}

}  // namespace orv::host
