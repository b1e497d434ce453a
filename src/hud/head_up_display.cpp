// The head-up display: a pitch ladder that rolls with the aircraft, a flight
// path marker, a bank pointer, speed, altitude and angle-of-attack readouts,
// a moving heading tape, instrument-landing guidance and a gear-down cue,
// drawn over the HUD glass. The pilot switches the HUD on and off and picks
// one of four symbol colours with the screen selectors.
//
// This file is the gauge's records: no gauge callback and no clickable area.
// The symbol callbacks are in hud_attitude.cpp (the glass, the fixed
// symbology, attitude and air data) and hud_navigation.cpp (navigation
// guidance), declared in hud_symbols.h. Each coloured symbol exists as four
// colour copies (one element per colour, red first, light green last in the
// drawing order), of which only the copy of the selected colour shows. The
// chain below lists every symbol once in drawing order; `colour_copies`
// expands a coloured symbol's record into its four copies, binding the
// symbol's routine to each copy's colour index.
#include "hud/head_up_display.h"

#include <array>

#include "frame/records.h"
#include "frame/registry.h"
#include "hud/hud_symbols.h"

namespace orv::gauges::hud_records {

using namespace orv::records;
using orv::hud::kDarkGreen;
using orv::hud::kLightGreen;
using orv::hud::kMiddleGreen;
using orv::hud::kRed;

// --- Shared record values -----------------------------------------------------

// Host failure lists, ended by an all-zero entry.
// clang-format off
// Element groups                        failure entries (key, action), then the end entry
constexpr FailureEntry kFrameFailures[]         = {{21, 3}, {20, 3},                            {}};
constexpr FailureEntry kNavFailures[]           = {{20, 3}, {21, 3}, {14, 2}, {15, 2},          {}};
constexpr FailureEntry kAngleOfAttackFailures[] = {{18, 2}, {20, 3},                            {}};
constexpr FailureEntry kAirspeedFailures[]      = {{20, 3}, {21, 3}, {6, 2},  {3, 2},           {}};
constexpr FailureEntry kHeadingFailures[]       = {{20, 3}, {21, 3}, {11, 1},                   {}};
constexpr FailureEntry kFlightPathFailures[]    = {{20, 3}, {21, 3}, {3, 1},  {19, 1}, {7, 1},  {}};
constexpr FailureEntry kAttitudeFailures[]      = {{20, 3}, {21, 3}, {8, 0},  {2, 0},  {4, 0},  {}};
constexpr FailureEntry kAltitudeFailures[]      = {{20, 3}, {21, 3}, {3, 1},  {7, 1},           {}};
// clang-format on

// Text colours (0x00BBGGRR) by colour index.
constexpr u32 kTextColours[4] = {
    0x0039F508,  // light green (8, 245, 57)
    0x001D9E00,  // middle green (0, 158, 29)
    0x00115701,  // dark green (1, 87, 17)
    0x000000FF,  // red (255, 0, 0)
};

// The boresight, about which the attitude sprites move and rotate.
constexpr PixPoint kBoresight{102, 82};
constexpr f64 kPitchScale = 6.0;  // pixels per degree of pitch

// Bank pointer: -90 points left along the boresight's row, +90 right.
NeedlePoint bank_table[] = {{{52, 82}, -90.0, 0.0}, {{152, 82}, 90.0, 0.0}};

// --- Colour copies ----------------------------------------------------------------

// Copy `colour` of a symbol's record, bound to `callback`: the strings take
// the HUD's look and the colour's text colour; the pictures' bitmaps step by
// 10 per colour index from the light green one (the bank pointer's by 1).
constexpr TextElement copy(TextSpec s, u32 colour, ElementCallback<TextElement> callback) {
  s.callback = callback;
  s.font = "Quartz";
  s.weight = 600;
  s.charset = 1;
  s.colour = kTextColours[colour];
  s.highlight = 0x0000FFFF;  // (255, 255, 0)
  return text(s);
}

// A caret moves along the one axis it has a scale for.
constexpr SliderElement copy(SliderSpec s, u32 colour, ElementCallback<SliderElement> callback) {
  s.bitmap += 10 * colour;
  (s.y_scale != 0.0 ? s.y_callback : s.x_callback) = callback;
  return slider(s);
}

constexpr MovingImageElement copy(MovingImageSpec s, u32 colour,
                                  ElementCallback<MovingImageElement> callback) {
  s.bitmap += 10 * colour;
  s.x_callback = callback;
  return moving_image(s);
}

constexpr SpriteElement copy(SpriteSpec s, u32 colour, ElementCallback<SpriteElement> callback) {
  s.bitmap += 10 * colour;
  s.y_callback = callback;
  return sprite(s);
}

constexpr NeedleElement copy(NeedleSpec s, u32 colour, ElementCallback<NeedleElement> callback) {
  s.bitmap += colour;
  s.callback = callback;
  return needle(s);
}

// The four copies of a symbol in drawing order, red first, each bound to the
// symbol routine `Fn` with its colour index.
template <auto Fn, typename Spec>
constexpr auto colour_copies(const Spec& s) {
  return std::array{copy(s, kRed, calls<Fn, kRed>), copy(s, kDarkGreen, calls<Fn, kDarkGreen>),
                    copy(s, kMiddleGreen, calls<Fn, kMiddleGreen>),
                    copy(s, kLightGreen, calls<Fn, kLightGreen>)};
}

// The attitude symbols: pictures centred on the boresight that the host moves
// by pitch (token 78) and turns by `angle_scale` times bank (token 80).
constexpr SpriteSpec attitude_sprite(u32 light_green_bitmap, f64 angle_scale, const FailureEntry* failures) {
  return {.bitmap = light_green_bitmap,
          .at = {19, 9},
          .centre = kBoresight,
          .y_token = 78,
          .y_scale = kPitchScale,
          .angle_token = 80,
          .angle_scale = angle_scale,
          .failures = failures};
}

// --- The chain ------------------------------------------------------------------

namespace hud = orv::hud;

// Every element in drawing order, back to front. Multi-image icons carry the
// colours as consecutive images (colour index, or colour index + 4 for a
// symbol's second variant).
// clang-format off
constinit auto chain = chain_of(head_up_display,
    static_image({.bitmap = 1000}),
    icon({.bitmap = 1010, .flags = kDrawBackground,
          .callback = calls<hud::hud_glass>, .images = 2}),
    icon({.bitmap = 1020, .at = {19, 9},
          .callback = calls<hud::hud_fixed_symbology>, .images = 4, .failures = kFrameFailures}),
    icon({.bitmap = 1260, .at = {89, 73}, .token = 332,
          .callback = calls<hud::hud_gear_down_cue>, .images = 4}),
    icon({.bitmap = 1210, .at = {166, 140},
          .callback = calls<hud::hud_to_from_arrow>, .images = 8, .failures = kNavFailures}),
    colour_copies<hud::hud_course_text>(
        TextSpec{.at = {150, 155}, .box = {18, 9}, .chars = 3, .failures = kFrameFailures}),
    icon({.bitmap = 1200, .at = {34, 157},
          .callback = calls<hud::hud_nav_source_label>, .images = 8, .failures = kFrameFailures}),
    colour_copies<hud::hud_glideslope_caret>(
        SliderSpec{.bitmap = 1220, .at = {31, 110}, .y_scale = 0.16666, .failures = kNavFailures}),
    colour_copies<hud::hud_localizer_caret>(
        SliderSpec{.bitmap = 1160, .at = {100, 154}, .x_scale = 0.31496, .failures = kNavFailures}),
    colour_copies<hud::hud_angle_of_attack_text>(
        TextSpec{.at = {7, 66}, .box = {48, 9}, .chars = 8, .token = 789, .failures = kAngleOfAttackFailures}),
    colour_copies<hud::hud_airspeed_text>(
        TextSpec{.at = {28, 77}, .box = {24, 9}, .chars = 4, .token = 61, .failures = kAirspeedFailures}),
    colour_copies<hud::hud_heading_tape>(  // the tape; the next bitmap is its window mask
        MovingImageSpec{.bitmap = 1120, .at = {42, 139}, .x_token = 84, .min_x = 0.0, .max_x = 360.0,
                        .failures = kHeadingFailures}),
    colour_copies<hud::hud_flight_path_marker>(attitude_sprite(1080, 0.0, kFlightPathFailures)),
    colour_copies<hud::hud_pitch_ladder>(attitude_sprite(1040, -1.0, kAttitudeFailures)),
    colour_copies<hud::hud_altitude_text>(
        TextSpec{.at = {153, 77}, .box = {30, 9}, .chars = 5, .token = 74, .failures = kAltitudeFailures}),
    colour_copies<hud::hud_bank_pointer>(
        NeedleSpec{.bitmap = 1030, .at = kBoresight, .pivot = {0, 3}, .table = needle_table(bank_table),
                   .token = 80, .failures = kAttitudeFailures}));
// clang-format on

// The HUD takes no clicks; its one area only carries the help text.
MouseRect mouse[] = {whole_gauge_area(), tooltip("Head-Up Display"), area_end(), list_end()};

}  // namespace orv::gauges::hud_records

ORV_DEFINE_GAUGE(head_up_display, hud_records::chain.first, hud_records::mouse, nullptr)
