#include "traffic/traffic_client.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "support/fake_host.h"
#include "traffic/fake_traffic.h"

namespace orv::traffic {
namespace {

using test::FakeAircraft;
using test::FakeHost;
using test::FakeTraffic;

constexpr double kNmPerDegree = 60.0;  // one arcminute per nautical mile on the client's sphere

TEST(GreatCircle, DistanceAndBearingFromTheUser) {
  // Point 1 the aircraft, point 2 the user.
  const struct {
    double lat1, lon1, lat2, lon2, distance, bearing;
  } cases[] = {
      {0, 10 / kNmPerDegree, 0, 0, 10, 90},
      {0, -10 / kNmPerDegree, 0, 0, 10, 270},
      {10 / kNmPerDegree, 0, 0, 0, 10, 0},
      {45, 7, 45, 7, 0, 180},  // identical positions
      {90, 0, 0, 0, 5400, 0},
      {0, -179.9, 0, 179.9, 12, 90},  // east across the antimeridian
      {0, 180, 0, 0, 10800, 90},      // antipodes
  };
  for (const auto& c : cases) {
    const GreatCircle g = great_circle(c.lat1, c.lon1, c.lat2, c.lon2);
    EXPECT_NEAR(g.distance, c.distance, 1e-6 * std::max(1.0, c.distance)) << c.lat1 << "," << c.lon1;
    EXPECT_NEAR(g.bearing, c.bearing, 1e-6) << c.lat1 << "," << c.lon1;
  }
}

TEST(GreatCircle, BearingStaysFiniteWhereTheFormulaDividesByNearZero) {
  for (const auto& [lat1, lat2] : {std::pair{89.0, 90.0}, std::pair{-89.5, -90.0}, std::pair{10.0, 90.0}}) {
    const GreatCircle g = great_circle(lat1, 3.0, lat2, 3.0);
    EXPECT_TRUE(std::isfinite(g.bearing)) << lat1 << " from " << lat2;
    EXPECT_GE(g.bearing, 0.0);
    EXPECT_LE(g.bearing, 360.0);
  }
}

TEST(Threat, LevelByTimeToCloseAndEngine) {
  const struct {
    double engine, closure, slant;
    std::int32_t level;
  } cases[] = {
      {1, 1000, 36000, kThreatNone},    {1, 1000, 34000, kThreatCaution},  // closes in 36 s, 34 s
      {1, 1000, 20000, kThreatWarning}, {0, 5000, 20000, kThreatEngineOff},
      {1, 1000, 0, kThreatNone},        {1, std::numeric_limits<double>::quiet_NaN(), 100, kThreatNone},
  };
  for (const auto& c : cases)
    EXPECT_EQ(threat_level(c.engine, c.closure, c.slant), c.level)
        << c.engine << " " << c.closure << " " << c.slant;
}

class ClientTest : public testing::Test {
 protected:
  FakeHost host;
  FakeTraffic traffic{host};

