// The element and mouse callbacks of the right multi-function display's three
// pages. Every page-bound callback applies the page gate against
// `right_mfd_page`; the gauge's records (right_display.cpp) bind them in
// drawing order with `calls`. Each takes the record of its element's kind.
#pragma once

#include <cmath>

#include "cockpit/mode_state.h"
#include "frame/elements.h"
#include "mfd/page_gate.h"
#include "mfd/right/right_display.h"

namespace orv::mfd::right {

using abi::Click;
using abi::f64;
using abi::i32;
using abi::u32;

// --- Engine page (page 2) -----------------------------------------------------------

// The caps of a dial's five wedges, first cap first: green up to the third
// cap, amber to the fourth, red to the fifth.
struct DialCaps {
  f64 cap[5];
};
inline constexpr DialCaps kSpoolCaps{{30.0, 60.0, 90.0, 100.0, 110.0}};       // N1 and N2, percent
inline constexpr DialCaps kEgtCaps{{500.0, 800.0, 1100.0, 1250.0, 1300.0}};   // degrees Celsius
inline constexpr DialCaps kFuelFlowCaps{{50.0, 100.0, 150.0, 200.0, 220.0}};  // kilograms per minute

// One wedge of a dial: the dial value `dial` stopped at cap `caps.cap[cap_index]`, with
// no lower stop; a value that is not a number passes through as it is. The
// first two wedges of the N1 and N2 dials first copy their own token value into
// the dial value (`copies_token`), so the other three read it after them.
template <f64& dial, const DialCaps& caps, int cap_index, bool copies_token>
f64 wedge(NeedleElement* n) {
  constexpr f64 cap = caps.cap[cap_index];
  if constexpr (copies_token) dial = channel_f64(n->source);
  if (!page_gate(&n->h, cockpit::right_mfd_page, cockpit::kRightPageEngine)) return 0.0;
  const f64 d = dial;
  return (d <= cap || std::isnan(d)) ? d : cap;
}

f64 engine_overlay(IconElement* e);
f64 fuel_percent_text(TextElement* e);
f64 afterburner_text(TextElement* e);
f64 ff_right_text(TextElement* e);
f64 ff_left_text(TextElement* e);
f64 egt_right_text(TextElement* e);
f64 egt_left_text(TextElement* e);
f64 n2_right_text(TextElement* e);
f64 n2_left_text(TextElement* e);
f64 n1_right_text(TextElement* e);
f64 n1_left_text(TextElement* e);

// --- Controls page (page 1) ------------------------------------------------------------

f64 controls_face(IconElement* e);  // also the forward triangles and the tail marker
f64 gear_leg(IconElement* e);
f64 flaps_text(TextElement* e);
f64 flap_edges(IconElement* e);
f64 slats_text(TextElement* e);
f64 slat_bars(IconElement* e);
f64 fuselage_boxes(IconElement* e);
f64 brake_label(IconElement* e);
f64 hook_label(IconElement* e);
f64 hydraulic_text(TextElement* e);

// --- Navigation circle page (page 3) ------------------------------------------------------

f64 nav_circle_face(IconElement* e);  // the fixed marks and the aircraft symbol
f64 compass_rose(SpriteElement* e);
f64 glide_slope_scale(IconElement* e);
f64 glide_slope_diamond(SliderElement* e);
f64 heading_bug(NeedleElement* e);
f64 adf_pointer(NeedleElement* e);
f64 course_pointer(NeedleElement* e);
f64 bar_rotation(SpriteElement* e);
f64 hollow_bar_offset(SpriteElement* e);
f64 filled_bar_offset(SpriteElement* e);
f64 to_from_pointer(NeedleElement* e);
f64 nav2_pointer(NeedleElement* e);
f64 course_text(TextElement* e);
f64 heading_text(TextElement* e);
f64 nav2_ident_text(TextElement* e);
f64 nav1_ident_text(TextElement* e);
f64 adf_ident_text(TextElement* e);
f64 adf_frequency_text(TextElement* e);
f64 nav1_frequency_text(TextElement* e);
f64 nav2_frequency_text(TextElement* e);
f64 nav1_distance_text(TextElement* e);
f64 nav2_distance_text(TextElement* e);
f64 altitude_hundreds_text(TextElement* e);
f64 altitude_last_two_text(TextElement* e);
f64 airspeed_text(TextElement* e);

// The two halves of the course text: the left one turns the course down, the
// right one up (event 65716 with the stepped course).
i32 ORV_CALL course_down(Click* click, u32 flags);
i32 ORV_CALL course_up(Click* click, u32 flags);

}  // namespace orv::mfd::right
