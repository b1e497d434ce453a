#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cockpit/mode_state.h"
#include "frame/registry.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace {

using namespace orv;
using namespace orv::abi;
using orv::test::FakeHost;
using orv::test::GaugeCopy;
using orv::test::KeyEvent;

constexpr u32 kLeft = kMouseLeftSingle;
constexpr u32 kRight = kMouseRightSingle;

// The events one left click sends after set-up; the host's string stays
// whole and every byte of it inside its buffer.
std::vector<KeyEvent> click_once(GaugeHeader& gauge, const char* parameters) {
  FakeHost host;
  GaugeCopy toggle(gauge, parameters);
  toggle.service(kServiceInstall);
  host.events.clear();
  toggle.click(0, kLeft);
  EXPECT_TRUE(toggle.guards_intact());
  EXPECT_EQ(toggle.parameters(), parameters ? parameters : "");
  return host.events;
}

TEST(ParameterToggle, ClickWithoutParametersClosesTheWindowHoldingIt) {
  for (const char* parameters : {static_cast<const char*>(nullptr), ""}) {
    FakeHost host;
    GaugeCopy close(gauges::close_subpanel, parameters);
    close.service(kServiceInstall);
    close.click(0, kLeft);
    EXPECT_EQ(host.window_closes, std::vector<u32>{0});
    EXPECT_TRUE(host.events.empty());
  }
}

TEST(ParameterToggle, OpensThenClosesThenTogglesThenStepsViews) {
  const std::pair<const char*, std::vector<KeyEvent>> cases[] = {
      {"t225 o50", {{66507, 50}, {66506, 225}}},
      {"p2 t5 c6 o7 o8", {{66507, 7}, {66507, 8}, {66508, 6}, {66506, 5}, {65734, 0}, {65734, 0}}},
      {"oGPS_PANEL cRADIO_STACK_PANEL", {{66507, 225}, {66508, 50}}},
      {"o-1 oFOO o", {{66507, 0}}},
      {"o50 # o75 p3", {{66507, 50}}},
      {"p-2", {{65735, 0}, {65735, 0}}},
      {"p0", {{65875, 0}}},
      {"p3 p5", {{65734, 0}, {65734, 0}, {65734, 0}}},
      {"p2147483647999", std::vector<KeyEvent>(10000, {65734, 0})},  // a huge view count is bounded
      {"p-2147483648", std::vector<KeyEvent>(10000, {65735, 0})},
      {"NO KEYS HERE", {}},
      {"'o50", {}},
  };
  for (const auto& [parameters, events] : cases) {
    SCOPED_TRACE(parameters);
    EXPECT_EQ(click_once(gauges::radios_toggle, parameters), events);
  }
}

TEST(ParameterToggle, BitmapAndHelpAreReplacedOnlyByAnAllowedBitmap) {
  struct Case {
    const char* parameters;
    u32 bitmap, help;
  };
  // Radios_Toggle: bitmap 120, help 43910.
  const Case cases[] = {
      {"b170 h43911", 120, 43910},  {"b150 h43911", 150, 43911},        {"b100", 100, 43910},
      {"b90 h43911", 120, 43910},   {"hTOGGLE_GPS_WINDOW", 120, 43911}, {"h40959", 120, 0},
      {"#b150 h43911", 120, 43910}, {"h43911 b160", 160, 43911},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parameters);
    FakeHost host;
    GaugeCopy toggle(gauges::radios_toggle, c.parameters);
    toggle.service(kServiceInstall);
    EXPECT_EQ(toggle.element(0)->bitmap, c.bitmap);
    EXPECT_EQ(toggle.mouse(kMouseArea)->help_id, c.help);
  }
  // The registered records stay as they were: every instance has its own.
  EXPECT_EQ(gauges::radios_toggle.elements[0]->bitmap, 120u);
  EXPECT_EQ(gauges::radios_toggle.mouse_rects[0].help_id, 43910u);
}

TEST(ParameterToggle, ClosesTheAWindowOnlyAtTheFirstSetUpOfTheInstance) {
  struct Case {
    const char* parameters;
    std::vector<KeyEvent> events;
    uptr once_flag;
  };
  const Case cases[] = {
      {"aGPS_PANEL b140", {{66508, 225}}, 1},
      {"a", {}, 1},    // empty reference: no window, flag set
      {"a-5", {}, 1},  // negative: no window
      {nullptr, {}, 1},
      {"b170 a50", {}, 0},  // a refused bitmap ends the set-up there
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parameters ? c.parameters : "(null)");
    FakeHost host;
    GaugeCopy toggle(gauges::gps_toggle, c.parameters);
    toggle.service(kServiceInstall);
    toggle.service(kServicePreUpdate);
    toggle.service(kServiceInstall);
    EXPECT_EQ(host.events, c.events);
    EXPECT_EQ(toggle.header.user_word, c.once_flag);
  }
  // Two instances of one gauge have their own once-flags.
  FakeHost host;
  GaugeCopy first(gauges::gps_toggle, "a50"), second(gauges::gps_toggle, "a50");
  first.service(kServiceInstall);
  second.service(kServiceInstall);
  EXPECT_EQ(host.events, (std::vector<KeyEvent>{{66508, 50}, {66508, 50}}));
}

TEST(ParameterToggle, ViewSwitchesReopenTheOverlayOfTheLeftPage) {
  struct Case {
    GaugeHeader* gauge;
    i32 page;
    std::vector<KeyEvent> events;
  };
  const Case cases[] = {
      {&gauges::main_view_toggle_from_landing, 1, {{65734, 0}, {66507, 44}}},
      {&gauges::landing_view_toggle_from_main, 1, {{65734, 0}, {66507, 45}}},
      {&gauges::landing_view_toggle_from_main, 2, {{65734, 0}, {66507, 47}}},
      {&gauges::landing_view_toggle_from_main, 3, {{65734, 0}}},
      {&gauges::main_view_toggle_from_landing, 4, {{65734, 0}}},
      {&gauges::landing_view_toggle, 1, {{65734, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.gauge->name) + " page " + std::to_string(c.page));
    cockpit::left_mfd_page = c.page;
    EXPECT_EQ(click_once(*c.gauge, "p1"), c.events);
  }
}

TEST(WindowButton, OnlyARightClickTogglesItsWindow) {
  const std::pair<GaugeHeader*, u32> cases[] = {{&gauges::attitude_toggle, 43},
                                                {&gauges::mfd2_toggle, 48},
                                                {&gauges::mfd1_toggle, 49},
                                                {&gauges::flight_map_toggle, 50},
                                                {&gauges::radar_toggle, 51}};
  for (auto [gauge, window] : cases) {
    FakeHost host;
    GaugeCopy button(*gauge);
    EXPECT_EQ(button.click(0, kLeft), -1);  // not asked for
    EXPECT_EQ(button.click(0, kRight), 0);
    EXPECT_EQ(host.events, (std::vector<KeyEvent>{{66506, window}})) << gauge->name;
  }
}

}  // namespace
