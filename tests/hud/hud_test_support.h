// Shared set-up of the HUD tests: the cockpit mode values and the glideslope
// filters saved and restored around each test, a fake host, a placed copy of
// the gauge, and the colour copy table of the element chain.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "cockpit/mode_state.h"
#include "frame/elements.h"
#include "frame/registry.h"
#include "hud/head_up_display.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace orv::test {

class HudTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = {cockpit::hud_on, cockpit::hud_colour, cockpit::nav_source_nav1, cockpit::nav1_on,
              cockpit::nav2_on};
    std::memcpy(saved_filter_, hud::hud_glideslope_filter, sizeof saved_filter_);
    for (double& f : hud::hud_glideslope_filter) f = 0.0;
    set_mode(true, 0);
    cockpit::nav_source_nav1 = 1;
    cockpit::nav1_on = 1;
    cockpit::nav2_on = 1;
  }
  void TearDown() override {
    cockpit::hud_on = saved_.hud_on;
    cockpit::hud_colour = saved_.hud_colour;
    cockpit::nav_source_nav1 = saved_.nav_source_nav1;
    cockpit::nav1_on = saved_.nav1_on;
    cockpit::nav2_on = saved_.nav2_on;
    std::memcpy(hud::hud_glideslope_filter, saved_filter_, sizeof saved_filter_);
  }

  static void set_mode(bool on, abi::u32 colour) {
    cockpit::hud_on = on ? 1 : 0;
    cockpit::hud_colour = colour;
  }

  abi::f64 eval(std::size_t i) { return hud.evaluate(i); }

  FakeHost host;
  GaugeCopy hud{gauges::head_up_display};

 private:
  struct Saved {
    std::int32_t hud_on;
    std::uint32_t hud_colour;
    std::int32_t nav_source_nav1, nav1_on, nav2_on;
  } saved_{};
  double saved_filter_[4] = {};
};

using namespace hud::chain;

// The position of colour copy `colour` in the group starting at `first`.
constexpr std::size_t copy_at(std::size_t first, abi::u32 colour) { return first + 3 - colour; }

inline int colour_of(std::size_t position) {
  if (position >= kCourse && position < kNavSource) return 3 - static_cast<int>(position - kCourse);
  if (position >= kGlideslope) return 3 - static_cast<int>((position - kGlideslope) % 4);
  return -1;
}

}  // namespace orv::test
