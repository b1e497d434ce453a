#include "host/render/render.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "host/load/windows_text.h"
#include "host/panel/element_walk.h"

namespace orv::render {
namespace {

using namespace orv::abi;

constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxElements = 4096;  // guards against a cyclic tree

constexpr u32 kBlackTransparent = 0x1;
constexpr u32 kDrawingSurface = 0x20;

struct Context {
  Canvas& canvas;
  const BitmapStore& bitmaps;
  const host::ElementValues* values = nullptr;  // of the element being drawn
  int drawn = 0;
};

bool finite(double v) { return std::isfinite(v); }

const host::ElementValues& values_of(const Context& c, const ElementHeader*) { return *c.values; }
void draw_static(Context& c, const ElementHeader* e) {
  const auto* s = reinterpret_cast<const StaticElement*>(e);
  // A drawing surface shows what the module drew into its device context.
  if ((e->flags & kDrawingSurface) && s->device_context) {
    c.canvas.draw_device_context(s->device_context, e->position.x, e->position.y);
    return;
  }
  if (const Image* img = c.bitmaps.image(e->bitmap, e->flags & kBlackTransparent))
    c.canvas.draw_image(*img, e->position.x, e->position.y);
}

// The clockwise turn in degrees of a needle bitmap for value v: with a table,
// the direction of the bitmap's +x axis measured from +x on the screen;
// without one, the bitmap is drawn pointing up and turned by v itself.
//
// Between two table points the needle turns clockwise from the first to the
// second, so a scale may run through up to a full turn. Beyond the table's
// ends the needle depends on how far round the table goes: a table that runs
// more than half a turn is a scale with end stops (an engine dial with a gap
// at the bottom), and a value beyond an end rests the needle on that end; a
// table of half a turn or less marks a pointer that goes all round (a
// compass pointer marked only at up and down), and values beyond continue at
// the rate of the end segment.
double needle_angle(const NeedleElement* n, double v) {
  if (!n->table || n->table_count < 2) return v;  // drawn pointing up, turned clockwise by v
  const u32 count = std::min<u32>(n->table_count, 256);
  const double px = n->h.position.x, py = n->h.position.y;
  auto theta = [&](u32 i) {
    return std::atan2(n->table[i].point.y - py, n->table[i].point.x - px) * 180.0 / kPi;
  };
  auto segment_sweep = [&](u32 i) {  // clockwise from point i to point i + 1
    const double sweep = std::fmod(theta(i + 1) - theta(i) + 720.0, 360.0);
    return sweep == 0.0 ? 360.0 : sweep;
  };
  double total = 0.0;
  for (u32 i = 0; i + 1 < count; ++i) total += segment_sweep(i);
  if (total > 180.0 + 1e-6) {
    const double first = n->table[0].value, last = n->table[count - 1].value;
    v = std::clamp(v, std::min(first, last), std::max(first, last));
  }
  // The segment holding v (values in table order, either direction); the
  // first and last segments extend beyond the table.
  u32 i = 0;
  while (i + 2 < count) {
    const double a = n->table[i + 1].value, b = n->table[i].value;
    const bool ascending = a >= b;
    if (ascending ? v <= a : v >= a) break;
    ++i;
  }
  const double v0 = n->table[i].value, v1 = n->table[i + 1].value;
  const double t0 = theta(i);
  if (v1 == v0) return t0;
  return t0 + (v - v0) / (v1 - v0) * segment_sweep(i);
}

void draw_needle(Context& c, const ElementHeader* e) {
  const auto* n = reinterpret_cast<const NeedleElement*>(e);
  const double v = values_of(c, e).channel[0];
  if (!finite(v)) return;
  const Image* img = c.bitmaps.image(e->bitmap, e->flags & kBlackTransparent);
  if (!img) return;
  const double angle = needle_angle(n, v);
  if (!finite(angle)) return;
  c.canvas.save();
  c.canvas.translate(e->position.x, e->position.y);
  c.canvas.rotate(angle * kPi / 180.0);  // positive turns clockwise on a y-down surface
  c.canvas.draw_image(*img, -e->offset.x, -e->offset.y);
  c.canvas.restore();
}

void draw_slider(Context& c, const ElementHeader* e) {
  const auto* s = reinterpret_cast<const SliderElement*>(e);
  const host::ElementValues v = values_of(c, e);
  const double dx = v.channel[0] * s->x_scale, dy = v.channel[1] * s->y_scale;
  if (!finite(dx) || !finite(dy)) return;
  if (const Image* img = c.bitmaps.image(e->bitmap, e->flags & kBlackTransparent))
    c.canvas.draw_image(*img, e->position.x + dx, e->position.y + dy);
}

void draw_icon(Context& c, const ElementHeader* e) {
  const auto* icon = reinterpret_cast<const IconElement*>(e);
  const double v = values_of(c, e).channel[0];
  if (!finite(v) || v < -0.5 || v > 65535.0) return;  // -1 selects no image
  const long k = std::lround(v);
  if (k < 0 || (icon->image_count > 0 && k >= icon->image_count)) return;
  if (const Image* img = c.bitmaps.image(e->bitmap + static_cast<u32>(k), e->flags & kBlackTransparent))
    c.canvas.draw_image(*img, e->position.x, e->position.y);
}

// Position in [0, span] of value v within [lo, hi] (0 when the range is empty).
double travel(double v, double lo, double hi, double span) {
  if (!(hi > lo) || !finite(v)) return 0.0;
  return std::clamp((v - lo) / (hi - lo), 0.0, 1.0) * span;
}

void draw_moving_image(Context& c, const ElementHeader* e) {
  const auto* m = reinterpret_cast<const MovingImageElement*>(e);
  const Image* img = c.bitmaps.image(e->bitmap, e->flags & kBlackTransparent);
  const Image* window = c.bitmaps.mask(e->bitmap + 1);
  if (!img || !window) return;
  const host::ElementValues v = values_of(c, e);
  const double iw = img->width(), ih = img->height();
  const double ww = window->width(), wh = window->height();
  // The value selects which part of the large image lies under the window:
  // the range's low end shows its left (top) edge, the high end its right
  // (bottom) edge.
  const double ox = travel(v.channel[0], m->min_x, m->max_x, std::max(0.0, iw - ww));
  const double oy = travel(v.channel[1], m->min_y, m->max_y, std::max(0.0, ih - wh));
  c.canvas.draw_image_masked(*img, e->position.x - ox, e->position.y - oy, *window, e->position.x,
                             e->position.y);
}

void draw_sprite(Context& c, const ElementHeader* e) {
  const auto* s = reinterpret_cast<const SpriteElement*>(e);
  const Image* img = c.bitmaps.image(e->bitmap, e->flags & kBlackTransparent);
  if (!img) return;
  const host::ElementValues v = values_of(c, e);
  // The channels work in the texture's own frame, oriented as on paper: x to
  // the right, y up, angles in degrees counter-clockwise. The heading
  // through a positive rotation factor thus turns a compass card so that the
  // heading comes to the top, and a pitch ladder whose up lines lie above
  // its horizon moves down for a negative (nose-up) pitch.
  const double tx = v.channel[0] * s->x_scale, ty = v.channel[1] * s->y_scale;
  const double angle = v.channel[2] * s->angle_scale;
  if (!finite(tx) || !finite(ty) || !finite(angle)) return;
  const double fx = s->texture_scale_x > 0 ? s->texture_scale_x : 1.0;
  const double fy = s->texture_scale_y > 0 ? s->texture_scale_y : 1.0;
  // Texture centre on the centre point, moved in the texture's own frame,
  // turned about the centre point.
  const Placement place{static_cast<double>(s->centre.x),
                        static_cast<double>(s->centre.y),
                        -angle * kPi / 180.0,  // the surface's y runs down
                        tx,
                        -ty,
                        fx,
                        fy};
  c.canvas.draw_image_placed(*img, place, c.bitmaps.mask(e->bitmap + 1), e->position.x, e->position.y);
}

void draw_text(Context& c, const ElementHeader* e) {
  const auto* t = reinterpret_cast<const TextElement*>(e);
  const double x = e->position.x, y = e->position.y, w = t->box.x, h = t->box.y;
  if (w <= 0 || h <= 0) return;
  Canvas& canvas = c.canvas;
  canvas.save();
  canvas.clip(x, y, w, h);
  if (!(e->flags & kBlackTransparent)) canvas.paint(colour_of_bgr(t->background_colour));
  // The host allocates max_chars + 1 bytes; never read past them.
  char text[256] = {};
  if (t->text) {
    const std::size_t limit = std::min<std::size_t>(t->max_chars ? t->max_chars : 255, 255);
    std::size_t n = 0;
    while (n < limit && t->text[n]) ++n;
    std::memcpy(text, t->text, n);
  }
  if (text[0]) {
    // Texts are Windows-1252 bytes (the degree sign is 0xB0); the canvas takes UTF-8.
    char utf8[3 * sizeof text] = {};
    host::windows_1252_to_utf8(text, utf8, sizeof utf8);
    char face[33] = {};
    std::memcpy(face, t->font, 32);
#if defined(_WIN32)
    // Windows has the gauges' faces; the back end falls back to their free
    // stand-ins where one is missing.
    const Face& f = Canvas::face(face[0] ? face : "Arial", t->font_weight >= 600);
#else
    const Face& f = Canvas::face(font_family_for(face), t->font_weight >= 600);
#endif
    // The font's cell (ascent + descent) fills the character height, which
    // is the box height unless the element gives its own.
    const double cell = t->char_height > 0 ? std::min<double>(t->char_height, h) : h;
    const double size = f.cell_at_100 > 0 ? 100.0 * cell / f.cell_at_100 : cell;
    canvas.set_font(f, size);
    const FontExtents fe = canvas.font_extents();
    const double advance = canvas.text_advance(utf8);
    // Texts wider than their box are condensed to fit.
    const double squeeze = advance > w ? w / advance : 1.0;
    const double width = advance * squeeze;
    double left = x;
    if (t->format & kTextCentre)
      left = x + (w - width) / 2.0;
    else if (t->format & kTextRight)
      left = x + w - width;
    double baseline = y + fe.ascent;
    if (t->format & kTextVCentre)
      baseline = y + h / 2.0 + (fe.ascent - fe.descent) / 2.0;
    else if (t->format & 0x8)  // bottom
      baseline = y + h - fe.descent;
    canvas.translate(left, baseline);
    canvas.scale(squeeze, 1.0);
    canvas.show_text(0, 0, utf8, colour_of_bgr(t->text_colour));
  }
  canvas.restore();
}

// What each element kind's drawing reads, mixed into a digest: the element
// draws the same pixels again when none of it changed (the bitmaps of the
// store and the fonts never change). Kept beside the drawings above, field
// for field.
class Digest {
 public:
  // Each word is mixed in through a full-avalanche step (SplitMix64's
  // finaliser), so that no change in one word can cancel one in another.
  void add(std::uint64_t v) {
    std::uint64_t z = (h_ ^ v) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    h_ = z ^ (z >> 31);
  }
  void add(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    add(bits);
  }
  void add(PixPoint p) {
    add(static_cast<std::uint64_t>(static_cast<u32>(p.x)) << 32 | static_cast<u32>(p.y));
  }
  void add_bytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (; n >= 8; n -= 8, p += 8) {
      std::uint64_t w = 0;
      std::memcpy(&w, p, 8);
      add(w);
    }
    std::uint64_t w = n;
    std::memcpy(&w, p, n);
    add(w);
  }
  std::uint64_t value() const { return h_; }

