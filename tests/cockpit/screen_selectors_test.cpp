#include "controls/screen_selectors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
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

struct SelectorCase {
  GaugeHeader* gauge;
  std::int32_t* active;
  u32 radar_window;
  u32 map_window;
};
const SelectorCase kSelectorCases[] = {
    {&orv::gauges::screen_selector_main, &orv::controls::main_selector_active, 44, 46},
    {&orv::gauges::screen_selector_landing, &orv::controls::landing_selector_active, 45, 47},
};

// The buttons in reading order, which is also their mouse list order; the
// icon of button b is element 10 - b (the backlight is element 1).
struct ButtonCase {
  i32 x, y;
};
const ButtonCase kButtonCases[] = {{11, 9},   {82, 9},   {153, 9},  {11, 63},  {82, 63},
                                   {153, 63}, {11, 117}, {82, 117}, {153, 117}};
enum : std::size_t { kHudButton = 0, kRadarButton = 1, kRadiosButton = 4 };

class ScreenSelector : public ::testing::Test {
 protected:
  void SetUp() override {
    cockpit::left_mfd_page = cockpit::right_mfd_page = 0;
    cockpit::hud_on = 0;
    cockpit::hud_colour = 0;
    orv::controls::main_selector_active = orv::controls::landing_selector_active = 0;
  }

  GaugeCopy& selector(const GaugeHeader* g) {
    return g == &orv::gauges::screen_selector_main ? main_copy : landing_copy;
  }

  // Evaluates every element as the host does; returns the icon values in
  // drawing order and keeps the clock's value and text.
  std::vector<f64> update(const GaugeHeader* g, f64 supply) {
    host.tokens[753] = supply;
    GaugeCopy& copy = selector(g);
    std::vector<f64> icons;
    for (std::size_t i = 0; i < copy.size(); ++i) {
      const f64 value = copy.evaluate(i);
      if (copy.element(i)->kind == kIcon) icons.push_back(value);
      if (copy.element(i)->kind == kText) {
        clock_value = value;
        clock_text = copy.text(i);
      }
    }
    return icons;
  }

  // A click delivered the way the host does: only the kinds the box asks for.
  void click(const GaugeHeader* g, std::size_t button, u32 flags) {
    const i32 result = selector(g).click(button, flags);
    EXPECT_TRUE(result == 0 || result == -1);
  }

  std::string tooltip_arg(const GaugeHeader* g, std::size_t index) { return selector(g).tooltip_text(index); }

  FakeHost host;
  GaugeCopy main_copy{orv::gauges::screen_selector_main};
  GaugeCopy landing_copy{orv::gauges::screen_selector_landing};
  f64 clock_value = 0.0;
  std::string clock_text;
};

TEST_F(ScreenSelector, ButtonsIconsAndClickBoxesLineUp) {
  for (const SelectorCase& s : kSelectorCases) {
    SCOPED_TRACE(s.gauge->name);
    GaugeCopy& g = selector(s.gauge);
    ASSERT_EQ(g.size(), 12u);
    EXPECT_EQ(g.original(0)->bitmap, 270u);  // the panel, then the backlight
    for (std::size_t i = 1; i < 11; ++i) {
      const auto* icon = reinterpret_cast<const IconElement*>(g.original(i));
      ASSERT_EQ(icon->h.kind, kIcon);
      EXPECT_EQ(icon->source.id, 753u);
      if (i == 1) continue;
      const ButtonCase& b = kButtonCases[10 - i];
      EXPECT_EQ(icon->h.position.x, b.x);
      EXPECT_EQ(icon->h.position.y, b.y);
      EXPECT_EQ(icon->h.bitmap, 290u + 10 * (10 - i));
    }
    const auto* clock = reinterpret_cast<const TextElement*>(g.original(11));
    EXPECT_EQ(clock->max_chars, 8);
    EXPECT_STREQ(clock->font, "Arial");
    const MouseRect* m = s.gauge->mouse_rects;
    for (std::size_t b = 0; b < std::size(kButtonCases); ++b) {
      SCOPED_TRACE(b);
      const MouseRect* a = m + 1 + 4 * b;
      EXPECT_TRUE(a[0].kind == kMouseArea && a[0].box.x == kButtonCases[b].x &&
                  a[0].box.y == kButtonCases[b].y);
      EXPECT_TRUE(a[1].kind == kMouseTooltip && a[1].event == 3u && a[1].args == m[2].args);
      EXPECT_TRUE(a[2].kind == kMouseBox && a[2].box.w == 67 && a[2].box.h == 50 &&
                  a[2].cursor == kCursorHand);
      EXPECT_EQ(a[2].flags, b == kHudButton ? kMouseLeftSingle | kMouseRightSingle : kMouseLeftSingle);
      EXPECT_EQ(a[3].kind, kMouseAreaEnd);
    }
    EXPECT_STREQ(m[2].action.text,
                 "Right clic switches the HUD On/Off - Left clic changes HUD colour (%1!s!)");
    EXPECT_EQ(m[2 + 4 * 9].kind, kMouseEnd);
  }
}

