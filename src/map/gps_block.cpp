#include "map/gps_block.h"

#include <cmath>
#include <cstring>

namespace orv::map {

namespace {

// Addresses below this are never mapped on either platform (the first 64 KiB
// are kept free as a null-pointer guard), so a pointer there is corruption.
constexpr std::uintptr_t kLowestAddress = 0x10000;

// Scale of the projection: pixels per metre at the design size.
constexpr double kPixelsPerMetre = 0.005;
// Metres per unit of the latitude field (2^-32), degrees per unit of the
// longitude field's upper word (360 / 2^32), radians per unit of latitude,
// and metres per degree of longitude at the equator.
constexpr double kTwoToMinus32 = 1.0 / 4294967296.0;
constexpr double kLongitudeDegreesPerUnit = 8.381903171539307e-8;
constexpr double kLatitudeRadiansPerUnit = 3.656655283481889e-17;
constexpr double kMetresPerLongitudeDegree = 111319.44444444444;

// A coordinate past this is dropped: device contexts take 2^27 at most.
constexpr double kCoordinateLimit = 134217728.0;

template <typename T>
T read_at(const unsigned char* base, std::size_t offset) {
  T value;
  std::memcpy(&value, base + offset, sizeof value);
  return value;
}

const unsigned char* record(const GpsView& gps, std::uint32_t i) {
  if (gps.waypoints == nullptr || i >= walk_count(gps)) return nullptr;
  const unsigned char* r = gps.waypoints + static_cast<std::size_t>(i) * kWaypointRecordSize;
  return read_at<std::uint32_t>(r, waypoint_offset::kSize) == kWaypointRecordSize ? r : nullptr;
}

}  // namespace

GpsView read_gps_block(const void* block) {
  GpsView v;
  if (block == nullptr) return v;
  const auto* b = static_cast<const unsigned char*>(block);
  if (read_at<std::uint32_t>(b, gps_offset::kSize) < kMinimumBlockSize) return v;
  v.usable = true;
  v.latitude = read_at<std::uint64_t>(b, gps_offset::kLatitude);
  v.longitude = read_at<std::uint64_t>(b, gps_offset::kLongitude);
  v.ground_speed = read_at<double>(b, gps_offset::kGroundSpeed);
  v.up = read_at<double>(b, gps_offset::kUpDirection);
  v.track = read_at<double>(b, gps_offset::kTrack);
  v.active_valid = read_at<std::uint32_t>(b, gps_offset::kActiveValid) != 0;
  v.active = read_at<std::uint32_t>(b, gps_offset::kActiveIndex);
  v.distance = read_at<double>(b, gps_offset::kDistance);
  v.count = read_at<std::uint32_t>(b, gps_offset::kWaypointCount);
  const auto array = read_at<std::uintptr_t>(b, gps_offset::kWaypoints);
  const std::uintptr_t span = std::uintptr_t{kMaxWaypoints} * kWaypointRecordSize;
  const bool plausible = array >= kLowestAddress && array % 4 == 0 && array <= UINTPTR_MAX - span;
  v.waypoints = plausible ? reinterpret_cast<const unsigned char*>(array) : nullptr;
  return v;
}

std::uint32_t walk_count(const GpsView& gps) {
  if (!gps.usable || gps.waypoints == nullptr) return 0;
  return gps.count < kMaxWaypoints ? gps.count : kMaxWaypoints;
}

bool waypoint_at(const GpsView& gps, std::uint32_t i, Waypoint* out) {
  const unsigned char* r = record(gps, i);
  if (r == nullptr) return false;
  out->latitude = read_at<std::uint64_t>(r, waypoint_offset::kLatitude);
  out->longitude = read_at<std::uint64_t>(r, waypoint_offset::kLongitude);
  return true;
}

bool waypoint_ident(const GpsView& gps, std::uint32_t i, char* out) {
  out[0] = '\0';
  const unsigned char* r = record(gps, i);
  if (r == nullptr) return false;
  std::size_t n = 0;
  while (n < kIdentChars && r[waypoint_offset::kIdent + n] != 0) {
    out[n] = static_cast<char>(r[waypoint_offset::kIdent + n]);
    ++n;
  }
  out[n] = '\0';
  return true;
}

bool truncate_coordinate(double v, std::int32_t* out) {
  if (!(v > -kCoordinateLimit && v < kCoordinateLimit)) return false;
  *out = static_cast<std::int32_t>(v);
  return true;
}

MapOffset project(const GpsView& gps, const Waypoint& w, double sx, double sy) {
  const double north = static_cast<double>(fixed_value(w.latitude - gps.latitude)) * kTwoToMinus32;
  const double dlon_deg = static_cast<double>(fixed_value(w.longitude - gps.longitude)) * kTwoToMinus32 *
                          kLongitudeDegreesPerUnit;
  const double lat_rad = static_cast<double>(fixed_value(gps.latitude)) * kLatitudeRadiansPerUnit;
  const double east = std::cos(lat_rad) * dlon_deg * kMetresPerLongitudeDegree;
  const double s = std::sin(gps.up);
  const double c = std::cos(gps.up);
  MapOffset o;
  o.valid = truncate_coordinate((east * c - north * s) * sx * kPixelsPerMetre, &o.x) &&
            truncate_coordinate((-east * s - north * c) * sy * kPixelsPerMetre, &o.y);
  return o;
}

}  // namespace orv::map
