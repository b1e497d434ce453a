// The navigation circle page of the right display (page 3, the page shown
// after start-up): a compass rose that turns with the heading under a fixed
// lubber mark, the heading bug, the course pointer with its deviation bar and
// TO/FROM triangle, the ADF and NAV 2 bearing pointers, the glide slope, and
// the heading, course, radio, distance and air data texts. Two click areas
// over the course text turn the course down and up.
//
// Needle values are angles in degrees clockwise from straight up; a pointer
// whose radio is off or not received is laid flat to the right (90 degrees).
#include <climits>

#include "frame/cockpit_numbers.h"
#include "frame/host_services.h"
#include "mfd/distance_text.h"
#include "mfd/navigation_source.h"
#include "mfd/radio_decoding.h"
#include "mfd/radio_values.h"
#include "mfd/right/right_pages.h"

namespace orv::mfd::right {
namespace {

constexpr u32 kHeadingToken = 84;
constexpr u32 kNavSupplyToken = 755;    // NAV 1 reception; 20 or more to follow it
constexpr u32 kNav1FlagsToken = 46;     // bit 0x80: the filled deviation bar
constexpr u32 kNav2FlagsToken = 55;     // bit 0x80: the NAV 2 pointer parked
constexpr u32 kNavCourseToken = 854;    // the down half steps from it
constexpr u32 kCourseTextToken = 45;    // the up half steps from it
constexpr u32 kGpsDistanceToken = 835;  // metres

constexpr u32 kCourseSetEvent = 65716;

constexpr f64 kParked = 90.0;  // a pointer laid flat, to the right
constexpr f64 kNavSupplyMinimum = 20.0;
constexpr u32 kFlagBit = 0x80;
constexpr f64 kGlideSlopeShownFrom = 0.5;

using cockpit::kRightPageNavCircle;

bool on_page() { return cockpit::right_mfd_page == kRightPageNavCircle; }

// The page gate of this page for a string, sprite, slider or needle.
template <typename E>
bool gate(E* element) {
  return page_gate(&element->h, cockpit::right_mfd_page, kRightPageNavCircle);
}

// The page gate, then the element's own condition, which may hide it again.
bool gate_if(TextElement* element, bool shown) {
  const bool on = gate(element);
  if (on && !shown) set_hidden(&element->h, true);
  return on && shown;
}

f64 heading() { return read_token_f64(kHeadingToken); }

// NAV 1 guidance is followed while the radio is on and received. The supply
// token is read whatever the radio's state.
bool nav1_received() {
  const f64 supply = read_token_f64(kNavSupplyToken);
  return cockpit::nav1_on != 0 && supply >= kNavSupplyMinimum;
}

f64 text_value(const TextElement* element) { return channel_f64(element->source[0]); }
f64 needle_value(const NeedleElement* element) { return channel_f64(element->source); }

// The host's identifier text, or an empty one when it gave none.
const char* identifier(const TextElement* element) {
  const char* s = channel_text(element->source[0]);
  return s != nullptr ? s : "";
}

// An identifier field: shown on the page while its radio is on; the radio's
// identifier, or "GPS" when the source switch is on GPS and the field follows
// it.
f64 identifier_text(TextElement* element, std::int32_t radio_on, bool follows_source) {
  if (gate_if(element, radio_on != 0)) {
    const bool gps = follows_source && is_gps_source(read_nav_gps_source());
    write_plain(element, gps ? "GPS" : identifier(element));
  }
  return 0.0;
}

f64 nav_frequency_text(TextElement* element, u32 token, std::int32_t radio_on) {
  const u32 packed = read_token_u32(token);
  const f64 mhz = frequency_hundredths(packed) / 100.0 + nav_whole_mhz(packed);
  if (gate_if(element, radio_on != 0)) write_number<"%6.2f">(element, mhz);
  return 0.0;
}

// The course a click steps from: truncated toward zero; values that are no
// number give 0 and very large ones are held where stepping cannot overflow.
i32 course_of(f64 v) {
  if (std::isnan(v)) return 0;
  if (v > 1.0e9) return 1000000000;
  if (v < -1.0e9) return -1000000000;
  return static_cast<i32>(v);
}

}  // namespace

// --- Pictures -----------------------------------------------------------------------

f64 nav_circle_face(IconElement*) { return page_icon(cockpit::right_mfd_page, kRightPageNavCircle); }

f64 compass_rose(SpriteElement* element) {
  gate(element);
  return channel_f64(element->angle);
}

f64 glide_slope_scale(IconElement* element) {
  if (!on_page()) return numbers::kNoImage;
  const bool off = cockpit::nav1_on == 0 || is_gps_source_for_glide_slope(read_nav_gps_source()) ||
                   channel_f64(element->source) == 0.0;
  return off ? numbers::kNoImage : 0.0;
}

f64 glide_slope_diamond(SliderElement* s) {
  if (gate(s)) {
    const bool off = cockpit::nav1_on == 0 || is_gps_source_for_glide_slope(read_nav_gps_source()) ||
                     channel_f64(s->x) < kGlideSlopeShownFrom;
    if (off) set_hidden(&s->h, true);
  }
  return channel_f64(s->y);
}

f64 heading_bug(NeedleElement* element) {
  const f64 h = heading();
  gate(element);
  return needle_value(element) - h;
}

f64 adf_pointer(NeedleElement* element) {
  if (!gate(element)) return needle_value(element);
  return cockpit::adf_on == 0 ? kParked : needle_value(element);
}

f64 course_pointer(NeedleElement* element) {
  const f64 h = heading();
  const bool received = nav1_received();
  if (!gate(element)) return 0.0;
  return received ? needle_value(element) - h : kParked;
}

// Shared by both deviation bars; the bars' offset callbacks decide which one
// shows.
f64 bar_rotation(SpriteElement* element) {
  const f64 h = heading();
  const bool received = nav1_received();
  if (!on_page() || !received) return kParked;
  return channel_f64(element->angle) - h;
}

f64 hollow_bar_offset(SpriteElement* s) {
  if (!gate(s)) return 0.0;
  if (is_gps_source(read_nav_gps_source())) return channel_f64(s->x);
  if ((read_token_u32(kNav1FlagsToken) & kFlagBit) != 0) {
    set_hidden(&s->h, true);
    return 0.0;
  }
  return nav1_received() ? channel_f64(s->x) : 0.0;
}

f64 filled_bar_offset(SpriteElement* s) {
  if (!gate(s)) return 0.0;
  if (is_gps_source(read_nav_gps_source()) || (read_token_u32(kNav1FlagsToken) & kFlagBit) == 0) {
    set_hidden(&s->h, true);
    return 0.0;
  }
  return nav1_received() ? channel_f64(s->x) : 0.0;
}

// Points along the course to the station, or away from it (turned half round)
// when the TO/FROM token reads -1; hidden while NAV 1 is off or gives no
// TO/FROM.
f64 to_from_pointer(NeedleElement* element) {
  const f64 h = heading();
  const f64 course = read_token_f64(kNavCourseToken);
  const f64 to_from = needle_value(element);
  if (!gate(element)) return 0.0;
  if (cockpit::nav1_on == 0 || to_from == 0.0) set_hidden(&element->h, true);
  return course - h + (to_from == -1.0 ? 180.0 : 0.0);
}

f64 nav2_pointer(NeedleElement* element) {
  if (!gate(element)) return 0.0;
  if (cockpit::nav2_on == 0) return kParked;
  if ((read_token_u32(kNav2FlagsToken) & kFlagBit) != 0) return kParked;
  return needle_value(element);
}

// --- Texts ----------------------------------------------------------------------------

f64 course_text(TextElement* element) {
  const f64 v = text_value(element);
  if (gate(element)) {
    if (is_gps_source(read_nav_gps_source()))
      write_number<"DTK %03.0f">(element, v);
    else
      write_number<"CRS %03.0f">(element, v);
  }
  return v;
}

f64 heading_text(TextElement* element) {
  const f64 v = text_value(element);
  if (gate(element)) write_number<"%03.0f">(element, v);
  return v;
}

f64 nav1_ident_text(TextElement* e) { return identifier_text(e, cockpit::nav1_on, true); }
f64 nav2_ident_text(TextElement* e) { return identifier_text(e, cockpit::nav2_on, false); }
f64 adf_ident_text(TextElement* e) { return identifier_text(e, cockpit::adf_on, true); }

// Also keeps the shared ADF values, on every call.
f64 adf_frequency_text(TextElement* element) {
  const f64 khz = refresh_adf_values();
  if (gate_if(element, cockpit::adf_on != 0)) {
    if (khz < 1000.0)
      write_number<"%06.1f">(element, khz);
    else
      write_number<"%6.1f">(element, khz);
  }
  return 0.0;
}

f64 nav1_frequency_text(TextElement* e) { return nav_frequency_text(e, kTokenNav1Active, cockpit::nav1_on); }
f64 nav2_frequency_text(TextElement* e) { return nav_frequency_text(e, kTokenNav2Active, cockpit::nav2_on); }

// The DME distance of NAV 1 in nautical miles, or on GPS source the GPS
// distance to the active waypoint.
f64 nav1_distance_text(TextElement* element) {
  if (!gate_if(element, cockpit::nav1_on != 0)) return 0.0;
  if (is_gps_source(read_nav_gps_source())) {
    const f64 d = read_token_f64(kGpsDistanceToken) / numbers::kMetresPerNauticalMile;
    write_distance<kGpsDistance>(element, d);
    return d;
  }
  const f64 d = text_value(element);
  write_distance<kDmeDistance>(element, d);
  return d;
}

f64 nav2_distance_text(TextElement* element) {
  if (!gate_if(element, cockpit::nav2_on != 0)) return 0.0;
  const f64 d = text_value(element);
  write_distance<kDmeDistance>(element, d);
  return d;
}

// Hundreds of feet, right-aligned in three characters; a negative altitude
// leaves the field as it was.
f64 altitude_hundreds_text(TextElement* element) {
  const f64 a = std::floor(text_value(element) / 100.0);
  if (gate(element)) {
    if (a >= 100.0) {
      write_number<"%3.0f">(element, a);
    } else if (a >= 10.0) {
      write_number<" %2.0f">(element, a);
    } else if (a >= 0.0) {
      write_number<"  %1.0f">(element, a);
    }
  }
  return a;
}

// The last two digits of the altitude, with a leading zero.
f64 altitude_last_two_text(TextElement* element) {
  const f64 v = text_value(element);
  const f64 r = v - std::floor(v / 100.0) * 100.0;
  if (gate(element)) {
    if (r >= 10.0 && r < 100.0) {
      write_number<"%2.0f">(element, r);
    } else if (r >= 0.0 && r < 10.0) {
      write_number<"0%1.0f">(element, r);
    }
  }
  return r;
}

f64 airspeed_text(TextElement* element) {
  const f64 v = text_value(element);
  if (gate(element)) {
    if (v >= 1000.0) {
      write_number<"%4.0f kt">(element, v);
    } else if (v >= 100.0) {
      write_number<"%3.0f kt">(element, v);
    } else if (v >= 10.0) {
      write_number<"%2.0f kt">(element, v);
    } else if (v >= 0.0) {
      write_number<"%1.0f kt">(element, v);
    }
  }
  return v;
}

// --- Course click areas -------------------------------------------------------------------

i32 ORV_CALL course_down(Click*, u32 flags) {
  if (!on_page()) return 0;
  const i32 k = course_of(read_token_f64(kNavCourseToken));
  if ((flags & abi::kMouseLeftSingle) != 0) {
    send_key_event(kCourseSetEvent, static_cast<u32>(k > 0 ? k - 1 : 359));
  } else if ((flags & abi::kMouseRightSingle) != 0) {
    send_key_event(kCourseSetEvent, static_cast<u32>(k >= 10 ? k - 10 : k + 350));
  }
  return 0;
}

i32 ORV_CALL course_up(Click*, u32 flags) {
  if (!on_page()) return 0;
  const i32 k = course_of(read_token_f64(kCourseTextToken));
  if ((flags & abi::kMouseLeftSingle) != 0) {
    send_key_event(kCourseSetEvent, static_cast<u32>(k >= 359 ? 0 : k + 1));
  } else if ((flags & abi::kMouseRightSingle) != 0) {
    send_key_event(kCourseSetEvent, static_cast<u32>(k > 349 ? k - 350 : k + 10));
  }
  return 0;
}

}  // namespace orv::mfd::right
