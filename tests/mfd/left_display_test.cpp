// The left display driven as the host drives it: a placed copy of the gauge,
// token values from the fake host, every element evaluated, clicks through
// the mouse list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "cockpit/mode_state.h"
#include "frame/registry.h"
#include "mfd/radio_values.h"
#include "sound/sound.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace {

using namespace orv::abi;
using orv::test::FakeHost;
using orv::test::GaugeCopy;
using orv::test::KeyEvent;
namespace cockpit = orv::cockpit;
namespace mfd = orv::mfd;

constexpr u32 kLeft = kMouseLeftSingle;
constexpr u32 kWheel = kMouseWheelLike;
constexpr f64 kNaN = std::numeric_limits<f64>::quiet_NaN();

// Elements by row of the drawing order (1-based, as the display lists them).
constexpr std::size_t row(std::size_t r) { return r - 1; }

// Click boxes in record order.
enum Box : std::size_t {
  kOnOff = 0,
  kNav1Audio,
  kNav2Audio,
  kAdfAudio,
  kMarkerAudio,
  kCom1Swap,
  kCom2Swap,
  kCom1WholeUp,
  kCom1WholeDown,
  kCom1FractionUp,
  kCom1FractionDown,
  kCom2WholeUp,
  kCom2WholeDown,
  kCom2FractionUp,
  kCom2FractionDown,
  kNav1Swap,
  kNav2Swap,
  kNav1WholeUp,
  kNav1WholeDown,
  kNav1FractionUp,
  kNav1FractionDown,
  kNav2WholeUp,
  kNav2WholeDown,
  kNav2FractionUp,
  kNav2FractionDown,
  kAdfMiddleUp,
  kAdfMiddleDown,
  kAdfRightUp,
  kAdfRightDown,
  kAdfLeftUp,
  kAdfLeftDown,
  kXpdr1Up,
  kXpdr1Down,
  kXpdr2Up,
  kXpdr2Down,
  kXpdr3Up,
  kXpdr3Down,
  kXpdr4Up,
  kXpdr4Down,
  kBoxCount
};

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
  void TearDown() override {
    cockpit::left_mfd_page = 0;
    set_radios(0);
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
    return !is_hidden(mfd_.element(i));
  }

  void update() {
    mfd_.service(kServicePreUpdate);
    for (std::size_t i = 0; i < mfd_.size(); ++i) run(i);
  }

  std::string text(std::size_t i) {
    run(i);
    return mfd_.text(i);
  }

  static bool is_hidden(const ElementHeader* e) { return (e->flags & kHiddenFlag) != 0; }

  FakeHost host;
  GaugeCopy mfd_{orv::gauges::multi_function_display_left};
};

TEST_F(LeftDisplay, EachPageShowsOnlyItsOwnElements) {
  // Row ranges of each page; row 11 (the solid bar) stays dark because the
  // NAV 1 flag word asks for the hollow bar.
  auto page_of = [](std::size_t r) -> std::int32_t {
    if (r == 2) return 4;
    if (r >= 3 && r <= 25) return 5;
    if (r == 26) return 2;
    if (r == 27) return 1;
    if (r >= 28) return 3;
    return -1;  // the face: every page
  };
  for (std::int32_t page : {0, 1, 2, 3, 4, 5, 6, -7}) {
    cockpit::left_mfd_page = page;
    for (std::size_t r = 1; r <= mfd_.size(); ++r) {
      const bool expected = r == 1 || (page_of(r) == page && r != 11);
      EXPECT_EQ(visible(row(r)), expected) << "page " << page << " row " << r;
    }
  }
}

TEST_F(LeftDisplay, UpdateRefreshesTheSharedRadioValues) {
  mfd_.service(kServicePreUpdate);
  EXPECT_EQ(host.token_reads, (std::vector<u32>{617, 617, 871, 871, 872, 872, 873, 873, 16, 18, 18, 38}));
  EXPECT_EQ(mfd::com1_mhz, 124);
  EXPECT_EQ(mfd::nav2_mhz_hundredths, 60);
  EXPECT_EQ(mfd::transponder_code, 7700);
}

