// The GPS data block as both sides see it: the named data the host publishes
// under kBlockName and the map reads. Part of the module's published
// interface, beside gauge_abi.h: the host fills the block at these offsets,
// the module reads it at the same ones.
//
// The block is a plain byte record. Its first 32-bit word is its size; a
// block is usable only when that size covers the waypoint array pointer
// (kMinimumBlockSize: 176 bytes on i686). The pointer leads to `count`
// waypoint records of kWaypointRecordSize bytes, each starting with its own
// size. Positions are 64-bit signed fixed point: latitude in metres north of
// the equator times 2^32, longitude in units of 360 / 2^64 degrees.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orv::abi::gps {

inline constexpr const char* kBlockName = "FS2002 GPS DATA";

// Byte offsets of the block's fields.
namespace block {
inline constexpr std::size_t kSize = 0;             // u32
inline constexpr std::size_t kLatitude = 8;         // i64 fixed point
inline constexpr std::size_t kLongitude = 16;       // i64 fixed point
inline constexpr std::size_t kGroundSpeed = 40;     // f64, metres per second
inline constexpr std::size_t kUpDirection = 48;     // f64, radians
inline constexpr std::size_t kTrack = 56;           // f64, radians
inline constexpr std::size_t kActiveValid = 68;     // u32
inline constexpr std::size_t kActiveIndex = 76;     // u32
inline constexpr std::size_t kDistance = 128;       // f64, metres to the active waypoint
inline constexpr std::size_t kWaypointCount = 168;  // u32
inline constexpr std::size_t kWaypoints = 172;      // pointer to the records
}  // namespace block

// Byte offsets of a waypoint record's fields.
namespace waypoint {
inline constexpr std::size_t kSize = 0;        // u32, kWaypointRecordSize
inline constexpr std::size_t kLatitude = 8;    // i64 fixed point
inline constexpr std::size_t kLongitude = 16;  // i64 fixed point
inline constexpr std::size_t kIdent = 56;      // characters to the record's end
}  // namespace waypoint

// The smallest usable block: up to and including the array pointer.
inline constexpr std::size_t kMinimumBlockSize = block::kWaypoints + sizeof(void*);
inline constexpr std::uint32_t kWaypointRecordSize = 64;
// The longest identifier a record holds, without its terminator.
inline constexpr std::size_t kIdentChars = kWaypointRecordSize - waypoint::kIdent;

static_assert(block::kWaypoints > block::kWaypointCount && block::kWaypointCount > block::kDistance);
static_assert(waypoint::kIdent > waypoint::kLongitude + 8 && waypoint::kIdent < kWaypointRecordSize);
#if defined(_WIN32) && !defined(_WIN64)
static_assert(kMinimumBlockSize == 176, "the block the simulator publishes on i686");
#endif

}  // namespace orv::abi::gps