 private:
  std::uint64_t h_ = 0xCBF29CE484222325ull;
};

void digest_static(Digest& d, const ElementHeader* e, const host::ElementValues&) {
  const auto* s = reinterpret_cast<const StaticElement*>(e);
  if (!(e->flags & kDrawingSurface) || !s->device_context) return;
  int w = 0, h = 0, stride = 0;
  const unsigned char* rows = Canvas::device_context_pixels(s->device_context, &w, &h, &stride);
  d.add(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(rows)));
  if (!rows) return;
  d.add(static_cast<std::uint64_t>(w) << 32 | static_cast<u32>(h));
  for (int y = 0; y < h; ++y)
    d.add_bytes(rows + static_cast<std::ptrdiff_t>(y) * stride, 4 * static_cast<std::size_t>(w));
}

void digest_needle(Digest& d, const ElementHeader* e, const host::ElementValues& v) {
  const auto* n = reinterpret_cast<const NeedleElement*>(e);
  d.add(v.channel[0]);
  d.add(e->offset);
  d.add(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(n->table)));
  d.add(std::uint64_t{n->table_count});
  if (n->table)
    for (u32 i = 0; i < std::min<u32>(n->table_count, 256); ++i) {
      d.add(n->table[i].point);
      d.add(n->table[i].value);
    }
}

