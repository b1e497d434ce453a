// The standby attitude indicator driven through a placed copy of its records
// with the fake host's tokens: the clamps, the flight path ball, every readout
// at its width boundaries, the Mach readouts' lag and the tooltips.
#include "standby/attitude.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "cockpit/flight_path.h"
#include "frame/elements.h"
#include "frame/registry.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace orv::test {
namespace {

using namespace abi;
using namespace standby;

constexpr f64 kNaN = std::numeric_limits<f64>::quiet_NaN();
constexpr f64 kInf = std::numeric_limits<f64>::infinity();

class AttitudeTest : public ::testing::Test {
 protected:
  void SetUp() override { attitude_mach = 0.0; }
  void TearDown() override {
    attitude_mach = 0.0;
    EXPECT_TRUE(gauge.guards_intact());
  }

  f64 eval(std::size_t i) { return gauge.evaluate(i); }
  std::string text(std::size_t i) { return gauge.text(i); }
  // Sets token `id` and evaluates element `i`, returning its text.
  std::string show(std::size_t i, u32 id, f64 value) {
    host.tokens[id] = value;
    eval(i);
    return text(i);
  }
  // One host update of the two Mach readouts, in drawing order.
  void mach_update(f64 token) {
    host.tokens[64] = token;
    eval(kMachHundredthsText);
    eval(kMachIntegerText);
  }

  FakeHost host;
  GaugeCopy gauge{gauges::attitude};

