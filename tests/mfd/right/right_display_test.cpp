// The right multi-function display driven through a placed copy of its
// records: the chain and mouse list as the host reads them, the page gate,
// the engine dials' wedges and readouts, the fuel percentage, the controls
// page, the navigation circle page and its course click areas, and bad
// token values.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "cockpit/mode_state.h"
#include "frame/elements.h"
#include "frame/registry.h"
#include "mfd/radio_values.h"
#include "mfd/right/right_pages.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace {

using namespace orv;
namespace right = orv::mfd::right;
using orv::test::FakeHost;
using orv::test::GaugeCopy;
using orv::test::KeyEvent;

constexpr f64 kNaN = std::numeric_limits<f64>::quiet_NaN();
constexpr f64 kInf = std::numeric_limits<f64>::infinity();

// A dial's wedge callbacks in drawing order: stopped at caps 5 down to 1; on
// the N1 and N2 dials the last two drawn copy the token into the dial value.
using Wedges = std::array<ElementFn, 5>;
template <f64& dial, const right::DialCaps& caps, bool copies>
constexpr Wedges kWedges = {
    calls<right::wedge<dial, caps, 4, false>>.fn(), calls<right::wedge<dial, caps, 3, false>>.fn(),
    calls<right::wedge<dial, caps, 2, false>>.fn(), calls<right::wedge<dial, caps, 1, copies>>.fn(),
    calls<right::wedge<dial, caps, 0, copies>>.fn()};
constexpr const Wedges& kN1Left = kWedges<mfd::n1_left_pct, right::kSpoolCaps, true>;
constexpr const Wedges& kN1Right = kWedges<mfd::n1_right_pct, right::kSpoolCaps, true>;
constexpr const Wedges& kN2Left = kWedges<mfd::n2_left_pct, right::kSpoolCaps, true>;
constexpr const Wedges& kN2Right = kWedges<mfd::n2_right_pct, right::kSpoolCaps, true>;
constexpr const Wedges& kEgtRight = kWedges<mfd::egt_right_c, right::kEgtCaps, false>;
constexpr const Wedges& kFfRight = kWedges<mfd::ff_right_kg_min, right::kFuelFlowCaps, false>;

