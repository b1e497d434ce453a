// The simulator's GPS: a flight plan of waypoints, the aircraft flown along
// it, and the named data block "FS2002 GPS DATA" that the gauges read
// through the named-data service, rebuilt every frame.
//
// Each frame the GPS moves the aircraft by its ground speed along its track
// (no wind: track = heading), optionally steering it toward the active
// waypoint at a fixed turn rate, and sequences the plan as a GPS does: the
// active waypoint moves on to the next one when the aircraft passes it or
// comes within the turn anticipation distance of the coming turn. The last
// waypoint stays active. The block, the tokens 832 (ground speed, m/s), 834
// (track, radians), 835 (distance to the active waypoint, m), 839 (its
// identifier) and the expression "(A:GPS IS ACTIVE WAY POINT,number)" are
// written from the same values, so they always agree. The block's layout is
// frame/gps_block_layout.h; docs/gps.md lists its fields as filled here.
//
// Geometry is the flat earth of the map: metres north are degrees of latitude
// times kMetresPerLatitudeDegree, metres east are degrees of longitude times
// kMetresPerLongitudeDegree times the cosine of the aircraft's latitude.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frame/gps_block_layout.h"
#include "host/aircraft/simulator.h"

namespace orv::host {

inline constexpr double kMetresPerLatitudeDegree = 111130.55555555556;
inline constexpr double kMetresPerLongitudeDegree = 111319.44444444444;

struct GpsWaypoint {
  std::string ident;       // up to 7 characters are kept
  double latitude = 0.0;   // degrees, north positive
  double longitude = 0.0;  // degrees, east positive
};

struct GpsPlan {
  std::vector<GpsWaypoint> waypoints;
  double latitude = 0.0;  // the aircraft at frame 0, degrees
  double longitude = 0.0;
  std::optional<double> heading;  // degrees; default: toward the active waypoint
  std::size_t active = 0;         // the active waypoint at frame 0
  bool steer = true;              // the GPS turns the aircraft toward the active waypoint
  double turn_rate = 3.0;         // degrees per second while steering
  // Knots; default: the AIRSPEED token (61) each frame.
  std::optional<double> ground_speed;
};

// The fixed-point forms of the block: latitude in metres north times 2^32,
// longitude as 360 degrees over the full 64-bit range.
std::int64_t gps_fixed_latitude(double degrees);
std::int64_t gps_fixed_longitude(double degrees);

class GpsService : public SimState::FrameSource {
 public:
  explicit GpsService(GpsPlan plan);
  GpsService(const GpsService&) = delete;
  GpsService& operator=(const GpsService&) = delete;

  // Registers the block with `state` and writes the first frame's values.
  void attach(SimState& state);
  // Moves on to the state's present time.
  void advance(SimState& state) override;

  // The present values.
  double latitude() const { return latitude_; }
  double longitude() const { return longitude_; }
  double heading() const { return heading_; }     // degrees, 0 to 360
  double ground_speed() const { return speed_; }  // m/s
  std::size_t active() const { return active_; }
  double distance() const;  // metres to the active waypoint
  const unsigned char* block() const { return block_; }

 private:
  struct Vector {
    double north, east;
  };
  Vector to_waypoint(std::size_t i) const;  // metres from the aircraft
  double bearing_to(std::size_t i) const;   // degrees
  double leg_course(std::size_t i) const;   // course of the leg into waypoint i
  bool passed_active() const;
  void sequence();
  void publish(SimState& state);

  GpsPlan plan_;
  double latitude_, longitude_, heading_;
  double speed_ = 0.0;
  std::size_t active_;
  std::optional<double> last_time_;
  alignas(8) unsigned char block_[abi::gps::kMinimumBlockSize] = {};
  std::vector<unsigned char> records_;
};

}  // namespace orv::host
