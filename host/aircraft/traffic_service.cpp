#include "host/aircraft/traffic_service.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/traffic_variables.h"
#include "stable_maths.h"

namespace orv::host {

using namespace abi;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadiusNm = 3440.065;
constexpr double kMetresPerNm = 1852.0;

// The handle of a variable or unit is its index in the published lists plus
// one: 0 answers a name the service does not know.
constexpr u32 handle_of(unsigned index) { return index + 1; }

double radians(double deg) { return deg * kPi / 180.0; }
double degrees(double rad) { return rad * 180.0 / kPi; }

// The point `distance_nm` from (lat, lon) on the initial course `bearing`.
void destination(double lat, double lon, double bearing, double distance_nm, double& out_lat,
                 double& out_lon) {
  const double p1 = radians(lat), l1 = radians(lon), b = radians(bearing), d = distance_nm / kEarthRadiusNm;
  const double p2 = stable::asin(std::sin(p1) * std::cos(d) + std::cos(p1) * std::sin(d) * std::cos(b));
  const double l2 =
      l1 + std::atan2(std::sin(b) * std::sin(d) * std::cos(p1), std::cos(d) - std::sin(p1) * std::sin(p2));
  out_lat = degrees(p2);
  out_lon = std::remainder(degrees(l2), 360.0);
}

double distance_nm(double lat1, double lon1, double lat2, double lon2) {
  const double dp = radians(lat2 - lat1), dl = radians(lon2 - lon1);
  const double a = std::sin(dp / 2) * std::sin(dp / 2) +
                   std::cos(radians(lat1)) * std::cos(radians(lat2)) * std::sin(dl / 2) * std::sin(dl / 2);
  return 2.0 * kEarthRadiusNm * stable::asin(std::sqrt(std::min(1.0, a)));
}

class TrafficService {
 public:
  TrafficService(SimState& state, const TrafficScenario& scenario) : state_(state), scenario_(scenario) {
    tracks_.push_back(scenario.own);
    for (TrafficTrack t : scenario.aircraft) {
      destination(scenario.own.latitude, scenario.own.longitude, t.bearing, t.distance_nm, t.latitude,
                  t.longitude);
      tracks_.push_back(std::move(t));
    }
    host_table_[kTrafficOpInterface] = reinterpret_cast<void*>(&op_interface);
    traffic_table_[kTrafficOpVariable] = reinterpret_cast<void*>(&op_variable);
    traffic_table_[kTrafficOpUnit] = reinterpret_cast<void*>(&op_unit);
    traffic_table_[kTrafficOpObjectsInRadius] = reinterpret_cast<void*>(&op_objects);
    traffic_table_[kTrafficOpNumber] = reinterpret_cast<void*>(&op_number);
    traffic_table_[kTrafficOpText] = reinterpret_cast<void*>(&op_text);
    traffic_table_[kTrafficOpReducedData] = reinterpret_cast<void*>(&op_reduced);
    traffic_table_[kTrafficOpName] = reinterpret_cast<void*>(&op_name);
    host_ = {host_table_, this};
    traffic_ = {traffic_table_, this};
  }

  void* host_object() { return &host_; }

  // A value of the user's aircraft (read_simulation_variable).
  double own_value(u32 var) const { return value(0, var); }

 private:
  // A COM-style object: its operation table first.
  struct Object {
    void** table;
    TrafficService* service;
  };

  static TrafficService* of(void* self) { return static_cast<Object*>(self)->service; }

  double time() const { return state_.time(); }

  const TrafficTrack* find(u32 id, std::size_t* index) const {
    for (std::size_t i = 0; i < tracks_.size(); ++i) {
      if (tracks_[i].id == id) {
        *index = i;
        return &tracks_[i];
      }
    }
    return nullptr;
  }

  double value(std::size_t i, u32 var) const {
    const TrafficTrack& t = tracks_[i];
    const TrafficState s = track_at(t, time());
    switch (var) {
      case handle_of(traffic::kLatitude):
        return s.latitude;
      case handle_of(traffic::kLongitude):
        return s.longitude;
      case handle_of(traffic::kPlaneAltitude):
      case handle_of(traffic::kIndicatedAltitude):
        return s.altitude;
      case handle_of(traffic::kVelocityY):
        return s.vertical_fpm;
      case handle_of(traffic::kVelocityZ):
        return s.north_kt;
      case handle_of(traffic::kVelocityX):
        return s.east_kt;
      case handle_of(traffic::kHeadingTrue):
        return s.heading;
      case handle_of(traffic::kEngineCombustion):
        return t.engine ? 1.0 : 0.0;
      case handle_of(traffic::kIsUserSim):
        return i == 0 ? 1.0 : 0.0;
      default:
        return 0.0;
    }
  }

