// The head-up display's frame and its attitude and air-data symbols: the
// glass and the fixed symbology, the pitch ladder and bank pointer (both
// held within 15 degrees of the boresight), the flight path marker, the
// heading tape, the airspeed, altitude and angle-of-attack readouts and the
// gear-down cue.
#include <cmath>
#include <cstddef>

#include "cockpit/flight_path.h"
#include "frame/host_services.h"
#include "hud/hud_symbols.h"

namespace orv::hud {

namespace {

using numbers::kDegreesPerRadian;
constexpr f64 kAttitudeLimit = 15.0;  // degrees the ladder and bank pointer may travel
constexpr f64 kGearDown = 16000.0;    // gear position at which a leg counts as down
// The element variable carries the first gear position (token 332); the
// callback reads the other two itself.
constexpr u32 kTokenGearSecond = 333;
constexpr u32 kTokenGearThird = 334;
constexpr f64 kHeadingTurn = 360.0;

const char kBlank3[] = "   ";
const char kBlank5[] = "     ";

// An integral value to print with "%.0f": the value as printf would round
// it, bounded to what fits the field, and never negative zero. Choosing the
// format by this value keeps the text inside its field where a value just
// under a width boundary rounds up to one more digit.
f64 printed_whole(f64 v, f64 lo, f64 hi) { return finite_or(std::nearbyint(v), 0.0, lo, hi) + 0.0; }

}  // namespace

// The frame: the glass behind the symbols, image 0 (dark) while the HUD is
// off and image 1 while it is on, and the fixed symbology (bank scale, speed
// and altitude boxes, boresight, deviation scales, heading index) in the
// HUD's colour while it is lit.
f64 hud_glass(IconElement*) { return cockpit::hud_on != 0 ? 1.0 : 0.0; }

f64 hud_fixed_symbology(IconElement*) { return hud_lit() ? static_cast<f64>(cockpit::hud_colour) : kNoImage; }

f64 hud_pitch_ladder(SpriteElement* e, u32 colour) {
  if (e == nullptr) return 0.0;
  set_hidden(&e->h, !copy_visible(colour));
  return finite_or(e->y.value.n, 0.0, -kAttitudeLimit, kAttitudeLimit);
}

f64 hud_flight_path_marker(SpriteElement* e, u32 colour) {
  if (e == nullptr) return 0.0;
  set_hidden(&e->h, !copy_visible(colour));
  return cockpit::read_flight_path_offset(e->y.value.n);
}

f64 hud_bank_pointer(NeedleElement* e, u32 colour) {
  if (e == nullptr) return 0.0;
  set_hidden(&e->h, !copy_visible(colour));
  return finite_or(e->source.value.n, 0.0, -kAttitudeLimit, kAttitudeLimit);
}

f64 hud_heading_tape(MovingImageElement* e, u32 colour) {
  if (e == nullptr) return 0.0;
  set_hidden(&e->h, !copy_visible(colour));
  // Headings arrive within 0..360; anything else is wrapped onto the tape.
  f64 heading = sane(e->x.value.n);
  if (heading < 0.0 || heading > kHeadingTurn) {
    heading = std::fmod(heading, kHeadingTurn);
    if (heading < 0.0) heading += kHeadingTurn;
  }
  return heading;
}

f64 hud_airspeed_text(TextElement* e, u32 colour) {
  if (e == nullptr) return 0.0;
  const f64 speed = sane(e->source[0].value.n);
  if (!copy_visible(colour)) {
    write_fixed(e, kBlank3);
  } else {
    write_number<"%4.0f">(e, printed_whole(speed, -999.0, 9999.0));
  }
  return speed;
}

f64 hud_altitude_text(TextElement* e, u32 colour) {
  if (e == nullptr) return 0.0;
  const f64 altitude = sane(e->source[0].value.n);
  if (!copy_visible(colour)) {
    write_fixed(e, kBlank5);
    return altitude;
  }
  if (altitude < 0.0) return altitude;  // below zero the readout keeps its last text
  const f64 a = printed_whole(altitude, 0.0, 99999.0);
  if (a >= 10000.0) {
    write_number<"%5.0f">(e, a);
  } else if (a >= 1000.0) {
    write_number<" %4.0f">(e, a);
  } else if (a >= 100.0) {
    write_number<"  %3.0f">(e, a);
  } else if (a >= 10.0) {
    write_number<"   %2.0f">(e, a);
  } else {
    write_number<"    %1.0f">(e, a);
  }
  return altitude;
}

f64 hud_angle_of_attack_text(TextElement* e, u32 colour) {
  if (e == nullptr) return 0.0;
  const f64 degrees = sane(e->source[0].value.n) * kDegreesPerRadian;
  if (!copy_visible(colour)) {
    write_fixed(e, kBlank3);
    return degrees;
  }
  // Angles that need more than the field with a decimal (-10 and below, 100
  // and above) drop the decimal rather than lose their last digits. The
  // usual text goes straight into the field when it fits it whole.
  const auto field = static_cast<std::size_t>(e->max_chars) + 1;
  if (format_number_whole<"AOA %2.1f">(e->text, field, degrees) >= 0) return degrees;
  char text[40];
  const int length = format_number<"AOA %2.1f">(text, sizeof text, degrees);
  if (length <= e->max_chars) {
    write_plain(e, text);
  } else {
    write_number<"AOA %.0f">(e, printed_whole(degrees, -999.0, 9999.0));
  }
  return degrees;
}

f64 hud_gear_down_cue(IconElement* e) {
  const f64 second = read_token_f64(kTokenGearSecond);
  const f64 third = read_token_f64(kTokenGearThird);
  if (e == nullptr) return kNoImage;
  const f64 first = e->source.value.n;
  // NaN compares false, so an undefined position counts as not down.
  if (hud_lit() && first >= kGearDown && second >= kGearDown && third >= kGearDown) {
    return static_cast<f64>(cockpit::hud_colour);
  }
  return kNoImage;
}

}  // namespace orv::hud