// Every test starts on the engine page with every radio on, both tanks of
// 1000 kg and the flaps up.
class RightDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    cockpit::right_mfd_page = cockpit::kRightPageEngine;
    cockpit::left_mfd_page = 0;
    cockpit::nav1_on = cockpit::nav2_on = cockpit::adf_on = 1;
    cockpit::com1_on = cockpit::com2_on = cockpit::transponder_on = 1;
    cockpit::fuel_tank_capacity_kg[0] = cockpit::fuel_tank_capacity_kg[1] = 1000.0;
    mfd::flaps_state = 0;
  }
  void TearDown() override { EXPECT_TRUE(display.guards_intact()); }

  void page(std::int32_t p) { cockpit::right_mfd_page = p; }
  f64 eval(std::size_t i) { return display.evaluate(i); }
  std::string text(std::size_t i) { return display.text(i); }
  bool hidden(std::size_t i) { return is_hidden(display.element(i)); }
  // A sprite's offset channel, after the host has filled its channels.
  f64 sprite_x(std::size_t i) {
    eval(i);
    auto* s = display.as<SpriteElement>(i);
    return s->x_callback(s);
  }
  // Evaluates every element in drawing order, as the host does each update.
  void update() {
    for (std::size_t i = 0; i < display.size(); ++i) eval(i);
  }

  FakeHost host;
  GaugeCopy display{gauges::multi_function_display_right};

  // Elements found in the chain by the callback they are bound to.
  const std::size_t kControlsFace = display.find(calls<right::controls_face>);
  const std::size_t kGlideSlopeScale = display.find(calls<right::glide_slope_scale>);
  const std::size_t kGlideSlopeDiamond = display.find(calls<right::glide_slope_diamond>);
  const std::size_t kHeadingBug = display.find(calls<right::heading_bug>);
  const std::size_t kAdfPointer = display.find(calls<right::adf_pointer>);
  const std::size_t kCoursePointer = display.find(calls<right::course_pointer>);
  const std::size_t kHollowBar = display.find(calls<right::hollow_bar_offset>);
  const std::size_t kFilledBar = display.find(calls<right::filled_bar_offset>);
  const std::size_t kToFrom = display.find(calls<right::to_from_pointer>);
  const std::size_t kNav2Pointer = display.find(calls<right::nav2_pointer>);
  const std::size_t kCourseText = display.find(calls<right::course_text>);
  const std::size_t kNav2Ident = display.find(calls<right::nav2_ident_text>);
  const std::size_t kNav1Ident = display.find(calls<right::nav1_ident_text>);
  const std::size_t kNav1Distance = display.find(calls<right::nav1_distance_text>);
  const std::size_t kNav2Distance = display.find(calls<right::nav2_distance_text>);
  const std::size_t kAltitudeHundreds = display.find(calls<right::altitude_hundreds_text>);
  const std::size_t kAirspeed = display.find(calls<right::airspeed_text>);
  const std::size_t kFuelPercent = display.find(calls<right::fuel_percent_text>);
  const std::size_t kAfterburner = display.find(calls<right::afterburner_text>);
  const std::size_t kFfRightText = display.find(calls<right::ff_right_text>);
  const std::size_t kFfLeftText = display.find(calls<right::ff_left_text>);
  const std::size_t kEgtRightText = display.find(calls<right::egt_right_text>);
  const std::size_t kEgtLeftText = display.find(calls<right::egt_left_text>);
  const std::size_t kN2RightText = display.find(calls<right::n2_right_text>);
  const std::size_t kN2LeftText = display.find(calls<right::n2_left_text>);
  const std::size_t kN1RightText = display.find(calls<right::n1_right_text>);
  const std::size_t kN1LeftText = display.find(calls<right::n1_left_text>);
  const std::size_t kFlapsText = display.find(calls<right::flaps_text>);
  const std::size_t kFlapEdges = display.find(calls<right::flap_edges>);
  const std::size_t kSlatsText = display.find(calls<right::slats_text>);
  const std::size_t kSlatBars = display.find(calls<right::slat_bars>);
  const std::size_t kFuselageBoxes = display.find(calls<right::fuselage_boxes>);
  const std::size_t kBrakeLabel = display.find(calls<right::brake_label>);
  const std::size_t kHookLabel = display.find(calls<right::hook_label>);
  // The gear legs share one callback: right, middle and left in drawing
  // order; so do the hydraulic readouts, HYDR 2 before HYDR 1.
  const std::size_t kGearRight = display.find(calls<right::gear_leg>, 0);
  const std::size_t kGearMiddle = display.find(calls<right::gear_leg>, 1);
  const std::size_t kGearLeft = display.find(calls<right::gear_leg>, 2);
  const std::size_t kHydraulic2Text = display.find(calls<right::hydraulic_text>, 0);
  const std::size_t kHydraulic1Text = display.find(calls<right::hydraulic_text>, 1);

  // The five wedges of a dial in drawing order (red, amber, then the three
  // green ones), found by their callbacks.
  std::array<std::size_t, 5> wedges(const Wedges& dial) const {
    std::array<std::size_t, 5> at{};
    for (std::size_t w = 0; w < 5; ++w) at[w] = display.find(dial[w]);
    return at;
  }
};

// --- Page gate ---------------------------------------------------------------------------

