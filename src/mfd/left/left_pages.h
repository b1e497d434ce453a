// The element and mouse callbacks of the left multi-function display's pages.
// Every page-bound callback applies the page gate against `left_mfd_page`;
// the gauge's records (left_display.cpp) bind them in drawing order with
// `calls`. Each takes the record of its element's kind.
#pragma once

#include "frame/elements.h"

namespace orv::mfd {

using abi::Click;
using abi::f64;
using abi::i32;
using abi::u32;

// --- Pages 1, 2 and 4: a page bitmap and nothing else that changes -------------

f64 weapons_page_face(IconElement* e);
f64 map_page_face(IconElement* e);
f64 radar_page_face(IconElement* e);

// --- Navigation arc page (page 5) -------------------------------------------------

f64 arc_page_face(IconElement* e);  // the page face and the aircraft symbol
f64 compass_card(SpriteElement* e);
f64 adf_pointer(SpriteElement* e);
f64 nav2_pointer(SpriteElement* e);
f64 heading_bug(SpriteElement* e);
f64 course_line(SpriteElement* e);
f64 deviation_scale(SpriteElement* e);
f64 bar_rotation(SpriteElement* e);
f64 hollow_bar_offset(SpriteElement* e);
f64 solid_bar_offset(SpriteElement* e);
f64 glide_slope_scale(IconElement* e);
f64 glide_slope_pointer(SliderElement* e);
f64 heading_text(TextElement* e);
f64 adf_identifier_text(TextElement* e);
f64 adf_frequency_text(TextElement* e);
f64 course_text(TextElement* e);
f64 nav2_identifier_text(TextElement* e);
f64 nav1_identifier_text(TextElement* e);
f64 nav1_frequency_text(TextElement* e);
f64 nav2_frequency_text(TextElement* e);
f64 nav1_distance_text(TextElement* e);
f64 nav2_distance_text(TextElement* e);
f64 to_from_text(TextElement* e);

// --- Radios page (page 3) ---------------------------------------------------------

f64 radios_page_face(IconElement* e);
f64 transponder_text(TextElement* e);
f64 adf_text(TextElement* e);
f64 nav1_text(TextElement* e);
f64 nav2_text(TextElement* e);
f64 com1_text(TextElement* e);
f64 com2_text(TextElement* e);
f64 nav2_swap_lit(IconElement* e);
f64 nav1_swap_lit(IconElement* e);
f64 com2_swap_lit(IconElement* e);
f64 com1_swap_lit(IconElement* e);
f64 button_lamp(IconElement* e);

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
