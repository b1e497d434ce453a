// The substitute host's engines and aircraft systems: two jet engines (start,
// spool-up, afterburner, fuel flow, flame-out when their tank runs dry), the
// fuel they burn from their tanks, two engine-driven hydraulic systems, and
// the gear, flaps, speed brake and arrestor hook they move.
//
// A scenario drives them through the pilot's controls, which are host tokens
// of their own (numbers from 9001 on, never read by the module): the engine
// master switches, the throttles, the gear, flap, speed brake and hook
// handles, and two hydraulic failure switches. The simulator tokens the
// instruments read (N1, N2, EGT, fuel flow, tank levels, hydraulic pressures,
// gear, flap, speed brake and hook positions) follow from them.
//
// Switches and handles count as on (down, out, failed) from 0.5 up, so a
// keyframed ramp throws them half way. Each part runs only once a scenario
// has set one of its controls, so a
// scenario that sets the instrument tokens itself (a gear position keyframed
// on short final) keeps full control of them.
#pragma once

#include <cstdint>

namespace orv::host {

class SimState;

// The pilot's controls.
inline constexpr std::uint32_t kTokenEngineMasterLeft = 9001;   // 0 off, 1 on: starter, then fuel
inline constexpr std::uint32_t kTokenEngineMasterRight = 9002;  // the same
inline constexpr std::uint32_t kTokenThrottleLeft =
    9003;  // percent, 0 idle to 90 full dry, 100 full afterburner
inline constexpr std::uint32_t kTokenThrottleRight = 9004;
inline constexpr std::uint32_t kTokenGearHandle = 9005;         // 0 up, 1 down
inline constexpr std::uint32_t kTokenFlapsHandle = 9006;        // detent 0 (up) to 4 (down)
inline constexpr std::uint32_t kTokenSpeedBrakeHandle = 9007;   // 0 in, 1 out
inline constexpr std::uint32_t kTokenHookHandle = 9008;         // 0 up, 1 down
inline constexpr std::uint32_t kTokenHydraulicFailure1 = 9009;  // 1 failed
inline constexpr std::uint32_t kTokenHydraulicFailure2 = 9010;
inline constexpr std::uint32_t kTokenFuelBurnFactor = 9011;  // fuel burnt per fuel flowed (default 1)

// Advances the engines and systems by `dt` simulated seconds from the state's
// tokens (a `dt` of 0 only brings the outputs in line with the controls).
void advance_engine_systems(SimState& state, double dt);

}  // namespace orv::host
