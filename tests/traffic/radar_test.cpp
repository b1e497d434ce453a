#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "frame/registry.h"
#include "support/drawing_surface.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"
#include "traffic/fake_traffic.h"
#include "traffic/radar_display.h"

namespace orv::traffic {
namespace {

using test::FakeAircraft;
using test::FakeHost;
using test::FakeTraffic;
using test::GaugeCopy;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct TagCase {
  double relative_altitude;
  const char* tag;
};

TEST(AltitudeTag, RoundsTheMagnitudeAndDropsLargeValues) {
  for (const TagCase& c :
       {TagCase{1049, "+10"}, TagCase{-1050, "-11"}, TagCase{0, "+00"}, TagCase{-150, "-02"},
        TagCase{149, "+01"}, TagCase{9949, "+99"}, TagCase{-9999, "-100"}, TagCase{12000, ""},
        TagCase{-10000, ""}, TagCase{kNan, ""}, TagCase{kInf, ""}}) {
    char tag[16];
    altitude_tag(c.relative_altitude, tag, sizeof tag);
    EXPECT_STREQ(tag, c.tag) << c.relative_altitude;
  }
}

class DisplayTest : public testing::Test {
 protected:
  FakeHost host;
  FakeTraffic traffic{host};
  test::DrawingSurface surface{286, 286};
  abi::StaticElement element{};

