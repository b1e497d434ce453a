// A stand-in for the host's traffic service: COM-style objects with the
// operations the traffic client uses, serving a list of aircraft, the user's
// aircraft through the fake host's slot 75, and a few ways of misbehaving.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "frame/gauge_abi.h"
#include "support/fake_host.h"

namespace orv::test {

struct FakeAircraft {
  abi::u32 id = 0;
  double lat = 0.0, lon = 0.0, alt = 0.0;  // degrees, feet
  double north = 0.0, east = 0.0;          // knots
  double vs = 0.0, heading = 0.0;          // feet per minute, degrees
  bool engine = true;
  std::string atc = "TEST";
  const char* name = "Name";  // reduced data (may be null)
};

class FakeTraffic {
 public:
  // Variable handles are 100 + the name's place, unit handles 200 + place.
  static constexpr const char* kVariables[] = {
      "PLANE LATITUDE",   "PLANE LONGITUDE",  "PLANE ALTITUDE",   "INDICATED ALTITUDE",
      "VELOCITY WORLD Y", "VELOCITY WORLD Z", "VELOCITY WORLD X", "PLANE HEADING DEGREES TRUE",
      "ATC ID",           "ENG COMBUSTION",   "IS USER SIM"};
  static constexpr const char* kUnits[] = {"FEET", "BOOL", "DEGREES", "KNOTS", "FEET PER MINUTE"};

  std::vector<FakeAircraft> aircraft;
  bool reduced = false;
  abi::u32 extra_count = 0;       // reported beyond what was written
  bool unterminated_ids = false;  // writes the asked length, no terminator, past 10 chars
  double user_lat = 0.0, user_lon = 0.0, user_alt = 0.0;

  explicit FakeTraffic(FakeHost& host) {
    host_table_[abi::kTrafficOpInterface] = reinterpret_cast<void*>(&op_interface);
    table_[abi::kTrafficOpVariable] = reinterpret_cast<void*>(&op_variable);
    table_[abi::kTrafficOpUnit] = reinterpret_cast<void*>(&op_unit);
    table_[abi::kTrafficOpObjectsInRadius] = reinterpret_cast<void*>(&op_objects);
    table_[abi::kTrafficOpNumber] = reinterpret_cast<void*>(&op_number);
    table_[abi::kTrafficOpText] = reinterpret_cast<void*>(&op_text);
    table_[abi::kTrafficOpReducedData] = reinterpret_cast<void*>(&op_reduced);
    table_[abi::kTrafficOpName] = reinterpret_cast<void*>(&op_name);
    host.interfaces["ITrafficInfo"] = &host_object_;
    host.simulation_variable = [this](abi::u32 var, abi::u32, abi::i32) {
      if (var == 100) return user_lat;
      if (var == 101) return user_lon;
      if (var == 103) return user_alt;
      return 0.0;
    };
  }
  FakeTraffic(const FakeTraffic&) = delete;
  FakeTraffic& operator=(const FakeTraffic&) = delete;

 private:
  struct Object {
    void** table;
    FakeTraffic* fake;
  };
  static FakeTraffic& of(void* self) { return *static_cast<Object*>(self)->fake; }
  const FakeAircraft* find(abi::u32 id) const {
    for (const FakeAircraft& a : aircraft)
      if (a.id == id) return &a;
    return nullptr;
  }

  static void* ORV_CALL op_interface(void* self, const char* name) {
    return std::strcmp(name, "ITrafficInfo") == 0 ? &of(self).traffic_object_ : nullptr;
  }
  template <std::size_t N>
  static abi::u32 handle(const char* const (&names)[N], const char* name, abi::u32 base) {
    for (std::size_t i = 0; i < N; ++i)
      if (std::strcmp(names[i], name) == 0) return base + static_cast<abi::u32>(i);
    return 0;
  }
  static abi::u32 ORV_CALL op_variable(void*, const char* name) { return handle(kVariables, name, 100); }
  static abi::u32 ORV_CALL op_unit(void*, const char* name) { return handle(kUnits, name, 200); }
  static abi::u32 ORV_CALL op_objects(void* self, abi::f64, abi::u32 max, abi::u32* ids) {
    FakeTraffic& f = of(self);
    abi::u32 n = 0;
    for (const FakeAircraft& a : f.aircraft)
      if (n < max) ids[n++] = a.id;
    return n + f.extra_count;
  }
  static abi::i32 ORV_CALL op_number(void* self, abi::u32 id, abi::u32 var, abi::u32, abi::f64* out,
                                     abi::u32) {
    const FakeAircraft* a = of(self).find(id);
    if (a == nullptr) return 1;
    const double values[] = {a->lat,   a->lon,  a->alt,     a->alt, a->vs,
                             a->north, a->east, a->heading, 0.0,    a->engine ? 1.0 : 0.0,
                             0.0};
    if (var >= 100 && var < 111) *out = values[var - 100];
    return 0;
  }
  static abi::i32 ORV_CALL op_text(void* self, abi::u32 id, abi::u32, char* buffer, abi::u32 length,
                                   abi::u32) {
    FakeTraffic& f = of(self);
    const FakeAircraft* a = f.find(id);
    if (a == nullptr) return 1;
    if (f.unterminated_ids) {
      std::memcpy(buffer, a->atc.c_str(), std::min<std::size_t>(a->atc.size(), 16));
    } else {
      std::strncpy(buffer, a->atc.c_str(), length);
    }
    return 0;
  }
  static abi::u32 ORV_CALL op_reduced(void* self) { return of(self).reduced ? 1 : 0; }
  static const char* ORV_CALL op_name(void* self, abi::u32 id) {
    const FakeAircraft* a = of(self).find(id);
    return a == nullptr ? nullptr : a->name;
  }

  void* host_table_[3] = {};
  void* table_[abi::kTrafficOpCount] = {};
  Object host_object_{host_table_, this};
  Object traffic_object_{table_, this};
};

}  // namespace orv::test
