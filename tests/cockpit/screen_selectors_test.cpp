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

namespace {

using namespace orv::abi;
using orv::test::FakeHost;
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

// The buttons as a pilot sees them, in reading order.
struct ButtonCase {
  i32 x, y;
  u32 mouse_flags;
  const char* tooltip;
};
const ButtonCase kButtonCases[] = {
    {11, 9, 0xA0000000, "Right clic switches the HUD On/Off - Left clic changes HUD colour (%1!s!)"},
    {82, 9, 0x20000000, "Display Radar on left MFD (%2!s!)"},
    {153, 9, 0x20000000, "Display Controls on right MFD (%3!s!)"},
    {11, 63, 0x20000000, "Display the weapons system on left MFD"},
    {82, 63, 0x20000000, "Display the radios frequencies and tuning on left MFD"},
    {153, 63, 0x20000000, "Display the engine parameters on right MFD"},
    {11, 117, 0x20000000, "Display navigation (arc) on left MFD"},
    {82, 117, 0x20000000, "Display navigation (circular) on right MFD"},
    {153, 117, 0x20000000, "Display navigation (arc) on left MFD"},
};

// Every element of a gauge in drawing order (each list in order, each
// element followed by its own following elements).
void collect(ElementHeader** list, std::vector<ElementHeader*>& out) {
  for (; list != nullptr && *list != nullptr; ++list) {
    out.push_back(*list);
    collect((*list)->next, out);
  }
}
std::vector<ElementHeader*> drawing_order(const GaugeHeader* g) {
  std::vector<ElementHeader*> out;
  collect(g->elements, out);
  return out;
}

class ScreenSelector : public ::testing::Test {
 protected:
  void SetUp() override {
    cockpit::left_mfd_page = cockpit::right_mfd_page = 0;
    cockpit::hud_on = 0;
    cockpit::hud_colour = 0;
    orv::controls::main_selector_active = orv::controls::landing_selector_active = 0;
  }

  // Evaluates every element as the host does, each on its own copy with its
  // channels filled; returns the icon values in drawing order.
  std::vector<f64> update(const GaugeHeader* g, f64 supply) {
    host.tokens[753] = supply;
    std::vector<f64> icons;
    for (ElementHeader* e : drawing_order(g)) {
      if (e->kind == kIcon) {
        IconElement copy = *reinterpret_cast<IconElement*>(e);
        host.deliver(copy.source);
        icons.push_back(copy.callback(&copy));
      } else if (e->kind == kText) {
        clock_value = evaluate_clock(e);
      }
    }
    return icons;
  }

  f64 evaluate_clock(ElementHeader* e) {
    TextElement copy = *reinterpret_cast<TextElement*>(e);
    std::string buffer(copy.max_chars + 1 + 16, '#');
    copy.text = buffer.data() + 8;
    for (TokenVar& source : copy.source) host.deliver(source);
    const f64 value = copy.callback[0](&copy);
    clock_text = copy.text;
    clock_guards_intact =
        buffer.compare(0, 8, "########") == 0 && buffer.compare(buffer.size() - 8, 8, "########") == 0;
    return value;
  }

  // The records of the button area whose top-left corner is (x, y).
  static const MouseRect* area(const GaugeHeader* g, i32 x, i32 y) {
    for (const MouseRect* r = g->mouse_rects + 1; r->kind != kMouseEnd; ++r)
      if (r->kind == kMouseArea && r->box.x == x && r->box.y == y) return r;
    return nullptr;
  }

  // A click delivered the way the host does: only the kinds the box asks for.
  void click(const GaugeHeader* g, i32 x, i32 y, u32 flags) {
    const MouseRect* a = area(g, x, y);
    ASSERT_NE(a, nullptr);
    MouseRect box = a[2];
    if ((box.flags & flags) == 0) return;
    GaugeHeader gauge = *g;
    Click c{.point = {10, 10}, .gauge = &gauge, .rect = &box};
    EXPECT_EQ(box.action.fn(&c, flags), 0);
  }

