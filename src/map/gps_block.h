// Reading the host's GPS data block "FS2002 GPS DATA" and placing its
// waypoints on the map.
//
// The block's layout is frame/gps_block_layout.h. Every field is read with a
// copy from its byte offset, and only after the block's size field says the
// field is there; waypoint records are used only when their own size field
// says 64.
//
// The map reads fixed-point positions with their lowest 16 bits cleared and takes differences as 64-bit
// integers, so a waypoint across the antimeridian is a short way east or west.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/gauge_abi.h"
#include "frame/gps_block_layout.h"

namespace orv::map {

// The block's layout, as the host publishes it.
namespace gps_offset = abi::gps::block;
namespace waypoint_offset = abi::gps::waypoint;
using abi::gps::kIdentChars;
using abi::gps::kMinimumBlockSize;
using abi::gps::kWaypointRecordSize;

// The most waypoint records one pass looks at: more than any flight plan
// holds, so a corrupt count costs a bounded walk.
inline constexpr std::uint32_t kMaxWaypoints = 1024;

// The fields of a usable block, copied out of it.
struct GpsView {
  bool usable = false;  // the block is there and large enough
  std::uint64_t latitude = 0;
  std::uint64_t longitude = 0;
  double ground_speed = 0.0;  // metres per second
  double up = 0.0;            // radians, drawn straight up
  double track = 0.0;         // radians
  bool active_valid = false;
  std::uint32_t active = 0;
  double distance = 0.0;  // metres to the active waypoint
  std::uint32_t count = 0;
  const unsigned char* waypoints = nullptr;  // null when the pointer cannot be an array
};

// Copies the fields out of `block` (null or too small: an unusable view).
GpsView read_gps_block(const void* block);

// The number of records a pass walks: the block's count, bounded by
// kMaxWaypoints; 0 without a plausible array.
std::uint32_t walk_count(const GpsView& gps);

struct Waypoint {
  std::uint64_t latitude;
  std::uint64_t longitude;
};

// Waypoint `i` when its record is there and its size field is 64.
bool waypoint_at(const GpsView& gps, std::uint32_t i, Waypoint* out);

// The identifier of waypoint `i`, NUL-terminated in `out` (kIdentChars + 1
// bytes); an identifier that fills its record without a terminator is cut
// at the record's end. False (and `out` empty) when the record is not used.
bool waypoint_ident(const GpsView& gps, std::uint32_t i, char* out);

// The value of a fixed-point quantity as the map reads it: its lowest 16 bits
// cleared, as a signed 64-bit integer.
constexpr std::int64_t fixed_value(std::uint64_t raw) {
  return static_cast<std::int64_t>(raw & ~std::uint64_t{0xFFFF});
}

// A waypoint's place relative to the centre of the map, in pixels of a
// surface `sx` and `sy` times the design size. `valid` is false when the
// place is not a number or lies beyond any drawable coordinate.
struct MapOffset {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool valid = false;
};

MapOffset project(const GpsView& gps, const Waypoint& w, double sx, double sy);

// Conversion toward zero into a drawable coordinate; false for NaN and for
// magnitudes of 2^27 and more (beyond what device contexts take).
bool truncate_coordinate(double v, std::int32_t* out);

}  // namespace orv::map
