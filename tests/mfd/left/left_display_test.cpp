// The left display driven as the host drives it: a placed copy of the gauge,
// token values from the fake host, every element evaluated, clicks through
// the mouse list.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "cockpit/mode_state.h"
#include "frame/registry.h"
#include "mfd/left/left_pages.h"
#include "mfd/radio_values.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace {

using namespace orv::abi;
using orv::calls;
using orv::test::FakeHost;
using orv::test::GaugeCopy;
using orv::test::KeyEvent;
namespace cockpit = orv::cockpit;
namespace mfd = orv::mfd;

constexpr u32 kLeft = kMouseLeftSingle;
constexpr u32 kWheel = kMouseWheelLike;
constexpr f64 kNaN = std::numeric_limits<f64>::quiet_NaN();

// Click boxes in record order: on/off, four audio buttons, the COM swaps,
// COM 1 and COM 2 tuning (whole up, whole down, fraction up, fraction down),
// the NAV swaps, NAV 1 and NAV 2 tuning, the ADF digits (middle, right, left;
// up then down), the transponder digits (up then down).
constexpr std::size_t kOnOff = 0, kNav1Audio = 1, kCom1Swap = 5, kCom1 = 7, kCom2 = 11, kNav2Swap = 16,
                      kNav1 = 17, kNav2 = 21, kAdf = 25, kXpdr = 31, kBoxCount = 39;

void set_radios(std::int32_t on) {
  cockpit::com1_on = cockpit::com2_on = cockpit::nav1_on = on;
  cockpit::nav2_on = cockpit::adf_on = cockpit::transponder_on = on;
}

class LeftDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    cockpit::left_mfd_page = cockpit::kLeftPageRadios;
    set_radios(1);
    // A cockpit with every indication live: NAV 1 receiving with a glide
    // slope, TO flag, lamps lit, frequencies in mid-band.
    host.tokens = {{84, 90},   {39, 30}, {59, 45},   {855, 120}, {854, 100}, {755, 30},
                   {849, 0.5}, {852, 1}, {850, 0.2}, {853, 1},   {45, 100},  {31, 12.5},
                   {35, 4.2},  {877, 1}, {878, 1},   {880, 1},   {881, 1},   {740, 1}};
    host.int_tokens = {{617, 0x2450}, {23, 0x1835}, {871, 0x2700}, {870, 0x3290}, {872, 0x1130}, {24, 0x0850},
                       {873, 0x1460}, {27, 0x1795}, {16, 0x0344},  {18, 0x0005},  {38, 0x7700}};
  }

  // Runs element i as the host does, including the sprites' offset and
  // rotation channels. Returns the last channel's value.
  f64 run(std::size_t i) {
    f64 v = mfd_.evaluate(i);
    if (mfd_.element(i)->kind == kSprite) {
      auto* s = mfd_.as<SpriteElement>(i);
      if (s->x_callback != nullptr) v = s->x_callback(s);
      if (s->angle_callback != nullptr) v = s->angle_callback(s);
    }
    return v;
  }
  f64 offset(std::size_t i) {
    run(i);
    auto* s = mfd_.as<SpriteElement>(i);
    return s->x_callback(s);
  }
  // Whether element i draws after its evaluation.
  bool visible(std::size_t i) {
    const f64 v = run(i);
    if (mfd_.element(i)->kind == kIcon) return v != -1.0;
    return (mfd_.element(i)->flags & kHiddenFlag) == 0;
  }
  void update() {
    mfd_.service(kServicePreUpdate);
    for (std::size_t i = 0; i < mfd_.size(); ++i) run(i);
  }
  std::string text(std::size_t i) {
    run(i);
    return mfd_.text(i);
  }

  FakeHost host;
  GaugeCopy mfd_{orv::gauges::multi_function_display_left};

  // Elements found in the chain by their callbacks.
  const std::size_t kAdfPointer = mfd_.find(calls<mfd::adf_pointer>);
  const std::size_t kNav2Pointer = mfd_.find(calls<mfd::nav2_pointer>);
  const std::size_t kHeadingBug = mfd_.find(calls<mfd::heading_bug>);
  const std::size_t kCourseLine = mfd_.find(calls<mfd::course_line>);
  const std::size_t kDeviationScale = mfd_.find(calls<mfd::deviation_scale>);
  const std::size_t kHollowBar = mfd_.find(calls<mfd::hollow_bar_offset>);
  const std::size_t kSolidBar = mfd_.find(calls<mfd::solid_bar_offset>);
  const std::size_t kGlideSlopeScale = mfd_.find(calls<mfd::glide_slope_scale>);
  const std::size_t kGlideSlopePointer = mfd_.find(calls<mfd::glide_slope_pointer>);
  const std::size_t kAdfIdent = mfd_.find(calls<mfd::adf_identifier_text>);
  const std::size_t kAdfFrequency = mfd_.find(calls<mfd::adf_frequency_text>);
  const std::size_t kCourse = mfd_.find(calls<mfd::course_text>);
  const std::size_t kNav2Ident = mfd_.find(calls<mfd::nav2_identifier_text>);
  const std::size_t kNav1Ident = mfd_.find(calls<mfd::nav1_identifier_text>);
  const std::size_t kNav1Frequency = mfd_.find(calls<mfd::nav1_frequency_text>);
  const std::size_t kNav2Frequency = mfd_.find(calls<mfd::nav2_frequency_text>);
  const std::size_t kNav1Distance = mfd_.find(calls<mfd::nav1_distance_text>);
  const std::size_t kNav2Distance = mfd_.find(calls<mfd::nav2_distance_text>);
  const std::size_t kToFrom = mfd_.find(calls<mfd::to_from_text>);
  const std::size_t kCom2SwapLit = mfd_.find(calls<mfd::com2_swap_lit>);
  const std::size_t kCom1SwapLit = mfd_.find(calls<mfd::com1_swap_lit>);
  // The COM 1 standby string is the first bound to com1_text; the ADF lamp
  // the second of the five button lamps (MKR, ADF, NAV 2, NAV 1, ON/OFF).
  const std::size_t kCom1Standby = mfd_.find(calls<mfd::com1_text>, 0);
  const std::size_t kAdfLamp = mfd_.find(calls<mfd::button_lamp>, 1);
};

