// The head-up display's symbol callbacks, one routine per symbol family.
// Each takes the element the host handed over (its own copy of the record)
// and, for the symbols drawn in colour copies, the colour index of the copy;
// head_up_display.cpp binds them to the element records with `calls`
// (frame/elements.h), a colour copy's index as the bound constant.
#pragma once

#include <cmath>

#include "cockpit/mode_state.h"
#include "frame/cockpit_numbers.h"
#include "frame/elements.h"

namespace orv::hud {

// Colour indexes, as hud_colour holds them.
inline constexpr u32 kLightGreen = cockpit::kHudLightGreen;
inline constexpr u32 kMiddleGreen = cockpit::kHudMiddleGreen;
inline constexpr u32 kDarkGreen = cockpit::kHudDarkGreen;
inline constexpr u32 kRed = cockpit::kHudRed;
inline constexpr u32 kColourCount = 4;

using numbers::kNoImage;

// The HUD is on and shows one of its four colours.
inline bool hud_lit() { return cockpit::hud_on != 0 && cockpit::hud_colour < kColourCount; }

// The colour copy `colour` of a symbol may show: the HUD is on and set to
// that colour. At most one copy of each symbol passes.
inline bool copy_visible(u32 colour) { return cockpit::hud_on != 0 && cockpit::hud_colour == colour; }

// A host value made safe to compute with: NaN and infinities read as 0 (an
// absent reading, like a read that fills nothing) and magnitudes are bounded
// so that the host's scaling stays finite.
inline f64 sane(f64 v) { return finite_or(v, 0.0, -1.0e9, 1.0e9); }

// --- The frame, attitude and air data (hud_attitude.cpp) ---
f64 hud_glass(IconElement* e);
f64 hud_fixed_symbology(IconElement* e);
f64 hud_pitch_ladder(SpriteElement* e, u32 colour);
f64 hud_flight_path_marker(SpriteElement* e, u32 colour);
f64 hud_bank_pointer(NeedleElement* e, u32 colour);
f64 hud_heading_tape(MovingImageElement* e, u32 colour);
f64 hud_airspeed_text(TextElement* e, u32 colour);
f64 hud_altitude_text(TextElement* e, u32 colour);
f64 hud_angle_of_attack_text(TextElement* e, u32 colour);
f64 hud_gear_down_cue(IconElement* e);

// --- Navigation guidance (hud_navigation.cpp) ---
f64 hud_localizer_caret(SliderElement* e, u32 colour);
f64 hud_glideslope_caret(SliderElement* e, u32 colour);
f64 hud_to_from_arrow(IconElement* e);
f64 hud_nav_source_label(IconElement* e);
f64 hud_course_text(TextElement* e, u32 colour);

}  // namespace orv::hud
