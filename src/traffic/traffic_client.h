// The traffic information client: the aircraft around the user's aircraft,
// read from the host's traffic service at every refresh, with their distance
// and bearing from the user, relative altitude, slant range, track, ground
// speed, closure rate and threat level.
//
// The service is the host object named "ITrafficInfo" and the traffic
// interface its operation 2 returns (see the operation numbers in
// frame/gauge_abi.h). A refresh that finds nobody keeps the last list, so the
// radar goes on showing the last aircraft seen.
#pragma once

#include <cstdint>

#include "frame/gauge_abi.h"
#include "frame/traffic_variables.h"

namespace orv::traffic {

// Conversions of this client (not the ones the displays use).
inline constexpr double kMetresPerNm = 1851.8518518518517;
inline constexpr double kFeetPerMetre = 3.28084;
inline constexpr double kNmPerRadian = 3437.7467707849396;  // 10800 / pi
inline constexpr double kDegreesPerRadian = 57.29577951308232;

inline constexpr abi::u32 kClockToken = 604;  // simulation clock, seconds

// Threat levels.
inline constexpr std::int32_t kThreatEngineOff = -1;
inline constexpr std::int32_t kThreatNone = 0;
inline constexpr std::int32_t kThreatCaution = 1;  // range closes within 35 s
inline constexpr std::int32_t kThreatWarning = 2;  // range closes within 20 s

struct TrafficRecord {
  abi::u32 id;  // the service's object id; the sort and search key
  double latitude;
  double longitude;          // degrees, east positive
  double altitude;           // feet
  double vertical_speed;     // feet per minute
  double north_speed;        // knots
  double east_speed;         // knots
  char atc_id[16];           // at most 10 characters, NUL-terminated
  double engine_running;     // 1.0 or 0.0
  double user_aircraft;      // 1.0 for the user's own aircraft (full data only)
  double bearing;            // degrees true from the user, 0..360
  double distance;           // nautical miles, great circle
  double slant_range;        // feet
  double closure_rate;       // feet per second, positive while the range shrinks
  double relative_altitude;  // feet above the user's indicated altitude
  double track;              // degrees true, 0..360
  double ground_speed;       // knots
  std::int32_t threat;
};

struct GreatCircle {
  double distance;  // nautical miles
  double bearing;   // degrees true at point 2 towards point 1
};

// Distance and bearing from point 2 to point 1 (degrees). Identical points:
// distance 0, bearing 180. The bearing's acos argument is clamped to -1..1.
GreatCircle great_circle(double lat1, double lon1, double lat2, double lon2);

// The threat level of an aircraft: engine off -1; else by the share of the
// slant range closed per second (1/35 caution, 1/20 warning). A slant range
// of 0 is no threat.
std::int32_t threat_level(double engine_running, double closure_rate, double slant_range);

class TrafficClient {
 public:
  // Reads the clock, then looks up the service, its traffic interface and
  // the variable and unit handles. Without a service the client stays empty.
  TrafficClient();
  virtual ~TrafficClient();
  TrafficClient(const TrafficClient&) = delete;
  TrafficClient& operator=(const TrafficClient&) = delete;

  // Asks for at most `max_count` aircraft within `radius_nm` and rebuilds the
  // list; returns how many were found (0: nobody, or no service; the previous
  // list then stays). The buffers are made at the first refresh (or one asking
  // for more aircraft) and kept, so later refreshes allocate nothing.
  abi::u32 refresh(abi::u32 max_count, double radius_nm);

  abi::u32 count() const { return count_; }
  const TrafficRecord* records() const { return records_; }

 private:
  using Variable = abi::traffic::Variable;
  using Unit = abi::traffic::Unit;

  bool reduced_data() const;
  double number(abi::u32 id, Variable v, Unit u) const;
  void fill(TrafficRecord& r, abi::u32 id) const;
  void update(TrafficRecord* records, abi::u32 n, double dt) const;
  bool reserve(abi::u32 n);

  void* service_ = nullptr;
  void* traffic_ = nullptr;
  abi::u32 variables_[abi::traffic::kVariableCount] = {};
  abi::u32 units_[abi::traffic::kUnitCount] = {};
  TrafficRecord* records_ = nullptr;
  abi::u32 count_ = 0;
  // Room for `capacity_` ids and records: the list a refresh builds, then
  // swaps with `records_`.
  abi::u32* ids_ = nullptr;
  TrafficRecord* fresh_ = nullptr;
  abi::u32 capacity_ = 0;
  abi::TokenVar clock_{};  // spare value: the clock of the previous refresh
};

}  // namespace orv::traffic