TEST_F(LeftDisplay, EachPageShowsOnlyItsOwnElements) {
  // The pages follow each other in the chain after the face, each from its
  // page face on: weapons, navigation arc, map, radar, radios. The solid bar
  // stays dark because the NAV 1 flag word asks for the hollow bar.
  const std::size_t arc = mfd_.find(calls<mfd::arc_page_face>), map = mfd_.find(calls<mfd::map_page_face>);
  const std::size_t radar = mfd_.find(calls<mfd::radar_page_face>);
  const std::size_t radios = mfd_.find(calls<mfd::radios_page_face>);
  auto page_of = [&](std::size_t i) -> std::int32_t {
    if (i < arc) return cockpit::kLeftPageWeapons;
    if (i < map) return cockpit::kLeftPageNavArc;
    if (i < radar) return cockpit::kLeftPageMap;
    if (i < radios) return cockpit::kLeftPageRadar;
    return cockpit::kLeftPageRadios;
  };
  for (std::int32_t page : {0, 1, 2, 3, 4, 5, 6, -7}) {
    cockpit::left_mfd_page = page;
    for (std::size_t i = 0; i < mfd_.size(); ++i) {
      const bool expected = i == 0 || (page_of(i) == page && i != kSolidBar);
      EXPECT_EQ(visible(i), expected) << "page " << page << " element " << i;
    }
  }
}

// A radio switched off goes dark and keeps its text; texts come from the last
// refresh.
TEST_F(LeftDisplay, RadiosPageTextsComeFromTheLastRefresh) {
  update();
  EXPECT_STREQ(mfd_.text(kCom1Standby), "124.50");
  cockpit::com1_on = 0;
  host.int_tokens[617] = 0x1900;
  EXPECT_FALSE(visible(kCom1Standby));
  EXPECT_STREQ(mfd_.text(kCom1Standby), "124.50");
  EXPECT_FALSE(visible(kCom1SwapLit));  // COM 1 swap box dark
  EXPECT_TRUE(visible(kCom2SwapLit));
  cockpit::com1_on = 1;
  host.tokens[880] = 0;
  EXPECT_FALSE(visible(kAdfLamp));  // ADF lamp off
  EXPECT_STREQ(text(kCom1Standby).c_str(), "119.00");
}