  DisplayTest() {
    host.tokens[numbers::kTokenAvionicsSupply] = 28.0;
    surface.attach(&element.h);
  }
  // An aircraft at `distance` NM on true bearing `bearing` from the user at
  // (0, 0), heading north.
  FakeAircraft at(std::uint32_t id, double bearing, double distance, const char* atc = "TEST") {
    FakeAircraft a;
    a.id = id;
    a.lat = distance * std::cos(bearing / 57.29577951308232) / 60.0;
    a.lon = distance * std::sin(bearing / 57.29577951308232) / 60.0;
    a.atc = atc;
    return a;
  }
};

TEST_F(DisplayTest, RangeClampsToItsSteps) {
  RadarDisplay display;
  EXPECT_EQ(display.range(), 15.0);
  EXPECT_EQ(display.set_range(0.5), 1.875);
  EXPECT_EQ(display.halve_range(), 1.875);
  EXPECT_EQ(display.set_range(500.0), 120.0);
  EXPECT_EQ(display.double_range(), 120.0);
  EXPECT_EQ(display.set_range(7.5), 7.5);
}

// Two symbols 2 units either side of a cursor at the centre: the first in
// list order names the label.
TEST_F(DisplayTest, HoverPicksTheFirstOfEquallyNearSymbols) {
  const double two_units = 2.0 * 15.0 / 143.0;
  for (bool swapped : {false, true}) {
    RadarDisplay display;
    traffic.aircraft = {at(1, 90, two_units, "EAST"), at(2, 270, two_units, "WEST")};
    if (swapped) std::swap(traffic.aircraft[0], traffic.aircraft[1]);
    display.set_cursor(0.5, 0.5);
    display.set_up(&element.h, 286, 286);
    EXPECT_EQ(std::string(display.label()).substr(0, 8), swapped ? "ID: WEST" : "ID: EAST");
  }
}

TEST_F(DisplayTest, LabelRoundsTheSignedAltitude) {
  RadarDisplay display;
  FakeAircraft a = at(3, 0, 0.2, "LOW");
  a.alt = -150.0;
  a.north = -300.0;  // south at 300 knots
  traffic.aircraft = {a};
  display.set_cursor(0.5, (143.0 - 0.2 * 143.0 / 15.0) / 286.0);
  display.set_up(&element.h, 286, 286);
  EXPECT_STREQ(display.label(), "ID: LOW ALT: -100ft GS: 300kt TRK: 180\xB0 DST: 0.2nm");
  display.set_cursor(0.0, 0.0);
  display.draw_picture();
  EXPECT_STREQ(display.label(), "place cursor over symbol");
}

TEST_F(DisplayTest, NonFiniteTrafficLeavesAWellFormedPicture) {
  FakeAircraft nan_position = at(6, 0, 1), inf_speed = at(7, 45, 2), inf_altitude = at(8, 90, 3);
  nan_position.lat = kNan;
  inf_speed.north = kInf;
  inf_altitude.alt = -kInf;
  traffic.aircraft = {nan_position, inf_speed, inf_altitude};
  RadarDisplay display;
  display.set_cursor(0.5 + 2.0 / 286.0 * 0.0, 0.5);
  display.set_up(&element.h, 286, 286);
  display.draw_picture();
  EXPECT_EQ(cairo_status(surface.cairo()), CAIRO_STATUS_SUCCESS);
  // The outer ring still shows, 60 degrees below the horizontal axis.
  EXPECT_EQ(surface.colours_around(143 + 95.33 * 0.5, 143 + 95.33 * 0.8660254, 1), 0x00FF00u);
}

// Pictures of unchanged inputs: each is drawn (its surface flagged for the
// host) until one drawn again changed no pixel; from then on none is drawn,
// until an input changes. Every change below draws once more.
TEST_F(DisplayTest, UnchangedPictureIsDrawnUntilItChangesNoPixel) {
  FakeAircraft a = at(4, 30, 5, "MOVER");
  a.north = 200.0;
  traffic.aircraft = {a};
  host.tokens[kHeadingToken] = 10.0;
  RadarDisplay display;
  display.set_up(&element.h, 286, 286);
  std::vector<std::uint32_t> pixels = surface.pixels();
  bool last_changed = true;  // whether the last picture drawn changed a pixel
  auto drawn = [&] {
    element.h.flags |= abi::kOnScreenFlag;
    display.draw_picture();
    const bool was_drawn = (element.h.flags & abi::kOnScreenFlag) == 0;
    std::vector<std::uint32_t> now = surface.pixels();
    if (was_drawn) last_changed = now != pixels;
    EXPECT_TRUE(was_drawn || now == pixels);
    pixels = std::move(now);
    return was_drawn;
  };
  // Pictures until one is left out; true when one was, after a picture
  // that changed nothing.
  auto settle = [&] {
    for (int picture = 0; picture < 300; ++picture) {
      const bool changed = last_changed;
      if (!drawn()) return !changed;
    }
    return false;
  };
  ASSERT_TRUE(settle());
  EXPECT_FALSE(drawn());
  const std::function<void()> changes[] = {
      [&] { display.double_range(); },
      [&] { host.tokens[kHeadingToken] = 11.0; },
      [&] { traffic.aircraft[0].lat += 0.01; },
      [&] { traffic.aircraft[0].alt = 900.0; },
      [&] { host.tokens[numbers::kTokenAvionicsSupply] = 0.0; },
  };
  for (std::size_t i = 0; i < std::size(changes); ++i) {
    changes[i]();
    pixels = surface.pixels();  // set_range draws at once
    last_changed = true;
    EXPECT_TRUE(drawn()) << "change " << i;
    EXPECT_TRUE(settle()) << "change " << i;
  }
  display.set_cursor(0.6, 0.3);  // the label follows, the picture stays
  EXPECT_FALSE(drawn());
}

// --- The gauge ------------------------------------------------------------------

constexpr abi::u32 kSurfaceBitmap = 3010;  // the radar's drawing surface

class RadarGaugeTest : public testing::Test {
 protected:
  FakeHost host;
  GaugeCopy gauge{gauges::radar};
  test::DrawingSurface surface{286, 286};

