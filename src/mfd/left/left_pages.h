// The element and mouse callbacks of the left multi-function display's pages.
// Every page-bound callback applies the page gate against `left_mfd_page`;
// the gauge's records (left_display.cpp) bind them in drawing order.
#pragma once

#include "frame/gauge_abi.h"

namespace orv::mfd {

using abi::Click;
using abi::f64;
using abi::i32;
using abi::u32;

// --- Pages 1, 2 and 4: a page bitmap and nothing else that changes -------------

f64 ORV_CALL weapons_page_face(void* e);
f64 ORV_CALL map_page_face(void* e);
f64 ORV_CALL radar_page_face(void* e);

// --- Navigation arc page (page 5) -------------------------------------------------

f64 ORV_CALL arc_page_face(void* e);  // the page face and the aircraft symbol
f64 ORV_CALL compass_card(void* e);
f64 ORV_CALL adf_pointer(void* e);
f64 ORV_CALL nav2_pointer(void* e);
f64 ORV_CALL heading_bug(void* e);
f64 ORV_CALL course_line(void* e);
f64 ORV_CALL deviation_scale(void* e);
f64 ORV_CALL bar_rotation(void* e);
f64 ORV_CALL hollow_bar_offset(void* e);
f64 ORV_CALL solid_bar_offset(void* e);
f64 ORV_CALL glide_slope_scale(void* e);
f64 ORV_CALL glide_slope_pointer(void* e);
f64 ORV_CALL heading_text(void* e);
f64 ORV_CALL adf_identifier_text(void* e);
f64 ORV_CALL adf_frequency_text(void* e);
f64 ORV_CALL course_text(void* e);
f64 ORV_CALL nav2_identifier_text(void* e);
f64 ORV_CALL nav1_identifier_text(void* e);
f64 ORV_CALL nav1_frequency_text(void* e);
f64 ORV_CALL nav2_frequency_text(void* e);
f64 ORV_CALL nav1_distance_text(void* e);
f64 ORV_CALL nav2_distance_text(void* e);
f64 ORV_CALL to_from_text(void* e);

// --- Radios page (page 3) ---------------------------------------------------------

f64 ORV_CALL radios_page_face(void* e);
f64 ORV_CALL transponder_text(void* e);
f64 ORV_CALL adf_text(void* e);
f64 ORV_CALL nav1_text(void* e);
f64 ORV_CALL nav2_text(void* e);
f64 ORV_CALL com1_text(void* e);
f64 ORV_CALL com2_text(void* e);
f64 ORV_CALL nav2_swap_lit(void* e);
f64 ORV_CALL nav1_swap_lit(void* e);
f64 ORV_CALL com2_swap_lit(void* e);
f64 ORV_CALL com1_swap_lit(void* e);
f64 ORV_CALL button_lamp(void* e);

// Audio selector buttons.
i32 ORV_CALL radio_master_button(Click* click, u32 flags);
i32 ORV_CALL nav1_audio_button(Click* click, u32 flags);
i32 ORV_CALL nav2_audio_button(Click* click, u32 flags);
i32 ORV_CALL adf_audio_button(Click* click, u32 flags);
i32 ORV_CALL marker_audio_button(Click* click, u32 flags);

// Frequency swap boxes.
i32 ORV_CALL com1_swap(Click* click, u32 flags);
i32 ORV_CALL com2_swap(Click* click, u32 flags);
i32 ORV_CALL nav1_swap(Click* click, u32 flags);
i32 ORV_CALL nav2_swap(Click* click, u32 flags);

// Frequency tuning areas: whole MHz or fraction, up or down.
i32 ORV_CALL com1_whole_up(Click* click, u32 flags);
i32 ORV_CALL com1_whole_down(Click* click, u32 flags);
i32 ORV_CALL com1_fraction_up(Click* click, u32 flags);
i32 ORV_CALL com1_fraction_down(Click* click, u32 flags);
i32 ORV_CALL com2_whole_up(Click* click, u32 flags);
i32 ORV_CALL com2_whole_down(Click* click, u32 flags);
i32 ORV_CALL com2_fraction_up(Click* click, u32 flags);
i32 ORV_CALL com2_fraction_down(Click* click, u32 flags);
i32 ORV_CALL nav1_whole_up(Click* click, u32 flags);
i32 ORV_CALL nav1_whole_down(Click* click, u32 flags);
i32 ORV_CALL nav1_fraction_up(Click* click, u32 flags);
i32 ORV_CALL nav1_fraction_down(Click* click, u32 flags);
i32 ORV_CALL nav2_whole_up(Click* click, u32 flags);
i32 ORV_CALL nav2_whole_down(Click* click, u32 flags);
i32 ORV_CALL nav2_fraction_up(Click* click, u32 flags);
i32 ORV_CALL nav2_fraction_down(Click* click, u32 flags);

// ADF columns (left, middle, right) and transponder digit columns (1 to 4 from
// the left), each with a raise and a lower area.
i32 ORV_CALL adf_left_up(Click* click, u32 flags);
i32 ORV_CALL adf_left_down(Click* click, u32 flags);
i32 ORV_CALL adf_middle_up(Click* click, u32 flags);
i32 ORV_CALL adf_middle_down(Click* click, u32 flags);
i32 ORV_CALL adf_right_up(Click* click, u32 flags);
i32 ORV_CALL adf_right_down(Click* click, u32 flags);
i32 ORV_CALL transponder_1_up(Click* click, u32 flags);
i32 ORV_CALL transponder_1_down(Click* click, u32 flags);
i32 ORV_CALL transponder_2_up(Click* click, u32 flags);
i32 ORV_CALL transponder_2_down(Click* click, u32 flags);
i32 ORV_CALL transponder_3_up(Click* click, u32 flags);
i32 ORV_CALL transponder_3_down(Click* click, u32 flags);
i32 ORV_CALL transponder_4_up(Click* click, u32 flags);
i32 ORV_CALL transponder_4_down(Click* click, u32 flags);

}  // namespace orv::mfd
