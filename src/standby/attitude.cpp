// The standby attitude indicator: an attitude ball that rolls with the bank
// and moves with the pitch, a second ball carrying the flight path marker, a
// bank needle, a heading tape, and green readouts of airspeed, altitude, Mach
// number and barometric setting around them.
//
// The gauge is element records and their callbacks only: no gauge callback
// and no clickable box; its areas carry tooltips. The callbacks clamp, derive
// and format the values the host delivers; the only value kept between calls
// is `attitude_mach`.
//
// Every readout picks its format by the number as it will be printed, not as
// it arrives, so a value just under a width boundary (999.6 knots, Mach
// hundredths of 99.5) prints in the format of the wider number and stays
// within its field; a number too wide for its field altogether shows the
// field's largest number.
#include "standby/attitude.h"

#include <cmath>

#include "cockpit/flight_path.h"
#include "frame/records.h"
#include "frame/registry.h"

namespace orv::standby {

f64 attitude_mach = 0.0;

namespace {

constexpr f64 kPitchLimit = 90.0;  // degrees the attitude ball may travel
// Token 64 counts Mach in units of 3.2 / 65536.
constexpr f64 kMachPerUnit = 3.2 / 65536.0;

// The whole number printf prints for `v` with "%.0f" (ties to even), without
// a negative zero. Used only to choose a format; the value itself is printed.
f64 printed(f64 v) { return std::nearbyint(v) + 0.0; }

f64 text_value(const TextElement* e) { return e->source[0].value.n; }

}  // namespace

// --- Balls, needle and tape ------------------------------------------------------

f64 pitch_clamp(SpriteElement* e) {
  if (e == nullptr) return 0.0;
  const f64 v = e->y.value.n;
  if (v > kPitchLimit) return kPitchLimit;
  if (v < -kPitchLimit) return -kPitchLimit;
  return std::isnan(v) ? 0.0 : v;
}

f64 flight_path(SpriteElement* e) {
  if (e == nullptr) return 0.0;
  return cockpit::read_flight_path_offset(e->y.value.n);
}

f64 heading_tape(MovingImageElement* e) {
  if (e == nullptr) return 0.0;
  return finite_or(e->x.value.n, 0.0, -1.0e9, 1.0e9);
}

// --- Readouts ----------------------------------------------------------------------
//
// A value that is not finite leaves the text as it was and returns 0.

// Four characters, right-aligned; a negative speed keeps the previous text.
f64 airspeed_text(TextElement* e) {
  if (e == nullptr || !std::isfinite(text_value(e))) return 0.0;
  const f64 v = text_value(e);
  if (v < 0.0) return v;
  const f64 shown = printed(v);
  if (shown >= 10000.0) {
    write_number<"%4.0f">(e, 9999.0);
  } else if (shown >= 1000.0) {
    write_number<"%4.0f">(e, v);
  } else if (shown >= 100.0) {
    write_number<" %3.0f">(e, v);
  } else if (shown >= 10.0) {
    write_number<"  %2.0f">(e, v);
  } else {
    write_number<"   %1.0f">(e, v);
  }
  return v;
}

// Three characters: the altitude's whole hundreds; below zero the previous
// text stays.
f64 altitude_hundreds_text(TextElement* e) {
  if (e == nullptr || !std::isfinite(text_value(e))) return 0.0;
  const f64 h = std::floor(text_value(e) / 100.0);
  if (h >= 1000.0) {
    write_number<"%3.0f">(e, 999.0);
  } else if (h >= 100.0) {
    write_number<"%3.0f">(e, h);
  } else if (h >= 10.0) {
    write_number<" %2.0f">(e, h);
  } else if (h >= 0.0) {
    write_number<"  %1.0f">(e, h);
  }
  return h;
}

// Two characters: the feet above the whole hundreds, with a leading zero. A
// remainder that would print as 100 shows 99, so the two readouts never
// disagree about the hundreds.
f64 altitude_tens_text(TextElement* e) {
  if (e == nullptr || !std::isfinite(text_value(e))) return 0.0;
  const f64 v = text_value(e);
  const f64 r = v - std::floor(v / 100.0) * 100.0;
  if (!(r >= 0.0 && r < 100.0)) return finite_or(r, 0.0, -1.0e9, 1.0e9);
  const f64 shown = printed(r);
  if (shown >= 100.0) {
    write_number<"%2.0f">(e, 99.0);
  } else if (shown >= 10.0) {
    write_number<"%2.0f">(e, r);
  } else {
    write_number<"0%1.0f">(e, r);
  }
  return r;
}

// One character: 2, 1 or 0 for Mach 2 and above, 1 up to 2, below 1. Also
// computes `attitude_mach` from token 64; a value that gives no finite Mach
// number keeps the last one.
f64 mach_integer_text(TextElement* e) {
  if (e == nullptr) return attitude_mach;
  const f64 mach = text_value(e) * kMachPerUnit;
  if (!std::isfinite(mach)) return attitude_mach;
  attitude_mach = mach;
  if (attitude_mach >= 2.0) write_number<"%1.0f">(e, 2.0);
  if (attitude_mach >= 1.0 && attitude_mach < 2.0) write_number<"%1.0f">(e, 1.0);
  if (attitude_mach < 1.0) write_number<"%1.0f">(e, 0.0);
  return attitude_mach;
}

// Two characters: the hundredths of `attitude_mach` as the integer readout
// left it (it draws later, so this shows the previous update's Mach number).
// Hundredths that would print as 100 show 99, matching the integer readout,
// which does not round.
f64 mach_hundredths_text(TextElement* e) {
  if (e == nullptr) return attitude_mach;
  const f64 f = (attitude_mach - std::floor(attitude_mach)) * 100.0;
  const f64 shown = printed(f);
  if (shown < 10.0) {
    write_number<"0%1.0f">(e, f);
  } else if (shown >= 100.0) {
    write_number<"%2.0f">(e, 99.0);
  } else {
    write_number<"%2.0f">(e, f);
  }
  return attitude_mach;
}

// Four characters: millibars, right-aligned.
f64 barometric_text(TextElement* e) {
  if (e == nullptr || !std::isfinite(text_value(e))) return 0.0;
  const f64 v = text_value(e);
  const f64 shown = printed(v);
  if (shown >= 10000.0) {
    write_number<"%4.0f">(e, 9999.0);
  } else if (shown >= 1000.0) {
    write_number<"%4.0f">(e, v);
  } else if (shown < -99.0) {
    write_number<" %3.0f">(e, -99.0);
  } else {
    write_number<" %3.0f">(e, v);
  }
  return v;
}

// The Machmeter tooltip's argument.
namespace {
f64 ORV_CALL mach_argument(f64, u32, const char*, TokenVar*, GaugeHeader*) { return attitude_mach; }
}  // namespace

}  // namespace orv::standby