  static std::string tooltip_arg(const GaugeHeader* g, int index) {
    const MouseArg* args = area(g, 11, 9)[1].args;
    TokenVar var{};
    GaugeHeader gauge{};
    const std::string plain = args[index].string_callback(0.0, 0, nullptr, nullptr, nullptr);
    const std::string noisy = args[index].string_callback(kNaN, 0xFFFFFFFF, "x", &var, &gauge);
    EXPECT_EQ(plain, noisy);
    return plain;
  }

  FakeHost host;
  f64 clock_value = 0.0;
  std::string clock_text;
  bool clock_guards_intact = false;
};

TEST_F(ScreenSelector, ElementsFormOneChainInDrawingOrder) {
  struct Expected {
    u32 kind, bitmap;
    i32 x, y;
  };
  const Expected expected[] = {
      {kStaticImage, 270, 0, 0}, {kIcon, 280, 0, 0},    {kIcon, 370, 153, 117}, {kIcon, 360, 82, 117},
      {kIcon, 350, 11, 117},     {kIcon, 340, 153, 63}, {kIcon, 330, 82, 63},   {kIcon, 320, 11, 63},
      {kIcon, 310, 153, 9},      {kIcon, 300, 82, 9},   {kIcon, 290, 11, 9},    {kText, 0xFFFFFFFF, 64, 178},
  };
  for (const SelectorCase& s : kSelectorCases) {
    SCOPED_TRACE(s.gauge->name);
    ASSERT_EQ(s.gauge->elements[1], nullptr);
    const std::vector<ElementHeader*> order = drawing_order(s.gauge);
    ASSERT_EQ(order.size(), std::size(expected));
    for (std::size_t i = 0; i < order.size(); ++i) {
      SCOPED_TRACE(i);
      const ElementHeader* e = order[i];
      EXPECT_EQ(e->kind, expected[i].kind);
      EXPECT_EQ(e->bitmap, expected[i].bitmap);
      EXPECT_EQ(e->position.x, expected[i].x);
      EXPECT_EQ(e->position.y, expected[i].y);
      EXPECT_EQ(e->gauge, s.gauge);
      if (i + 1 < order.size()) {
        ASSERT_NE(e->next, nullptr);
        EXPECT_EQ(e->next[0], order[i + 1]);
        EXPECT_EQ(e->next[1], nullptr);
      } else {
        EXPECT_EQ(e->next, nullptr);
      }
      if (e->kind == kIcon) {
        EXPECT_EQ(reinterpret_cast<const IconElement*>(e)->source.id, 753u);
      }
    }
    const auto* clock = reinterpret_cast<const TextElement*>(order.back());
    EXPECT_EQ(clock->source[0].id, 3u);
    EXPECT_EQ(clock->source[1].id, 4u);
    EXPECT_EQ(clock->source[2].id, 5u);
    EXPECT_EQ(clock->box.x, 160);
    EXPECT_EQ(clock->box.y, 24);
    EXPECT_EQ(clock->max_chars, 8);
    EXPECT_STREQ(clock->font, "Arial");
    EXPECT_EQ(clock->font_weight, 400);
    EXPECT_EQ(clock->text_colour, 0xFFFF00u);
    EXPECT_EQ(clock->format, 0x25u);
  }
}

TEST_F(ScreenSelector, EveryButtonHasAnAreaWithTooltipAndHandBox) {
  auto box_is = [](const PixBox& b, i32 x, i32 y, i32 w, i32 h) {
    return b.x == x && b.y == y && b.w == w && b.h == h;
  };
  for (const SelectorCase& s : kSelectorCases) {
    SCOPED_TRACE(s.gauge->name);
    const MouseRect* m = s.gauge->mouse_rects;
    EXPECT_TRUE(m[0].kind == kMouseArea && box_is(m[0].box, 0, 0, 0, 0));
    EXPECT_TRUE(m[1 + 4 * 9].kind == kMouseAreaEnd && m[2 + 4 * 9].kind == kMouseEnd);
    for (std::size_t b = 0; b < std::size(kButtonCases); ++b) {
      const ButtonCase& c = kButtonCases[b];
      SCOPED_TRACE(c.tooltip);
      const MouseRect* a = m + 1 + 4 * b;  // the list follows the reading order
      EXPECT_TRUE(a[0].kind == kMouseArea && box_is(a[0].box, c.x, c.y, 67, 50));
      EXPECT_EQ(a[1].kind, kMouseTooltip);
      EXPECT_STREQ(a[1].action.text, c.tooltip);
      EXPECT_EQ(a[1].event, 3u);
      EXPECT_EQ(a[1].args, m[2].args);  // one argument table for all nine
      EXPECT_TRUE(a[2].kind == kMouseBox && box_is(a[2].box, 0, 0, 67, 50));
      EXPECT_EQ(a[2].cursor, 5);
      EXPECT_EQ(a[2].flags, c.mouse_flags);
      EXPECT_EQ(a[3].kind, kMouseAreaEnd);
    }
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
    for (const ButtonCase& c : kButtonCases) {
      click(s.gauge, c.x, c.y, kMouseLeftSingle);
      click(s.gauge, c.x, c.y, kMouseRightSingle);
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
    i32 x, y;
    i32 left_page, right_page;  // 0: unchanged
    std::vector<Step> events;
    std::size_t lit_icon;  // drawing index among the icons
  } cases[] = {
      {82, 9, 1, 0, {{66507, kRadar}, {66508, kMap}}, 8},
      {153, 9, 0, 1, {}, 7},
      {11, 63, 4, 0, {{66508, kRadar}, {66508, kMap}}, 6},
      {82, 63, 3, 0, {{66508, kRadar}, {66508, kMap}}, 5},
      {153, 63, 0, 2, {}, 4},
      {11, 117, 2, 0, {{66507, kMap}, {66508, kRadar}}, 3},
      {82, 117, 0, 3, {}, 2},
      {153, 117, 5, 0, {{66508, kRadar}, {66508, kMap}}, 1},
  };
  for (const SelectorCase& s : kSelectorCases) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << s.gauge->name << " button at " << c.x << "," << c.y);
      cockpit::left_mfd_page = cockpit::right_mfd_page = 9;  // neither display shows a page
      update(s.gauge, 28.0);
      std::vector<KeyEvent> expected;
      for (const Step& step : c.events)
        expected.push_back({step.event, step.window == kRadar ? s.radar_window : s.map_window});
      for (int again = 0; again < 2; ++again) {  // choosing the shown page sends its events again
        host.events.clear();
        click(s.gauge, c.x, c.y, kMouseLeftSingle);
        EXPECT_EQ(cockpit::left_mfd_page, c.left_page != 0 ? c.left_page : 9);
        EXPECT_EQ(cockpit::right_mfd_page, c.right_page != 0 ? c.right_page : 9);
        EXPECT_EQ(host.events, expected);
      }
      const std::vector<f64> icons = update(s.gauge, 28.0);
      for (std::size_t i = 1; i < icons.size() - 1; ++i)
        EXPECT_EQ(icons[i], i == c.lit_icon ? 1.0 : 0.0) << i;
      host.events.clear();
      cockpit::left_mfd_page = cockpit::right_mfd_page = 9;
      click(s.gauge, c.x, c.y, kMouseRightSingle);  // not asked for: the host never delivers it
      EXPECT_EQ(cockpit::left_mfd_page + cockpit::right_mfd_page, 18);
      EXPECT_TRUE(host.events.empty());
    }
  }
}

TEST_F(ScreenSelector, HudButtonCyclesColourOnLeftAndSwitchesOnRight) {
  const GaugeHeader* g = &orv::gauges::screen_selector_main;
  update(g, 50.0);
  auto hud = [&](u32 flags) { click(g, 11, 9, flags); };
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

  click(landing, 82, 63, kMouseLeftSingle);
  EXPECT_EQ(cockpit::left_mfd_page, 0);
  click(main, 82, 9, kMouseLeftSingle);
  EXPECT_EQ(cockpit::left_mfd_page, 1);
  EXPECT_EQ(host.events, (std::vector<KeyEvent>{{66507, 44}, {66508, 46}}));

  EXPECT_EQ(update(landing, 25.0)[8], 1.0);  // the landing panel lights the page chosen on the main one
  host.events.clear();
  click(landing, 82, 63, kMouseLeftSingle);
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
    EXPECT_TRUE(clock_guards_intact);
  }
}

}  // namespace
