// Navigation guidance on the head-up display, from NAV 1 (the ILS position
// of the ILS/TACAN switch) or NAV 2 (TACAN): the localizer and glideslope
// carets, the TO/FROM arrow, the selected-course readout and the NAV source
// label. A receiver's guidance shows only while its radio is on and its
// valid indication is above zero.
#include <cmath>

#include "frame/host_services.h"
#include "hud/head_up_display.h"
#include "hud/hud_symbols.h"

namespace orv::hud {

f64 hud_glideslope_filter[4] = {0.0, 0.0, 0.0, 0.0};

namespace {

// The tokens of one guidance quantity on each receiver.
struct NavTokens {
  u32 nav1;
  u32 nav2;
};

constexpr NavTokens kLateralDeviation{40, 50};
constexpr NavTokens kLateralValid{49, 58};
constexpr NavTokens kVerticalDeviation{41, 882};
constexpr NavTokens kVerticalValid{44, 53};
constexpr NavTokens kToFrom{43, 52};  // integer in the low word: 1 TO, 2 FROM
constexpr NavTokens kSelectedCourse{45, 54};

constexpr u32 kTo = 1;
constexpr u32 kFrom = 2;

// Deviations are delivered in -127..+127 (full scale either side); a larger
// value is held at full scale so the caret stays on its scale.
constexpr f64 kFullScale = 127.0;

// First-order low-pass of the glideslope caret: e^(-1/3) of the last value
// and 1 - e^(-1/3) of the new deviation at every update.
constexpr f64 kGlideslopeKeep = 0.7165313105737893;
constexpr f64 kGlideslopeTake = 0.28346868942621073;

// The token of `quantity` on the receiver that guides the copy `colour`, or 0
// when that copy shows no guidance (HUD off, another colour, the selected
// receiver's radio off).
u32 guiding_token(u32 colour, NavTokens quantity) {
  if (!copy_visible(colour)) return 0;
  if (cockpit::nav_source_nav1 != 0) return cockpit::nav1_on != 0 ? quantity.nav1 : 0;
  return cockpit::nav2_on != 0 ? quantity.nav2 : 0;
}

// The same for the single-element symbols, which follow the HUD's colour.
u32 guiding_token(NavTokens quantity) { return hud_lit() ? guiding_token(cockpit::hud_colour, quantity) : 0; }

// The caret rule shared by both carets: hidden (returning 0) unless the copy
// is guided and its receiver's indication is valid; else the deviation,
// held within full scale. `deviation` is set only when the caret shows.
bool caret_deviation(ElementHeader* h, u32 colour, NavTokens valid, NavTokens quantity, f64* deviation) {
  const u32 valid_token = guiding_token(colour, valid);
  const bool shown = valid_token != 0 && read_token_f64(valid_token) > 0.0;
  set_hidden(h, !shown);
  if (!shown) return false;
  *deviation = finite_or(read_token_f64(guiding_token(colour, quantity)), 0.0, -kFullScale, kFullScale);
  return true;
}

// The image of a two-variant icon in the HUD's colour: the colour index for
// the first variant, colour index + 4 for the second.
f64 variant_image(bool second) { return static_cast<f64>(cockpit::hud_colour + (second ? 4u : 0u)); }

}  // namespace

f64 hud_localizer_caret(SliderElement* e, u32 colour) {
  if (e == nullptr) return 0.0;
  f64 deviation = 0.0;
  return caret_deviation(&e->h, colour, kLateralValid, kLateralDeviation, &deviation) ? deviation : 0.0;
}

f64 hud_glideslope_caret(SliderElement* e, u32 colour) {
  if (e == nullptr || colour >= kColourCount) return 0.0;
  f64 deviation = 0.0;
  if (!caret_deviation(&e->h, colour, kVerticalValid, kVerticalDeviation, &deviation)) return 0.0;
  f64& filter = hud_glideslope_filter[colour];
  if (!std::isfinite(filter)) filter = 0.0;
  filter = kGlideslopeKeep * filter + kGlideslopeTake * deviation;
  return filter;
}

f64 hud_to_from_arrow(IconElement*) {
  const u32 token = guiding_token(kToFrom);
  if (token == 0) return kNoImage;
  const u32 indication = read_token_u32(token);
  if (indication == kTo) return variant_image(false);
  if (indication == kFrom) return variant_image(true);
  return kNoImage;
}

f64 hud_nav_source_label(IconElement*) {
  if (!hud_lit()) return kNoImage;
  return variant_image(cockpit::nav_source_nav1 == 0);
}

f64 hud_course_text(TextElement* e, u32 colour) {
  // The course is read on every call, whatever the HUD shows.
  const f64 course =
      sane(read_token_f64(cockpit::nav_source_nav1 != 0 ? kSelectedCourse.nav1 : kSelectedCourse.nav2));
  if (e == nullptr) return course;
  if (!copy_visible(colour)) {
    write_fixed(e, "   ");
    return course;
  }
  const f64 whole = std::trunc(course) + 0.0;
  if (whole >= 100.0 && whole < 1000.0) {
    write_number<"%3.0f">(e, whole);
  } else if (whole >= 10.0 && whole < 100.0) {
    write_number<"0%2.0f">(e, whole);
  } else if (whole >= 0.0 && whole < 10.0) {
    write_number<"00%1.0f">(e, whole);
  }
  // Outside 0..999 the readout keeps its last text.
  return course;
}

}  // namespace orv::hud
