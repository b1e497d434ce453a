// The flight map gauge. The host draws its element layer: the face, the
// drawing surface, three range rings, the compass arc turning with the
// heading, the heading mark, the ring buttons and seven readouts. Before
// every draw the gauge paints the surface itself from the host's GPS data
// block (map/map_layer.h), unless the surface already shows what it would
// paint. The ring buttons switch their ring on and off and
// click; the range of the map never changes.
#include "map/flight_map.h"

#include "frame/cockpit_numbers.h"
#include "frame/digest.h"
#include "frame/host_services.h"
#include "frame/records.h"
#include "frame/registry.h"
#include "map/gps_block.h"
#include "map/map_layer.h"
#include "mfd/distance_text.h"
#include "sound/sound.h"

namespace orv::map {

const void* gps_block = nullptr;
std::int32_t ring_switch[3] = {0, 0, 0};

namespace {

using namespace orv::abi;

// Token variables of the readouts.
constexpr u32 kTokenAirspeed = 61;           // knots
constexpr u32 kTokenAltitude = 74;           // feet
constexpr u32 kTokenHeading = 84;            // degrees
constexpr u32 kTokenGroundSpeed = 832;       // metres per second
constexpr u32 kTokenTrack = 834;             // radians
constexpr u32 kTokenWaypointDistance = 835;  // metres
constexpr u32 kTokenNextWaypoint = 839;      // text

// The tooltip's own conversions.
constexpr f64 kTooltipKnotsPerMetrePerSecond = 1.943844;
constexpr f64 kTooltipDegreesPerRadian = 57.29578;
constexpr f64 kTooltipNauticalMilesPerMetre = 0.000539957;

constexpr const char* kNoWaypoint = "---";

// A block the map may read: set, and large enough for every field it uses.
GpsView current_gps() { return read_gps_block(gps_block); }

// --- The map layer ---------------------------------------------------------------

StaticElement* surface_of(GaugeHeader* gauge) {
  ElementHeader* face = (gauge != nullptr && gauge->elements != nullptr) ? gauge->elements[0] : nullptr;
  return reinterpret_cast<StaticElement*>(first_following(face));
}

// Surfaces past this size are not ones a host makes; the layer skips them.
constexpr i32 kLargestSurface = 32767;

// A canvas that only digests what the layer would draw (FNV-1a over every
// call and its numbers): two paints with one digest draw the same pixels.
class DigestCanvas {
 public:
  void select_brush(Brush b) { mix(1, static_cast<std::int64_t>(b)); }
  void select_white_pen() { mix(2, 0); }
  void rectangle(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) { mix(3, l, t, r, b); }
  void polygon(const Point* p, int n) {
    mix(4, n);
    for (int i = 0; i < n; ++i) mix(5, p[i].x, p[i].y);
  }
  void ellipse(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) { mix(6, l, t, r, b); }
  void move_to(std::int32_t x, std::int32_t y) { mix(7, x, y); }
  void line_to(std::int32_t x, std::int32_t y) { mix(8, x, y); }
  std::uint64_t digest() const { return h_.value(); }