// The key event of every box (no picture shows which one a box sends).
TEST_F(LeftDisplay, EveryBoxSendsItsEvent) {
  const u32 events[kBoxCount] = {66293, 65842, 65843, 65846, 66477, 66372, 66444, 65637, 65636, 65639,
                                 65638, 66437, 66436, 66440, 66438, 66448, 66452, 65641, 65640, 65643,
                                 65642, 65645, 65644, 65647, 65646, 66542, 66543, 66462, 66461, 65648,
                                 65666, 65651, 66455, 65652, 66456, 65653, 66457, 65654, 66458};
  host.tokens[740] = 0;  // the first click, ON/OFF, then switches every radio on
  mfd_.service(kServicePreUpdate);
  for (std::size_t n = 0; n < kBoxCount; ++n) {
    host.events.clear();
    mfd_.click(n, kLeft);
    EXPECT_EQ(host.events, (std::vector<KeyEvent>{{events[n], 0}})) << n;
  }
  EXPECT_EQ(mfd_.mouse(kMouseBox, kBoxCount), nullptr);
}

TEST_F(LeftDisplay, TuningLimitsJustInsideAndJustOutside) {
  constexpr std::size_t kWholeUp = 0, kWholeDown = 1, kFractionUp = 2, kFractionDown = 3;
  const struct {
    std::size_t box;
    u32 token, packed;
    bool sends;
  } cases[] = {
      {kCom1 + kWholeUp, 617, 0x3597, true},       {kCom1 + kWholeUp, 617, 0x3600, false},
      {kCom1 + kWholeDown, 617, 0x1900, true},     {kCom1 + kWholeDown, 617, 0x1800, false},
      {kCom1 + kFractionUp, 617, 0x3697, true},    {kCom1 + kFractionUp, 617, 0x3700, false},
      {kCom1 + kFractionUp, 617, 0x3600, true},    {kCom1 + kFractionDown, 617, 0x1801, true},
      {kCom1 + kFractionDown, 617, 0x1800, false}, {kCom2 + kWholeUp, 871, 0x3600, false},
      {kCom2 + kFractionDown, 871, 0x1800, false}, {kCom2 + kFractionUp, 871, 0x3697, true},
      {kNav1 + kWholeUp, 872, 0x1695, true},       {kNav1 + kWholeUp, 872, 0x1700, false},
      {kNav1 + kWholeDown, 872, 0x0900, true},     {kNav1 + kWholeDown, 872, 0x0800, false},
      {kNav1 + kFractionUp, 872, 0x1790, true},    {kNav1 + kFractionUp, 872, 0x1795, false},
      {kNav1 + kFractionDown, 872, 0x0805, true},  {kNav1 + kFractionDown, 872, 0x0804, false},
      {kNav1 + kFractionDown, 872, 0x0800, false}, {kNav2 + kFractionDown, 873, 0x0805, true},
      {kNav2 + kWholeDown, 873, 0x0800, false},    {kNav2 + kFractionUp, 873, 0x1795, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.box) + " at " + std::to_string(c.packed));
    host.int_tokens[c.token] = c.packed;
    host.events.clear();
    mfd_.click(c.box, kLeft);
    EXPECT_EQ(host.events.size(), c.sends ? 1u : 0u);
  }
  // The areas decode afresh into the shared values, even when they send nothing.
  EXPECT_EQ(mfd::nav2_mhz, 117);
  EXPECT_EQ(mfd::nav2_mhz_hundredths, 95);
}

TEST_F(LeftDisplay, AdfLimitsUseTheLastRefresh) {
  enum { kMiddleUp, kMiddleDown, kRightUp, kRightDown, kLeftUp, kLeftDown };
  const struct {
    std::size_t box;
    u32 digits, tenths_word;
    bool sends;
  } cases[] = {
      {kMiddleUp, 0x0699, 0x100, false}, {kMiddleUp, 0x0698, 0x100, true}, {kRightUp, 0x0699, 0x100, true},
      {kRightUp, 0x0800, 0x100, false},  {kLeftUp, 0x0699, 0x100, false},  {kLeftUp, 0x0600, 0x100, true},
      {kLeftDown, 0x0300, 0, true},      {kLeftDown, 0x0299, 0, false},    {kMiddleDown, 0x0201, 0, true},
      {kMiddleDown, 0x0200, 0x9, false}, {kRightDown, 0x0201, 0, true},    {kRightDown, 0x0200, 0x9, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.box) + " at " + std::to_string(c.digits));
    host.int_tokens[16] = c.digits;
    host.int_tokens[18] = c.tenths_word;
    mfd_.service(kServicePreUpdate);
    host.int_tokens[16] = 0x0500;  // a change after the update is not seen
    host.events.clear();
    mfd_.click(kAdf + c.box, kWheel);
    EXPECT_EQ(host.events.size(), c.sends ? 1u : 0u);
  }
}

