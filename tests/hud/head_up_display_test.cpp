// The colour-copy visibility rule over the whole chain, and robustness
// against bad token values.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "hud_test_support.h"

namespace orv::test {
namespace {

using namespace abi;

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
      const int copy = colour_of(hud, i);
      const ElementFn callback = callback_of(hud.original(i));
      const bool visible = s.on && (copy < 0 || static_cast<u32>(copy) == s.colour);
      const ElementHeader* h = hud.element(i);
      switch (h->kind) {
        case kIcon:
          if (callback == kGlass) {
            EXPECT_EQ(value, s.on ? 1.0 : 0.0);
          } else {
            EXPECT_EQ(value, visible ? static_cast<f64>(s.colour) : -1.0);
          }
          break;
        case kText: {
          const std::string text = hud.text(i);
          const bool altitude = std::find(kAltitude.begin(), kAltitude.end(), callback) != kAltitude.end();
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
