// The head-up display driven through a placed copy of its records with the
// fake host's tokens: the colour-copy rule over the whole chain, each
// symbol's values and texts at their edge cases, and bad token values.
// The symbols are found in the chain by their element callbacks, so the tests
// hold whatever the drawing order.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "cockpit/flight_path.h"
#include "cockpit/mode_state.h"
#include "frame/elements.h"
#include "frame/registry.h"
#include "host/panel/element_kind.h"
#include "hud/head_up_display.h"
#include "hud/hud_symbols.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace orv::test {
namespace {

using namespace abi;

// A symbol drawn in four colour copies: the element callback of each copy,
// by colour index. Tests find the copies in the chain by these, so they hold
// whatever the drawing order.
using Copies = std::array<ElementFn, 4>;
template <auto Fn>
constexpr Copies kCopiesOf = {calls<Fn, 0u>.fn(), calls<Fn, 1u>.fn(), calls<Fn, 2u>.fn(), calls<Fn, 3u>.fn()};

constexpr const Copies& kCourse = kCopiesOf<hud::hud_course_text>;
constexpr const Copies& kGlideslope = kCopiesOf<hud::hud_glideslope_caret>;
constexpr const Copies& kLocalizer = kCopiesOf<hud::hud_localizer_caret>;
constexpr const Copies& kAngleOfAttack = kCopiesOf<hud::hud_angle_of_attack_text>;
constexpr const Copies& kAirspeed = kCopiesOf<hud::hud_airspeed_text>;
constexpr const Copies& kHeadingTape = kCopiesOf<hud::hud_heading_tape>;
constexpr const Copies& kFlightPath = kCopiesOf<hud::hud_flight_path_marker>;
constexpr const Copies& kPitchLadder = kCopiesOf<hud::hud_pitch_ladder>;
constexpr const Copies& kAltitude = kCopiesOf<hud::hud_altitude_text>;
constexpr const Copies& kBankPointer = kCopiesOf<hud::hud_bank_pointer>;
constexpr const Copies* kColourSymbols[] = {&kCourse,   &kGlideslope,  &kLocalizer,  &kAngleOfAttack,
                                            &kAirspeed, &kHeadingTape, &kFlightPath, &kPitchLadder,
                                            &kAltitude, &kBankPointer};

// Symbols drawn in one element.
constexpr ElementFn kToFrom = calls<hud::hud_to_from_arrow>.fn();
constexpr ElementFn kNavSource = calls<hud::hud_nav_source_label>.fn();

// The colour index of the copy at chain position `i`, or -1 for an element
// drawn once.
int colour_of(const GaugeCopy& hud, std::size_t i) {
  for (const Copies* symbol : kColourSymbols) {
    for (int c = 0; c < 4; ++c) {
      if (hud.find((*symbol)[c]) == i) return c;
    }
  }
  return -1;
}

// Every test starts with the HUD on in light green, guidance from NAV 1, both
// radios on and the glideslope filters at rest.
class HudTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set_mode(true, 0);
    cockpit::nav_source_nav1 = cockpit::nav1_on = cockpit::nav2_on = 1;
    for (double& f : hud::hud_glideslope_filter) f = 0.0;
  }

  static void set_mode(bool on, u32 colour) {
    cockpit::hud_on = on ? 1 : 0;
    cockpit::hud_colour = colour;
  }

  f64 eval(std::size_t i) { return hud.evaluate(i); }
  f64 eval(ElementFn symbol) { return eval(hud.find(symbol)); }
  // The copy of a symbol in a colour (light green by default).
  f64 eval_copy(const Copies& symbol, u32 colour = 0) { return eval(symbol[colour]); }
  std::string text_copy(const Copies& symbol, u32 colour = 0) { return hud.text(hud.find(symbol[colour])); }
  bool hidden_copy(const Copies& symbol, u32 colour = 0) {
    return is_hidden(hud.element(hud.find(symbol[colour])));
  }

  FakeHost host;
  GaugeCopy hud{gauges::head_up_display};
};

