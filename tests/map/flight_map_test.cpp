#include "map/flight_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "frame/elements.h"
#include "frame/registry.h"
#include "map/map_test_support.h"
#include "support/drawing_surface.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace {

using namespace orv;
using namespace orv::abi;
using orv::map::Brush;
using orv::test::Figure;
using orv::test::latitude_fixed;
using orv::test::longitude_fixed;
using orv::test::metres_north;
using orv::test::record_layer;
using orv::test::RecordingCanvas;
using orv::test::TestBlock;
using orv::test::TestWaypoint;

constexpr double kPi = 3.14159265358979323846;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The readouts, found in the chain by their callbacks; the other elements by
// their bitmaps (kSurfaceBitmap, kLargeRingBitmap, ...).
constexpr ElementFn kGroundSpeed = calls<map::ground_speed_text>.fn();
constexpr ElementFn kTrack = calls<map::track_text>.fn();
constexpr ElementFn kNextWaypoint = calls<map::next_waypoint_text>.fn();
constexpr ElementFn kDistance = calls<map::distance_text>.fn();
constexpr ElementFn kHeading = calls<map::heading_text>.fn();
constexpr ElementFn kAltitude = calls<map::altitude_text>.fn();
constexpr u32 kSurfaceBitmap = 1410, kLargeRingBitmap = 1460, kSmallRingBitmap = 1440, kButton1Bitmap = 1470;

// The map's module-wide state back at its load values around every test.
class FlightMap : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset() {
    map::gps_block = nullptr;
    for (auto& r : map::ring_switch) r = 0;
    map::forget_painted_surfaces();
  }
  test::FakeHost host;
};

// The circles' centres relative to the map's centre.
std::vector<map::Point> circle_offsets(const RecordingCanvas& c, int cx = 143, int cy = 143) {
  std::vector<map::Point> out;
  for (const Figure& f : c.of(Figure::ellipse)) out.push_back({(f.a + f.c) / 2 - cx, (f.b + f.d) / 2 - cy});
  return out;
}

// --- Projection -------------------------------------------------------------------

