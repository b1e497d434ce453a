// The HUD's records as the host sees them, the colour-copy visibility rule
// over the whole chain, and robustness against bad token values.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "hud_test_support.h"

namespace orv::test {
namespace {

using namespace abi;

// The chain's structure and the record values that decide what shows: each
// colour group holds four copies of one symbol (red, dark, middle, light
// green) that differ in bitmap and text colour only.
TEST_F(HudTest, ChainHoldsFortySixElementsWithFourCopiesOfEachSymbol) {
  ASSERT_EQ(hud.size(), 46u);
  for (std::size_t i = 0; i < hud.size(); ++i) {
    SCOPED_TRACE(i);
    const ElementHeader* h = hud.original(i);
    EXPECT_EQ(h->gauge, &gauges::head_up_display);
    ASSERT_EQ(h->next != nullptr, i + 1 < hud.size());
    if (h->next != nullptr) {
      EXPECT_TRUE(h->next[0] == hud.original(i + 1) && h->next[1] == nullptr);
    }
    const int colour = colour_of(i);
    if (colour <= 0) continue;
    const ElementHeader* light = hud.original(i + colour);  // the group's light green copy
    EXPECT_EQ(h->kind, light->kind);
    EXPECT_EQ(h->position.x, light->position.x);
    EXPECT_EQ(h->position.y, light->position.y);
    if (h->kind != kText) {
      EXPECT_EQ(h->bitmap, light->bitmap + (h->kind == kNeedle ? 1u : 10u) * colour);
    }
  }
  EXPECT_EQ(hud.original(kBackground)->bitmap, 1000u);
  EXPECT_EQ(hud.original(kGlass)->bitmap, 1010u);
  const u32 text_colours[4] = {0x0039F508, 0x001D9E00, 0x00115701, 0x000000FF};
  const std::pair<std::size_t, u16> strings[] = {
      {kCourse, 3}, {kAngleOfAttack, 8}, {kAirspeed, 4}, {kAltitude, 5}};
  for (auto [first, chars] : strings) {
    for (u32 c = 0; c < 4; ++c) {
      const auto* t = reinterpret_cast<const TextElement*>(hud.original(copy_at(first, c)));
      EXPECT_EQ(t->max_chars, chars);
      EXPECT_EQ(t->text_colour, text_colours[c]);
      EXPECT_STREQ(t->font, "Quartz");
    }
  }
  EXPECT_STREQ(gauges::head_up_display.mouse_rects[1].action.text, "Head-Up Display");
}

// Every further condition of every symbol holds: gear down, NAV 1 valid and
// TO, so only the colour rule decides.
void fly_with_everything_shown(FakeHost& host) {
  host.tokens = {{332, 16000}, {333, 16000}, {334, 16000}, {44, 1},    {49, 1}, {40, 10}, {41, 20},
                 {45, 123},    {61, 250},    {74, 5000},   {789, 0.1}, {78, 2}, {80, 10}, {84, 90}};
  host.int_tokens = {{43, 1}};
}

TEST_F(HudTest, OnlyTheCopyOfTheSelectedColourShowsAndNothingWhileOff) {
  fly_with_everything_shown(host);
  struct State {
    bool on;
    u32 colour;
  };
  for (State s : {State{false, 0}, State{true, 0}, State{true, 1}, State{true, 2}, State{true, 3}}) {
    set_mode(s.on, s.colour);
    for (std::size_t i = 0; i < hud.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "on " << s.on << " colour " << s.colour << " element " << i);
      const f64 value = eval(i);
      const int copy = colour_of(i);
      const bool visible = s.on && (copy < 0 || static_cast<u32>(copy) == s.colour);
      const ElementHeader* h = hud.element(i);
      switch (h->kind) {
        case kIcon:
          if (i == kGlass) {
            EXPECT_EQ(value, s.on ? 1.0 : 0.0);
          } else {
            EXPECT_EQ(value, visible ? static_cast<f64>(s.colour) : -1.0);
          }
          break;
        case kText: {
          const std::string text = hud.text(i);
          const bool altitude = i >= kAltitude && i < kAltitude + 4;
          if (visible) {
            EXPECT_NE(text.find_first_not_of(' '), std::string::npos) << text;
          } else {
            EXPECT_EQ(text, altitude ? "     " : "   ");
          }
          break;
        }
        case kStaticImage:
          break;
        default:
          EXPECT_EQ(is_hidden(h), !visible);
      }
    }
  }
}

TEST_F(HudTest, BadTokenValuesGiveFiniteValuesAndTextsInsideTheirFields) {
  const f64 inf = std::numeric_limits<f64>::infinity();
  const f64 bad[] = {std::nan(""), inf, -inf, 1e308, -1e308, 1e15, -1e15};
  const u32 ids[] = {332, 333, 334, 40, 41, 44, 45, 49, 50, 53, 54, 58, 61, 65, 74, 78, 80, 84, 789, 882};
  for (f64 v : bad) {
    for (u32 id : ids) host.tokens[id] = v;
    host.tokens[44] = host.tokens[49] = host.tokens[53] = host.tokens[58] = 1.0;  // keep the carets live
    for (i32 source : {1, 0}) {
      cockpit::nav_source_nav1 = source;
      for (u32 colour = 0; colour < 4; ++colour) {
        set_mode(true, colour);
        for (std::size_t i = 0; i < hud.size(); ++i) {
          SCOPED_TRACE(testing::Message() << "value " << v << " element " << i);
          EXPECT_TRUE(std::isfinite(eval(i)));
          if (hud.element(i)->kind == kText) {
            EXPECT_LE(std::strlen(hud.text(i)), hud.as<TextElement>(i)->max_chars);
            EXPECT_EQ(std::string(hud.text(i)).find("nan"), std::string::npos);
            EXPECT_EQ(std::string(hud.text(i)).find("inf"), std::string::npos);
          }
        }
      }
    }
    for (f64 f : hud::hud_glideslope_filter) EXPECT_TRUE(std::isfinite(f));
  }
  EXPECT_TRUE(hud.guards_intact());
}

}  // namespace
}  // namespace orv::test
