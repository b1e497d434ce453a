#include "host/aircraft/gps_service.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "host/load/host_error.h"
#include "host/panel/host.h"
#include "host/scenario/scenario.h"

namespace orv::host {
namespace {

template <typename T>
T field(const unsigned char* block, std::size_t offset) {
  T v;
  std::memcpy(&v, block + offset, sizeof v);
  return v;
}

// Runs the state's sources frame by frame up to `seconds`, calling `each`
// after every frame.
template <typename Each>
void fly(SimState& state, double seconds, Each&& each) {
  for (long long f = 0; f <= std::llround(seconds * kTicksPerSecond); ++f) {
    state.begin_frame(f);
    state.advance_sources();
    each();
  }
}

Scenario plan_scenario(const std::string& gps) {
  return parse_scenario(R"({"tokens": {"AIRSPEED": 360}, "gps": )" + gps + "}", "gps.json", "");
}

TEST(GpsService, FixedPointFormsAsTheBlockDefinesThem) {
  EXPECT_EQ(gps_fixed_latitude(0.0), 0);
  EXPECT_EQ(gps_fixed_latitude(1.0), std::llround(111130.55555555556 * 4294967296.0));
  EXPECT_EQ(gps_fixed_longitude(-180.0), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(gps_fixed_longitude(180.0), std::numeric_limits<std::int64_t>::min());  // the same meridian
  EXPECT_EQ(gps_fixed_longitude(90.0), std::int64_t{1} << 62);
  EXPECT_EQ(gps_fixed_longitude(-90.0), -(std::int64_t{1} << 62));
}

TEST(GpsService, SequencesEachWaypointAsItIsPassedAndKeepsTheLast) {
  // North along the meridian at 360 kt (185 m/s); no turns, so each waypoint
  // is passed before the next becomes active.
  const Scenario s = plan_scenario(R"({"waypoints": [
      {"ident": "A", "lat": 0.01, "lon": 0}, {"ident": "B", "lat": 0.02, "lon": 0},
      {"ident": "C", "lat": 0.03, "lon": 0}],
      "aircraft": {"lat": 0, "lon": 0}})");
  SimState state;
  s.apply_initial(state);
  const auto* block = static_cast<const unsigned char*>(state.named_data(abi::gps::kBlockName));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(field<std::uint32_t>(block, 0), abi::gps::kMinimumBlockSize);
  EXPECT_EQ(field<std::uint32_t>(block, abi::gps::block::kWaypointCount), 3u);
  EXPECT_EQ(state.token(839)->text, "A");

  std::string sequence = "A";
  fly(state, 30.0, [&] {
    const std::string ident = state.token(839)->text;
    if (ident != sequence.substr(sequence.size() - 1)) sequence += ident;
    // Block, tokens and expression agree every frame.
    EXPECT_EQ(field<double>(block, abi::gps::block::kDistance), state.number(835));
    EXPECT_EQ(field<double>(block, abi::gps::block::kGroundSpeed), state.number(832));
    EXPECT_EQ(field<double>(block, abi::gps::block::kTrack), state.number(834));
    const std::uint32_t active = field<std::uint32_t>(block, abi::gps::block::kActiveIndex);
    const auto* records = field<const unsigned char*>(block, abi::gps::block::kWaypoints);
    EXPECT_STREQ(reinterpret_cast<const char*>(records + active * 64 + 56), ident.c_str());
  });
  EXPECT_EQ(sequence, "ABC");
  double active = 0.0;
  state.evaluate("(A:GPS IS ACTIVE WAY POINT,number)", &active, nullptr);
  EXPECT_EQ(active, 1.0);
  EXPECT_NEAR(state.number(832), 360.0 * 1852.0 / 3600.0, 1e-9);
}

TEST(GpsService, AnticipatesTurnsAndTurnsAtItsRate) {
  // A right angle at A: the GPS moves on to B before reaching A, by about
  // the turn radius (v / rate), and the heading changes by at most the turn
  // rate per frame.
  const Scenario s = plan_scenario(R"({"waypoints": [
      {"ident": "A", "lat": 0.1, "lon": 0}, {"ident": "B", "lat": 0.1, "lon": 0.1}],
      "aircraft": {"lat": 0, "lon": 0, "heading": 0}, "turn_rate": 6})");
  SimState state;
  s.apply_initial(state);
  const auto& gps = dynamic_cast<const GpsService&>(*state.sources().front());
  const double radius = 360.0 * 1852.0 / 3600.0 / (6.0 * 3.14159265358979323846 / 180.0);
  double distance_at_switch = -1.0, previous_heading = gps.heading(), largest_step = 0.0;
  fly(state, 120.0, [&] {
    if (gps.active() == 1 && distance_at_switch < 0.0) {
      const double north = (0.1 - gps.latitude()) * kMetresPerLatitudeDegree;
      distance_at_switch = north;
    }
    largest_step = std::max(largest_step, std::fabs(gps.heading() - previous_heading));
    previous_heading = gps.heading();
  });
  EXPECT_NEAR(distance_at_switch, radius, 200.0);
  EXPECT_LE(largest_step, 6.0 / kTicksPerSecond + 1e-9);
  EXPECT_NEAR(state.number(84), gps.heading(), 1e-12);
}