TEST_F(RightDisplay, EachElementShowsOnItsOwnPageOnly) {
  // The pages follow each other in the chain after the face: the navigation
  // circle, the engine page from its first wedge (the right fuel-flow dial's
  // red one), the controls page from its face.
  const std::size_t engine = wedges(kFfRight)[0];
  auto page_of = [&](std::size_t i) -> std::int32_t {
    if (i < engine) return cockpit::kRightPageNavCircle;
    if (i < kControlsFace) return cockpit::kRightPageEngine;
    return cockpit::kRightPageControls;
  };
  // Tokens under which every element's own condition lets it show.
  host.tokens = {{852, 1.0},     {853, 1.0},     {755, 30.0},    {323, 25000.0}, {869, 1.0},
                 {332, 16383.0}, {333, 16383.0}, {334, 16383.0}, {61, 250.0},    {74, 5000.0}};
  for (std::int32_t p = 0; p <= 4; ++p) {
    SCOPED_TRACE(p);
    page(p);
    for (std::size_t i = 1; i < display.size(); ++i) {
      if (i == kFilledBar) continue;  // shows only instead of the hollow bar
      const f64 v = eval(i);
      const bool shown = display.element(i)->kind == kIcon ? v != -1.0 : !hidden(i);
      EXPECT_EQ(shown, page_of(i) == p) << "element " << i;
    }
  }
}

// --- Engine dials ---------------------------------------------------------------------------

struct DialCase {
  const Wedges& dial;
  std::size_t readout;  // writes the dial value (EGT and fuel flow), or 0
  u32 token;
  f64 token_value;
  f64 dial_value;  // what the wedges read
  f64 caps[5];
};

TEST_F(RightDisplay, WedgesStopAtTheirCapsWithNoLowerStop) {
  const DialCase cases[] = {
      {kN1Right, 0, 643, 120.0, 120.0, {30, 60, 90, 100, 110}},
      {kN2Right, 0, 644, -5.0, -5.0, {30, 60, 90, 100, 110}},
      {kEgtRight,
       kEgtRightText,
       577,
       0.0,
       (0.0 - 459.67 - 32.0) * 0.5555555555555556,
       {500, 800, 1100, 1250, 1300}},
      {kFfRight, kFfRightText, 657, 40000.0, 302.4, {50, 100, 150, 200, 220}},
  };
  for (const DialCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "token " << c.token << " value " << c.token_value);
    host.tokens = {{c.token, c.token_value}};
    if (c.readout != 0) eval(c.readout);
    // One update lets the copying wedges (the last two drawn) set the value.
    const std::array<std::size_t, 5> at = wedges(c.dial);
    for (std::size_t w : at) eval(w);
    // Wedges in drawing order stop at caps 5, 4, 3, 2 and 1.
    for (std::size_t w = 0; w < at.size(); ++w) {
      const f64 cap = c.caps[4 - w];
      EXPECT_NEAR(eval(at[w]), std::min(c.dial_value, cap), 1e-9) << "wedge " << w;
      EXPECT_FALSE(hidden(at[w]));
    }
  }
}

TEST_F(RightDisplay, NotANumberPassesTheWedgesAndIsHiddenOffPage) {
  const std::array<std::size_t, 5> n1_left = wedges(kN1Left);
  host.tokens = {{624, kNaN}};
  for (std::size_t w = n1_left.size(); w-- > 0;) EXPECT_TRUE(std::isnan(eval(n1_left[w])));
  page(cockpit::kRightPageControls);
  host.tokens = {{624, 50.0}};
  EXPECT_EQ(eval(n1_left[4]), 0.0);  // copies the token, then hidden
  EXPECT_TRUE(hidden(n1_left[4]));
  EXPECT_EQ(mfd::n1_left_pct, 50.0);
}

