#include "controls/screen_selectors.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "cockpit/mode_state.h"
#include "frame/registry.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace {

using namespace orv::abi;
using orv::test::FakeHost;
using orv::test::GaugeCopy;
using orv::test::KeyEvent;
namespace cockpit = orv::cockpit;

constexpr f64 kNaN = std::numeric_limits<f64>::quiet_NaN();
constexpr f64 kInf = std::numeric_limits<f64>::infinity();
constexpr u32 kLeft = kMouseLeftSingle;
constexpr u32 kRight = kMouseRightSingle;

// The two selectors, with their own active flag and overlay windows.
struct SelectorCase {
  std::size_t index;
  std::int32_t* active;
  u32 radar_window, map_window;
};
const SelectorCase kSelectorCases[] = {{0, &orv::controls::main_selector_active, 44, 46},
                                       {1, &orv::controls::landing_selector_active, 45, 47}};

// Buttons in reading order, which is also their mouse list order. Drawing
// order: panel, backlight, the buttons' icons from the last to the first
// (icon value b of update() belongs to button 9 - b), clock.
enum : std::size_t { kHudButton = 0, kMain = 0, kLanding = 1 };

class ScreenSelector : public ::testing::Test {
 protected:
  void SetUp() override {
    cockpit::left_mfd_page = cockpit::right_mfd_page = 0;
    cockpit::hud_on = 0;
    cockpit::hud_colour = 0;
    orv::controls::main_selector_active = orv::controls::landing_selector_active = 0;
  }

  // Evaluates every element as the host does; returns the icon values in
  // drawing order and keeps the clock's text.
  std::vector<f64> update(std::size_t s, f64 supply) {
    host.tokens[753] = supply;
    std::vector<f64> icons;
    for (std::size_t i = 0; i < selector[s].size(); ++i) {
      const f64 value = selector[s].evaluate(i);
      if (selector[s].element(i)->kind == kIcon) icons.push_back(value);
      if (selector[s].element(i)->kind == kText) clock = {value, selector[s].text(i)};
    }
    return icons;
  }
  // A click as the host delivers it: only the kinds the box asks for.
  void click(std::size_t s, std::size_t button, u32 flags) { EXPECT_LE(selector[s].click(button, flags), 0); }

  FakeHost host;
  GaugeCopy selector[2] = {GaugeCopy(orv::gauges::screen_selector_main),
                           GaugeCopy(orv::gauges::screen_selector_landing)};
  std::pair<f64, std::string> clock;
};

TEST_F(ScreenSelector, PanelLightsOnlyAboveTwenty) {
  cockpit::left_mfd_page = 5;
  cockpit::right_mfd_page = 1;
  cockpit::hud_on = 1;
  const std::vector<f64> lit = {0, 1, 0, 0, 0, 0, 0, 1, 0, 1};  // backlight, page 5, controls, HUD
  const std::vector<f64> dark(10, -1.0);
  const std::pair<f64, bool> cases[] = {{20.0, false},  {20.0001, true}, {0.0, false},  {kNaN, false},
                                        {-kInf, false}, {kInf, true},    {1e300, true}, {-1e300, false}};
  for (const SelectorCase& s : kSelectorCases) {
    for (auto [supply, on] : cases) {
      SCOPED_TRACE(::testing::Message() << s.index << " supply " << supply);
      EXPECT_EQ(update(s.index, supply), on ? lit : dark);
      EXPECT_EQ(*s.active, on ? 1 : 0);
    }
  }
}

// A dark selector ignores every click though the other one is lit (each
// reads its own active flag); its clock runs.
TEST_F(ScreenSelector, DarkPanelIgnoresEveryClickButTheClockRuns) {
  host.tokens = {{3, 12.0}, {4, 34.0}, {5, 56.0}};
  for (const SelectorCase& s : kSelectorCases) {
    update(1 - s.index, 28.0);
    update(s.index, 20.0);
    for (std::size_t b = 0; b < 9; ++b) {
      click(s.index, b, kLeft);
      click(s.index, b, kRight);
    }
    EXPECT_EQ(clock.second, "12:34:56");
  }
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(cockpit::left_mfd_page + cockpit::right_mfd_page + cockpit::hud_on, 0);
  EXPECT_EQ(cockpit::hud_colour, 0u);
}