TEST_F(LeftDisplay, SoundLivesFromSetUpToRelease) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  auto& channel = orv::sound::channels::multi_function_display_left;
  mfd_.service(kServiceInstall, 0);
  if (orv::sound::sound_usable == 0) GTEST_SKIP() << "no sound device here";
  EXPECT_NE(channel.device, nullptr);
  // A second instance (the pop-up copy) takes the channel over; nothing leaks.
  GaugeCopy popup(orv::gauges::multi_function_display_left);
  popup.service(kServiceInstall, 0);
  EXPECT_NE(channel.buffer, nullptr);
  mfd_.service(kServicePreKill);
  EXPECT_EQ(channel.device, nullptr);
  EXPECT_EQ(channel.buffer, nullptr);
  popup.service(kServicePreKill);
}

TEST_F(LeftDisplay, RadiosPageTexts) {
  update();
  const std::pair<std::size_t, const char*> texts[] = {
      {29, "7700"},   {30, "0344.5"}, {31, "111.30"}, {32, "108.50"}, {33, "114.60"},
      {34, "117.95"}, {35, "124.50"}, {36, "118.35"}, {37, "127.00"}, {38, "132.90"},
  };
  for (const auto& [r, s] : texts) EXPECT_EQ(mfd_.text(row(r)), std::string(s)) << r;
  host.int_tokens[18] = 0x0105;
  host.int_tokens[38] = 0x0007;
  update();
  EXPECT_STREQ(mfd_.text(row(30)), "0344.5");  // the ADF readout shows the token digits
  EXPECT_STREQ(mfd_.text(row(29)), "0007");
  EXPECT_EQ(run(row(36)), static_cast<f64>(0x1835));
}

TEST_F(LeftDisplay, ARadioSwitchedOffGoesDarkAndKeepsItsText) {
  update();
  cockpit::com1_on = 0;
  host.int_tokens[617] = 0x1900;
  EXPECT_FALSE(visible(row(35)));
  EXPECT_STREQ(mfd_.text(row(35)), "124.50");  // a hidden string keeps its old text
  EXPECT_FALSE(visible(row(42)));              // COM 1 swap box dark
  EXPECT_TRUE(visible(row(41)));
  cockpit::com1_on = 1;
  cockpit::left_mfd_page = cockpit::kLeftPageNavArc;
  EXPECT_FALSE(visible(row(35)));
  EXPECT_STREQ(mfd_.text(row(35)), "124.50");
  host.tokens[880] = 0;
  cockpit::left_mfd_page = cockpit::kLeftPageRadios;
  EXPECT_FALSE(visible(row(44)));  // ADF lamp off
  EXPECT_STREQ(text(row(35)).c_str(), "119.00");
}

// Every action box on page 3 with every radio on, in record order: its box,
// record cursor, requested flags and the event one left click sends.
TEST_F(LeftDisplay, ActionBoxesInRecordOrder) {
  struct Expect {
    PixBox box;
    i32 cursor;
    u32 flags;
    u32 event;
  };
  constexpr u32 B = 0x20e00000, L = 0x20000000;
  const Expect boxes[] = {
      {{11, 257, 43, 19}, -1, B, 66293},  {{66, 257, 43, 19}, -1, B, 65842},
      {{121, 257, 43, 19}, -1, B, 65843}, {{176, 257, 43, 19}, -1, B, 65846},
      {{231, 257, 43, 19}, -1, B, 66477}, {{9, 41, 27, 19}, 5, L, 66372},
      {{250, 41, 27, 19}, 5, L, 66444},   {{59, 31, 36, 20}, 1, L, 65637},
      {{59, 54, 36, 20}, 2, L, 65636},    {{95, 31, 36, 20}, 1, L, 65639},
      {{95, 54, 36, 20}, 2, L, 65638},    {{167, 31, 36, 20}, 1, L, 66437},
      {{167, 54, 36, 20}, 2, L, 66436},   {{203, 31, 36, 20}, 1, L, 66440},
      {{203, 54, 36, 20}, 2, L, 66438},   {{9, 122, 27, 19}, 5, L, 66448},
      {{250, 122, 27, 19}, 5, L, 66452},  {{59, 112, 36, 20}, 1, L, 65641},
      {{59, 135, 36, 20}, 2, L, 65640},   {{95, 112, 36, 20}, 1, L, 65643},
      {{95, 135, 36, 20}, 2, L, 65642},   {{167, 112, 36, 20}, 1, L, 65645},
      {{167, 135, 36, 20}, 2, L, 65644},  {{203, 112, 36, 20}, 1, L, 65647},
      {{203, 135, 36, 20}, 2, L, 65646},  {{59, 182, 36, 20}, -1, B, 66542},
      {{59, 202, 36, 20}, -1, B, 66543},  {{95, 182, 36, 20}, -1, B, 66462},
      {{95, 202, 36, 20}, -1, B, 66461},  {{23, 182, 36, 20}, -1, B, 65648},
      {{23, 202, 36, 20}, -1, B, 65666},  {{154, 182, 20, 20}, -1, B, 65651},
      {{154, 202, 20, 20}, -1, B, 66455}, {{174, 182, 20, 20}, -1, B, 65652},
      {{174, 202, 20, 20}, -1, B, 66456}, {{194, 182, 20, 20}, -1, B, 65653},
      {{194, 202, 20, 20}, -1, B, 66457}, {{214, 182, 20, 20}, -1, B, 65654},
      {{214, 202, 20, 20}, -1, B, 66458},
  };
  static_assert(std::size(boxes) == kBoxCount);
  host.tokens[740] = 0;  // the first click, ON/OFF, then switches every radio on
  mfd_.service(kServicePreUpdate);
  for (std::size_t n = 0; n < kBoxCount; ++n) {
    SCOPED_TRACE(n);
    const MouseRect* r = mfd_.mouse(kMouseBox, n);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->box.x, boxes[n].box.x);
    EXPECT_EQ(r->box.y, boxes[n].box.y);
    EXPECT_EQ(r->box.w, boxes[n].box.w);
    EXPECT_EQ(r->box.h, boxes[n].box.h);
    EXPECT_EQ(r->cursor, boxes[n].cursor);
    EXPECT_EQ(r->flags, boxes[n].flags);
    EXPECT_EQ(r->event, 0u);
    EXPECT_EQ(r->help_id, 0u);
    host.events.clear();
    mfd_.click(n, kLeft);
    EXPECT_EQ(host.events, (std::vector<KeyEvent>{{boxes[n].event, 0}}));
  }
  EXPECT_EQ(mfd_.mouse(kMouseBox, kBoxCount), nullptr);
}