void digest_slider(Digest& d, const ElementHeader* e, const host::ElementValues& v) {
  const auto* s = reinterpret_cast<const SliderElement*>(e);
  d.add(v.channel[0]);
  d.add(v.channel[1]);
  d.add(s->x_scale);
  d.add(s->y_scale);
}

void digest_icon(Digest& d, const ElementHeader* e, const host::ElementValues& v) {
  d.add(v.channel[0]);
  d.add(static_cast<std::uint64_t>(static_cast<u32>(reinterpret_cast<const IconElement*>(e)->image_count)));
}

void digest_moving_image(Digest& d, const ElementHeader* e, const host::ElementValues& v) {
  const auto* m = reinterpret_cast<const MovingImageElement*>(e);
  d.add(v.channel[0]);
  d.add(v.channel[1]);
  for (double limit : {m->min_x, m->max_x, m->min_y, m->max_y}) d.add(limit);
}

void digest_sprite(Digest& d, const ElementHeader* e, const host::ElementValues& v) {
  const auto* s = reinterpret_cast<const SpriteElement*>(e);
  for (double c : v.channel) d.add(c);
  d.add(s->x_scale);
  d.add(s->y_scale);
  d.add(s->angle_scale);
  d.add(static_cast<double>(s->texture_scale_x));
  d.add(static_cast<double>(s->texture_scale_y));
  d.add(s->centre);
}

