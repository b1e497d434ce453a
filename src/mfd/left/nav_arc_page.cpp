// The navigation arc page of the left display (page 5): a heading-up compass
// arc around a fixed aircraft symbol, with course line, deviation scale and
// bars, heading bug, ADF and NAV 2 bearing pointers, the glide-slope scale
// and the text fields. The NAV/GPS source switch changes what several fields
// show. Every callback hides its element off the page and returns its stated
// off-page value.
#include "cockpit/mode_state.h"
#include "frame/cockpit_numbers.h"
#include "frame/elements.h"
#include "frame/host_services.h"
#include "mfd/distance_text.h"
#include "mfd/left/left_pages.h"
#include "mfd/navigation_source.h"
#include "mfd/page_gate.h"
#include "mfd/radio_decoding.h"
#include "mfd/radio_values.h"

namespace orv::mfd {

namespace {

constexpr u32 kTokenHeading = 84;
constexpr u32 kTokenNav2Flags = 55;  // bit 0x80 parks the NAV 2 pointer
constexpr u32 kTokenNav1Course = 854;
constexpr u32 kTokenNavSupply = 755;  // below 20 the NAV 1 indications park
constexpr u32 kTokenNav1Flags = 46;   // bit 0x80 chooses the solid deviation bar
constexpr u32 kTokenGlideSlopeAvailable = 852;
constexpr u32 kTokenGpsWaypointIdent = 839;
constexpr u32 kTokenGpsDistanceMetres = 835;

constexpr u32 kFlagBit = 0x80;
constexpr f64 kParked = 90.0;  // rotation of a parked pointer or scale
constexpr f64 kMinimumNavSupply = 20.0;

bool on_arc_page(abi::ElementHeader* h) {
  return page_gate(h, cockpit::left_mfd_page, cockpit::kLeftPageNavArc);
}
bool arc_page_shown() { return cockpit::left_mfd_page == cockpit::kLeftPageNavArc; }

// NAV 1 guidance is usable: its radio on and its supply at 20 or more.
bool nav1_receiving() {
  return cockpit::nav1_on != 0 && !(read_token_f64(kTokenNavSupply) < kMinimumNavSupply);
}

// The course relative to the heading, or parked while NAV 1 does not guide.
f64 nav1_course_rotation() {
  if (!nav1_receiving()) return kParked;
  return read_token_f64(kTokenNav1Course) - read_token_f64(kTokenHeading);
}

// The identifier text a token delivers; no text shows an empty field.
const char* identifier(const abi::TokenVar& var) {
  const char* s = channel_text(var);
  return s != nullptr ? s : "";
}

// "1ab.cd" of a packed active frequency, decoded locally.
void write_nav_frequency(abi::TextElement* t, u32 token, bool radio_on) {
  if (!on_arc_page(&t->h)) return;
  const u32 packed = read_token_u32(token);
  const f64 mhz = nav_whole_mhz(packed) + frequency_hundredths(packed) / 100.0;
  if (!radio_on) {
    set_hidden(&t->h, true);
    return;
  }
  write_number<"%6.2f">(t, mhz);
}

// "TO" or "FROM" for the indications 1 and -1; any other value keeps the text.
void write_to_from(abi::TextElement* t, f64 indication) {
  if (indication == -1.0) write_fixed(t, "FROM");
  if (indication == 1.0) write_fixed(t, " TO ");
}

}  // namespace

// --- Page faces ----------------------------------------------------------------

f64 weapons_page_face(IconElement*) { return page_icon(cockpit::left_mfd_page, cockpit::kLeftPageWeapons); }
f64 map_page_face(IconElement*) { return page_icon(cockpit::left_mfd_page, cockpit::kLeftPageMap); }
f64 radar_page_face(IconElement*) { return page_icon(cockpit::left_mfd_page, cockpit::kLeftPageRadar); }
f64 arc_page_face(IconElement*) { return page_icon(cockpit::left_mfd_page, cockpit::kLeftPageNavArc); }

// --- Pointers and bars ------------------------------------------------------------

f64 compass_card(SpriteElement* e) {
  if (e == nullptr) return 0.0;
  on_arc_page(&e->h);
  return channel_f64(e->angle);
}

f64 adf_pointer(SpriteElement* e) {
  if (e == nullptr) return 0.0;
  const f64 bearing = channel_f64(e->angle);
  if (!on_arc_page(&e->h)) return bearing;
  return cockpit::adf_on == 0 ? kParked : bearing;
}

f64 nav2_pointer(SpriteElement* e) {
  if (e == nullptr) return 0.0;
  if (!on_arc_page(&e->h)) return 0.0;
  const bool flagged = (read_token_u32(kTokenNav2Flags) & kFlagBit) != 0;
  return (cockpit::nav2_on != 0 && !flagged) ? channel_f64(e->angle) : kParked;
}

f64 heading_bug(SpriteElement* e) {
  if (e == nullptr) return 0.0;
  on_arc_page(&e->h);
  return channel_f64(e->angle) - read_token_f64(kTokenHeading);
}

f64 course_line(SpriteElement* e) {
  if (e == nullptr) return 0.0;
  if (!on_arc_page(&e->h)) return 0.0;
  if (is_gps_source(read_nav_gps_source())) return 0.0;
  return nav1_course_rotation();
}

f64 deviation_scale(SpriteElement* e) {
  if (e == nullptr) return 0.0;
  if (!on_arc_page(&e->h)) return 0.0;
  return nav1_course_rotation();
}

f64 bar_rotation(SpriteElement*) {
  if (!arc_page_shown()) return kParked;
  return nav1_course_rotation();
}

f64 hollow_bar_offset(SpriteElement* e) {
  if (e == nullptr) return 0.0;
  abi::ElementHeader* h = &e->h;
  if (!on_arc_page(h)) return 0.0;
  const f64 deviation = channel_f64(e->x);
  if (is_gps_source(read_nav_gps_source())) {
    const bool active = gps_waypoint_active();
    set_hidden(h, !active);
    return active ? deviation : 0.0;
  }
  if ((read_token_u32(kTokenNav1Flags) & kFlagBit) != 0) {
    set_hidden(h, true);
    return 0.0;
  }
  return nav1_receiving() ? deviation : 0.0;
}

f64 solid_bar_offset(SpriteElement* e) {
  if (e == nullptr) return 0.0;
  abi::ElementHeader* h = &e->h;
  if (!on_arc_page(h)) return 0.0;
  if (is_gps_source(read_nav_gps_source())) {
    set_hidden(h, true);
    return 0.0;
  }
  if ((read_token_u32(kTokenNav1Flags) & kFlagBit) == 0) {
    set_hidden(h, true);
    return 0.0;
  }
  return nav1_receiving() ? channel_f64(e->x) : 0.0;
}

f64 glide_slope_scale(IconElement* e) {
  if (e == nullptr) return numbers::kNoImage;
  const f64 available = channel_f64(e->source);
  const bool lit =
      cockpit::nav1_on != 0 && !is_gps_source_for_glide_slope(read_nav_gps_source()) && available != 0.0;
  return page_icon_if(cockpit::left_mfd_page, cockpit::kLeftPageNavArc, lit);
}

f64 glide_slope_pointer(SliderElement* s) {
  if (s == nullptr) return 0.0;
  const f64 deviation = channel_f64(s->y);
  if (!on_arc_page(&s->h)) return deviation;
  const bool shown = cockpit::nav1_on != 0 && !is_gps_source_for_glide_slope(read_nav_gps_source()) &&
                     read_token_f64(kTokenGlideSlopeAvailable) >= 0.5;
  set_hidden(&s->h, !shown);
  return deviation;
}

// --- Text fields ------------------------------------------------------------------

f64 heading_text(TextElement* t) {
  if (t == nullptr) return 0.0;
  const f64 heading = channel_f64(t->source[0]);
  if (on_arc_page(&t->h)) write_number<"%03.0f">(t, heading);
  return heading;
}

f64 adf_identifier_text(TextElement* t) {
  if (t == nullptr) return 0.0;
  if (!on_arc_page(&t->h)) return 0.0;
  if (cockpit::adf_on == 0) {
    set_hidden(&t->h, true);
    return 0.0;
  }
  if (is_gps_source(read_nav_gps_source())) {
    write_fixed(t, "GPS");
  } else {
    write_plain(t, identifier(t->source[0]));
  }
  return 0.0;
}

f64 adf_frequency_text(TextElement* t) {
  if (t == nullptr) return 0.0;
  const f64 khz = refresh_adf_values();
  if (!on_arc_page(&t->h)) return 0.0;
  if (cockpit::adf_on == 0) {
    set_hidden(&t->h, true);
    return 0.0;
  }
  if (khz < 1000.0)
    write_number<"%06.1f">(t, khz);
  else
    write_number<"%6.1f">(t, khz);
  return 0.0;
}

f64 course_text(TextElement* t) {
  if (t == nullptr) return 0.0;
  const f64 course = channel_f64(t->source[0]);
  if (!on_arc_page(&t->h)) return course;
  if (is_gps_source(read_nav_gps_source()))
    write_number<"DTK %03.0f">(t, course);
  else
    write_number<"CRS %03.0f">(t, course);
  return course;
}

f64 nav2_identifier_text(TextElement* t) {
  if (t == nullptr) return 0.0;
  if (!on_arc_page(&t->h)) return 0.0;
  if (cockpit::nav2_on == 0) {
    set_hidden(&t->h, true);
    return 0.0;
  }
  write_plain(t, identifier(t->source[0]));
  return 0.0;
}

f64 nav1_identifier_text(TextElement* t) {
  if (t == nullptr) return 0.0;
  if (!on_arc_page(&t->h)) return 0.0;
  if (!is_gps_source(read_nav_gps_source())) {
    write_plain(t, cockpit::nav1_on != 0 ? identifier(t->source[0]) : "---");
  } else if (gps_waypoint_active()) {
    write_plain(t, identifier(read_token(kTokenGpsWaypointIdent)));
  } else {
    write_fixed(t, "GPS");
  }
  return 0.0;
}

f64 nav1_frequency_text(TextElement* e) {
  if (e != nullptr) write_nav_frequency(e, kTokenNav1Active, cockpit::nav1_on != 0);
  return 0.0;
}

f64 nav2_frequency_text(TextElement* e) {
  if (e != nullptr) write_nav_frequency(e, kTokenNav2Active, cockpit::nav2_on != 0);
  return 0.0;
}

f64 nav1_distance_text(TextElement* t) {
  if (t == nullptr) return 0.0;
  if (!on_arc_page(&t->h)) return 0.0;
  if (cockpit::nav1_on == 0) {
    set_hidden(&t->h, true);
    return 0.0;
  }
  if (is_gps_source(read_nav_gps_source())) {
    const f64 nm = read_token_f64(kTokenGpsDistanceMetres) / numbers::kMetresPerNauticalMile;
    write_distance<kGpsDistance>(t, nm);
    return nm;
  }
  const f64 nm = channel_f64(t->source[0]);
  write_distance<kDmeDistance>(t, nm);
  return nm;
}

f64 nav2_distance_text(TextElement* t) {
  if (t == nullptr) return 0.0;
  const f64 nm = channel_f64(t->source[0]);
  if (on_arc_page(&t->h)) {
    if (cockpit::nav2_on == 0) {
      set_hidden(&t->h, true);
      return nm;
    }
    write_distance<kDmeDistance>(t, nm);
  }
  return nm;
}

f64 to_from_text(TextElement* t) {
  if (t == nullptr) return 0.0;
  if (!on_arc_page(&t->h)) return 0.0;
  const f64 indication = channel_f64(t->source[0]);
  if (is_gps_source(read_nav_gps_source())) {
    if (!gps_waypoint_active()) {
      set_hidden(&t->h, true);
      return 0.0;
    }
  } else if (cockpit::nav1_on == 0 || indication == 0.0) {
    set_hidden(&t->h, true);
    return 0.0;
  }
  write_to_from(t, indication);
  return 0.0;
}

}  // namespace orv::mfd