struct LimitCase {
  Box box;
  u32 token, packed;
  bool sends;
};

TEST_F(LeftDisplay, TuningLimitsJustInsideAndJustOutside) {
  const LimitCase cases[] = {
      {kCom1WholeUp, 617, 0x3597, true},       {kCom1WholeUp, 617, 0x3600, false},
      {kCom1WholeDown, 617, 0x1900, true},     {kCom1WholeDown, 617, 0x1800, false},
      {kCom1FractionUp, 617, 0x3697, true},    {kCom1FractionUp, 617, 0x3700, false},
      {kCom1FractionUp, 617, 0x3600, true},    {kCom1FractionDown, 617, 0x1801, true},
      {kCom1FractionDown, 617, 0x1800, false}, {kCom2WholeUp, 871, 0x3600, false},
      {kCom2FractionDown, 871, 0x1800, false}, {kCom2FractionUp, 871, 0x3697, true},
      {kNav1WholeUp, 872, 0x1695, true},       {kNav1WholeUp, 872, 0x1700, false},
      {kNav1WholeDown, 872, 0x0900, true},     {kNav1WholeDown, 872, 0x0800, false},
      {kNav1FractionUp, 872, 0x1790, true},    {kNav1FractionUp, 872, 0x1795, false},
      {kNav1FractionDown, 872, 0x0805, true},  {kNav1FractionDown, 872, 0x0804, false},
      {kNav1FractionDown, 872, 0x0800, false}, {kNav2FractionDown, 873, 0x0805, true},
      {kNav2WholeDown, 873, 0x0800, false},    {kNav2FractionUp, 873, 0x1795, false},
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
  struct AdfCase {
    Box box;
    u32 digits, tenths_word;
    bool sends;
  };
  const AdfCase cases[] = {
      {kAdfMiddleUp, 0x0699, 0x100, false}, {kAdfMiddleUp, 0x0698, 0x100, true},
      {kAdfRightUp, 0x0699, 0x100, true},   {kAdfRightUp, 0x0800, 0x100, false},
      {kAdfLeftUp, 0x0699, 0x100, false},   {kAdfLeftUp, 0x0600, 0x100, true},
      {kAdfLeftDown, 0x0300, 0, true},      {kAdfLeftDown, 0x0299, 0, false},
      {kAdfMiddleDown, 0x0201, 0, true},    {kAdfMiddleDown, 0x0200, 0x9, false},
      {kAdfRightDown, 0x0201, 0, true},     {kAdfRightDown, 0x0200, 0x9, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.box) + " at " + std::to_string(c.digits));
    host.int_tokens[16] = c.digits;
    host.int_tokens[18] = c.tenths_word;
    mfd_.service(kServicePreUpdate);
    host.int_tokens[16] = 0x0500;  // a change after the update is not seen
    host.events.clear();
    mfd_.click(c.box, kWheel);
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
  set_radios(0);
  host.tokens[740] = 0;
  mfd_.click(kOnOff, kLeft);
  EXPECT_EQ(cockpit::adf_on + cockpit::com1_on + cockpit::com2_on + cockpit::nav1_on + cockpit::nav2_on +
                cockpit::transponder_on,
            6);
  host.tokens[740] = 1;
  mfd_.click(kOnOff, kLeft);
  EXPECT_EQ(cockpit::adf_on + cockpit::com1_on + cockpit::com2_on + cockpit::nav1_on + cockpit::nav2_on +
                cockpit::transponder_on,
            0);
  host.tokens[740] = 0.5;  // anything but exactly 0 counts as on
  mfd_.click(kOnOff, kLeft);
  EXPECT_EQ(cockpit::nav1_on, 0);
  mfd_.click(kOnOff, kWheel);  // only the left button acts
  EXPECT_EQ(host.events, (std::vector<KeyEvent>{{66293, 0}, {66293, 0}, {66293, 0}}));
}

TEST_F(LeftDisplay, CursorsFollowThePage) {
  struct CursorCase {
    Box box;
    i32 on_page, off_page;
  };
  const CursorCase cases[] = {
      {kMarkerAudio, 5, -1},     {kOnOff, 5, -1},   {kCom2Swap, 5, -1},  {kAdfLeftUp, 1, -1},
      {kAdfRightDown, 2, -1},    {kXpdr3Up, 1, -1}, {kXpdr1Down, 2, -1}, {kNav1WholeUp, 1, 1},
      {kCom1FractionDown, 2, 2},  // tuning areas keep their record's cursor
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
  // A null click record still acts.
  host.events.clear();
  mfd_.mouse(kMouseBox, kNav2Swap)->action.fn(nullptr, kLeft);
  Click foreign{};
  mfd_.mouse(kMouseBox, kXpdr4Up)->action.fn(&foreign, kLeft);
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
    host.expression_texts.clear();
    idents_ = {"ADF", "IOR", "TAC", "WPT1"};
    host.text_tokens = {{19, idents_[0].c_str()},
                        {47, idents_[1].c_str()},
                        {56, idents_[2].c_str()},
                        {839, idents_[3].c_str()}};
  }
  std::vector<std::string> idents_;
};

TEST_F(ArcPage, NavOneReceivingMovesTheGuidance) {
  EXPECT_EQ(run(row(4)), 90);         // compass card: heading
  EXPECT_EQ(run(row(5)), 30);         // ADF bearing
  EXPECT_EQ(run(row(6)), 45);         // NAV 2 bearing
  EXPECT_EQ(run(row(7)), 120 - 90);   // heading bug relative to heading
  EXPECT_EQ(run(row(8)), 100 - 90);   // course line
  EXPECT_EQ(run(row(9)), 100 - 90);   // deviation scale
  EXPECT_EQ(run(row(10)), 100 - 90);  // bar rotation
  EXPECT_EQ(offset(row(10)), 0.5);    // hollow bar follows the deviation
  EXPECT_FALSE(visible(row(11)));     // solid bar only with bit 0x80
  EXPECT_EQ(text(row(15)), "090");
  EXPECT_EQ(text(row(16)), "ADF");
  EXPECT_EQ(text(row(17)), "0344.5");
  EXPECT_EQ(text(row(18)), "CRS 100");
  EXPECT_EQ(text(row(19)), "TAC");
  EXPECT_EQ(text(row(20)), "IOR");
  EXPECT_EQ(text(row(21)), "108.50");
  EXPECT_EQ(text(row(22)), "117.95");
  EXPECT_EQ(text(row(23)), "DME 12.5");
  EXPECT_EQ(text(row(24)), "DME 4.20");
  EXPECT_EQ(text(row(25)), " TO ");
  host.tokens[853] = -1;
  EXPECT_EQ(text(row(25)), "FROM");
  host.int_tokens[46] = 0x80;
  EXPECT_FALSE(visible(row(10)));
  EXPECT_TRUE(visible(row(11)));
  EXPECT_EQ(offset(row(11)), 0.5);
  host.int_tokens[55] = 0x80;
  EXPECT_EQ(run(row(6)), 90);  // NAV 2 pointer parked by its flag
}

TEST_F(ArcPage, NavOneOffParksAndHides) {
  cockpit::nav1_on = 0;
  for (std::size_t r : {8, 9, 10}) EXPECT_EQ(run(row(r)), 90) << r;
  EXPECT_EQ(offset(row(10)), 0);
  host.int_tokens[46] = 0x80;
  EXPECT_EQ(offset(row(11)), 0);
  for (std::size_t r : {13, 14, 21, 23, 25}) EXPECT_FALSE(visible(row(r))) << r;
  EXPECT_EQ(text(row(20)), "---");
}

TEST_F(ArcPage, WeakSupplyParksTheCourseButNotTheFlags) {
  host.tokens[755] = 19.9;
  for (std::size_t r : {8, 9, 10}) EXPECT_EQ(run(row(r)), 90) << r;
  EXPECT_EQ(offset(row(10)), 0);
  EXPECT_TRUE(visible(row(10)));
  EXPECT_TRUE(visible(row(25)));
  host.tokens[755] = 20;
  EXPECT_EQ(offset(row(10)), 0.5);
}

TEST_F(ArcPage, GpsSourceWithAndWithoutWaypoint) {
  host.tokens[848] = 1;
  host.tokens[835] = 18520;
  EXPECT_EQ(run(row(8)), 0);
  EXPECT_FALSE(visible(row(10)));
  EXPECT_FALSE(visible(row(11)));
  EXPECT_FALSE(visible(row(25)));
  EXPECT_EQ(text(row(20)), "GPS");
  EXPECT_EQ(text(row(16)), "GPS");
  EXPECT_EQ(text(row(18)), "DTK 100");
  EXPECT_EQ(text(row(23)), "GPS 10.0");
  EXPECT_FALSE(visible(row(13)));  // exactly 1.0: no glide slope
  EXPECT_FALSE(visible(row(14)));
  host.expression_numbers["(A:GPS IS ACTIVE WAY POINT,number)"] = 1;
  EXPECT_TRUE(visible(row(10)));
  EXPECT_EQ(offset(row(10)), 0.5);
  EXPECT_EQ(text(row(20)), "WPT1");
  EXPECT_EQ(text(row(25)), " TO ");
  host.tokens[853] = 0;
  EXPECT_TRUE(visible(row(25)));
  EXPECT_EQ(text(row(25)), " TO ");  // keeps its text for no indication
  host.tokens[835] = 0;
  EXPECT_EQ(text(row(23)), "GPS ---");
}

TEST_F(ArcPage, HalfwaySourceIsGpsExceptForTheGlideSlope) {
  host.tokens[848] = 0.5;
  EXPECT_EQ(text(row(18)), "DTK 100");
  EXPECT_TRUE(visible(row(13)));
  EXPECT_TRUE(visible(row(14)));
  EXPECT_EQ(run(row(14)), 0.2);
  host.tokens[852] = 0.4;
  EXPECT_TRUE(visible(row(13)));
  EXPECT_FALSE(visible(row(14)));
}

TEST_F(ArcPage, AdfFrequencyFormsAndRadiosOff) {
  host.int_tokens[18] = 0x0105;
  EXPECT_EQ(text(row(17)), "1344.5");
  EXPECT_EQ(mfd::adf_khz, 1344);
  cockpit::adf_on = 0;
  EXPECT_FALSE(visible(row(16)));
  EXPECT_FALSE(visible(row(17)));
  EXPECT_EQ(run(row(5)), 90);
  cockpit::nav2_on = 0;
  for (std::size_t r : {19, 22, 24}) EXPECT_FALSE(visible(row(r))) << r;
  EXPECT_EQ(run(row(6)), 90);
  cockpit::left_mfd_page = cockpit::kLeftPageRadios;  // off the page
  EXPECT_EQ(run(row(5)), 30);
  EXPECT_EQ(run(row(10)), 90);
  EXPECT_EQ(run(row(7)), 30);
}

TEST_F(ArcPage, NoTextEverPassesItsField) {
  const f64 wild[] = {1e300, -1e300, kNaN, 123456789.0};
  for (f64 v : wild) {
    for (auto& [id, value] : host.tokens) value = v;
    for (auto& [id, value] : host.int_tokens) value = 0xFFFFFFFFu;
    for (std::int32_t page : {3, 5}) {
      cockpit::left_mfd_page = page;
      update();
    }
  }
  EXPECT_TRUE(mfd_.guards_intact());
  EXPECT_EQ(std::string(mfd_.text(row(36))).size(), 6u);
}

}  // namespace
