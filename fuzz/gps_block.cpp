// The GPS data block as the flight map reads it: the block the host serves
// by name, its fields and its waypoint array built from the input (sizes,
// counts, indexes, positions, identifiers with or without terminators, the
// array pointer null, too low or misaligned), read by the Flight_Map gauge
// placed in the substitute host: its drawing surface painted every frame,
// its readouts and tooltips. The block lies at one address for the whole
// run (the gauge keeps the address it was first given, as it may) and is
// exactly as long as the fields the map reads; the waypoint array is exactly
// as long as the records the block's count lets the map walk.
#include "map/gps_block.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz_host.h"
#include "fuzz_input.h"

namespace {

using orv::fuzz::FuzzInput;
namespace gps = orv::map;

unsigned char* block() {
  static const std::unique_ptr<unsigned char[]> storage(new unsigned char[gps::kMinimumBlockSize]);
  return storage.get();
}

// Fills the block and returns the waypoint records it points at (kept alive
// by the caller).
std::unique_ptr<unsigned char[]> fill_block(FuzzInput& in) {
  unsigned char* b = block();
  std::memset(b, 0, gps::kMinimumBlockSize);
  for (std::size_t i = 0; i < gps::gps_offset::kWaypoints; ++i) b[i] = in.byte();
  // Fields the map reads as numbers get the troublesome values half the time.
  for (const std::size_t at : {gps::gps_offset::kGroundSpeed, gps::gps_offset::kUpDirection,
                               gps::gps_offset::kTrack, gps::gps_offset::kDistance}) {
    if (in.byte() % 2 == 0) {
      const double v = in.number();
      std::memcpy(b + at, &v, sizeof v);
    }
  }
  std::uint32_t count = 0;
  std::memcpy(&count, b + gps::gps_offset::kWaypointCount, sizeof count);
  const std::size_t records = count < gps::kMaxWaypoints ? count : gps::kMaxWaypoints;
  std::unique_ptr<unsigned char[]> array(new unsigned char[records * gps::kWaypointRecordSize + 1]);
  for (std::size_t i = 0; i < records; ++i) {
    unsigned char* r = array.get() + i * gps::kWaypointRecordSize;
    for (std::size_t k = 0; k < gps::kWaypointRecordSize; ++k) r[k] = in.byte();
    // Most records say they are records.
    if (in.byte() % 4 != 0) std::memcpy(r, &gps::kWaypointRecordSize, sizeof gps::kWaypointRecordSize);
  }
  std::uintptr_t pointer = 0;
  switch (in.byte() % 4) {
    case 0:
      pointer = 0;
      break;
    case 1:
      pointer = 0x1000;  // below any mapped address
      break;
    case 2:
      pointer = reinterpret_cast<std::uintptr_t>(array.get()) + 1;  // misaligned
      break;
    default:
      pointer = reinterpret_cast<std::uintptr_t>(array.get());
      break;
  }
  std::memcpy(b + gps::gps_offset::kWaypoints, &pointer, sizeof pointer);
  return array;
}

orv::fuzz::FuzzHost& panel() {
  static orv::fuzz::FuzzHost host({"Flight_Map", "Multi_Function_Display_Left"},
                                  [](orv::host::SimState& state) {
                                    std::memset(block(), 0, gps::kMinimumBlockSize);
                                    state.register_named_data("FS2002 GPS DATA", block());
                                  });
  return host;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  panel();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const auto records = fill_block(in);
  orv::fuzz::FuzzHost& fuzz = panel();
  for (int frame = 0; frame < 2; ++frame) fuzz.host().frame();
  fuzz.ask_tooltips();
  fuzz.end_input();
  // The block's fields go on pointing at the records until the next input
  // replaces them; the map reads them only while drawing and asking.
  std::memset(block(), 0, gps::kMinimumBlockSize);
  return 0;
}
