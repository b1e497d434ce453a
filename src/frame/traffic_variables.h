// The traffic service's variables and units by name: the module asks the
// host's traffic interface (kTrafficOpVariable, kTrafficOpUnit in
// gauge_abi.h) for a handle of each name and reads values by handle. Part of
// the module's published interface, beside gauge_abi.h: one list of names,
// indexed by the enums below on both sides.
#pragma once

#include <cstddef>
#include <iterator>

namespace orv::abi::traffic {

enum Variable {
  kLatitude,
  kLongitude,
  kPlaneAltitude,
  kIndicatedAltitude,
  kVelocityY,
  kVelocityZ,
  kVelocityX,
  kHeadingTrue,
  kAtcId,
  kEngineCombustion,
  kIsUserSim,
  kVariableCount
};
inline constexpr const char* kVariableNames[] = {
    "PLANE LATITUDE",   "PLANE LONGITUDE",  "PLANE ALTITUDE",   "INDICATED ALTITUDE",
    "VELOCITY WORLD Y", "VELOCITY WORLD Z", "VELOCITY WORLD X", "PLANE HEADING DEGREES TRUE",
    "ATC ID",           "ENG COMBUSTION",   "IS USER SIM",
};
static_assert(std::size(kVariableNames) == kVariableCount, "one name per variable");

enum Unit { kFeet, kBool, kDegrees, kKnots, kFeetPerMinute, kUnitCount };
inline constexpr const char* kUnitNames[] = {"FEET", "BOOL", "DEGREES", "KNOTS", "FEET PER MINUTE"};
static_assert(std::size(kUnitNames) == kUnitCount, "one name per unit");

inline constexpr const char* kServiceName = "ITrafficInfo";

}  // namespace orv::abi::traffic
