// The left multi-function display: one chain of elements in drawing order
// (the black face, then the weapons, navigation arc, map, radar and radios
// pages, each element gated to its page), the radios page's mouse areas, and
// the gauge callback: the click sound from set-up to release, and the shared
// radio values refreshed at every update.
#include "frame/records.h"
#include "frame/registry.h"
#include "mfd/left/left_pages.h"
#include "mfd/radio_decoding.h"
#include "mfd/radio_values.h"
#include "sound/sound.h"

namespace orv::mfd {

namespace {

void ORV_CALL left_display_callback(abi::GaugeHeader*, i32 service, abi::uptr extra) {
  switch (service) {
    case abi::kServiceInstall:
      // Every instance of the display shares the one channel. A panel that
      // places the display twice (main view and pop-up) sets it up twice:
      // the second set-up first gives back what the first one made, so no
      // device is left playing without an owner.
      sound::release_channel(sound::channels::multi_function_display_left);
      sound::set_up_channel(sound::channels::multi_function_display_left, extra);
      break;
    case abi::kServicePreUpdate:
      refresh_radio_values();
      break;
    case abi::kServicePreKill:
      sound::release_channel(sound::channels::multi_function_display_left);
      break;
    default:
      break;
  }
}

}  // namespace

}  // namespace orv::mfd

