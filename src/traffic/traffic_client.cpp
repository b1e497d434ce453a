#include "traffic/traffic_client.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "frame/host_services.h"
#include "stable_maths.h"

namespace orv::traffic {

using namespace abi;

namespace {

using namespace abi::traffic;

constexpr std::size_t kAtcIdChars = 10;

// Operation `n` of a COM-style object, or null.
template <typename Fn>
Fn operation(void* object, int n) {
  if (object == nullptr) return nullptr;
  void** table = *static_cast<void***>(object);
  return table == nullptr ? nullptr : reinterpret_cast<Fn>(table[n]);
}

// Copies at most 10 characters of `text` (which need not be terminated
// within them) and terminates the identifier.
void copy_identifier(char (&out)[16], const char* text) {
  std::size_t n = 0;
  if (text != nullptr) {
    while (n < kAtcIdChars && text[n] != '\0') {
      out[n] = text[n];
      ++n;
    }
  }
  std::memset(out + n, 0, sizeof out - n);
}

}  // namespace

GreatCircle great_circle(double lat1, double lon1, double lat2, double lon2) {
  const double p1 = lat1 / kDegreesPerRadian, p2 = lat2 / kDegreesPerRadian;
  const double l1 = lon1 / kDegreesPerRadian, l2 = lon2 / kDegreesPerRadian;
  const double sp = std::sin((p2 - p1) / 2.0), sl = std::sin((l2 - l1) / 2.0);
  const double a = sp * sp + std::cos(p1) * std::cos(p2) * sl * sl;
  GreatCircle g{0.0, 180.0};
  if (a > 0.0) {
    const double s = std::sqrt(a);
    g.distance = s >= 1.0 ? 10800.0 : 2.0 * stable::asin(s) * kNmPerRadian;
    const double c = g.distance / kNmPerRadian;
    double arg = (std::sin(p1) - std::cos(c) * std::sin(p2)) / (std::sin(c) * std::cos(p2));
    if (arg > 1.0) arg = 1.0;
    if (arg < -1.0) arg = -1.0;
    g.bearing = stable::acos(arg) * kDegreesPerRadian;
  }
  if (std::sin(l2 - l1) > 0.0) g.bearing = 360.0 - g.bearing;
  return g;
}

std::int32_t threat_level(double engine_running, double closure_rate, double slant_range) {
  if (engine_running == 0.0) return kThreatEngineOff;
  if (!(slant_range > 0.0)) return kThreatNone;
  const double q = closure_rate / slant_range;
  if (q >= 0.05) return kThreatWarning;
  if (q >= 0.02857142857142857) return kThreatCaution;
  return kThreatNone;
}

TrafficClient::TrafficClient() {
  clock_.id = kClockToken;
  read_token_variable(&clock_);
  clock_.spare.n = clock_.value.n;

  service_ = get_host_interface(kServiceName);
  if (service_ == nullptr) return;
  if (auto get = operation<TrafficInterfaceFn>(service_, kTrafficOpInterface))
    traffic_ = get(service_, kServiceName);
  if (traffic_ == nullptr) return;
  if (auto variable = operation<TrafficHandleFn>(traffic_, kTrafficOpVariable)) {
    for (int i = 0; i < kVariableCount; ++i) variables_[i] = variable(traffic_, kVariableNames[i]);
  }
  if (auto unit = operation<TrafficHandleFn>(traffic_, kTrafficOpUnit)) {
    for (int i = 0; i < kUnitCount; ++i) units_[i] = unit(traffic_, kUnitNames[i]);
  }
}

TrafficClient::~TrafficClient() {
  delete[] records_;
  delete[] fresh_;
  delete[] ids_;
}

bool TrafficClient::reserve(u32 n) {
  if (n <= capacity_) return true;
  auto* ids = new (std::nothrow) u32[n];
  auto* records = new (std::nothrow) TrafficRecord[n];
  auto* fresh = new (std::nothrow) TrafficRecord[n];
  if (ids == nullptr || records == nullptr || fresh == nullptr) {
    delete[] ids;
    delete[] records;
    delete[] fresh;
    return false;
  }
  std::copy(records_, records_ + count_, records);
  delete[] ids_;
  delete[] records_;
  delete[] fresh_;
  ids_ = ids;
  records_ = records;
  fresh_ = fresh;
  capacity_ = n;
  return true;
}

bool TrafficClient::reduced_data() const {
  auto fn = operation<TrafficReducedFn>(traffic_, kTrafficOpReducedData);
  return fn != nullptr && fn(traffic_) != 0;
}

double TrafficClient::number(u32 id, Variable v, Unit u) const {
  double value = 0.0;
  if (auto fn = operation<TrafficNumberFn>(traffic_, kTrafficOpNumber))
    fn(traffic_, id, variables_[v], units_[u], &value, 1);
  return value;
}

void TrafficClient::fill(TrafficRecord& r, u32 id) const {
  std::memset(&r, 0, sizeof r);
  r.id = id;
  r.latitude = number(id, kLatitude, kDegrees);
  r.longitude = number(id, kLongitude, kDegrees);
  if (!reduced_data()) {
    r.altitude = number(id, kIndicatedAltitude, kFeet);
    // The service writes at most 10 characters; a larger scratch buffer keeps
    // an unterminated or overlong answer away from the record.
    char text[64] = {};
    if (auto fn = operation<TrafficTextFn>(traffic_, kTrafficOpText))
      fn(traffic_, id, variables_[kAtcId], text, static_cast<u32>(kAtcIdChars), 0);
    copy_identifier(r.atc_id, text);
    r.engine_running = number(id, kEngineCombustion, kBool);
    r.user_aircraft = number(id, kIsUserSim, kBool);
    r.vertical_speed = number(id, kVelocityY, kFeetPerMinute);
    r.north_speed = number(id, kVelocityZ, kKnots);
    r.east_speed = number(id, kVelocityX, kKnots);
  } else {
    r.altitude = number(id, kPlaneAltitude, kFeet);
    auto fn = operation<TrafficNameFn>(traffic_, kTrafficOpName);
    copy_identifier(r.atc_id, fn != nullptr ? fn(traffic_, id) : nullptr);
    r.engine_running = 1.0;
    r.track = number(id, kHeadingTrue, kDegrees);
  }
}

void TrafficClient::update(TrafficRecord* records, u32 n, double dt) const {
  const double user_lat = read_simulation_variable(variables_[kLatitude], units_[kDegrees], 0);
  const double user_lon = read_simulation_variable(variables_[kLongitude], units_[kDegrees], 0);
  const double user_alt = read_simulation_variable(variables_[kIndicatedAltitude], units_[kFeet], 0);
  const TrafficRecord* previous = records_;
  const TrafficRecord* previous_end = records_ + count_;
  for (u32 i = 0; i < n; ++i) {
    TrafficRecord& r = records[i];
    const GreatCircle g = great_circle(r.latitude, r.longitude, user_lat, user_lon);
    r.distance = g.distance;
    r.bearing = g.bearing;
    r.relative_altitude = r.altitude - user_alt;
    const double horizontal_ft = r.distance * kMetresPerNm * kFeetPerMetre;
    r.slant_range = std::sqrt(horizontal_ft * horizontal_ft + r.relative_altitude * r.relative_altitude);
    if (r.slant_range < 3.0) {  // the user's own aircraft
      r.slant_range = 0.0;
      r.distance = 0.0;
    }
    const bool reduced = reduced_data();
    if (!reduced) {
      r.track = std::fmod(std::atan2(r.east_speed, r.north_speed) * kDegreesPerRadian + 360.0, 360.0);
      r.ground_speed = std::sqrt(r.north_speed * r.north_speed + r.east_speed * r.east_speed);
    }
    if (count_ == 0 || !(dt > 0.0)) continue;
    const TrafficRecord* p = std::lower_bound(previous, previous_end, r.id,
                                              [](const TrafficRecord& a, u32 id) { return a.id < id; });
    if (p == previous_end || p->id != r.id) continue;
    if (reduced) {
      const double moved = great_circle(r.latitude, r.longitude, p->latitude, p->longitude).distance;
      const double speed = moved * 3600.0 / dt;
      r.ground_speed = speed >= 1.0 ? speed : 1.0;
    }
    r.closure_rate = (p->slant_range - r.slant_range) / dt;
    r.threat = threat_level(r.engine_running, r.closure_rate, r.slant_range);
  }
}

u32 TrafficClient::refresh(u32 max_count, double radius_nm) {
  if (traffic_ == nullptr || max_count == 0 || !reserve(max_count)) return 0;
  u32* ids = ids_;
  std::fill(ids, ids + max_count, 0u);
  u32 n = 0;
  if (auto fn = operation<TrafficObjectsFn>(traffic_, kTrafficOpObjectsInRadius))
    n = fn(traffic_, radius_nm * kMetresPerNm, max_count, ids);
  n = std::min(n, max_count);  // never more than the buffer holds
  // An id of 0 names no aircraft: such entries are dropped.
  u32 kept = 0;
  for (u32 i = 0; i < n; ++i) {
    if (ids[i] != 0) ids[kept++] = ids[i];
  }
  if (kept == 0) return 0;
  TrafficRecord* fresh = fresh_;
  for (u32 i = 0; i < kept; ++i) fill(fresh[i], ids[i]);
  read_token_variable(&clock_);
  std::sort(records_, records_ + count_,
            [](const TrafficRecord& a, const TrafficRecord& b) { return a.id < b.id; });
  update(fresh, kept, clock_.value.n - clock_.spare.n);
  clock_.spare.n = clock_.value.n;
  fresh_ = records_;
  records_ = fresh;
  count_ = kept;
  return kept;
}

}  // namespace orv::traffic
