#include "host/aircraft/engine_systems.h"

#include <algorithm>
#include <cmath>

#include "host/aircraft/simulator.h"

namespace orv::host {

namespace {

// Simulator tokens the parts write, in the units the instruments read.
struct EngineTokens {
  std::uint32_t master, throttle;
  std::uint32_t n1, n2;     // percent
  std::uint32_t egt;        // degrees Rankine
  std::uint32_t fuel_flow;  // pounds per hour
  std::uint32_t tank_level, tank_capacity;
};
constexpr EngineTokens kEngines[2] = {
    {kTokenEngineMasterLeft, kTokenThrottleLeft, 624, 625, 567, 638, 291, 292},
    {kTokenEngineMasterRight, kTokenThrottleRight, 643, 644, 577, 657, 297, 298},
};
constexpr std::uint32_t kTokenHydraulic[2] = {732, 734};  // pounds per square foot
constexpr std::uint32_t kTokenGear[3] = {332, 333, 334};  // centre, left, right; 0 up to 16383 down
constexpr std::uint32_t kTokenFlaps = 329;                // 0 up to 16383 down
constexpr std::uint32_t kTokenSpeedBrake = 327;           // 0 in to 16383 out
constexpr std::uint32_t kTokenHook = 869;                 // 0 up to 1 down

// Engine behaviour.
constexpr double kLightOffN2 = 20.0;  // fuel and ignition from here on
constexpr double kStarterRate = 4.0;  // N2 percent per second while motoring
constexpr double kStartRate = 5.0;    // N2 percent per second at most, light-off to idle
constexpr double kIdleN2 = 65.0;
constexpr double kFullDryN2 = 97.0;
constexpr double kFullDryLever = 90.0;  // the lever's afterburner detent
constexpr double kAmbientC = 15.0;
constexpr double kFullTankLevel = 8388610.0;
constexpr double kPoundsPerGallon = 6.7;
constexpr double kPsfPerPsi = 144.0;
constexpr double kSystemPressurePsi = 3000.0;
constexpr double kWorkingPressurePsi = 1500.0;  // below this the actuators stop
constexpr double kFullTravel = 16383.0;

double rankine_of(double celsius) { return celsius * 1.8 + 32.0 + 459.67; }
double celsius_of(double rankine) { return (rankine - 459.67 - 32.0) / 1.8; }

// One first-order lag step toward `target` with time constant `tau` seconds.
double lag(double value, double target, double tau, double dt) {
  if (!std::isfinite(value)) value = target;
  return target + (value - target) * std::exp(-dt / tau);
}

// A step toward `target` at `rate` units per second.
double slew(double value, double target, double rate, double dt) {
  if (!std::isfinite(value)) value = target;
  const double step = rate * dt;
  return value < target ? std::min(target, value + step) : std::max(target, value - step);
}

bool is_set(const SimState& s, std::uint32_t id) { return s.token(id) != nullptr; }

// A switch or handle: on (down, out, failed) from half way, so keyframes that
// ramp a switch between two settings throw it once, in the middle.
bool switched(const SimState& s, std::uint32_t id) { return s.number(id) >= 0.5; }

double lever_of(const SimState& s, std::uint32_t id) {
  const double v = s.number(id);
  return std::isfinite(v) ? std::clamp(v, 0.0, 100.0) : 0.0;
}

// N1 from N2: the fan turns slowly below idle and reaches 100 at full dry.
double n1_of(double n2) {
  if (n2 <= kLightOffN2) return 0.25 * std::max(n2, 0.0);
  if (n2 <= kIdleN2) return 5.0 + (n2 - kLightOffN2) * (30.0 - 5.0) / (kIdleN2 - kLightOffN2);
  return 30.0 + (n2 - kIdleN2) * (100.0 - 30.0) / (kFullDryN2 - kIdleN2);
}

void advance_engine(SimState& s, const EngineTokens& t, double dt) {
  const SimValue* level_token = s.token(t.tank_level);
  const bool has_fuel = level_token == nullptr || level_token->as_double() > 0.0;
  const bool on = switched(s, t.master) && has_fuel;
  const double lever = lever_of(s, t.throttle);
  const double afterburner = std::clamp((lever - kFullDryLever) / (100.0 - kFullDryLever), 0.0, 1.0);

  double n2 = s.number(t.n2), n1 = s.number(t.n1), ff = s.number(t.fuel_flow);
  double egt = is_set(s, t.egt) ? celsius_of(s.number(t.egt)) : kAmbientC;
  if (!std::isfinite(n2)) n2 = 0.0;

  double n1_target = 0.0, egt_target = kAmbientC, ff_target = 0.0;
  if (on && n2 < kLightOffN2) {  // the starter motors the engine up to light-off
    n2 = std::min(kLightOffN2, n2 + kStarterRate * dt);
    n1_target = n1_of(n2);
  } else if (on) {  // running: spool toward the lever's N2
    const double n2_target =
        kIdleN2 + (kFullDryN2 - kIdleN2) * std::min(lever, kFullDryLever) / kFullDryLever;
    n2 = n2 < kIdleN2 - 5.0 ? slew(n2, n2_target, kStartRate, dt) : lag(n2, n2_target, 1.5, dt);
    const double dry = std::clamp((n2 - kIdleN2) / (kFullDryN2 - kIdleN2), 0.0, 1.0);
    const bool starting = n2 < kIdleN2 - 5.0;
    n1_target = n1_of(n2) + 4.0 * afterburner;
    egt_target = starting ? 640.0 : 430.0 + 480.0 * dry + 260.0 * afterburner;
    ff_target = starting ? 900.0 : 700.0 + 8300.0 * dry + 19000.0 * afterburner;
  } else {  // off or out of fuel: everything runs down
    n2 = lag(n2, 0.0, 5.0, dt);
  }
  n1 = lag(n1, n1_target, 1.2, dt);
  egt = lag(egt, egt_target, on ? 2.5 : 15.0, dt);
  ff = on ? lag(ff, ff_target, 0.6, dt) : 0.0;

  s.set_number(t.n2, n2);
  s.set_number(t.n1, n1);
  s.set_number(t.egt, rankine_of(egt));
  s.set_number(t.fuel_flow, ff);

  // The engine burns from its own tank.
  const double capacity_gallons = s.number(t.tank_capacity);
  if (level_token != nullptr && capacity_gallons > 0.0 && ff > 0.0) {
    const double factor = is_set(s, kTokenFuelBurnFactor) ? s.number(kTokenFuelBurnFactor) : 1.0;
    const double gallons = ff / kPoundsPerGallon * dt / 3600.0 * (std::isfinite(factor) ? factor : 1.0);
    const double level = s.number(t.tank_level) - gallons / capacity_gallons * kFullTankLevel;
    s.set_number(t.tank_level, std::max(0.0, level));
  }
}

// Whether hydraulic system `k` (0 or 1) holds working pressure; a system
// that no scenario runs counts as pressurised.
bool pressurised(const SimState& s, int k) {
  return !is_set(s, kTokenHydraulic[k]) || s.number(kTokenHydraulic[k]) >= kWorkingPressurePsi * kPsfPerPsi;
}

void advance_hydraulics(SimState& s, double dt) {
  for (int k = 0; k < 2; ++k) {
    const double n2 = s.number(kEngines[k].n2);
    const bool failed = switched(s, k == 0 ? kTokenHydraulicFailure1 : kTokenHydraulicFailure2);
    const double target = failed ? 0.0 : kSystemPressurePsi * std::clamp((n2 - 15.0) / 35.0, 0.0, 1.0);
    const double psi = lag(s.number(kTokenHydraulic[k]) / kPsfPerPsi, target, 0.6, dt);
    s.set_number(kTokenHydraulic[k], psi * kPsfPerPsi);
  }
}

// Moves token `id` toward `target` at `rate` per second while `powered`.
void actuate(SimState& s, std::uint32_t id, double target, double rate, bool powered, double dt) {
  const double now = s.number(id);
  s.set_number(id, powered ? slew(now, target, rate, dt) : (std::isfinite(now) ? now : 0.0));
}

}  // namespace

void advance_engine_systems(SimState& s, double dt) {
  if (!(dt >= 0.0)) dt = 0.0;
  const bool engines = is_set(s, kTokenEngineMasterLeft) || is_set(s, kTokenEngineMasterRight);
  if (engines) {
    for (const EngineTokens& t : kEngines) advance_engine(s, t, dt);
  }
  if (engines || is_set(s, kTokenHydraulicFailure1) || is_set(s, kTokenHydraulicFailure2))
    advance_hydraulics(s, dt);

  // Gear legs: the centre leg is quickest, the right one slowest, so the
  // three lights change one after the other.
  if (is_set(s, kTokenGearHandle)) {
    const double target = switched(s, kTokenGearHandle) ? kFullTravel : 0.0;
    constexpr double kLegSeconds[3] = {5.0, 6.0, 6.6};
    for (int leg = 0; leg < 3; ++leg)
      actuate(s, kTokenGear[leg], target, kFullTravel / kLegSeconds[leg], pressurised(s, 0), dt);
  }
  // Flap lever detents, one in each of the flap readout's steps.
  if (is_set(s, kTokenFlapsHandle)) {
    constexpr double kDetent[5] = {0.0, 900.0, 4000.0, 10500.0, kFullTravel};
    const double handle = s.number(kTokenFlapsHandle);
    const int detent = std::isfinite(handle) ? static_cast<int>(std::clamp(std::round(handle), 0.0, 4.0)) : 0;
    actuate(s, kTokenFlaps, kDetent[detent], kFullTravel / 8.0, pressurised(s, 1), dt);
  }
  if (is_set(s, kTokenSpeedBrakeHandle)) {
    const double target = switched(s, kTokenSpeedBrakeHandle) ? kFullTravel : 0.0;
    actuate(s, kTokenSpeedBrake, target, kFullTravel / 1.5, pressurised(s, 0), dt);
  }
  // The hook falls by its own weight; it needs no pressure either way here.
  if (is_set(s, kTokenHookHandle)) {
    actuate(s, kTokenHook, switched(s, kTokenHookHandle) ? 1.0 : 0.0, 1.0 / 1.2, true, dt);
  }
}

}  // namespace orv::host