TEST_F(RightDisplay, ReadoutFormatsAndConversions) {
  struct Case {
    u32 token;
    f64 value;
    std::size_t wedge;  // evaluated first to copy an N1/N2 value (or 0)
    std::size_t readout;
    const char* want;
  };
  const Case cases[] = {
      {624, 120.0, wedges(kN1Left)[4], kN1LeftText, "120"},
      {643, 4.4, wedges(kN1Right)[3], kN1RightText, "  4"},
      {625, 65.5, wedges(kN2Left)[4], kN2LeftText, " 66"},
      {644, 1.0e9, wedges(kN2Right)[4], kN2RightText, "100"},  // cut at the field's width
      {567, 1751.67, 0, kEgtLeftText, " 700"},
      {577, 0.0, 0, kEgtRightText, "-273"},
      {638, 6000.0, 0, kFfLeftText, " 45"},
      {657, kInf, 0, kFfRightText, "inf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    host.tokens = {{c.token, c.value}};
    if (c.wedge != 0) eval(c.wedge);
    EXPECT_EQ(eval(c.readout), 0.0);
    EXPECT_EQ(text(c.readout), c.want);
  }
  eval(kAfterburner);
  EXPECT_EQ(text(kAfterburner), "   ");
}

// --- Fuel percentage ---------------------------------------------------------------------------

TEST_F(RightDisplay, FuelPercentageWeightsEachTankByItsCapacity) {
  constexpr f64 kFull = 8388610.0;
  struct Case {
    f64 capacity0, capacity1, level0, level1;
    const char* want;
  };
  const Case cases[] = {
      {1000, 1000, kFull, kFull, "100"},     {1000, 1000, kFull, 0, " 50"},
      {3000, 1000, kFull, 0, " 75"},          // the bigger tank weighs more
      {1000, 1000, 8388608, 8388608, "100"},  // 99.99998 rounds to 100
      {1000, 0, kFull / 4, kFull, " 25"},     // a tank without capacity counts for nothing
      {0, 0, kFull, kFull, "---"},            // no capacity known: no percentage
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    cockpit::fuel_tank_capacity_kg[0] = c.capacity0;
    cockpit::fuel_tank_capacity_kg[1] = c.capacity1;
    host.tokens = {{291, c.level0}, {297, c.level1}};
    eval(kFuelPercent);
    EXPECT_EQ(text(kFuelPercent), c.want);
  }
  EXPECT_EQ(host.token_reads.back(), 297u);
}

// --- Controls page ---------------------------------------------------------------------------

TEST_F(RightDisplay, FlapStepsDriveFlapsSlatsAndTheirPictures) {
  page(cockpit::kRightPageControls);
  struct Case {
    f64 lever;
    u32 state;
    const char* flaps;
    const char* slats;
    f64 slat_bars;
  };
  const Case cases[] = {
      {0, 0, "UP", "IN", 0},      {299.9, 0, "UP", "IN", 0},
      {300, 1, "1", "OUT", 1},    {1499, 1, "1", "OUT", 1},
      {1500, 2, "5", "OUT", 1},   {7000, 3, "11", "OUT", 1},
      {14499, 3, "11", "OUT", 1}, {14500, 4, "DN", "OUT", 1},
      {kNaN, 4, "DN", "OUT", 1},  // a lever that is no number keeps the last step
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lever);
    host.tokens = {{329, c.lever}};
    update();
    EXPECT_EQ(mfd::flaps_state, c.state);
    EXPECT_EQ(text(kFlapsText), c.flaps);
    EXPECT_EQ(text(kSlatsText), c.slats);
    EXPECT_EQ(eval(kFlapEdges), static_cast<f64>(c.state));
    EXPECT_EQ(eval(kSlatBars), c.slat_bars);
  }
  page(cockpit::kRightPageEngine);  // the state follows the lever on any page
  host.tokens = {{329, 100.0}};
  eval(kFlapsText);
  EXPECT_EQ(mfd::flaps_state, 0u);
  EXPECT_EQ(text(kFlapsText), "DN");
}

