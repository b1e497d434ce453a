#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "cockpit/mode_state.h"
#include "frame/registry.h"
#include "support/fake_host.h"

namespace {

using namespace orv::abi;
using orv::test::FakeHost;
using orv::test::KeyEvent;
namespace cockpit = orv::cockpit;

class EngineOn : public ::testing::Test {
 protected:
  void SetUp() override {
    cockpit::left_mfd_page = cockpit::right_mfd_page = 0;
    cockpit::nav1_on = cockpit::nav2_on = cockpit::com1_on = cockpit::com2_on = 0;
    cockpit::adf_on = cockpit::transponder_on = 0;
    cockpit::fuel_tank_capacity_kg[0] = cockpit::fuel_tank_capacity_kg[1] = 0.0;
  }
  // Calls the gauge as the host does, on its own copy of the header.
  void service(i32 id) {
    GaugeHeader copy = orv::gauges::engine_on;
    copy.callback(&copy, id, 0);
  }
  static bool all_radios_on() {
    return cockpit::nav1_on == 1 && cockpit::nav2_on == 1 && cockpit::com1_on == 1 && cockpit::com2_on == 1 &&
           cockpit::adf_on == 1 && cockpit::transponder_on == 1;
  }
  FakeHost host;
};

// Every panel opening: the radio master switched on only when off, the
// series, every radio on, the navigation pages, the tank capacities (a
// reading of no capacity keeps the last good one).
TEST_F(EngineOn, StartUpSendsTheSeriesSelectsPagesAndReadsCapacities) {
  const struct {
    std::map<u32, f64> tokens;
    std::vector<KeyEvent> events;
  } cases[] = {
      {{{292, 100.0}, {298, 42.5}, {740, 0.0}, {881, 0.0}},
       {{66293, 0}, {65836, 0}, {65832, 0}, {65833, 0}, {65919, 16383}, {65920, 16383}}},
      {{{292, 0.0}, {298, -5.0}, {740, 1.0}, {881, 0.5}},
       {{65836, 0}, {65832, 0}, {65833, 0}, {66477, 0}, {65919, 16383}, {65920, 16383}}},
  };
  for (const auto& c : cases) {
    cockpit::left_mfd_page = 4;
    cockpit::right_mfd_page = 1;
    host.events.clear();
    host.tokens = c.tokens;
    service(kServicePanelOpen);
    EXPECT_EQ(host.events, c.events);
    EXPECT_TRUE(all_radios_on());
    EXPECT_EQ(cockpit::left_mfd_page, 2);
    EXPECT_EQ(cockpit::right_mfd_page, 3);
    EXPECT_EQ(cockpit::fuel_tank_capacity_kg[0], 100.0 * 6.7 * 0.4536);
    EXPECT_EQ(cockpit::fuel_tank_capacity_kg[1], 42.5 * 6.7 * 0.4536);
    cockpit::nav1_on = cockpit::nav2_on = cockpit::com1_on = cockpit::com2_on = 0;
    cockpit::adf_on = cockpit::transponder_on = 0;
  }
}

TEST_F(EngineOn, WatchRulesToggleOnlyDisagreeingFollowers) {
  struct Case {
    f64 follower_a, leader_a, follower_b, leader_b;
    std::vector<KeyEvent> expected;
  };
  const f64 nan = std::numeric_limits<f64>::quiet_NaN();
  const Case cases[] = {
      {0.0, 45.0, 0.0, 0.0, {{66376, 0}}},  // leader at exactly 45 counts as above
      {1.0, 44.99, 0.0, 0.0, {{66376, 0}}},
      {1.0, 45.0, 0.0, 0.0, {}},
      {0.0, 44.99, 1.0, 1.0, {}},
      {0.5, 100.0, 0.5, 0.0, {}},  // followers other than 0 or 1 are left alone
      {0.0, 0.0, 1.0, 0.0, {{66378, 0}}},
      {0.0, 0.0, 0.0, 1.0, {{66378, 0}}},
      {0.0, 0.0, 0.0, 0.5, {}},
      {0.0, 50.0, 1.0, 0.0, {{66376, 0}, {66378, 0}}},
      {nan, nan, nan, nan, {}},
      {1.0, -1e308, 0.0, 1e308, {{66376, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.follower_a << " " << c.leader_a << " " << c.follower_b << " " << c.leader_b);
    host.tokens = {{620, c.follower_a}, {625, c.leader_a}, {632, c.follower_b}, {621, c.leader_b}};
    host.events.clear();
    host.token_reads.clear();
    service(kServicePreUpdate);
    EXPECT_EQ(host.events, c.expected);
    EXPECT_EQ(host.token_reads, (std::vector<u32>{620, 625, 632, 621}));
  }
}

TEST_F(EngineOn, UnreadableCapacitiesKeepTheLastGoodReadingAndOtherServicesDoNothing) {
  const f64 inf = std::numeric_limits<f64>::infinity();
  host.tokens = {{292, 1.0}, {298, 2.0}};
  service(kServicePanelOpen);
  for (f64 bad : {std::numeric_limits<f64>::quiet_NaN(), inf, -inf, 1e308, 0.0}) {
    host.tokens = {{292, bad}, {298, bad}, {740, bad}, {881, bad}};
    service(kServicePanelOpen);
    EXPECT_EQ(cockpit::fuel_tank_capacity_kg[0], 1.0 * 6.7 * 0.4536);
    EXPECT_EQ(cockpit::fuel_tank_capacity_kg[1], 2.0 * 6.7 * 0.4536);
    EXPECT_TRUE(all_radios_on());
  }
  host.events.clear();
  host.token_reads.clear();
  cockpit::left_mfd_page = 0;
  for (i32 id : {kServiceInstall, kServicePostInstall, kServicePreDraw, kServicePreKill, kServicePanelClose})
    service(id);
  EXPECT_TRUE(host.events.empty());
  EXPECT_TRUE(host.token_reads.empty());
  EXPECT_EQ(cockpit::left_mfd_page, 0);
}

}  // namespace
