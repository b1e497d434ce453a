// The element and mouse callbacks of the right multi-function display's three
// pages. Every page-bound callback applies the page gate against
// `right_mfd_page`; the gauge's records (right_display.cpp) bind them in
// drawing order.
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
f64 ORV_CALL wedge(void* element) {
  constexpr f64 cap = caps.cap[cap_index];
  auto* n = static_cast<abi::NeedleElement*>(element);
  if constexpr (copies_token) dial = channel_f64(n->source);
  if (!page_gate(&n->h, cockpit::right_mfd_page, cockpit::kRightPageEngine)) return 0.0;
  const f64 d = dial;
  return (d <= cap || std::isnan(d)) ? d : cap;
}

f64 ORV_CALL engine_overlay(void* e);
f64 ORV_CALL fuel_percent_text(void* e);
f64 ORV_CALL afterburner_text(void* e);
f64 ORV_CALL ff_right_text(void* e);
f64 ORV_CALL ff_left_text(void* e);
f64 ORV_CALL egt_right_text(void* e);
f64 ORV_CALL egt_left_text(void* e);
f64 ORV_CALL n2_right_text(void* e);
f64 ORV_CALL n2_left_text(void* e);
f64 ORV_CALL n1_right_text(void* e);
f64 ORV_CALL n1_left_text(void* e);

// --- Controls page (page 1) ------------------------------------------------------------

f64 ORV_CALL controls_face(void* e);  // also the forward triangles and the tail marker
f64 ORV_CALL gear_leg(void* e);
f64 ORV_CALL flaps_text(void* e);
f64 ORV_CALL flap_edges(void* e);
f64 ORV_CALL slats_text(void* e);
f64 ORV_CALL slat_bars(void* e);
f64 ORV_CALL fuselage_boxes(void* e);
f64 ORV_CALL brake_label(void* e);
f64 ORV_CALL hook_label(void* e);
f64 ORV_CALL hydraulic_text(void* e);

// --- Navigation circle page (page 3) ------------------------------------------------------

f64 ORV_CALL nav_circle_face(void* e);  // the fixed marks and the aircraft symbol
f64 ORV_CALL compass_rose(void* e);
f64 ORV_CALL glide_slope_scale(void* e);
f64 ORV_CALL glide_slope_diamond(void* e);
f64 ORV_CALL heading_bug(void* e);
f64 ORV_CALL adf_pointer(void* e);
f64 ORV_CALL course_pointer(void* e);
f64 ORV_CALL bar_rotation(void* e);
f64 ORV_CALL hollow_bar_offset(void* e);
f64 ORV_CALL filled_bar_offset(void* e);
f64 ORV_CALL to_from_pointer(void* e);
f64 ORV_CALL nav2_pointer(void* e);
f64 ORV_CALL course_text(void* e);
f64 ORV_CALL heading_text(void* e);
f64 ORV_CALL nav2_ident_text(void* e);
f64 ORV_CALL nav1_ident_text(void* e);
f64 ORV_CALL adf_ident_text(void* e);
f64 ORV_CALL adf_frequency_text(void* e);
f64 ORV_CALL nav1_frequency_text(void* e);
f64 ORV_CALL nav2_frequency_text(void* e);
f64 ORV_CALL nav1_distance_text(void* e);
f64 ORV_CALL nav2_distance_text(void* e);
f64 ORV_CALL altitude_hundreds_text(void* e);
f64 ORV_CALL altitude_last_two_text(void* e);
f64 ORV_CALL airspeed_text(void* e);

// The two halves of the course text: the left one turns the course down, the
// right one up (event 65716 with the stepped course).
i32 ORV_CALL course_down(Click* click, u32 flags);
i32 ORV_CALL course_up(Click* click, u32 flags);

}  // namespace orv::mfd::right