  // Elements found in the chain by their callbacks.
  const std::size_t kAttitudeBall = gauge.find(calls<pitch_clamp>);
  const std::size_t kFlightPathBall = gauge.find(calls<flight_path>);
  const std::size_t kHeadingTape = gauge.find(calls<heading_tape>);
  const std::size_t kAirspeedText = gauge.find(calls<airspeed_text>);
  const std::size_t kAltitudeHundredsText = gauge.find(calls<altitude_hundreds_text>);
  const std::size_t kAltitudeTensText = gauge.find(calls<altitude_tens_text>);
  const std::size_t kMachHundredthsText = gauge.find(calls<mach_hundredths_text>);
  const std::size_t kMachIntegerText = gauge.find(calls<mach_integer_text>);
  const std::size_t kBarometricText = gauge.find(calls<barometric_text>);
};

// The nominal attitude, the pitch stop at -90 and the supersonic dive's
// readouts show in the golden pictures; these are the other edges.
TEST_F(AttitudeTest, BallStopsAtNinetyDegreesAndTheTapePassesTheHeadingThrough) {
  for (auto [pitch, heading, ball, tape] :
       {std::tuple{95.0, 370.0, 90.0, 370.0}, {-kInf, -90.0, -90.0, -90.0}, {kNaN, kNaN, 0.0, 0.0}}) {
    host.tokens[78] = pitch;
    host.tokens[84] = heading;
    EXPECT_EQ(eval(kAttitudeBall), ball) << pitch;
    EXPECT_EQ(eval(kHeadingTape), tape) << heading;
  }
}

TEST_F(AttitudeTest, FlightPathBallSitsAtThePathAngleBelowThePitch) {
  struct Case {
    f64 vertical_speed, airspeed, pitch, expected;
  };
  const Case cases[] = {
      {0, 250, -5, 5.0},       {2000, 300, 0, -2.898},    {-2000, 300, 3, 2.898 - 3},
      {500, -20, 4, 6.748},  // a negative reading still divides
      {0, 0, 4, -4.0},       // standing still: no path, the ball at the pitch offset
      {500, 0, 4, -4.0},     // no airspeed: the same
      {-500, -0.0, 4, -4.0},   {1e300, 1e-300, 0, -90.0}, {kNaN, kNaN, kNaN, 0.0},
      {0, 100, 1e300, -180.0}, {0, 100, 95, -95.0},  // unlike the attitude ball, not clamped at 90
  };
  for (const Case& c : cases) {
    host.tokens = {{65, c.vertical_speed}, {61, c.airspeed}, {78, c.pitch}};
    host.token_reads.clear();
    const f64 got = eval(kFlightPathBall);
    EXPECT_TRUE(std::isfinite(got));
    EXPECT_NEAR(got, c.expected, 1e-3) << c.vertical_speed << " / " << c.airspeed << " at " << c.pitch;
    EXPECT_EQ(host.token_reads, (std::vector<u32>{65, 61}));
    EXPECT_EQ(got, cockpit::flight_path_offset(c.vertical_speed, c.airspeed, c.pitch));
  }
}

TEST_F(AttitudeTest, AirspeedAndBarometricTextsStayWithinFourCharacters) {
  struct Case {
    f64 value;
    const char* text;
  };
  const Case speeds[] = {{9.5, "  10"}, {9.4, "   9"}, {12345, "9999"}, {9999.6, "9999"}, {1e300, "9999"}};
  for (const Case& c : speeds) {
    EXPECT_EQ(show(kAirspeedText, 61, c.value), c.text) << c.value;
    EXPECT_EQ(eval(kAirspeedText), c.value);
  }
  // A negative speed, or one that is not a number, leaves the last text.
  for (f64 kept : {-1.0, -0.3, kNaN, kInf}) EXPECT_EQ(show(kAirspeedText, 61, kept), "9999") << kept;
  EXPECT_EQ(eval(kAirspeedText), 0.0);

  const Case settings[] = {{-5, "  -5"}, {-250, " -99"}, {20000, "9999"}};
  for (const Case& c : settings) EXPECT_EQ(show(kBarometricText, 75, c.value), c.text) << c.value;
}

TEST_F(AttitudeTest, AltitudeShowsHundredsAndTensInTheirOwnFields) {
  struct Case {
    f64 altitude;
    const char* hundreds;
    const char* tens;
    f64 h, r;
  };
  const Case cases[] = {
      {12345, "123", "45", 123, 45}, {5, "  0", "05", 0, 5},         {950, "  9", "50", 9, 50},
      {1000, " 10", "00", 10, 0},    {9.6, "  0", "10", 0, 9.6},     {12399.6, "123", "99", 123, 99.6},
      {99999, "999", "99", 999, 99}, {250000, "999", "00", 2500, 0}, {12345.4, "123", "45", 123, 45.4},
  };
  for (const Case& c : cases) {
    host.tokens[74] = c.altitude;
    EXPECT_NEAR(eval(kAltitudeHundredsText), c.h, 1e-9);
    EXPECT_NEAR(eval(kAltitudeTensText), c.r, 1e-9);
    EXPECT_EQ(text(kAltitudeHundredsText), c.hundreds) << c.altitude;
    EXPECT_EQ(text(kAltitudeTensText), c.tens) << c.altitude;
  }
  // Below zero the hundreds keep their text; the tens show the feet above
  // the (negative) hundred.
  host.tokens[74] = -30;
  EXPECT_EQ(eval(kAltitudeHundredsText), -1.0);
  EXPECT_EQ(eval(kAltitudeTensText), 70.0);
  EXPECT_EQ(text(kAltitudeHundredsText), "123");
  EXPECT_EQ(text(kAltitudeTensText), "70");
}

TEST_F(AttitudeTest, MachTextsShowIntegerAndHundredthsOfTheLastUpdate) {
  struct Case {
    f64 token, mach;
    const char* integer;
    const char* hundredths;
  };
  const Case cases[] = {
      {13107.2, 0.64, "0", "64"},   {32768, 1.60, "1", "60"}, {45000, 2.197, "2", "20"},
      {65536, 3.2, "2", "20"},      {0, 0.0, "0", "00"},      {20275.2, 0.99, "0", "99"},
      {20418.56, 0.997, "0", "99"},  // hundredths of 99.7 would print as 100
      {1986.56, 0.097, "0", "10"},   // 9.7 hundredths print as 10
      {-3276.8, -0.16, "0", "84"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.token);
    // The update that brings the new value: the integer follows at once, the
    // hundredths still show the previous Mach number.
    const f64 before = attitude_mach;
    host.tokens[64] = c.token;
    EXPECT_EQ(eval(kMachHundredthsText), before);
    EXPECT_NEAR(eval(kMachIntegerText), c.mach, 1e-3);
    EXPECT_EQ(text(kMachIntegerText), c.integer);
    // The next update catches up.
    mach_update(c.token);
    EXPECT_EQ(text(kMachHundredthsText), c.hundredths);
    EXPECT_NEAR(attitude_mach, c.mach, 1e-3);
  }
  // A token that gives no Mach number keeps the last one.
  mach_update(32768);
  for (f64 bad : {kNaN, kInf, -kInf}) {
    mach_update(bad);
    EXPECT_EQ(attitude_mach, 1.6);
    EXPECT_EQ(text(kMachIntegerText), "1");
    EXPECT_EQ(text(kMachHundredthsText), "60");
  }
}

TEST_F(AttitudeTest, MachmeterTooltipShowsTheLastMachWhateverTheHostPasses) {
  MouseRect* machmeter = gauge.mouse(kMouseTooltip, 4);
  ASSERT_EQ(machmeter->event, 1u);
  mach_update(32768);
  TokenVar var{};
  for (f64 number : {0.0, 7.0, kNaN}) {
    EXPECT_EQ(machmeter->args[0].numeric_callback(number, 3, "x", &var, &gauge.header), 1.6);
    EXPECT_EQ(machmeter->args[0].numeric_callback(number, 0, nullptr, nullptr, nullptr), 1.6);
  }
}

}  // namespace
}  // namespace orv::test