void digest_text(Digest& d, const ElementHeader* e, const host::ElementValues&) {
  const auto* t = reinterpret_cast<const TextElement*>(e);
  d.add(t->box);
  d.add(static_cast<std::uint64_t>(t->text_colour) << 32 | t->background_colour);
  d.add(static_cast<std::uint64_t>(t->format) << 32 | static_cast<u32>(t->font_weight));
  d.add(static_cast<std::uint64_t>(static_cast<u32>(t->char_height)) << 16 | t->max_chars);
  d.add_bytes(t->font, sizeof t->font);
  d.add(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(t->text)));
  if (t->text) {
    const std::size_t limit = std::min<std::size_t>(t->max_chars ? t->max_chars : 255, 255);
    std::size_t n = 0;
    while (n < limit && t->text[n]) ++n;
    d.add_bytes(t->text, n);
  }
}

// Where each element kind's drawing can reach, in the gauge's own
// coordinates (before the instance's scale): a box holding every pixel the
// drawing above may touch, or an empty one when it draws nothing. A box
// may be larger than the drawing, never smaller.
struct Area {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool empty() const { return !(x1 > x0 && y1 > y0); }
};

Area image_area(const Image* img, double x, double y) {
  if (!img) return {};
  return {x, y, x + img->width(), y + img->height()};
}

// A picture turned about (x, y) whose points lie at most `reach` from it.
Area around(double x, double y, double reach) {
  if (!finite(x) || !finite(y) || !finite(reach)) return {};
  return {x - reach, y - reach, x + reach, y + reach};
}

Area area_static(const ElementHeader* e, const host::ElementValues&, const BitmapStore& b) {
  const auto* s = reinterpret_cast<const StaticElement*>(e);
  if ((e->flags & kDrawingSurface) && s->device_context) {
    int w = 0, h = 0, stride = 0;
    if (!Canvas::device_context_pixels(s->device_context, &w, &h, &stride)) return {};
    return {static_cast<double>(e->position.x), static_cast<double>(e->position.y),
            static_cast<double>(e->position.x) + w, static_cast<double>(e->position.y) + h};
  }
  return image_area(b.image(e->bitmap, e->flags & kBlackTransparent), e->position.x, e->position.y);
}

Area area_needle(const ElementHeader* e, const host::ElementValues&, const BitmapStore& b) {
  const Image* img = b.image(e->bitmap, e->flags & kBlackTransparent);
  if (!img) return {};
  // The bitmap turns about its pivot (offset), placed on the position.
  const double ox = e->offset.x, oy = e->offset.y;
  const double reach = std::hypot(std::max(std::abs(ox), std::abs(img->width() - ox)),
                                  std::max(std::abs(oy), std::abs(img->height() - oy)));
  return around(e->position.x, e->position.y, reach);
}

Area area_slider(const ElementHeader* e, const host::ElementValues& v, const BitmapStore& b) {
  const auto* s = reinterpret_cast<const SliderElement*>(e);
  const double dx = v.channel[0] * s->x_scale, dy = v.channel[1] * s->y_scale;
  if (!finite(dx) || !finite(dy)) return {};
  return image_area(b.image(e->bitmap, e->flags & kBlackTransparent), e->position.x + dx, e->position.y + dy);
}

