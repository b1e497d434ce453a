// The pieces both displays share: packed radio decoding, the shared radio
// values, the navigation source, the page gate and the distance text rule.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "frame/elements.h"
#include "mfd/distance_text.h"
#include "mfd/navigation_source.h"
#include "mfd/page_gate.h"
#include "mfd/radio_decoding.h"
#include "mfd/radio_values.h"
#include "support/fake_host.h"

namespace {

using namespace orv;
using namespace orv::mfd;

// The decoders compute in integers; the values are those of the formulas in
// floating point (floor of each quotient), over the whole 32-bit range: hex
// digits above 9 count as tens, nothing is checked or clamped, nothing is
// infinite. The displays' texts and tuning limits show the decoded values in
// use.
TEST(RadioDecoding, IntegerDecodersEqualTheFloatingPointFormulas) {
  const auto high_byte = [](f64 v) { return std::floor(v / 256.0); };
  const auto digits = [](f64 v, f64 thousands) {
    const f64 hundreds = std::floor(v / 256.0);
    v -= 256.0 * hundreds;
    const f64 tens = std::floor(v / 16.0);
    return 1000.0 * thousands + 100.0 * hundreds + 10.0 * tens + (v - 16.0 * tens);
  };
  for (std::uint64_t step = 0; step <= 0xFFFFFFFFull; step += 0xF00F1) {
    for (const u32 p :
         {static_cast<u32>(step), static_cast<u32>(step & 0x3FFF), 0xFFFFFFFFu - static_cast<u32>(step)}) {
      SCOPED_TRACE(p);
      const f64 v = p;
      EXPECT_EQ(nav_whole_mhz(p), v < 0x1000 ? high_byte(v) + 100.0 : high_byte(v - 0x1000) + 110.0);
      EXPECT_EQ(com_whole_mhz(p), v >= 0x3000   ? high_byte(v - 0x3000) + 130.0
                                  : v >= 0x2000 ? high_byte(v - 0x2000) + 120.0
                                                : high_byte(v - 0x1000) + 110.0);
      const f64 thousands = std::floor(v / 4096.0);
      EXPECT_EQ(bcd4(p), digits(v - 4096.0 * thousands, thousands));
      EXPECT_EQ(adf_whole_khz(p, p), digits(v, v >= 256.0 ? 1.0 : 0.0));
      EXPECT_EQ(frequency_hundredths(p), digits(std::fmod(v, 256.0), 0.0));
      EXPECT_EQ(adf_tenths(p), v >= 256.0 ? v - 256.0 : v);
    }
  }
}

// Each radio's token into its own shared values (the tuning limits and
// texts read them).
TEST(RadioValues, RefreshDecodesEveryRadioInItsOrder) {
  test::FakeHost host;
  host.int_tokens = {{617, 0x1835}, {871, 0x2550}, {872, 0x0850}, {873, 0x1795},
                     {16, 0x0344},  {18, 0x0005},  {38, 0x7700}};
  refresh_radio_values();
  const f64 values[] = {com1_mhz, com1_mhz_hundredths, com2_mhz,        com2_mhz_hundredths,
                        nav1_mhz, nav1_mhz_hundredths, nav2_mhz,        nav2_mhz_hundredths,
                        adf_khz,  adf_khz_tenths,      transponder_code};
  const f64 expected[] = {118, 35, 125, 50, 108, 50, 117, 95, 344, 5, 7700};
  for (std::size_t i = 0; i < std::size(values); ++i) EXPECT_EQ(values[i], expected[i]) << i;
  EXPECT_EQ(refresh_adf_values(), 344.5);
}

TEST(NavigationSource, GlideSlopeTakesOnlyExactlyOneAsGps) {
  for (f64 source : {0.5, 1.0, 2.0, -1.0}) EXPECT_TRUE(is_gps_source(source)) << source;
  EXPECT_FALSE(is_gps_source(0.0));
  EXPECT_TRUE(is_gps_source_for_glide_slope(1.0));
  for (f64 source : {0.0, 0.5, 2.0}) EXPECT_FALSE(is_gps_source_for_glide_slope(source)) << source;
}

TEST(NavigationSource, WaypointExpressionIsEvaluatedAtEveryUse) {
  test::FakeHost host;
  const std::string code = "(A:GPS IS ACTIVE WAY POINT,number)";
  host.expression_numbers[code] = 1.0;
  EXPECT_TRUE(gps_waypoint_active());
  host.expression_numbers[code] = 0.999;
  EXPECT_FALSE(gps_waypoint_active());
  EXPECT_EQ(gps_waypoint_flag, 0.999);
  EXPECT_EQ(host.expressions, (std::vector<std::string>{code, code}));
}

TEST(PageGate, ShowsOnlyOnItsOwnPage) {
  ElementHeader e{};
  e.flags = 0x87;
  for (std::int32_t current : {0, 1, 2, 3, 4, 5, 6, -1}) {
    SCOPED_TRACE(current);
    const bool mine = current == 3;
    EXPECT_EQ(page_gate(&e, current, 3), mine);
    EXPECT_EQ(is_hidden(&e), !mine);
    EXPECT_EQ(e.flags & ~kHiddenFlag, 0x87u);  // the host's bits stay
    EXPECT_EQ(page_icon(current, 3), mine ? 0.0 : -1.0);
    EXPECT_EQ(page_icon_if(current, 3, false), -1.0);
  }
  EXPECT_TRUE(page_gate(nullptr, 1, 1));  // a null element is tolerated
}

// Every form by range, and the field never passed (a guard after the eight
// characters and terminator of a GPS distance field).
TEST(DistanceText, FormsByRangeWithinTheField) {
  struct Case {
    f64 nm;
    const char* dme;
    const char* map;
  };
  const f64 nan = std::numeric_limits<f64>::quiet_NaN();
  const f64 inf = std::numeric_limits<f64>::infinity();
  const Case cases[] = {
      {0.0, "DME ---", "--- nm"},      {-3.0, "DME ---", "--- nm"},     {0.004, "DME 0.00", "0.00 nm"},
      {9.994, "DME 9.99", "9.99 nm"},  {10.0, "DME 10.0", "10.0 nm"},   {999.9, "DME 999.9", "999.9 nm"},
      {1000.0, "DME 1000", "1000 nm"}, {9999.4, "DME 9999", "9999 nm"}, {10000.0, "DME ---", "--- nm"},
      {nan, "DME ---", "--- nm"},      {inf, "DME ---", "--- nm"},      {1e300, "DME ---", "--- nm"},
  };
  char field[9 + 2] = {};
  field[9] = 'X';
  TextElement e{};
  e.text = field;
  e.max_chars = 8;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nm);
    char buffer[16];
    format_distance<kDmeDistance>(buffer, sizeof buffer, c.nm);
    EXPECT_STREQ(buffer, c.dme);
    format_distance<kMapDistance>(buffer, sizeof buffer, c.nm);
    EXPECT_STREQ(buffer, c.map);
    write_distance<kGpsDistance>(&e, c.nm);
    EXPECT_LE(std::string(field).size(), 8u);
    EXPECT_EQ(field[9], 'X');
  }
  write_distance<kGpsDistance>(&e, 18520.0 / 1852.0);
  EXPECT_STREQ(field, "GPS 10.0");
  write_distance<kGpsDistance>(nullptr, 1.0);
}

}  // namespace
