// The host's traffic service, as a scenario declares it: the user's own
// aircraft and other aircraft on straight or turning tracks, climbing or
// descending, with or without a running engine. The module reaches it by the
// name "ITrafficInfo" (get_host_interface) as COM-style objects: the host
// object answers operation 2 with the traffic interface, which answers the
// variable and unit lookups, the search by radius, the per-aircraft values and
// texts, the reduced-data flag and the names (operation numbers in
// frame/gauge_abi.h). The user's own aircraft is in every list, as the
// simulator puts it, and is read by read_simulation_variable too.
//
// Values are served in the unit the module asks for (degrees, feet, knots,
// feet per minute, 0/1); the unit handle is not used to convert.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/aircraft/simulator.h"

namespace orv::host {

// One aircraft's track: where it is at t = 0 and how it moves.
struct TrafficTrack {
  std::uint32_t id = 0;    // the service's object id (0 and duplicates are passed on as declared)
  std::string atc_id;      // "ATC ID" text (full data); the service writes at most the asked length
  std::string name;        // name text (reduced data)
  bool null_name = false;  // the name operation answers null
  double latitude = 0.0, longitude = 0.0;   // degrees at t = 0 (own aircraft; others: see below)
  double bearing = 0.0, distance_nm = 0.0;  // others: start position from the user's start position
  double altitude = 0.0;                    // feet at t = 0
  double heading = 0.0;                     // degrees true at t = 0
  double speed = 0.0;                       // knots over the ground
  double turn_rate = 0.0;                   // degrees per second, positive to the right
  double vertical_speed = 0.0;              // feet per minute
  bool engine = true;
};

struct TrafficScenario {
  TrafficTrack own;  // the user's aircraft (id 1 and "F_ORVN" unless declared)
  std::vector<TrafficTrack> aircraft;
  double reduced_from = -1.0;  // time from which only reduced data is served; negative: never
};

// An aircraft's position and motion at time t.
struct TrafficState {
  double latitude, longitude, altitude, heading, north_kt, east_kt, vertical_fpm;
};
TrafficState track_at(const TrafficTrack& track, double t);

// Builds the service for `scenario`, registers it as "ITrafficInfo", serves
// the user's aircraft through read_simulation_variable and hands its
// ownership to `state`. Time is the state's simulated time.
void install_traffic_service(SimState& state, const TrafficScenario& scenario);

// Token 604, the simulation clock in seconds, as the service keeps it.
inline constexpr std::uint32_t kTokenClockNow = 604;
// Token 86, the user's heading, which the service keeps with the own track.
inline constexpr std::uint32_t kTokenOwnHeading = 86;

}  // namespace orv::host
