// Shared set-up of the HUD tests: the cockpit mode values and the glideslope
// filters saved and restored around each test, a fake host, a placed copy of
// the gauge, and the symbols of the element chain found by their callbacks.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <tuple>

#include "cockpit/mode_state.h"
#include "element_kind.h"
#include "frame/elements.h"
#include "frame/registry.h"
#include "hud/head_up_display.h"
#include "hud/hud_symbols.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace orv::test {

// The element callback of a record (its first channel's that has one): what
// ties it to its symbol routine.
inline abi::ElementFn callback_of(const abi::ElementHeader* h) {
  host::ElementChannels channels = host::element_channels(const_cast<abi::ElementHeader*>(h));
  for (const host::ElementChannel& c : channels)
    if (c.callback != nullptr) return c.callback;
  return nullptr;
}

// A symbol drawn in four colour copies: the element callback of each copy,
// by colour index. Tests find the copies in the chain by these, so they hold
// whatever the drawing order.
using Copies = std::array<abi::ElementFn, 4>;
template <auto Fn>
inline constexpr Copies kCopiesOf = {&hud::colour_callback<Fn, 0>, &hud::colour_callback<Fn, 1>,
                                     &hud::colour_callback<Fn, 2>, &hud::colour_callback<Fn, 3>};

inline constexpr const Copies& kCourse = kCopiesOf<hud::hud_course_text>;
inline constexpr const Copies& kGlideslope = kCopiesOf<hud::hud_glideslope_caret>;
inline constexpr const Copies& kLocalizer = kCopiesOf<hud::hud_localizer_caret>;
inline constexpr const Copies& kAngleOfAttack = kCopiesOf<hud::hud_angle_of_attack_text>;
inline constexpr const Copies& kAirspeed = kCopiesOf<hud::hud_airspeed_text>;
inline constexpr const Copies& kHeadingTape = kCopiesOf<hud::hud_heading_tape>;
inline constexpr const Copies& kFlightPath = kCopiesOf<hud::hud_flight_path_marker>;
inline constexpr const Copies& kPitchLadder = kCopiesOf<hud::hud_pitch_ladder>;
inline constexpr const Copies& kAltitude = kCopiesOf<hud::hud_altitude_text>;
inline constexpr const Copies& kBankPointer = kCopiesOf<hud::hud_bank_pointer>;
inline constexpr const Copies* kColourSymbols[] = {&kCourse,   &kGlideslope,  &kLocalizer,  &kAngleOfAttack,
                                                   &kAirspeed, &kHeadingTape, &kFlightPath, &kPitchLadder,
                                                   &kAltitude, &kBankPointer};

// Symbols drawn in one element.
inline constexpr abi::ElementFn kGlass = &hud::single_callback<hud::hud_glass>;
inline constexpr abi::ElementFn kToFrom = &hud::single_callback<hud::hud_to_from_arrow>;
inline constexpr abi::ElementFn kNavSource = &hud::single_callback<hud::hud_nav_source_label>;

// The colour index of the copy at chain position `i`, or -1 for an element
// drawn once.
inline int colour_of(const GaugeCopy& hud, std::size_t i) {
  const abi::ElementFn fn = callback_of(hud.original(i));
  for (const Copies* symbol : kColourSymbols) {
    for (int c = 0; c < 4; ++c) {
      if ((*symbol)[c] == fn) return c;
    }
  }
  return -1;
}

// The chain position of the element bound to `fn`.
inline std::size_t position_of(const GaugeCopy& hud, abi::ElementFn fn) {
  for (std::size_t i = 0; i < hud.size(); ++i) {
    if (callback_of(hud.original(i)) == fn) return i;
  }
  ADD_FAILURE() << "no element with this callback";
  return 0;
}

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
  abi::f64 eval(abi::ElementFn symbol) { return eval(position_of(hud, symbol)); }

  FakeHost host;
  GaugeCopy hud{gauges::head_up_display};

 private:
  std::tuple<std::int32_t, std::uint32_t, std::int32_t, std::int32_t, std::int32_t> saved_;
  double saved_filter_[4] = {};
};

}  // namespace orv::test