 private:
  template <typename... T>
  void mix(T... values) {
    for (std::int64_t v : {static_cast<std::int64_t>(values)...}) h_.word(static_cast<std::uint64_t>(v));
  }
  Fnv1a h_;
};

// The last paint of each surface (device context, size, digest): a paint
// that would draw the same again is skipped, and the surface, which keeps
// its pixels, is not marked for a redraw. A few surfaces at most (one per
// map instance); the oldest entry makes room.
struct LastPaint {
  void* dc = nullptr;
  i32 width = 0, height = 0;
  std::uint64_t digest = 0;
};
constexpr int kRememberedSurfaces = 4;
LastPaint last_paint[kRememberedSurfaces];
int next_slot = 0;

// True when the surface already shows this paint; else remembers it.
bool already_painted(void* dc, i32 w, i32 h, std::uint64_t digest) {
  for (LastPaint& p : last_paint) {
    if (p.dc != dc) continue;
    if (p.width == w && p.height == h && p.digest == digest) return true;
    p = {dc, w, h, digest};
    return false;
  }
  last_paint[next_slot] = {dc, w, h, digest};
  next_slot = (next_slot + 1) % kRememberedSurfaces;
  return false;
}

}  // namespace

void forget_painted_surfaces() {
  for (LastPaint& p : last_paint) p = {};
  next_slot = 0;
}

void draw_map_surface(GaugeHeader* gauge) {
  if (gps_block == nullptr) {
    TokenVar lookup = token(0);
    lookup_named_data(&lookup, abi::gps::kBlockName);
    gps_block = lookup.host_ptr;
  }
  StaticElement* surface = surface_of(gauge);
  if (surface == nullptr) return;
  void* dc = surface->device_context;
  const Image* image = surface->image.final_image;
  if (dc == nullptr || image == nullptr) return;
  const i32 w = image->dim.x, h = image->dim.y;
  if (w <= 0 || h <= 0 || w > kLargestSurface || h > kLargestSurface) return;
  const GpsView gps = current_gps();
  DigestCanvas digest;
  draw_map_layer(digest, w, h, gps);
  if (already_painted(dc, w, h, digest.digest())) return;
  paint_map_layer(dc, w, h, gps);
  surface->h.flags &= ~kOnScreenFlag;
}

namespace {

void ORV_CALL flight_map_callback(GaugeHeader* gauge, i32 service, uptr extra) {
  switch (service) {
    case kServiceInstall:
      sound::set_up_channel(sound::channels::flight_map, extra);
      forget_painted_surfaces();
      break;
    case kServicePreDraw:
      draw_map_surface(gauge);
      break;
    case kServicePreKill:
      sound::release_channel(sound::channels::flight_map);
      break;
    default:
      break;
  }
}

// --- Rings and their buttons ----------------------------------------------------------

template <int Ring>
f64 ring_icon(IconElement*) {
  return ring_switch[Ring] != 0 ? 0.0 : numbers::kNoImage;
}

template <int Ring>
f64 ring_button_icon(IconElement*) {
  return ring_switch[Ring] != 0 ? 1.0 : 0.0;
}

template <int Ring>
i32 ORV_CALL ring_button_click(Click*, u32) {
  ring_switch[Ring] = ring_switch[Ring] != 0 ? 0 : 1;
  sound::play_click(sound::channels::flight_map);
  return 0;
}

f64 compass_rotation(SpriteElement* e) { return e != nullptr ? channel_f64(e->angle) : 0.0; }

f64 heading_mark(IconElement*) { return 0.0; }

}  // namespace

// --- Readouts --------------------------------------------------------------------------

f64 ground_speed_text(TextElement* e) {
  if (e == nullptr) return 0.0;
  const f64 g = channel_f64(e->source[0]) * 3600.0 / numbers::kMetresPerNauticalMile;
  if (g >= 1000.0) {
    write_number<"%4.0f kt">(e, g);
  } else if (g >= 100.0) {
    write_number<"%3.0f kt">(e, g);
  } else if (g >= 10.0) {
    write_number<"%2.0f kt">(e, g);
  } else if (g >= 0.0) {
    write_number<"%1.0f kt">(e, g);
  }
  return g;
}

f64 track_text(TextElement* e) {
  if (e == nullptr) return 0.0;
  const f64 degrees = channel_f64(e->source[0]) * numbers::kDegreesPerRadian;
  write_number<"%03.0f\xB0">(e, degrees);
  return degrees;
}

f64 next_waypoint_text(TextElement* e) {
  if (e == nullptr) return 0.0;
  const char* ident = channel_text(e->source[0]);
  // Reads no further than the field holds ("%.*s" with the field's length).
  write_plain(e, ident != nullptr ? ident : "");
  return 0.0;
}

f64 distance_text(TextElement* e) {
  if (e == nullptr) return 0.0;
  const f64 d = channel_f64(e->source[0]) / numbers::kMetresPerNauticalMile;
  mfd::write_distance<mfd::kMapDistance>(e, d);
  return d;
}

f64 airspeed_text(TextElement* e) {
  if (e == nullptr) return 0.0;
  const f64 v = channel_f64(e->source[0]);
  write_number<"%4.0f kt">(e, v);
  return v;
}

f64 heading_text(TextElement* e) {
  if (e == nullptr) return 0.0;
  const f64 v = channel_f64(e->source[0]);
  write_number<"%03.0f\xB0">(e, v);
  return v;
}

f64 altitude_text(TextElement* e) {
  if (e == nullptr) return 0.0;
  const f64 v = channel_f64(e->source[0]);
  write_number<"%5.0f ft">(e, v);
  return v;
}

namespace {

// --- Tooltip ------------------------------------------------------------------------------

// A number the host can format: the block's value, or 0 when it is not a
// finite number.
f64 tooltip_number(f64 v) { return finite_or(v, 0.0, -1.0e9, 1.0e9); }

f64 ORV_CALL tooltip_ground_speed(f64, u32, const char*, TokenVar*, GaugeHeader*) {
  const GpsView gps = current_gps();
  return gps.usable ? tooltip_number(gps.ground_speed * kTooltipKnotsPerMetrePerSecond) : 0.0;
}

f64 ORV_CALL tooltip_track(f64, u32, const char*, TokenVar*, GaugeHeader*) {
  const GpsView gps = current_gps();
  return gps.usable ? tooltip_number(gps.track * kTooltipDegreesPerRadian) : 0.0;
}

// The identifier handed to the host stays here until the next call.
char tooltip_ident[kIdentChars + 1] = {};

const char* ORV_CALL tooltip_next_waypoint(f64, u32, const char*, TokenVar*, GaugeHeader*) {
  const GpsView gps = current_gps();
  if (!gps.usable || !gps.active_valid || gps.active >= gps.count) return kNoWaypoint;
  return waypoint_ident(gps, gps.active, tooltip_ident) ? tooltip_ident : kNoWaypoint;
}

f64 ORV_CALL tooltip_distance(f64, u32, const char*, TokenVar*, GaugeHeader*) {
  const GpsView gps = current_gps();
  return gps.usable && gps.active_valid ? tooltip_number(gps.distance * kTooltipNauticalMilesPerMetre) : 0.0;
}

}  // namespace

}  // namespace orv::map