Area area_icon(const ElementHeader* e, const host::ElementValues& v, const BitmapStore& b) {
  const auto* icon = reinterpret_cast<const IconElement*>(e);
  const double k = v.channel[0];
  if (!finite(k) || k < -0.5 || k > 65535.0) return {};
  const long n = std::lround(k);
  if (n < 0 || (icon->image_count > 0 && n >= icon->image_count)) return {};
  return image_area(b.image(e->bitmap + static_cast<u32>(n), e->flags & kBlackTransparent), e->position.x,
                    e->position.y);
}

Area area_moving_image(const ElementHeader* e, const host::ElementValues&, const BitmapStore& b) {
  // Drawn through its window, the mask at the position.
  return image_area(b.mask(e->bitmap + 1), e->position.x, e->position.y);
}

Area area_sprite(const ElementHeader* e, const host::ElementValues& v, const BitmapStore& b) {
  const auto* s = reinterpret_cast<const SpriteElement*>(e);
  const Image* img = b.image(e->bitmap, e->flags & kBlackTransparent);
  if (!img) return {};
  if (const Image* mask = b.mask(e->bitmap + 1)) return image_area(mask, e->position.x, e->position.y);
  const double tx = v.channel[0] * s->x_scale, ty = v.channel[1] * s->y_scale;
  const double fx = s->texture_scale_x > 0 ? s->texture_scale_x : 1.0;
  const double fy = s->texture_scale_y > 0 ? s->texture_scale_y : 1.0;
  return around(s->centre.x, s->centre.y,
                std::hypot(tx, ty) + std::hypot(img->width() * fx, img->height() * fy) / 2.0);
}

Area area_text(const ElementHeader* e, const host::ElementValues&, const BitmapStore&) {
  const auto* t = reinterpret_cast<const TextElement*>(e);
  const double x = e->position.x, y = e->position.y;
  return {x, y, x + t->box.x, y + t->box.y};
}

// Each element kind's drawing, what it reads and where it can reach, indexed
// like the kinds' table (gauge_abi.h).
struct KindDrawing {
  void (*draw)(Context&, const ElementHeader*);
  void (*digest)(Digest&, const ElementHeader*, const host::ElementValues&);
  Area (*area)(const ElementHeader*, const host::ElementValues&, const BitmapStore&);
};
constexpr KindDrawing kKinds[] = {
    {draw_static, digest_static, area_static}, {draw_needle, digest_needle, area_needle},
    {draw_text, digest_text, area_text},       {draw_slider, digest_slider, area_slider},
    {draw_icon, digest_icon, area_icon},       {draw_moving_image, digest_moving_image, area_moving_image},
    {draw_sprite, digest_sprite, area_sprite},
};
static_assert(std::size(kKinds) == kElementKindCount, "one drawing per element kind");

void draw_element(Context& c, const ElementHeader* e) {
  if (e->flags & kHiddenFlag) return;
  if (e->kind < kElementKindCount) kKinds[e->kind].draw(c, e);
}

// The element with its values, once, unless the cap on elements is reached.
void draw_slot(Context& c, const ElementHeader* e, const host::ElementValues& values) {
  if (c.drawn >= kMaxElements) return;
  ++c.drawn;
  c.values = &values;
  draw_element(c, e);
}

// Clips and scales the canvas from the gauge's first bitmap to the
// instance's size; false when there is nothing to draw.
bool begin_gauge(Canvas& canvas, const GaugeHeader& header, int width_px, int height_px,
                 const BitmapStore& bitmaps) {
  if (!header.elements || !header.elements[0] || width_px <= 0 || height_px <= 0) return false;
  int bw = width_px, bh = height_px;
  bitmaps.size(header.elements[0]->bitmap, &bw, &bh);
  canvas.save();
  canvas.clip(0, 0, width_px, height_px);
  canvas.scale(static_cast<double>(width_px) / bw, static_cast<double>(height_px) / bh);
  return true;
}

}  // namespace

const char* font_family_for(const char* face) {
  struct Map {
    const char* face;
    const char* family;
  };
  static constexpr Map kFonts[] = {
      {"Arial", "Liberation Sans"},       {"Arial Narrow", "Liberation Sans Narrow"},
      {"Courier New", "Liberation Mono"}, {"Geneva", "DejaVu Sans"},
      {"Quartz", "DSEG7 Classic"},
  };
  if (!face || !*face) return "Liberation Sans";
  for (const Map& m : kFonts)
    if (strcasecmp(face, m.face) == 0) return m.family;
  return face;
}