TEST(GpsService, FliesTheHeadingTokenWithoutSteeringAndAnEmptyPlanHasNoWaypoint) {
  const Scenario s = plan_scenario(R"({"waypoints": [], "aircraft": {"lat": 10, "lon": 179.999},
                                       "steer": false, "ground_speed": 600})");
  SimState state;
  state.set_number(84, 90.0);
  s.apply_initial(state);
  const auto* block = static_cast<const unsigned char*>(state.named_data(abi::gps::kBlockName));
  fly(state, 10.0, [] {});
  // East across the antimeridian.
  const double longitude =
      field<std::int64_t>(block, abi::gps::block::kLongitude) / 18446744073709551616.0 * 360.0;
  EXPECT_LT(longitude, -179.9);
  EXPECT_EQ(field<std::uint32_t>(block, abi::gps::block::kActiveValid), 0u);
  EXPECT_EQ(field<const void*>(block, abi::gps::block::kWaypoints), nullptr);
  EXPECT_EQ(state.token(839)->text, "");
  EXPECT_EQ(state.number(84), 90.0);
}

TEST(GpsService, ScenarioRejectsMalformedPlans) {
  const char* cases[] = {
      R"({"gps": {"waypoints": [{"lat": 1, "lon": 2}]}})",
      R"({"gps": {"waypoints": [{"ident": "TOOLONGID", "lat": 1, "lon": 2}]}})",
      R"({"gps": {"waypoints": [{"ident": "A", "lat": 91, "lon": 2}]}})",
      R"({"gps": {"waypoints": [], "turn_rate": 0}})",
      R"({"gps": {"waypoints": [], "aircraft": {"lat": 1}}})",
  };
  for (const char* json : cases) {
    EXPECT_THROW(parse_scenario(json, "bad.json", ""), HostError) << json;
  }
}

// The real map, placed in the map window, reads the block the GPS serves:
// its readouts and tooltip agree with the block.
TEST(GpsService, TheMapReadsTheBlockThroughTheNamedDataService) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);  // the map's click sound, silently
  auto module = Module::load(ORV_REAL_MODULE);
  SimState state;
  const Scenario s = plan_scenario(R"({"waypoints": [
      {"ident": "ORVAN", "lat": 45.05, "lon": 6.0}, {"ident": "BELLE", "lat": 45.1, "lon": 6.1}],
      "aircraft": {"lat": 45, "lon": 6, "heading": 0}})");
  Host host(*module, state);
  const std::size_t map = host.add_instance("Flight_Map", 46, 0, 0);
  state.open_window(46);
  s.apply_initial(state);
  host.start();
  for (int f = 0; f < 18; ++f) {
    host.begin_frame();
    state.advance_sources();
    host.update();
  }
  const std::string tip = host.tooltip(map, 143, 100).text;
  // 185.2 m/s times 1.943844 is 359.9999: the host's whole-number argument
  // truncates.
  EXPECT_EQ(tip.rfind("Ground Speed: 359 knots, Track: 0\xB0, Next Waypoint: ORVAN, Distance: 2.", 0), 0u)
      << tip;
  std::string readouts;
  for (const ElementSlot& slot : host.instance(map).elements()) {
    if (slot.element->kind == abi::kText)
      readouts += std::string(reinterpret_cast<abi::TextElement*>(slot.element)->text) + "|";
  }
  EXPECT_EQ(readouts.rfind("360 kt|000\xB0|ORVAN|2.", 0), 0u) << readouts;
  host.stop();
}

}  // namespace
}  // namespace orv::host