TEST_F(LeftDisplay, NothingSendsOffTheRadiosPageOrWithTheRadioOff) {
  mfd_.service(kServicePreUpdate);
  for (std::int32_t page : {0, 1, 2, 4, 5}) {
    cockpit::left_mfd_page = page;
    for (std::size_t n = 0; n < kBoxCount; ++n) mfd_.click(n, kLeft | kWheel);
  }
  cockpit::left_mfd_page = cockpit::kLeftPageRadios;
  set_radios(0);
  for (std::size_t n = kCom1Swap; n < kBoxCount; ++n) mfd_.click(n, kLeft | kWheel);
  EXPECT_TRUE(host.events.empty());
  // The audio buttons do not depend on the radios' flags.
  mfd_.click(kNav1Audio, kLeft);
  EXPECT_EQ(host.events, (std::vector<KeyEvent>{{65842, 0}}));
}

TEST_F(LeftDisplay, OnOffFollowsTheSwitchStateItProduces) {
  auto radios_on = [] {
    return cockpit::adf_on + cockpit::com1_on + cockpit::com2_on + cockpit::nav1_on + cockpit::nav2_on +
           cockpit::transponder_on;
  };
  set_radios(0);
  // Anything but exactly 0 counts as on; only the left button acts.
  const std::pair<f64, int> cases[] = {{0, 6}, {1, 0}, {0, 6}, {0.5, 0}};
  for (auto [master, after] : cases) {
    host.tokens[740] = master;
    mfd_.click(kOnOff, kLeft);
    EXPECT_EQ(radios_on(), after) << master;
  }
  mfd_.click(kOnOff, kWheel);
  EXPECT_EQ(host.events, std::vector<KeyEvent>(4, {66293, 0}));
}

TEST_F(LeftDisplay, CursorsFollowThePage) {
  const struct {
    std::size_t box;
    i32 on_page, off_page;
  } cases[] =
      {
          {4, 5, -1},        {kOnOff, 5, -1},    {kCom1Swap + 1, 5, -1}, {kAdf + 4, 1, -1},
          {kAdf + 3, 2, -1}, {kXpdr + 4, 1, -1}, {kXpdr + 1, 2, -1},     {kNav1, 1, 1},
          {kCom1 + 3, 2, 2},  // tuning areas keep their record's cursor
      };
  host.tokens[740] = 0;  // ON/OFF clicks keep every radio on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    MouseRect* r = mfd_.mouse(kMouseBox, c.box);
    cockpit::left_mfd_page = cockpit::kLeftPageRadios;
    r->action.fn(nullptr, 0);  // a null click record leaves the cursor alone
    mfd_.click(c.box, kLeft);
    EXPECT_EQ(r->cursor, c.on_page);
    cockpit::left_mfd_page = cockpit::kLeftPageNavArc;
    mfd_.click(c.box, kLeft);
    EXPECT_EQ(r->cursor, c.off_page);
  }
  cockpit::left_mfd_page = cockpit::kLeftPageRadios;
  cockpit::com1_on = 0;
  mfd_.click(kCom1Swap, kLeft);
  EXPECT_EQ(mfd_.mouse(kMouseBox, kCom1Swap)->cursor, -1);
  // A null or foreign click record still acts.
  host.events.clear();
  mfd_.mouse(kMouseBox, kNav2Swap)->action.fn(nullptr, kLeft);
  Click foreign{};
  mfd_.mouse(kMouseBox, kXpdr + 6)->action.fn(&foreign, kLeft);
  EXPECT_EQ(host.events, (std::vector<KeyEvent>{{66452, 0}, {65654, 0}}));
}

// --- Navigation arc page ---------------------------------------------------------

class ArcPage : public LeftDisplay {
 protected:
  void SetUp() override {
    LeftDisplay::SetUp();
    cockpit::left_mfd_page = cockpit::kLeftPageNavArc;
    host.tokens[848] = 0;
    host.expression_numbers["(A:GPS IS ACTIVE WAY POINT,number)"] = 0;
    host.text_tokens = {{19, "ADF"}, {47, "IOR"}, {56, "TAC"}, {839, "WPT1"}};
  }
  void expect_texts(const std::vector<std::pair<std::size_t, const char*>>& texts) {
    for (const auto& [r, want] : texts) EXPECT_EQ(text(r), want) << "element " << r;
  }
};

