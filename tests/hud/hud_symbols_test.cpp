// Values and texts of the HUD's symbols at their edge cases, driven through
// the element records with the fake host's tokens.
#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "cockpit/flight_path.h"
#include "hud_test_support.h"

namespace orv::test {
namespace {

using namespace abi;

class HudSymbolTest : public HudTest {
 protected:
  // Evaluates the copy of the selected colour (light green by default).
  f64 eval_copy(const Copies& symbol, u32 colour = 0) { return eval(symbol[colour]); }
  std::string text_copy(const Copies& symbol, u32 colour = 0) {
    return hud.text(position_of(hud, symbol[colour]));
  }
  bool hidden_copy(const Copies& symbol, u32 colour = 0) {
    return is_hidden(hud.element(position_of(hud, symbol[colour])));
  }
};

TEST_F(HudSymbolTest, LadderAndBankPointerStopAtFifteenDegreesHeadingTapeWraps) {
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
TEST_F(HudSymbolTest, FlightPathMarkerSitsAtThePathAngleBelowThePitch) {
  for (auto [vertical_speed, airspeed, pitch] : {std::tuple{2000.0, 300.0, 3.0}, {500.0, 0.0, 4.0}}) {
    host.tokens = {{65, vertical_speed}, {61, airspeed}, {78, pitch}};
    host.token_reads.clear();
    EXPECT_EQ(eval_copy(kFlightPath), cockpit::flight_path_offset(vertical_speed, airspeed, pitch));
    EXPECT_EQ(host.token_reads, (std::vector<u32>{65, 61}));
  }
}

TEST_F(HudSymbolTest, AltitudeStandsRightAlignedInFiveCharacters) {
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

TEST_F(HudSymbolTest, AirspeedAndAngleOfAttackTexts) {
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

TEST_F(HudSymbolTest, GlideslopeCaretSmoothsItsCopysDeviationAndFreezesWhileHidden) {
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

TEST_F(HudSymbolTest, CaretsFollowTheSelectedReceiver) {
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

TEST_F(HudSymbolTest, ToFromArrowAndNavLabelPickTheirImageByColour) {
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

TEST_F(HudSymbolTest, CourseReadoutShowsThreeDigitsAndKeepsOutOfRangeCourses) {
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