void render_gauge(Canvas& canvas, const host::GaugeInstance& instance, int width_px, int height_px,
                  const BitmapStore& bitmaps) {
  if (!begin_gauge(canvas, instance.header(), width_px, height_px, bitmaps)) return;
  Context c{canvas, bitmaps};
  for (const host::ElementSlot& slot : instance.elements()) draw_slot(c, slot.element, slot.values);
  canvas.restore();
}

void drawn_elements(const host::GaugeInstance& instance, int width_px, int height_px,
                    const BitmapStore& bitmaps, std::vector<DrawnElement>& out) {
  out.clear();
  const GaugeHeader& header = instance.header();
  // First the gauge as a whole: its size and the scale from its first bitmap.
  int bw = width_px, bh = height_px;
  if (header.elements && header.elements[0]) bitmaps.size(header.elements[0]->bitmap, &bw, &bh);
  Digest whole;
  whole.add(static_cast<std::uint64_t>(static_cast<u32>(width_px)) << 32 | static_cast<u32>(height_px));
  whole.add(static_cast<std::uint64_t>(static_cast<u32>(bw)) << 32 | static_cast<u32>(bh));
  whole.add(header.elements && header.elements[0] ? std::uint64_t{1} : std::uint64_t{0});
  out.push_back({whole.value(), 0, 0, width_px, height_px});
  if (!header.elements || !header.elements[0] || width_px <= 0 || height_px <= 0 || bw <= 0 || bh <= 0)
    return;
  const double sx = static_cast<double>(width_px) / bw, sy = static_cast<double>(height_px) / bh;
  // Filtering and anti-aliasing reach about a source pixel beyond a
  // picture's edge: a margin of more than that.
  const double margin = std::ceil(std::max({sx, sy, 1.0})) + 2.0;
  int drawn = 0;
  for (const host::ElementSlot& slot : instance.elements()) {
    if (drawn++ >= kMaxElements) break;
    const ElementHeader* e = slot.element;
    Digest d;
    d.add(static_cast<std::uint64_t>(e->kind) << 32 | e->flags);
    DrawnElement part{0, 0, 0, 0, 0};
    if (!(e->flags & kHiddenFlag)) {
      d.add(std::uint64_t{e->bitmap});
      d.add(e->position);
      Area a{0, 0, static_cast<double>(bw), static_cast<double>(bh)};  // a kind without a drawing: all of it
      if (e->kind < kElementKindCount) {
        kKinds[e->kind].digest(d, e, slot.values);
        a = kKinds[e->kind].area(e, slot.values, bitmaps);
      }
      if (!a.empty()) {
        const double x0 = std::clamp(std::floor(a.x0 * sx - margin), 0.0, static_cast<double>(width_px));
        const double y0 = std::clamp(std::floor(a.y0 * sy - margin), 0.0, static_cast<double>(height_px));
        const double x1 = std::clamp(std::ceil(a.x1 * sx + margin), 0.0, static_cast<double>(width_px));
        const double y1 = std::clamp(std::ceil(a.y1 * sy + margin), 0.0, static_cast<double>(height_px));
        part.x = static_cast<int>(x0);
        part.y = static_cast<int>(y0);
        part.width = static_cast<int>(x1 - x0);
        part.height = static_cast<int>(y1 - y0);
      }
    }
    part.digest = d.value();
    out.push_back(part);
  }
}

void render_gauge(Canvas& canvas, const GaugeHeader& instance, int width_px, int height_px,
                  const BitmapStore& bitmaps, const host::ElementValueLookup& values) {
  if (!begin_gauge(canvas, instance, width_px, height_px, bitmaps)) return;
  Context c{canvas, bitmaps};
  // The walk a gauge instance collects its slots by: an element listed twice draws once.
  host::walk_elements(instance.elements, [&](ElementHeader* e, int) {
    draw_slot(c, e, values ? values(e) : host::ElementValues{});
  });
  canvas.restore();
}

#if !defined(_WIN32)
void render_gauge(cairo_t* cr, const GaugeHeader& instance, int width_px, int height_px,
                  const BitmapStore& bitmaps, const host::ElementValueLookup& values) {
  if (!cr) return;
  Canvas canvas = Canvas::borrow(cr);
  render_gauge(canvas, instance, width_px, height_px, bitmaps, values);
}

void render_gauge(cairo_t* cr, const host::GaugeInstance& instance, int width_px, int height_px,
                  const BitmapStore& bitmaps) {
  if (!cr) return;
  Canvas canvas = Canvas::borrow(cr);
  render_gauge(canvas, instance, width_px, height_px, bitmaps);
}
#endif

}  // namespace orv::render