// The flag words and the TO/FROM value pick what shows, and a course below
// 100 keeps its zeros (the nominal guidance is the arc page picture's).
TEST_F(ArcPage, NavFlagsPickBarsPointersAndToFrom) {
  EXPECT_EQ(offset(kHollowBar), 0.5);  // hollow bar follows the deviation
  EXPECT_FALSE(visible(kSolidBar));    // solid bar only with bit 0x80
  host.tokens[45] = 7;
  EXPECT_EQ(text(kCourse), "CRS 007");
  host.tokens[853] = -1;
  EXPECT_EQ(text(kToFrom), "FROM");
  host.int_tokens[46] = 0x80;
  EXPECT_FALSE(visible(kHollowBar));
  EXPECT_TRUE(visible(kSolidBar));
  EXPECT_EQ(offset(kSolidBar), 0.5);
  host.int_tokens[55] = 0x80;
  EXPECT_EQ(run(kNav2Pointer), 90);  // NAV 2 pointer parked by its flag
}

TEST_F(ArcPage, NavOneOffOrWeakParksTheCourse) {
  host.tokens[755] = 19.9;  // weak supply: parked, flags still shown
  for (std::size_t r : {kCourseLine, kDeviationScale, kHollowBar}) EXPECT_EQ(run(r), 90) << r;
  EXPECT_EQ(offset(kHollowBar), 0);
  EXPECT_TRUE(visible(kHollowBar));
  EXPECT_TRUE(visible(kToFrom));
  host.tokens[755] = 20;
  EXPECT_EQ(offset(kHollowBar), 0.5);
  cockpit::nav1_on = 0;
  for (std::size_t r : {kCourseLine, kDeviationScale, kHollowBar}) EXPECT_EQ(run(r), 90) << r;
  EXPECT_EQ(offset(kHollowBar), 0);
  host.int_tokens[46] = 0x80;
  EXPECT_EQ(offset(kSolidBar), 0);
  for (std::size_t r : {kGlideSlopeScale, kGlideSlopePointer, kNav1Frequency, kNav1Distance, kToFrom})
    EXPECT_FALSE(visible(r)) << r;
  EXPECT_EQ(text(kNav1Ident), "---");
}

TEST_F(ArcPage, GpsSourceWithAndWithoutWaypoint) {
  host.tokens[848] = 1;
  host.tokens[835] = 18520;
  EXPECT_EQ(run(kCourseLine), 0);
  for (std::size_t r : {kHollowBar, kSolidBar, kToFrom, kGlideSlopeScale, kGlideSlopePointer})
    EXPECT_FALSE(visible(r)) << r;  // no glide slope either
  expect_texts({{kNav1Ident, "GPS"}, {kAdfIdent, "GPS"}, {kCourse, "DTK 100"}, {kNav1Distance, "GPS 10.0"}});
  host.expression_numbers["(A:GPS IS ACTIVE WAY POINT,number)"] = 1;
  EXPECT_TRUE(visible(kHollowBar));
  EXPECT_EQ(offset(kHollowBar), 0.5);
  expect_texts({{kNav1Ident, "WPT1"}, {kToFrom, " TO "}});
  host.tokens[853] = 0;
  EXPECT_TRUE(visible(kToFrom));
  EXPECT_EQ(text(kToFrom), " TO ");  // keeps its text for no indication
  host.tokens[835] = 0;
  EXPECT_EQ(text(kNav1Distance), "GPS ---");
  // Halfway: GPS except for the glide slope.
  host.tokens[848] = 0.5;
  EXPECT_EQ(text(kCourse), "DTK 100");
  EXPECT_TRUE(visible(kGlideSlopeScale));
  EXPECT_EQ(run(kGlideSlopePointer), 0.2);
  host.tokens[852] = 0.4;
  EXPECT_TRUE(visible(kGlideSlopeScale));
  EXPECT_FALSE(visible(kGlideSlopePointer));
}

TEST_F(ArcPage, AdfFrequencyFormsAndRadiosOff) {
  host.int_tokens[18] = 0x0105;
  EXPECT_EQ(text(kAdfFrequency), "1344.5");
  EXPECT_EQ(mfd::adf_khz, 1344);
  cockpit::adf_on = 0;
  EXPECT_FALSE(visible(kAdfIdent));
  EXPECT_FALSE(visible(kAdfFrequency));
  EXPECT_EQ(run(kAdfPointer), 90);
  cockpit::nav2_on = 0;
  for (std::size_t r : {kNav2Ident, kNav2Frequency, kNav2Distance}) EXPECT_FALSE(visible(r)) << r;
  EXPECT_EQ(run(kNav2Pointer), 90);
  cockpit::left_mfd_page = cockpit::kLeftPageRadios;  // off the page
  EXPECT_EQ(run(kAdfPointer), 30);
  EXPECT_EQ(run(kHollowBar), 90);
  EXPECT_EQ(run(kHeadingBug), 30);
}

}  // namespace