namespace orv::gauges::flight_map_records {

using namespace orv::records;
using namespace orv::map;

constexpr u32 kCyan = 0x00FFFF00;  // RGB 0,255,255
constexpr u32 kSurfaceFlags = 0x26;
constexpr u8 kCharsetDefault = 1;
constexpr u32 kLeftAligned = abi::kTextVCentre | abi::kTextSingleLine;

constexpr TextSpec readout(PixPoint at, PixPoint box, u16 chars, u32 source,
                           ElementCallback<TextElement> fn) {
  return TextSpec{.at = at,
                  .box = box,
                  .chars = chars,
                  .callback = fn,
                  .token = source,
                  .font = "Geneva",
                  .weight = 400,
                  .charset = kCharsetDefault,
                  .format = kLeftAligned,
                  .colour = kCyan,
                  .background = 0x00000000,
                  .highlight = kCyan};
}

constinit Chain chain{
    flight_map,
    static_image({.bitmap = 1400}),                           // face
    static_image({.bitmap = 1410, .flags = kSurfaceFlags}),   // drawing surface
    icon({.bitmap = 1460, .callback = calls<ring_icon<2>>}),  // large ring
    icon({.bitmap = 1450, .callback = calls<ring_icon<1>>}),  // middle ring
    icon({.bitmap = 1440, .callback = calls<ring_icon<0>>}),  // small ring
    sprite({.bitmap = 1420,                                   // compass arc
            .at = {0, 0},
            .centre = {143, 143},
            .angle_token = kTokenHeading,
            .angle_callback = calls<compass_rotation>,
            .angle_scale = 1.0}),
    icon({.bitmap = 1430, .at = {136, 4}, .callback = calls<heading_mark>}),  // heading mark
    // The ring buttons 3, 2 and 1.
    icon({.bitmap = 1490, .at = {252, 269}, .callback = calls<ring_button_icon<2>>, .images = 2}),
    icon({.bitmap = 1480, .at = {218, 269}, .callback = calls<ring_button_icon<1>>, .images = 2}),
    icon({.bitmap = 1470, .at = {184, 269}, .callback = calls<ring_button_icon<0>>, .images = 2}),
    text(readout({75, 194}, {70, 24}, 7, kTokenGroundSpeed, calls<ground_speed_text>)),
    text(readout({75, 218}, {70, 24}, 4, kTokenTrack, calls<track_text>)),
    text(readout({75, 242}, {70, 21}, 7, kTokenNextWaypoint, calls<next_waypoint_text>)),
    text(readout({75, 266}, {70, 21}, 7, kTokenWaypointDistance, calls<distance_text>)),
    text(readout({211, 194}, {70, 21}, 7, kTokenAirspeed, calls<airspeed_text>)),
    text(readout({211, 218}, {70, 21}, 4, kTokenHeading, calls<heading_text>)),
    text(readout({211, 242}, {70, 21}, 8, kTokenAltitude, calls<altitude_text>)),
};

MouseArg tooltip_args[] = {
    number_argument(tooltip_ground_speed),
    number_argument(tooltip_track),
    text_argument(tooltip_next_waypoint),
    number_argument(tooltip_distance),
};

MouseRect mouse[] = {
    whole_gauge_area(),
    tooltip("Ground Speed: %1!d! knots, Track: %2!d!\xB0, Next Waypoint: %3!s!, Distance: %4!.1f! nm",
            tooltip_args),
    click_box({184, 269, 30, 16}, kCursorHand, kMouseLeftSingle, ring_button_click<0>),
    click_box({218, 269, 30, 16}, kCursorHand, kMouseLeftSingle, ring_button_click<1>),
    click_box({252, 269, 30, 16}, kCursorHand, kMouseLeftSingle, ring_button_click<2>),
    area_end(),
    list_end(),
};

}  // namespace orv::gauges::flight_map_records

ORV_DEFINE_GAUGE(flight_map, flight_map_records::chain.first, flight_map_records::mouse,
                 orv::map::flight_map_callback)
