#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cockpit/mode_state.h"
#include "controls/control_state.h"
#include "controls/knob_step.h"
#include "frame/registry.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace {

using namespace orv;
using namespace orv::abi;
using orv::controls::KnobHalf;
using orv::test::FakeHost;
using orv::test::GaugeCopy;
using orv::test::KeyEvent;

constexpr u32 kLeft = kMouseLeftSingle;
constexpr u32 kRight = kMouseRightSingle;
constexpr u32 kWheel = kMouseWheelLike;
constexpr std::size_t kDownHalf = 0;
constexpr std::size_t kUpHalf = 1;

// The module-wide values these gauges share, at their load values.
class SwitchesAndKnobs : public ::testing::Test {
 protected:
  void SetUp() override {
    cockpit::nav_source_nav1 = 1;
    controls::heading_bug_deg = controls::obs_course_deg = 0;
  }
  FakeHost host;
};

TEST(KnobStep, WrapsAtBothEndsOfTheDial) {
  struct Case {
    i32 v;
    KnobHalf half;
    u32 flags;
    i32 result;
  };
  const Case cases[] = {
      {0, KnobHalf::kDown, kLeft, 359},   {1, KnobHalf::kDown, kLeft, 0},
      {180, KnobHalf::kDown, kLeft, 179}, {5, KnobHalf::kDown, kRight, 355},
      {9, KnobHalf::kDown, kRight, 359},  {10, KnobHalf::kDown, kRight, 0},
      {359, KnobHalf::kUp, kLeft, 0},     {358, KnobHalf::kUp, kLeft, 359},
      {400, KnobHalf::kUp, kLeft, 0},     {349, KnobHalf::kUp, kRight, 359},
      {350, KnobHalf::kUp, kRight, 0},    {355, KnobHalf::kUp, kRight, 5},
      {-5, KnobHalf::kDown, kLeft, 359},  {7, KnobHalf::kUp, kLeft | kRight, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.v) + (c.half == KnobHalf::kUp ? " up" : " down") + " flags " +
                 std::to_string(c.flags));
    i32 v = c.v;
    EXPECT_TRUE(controls::knob_step(v, c.half, c.flags));
    EXPECT_EQ(v, c.result);
  }
  i32 v = 42;
  EXPECT_FALSE(controls::knob_step(v, KnobHalf::kUp, kWheel));
  EXPECT_EQ(v, 42);
}

TEST(KnobStep, TokenValuesTruncateTowardZero) {
  EXPECT_EQ(controls::whole_degrees(0.6), 0);
  EXPECT_EQ(controls::whole_degrees(359.99), 359);
  EXPECT_EQ(controls::whole_degrees(-0.6), 0);
  EXPECT_EQ(controls::whole_degrees(std::nan("")), 0);
  EXPECT_EQ(controls::whole_degrees(1e300), 0);
}

TEST_F(SwitchesAndKnobs, HeadingKnobStepsFromTheHostsHeadingBugAndShowsWhatItLastSet) {
  GaugeCopy knob(gauges::heading_selector_button);
  auto* needle = knob.first<NeedleElement>(kNeedle);
  host.tokens[855] = 123.7;
  EXPECT_EQ(needle->callback(needle), 0.0);  // no click through this knob yet
  host.tokens[855] = 0.6;
  knob.click(kDownHalf, kLeft);
  EXPECT_EQ(controls::heading_bug_deg, 359);
  host.tokens[855] = 355;
  knob.click(kUpHalf, kRight);
  EXPECT_EQ(controls::heading_bug_deg, 5);
  knob.click(kUpHalf, kWheel);  // neither left nor right: nothing
  EXPECT_EQ(host.events, (std::vector<KeyEvent>{{66042, 359}, {66042, 5}}));
  EXPECT_EQ(needle->callback(needle), 5.0);
  EXPECT_EQ(knob.tooltip_number(0), 5.0);
}

TEST_F(SwitchesAndKnobs, IlsTacanSwitchPicksTheReceiverTheCourseKnobReadsAndSets) {
  GaugeCopy knob(gauges::omni_bearing_selector);
  GaugeCopy ils_tac(gauges::ils_tac_switch);
  auto* needle = knob.first<NeedleElement>(kNeedle);
  auto* lever = ils_tac.first<IconElement>(kIcon);
  host.tokens[45] = 5.0;    // NAV 1 course
  host.tokens[54] = 350.9;  // NAV 2 course

  EXPECT_EQ(lever->callback(lever), 0.0);
  EXPECT_STREQ(ils_tac.tooltip_text(0), "NAV1");
  EXPECT_EQ(needle->callback(needle), 5.0);
  EXPECT_STREQ(knob.tooltip_text(0), "VOR1");
  knob.click(kDownHalf, kRight);
  EXPECT_EQ(host.events.back(), (KeyEvent{65716, 355}));
  EXPECT_EQ(knob.tooltip_number(1), 355.0);

  EXPECT_EQ(ils_tac.click(0, kLeft), 0);  // to TACAN: NAV 2
  EXPECT_EQ(cockpit::nav_source_nav1, 0);
  EXPECT_EQ(lever->callback(lever), 1.0);
  EXPECT_STREQ(ils_tac.tooltip_text(0), "NAV2");
  EXPECT_STREQ(knob.tooltip_text(0), "VOR2");
  EXPECT_EQ(needle->callback(needle), 350.0);
  knob.click(kUpHalf, kRight);
  EXPECT_EQ(host.events.back(), (KeyEvent{65717, 0}));
  knob.click(kUpHalf, kWheel);  // a click of another kind still sends the course it read
  EXPECT_EQ(host.events.back(), (KeyEvent{65717, 350}));

  ils_tac.click(0, kLeft);  // back to ILS
  EXPECT_EQ(needle->callback(needle), 5.0);
  EXPECT_EQ(host.token_reads.back(), 45u);
  EXPECT_EQ(host.events.size(), 3u);  // the switch itself sends nothing
}

// A source above 0 reads as GPS, anything else as NAV (the click's event and
// the host's answer are the cockpit test's).
TEST_F(SwitchesAndKnobs, NavGpsSwitchShowsGpsAboveZero) {
  GaugeCopy nav_gps(gauges::nav_gps_switch);
  for (auto [token, text] : {std::pair{0.5, "GPS"}, {0.0, "NAV"}, {-1.0, "NAV"}, {std::nan(""), "NAV"}}) {
    host.tokens[848] = token;
    EXPECT_STREQ(nav_gps.tooltip_text(0), text);
  }
}

}  // namespace