TEST_F(ScreenSelector, PanelLightsOnlyAboveTwenty) {
  cockpit::left_mfd_page = 5;
  cockpit::right_mfd_page = 1;
  cockpit::hud_on = 1;
  // Drawing order: backlight, buttons 370 (page 5) ... 290 (HUD).
  const std::vector<f64> lit = {0, 1, 0, 0, 0, 0, 0, 1, 0, 1};
  const std::vector<f64> dark(10, -1.0);
  const struct {
    f64 supply;
    bool lit;
  } cases[] = {{20.0, false},  {20.0001, true}, {0.0, false},  {kNaN, false},
               {-kInf, false}, {kInf, true},    {1e300, true}, {-1e300, false}};
  for (const SelectorCase& s : kSelectorCases) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << s.gauge->name << " supply " << c.supply);
      EXPECT_EQ(update(s.gauge, c.supply), c.lit ? lit : dark);
      EXPECT_EQ(*s.active, c.lit ? 1 : 0);
    }
  }
}

TEST_F(ScreenSelector, DarkPanelIgnoresEveryClickButTheClockRuns) {
  host.tokens = {{3, 12.0}, {4, 34.0}, {5, 56.0}};
  for (const SelectorCase& s : kSelectorCases) {
    update(s.gauge, 20.0);
    for (std::size_t b = 0; b < std::size(kButtonCases); ++b) {
      click(s.gauge, b, kMouseLeftSingle);
      click(s.gauge, b, kMouseRightSingle);
    }
    EXPECT_EQ(clock_text, "12:34:56");
  }
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(cockpit::left_mfd_page, 0);
  EXPECT_EQ(cockpit::right_mfd_page, 0);
  EXPECT_EQ(cockpit::hud_on, 0);
  EXPECT_EQ(cockpit::hud_colour, 0u);
}

TEST_F(ScreenSelector, PageButtonsSelectTheirPageThenSendWindowEventsInOrder) {
  enum Window { kRadar, kMap };
  struct Step {
    u32 event;
    Window window;
  };
  const struct {
    std::size_t button;
    i32 left_page, right_page;  // 0: unchanged
    std::vector<Step> events;
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
      SCOPED_TRACE(::testing::Message() << s.gauge->name << " button " << c.button);
      cockpit::left_mfd_page = cockpit::right_mfd_page = 9;  // neither display shows a page
      update(s.gauge, 28.0);
      std::vector<KeyEvent> expected;
      for (const Step& step : c.events)
        expected.push_back({step.event, step.window == kRadar ? s.radar_window : s.map_window});
      for (int again = 0; again < 2; ++again) {  // choosing the shown page sends its events again
        host.events.clear();
        click(s.gauge, c.button, kMouseLeftSingle);
        EXPECT_EQ(cockpit::left_mfd_page, c.left_page != 0 ? c.left_page : 9);
        EXPECT_EQ(cockpit::right_mfd_page, c.right_page != 0 ? c.right_page : 9);
        EXPECT_EQ(host.events, expected);
      }
      const std::vector<f64> icons = update(s.gauge, 28.0);
      for (std::size_t i = 1; i < icons.size() - 1; ++i)
        EXPECT_EQ(icons[i], i == 9 - c.button ? 1.0 : 0.0) << i;
      host.events.clear();
      cockpit::left_mfd_page = cockpit::right_mfd_page = 9;
      click(s.gauge, c.button, kMouseRightSingle);  // not asked for: the host never delivers it
      EXPECT_EQ(cockpit::left_mfd_page + cockpit::right_mfd_page, 18);
      EXPECT_TRUE(host.events.empty());
    }
  }
}