TEST_F(RightDisplay, ControlsPageIconsAndPressures) {
  page(cockpit::kRightPageControls);
  struct Case {
    std::size_t element;
    std::map<u32, f64> tokens;
    f64 want;
  };
  const Case cases[] = {
      {kGearLeft, {{333, 49.9}}, 0.0},                 // UP
      {kGearLeft, {{333, 50}, {604, 10.1}}, -1.0},     // in transit, dark half
      {kGearLeft, {{333, 16300}, {604, 10.3}}, 1.0},   // in transit, lit half
      {kGearMiddle, {{332, 16300.1}}, 2.0},            // DN
      {kGearRight, {{334, kNaN}}, 0.0},                // no number: UP
      {kFuselageBoxes, {{327, 10000}}, 0.0},           // green
      {kFuselageBoxes, {{327, 10000.5}}, 1.0},         // amber
      {kBrakeLabel, {{323, 25000}, {60, 1.0}}, 1.0},   // amber whatever token 60
      {kBrakeLabel, {{323, 31000}, {60, 1.0}}, 0.0},   // green
      {kBrakeLabel, {{323, 31000}, {60, 0.0}}, 1.0},   // amber
      {kBrakeLabel, {{323, 20000}, {60, 1.0}}, -1.0},  // none
      {kHookLabel, {{869, 1.0}}, 0.0},                 // HOOK
      {kHookLabel, {{869, 0.0}}, -1.0},                // none
      {kHydraulic1Text, {{732, 208791.0}}, 100.0},     // bar
      {kHydraulic2Text, {{734, -2087.91}}, -1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "element " << c.element);
    host.tokens = c.tokens;
    EXPECT_NEAR(eval(c.element), c.want, 1e-9);
  }
  EXPECT_EQ(text(kHydraulic1Text), "100 bar");
  EXPECT_EQ(text(kHydraulic2Text), " -1 bar");
}

// --- Navigation circle page ------------------------------------------------------------------

TEST_F(RightDisplay, NavigationTexts) {
  page(cockpit::kRightPageNavCircle);
  struct Case {
    std::size_t element;
    std::map<u32, f64> tokens;
    std::map<u32, u32> int_tokens;
    const char* want;
  };
  const Case cases[] = {
      {kAltitudeHundreds, {{74, 1205}}, {}, " 12"},
      {kAltitudeHundreds, {{74, -500}}, {}, " 12"},  // below zero: the text stays
      {kAirspeed, {{61, 1200}}, {}, "1200 kt"},
      {kAirspeed, {{61, -3}}, {}, "1200 kt"},
      {kCourseText, {{45, 42}, {848, 1}}, {}, "DTK 042"},
      {kCourseText, {{45, 7}}, {}, "CRS 007"},
      {kNav1Distance, {{835, 18520}, {848, 1}}, {}, "GPS 10.0"},
      {kNav2Distance, {{35, 123.4}}, {}, "DME 123."},  // cut at eight characters
      {kNav1Ident, {{848, 1}}, {}, "GPS"},
      {kNav2Ident, {{848, 1}}, {}, ""},  // NAV 2 shows its own identifier (none here)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    host.tokens = c.tokens;
    host.int_tokens = c.int_tokens;
    eval(c.element);
    EXPECT_EQ(text(c.element), c.want);
  }
}

TEST_F(RightDisplay, IdentifierFieldsShowTheHostsTextWhileTheirRadioIsOn) {
  page(cockpit::kRightPageNavCircle);
  auto* nav1 = display.as<TextElement>(kNav1Ident);
  nav1->source[0].value.p = "IORVANE";  // longer than the four-character field
  nav1->callback[0](nav1);
  EXPECT_EQ(text(kNav1Ident), "IORV");
  cockpit::nav1_on = 0;
  nav1->source[0].value.p = "XYZ";
  nav1->callback[0](nav1);
  EXPECT_TRUE(hidden(kNav1Ident));
  EXPECT_EQ(text(kNav1Ident), "IORV");
}

