// The simulator's radio stack: what the key events of a real radio panel do
// to the packed radio tokens. COM 1/2 and NAV 1/2 have an active and a
// standby frequency (packed decimal, leading 1 implied: 118.35 MHz is
// 0x1835); tuning acts on the standby frequency and a swap exchanges the two.
// The ADF frequency lives in two tokens, the transponder code in one, and the
// audio selections are on/off tokens.
#pragma once

#include <array>
#include <cstdint>

namespace orv::host {

class SimState;

// Applies `event` if it is a radio event; returns whether it was one.
bool apply_radio_event(SimState& sim, std::uint32_t event);

// The tokens a radio event changes (0 for none), so a trace can show their
// new values next to the event.
std::array<std::uint32_t, 2> radio_event_tokens(std::uint32_t event);

// Frequencies as whole kHz (COM and NAV: 118350 for 118.35 MHz; the COM
// fraction keeps its 25 kHz step: a packed .02 is 25, .07 is 75 kHz) and back.
std::uint32_t packed_to_khz(std::uint32_t packed, bool com);
std::uint32_t khz_to_packed(std::uint32_t khz);

}  // namespace orv::host