  void clock(double seconds) { host.tokens[kClockToken] = seconds; }
  FakeAircraft at_nm_north(std::uint32_t id, double nm, double alt = 0.0) {
    FakeAircraft a;
    a.id = id;
    a.lat = nm / kNmPerDegree;
    a.alt = alt;
    return a;
  }
};

// An aircraft `start` NM north closing at 300 knots level, refreshed at
// clock 0 and 1 s: the closure is about 506 ft/s and the level follows the
// range.
TEST_F(ClientTest, ClosureAndThreatFromTwoRefreshes) {
  struct Case {
    double start_nm;
    bool engine;
    std::int32_t level;
  };
  for (const Case& c : {Case{10, true, kThreatNone}, Case{2, true, kThreatCaution},
                        Case{1, true, kThreatWarning}, Case{1, false, kThreatEngineOff}}) {
    clock(0.0);
    TrafficClient client;
    traffic.aircraft = {at_nm_north(7, c.start_nm)};
    traffic.aircraft[0].engine = c.engine;
    ASSERT_EQ(client.refresh(100, 144.0), 1u);
    EXPECT_EQ(client.records()[0].threat, kThreatNone) << "first refresh has nothing to compare";
    clock(1.0);
    traffic.aircraft = {at_nm_north(7, c.start_nm - 300.0 / 3600.0)};
    traffic.aircraft[0].engine = c.engine;
    ASSERT_EQ(client.refresh(100, 144.0), 1u);
    const TrafficRecord& r = client.records()[0];
    EXPECT_NEAR(r.closure_rate, 300.0 / 3600.0 * kMetresPerNm * kFeetPerMetre, 1e-6) << c.start_nm;
    EXPECT_EQ(r.threat, c.level) << c.start_nm;
  }
}

// A refresh at the same clock matches nothing (no closure); one that finds
// nobody keeps the last list.
TEST_F(ClientTest, SameClockMatchesNothingAndAnEmptyRefreshKeepsTheList) {
  clock(5.0);
  TrafficClient client;
  traffic.aircraft = {at_nm_north(7, 1.0), at_nm_north(9, 5.0)};
  client.refresh(100, 144.0);
  traffic.aircraft = {at_nm_north(7, 0.5), at_nm_north(9, 5.0)};
  ASSERT_EQ(client.refresh(100, 144.0), 2u);
  EXPECT_EQ(client.records()[0].closure_rate, 0.0);
  EXPECT_EQ(client.records()[0].threat, kThreatNone);
  traffic.aircraft.clear();
  EXPECT_EQ(client.refresh(100, 144.0), 0u);
  ASSERT_EQ(client.count(), 2u);
  EXPECT_EQ(client.records()[1].id, 9u);
}

TEST_F(ClientTest, FullDataTrackSpeedAndRelativeAltitude) {
  traffic.user_alt = 5000.0;
  TrafficClient client;
  FakeAircraft a = at_nm_north(4, 3.0, 6200.0);
  a.north = 100.0;
  a.east = -100.0;
  a.atc = "N123AB";
  FakeAircraft own;  // the user's aircraft, as the service lists it
  own.id = 1;
  own.alt = 5001.0;
  traffic.aircraft = {a, own};
  client.refresh(100, 144.0);
  const TrafficRecord& r = client.records()[0];
  EXPECT_EQ(client.records()[1].slant_range, 0.0);
  EXPECT_NEAR(r.track, 315.0, 1e-9);
  EXPECT_NEAR(r.ground_speed, std::sqrt(2.0) * 100.0, 1e-9);
  EXPECT_DOUBLE_EQ(r.relative_altitude, 1200.0);
  EXPECT_STREQ(r.atc_id, "N123AB");
}

TEST_F(ClientTest, ReducedDataGroundSpeedFromTheMoveSinceTheLastRefresh) {
  traffic.reduced = true;
  clock(0.0);
  TrafficClient client;
  FakeAircraft moving = at_nm_north(1, 5.0), still = at_nm_north(2, 6.0);
  moving.heading = 123.0;
  moving.name = "A NAME LONGER THAN TEN";
  traffic.aircraft = {moving, still};
  client.refresh(100, 144.0);
  EXPECT_EQ(client.records()[0].ground_speed, 0.0);
  clock(10.0);
  traffic.aircraft[0].lat = 6.0 / kNmPerDegree;  // one NM in ten seconds
  client.refresh(100, 144.0);
  const TrafficRecord& r = client.records()[0];
  EXPECT_NEAR(r.ground_speed, 360.0, 1e-6);
  EXPECT_EQ(client.records()[1].ground_speed, 1.0);
  EXPECT_EQ(r.track, 123.0);
  EXPECT_EQ(r.engine_running, 1.0);
  EXPECT_STREQ(r.atc_id, "A NAME LON");
}

// What a faulty service may do: the client keeps to its buffers and lists.
TEST_F(ClientTest, BadServiceAnswers) {
  TrafficClient client;
  traffic.aircraft = {at_nm_north(5, 1), at_nm_north(6, 2), at_nm_north(7, 3)};
  traffic.extra_count = 1000;  // claims more than it was asked for
  EXPECT_EQ(client.refresh(2, 144.0), 2u);
  traffic.extra_count = 0;

  traffic.aircraft = {at_nm_north(0, 1), at_nm_north(5, 2), at_nm_north(0, 3)};
  EXPECT_EQ(client.refresh(100, 144.0), 1u) << "id 0 names nobody";
  EXPECT_EQ(client.records()[0].id, 5u);
  traffic.aircraft = {at_nm_north(0, 1)};
  EXPECT_EQ(client.refresh(100, 144.0), 0u);
  EXPECT_EQ(client.count(), 1u);

  traffic.unterminated_ids = true;
  traffic.aircraft = {at_nm_north(8, 1)};
  traffic.aircraft[0].atc = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  client.refresh(100, 144.0);
  EXPECT_STREQ(client.records()[0].atc_id, "ABCDEFGHIJ");

  traffic.reduced = true;
  traffic.aircraft[0].name = nullptr;
  client.refresh(100, 144.0);
  EXPECT_STREQ(client.records()[0].atc_id, "");
}

TEST(ClientWithoutService, FindsNobody) {
  FakeHost host;
  TrafficClient client;
  EXPECT_EQ(client.refresh(100, 144.0), 0u);
  EXPECT_EQ(client.count(), 0u);
  EXPECT_EQ(client.records(), nullptr);
}

}  // namespace
}  // namespace orv::traffic