TEST_F(FlightMap, ProjectsWaypointsAtTheWorkedCases) {
  struct Case {
    const char* name;
    std::uint64_t aircraft_lat, aircraft_lon, waypoint_lat, waypoint_lon;
    double up;
    int size;
    int x, y;  // expected offset from the centre
  };
  const std::uint64_t equator = 0, lat80 = latitude_fixed(80.0);
  const Case cases[] = {
      {"north_10km_north_up", equator, 0, metres_north(10000), 0, 0.0, 286, 0, -50},
      {"north_10km_east_up", equator, 0, metres_north(10000), 0, kPi / 2, 286, -50, 0},
      {"north_10km_half_size", equator, 0, metres_north(10000), 0, 0.0, 143, 0, -25},
      {"south_east_heading_030", latitude_fixed(-33.9), longitude_fixed(151.2),
       latitude_fixed(-33.9) - metres_north(8000), longitude_fixed(151.25), 30.0 * kPi / 180.0, 286, 40, 23},
      // 0.02 degrees east across the antimeridian: 2226 m, not 40000 km west.
      {"antimeridian", equator, longitude_fixed(179.99), equator, longitude_fixed(-179.99), 0.0, 286, 11, 0},
      // 0.1 degrees of longitude at 80 north: 1933 m.
      {"high_latitude", lat80, 0, lat80, longitude_fixed(0.1), 0.0, 286, 9, 0},
      {"high_latitude_east_up", lat80, 0, lat80 + metres_north(5000), longitude_fixed(0.1), kPi / 2, 286, -25,
       -9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestBlock block;
    block.aircraft(c.aircraft_lat, c.aircraft_lon, c.up);
    block.plan({{c.waypoint_lat, c.waypoint_lon}}, 0);
    const auto canvas = record_layer(block.bytes, c.size, c.size);
    const int centre = static_cast<int>(143.0 * c.size / 286.0);
    const auto offsets = circle_offsets(canvas, centre, centre);
    ASSERT_EQ(offsets.size(), 1u);
    EXPECT_EQ(offsets[0].x, c.x);
    EXPECT_EQ(offsets[0].y, c.y);
  }
}

// The aircraft symbol point by point (a point moved is too small a change for
// the pictures' tolerance).
TEST_F(FlightMap, DrawsTheFieldAndAircraftScaledAboutTheTruncatedCentre) {
  const auto full = record_layer(nullptr);
  ASSERT_EQ(full.figures.size(), 2u);
  EXPECT_EQ(full.figures[0], (Figure{Figure::rectangle, Brush::black, 0, 0, 286, 286}));
  EXPECT_EQ(full.figures[1].kind, Figure::polygon);
  EXPECT_EQ(full.figures[1].brush, Brush::white);
  EXPECT_EQ(full.points.size(), 17u);
  EXPECT_EQ(full.points[0].x, 143);
  EXPECT_EQ(full.points[0].y, 137);
  // 143 x 143: centre (71,71), (6,0) becomes (3,0), (-6,2) becomes (-3,1).
  const auto half = record_layer(nullptr, 143, 143);
  EXPECT_EQ(half.figures[0], (Figure{Figure::rectangle, Brush::black, 0, 0, 143, 143}));
  EXPECT_EQ(half.points[3].x, 74);
  EXPECT_EQ(half.points[13].x, 68);
  EXPECT_EQ(half.points[13].y, 72);
}

// --- Waypoint selection -------------------------------------------------------------

TEST_F(FlightMap, FillsTheActiveWaypointAndJoinsOnlyDrawnOnes) {
  struct Case {
    const char* name;
    std::vector<std::uint32_t> record_sizes;
    std::uint32_t active;
    std::vector<Brush> circles;
    std::vector<std::vector<int>> lines;  // x0, y0, x1, y1 as offsets from the centre
  };
  const Case cases[] = {
      {"second_active",
       {64, 64, 64},
       1,
       {Brush::hollow, Brush::white, Brush::hollow},
       {{0, -10, 0, -20}, {0, -20, 0, -30}}},
      {"middle_record_wrong_size", {64, 60, 64}, 0, {Brush::white, Brush::hollow}, {{0, -10, 0, -30}}},
      {"first_record_wrong_size", {0, 64, 64}, 2, {Brush::hollow, Brush::white}, {{0, -20, 0, -30}}},
      {"active_past_the_end",
       {64, 64, 64},
       7,
       {Brush::hollow, Brush::hollow, Brush::hollow},
       {{0, -10, 0, -20}, {0, -20, 0, -30}}},
      {"no_record_usable", {128, 32, 1}, 0, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestBlock block;
    std::vector<TestWaypoint> plan;
    for (std::size_t i = 0; i < c.record_sizes.size(); ++i)
      plan.push_back({metres_north(2000.0 * (i + 1)), 0, "WP", c.record_sizes[i]});
    block.plan(plan, c.active);
    const auto canvas = record_layer(block.bytes);
    std::vector<Brush> brushes;
    for (const Figure& f : canvas.of(Figure::ellipse)) brushes.push_back(f.brush);
    EXPECT_EQ(brushes, c.circles);
    std::vector<std::vector<int>> lines;
    for (const Figure& f : canvas.of(Figure::line))
      lines.push_back({f.a - 143, f.b - 143, f.c - 143, f.d - 143});
    EXPECT_EQ(lines, c.lines);
  }
}

TEST_F(FlightMap, IgnoresBlocksItCannotUse) {
  struct Case {
    const char* name;
    std::uint32_t size;
    bool null_array;
    std::size_t circles;
  };
  const Case cases[] = {
      {"one_byte_short", static_cast<std::uint32_t>(map::kMinimumBlockSize - 1), false, 0},
      {"size_zero", 0, false, 0},
      {"just_large_enough", static_cast<std::uint32_t>(map::kMinimumBlockSize), false, 2},
      // A size field larger than the block: nothing past the fields is read.
      {"size_lies_upward", 0xFFFFFFFFu, false, 2},
      {"null_array", static_cast<std::uint32_t>(map::kMinimumBlockSize), true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestBlock block;
    block.plan({{metres_north(1000), 0}, {metres_north(3000), 0}}, 0);
    block.put<std::uint32_t>(map::gps_offset::kSize, c.size);
    if (c.null_array) block.put<const void*>(map::gps_offset::kWaypoints, nullptr);
    const auto canvas = record_layer(block.bytes);
    EXPECT_EQ(canvas.of(Figure::ellipse).size(), c.circles);
    EXPECT_EQ(canvas.of(Figure::polygon).size(), 1u);  // the aircraft always
  }
}

TEST_F(FlightMap, DrawsWhatIsValidOfCorruptPlans) {
  // A count far beyond the array: the walk stops at its bound; the array
  // here is exactly that long, so a read past it would show under ASan.
  TestBlock block;
  std::vector<TestWaypoint> plan(map::kMaxWaypoints, TestWaypoint{0, 0, "X", 0});
  plan[0] = {metres_north(1000), 0, "A", 64};
  plan[map::kMaxWaypoints - 1] = {metres_north(2000), 0, "B", 64};
  block.plan(plan, 0);
  block.put<std::uint32_t>(map::gps_offset::kWaypointCount, 0xFFFFFFFFu);
  auto canvas = record_layer(block.bytes);
  EXPECT_EQ(canvas.of(Figure::ellipse).size(), 2u);
  EXPECT_EQ(canvas.of(Figure::line).size(), 1u);

  // Pointers no array can have.
  for (std::uintptr_t bad :
       {std::uintptr_t{1}, std::uintptr_t{0xFFF0}, std::uintptr_t{0x10002}, UINTPTR_MAX - 63}) {
    block.put<std::uintptr_t>(map::gps_offset::kWaypoints, bad);
    EXPECT_TRUE(record_layer(block.bytes).of(Figure::ellipse).empty()) << bad;
  }

  // Not-a-number up direction, and waypoints beyond any coordinate: the
  // field and the aircraft only.
  TestBlock nan_block;
  nan_block.aircraft(0, 0, kNaN);
  nan_block.plan({{metres_north(1000), 0}, {metres_north(3000), 0}}, 1);
  canvas = record_layer(nan_block.bytes);
  EXPECT_EQ(canvas.figures.size(), 2u);
  TestBlock far;
  far.plan({{0x7FFFFFFFFFFF0000u, 0}, {metres_north(1000), 0}}, 1);
  canvas = record_layer(far.bytes, 30000, 30000);
  EXPECT_EQ(canvas.of(Figure::ellipse).size(), 1u);
  EXPECT_TRUE(canvas.of(Figure::line).empty());
}

// --- The gauge ------------------------------------------------------------------------

TEST_F(FlightMap, PaintsItsSurfaceBeforeEveryDrawOnceTheHostGivesTheBlock) {
  test::GaugeCopy gauge(gauges::flight_map);
  auto* surface = gauge.as<StaticElement>(gauge.find_bitmap(kSurfaceBitmap));
  ASSERT_EQ(surface->h.flags, 0x26u);
  test::DrawingSurface target(286, 286);
  target.attach(&surface->h);
  surface->h.flags |= kOnScreenFlag;
  auto pixel = [&](int x, int y) { return target.pixel(x, y); };
  // Lit or dark, whatever the edge smoothing left.
  auto lit = [&](int x, int y) { return ((pixel(x, y) >> 8) & 0xFF) > 0x80; };

  // No block yet: field and aircraft; asked again at the next draw.
  gauge.service(kServicePreDraw);
  EXPECT_EQ(pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(pixel(10, 10), 0u);
  EXPECT_EQ(surface->h.flags, 0x26u);
  TestBlock block;
  block.plan({{metres_north(6000), 0}, {metres_north(12000), 0}}, 1);
  host.named_data["FS2002 GPS DATA"] = block.bytes;
  gauge.service(kServicePreDraw);
  gauge.service(kServicePreDraw);
  EXPECT_EQ(host.named_data_asked.size(), 2u);
  EXPECT_TRUE(lit(143 + 2, 143 - 60 + 2));   // the active one is filled
  EXPECT_TRUE(lit(143 - 5, 143 - 30));       // the other's rim
  EXPECT_FALSE(lit(143 + 2, 143 - 30 + 2));  // and its hollow inside

  // Nothing moved: the surface keeps its pixels and is not marked for a
  // redraw (a mark put here stays); the next waypoint made active is painted.
  cairo_set_source_rgb(target.cairo(), 1, 0, 0);
  cairo_rectangle(target.cairo(), 0, 0, 4, 4);
  cairo_fill(target.cairo());
  surface->h.flags |= kOnScreenFlag;
  gauge.service(kServicePreDraw);
  EXPECT_EQ(pixel(0, 0), 0xFF0000u);
  EXPECT_NE(surface->h.flags & kOnScreenFlag, 0u);
  block.plan({{metres_north(6000), 0}, {metres_north(12000), 0}}, 0);
  host.named_data["FS2002 GPS DATA"] = block.bytes;
  gauge.service(kServicePreDraw);
  EXPECT_EQ(pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(surface->h.flags & kOnScreenFlag, 0u);
  EXPECT_TRUE(lit(143 + 2, 143 - 30 + 2));  // the first one, now active, filled

  // No device context, or no surface image: the surface is left alone.
  surface->device_context = nullptr;
  surface->h.flags |= kOnScreenFlag;
  gauge.service(kServicePreDraw);
  EXPECT_NE(surface->h.flags & kOnScreenFlag, 0u);
}

TEST_F(FlightMap, RingButtonsSwitchOnlyTheirRingAndIcon) {
  test::GaugeCopy gauge(gauges::flight_map);
  TestBlock block;
  block.plan({{metres_north(6000), 0}}, 0);
  const auto before = record_layer(block.bytes);

  struct Step {
    std::size_t button;  // click box, 0 is button 1
    double small_ring, large_ring, button1_image;
  };
  const Step steps[] = {{0, 0.0, -1.0, 1.0}, {2, 0.0, 0.0, 1.0}, {0, -1.0, 0.0, 0.0}};
  for (const Step& s : steps) {
    EXPECT_EQ(gauge.click(s.button, kMouseLeftSingle), 0);
    EXPECT_EQ(gauge.evaluate(gauge.find_bitmap(kSmallRingBitmap)), s.small_ring);
    EXPECT_EQ(gauge.evaluate(gauge.find_bitmap(kLargeRingBitmap)), s.large_ring);
    EXPECT_EQ(gauge.evaluate(gauge.find_bitmap(kButton1Bitmap)), s.button1_image);
  }
  EXPECT_EQ(record_layer(block.bytes).figures, before.figures);  // the range never changes
  EXPECT_EQ(gauge.click(1, kMouseRightSingle), -1);
}

// --- Readouts ---------------------------------------------------------------------------

TEST_F(FlightMap, FormatsTheReadoutsAtTheirEdges) {
  struct Case {
    ElementFn readout;
    u32 token;
    double value;
    const char* text;  // null: the text is left as it was
  };
  const Case cases[] = {
      {kGroundSpeed, 832, 0.0, "0 kt"},
      {kGroundSpeed, 832, 5.1, "10 kt"},      // 9.9 knots, one digit wide, prints 10
      {kGroundSpeed, 832, 51.4, "100 kt"},    // 99.92 knots, two digits wide
      {kGroundSpeed, 832, 514.5, "1000 kt"},  // 1000.1 knots
      {kGroundSpeed, 832, -0.1, nullptr},
      {kGroundSpeed, 832, kNaN, nullptr},
      {kTrack, 834, 0.0, "000\xB0"},
      {kTrack, 834, 2.0 * kPi - 0.001, "360\xB0"},
      {kDistance, 835, 0.0, "--- nm"},
      {kDistance, 835, 9.99 * 1852.0, "9.99 nm"},
      {kDistance, 835, 9.999 * 1852.0, "10.00 n"},  // two decimals, cut at seven characters
      {kDistance, 835, 999.9 * 1852.0, "999.9 n"},  // seven characters of "999.9 nm"
      {kHeading, 84, 5.4, "005\xB0"},
      {kAltitude, 74, 120.0, "  120 ft"},
  };
  test::GaugeCopy gauge(gauges::flight_map);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.token) + " " + std::to_string(c.value));
    const std::size_t element = gauge.find(c.readout);
    std::snprintf(gauge.as<TextElement>(element)->text, 4, "old");
    host.tokens[c.token] = c.value;
    gauge.evaluate(element);
    EXPECT_STREQ(gauge.text(element), c.text != nullptr ? c.text : "old");
    EXPECT_FALSE(is_hidden(gauge.element(element)));
  }
  EXPECT_TRUE(gauge.guards_intact());
}

TEST_F(FlightMap, NextWaypointReadoutReadsAtMostItsField) {
  test::GaugeCopy gauge(gauges::flight_map);
  const char unterminated[8] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};
  const struct {
    const char* ident;
    const char* text;
  } cases[] = {{"ORVA", "ORVA"}, {nullptr, ""}, {unterminated, "ABCDEFG"}};
  for (const auto& c : cases) {
    host.text_tokens[839] = c.ident;
    EXPECT_EQ(gauge.evaluate(gauge.find(kNextWaypoint)), 0.0);
    EXPECT_STREQ(gauge.text(gauge.find(kNextWaypoint)), c.text);
  }
  EXPECT_TRUE(gauge.guards_intact());
}

// --- Tooltip ------------------------------------------------------------------------------

TEST_F(FlightMap, TooltipFallsBackWhereTheBlockCannotAnswer) {
  struct Case {
    const char* name;
    bool set;
    std::uint32_t size;
    std::uint32_t active_valid, active, record_size;
    bool null_array;
    double speed;
    const char* ident;
    double knots, degrees, miles;
    const char* next;
  };
  const auto full = static_cast<std::uint32_t>(map::kMinimumBlockSize);
  const Case cases[] = {
      {"good", true, full, 1, 1, 64, false, 100.0, "ORVB", 194.3844, 90.0, 10.79914, "ORVB"},
      {"missing", false, full, 1, 1, 64, false, 100.0, "ORVB", 0.0, 0.0, 0.0, "---"},
      {"short", true, full - 1, 1, 1, 64, false, 100.0, "ORVB", 0.0, 0.0, 0.0, "---"},
      {"no_active", true, full, 0, 1, 64, false, 100.0, "ORVB", 194.3844, 90.0, 0.0, "---"},
      {"active_past_count", true, full, 1, 2, 64, false, 100.0, "ORVB", 194.3844, 90.0, 10.79914, "---"},
      {"null_array", true, full, 1, 1, 64, true, 100.0, "ORVB", 194.3844, 90.0, 10.79914, "---"},
      {"wrong_record_size", true, full, 1, 1, 56, false, 100.0, "ORVB", 194.3844, 90.0, 10.79914, "---"},
      {"unterminated", true, full, 1, 1, 64, false, kNaN, "ABCDEFGH", 0.0, 90.0, 10.79914, "ABCDEFGH"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestBlock block;
    block.plan({{metres_north(1000), 0, "ORVA"}, {metres_north(2000), 0, c.ident, c.record_size}}, c.active);
    block.put<std::uint32_t>(map::gps_offset::kSize, c.size);
    block.put<std::uint32_t>(map::gps_offset::kActiveValid, c.active_valid);
    block.put<double>(map::gps_offset::kGroundSpeed, c.speed);
    block.put<double>(map::gps_offset::kTrack, kPi / 2);
    block.put<double>(map::gps_offset::kDistance, 20000.0);
    if (c.null_array) block.put<const void*>(map::gps_offset::kWaypoints, nullptr);
    map::gps_block = c.set ? block.bytes : nullptr;
    test::GaugeCopy gauge(gauges::flight_map);
    EXPECT_NEAR(gauge.tooltip_number(0), c.knots, 1e-9);
    EXPECT_NEAR(gauge.tooltip_number(1), c.degrees, 1e-4);
    EXPECT_STREQ(gauge.tooltip_text(2), c.next);
    EXPECT_NEAR(gauge.tooltip_number(3), c.miles, 1e-9);
    map::gps_block = nullptr;
  }
}

}  // namespace