TEST_F(ScreenSelector, HudButtonCyclesColourOnLeftAndSwitchesOnRight) {
  const GaugeHeader* g = &orv::gauges::screen_selector_main;
  update(g, 50.0);
  auto hud = [&](u32 flags) { click(g, kHudButton, flags); };
  auto hud_icon = [&] { return update(g, 50.0).back(); };

  for (u32 expected : {1u, 2u, 3u, 0u}) {  // four left clicks come back round
    hud(kMouseLeftSingle);
    EXPECT_EQ(cockpit::hud_colour, expected);
    EXPECT_EQ(tooltip_arg(g, 0), "off");
  }
  EXPECT_EQ(hud_icon(), 0.0);
  hud(kMouseRightSingle);
  EXPECT_EQ(cockpit::hud_on, 1);
  EXPECT_EQ(hud_icon(), 1.0);
  const char* names[] = {"light green", "middle green", "dark green", "red"};
  for (u32 colour = 0; colour < 4; ++colour) {
    EXPECT_EQ(tooltip_arg(g, 0), names[colour]);
    if (colour < 3) hud(kMouseLeftSingle | kMouseRightSingle);  // both bits count as left
  }
  hud(kMouseRightSingle);  // red HUD goes off ...
  EXPECT_EQ(cockpit::hud_on, 0);
  EXPECT_EQ(cockpit::hud_colour, 0u);
  hud(kMouseLeftSingle);
  hud(kMouseRightSingle);  // ... and comes back in light green
  EXPECT_EQ(cockpit::hud_on, 1);
  EXPECT_EQ(cockpit::hud_colour, 0u);

  for (u32 stray : {4u, 7u, 0xFFFFFFFFu}) {  // any value past red wraps to light green
    cockpit::hud_colour = stray;
    EXPECT_EQ(tooltip_arg(g, 0), "off");
    hud(kMouseLeftSingle);
    EXPECT_EQ(cockpit::hud_colour, 0u);
  }
  EXPECT_TRUE(host.events.empty());
}

TEST_F(ScreenSelector, SelectorsShareValuesButNotActiveFlags) {
  const GaugeHeader* main = &orv::gauges::screen_selector_main;
  const GaugeHeader* landing = &orv::gauges::screen_selector_landing;
  update(main, 25.0);
  update(landing, 5.0);
  EXPECT_EQ(orv::controls::main_selector_active, 1);
  EXPECT_EQ(orv::controls::landing_selector_active, 0);

  click(landing, kRadiosButton, kMouseLeftSingle);
  EXPECT_EQ(cockpit::left_mfd_page, 0);
  click(main, kRadarButton, kMouseLeftSingle);
  EXPECT_EQ(cockpit::left_mfd_page, 1);
  EXPECT_EQ(host.events, (std::vector<KeyEvent>{{66507, 44}, {66508, 46}}));

  EXPECT_EQ(update(landing, 25.0)[8], 1.0);  // the landing panel lights the page chosen on the main one
  host.events.clear();
  click(landing, kRadiosButton, kMouseLeftSingle);
  EXPECT_EQ(cockpit::left_mfd_page, 3);
  EXPECT_EQ(host.events, (std::vector<KeyEvent>{{66508, 45}, {66508, 47}}));
}

TEST_F(ScreenSelector, TooltipArgumentsDescribeHudAndPages) {
  const GaugeHeader* g = &orv::gauges::screen_selector_landing;
  const struct {
    i32 left, right;
    const char *radar, *controls;
  } cases[] = {{1, 1, "On", "On"}, {2, 3, "Off", "Off"}, {0, 0, "Off", "Off"}, {1, -1, "On", "Off"}};
  for (const auto& c : cases) {
    cockpit::left_mfd_page = c.left;
    cockpit::right_mfd_page = c.right;
    EXPECT_EQ(tooltip_arg(g, 1), c.radar);
    EXPECT_EQ(tooltip_arg(g, 2), c.controls);
  }
}

TEST_F(ScreenSelector, ClockShowsTokensThreeFourFiveAndReturnsTheirSum) {
  const struct {
    f64 h, m, s;
    const char* text;
    f64 sum;
  } cases[] = {
      {9, 5, 3, "09:05:03", 17},          {23, 59, 59.4, "23:59:59", 141.4},
      {0, 0, 0, "00:00:00", 0},           {kNaN, 1e300, -kInf, "00:99:00", 99},
      {-3, kInf, 123456, "00:00:99", 99},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    host.tokens = {{3, c.h}, {4, c.m}, {5, c.s}};
    update(&orv::gauges::screen_selector_main, 0.0);
    EXPECT_EQ(clock_text, c.text);
    EXPECT_DOUBLE_EQ(clock_value, c.sum);
    EXPECT_TRUE(main_copy.guards_intact());
  }
}

}  // namespace