namespace orv::gauges::multi_function_display_left_records {

using namespace orv::records;
using namespace orv::mfd;

// --- Text styles ---------------------------------------------------------------

constexpr u32 kWhite = 0x00FFFFFF;
constexpr u32 kCyan = 0x00FFFF00;   // RGB 0,255,255
constexpr u32 kGreen = 0x0028FF07;  // RGB 7,255,40
constexpr u32 kRadioGreen = 0x0000FF00;
constexpr u32 kLeft = 0x0;
constexpr u32 kRight = abi::kTextRight;
constexpr u32 kCentred = abi::kTextCentre | abi::kTextVCentre | abi::kTextSingleLine;
constexpr u8 kCharset = 1;

// A string of the navigation arc page.
constexpr TextElement arc_text(PixPoint at, PixPoint box, u16 chars, u32 token,
                               ElementCallback<TextElement> callback, u32 colour, u32 format) {
  return text({.at = at,
               .box = box,
               .chars = chars,
               .callback = callback,
               .token = token,
               .font = "Geneva",
               .charset = kCharset,
               .format = format,
               .colour = colour,
               .highlight = colour});
}

// A string of the radios page.
constexpr TextElement radio_text(PixPoint at, u16 chars, u32 token, ElementCallback<TextElement> callback,
                                 u32 flags = kDrawOverlay, SelectionRecord* selections = nullptr,
                                 PixPoint box = {72, 20}) {
  return text({.at = at,
               .box = box,
               .chars = chars,
               .callback = callback,
               .token = token,
               .font = "Quartz",
               .charset = kCharset,
               .colour = kRadioGreen,
               .highlight = kRadioGreen,
               .flags = flags,
               .selections = selections});
}

constexpr TextElement with_second_source(TextElement e, u32 token_id) {
  e.source[1] = orv::token(token_id);
  return e;
}

// The arc page's sprites all turn about one point of the face.
constexpr PixPoint kArcCentre{143, 212};

constexpr SpriteElement arc_sprite(u32 bitmap, u32 angle_token, ElementCallback<SpriteElement> angle_callback,
                                   double angle_scale) {
  return sprite({.bitmap = bitmap,
                 .at = {0, 0},
                 .centre = kArcCentre,
                 .angle_token = angle_token,
                 .angle_callback = angle_callback,
                 .angle_scale = angle_scale});
}

constexpr SpriteElement deviation_bar(u32 bitmap, ElementCallback<SpriteElement> offset_callback) {
  return sprite({.bitmap = bitmap,
                 .at = {0, 0},
                 .centre = kArcCentre,
                 .x_token = 849,
                 .x_callback = offset_callback,
                 .x_scale = -48.0,
                 .angle_token = 854,
                 .angle_callback = calls<bar_rotation>,
                 .angle_scale = -1.0});
}

// Selection records of the standby strings: the host's radio-tuning selection
// highlights the whole MHz (characters 0 to 2) or the hundredths (4 to 5).
constexpr SelectionRecord kSelectionEnd{0, 0, 0};
SelectionRecord nav1_selection[] = {{6, 0, 2}, {7, 4, 5}, kSelectionEnd};
SelectionRecord nav2_selection[] = {{8, 0, 2}, {9, 4, 5}, kSelectionEnd};
SelectionRecord com1_selection[] = {{4, 0, 2}, {5, 4, 5}, kSelectionEnd};
SelectionRecord com2_selection[] = {{27, 0, 2}, {28, 4, 5}, kSelectionEnd};

constexpr u32 kStandbyFlags = 0x6;

constinit Chain chain{
    multi_function_display_left, static_image({.bitmap = 3030}),   // black face
    icon({.bitmap = 3200, .callback = calls<weapons_page_face>}),  // weapons page
    // Navigation arc page.
    icon({.bitmap = 3300, .callback = calls<arc_page_face>}),                    // page face
    arc_sprite(3310, 84, calls<compass_card>, 1.0),                              // compass card
    arc_sprite(3350, 39, calls<adf_pointer>, -1.0),                              // ADF pointer
    arc_sprite(3340, 59, calls<nav2_pointer>, -1.0),                             // NAV 2 pointer
    arc_sprite(3330, 855, calls<heading_bug>, -1.0),                             // heading bug
    arc_sprite(3380, 854, calls<course_line>, -1.0),                             // course line
    arc_sprite(3360, 854, calls<deviation_scale>, -1.0),                         // deviation scale
    deviation_bar(3410, calls<hollow_bar_offset>),                               // hollow bar
    deviation_bar(3370, calls<solid_bar_offset>),                                // solid bar
    icon({.bitmap = 3320, .at = {133, 210}, .callback = calls<arc_page_face>}),  // aircraft symbol
    icon({.bitmap = 3390, .at = {259, 107}, .token = 852, .callback = calls<glide_slope_scale>}),
    slider({.bitmap = 3400,
            .at = {259, 154},
            .x_token = 852,
            .x_scale = 1.0,
            .y_token = 850,
            .y_callback = calls<glide_slope_pointer>,
            .y_scale = 50.0}),  // glide-slope pointer
    arc_text({128, 5}, {36, 18}, 3, 84, calls<heading_text>, kWhite, kCentred),
    arc_text({10, 5}, {36, 24}, 3, 19, calls<adf_identifier_text>, kCyan, kLeft),
    arc_text({10, 23}, {72, 24}, 6, 0, calls<adf_frequency_text>, kCyan, kLeft),
    arc_text({192, 5}, {84, 24}, 7, 45, calls<course_text>, kWhite, kRight),
    arc_text({245, 227}, {36, 24}, 4, 56, calls<nav2_identifier_text>, kGreen, kLeft),
    arc_text({10, 227}, {54, 24}, 6, 47, calls<nav1_identifier_text>, kWhite, kLeft),
    arc_text({10, 245}, {72, 24}, 6, 0, calls<nav1_frequency_text>, kWhite, kLeft),
    arc_text({209, 245}, {72, 24}, 6, 0, calls<nav2_frequency_text>, kGreen, kRight),
    arc_text({10, 264}, {96, 24}, 8, 31, calls<nav1_distance_text>, kWhite, kLeft),
    arc_text({185, 264}, {96, 24}, 8, 35, calls<nav2_distance_text>, kGreen, kRight),
    arc_text({171, 218}, {52, 21}, 4, 853, calls<to_from_text>, kWhite, kCentred),
    icon({.bitmap = 3100, .callback = calls<map_page_face>}),    // map page
    icon({.bitmap = 3040, .callback = calls<radar_page_face>}),  // radar page
    // Radios page.
    icon({.bitmap = 3050, .callback = calls<radios_page_face>}),  // page face
    radio_text({170, 192}, 4, 38, calls<transponder_text>, kDrawOverlay, nullptr, {48, 20}),
    with_second_source(radio_text({47, 192}, 7, 16, calls<adf_text>, kDrawOverlay, nullptr, {84, 20}), 18),
    radio_text({59, 135}, 6, 872, calls<nav1_text>, kStandbyFlags, nav1_selection),   // NAV 1 standby
    radio_text({59, 112}, 6, 24, calls<nav1_text>),                                   // NAV 1 active
    radio_text({167, 135}, 6, 873, calls<nav2_text>, kStandbyFlags, nav2_selection),  // NAV 2 standby
    radio_text({167, 112}, 6, 27, calls<nav2_text>),                                  // NAV 2 active
    radio_text({59, 54}, 6, 617, calls<com1_text>, kStandbyFlags, com1_selection),    // COM 1 standby
    radio_text({59, 31}, 6, 23, calls<com1_text>),                                    // COM 1 active
    radio_text({167, 54}, 6, 871, calls<com2_text>, kStandbyFlags, com2_selection),   // COM 2 standby
    radio_text({167, 31}, 6, 870, calls<com2_text>),                                  // COM 2 active
    icon({.bitmap = 3060, .at = {250, 122}, .callback = calls<nav2_swap_lit>}),
    icon({.bitmap = 3060, .at = {9, 122}, .callback = calls<nav1_swap_lit>}),
    icon({.bitmap = 3060, .at = {250, 41}, .callback = calls<com2_swap_lit>}),
    icon({.bitmap = 3060, .at = {9, 41}, .callback = calls<com1_swap_lit>}),
    icon({.bitmap = 3070, .at = {231, 257}, .token = 881, .callback = calls<button_lamp>}),  // MKR
    icon({.bitmap = 3070, .at = {176, 257}, .token = 880, .callback = calls<button_lamp>}),  // ADF
    icon({.bitmap = 3070, .at = {121, 257}, .token = 878, .callback = calls<button_lamp>}),  // NAV 2
    icon({.bitmap = 3070, .at = {66, 257}, .token = 877, .callback = calls<button_lamp>}),   // NAV 1
    icon({.bitmap = 3070, .at = {11, 257}, .token = 740, .callback = calls<button_lamp>}),   // ON/OFF
};

// --- Mouse areas -------------------------------------------------------------------

constexpr u32 kButtonFlags = 0x20e00000;  // left, and the displays' other click kinds
constexpr u32 kLeftOnly = abi::kMouseLeftSingle;

constexpr MouseRect audio_button(i32 x, MouseFn fn) {
  return click_box({x, 257, 43, 19}, abi::kCursorNone, kButtonFlags, fn);
}
constexpr MouseRect swap_box(i32 x, i32 y, MouseFn fn) {
  return click_box({x, y, 27, 19}, abi::kCursorHand, kLeftOnly, fn);
}
constexpr MouseRect tuning_up(i32 x, i32 y, MouseFn fn) {
  return click_box({x, y, 36, 20}, abi::kCursorUp, kLeftOnly, fn);
}
constexpr MouseRect tuning_down(i32 x, i32 y, MouseFn fn) {
  return click_box({x, y, 36, 20}, abi::kCursorDown, kLeftOnly, fn);
}
constexpr MouseRect adf_area(i32 x, i32 y, MouseFn fn) {
  return click_box({x, y, 36, 20}, abi::kCursorNone, kButtonFlags, fn);
}
constexpr MouseRect transponder_area(i32 x, i32 y, MouseFn fn) {
  return click_box({x, y, 20, 20}, abi::kCursorNone, kButtonFlags, fn);
}

// The transponder columns share the rows of the ADF columns.
constexpr i32 kUpperRow = 182;
constexpr i32 kLowerRow = 202;

MouseRect mouse[] = {
    whole_gauge_area(),
    // Help areas, one per radio region, on every page.
    area({46, 0, 101, 84}),
    help_tooltip(12640),
    area_end(),  // COM 1
    area({147, 0, 101, 84}),
    help_tooltip(12641),
    area_end(),  // COM 2
    area({46, 84, 101, 84}),
    help_tooltip(12648),
    area_end(),  // NAV 1
    area({147, 84, 101, 84}),
    help_tooltip(12649),
    area_end(),  // NAV 2
    area({40, 168, 107, 51}),
    help_tooltip(12656),
    area_end(),  // ADF
    area({147, 168, 86, 51}),
    help_tooltip(12672),
    area_end(),  // transponder
    // Audio selector buttons.
    audio_button(11, radio_master_button),
    audio_button(66, nav1_audio_button),
    audio_button(121, nav2_audio_button),
    audio_button(176, adf_audio_button),
    audio_button(231, marker_audio_button),
    // COM swap boxes and tuning.
    swap_box(9, 41, com1_swap),
    swap_box(250, 41, com2_swap),
    tuning_up(59, 31, com1_whole_up),
    tuning_down(59, 54, com1_whole_down),
    tuning_up(95, 31, com1_fraction_up),
    tuning_down(95, 54, com1_fraction_down),
    tuning_up(167, 31, com2_whole_up),
    tuning_down(167, 54, com2_whole_down),
    tuning_up(203, 31, com2_fraction_up),
    tuning_down(203, 54, com2_fraction_down),
    // NAV swap boxes and tuning.
    swap_box(9, 122, nav1_swap),
    swap_box(250, 122, nav2_swap),
    tuning_up(59, 112, nav1_whole_up),
    tuning_down(59, 135, nav1_whole_down),
    tuning_up(95, 112, nav1_fraction_up),
    tuning_down(95, 135, nav1_fraction_down),
    tuning_up(167, 112, nav2_whole_up),
    tuning_down(167, 135, nav2_whole_down),
    tuning_up(203, 112, nav2_fraction_up),
    tuning_down(203, 135, nav2_fraction_down),
    // ADF columns: middle, right, left.
    adf_area(59, kUpperRow, adf_middle_up),
    adf_area(59, kLowerRow, adf_middle_down),
    adf_area(95, kUpperRow, adf_right_up),
    adf_area(95, kLowerRow, adf_right_down),
    adf_area(23, kUpperRow, adf_left_up),
    adf_area(23, kLowerRow, adf_left_down),
    // Transponder digit columns, left to right.
    transponder_area(154, kUpperRow, transponder_1_up),
    transponder_area(154, kLowerRow, transponder_1_down),
    transponder_area(174, kUpperRow, transponder_2_up),
    transponder_area(174, kLowerRow, transponder_2_down),
    transponder_area(194, kUpperRow, transponder_3_up),
    transponder_area(194, kLowerRow, transponder_3_down),
    transponder_area(214, kUpperRow, transponder_4_up),
    transponder_area(214, kLowerRow, transponder_4_down),
    area_end(),
    list_end(),
};

}  // namespace orv::gauges::multi_function_display_left_records

ORV_DEFINE_GAUGE(multi_function_display_left, multi_function_display_left_records::chain.first,
                 multi_function_display_left_records::mouse, orv::mfd::left_display_callback)