namespace orv::gauges::attitude_records {

using namespace orv::records;
using namespace orv::standby;

// Token variables the host delivers to the elements.
constexpr u32 kTokenAirspeed = 61;
constexpr u32 kTokenMach = 64;
constexpr u32 kTokenAltitude = 74;
constexpr u32 kTokenKohlsman = 75;
constexpr u32 kTokenPitch = 78;
constexpr u32 kTokenBank = 80;
constexpr u32 kTokenHeading = 84;

// Both balls turn about the ball's centre; the ball window is the disc of
// radius 85 around it.
constexpr PixPoint kBallCentre{150, 135};
constexpr PixPoint kBallWindow{65, 50};
// The balls carry 2 pixels per degree. The attitude ball's pitch moves it the
// way the head-up display's ladder moves; the flight path ball's value is the
// path angle and the pitch both negated, so it takes the opposite sign to put
// the marker at the path angle on the attitude ball's scale.
constexpr f64 kBallScale = 2.0;
constexpr f64 kBankScale = -1.0;

// Bank needle: -90 points right along the centre's row, +90 left.
NeedlePoint bank_table[] = {{{230, 135}, -90.0, 0.0}, {{70, 135}, 90.0, 0.0}};

constexpr TextSpec readout(PixPoint at, PixPoint box, u16 chars, u32 token,
                           ElementCallback<TextElement> callback) {
  return TextSpec{.at = at,
                  .box = box,
                  .chars = chars,
                  .callback = callback,
                  .token = token,
                  .font = "Arial Narrow",
                  .weight = 400,
                  .format = 0x25,
                  .colour = 0x0000FF00,
                  .background = 0x00000000,
                  .highlight = 0x00FFFFFF};
}

// clang-format off
constinit Chain chain{orv::gauges::attitude,
    static_image({.bitmap = 390}),
    sprite({.bitmap = 400, .at = kBallWindow, .centre = kBallCentre,
            .y_token = kTokenPitch, .y_callback = calls<pitch_clamp>, .y_scale = kBallScale,
            .angle_token = kTokenBank, .angle_scale = kBankScale}),
    sprite({.bitmap = 430, .at = kBallWindow, .centre = kBallCentre,
            .y_token = kTokenPitch, .y_callback = calls<flight_path>, .y_scale = -kBallScale,
            .angle_token = kTokenBank, .angle_scale = kBankScale}),
    needle({.bitmap = 410, .at = kBallCentre, .pivot = {0, 6}, .table = needle_table(bank_table),
            .token = kTokenBank}),
    static_image({.bitmap = 420}),
    moving_image({.bitmap = 440, .at = {90, 4}, .x_token = kTokenHeading, .x_callback = calls<heading_tape>,
                  .min_x = 0.0, .max_x = 360.0}),
    text(readout({3, 8},    {80, 30}, 4, kTokenAirspeed, calls<airspeed_text>)),
    text(readout({214, 8},  {60, 30}, 3, kTokenAltitude, calls<altitude_hundreds_text>)),
    text(readout({274, 15}, {28, 23}, 2, kTokenAltitude, calls<altitude_tens_text>)),
    text(readout({30, 237}, {28, 23}, 2, kTokenMach,     calls<mach_hundredths_text>)),
    text(readout({10, 232}, {20, 30}, 1, kTokenMach,     calls<mach_integer_text>)),
    text(readout({241, 239}, {56, 21}, 4, kTokenKohlsman, calls<barometric_text>)),
};

MouseArg mach_arguments[] = {number_argument(mach_argument)};

MouseRect mouse[] = {
    whole_gauge_area(),
    area({54, 51, 191, 184}), help_tooltip(12434), area_end(),
    area({90, 4, 120, 45}),
        tooltip("Heading Indicator (%((A:PLANE HEADING DEGREES GYRO, degrees))%!d!\xB0)"),
    area_end(),
    area({0, 0, 86, 50}), help_tooltip(12290), area_end(),
    area({213, 0, 86, 50}), help_tooltip(12369), area_end(),
    area({0, 228, 54, 42}),
        tooltip("Machmeter (%1!04.2f! mach)", mach_arguments),
    area_end(),
    area({228, 235, 72, 35}), help_tooltip(12372), area_end(),
    area_end(),
    list_end(),
};
// clang-format on

}  // namespace orv::gauges::attitude_records

ORV_DEFINE_GAUGE(attitude, attitude_records::chain.first, attitude_records::mouse, nullptr)