TEST_F(ScreenSelector, PageButtonsSelectTheirPageThenSendWindowEventsInOrder) {
  enum Window { kRadar, kMap };
  const struct {
    std::size_t button;
    i32 left_page, right_page;  // 0: unchanged
    std::vector<std::pair<u32, Window>> events;
  } cases[] = {
      {1, 1, 0, {{66507, kRadar}, {66508, kMap}}},
      {2, 0, 1, {}},
      {3, 4, 0, {{66508, kRadar}, {66508, kMap}}},
      {4, 3, 0, {{66508, kRadar}, {66508, kMap}}},
      {5, 0, 2, {}},
      {6, 2, 0, {{66507, kMap}, {66508, kRadar}}},
      {7, 0, 3, {}},
      {8, 5, 0, {{66508, kRadar}, {66508, kMap}}},
  };
  for (const SelectorCase& s : kSelectorCases) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << s.index << " button " << c.button);
      cockpit::left_mfd_page = cockpit::right_mfd_page = 9;  // neither display shows a page
      update(s.index, 28.0);
      std::vector<KeyEvent> expected;
      for (auto [event, window] : c.events)
        expected.push_back({event, window == kRadar ? s.radar_window : s.map_window});
      for (int again = 0; again < 2; ++again) {  // choosing the shown page sends its events again
        host.events.clear();
        click(s.index, c.button, kLeft);
        EXPECT_EQ(cockpit::left_mfd_page, c.left_page != 0 ? c.left_page : 9);
        EXPECT_EQ(cockpit::right_mfd_page, c.right_page != 0 ? c.right_page : 9);
        EXPECT_EQ(host.events, expected);
      }
      const std::vector<f64> icons = update(s.index, 28.0);
      for (std::size_t i = 1; i < 9; ++i) EXPECT_EQ(icons[i], i == 9 - c.button ? 1.0 : 0.0) << i;
    }
  }
}

TEST_F(ScreenSelector, HudButtonCyclesColourOnLeftAndSwitchesOnRight) {
  update(kMain, 50.0);
  auto hud = [&](u32 flags) { click(kMain, kHudButton, flags); };
  auto hud_name = [&] { return std::string(selector[kMain].tooltip_text(0)); };
  for (u32 expected : {1u, 2u, 3u, 0u}) {  // four left clicks come back round
    hud(kLeft);
    EXPECT_EQ(cockpit::hud_colour, expected);
    EXPECT_EQ(hud_name(), "off");
  }
  EXPECT_EQ(update(kMain, 50.0).back(), 0.0);
  hud(kRight);
  EXPECT_EQ(cockpit::hud_on, 1);
  EXPECT_EQ(update(kMain, 50.0).back(), 1.0);
  for (const char* name : {"light green", "middle green", "dark green", "red"}) {
    EXPECT_EQ(hud_name(), name);
    if (cockpit::hud_colour < 3) hud(kLeft | kRight);  // both bits count as left
  }
  hud(kRight);  // red HUD goes off ...
  EXPECT_EQ(cockpit::hud_on, 0);
  EXPECT_EQ(cockpit::hud_colour, 0u);
  hud(kLeft);
  hud(kRight);  // ... and comes back in light green
  EXPECT_EQ(cockpit::hud_on, 1);
  EXPECT_EQ(cockpit::hud_colour, 0u);
  for (u32 stray : {4u, 0xFFFFFFFFu}) {  // any value past red wraps to light green
    cockpit::hud_colour = stray;
    EXPECT_EQ(hud_name(), "off");
    hud(kLeft);
    EXPECT_EQ(cockpit::hud_colour, 0u);
  }
  EXPECT_TRUE(host.events.empty());
}

TEST_F(ScreenSelector, TooltipArgumentsDescribeThePages) {
  const struct {
    i32 left, right;
    const char *radar, *controls;
  } cases[] = {{1, 1, "On", "On"}, {2, 3, "Off", "Off"}, {1, -1, "On", "Off"}};
  for (const auto& c : cases) {
    cockpit::left_mfd_page = c.left;
    cockpit::right_mfd_page = c.right;
    EXPECT_STREQ(selector[kLanding].tooltip_text(1), c.radar);
    EXPECT_STREQ(selector[kLanding].tooltip_text(2), c.controls);
  }
}

TEST_F(ScreenSelector, ClockShowsTokensThreeFourFiveAndReturnsTheirSum) {
  const struct {
    f64 h, m, s;
    const char* text;
    f64 sum;
  } cases[] = {{9, 5, 3, "09:05:03", 17},
               {23, 59, 59.4, "23:59:59", 141.4},
               {kNaN, 1e300, -kInf, "00:99:00", 99},
               {-3, kInf, 123456, "00:00:99", 99},
               // Halves round to even, as the C library rounds; negative zero keeps its sign.
               {12.5, 13.5, 0.5, "12:14:00", 26.5},
               {-0.0, 98.5, 99, "-0:98:99", 197.5}};
  for (const auto& c : cases) {
    host.tokens = {{3, c.h}, {4, c.m}, {5, c.s}};
    update(kMain, 0.0);
    EXPECT_EQ(clock.second, c.text);
    EXPECT_DOUBLE_EQ(clock.first, c.sum);
  }
  EXPECT_TRUE(selector[kMain].guards_intact());
}

}  // namespace
