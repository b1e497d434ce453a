// The host's engines and systems, run frame by frame through SimState as the
// scenarios run them.
#include "host/aircraft/engine_systems.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/aircraft/simulator.h"

namespace orv::host {
namespace {

constexpr double kFull = 8388610.0;

double celsius(const SimState& s, std::uint32_t egt) { return (s.number(egt) - 459.67 - 32.0) / 1.8; }

class EngineSystems : public testing::Test {
 protected:
  // Runs whole frames for `seconds` of simulated time.
  void run(double seconds) {
    const auto frames = static_cast<std::int64_t>(std::lround(seconds * kTicksPerSecond));
    for (std::int64_t i = 0; i < frames; ++i) state.begin_frame(frame_++);
  }
  void set(std::uint32_t id, double v) { state.set_number(id, v); }
  double at(std::uint32_t id) const { return state.number(id); }

  SimState state;
  std::int64_t frame_ = 0;
};

TEST_F(EngineSystems, StartSpoolsUpToIdleThenThrottleAndAfterburner) {
  set(291, kFull);
  set(292, 500);
  set(kTokenEngineMasterLeft, 1);
  run(2);
  EXPECT_GT(at(625), 5.0);  // the starter turns N2
  EXPECT_EQ(at(638), 0.0);  // no fuel before light-off
  run(20);
  EXPECT_NEAR(at(625), 65.0, 1.0);  // idle
  EXPECT_NEAR(at(624), 30.0, 2.0);
  EXPECT_GT(celsius(state, 567), 400.0);
  EXPECT_GT(at(638), 500.0);
  EXPECT_EQ(at(644), 0.0);  // the right engine stays off
  set(kTokenThrottleLeft, 90);
  run(8);
  EXPECT_NEAR(at(625), 97.0, 1.0);
  EXPECT_NEAR(at(624), 100.0, 2.0);
  const double dry_flow = at(638);
  set(kTokenThrottleLeft, 100);
  run(5);
  EXPECT_GT(at(638), dry_flow + 15000.0);  // afterburner
  EXPECT_GT(celsius(state, 567), 1100.0);
  EXPECT_GT(at(624), 100.0);
  EXPECT_LT(at(291), kFull);  // burning its own tank
  EXPECT_EQ(at(297), 0.0);
}

TEST_F(EngineSystems, AnEmptyTankStopsItsEngine) {
  set(297, kFull * 0.001);
  set(298, 500);
  set(kTokenFuelBurnFactor, 50);
  set(kTokenEngineMasterRight, 1);
  set(kTokenThrottleRight, 100);
  run(40);
  EXPECT_EQ(at(297), 0.0);
  EXPECT_EQ(at(657), 0.0);
  EXPECT_LT(at(644), 40.0);  // running down
}

TEST_F(EngineSystems, ActuatorsMoveOnHydraulicPressureOnly) {
  set(kTokenEngineMasterLeft, 1);
  set(kTokenEngineMasterRight, 1);
  run(25);
  EXPECT_NEAR(at(732) / 2087.91, 206.9, 1.0);  // 3000 psi in bar
  set(kTokenHydraulicFailure1, 1);
  run(5);
  EXPECT_LT(at(732) / 2087.91, 1.0);  // bar
  set(kTokenGearHandle, 1);
  run(3);
  EXPECT_EQ(at(332), 0.0);  // no pressure: the gear stays up
  set(kTokenHydraulicFailure1, 0);
  run(3);
  EXPECT_GT(at(332), 50.0);  // moving: the transit lights
  EXPECT_LT(at(334), 16300.0);
  run(6);
  for (std::uint32_t leg : {332u, 333u, 334u}) EXPECT_EQ(at(leg), 16383.0) << leg;

  struct Detent {
    double handle, low, high;  // the flap readout's step bounds
  };
  for (const Detent d : {Detent{1, 300, 1500}, Detent{2, 1500, 7000}, Detent{3, 7000, 14500},
                         Detent{4, 14500, 1e9}, Detent{0, -1, 300}}) {
    set(kTokenFlapsHandle, d.handle);
    run(10);
    EXPECT_GE(at(329), d.low) << d.handle;
    EXPECT_LT(at(329), d.high) << d.handle;
  }
  set(kTokenSpeedBrakeHandle, 1);
  set(kTokenHookHandle, 1);
  run(2);
  EXPECT_EQ(at(327), 16383.0);
  EXPECT_EQ(at(869), 1.0);
}

TEST_F(EngineSystems, PartsWithoutControlsLeaveTheirTokensAlone) {
  set(332, 16383);
  set(624, 42);
  run(2);
  EXPECT_EQ(at(332), 16383.0);
  EXPECT_EQ(at(624), 42.0);
  EXPECT_EQ(state.token(732), nullptr);
}

TEST_F(EngineSystems, BadControlsAndOutputsBecomeFinite) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  set(kTokenEngineMasterLeft, 1);
  set(kTokenThrottleLeft, nan);
  set(625, nan);
  set(624, std::numeric_limits<double>::infinity());
  set(kTokenFlapsHandle, nan);
  set(329, nan);
  run(1);
  for (std::uint32_t id : {624u, 625u, 567u, 638u, 732u, 329u}) EXPECT_TRUE(std::isfinite(at(id))) << id;
}

}  // namespace
}  // namespace orv::host