  RadarGaugeTest() {
    host.tokens[numbers::kTokenAvionicsSupply] = 28.0;
    surface.attach(gauge.element(gauge.find_bitmap(kSurfaceBitmap)));
  }
  // The range readout: the gauge's one text element.
  std::size_t range_text() const {
    for (std::size_t i = 0; i < gauge.size(); ++i)
      if (gauge.element(i)->kind == abi::kText) return i;
    return gauge.size();
  }
  RadarDisplay* display() { return reinterpret_cast<RadarDisplay*>(gauge.header.user_word); }
  void click(std::size_t box, int x, int y) {
    abi::Click c{};
    c.point = {x, y};
    c.gauge = &gauge.header;
    c.rect = gauge.mouse(abi::kMouseBox, box);
    c.rect->action.fn(&c, c.rect->flags);
  }
};

TEST_F(RadarGaugeTest, ReadoutKeepsItsLastTextWithoutADisplay) {
  gauge.service(abi::kServicePanelOpen);
  display()->set_range(1.875);  // the range runs' readouts show the others
  EXPECT_EQ(gauge.evaluate(range_text()), 1.875);
  EXPECT_STREQ(gauge.text(range_text()), "1.9 nm");
  gauge.service(abi::kServicePanelClose);
  EXPECT_EQ(gauge.evaluate(range_text()), 0.0);
  EXPECT_STREQ(gauge.text(range_text()), "1.9 nm") << "without a display the text stays";
  EXPECT_TRUE(gauge.guards_intact());
}

TEST_F(RadarGaugeTest, DisplayLivesFromStartUpToShutdownTwice) {
  gauge.service(abi::kServicePostInstall);  // before start-up: nothing to bind
  EXPECT_EQ(display(), nullptr);
  for (int round = 0; round < 2; ++round) {
    gauge.service(abi::kServiceInstall);
    gauge.service(abi::kServicePanelOpen);
    ASSERT_NE(display(), nullptr);
    EXPECT_EQ(display()->range(), 15.0) << "a new display starts at 15";
    gauge.service(abi::kServicePostInstall);
    EXPECT_TRUE(display()->bound());
    click(1, 5, 5);  // double
    click(1, 5, 5);
    EXPECT_EQ(display()->range(), 60.0);
    click(2, 5, 5);  // halve
    EXPECT_EQ(display()->range(), 30.0);
    gauge.service(abi::kServicePreKill);
    EXPECT_FALSE(display()->bound());
    gauge.service(abi::kServicePanelClose);
    EXPECT_EQ(display(), nullptr);
  }
}

TEST_F(RadarGaugeTest, PictureOnEveryEighteenthTick) {
  gauge.service(abi::kServicePanelOpen);
  gauge.service(abi::kServicePostInstall);
  for (const auto& [tick, drawn] : {std::pair{36.0, true}, std::pair{37.0, false}, std::pair{0.0, true},
                                    std::pair{kNan, false}, std::pair{1e300, false}}) {
    gauge.element(gauge.find_bitmap(kSurfaceBitmap))->flags |= abi::kOnScreenFlag;
    host.tokens[1] = tick;
    gauge.service(abi::kServicePreUpdate);
    EXPECT_EQ((gauge.element(gauge.find_bitmap(kSurfaceBitmap))->flags & abi::kOnScreenFlag) == 0, drawn)
        << tick;
  }
  gauge.service(abi::kServicePanelClose);
}

TEST_F(RadarGaugeTest, CursorAndTooltipsReachTheDisplayThroughTheGauge) {
  EXPECT_EQ(gauge.tooltip_text(0), nullptr);
  EXPECT_EQ(gauge.tooltip_number(1), 0.0);
  gauge.service(abi::kServicePanelOpen);
  gauge.service(abi::kServicePostInstall);
  click(0, 143, 143);
  EXPECT_EQ(display()->cursor_x(), 0.0);
  EXPECT_EQ(display()->cursor_y(), 0.0);
  click(0, 286, 0);
  EXPECT_EQ(display()->cursor_x(), 143.0);
  EXPECT_EQ(display()->cursor_y(), -143.0);
  EXPECT_STREQ(gauge.tooltip_text(0), "place cursor over symbol");
  display()->set_range(7.5);
  EXPECT_EQ(gauge.tooltip_number(1), 7.5);
  gauge.service(abi::kServicePanelClose);
}

}  // namespace
}  // namespace orv::traffic