TEST_F(RightDisplay, PointersAndDeviationBarsFollowTheSource) {
  page(cockpit::kRightPageNavCircle);
  struct Case {
    const char* name;
    f64 source, supply;
    u32 nav1_flags;
    bool hollow_shown, filled_shown, glide_slope_shown;
    f64 bar_offset;
  };
  // Heading 30, course 150, deviation 0.4.
  const Case cases[] = {
      {"radio, received", 0, 30, 0x00, true, false, true, 0.4},
      {"radio, filled bar", 0, 30, 0x80, false, true, true, 0.4},
      {"radio, filled bar, weak", 0, 10, 0x80, false, true, true, 0.0},
      {"GPS", 1, 10, 0x80, true, false, false, 0.4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.tokens = {{84, 30}, {854, 150}, {849, 0.4}, {848, c.source}, {755, c.supply}, {852, 1}, {850, 0.3}};
    host.int_tokens = {{46, c.nav1_flags}};
    const f64 hollow = sprite_x(kHollowBar), filled = sprite_x(kFilledBar);
    EXPECT_EQ(!hidden(kHollowBar), c.hollow_shown);
    EXPECT_EQ(!hidden(kFilledBar), c.filled_shown);
    EXPECT_EQ(c.hollow_shown ? hollow : filled, c.bar_offset);
    EXPECT_EQ(eval(kGlideSlopeScale) == 0.0, c.glide_slope_shown);
    EXPECT_EQ(eval(kGlideSlopeDiamond), 0.3);  // the y value, shown or not
    EXPECT_EQ(!hidden(kGlideSlopeDiamond), c.glide_slope_shown);
    const f64 pointer = c.supply >= 20 ? 120.0 : 90.0;  // parked while not received
    EXPECT_EQ(eval(kCoursePointer), pointer);
    auto* bar = display.as<SpriteElement>(kHollowBar);
    EXPECT_EQ(bar->angle_callback(bar), pointer);
  }
  // Parked pointers while their radios are off or flagged.
  host.tokens = {{84, 30}, {39, 200}, {59, 45}, {855, 10}, {853, -1}};
  host.int_tokens = {{55, 0x80}};
  EXPECT_EQ(eval(kNav2Pointer), 90.0);
  host.int_tokens = {};
  EXPECT_EQ(eval(kNav2Pointer), 45.0);
  EXPECT_EQ(eval(kAdfPointer), 200.0);
  EXPECT_EQ(eval(kHeadingBug), -20.0);
  EXPECT_EQ(eval(kToFrom), 150.0);  // course 0 - heading 30 + 180 (FROM)
  cockpit::adf_on = cockpit::nav2_on = cockpit::nav1_on = 0;
  EXPECT_EQ(eval(kAdfPointer), 90.0);
  EXPECT_EQ(eval(kNav2Pointer), 90.0);
  eval(kToFrom);
  EXPECT_TRUE(hidden(kToFrom));
}

// --- Course click areas --------------------------------------------------------------------------

TEST_F(RightDisplay, CourseClicksStepAndWrap) {
  page(cockpit::kRightPageNavCircle);
  constexpr u32 kLeft = kMouseLeftSingle, kRight = kMouseRightSingle;
  struct Case {
    std::size_t box;  // 0 down, 1 up
    f64 course;
    u32 flags;
    u32 sent;
  };
  const Case cases[] = {
      {0, 0, kLeft, 359},          {0, 12.9, kLeft, 11}, {0, 9, kRight, 359},   {0, 10, kRight, 0},
      {1, 359, kLeft, 0},          {1, 0.9, kLeft, 1},   {1, 349, kRight, 359}, {1, 350, kRight, 0},
      {0, 5, kLeft | kRight, 4},    // the left click is tested first
      {0, kNaN, kLeft, 359},        // no number: course 0
      {0, 1e12, kLeft, 999999999},  // held where stepping cannot overflow
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "box " << c.box << " course " << c.course);
    host.events.clear();
    host.tokens = {{c.box == 0 ? 854u : 45u, c.course}};
    EXPECT_EQ(display.click(c.box, c.flags), 0);
    EXPECT_EQ(host.events, (std::vector<KeyEvent>{{65716, c.sent}}));
  }
  host.events.clear();
  EXPECT_EQ(display.click(0, kMouseWheelLike), 0);  // neither left nor right
  page(cockpit::kRightPageEngine);
  EXPECT_EQ(display.click(1, kLeft), 0);
  EXPECT_TRUE(host.events.empty());
}

}  // namespace