// Only the copy of the selected colour shows, none while off. (The pictures
// cannot tell: the copies lie on top of each other, the selected one drawn
// last.) Every further condition holds: gear down, NAV 1 valid and TO.
TEST_F(HudTest, OnlyTheCopyOfTheSelectedColourShowsAndNothingWhileOff) {
  host.tokens = {{332, 16000}, {333, 16000}, {334, 16000}, {44, 1},    {49, 1}, {40, 10}, {41, 20},
                 {45, 123},    {61, 250},    {74, 5000},   {789, 0.1}, {78, 2}, {80, 10}, {84, 90}};
  host.int_tokens = {{43, 1}};
  for (auto [on, colour] : {std::pair{false, 0u}, {true, 0u}, {true, 1u}, {true, 2u}, {true, 3u}}) {
    set_mode(on, colour);
    for (std::size_t i = 0; i < hud.size(); ++i) {
      const f64 value = eval(i);
      const int copy = colour_of(hud, i);
      if (copy < 0) continue;
      const ElementHeader* h = hud.element(i);
      const bool shows = h->kind == kIcon ? value != -1.0
                         : h->kind == kText
                             ? std::string(hud.text(i)).find_first_not_of(' ') != std::string::npos
                             : !is_hidden(h);
      EXPECT_EQ(shows, on && static_cast<u32>(copy) == colour) << "colour " << colour << " element " << i;
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

TEST_F(HudTest, LadderAndBankPointerStopAtFifteenDegreesHeadingTapeWraps) {
  const std::pair<f64, f64> cases[] = {{40, 15}, {-40, -15}, {7.5, 7.5}, {60, 15}, {-15, -15}};
  for (auto [in, out] : cases) {
    host.tokens[78] = in;
    host.tokens[80] = in;
    EXPECT_EQ(eval_copy(kPitchLadder), out);
    EXPECT_EQ(eval_copy(kBankPointer), out);
  }
  const std::pair<f64, f64> headings[] = {{0, 0}, {359.5, 359.5}, {360, 360}, {370, 10}, {-90, 270}};
  for (auto [in, out] : headings) {
    host.tokens[84] = in;
    EXPECT_DOUBLE_EQ(eval_copy(kHeadingTape), out);
  }
}

// The path rule's edge cases are the standby ball's; the marker applies it to
// its own pitch channel.
TEST_F(HudTest, FlightPathMarkerSitsAtThePathAngleBelowThePitch) {
  for (auto [vertical_speed, airspeed, pitch] : {std::tuple{2000.0, 300.0, 3.0}, {500.0, 0.0, 4.0}}) {
    host.tokens = {{65, vertical_speed}, {61, airspeed}, {78, pitch}};
    host.token_reads.clear();
    EXPECT_EQ(eval_copy(kFlightPath), cockpit::flight_path_offset(vertical_speed, airspeed, pitch));
    EXPECT_EQ(host.token_reads, (std::vector<u32>{65, 61}));
  }
}

TEST_F(HudTest, AltitudeStandsRightAlignedInFiveCharacters) {
  const std::pair<f64, const char*> cases[] = {
      {12345, "12345"}, {950, "  950"},    {7, "    7"},   {0, "    0"},
      {99.4, "   99"},  {9999.6, "10000"}, {9.6, "   10"}, {123456, "99999"},
  };
  for (auto [altitude, text] : cases) {
    host.tokens[74] = altitude;
    EXPECT_EQ(eval_copy(kAltitude), altitude);
    EXPECT_EQ(text_copy(kAltitude), text);
  }
  host.tokens[74] = 3000;
  eval_copy(kAltitude);
  host.tokens[74] = -20;
  EXPECT_EQ(eval_copy(kAltitude), -20.0);
  EXPECT_EQ(text_copy(kAltitude), " 3000");
}

TEST_F(HudTest, AirspeedAndAngleOfAttackTexts) {
  const std::pair<f64, const char*> speeds[] = {
      {250.4, " 250"}, {0, "   0"}, {-0.3, "   0"}, {99999, "9999"}};
  for (auto [speed, text] : speeds) {
    host.tokens[61] = speed;
    EXPECT_EQ(eval_copy(kAirspeed), speed);
    EXPECT_EQ(text_copy(kAirspeed), text);
  }
  const std::pair<f64, const char*> angles[] = {
      {0.2, "AOA 11.5"}, {0.0, "AOA 0.0"}, {-0.1, "AOA -5.7"}, {-0.2, "AOA -11"}, {2.0, "AOA 115"}};
  for (auto [radians, text] : angles) {
    host.tokens[789] = radians;
    EXPECT_NEAR(eval_copy(kAngleOfAttack), radians * 57.29577951308232, 1e-9);
    EXPECT_EQ(text_copy(kAngleOfAttack), text);
  }
}

TEST_F(HudTest, GlideslopeCaretSmoothsItsCopysDeviationAndFreezesWhileHidden) {
  host.tokens = {{44, 1}, {41, 100}};
  for (f64 e : {28.35, 48.66, 63.21}) EXPECT_NEAR(eval_copy(kGlideslope), e, 0.01);
  const f64 held = hud::hud_glideslope_filter[0];
  EXPECT_NEAR(held, 63.21, 0.01);

  // Another colour: copy 0 hides and keeps its value; copy 1 starts from 0.
  set_mode(true, 1);
  EXPECT_EQ(eval_copy(kGlideslope, 0), 0.0);
  EXPECT_TRUE(hidden_copy(kGlideslope, 0));
  EXPECT_NEAR(eval_copy(kGlideslope, 1), 28.35, 0.01);

  // HUD off, radio off, no valid signal (exactly 0): all freeze.
  set_mode(false, 0);
  EXPECT_EQ(eval_copy(kGlideslope, 0), 0.0);
  set_mode(true, 0);
  cockpit::nav1_on = 0;
  EXPECT_EQ(eval_copy(kGlideslope, 0), 0.0);
  cockpit::nav1_on = 1;
  host.tokens[44] = 0.0;
  EXPECT_EQ(eval_copy(kGlideslope, 0), 0.0);
  EXPECT_TRUE(hidden_copy(kGlideslope, 0));
  EXPECT_EQ(hud::hud_glideslope_filter[0], held);

  // Shown again, the copy carries on from its own last value.
  host.tokens[44] = 1.0;
  EXPECT_NEAR(eval_copy(kGlideslope, 0), 0.7165313105737893 * held + 0.28346868942621073 * 100, 1e-9);
  EXPECT_FALSE(hidden_copy(kGlideslope, 0));
}

TEST_F(HudTest, CaretsFollowTheSelectedReceiver) {
  host.tokens = {{49, 1}, {40, 30}, {58, 1}, {50, -40}, {44, 1}, {41, 10}, {53, 1}, {882, -10}};
  EXPECT_EQ(eval_copy(kLocalizer), 30.0);
  cockpit::nav_source_nav1 = 0;
  EXPECT_EQ(eval_copy(kLocalizer), -40.0);
  EXPECT_NEAR(eval_copy(kGlideslope), -10 * 0.28346868942621073, 1e-9);
  host.tokens[50] = 1e6;  // beyond full scale
  EXPECT_EQ(eval_copy(kLocalizer), 127.0);

  // NAV 2 selected with its radio off: carets hidden, no arrow, the label
  // still reads NAV2 and the course readout NAV 2's course.
  cockpit::nav2_on = 0;
  host.int_tokens[52] = 1;
  host.tokens[54] = 45;
  EXPECT_EQ(eval_copy(kLocalizer), 0.0);
  EXPECT_TRUE(hidden_copy(kLocalizer));
  EXPECT_EQ(eval_copy(kGlideslope), 0.0);
  EXPECT_TRUE(hidden_copy(kGlideslope));
  EXPECT_EQ(eval(kToFrom), -1.0);
  EXPECT_EQ(eval(kNavSource), 4.0);
  eval_copy(kCourse);
  EXPECT_EQ(text_copy(kCourse), "045");
}

TEST_F(HudTest, ToFromArrowAndNavLabelPickTheirImageByColour) {
  struct Case {
    i32 source;
    u32 colour;
    u32 indication;
    f64 arrow, label;
  };
  const Case cases[] = {
      {1, 0, 1, 0, 0}, {1, 3, 2, 7, 3}, {1, 2, 3, -1, 2}, {1, 1, 0, -1, 1},
      {0, 0, 1, 0, 4}, {0, 3, 2, 7, 7}, {0, 1, 2, 5, 5},
  };
  for (const Case& c : cases) {
    cockpit::nav_source_nav1 = c.source;
    set_mode(true, c.colour);
    host.int_tokens = {{c.source ? 43u : 52u, c.indication}, {c.source ? 52u : 43u, 1}};
    EXPECT_EQ(eval(kToFrom), c.arrow);
    EXPECT_EQ(eval(kNavSource), c.label);
  }
  set_mode(false, 0);
  EXPECT_EQ(eval(kToFrom), -1.0);
  EXPECT_EQ(eval(kNavSource), -1.0);
}

TEST_F(HudTest, CourseReadoutShowsThreeDigitsAndKeepsOutOfRangeCourses) {
  const std::pair<f64, const char*> cases[] = {{5.9, "005"}, {45, "045"},   {359.99, "359"}, {0, "000"},
                                               {100, "100"}, {-0.5, "000"}, {-1, "000"},     {1000, "000"}};
  for (auto [course, text] : cases) {
    host.tokens[45] = course;
    eval_copy(kCourse, 0);
    EXPECT_EQ(text_copy(kCourse, 0), text);
  }
  // Read whatever the HUD shows; blank while off.
  set_mode(false, 0);
  host.token_reads.clear();
  eval_copy(kCourse, 0);
  EXPECT_EQ(host.token_reads, (std::vector<u32>{45}));
  EXPECT_EQ(text_copy(kCourse, 0), "   ");
}

}  // namespace
}  // namespace orv::test
