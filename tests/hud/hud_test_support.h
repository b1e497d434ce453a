// Shared set-up of the HUD tests: the cockpit mode values and the glideslope
// filters saved and restored around each test, a fake host, a placed copy of
// the gauge, and the colour copy table of the element chain.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "cockpit/mode_state.h"
#include "frame/elements.h"
#include "frame/registry.h"
#include "hud/head_up_display.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace orv::test {

// The cockpit values the HUD reads, saved and restored around each test.
inline auto shared_values() {
  return std::tie(cockpit::hud_on, cockpit::hud_colour, cockpit::nav_source_nav1, cockpit::nav1_on,
                  cockpit::nav2_on);
}

class HudTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = shared_values();
    std::memcpy(saved_filter_, hud::hud_glideslope_filter, sizeof saved_filter_);
    shared_values() = std::tuple(1, 0u, 1, 1, 1);  // on, light green, NAV 1, both radios on
    for (double& f : hud::hud_glideslope_filter) f = 0.0;
  }
  void TearDown() override {
    shared_values() = saved_;
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
  std::tuple<std::int32_t, std::uint32_t, std::int32_t, std::int32_t, std::int32_t> saved_;
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