  static void* ORV_CALL op_interface(void* self, const char* name) {
    if (name == nullptr || std::strcmp(name, traffic::kServiceName) != 0) return nullptr;
    return &of(self)->traffic_;
  }

  template <std::size_t N>
  static u32 handle(const char* const (&names)[N], const char* name) {
    if (name == nullptr) return 0;
    for (std::size_t i = 0; i < N; ++i)
      if (std::strcmp(names[i], name) == 0) return handle_of(static_cast<unsigned>(i));
    return 0;
  }

  static u32 ORV_CALL op_variable(void*, const char* name) { return handle(traffic::kVariableNames, name); }
  static u32 ORV_CALL op_unit(void*, const char* name) { return handle(traffic::kUnitNames, name); }

  static u32 ORV_CALL op_objects(void* self, f64 radius_m, u32 max_count, u32* ids) {
    const TrafficService& s = *of(self);
    if (ids == nullptr) return 0;
    const TrafficState own = track_at(s.tracks_[0], s.time());
    u32 n = 0;
    for (const TrafficTrack& t : s.tracks_) {
      if (n >= max_count) break;
      const TrafficState p = track_at(t, s.time());
      if (distance_nm(own.latitude, own.longitude, p.latitude, p.longitude) * kMetresPerNm <= radius_m)
        ids[n++] = t.id;
    }
    return n;
  }

  static i32 ORV_CALL op_number(void* self, u32 id, u32 var, u32, f64* out, u32) {
    std::size_t i = 0;
    const TrafficService& s = *of(self);
    if (out == nullptr || s.find(id, &i) == nullptr) return 1;
    *out = s.value(i, var);
    return 0;
  }

  // Writes at most `length` characters, terminated only when shorter, as
  // strncpy does.
  static i32 ORV_CALL op_text(void* self, u32 id, u32 var, char* buffer, u32 length, u32) {
    std::size_t i = 0;
    const TrafficTrack* t = of(self)->find(id, &i);
    if (buffer == nullptr || t == nullptr || var != handle_of(traffic::kAtcId)) return 1;
    std::strncpy(buffer, t->atc_id.c_str(), length);
    return 0;
  }

  static u32 ORV_CALL op_reduced(void* self) {
    const TrafficService& s = *of(self);
    return s.scenario_.reduced_from >= 0.0 && s.time() >= s.scenario_.reduced_from ? 1 : 0;
  }

  static const char* ORV_CALL op_name(void* self, u32 id) {
    std::size_t i = 0;
    const TrafficTrack* t = of(self)->find(id, &i);
    if (t == nullptr || t->null_name) return nullptr;
    return t->name.c_str();
  }

  SimState& state_;
  TrafficScenario scenario_;
  std::vector<TrafficTrack> tracks_;  // the user's aircraft first
  void* host_table_[kTrafficOpInterface + 1] = {};
  void* traffic_table_[kTrafficOpCount] = {};
  Object host_{};
  Object traffic_{};
};

}  // namespace

TrafficState track_at(const TrafficTrack& track, double t) {
  const double speed_nm_s = track.speed / 3600.0;
  const double h0 = radians(track.heading);
  double north = 0.0, east = 0.0, h = h0;
  if (track.turn_rate == 0.0) {
    north = speed_nm_s * t * std::cos(h0);
    east = speed_nm_s * t * std::sin(h0);
  } else {
    const double w = radians(track.turn_rate);
    h = h0 + w * t;
    north = speed_nm_s / w * (std::sin(h) - std::sin(h0));
    east = speed_nm_s / w * (std::cos(h0) - std::cos(h));
  }
  TrafficState s{};
  s.latitude = track.latitude + north / 60.0;
  s.longitude = track.longitude + east / (60.0 * std::cos(radians(track.latitude)));
  s.altitude = track.altitude + track.vertical_speed * t / 60.0;
  s.heading = std::fmod(std::fmod(degrees(h), 360.0) + 360.0, 360.0);
  s.north_kt = track.speed * std::cos(h);
  s.east_kt = track.speed * std::sin(h);
  s.vertical_fpm = track.vertical_speed;
  return s;
}

void install_traffic_service(SimState& state, const TrafficScenario& scenario) {
  auto service = std::make_shared<TrafficService>(state, scenario);
  state.register_interface("ITrafficInfo", service->host_object());
  TrafficService* raw = service.get();
  state.simulation_variable = [raw](std::uint32_t var, std::uint32_t, std::int32_t) {
    return raw->own_value(var);
  };
  state.keep(service);
}

}  // namespace orv::host
