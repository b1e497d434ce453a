// The traffic picture's back end off Windows: Cairo, on a context of its own
// whose target is the surface the host's cairo_t draws on.
//
// A picture is recorded as it is drawn, then rendered unclipped into a layer
// of the surface's size, and the disc is then filled with the layer in one
// operation through its coverage mask. A picture whose operations are those
// of the picture the layer holds (the radar without traffic, or traffic
// that has not moved) is not rendered again: Cairo's rasteriser costs about
// a million instructions for a ring or a line across the screen, and the
// radar draws its picture every second. The layer is opaque (each picture
// starts with a black fill of the whole design square), so a pixel the disc
// covers wholly gets the picture, and a rim pixel the disc's share of it over
// what the surface held, as a black fill through a clip to the disc gives it;
// the rim thus darkens from picture to picture whether or not the layer was
// rendered again, until it holds what the layer has there. Only the rim can
// change when the layer does not (a pixel the disc covers wholly gets the
// layer's pixel, one it misses keeps its own), so a composite of the layer
// the surface already got is checked against a copy of the rim's pixels
// taken before it: once it changed none, drawing that picture again is known
// to change nothing, and the display may leave it out.
#include <cairo.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#include "traffic/radar_canvas.h"

namespace orv::traffic::canvas {

namespace {

// The font of the range label and the altitude tags: 3 points, at the 96
// dots per inch a Windows display context reports (4 design units).
constexpr const char* kFontFace = "Courier New";
constexpr double kFontSize = 3.0 * 96.0 / 72.0;
// The blank a layout box leaves before its first glyph, in ems.
constexpr double kLeadingPad = 1.0 / 6.0;

// One drawing operation of a picture, as the display asked for it.
struct Op {
  enum Kind : unsigned char { kFill, kEllipse, kLine, kText } kind = kFill;
  Colour colour{};
  double v[5] =
      {};  // x, y, w, h (fill); width, x, y, w, h (ellipse); width, x1, y1, x2, y2 (line); x, y (text)
  char text[24] = {};

  bool operator==(const Op& o) const {
    return kind == o.kind && colour.a == o.colour.a && colour.r == o.colour.r && colour.g == o.colour.g &&
           colour.b == o.colour.b && std::memcmp(v, o.v, sizeof v) == 0 && std::strcmp(text, o.text) == 0;
  }
};

// Room for the range rings, axes and label and three operations for each of
// the display's hundred aircraft; a longer picture is drawn as it comes.
constexpr int kMaxOps = 320;

struct Recording {
  Op ops[kMaxOps];
  int count = 0;
  bool operator==(const Recording& o) const {
    if (count != o.count) return false;
    for (int i = 0; i < count; ++i)
      if (!(ops[i] == o.ops[i])) return false;
    return true;
  }
};

// The context on the host's surface and the layer a picture is drawn on,
// both in design space; without a layer the picture is drawn directly on the
// surface, through a clip to the disc.
struct Graphics {
  cairo_t* surface = nullptr;
  cairo_surface_t* layer = nullptr;
  cairo_t* layer_context = nullptr;
  cairo_surface_t* disc = nullptr;  // the disc's coverage of each pixel (A8)
  // The rim: the pixels the disc covers in part (their index in the
  // surface's 32-bit words), and their values before the last composite of
  // an unchanged layer.
  std::uint32_t* rim = nullptr;
  std::uint32_t* rim_before = nullptr;
  std::size_t rim_size = 0;
  bool settled = false;  // the last composite left the surface as it was
  // The picture being drawn and the one the layer holds (valid when
  // `held` is set), swapped when a new picture is rendered.
  Recording recordings[2];
  int drawing = 0;
  bool held = false;
  bool direct = false;  // the picture overflowed its recording: drawn as it comes
};

Graphics* graphics_of(void* graphics) { return static_cast<Graphics*>(graphics); }

void set_colour(cairo_t* cr, Colour c) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
}

void ellipse_path(cairo_t* cr, double x, double y, double w, double h) {
  cairo_new_path(cr);
  cairo_save(cr);
  cairo_translate(cr, x + w / 2.0, y + h / 2.0);
  cairo_scale(cr, w / 2.0, h / 2.0);
  cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * M_PI);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void draw_text(cairo_t* cr, Colour c, double x, double y, const char* text) {
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_new_path(cr);
  cairo_move_to(cr, x + kLeadingPad * kFontSize, y + fe.ascent);
  set_colour(cr, c);
  cairo_show_text(cr, text);
  cairo_new_path(cr);
}

void draw(cairo_t* cr, const Op& op) {
  const double* v = op.v;
  switch (op.kind) {
    case Op::kFill:
      cairo_new_path(cr);
      cairo_rectangle(cr, v[0], v[1], v[2], v[3]);
      set_colour(cr, op.colour);
      cairo_fill(cr);
      break;
    case Op::kEllipse:
      ellipse_path(cr, v[1], v[2], v[3], v[4]);
      cairo_set_line_width(cr, v[0]);
      set_colour(cr, op.colour);
      cairo_stroke(cr);
      break;
    case Op::kLine:
      cairo_new_path(cr);
      cairo_move_to(cr, v[1], v[2]);
      cairo_line_to(cr, v[3], v[4]);
      cairo_set_line_width(cr, v[0]);
      set_colour(cr, op.colour);
      cairo_stroke(cr);
      break;
    case Op::kText:
      draw_text(cr, op.colour, v[0], v[1], op.text);
      break;
  }
}

void drop_layer(Graphics* g) {
  if (g->layer_context != nullptr) cairo_destroy(g->layer_context);
  if (g->layer != nullptr) cairo_surface_destroy(g->layer);
  if (g->disc != nullptr) cairo_surface_destroy(g->disc);
  delete[] g->rim;
  delete[] g->rim_before;
  g->layer_context = nullptr;
  g->layer = nullptr;
  g->disc = nullptr;
  g->rim = nullptr;
  g->rim_before = nullptr;
  g->rim_size = 0;
  g->held = false;
  g->settled = false;
}

// The scale, anti-aliasing, font and origin of the design space on `cr`.
void set_up_context(cairo_t* cr, double sx, double sy, double hw, double hh) {
  cairo_scale(cr, sx, sy);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  // Fontconfig answers a missing face with its nearest monospace family.
  cairo_select_font_face(cr, kFontFace, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, kFontSize);
  cairo_translate(cr, hw, hh);
}

// The pixels of the disc mask that are neither 0 nor full, as indices into
// a surface of `words_per_row` 32-bit words a row; none when they cannot be
// stored (the pictures are then never left out).
void find_rim(Graphics* g, int w, int h, int words_per_row) {
  const unsigned char* mask = cairo_image_surface_get_data(g->disc);
  const int stride = cairo_image_surface_get_stride(g->disc);
  std::size_t n = 0;
  for (int pass = 0; pass < 2; ++pass) {
    n = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const unsigned char m = mask[static_cast<std::size_t>(y) * stride + x];
        if (m == 0 || m == 255) continue;
        if (pass == 1) g->rim[n] = static_cast<std::uint32_t>(y * words_per_row + x);
        ++n;
      }
    if (pass == 1 || n == 0) break;
    g->rim = new (std::nothrow) std::uint32_t[n];
    g->rim_before = new (std::nothrow) std::uint32_t[n];
    if (g->rim == nullptr || g->rim_before == nullptr) return;
  }
  g->rim_size = n;
}

void copy_rim(const Graphics* g, const std::uint32_t* pixels, std::uint32_t* out) {
  for (std::size_t i = 0; i < g->rim_size; ++i) out[i] = pixels[g->rim[i]];
}

bool rim_is(const Graphics* g, const std::uint32_t* pixels, const std::uint32_t* values) {
  for (std::size_t i = 0; i < g->rim_size; ++i)
    if (pixels[g->rim[i]] != values[i]) return false;
  return true;
}

// A layer and a disc mask of the surface's size, or none when the surface
// is not an image or Cairo cannot make them. The mask is the disc filled as
// a clip to it would cover each pixel.
void make_layer(Graphics* g, double sx, double sy, double hw, double hh) {
  cairo_surface_t* target = cairo_get_target(g->surface);
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return;
  const int w = cairo_image_surface_get_width(target), h = cairo_image_surface_get_height(target);
  if (w <= 0 || h <= 0) return;
  g->layer = cairo_surface_create_similar_image(target, CAIRO_FORMAT_ARGB32, w, h);
  g->layer_context = cairo_create(g->layer);
  g->disc = cairo_surface_create_similar_image(target, CAIRO_FORMAT_A8, w, h);
  cairo_t* disc = cairo_create(g->disc);
  set_up_context(disc, sx, sy, hw, hh);
  ellipse_path(disc, -hw, -hh, 2.0 * hw, 2.0 * hh);
  cairo_set_source_rgb(disc, 1.0, 1.0, 1.0);
  cairo_fill(disc);
  const bool made = cairo_status(disc) == CAIRO_STATUS_SUCCESS &&
                    cairo_surface_status(g->layer) == CAIRO_STATUS_SUCCESS &&
                    cairo_status(g->layer_context) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(disc);
  cairo_surface_flush(g->disc);
  if (!made || cairo_surface_status(g->disc) != CAIRO_STATUS_SUCCESS) {
    drop_layer(g);
    return;
  }
  find_rim(g, w, h, cairo_image_surface_get_stride(target) / 4);
}

}  // namespace

std::uintptr_t start_library() { return 0; }

void stop_library(std::uintptr_t) {}

void* create_graphics(void* device_context) {
  auto* host = static_cast<cairo_t*>(device_context);
  if (host == nullptr || cairo_status(host) != CAIRO_STATUS_SUCCESS) return nullptr;
  auto* g = new (std::nothrow) Graphics;
  if (g == nullptr) return nullptr;
  g->surface = cairo_create(cairo_get_target(host));
  if (cairo_status(g->surface) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(g->surface);
    delete g;
    return nullptr;
  }
  return g;
}

void delete_graphics(void* graphics) {
  Graphics* g = graphics_of(graphics);
  if (g == nullptr) return;
  drop_layer(g);
  cairo_destroy(g->surface);
  delete g;
}

void set_up_space(void* graphics, double sx, double sy, double hw, double hh) {
  Graphics* g = graphics_of(graphics);
  if (g == nullptr || !(sx > 0.0) || !(sy > 0.0)) return;
  set_up_context(g->surface, sx, sy, hw, hh);
  drop_layer(g);
  make_layer(g, sx, sy, hw, hh);
  if (g->layer_context != nullptr) {
    set_up_context(g->layer_context, sx, sy, hw, hh);
    return;
  }
  ellipse_path(g->surface, -hw, -hh, 2.0 * hw, 2.0 * hh);
  cairo_clip(g->surface);
}

Picture::Picture(void* graphics) : graphics_(graphics) {
  Graphics* g = graphics_of(graphics_);
  if (g == nullptr) return;
  g->recordings[g->drawing].count = 0;
  g->direct = false;
}

// The finished picture onto the surface: the layer rendered unless it holds
// this picture already, then the disc filled with it.
Picture::~Picture() {
  Graphics* g = graphics_of(graphics_);
  if (g == nullptr || g->layer == nullptr) return;
  const Recording& picture = g->recordings[g->drawing];
  bool rendered = true;
  if (g->direct) {
    g->held = false;
  } else if (!g->held || !(picture == g->recordings[1 - g->drawing])) {
    for (int i = 0; i < picture.count; ++i) draw(g->layer_context, picture.ops[i]);
    g->drawing = 1 - g->drawing;
    g->held = true;
  } else {
    rendered = false;
  }
  cairo_surface_flush(g->layer);
  cairo_t* cr = g->surface;
  cairo_surface_t* target = cairo_get_target(cr);
  const bool check = !rendered && g->rim_size > 0;
  const auto* pixels = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(target));
  if (check) {
    cairo_surface_flush(target);
    copy_rim(g, pixels, g->rim_before);
  }
  cairo_matrix_t design;
  cairo_get_matrix(cr, &design);
  cairo_identity_matrix(cr);
  cairo_set_source_surface(cr, g->layer, 0.0, 0.0);
  cairo_mask_surface(cr, g->disc, 0.0, 0.0);
  cairo_set_matrix(cr, &design);
  cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);  // drops the reference to the layer
  if (check) cairo_surface_flush(target);
  g->settled = check && rim_is(g, pixels, g->rim_before);
}

bool repeats_exactly(void* graphics) {
  const Graphics* g = graphics_of(graphics);
  return g != nullptr && g->settled;
}

// Where an operation that is not recorded draws: the surface without a
// layer, else the layer, once the operations recorded so far are drawn on it.
cairo_t* direct_context(Graphics* g) {
  if (g->layer == nullptr) return g->surface;
  if (!g->direct) {
    const Recording& picture = g->recordings[g->drawing];
    for (int i = 0; i < picture.count; ++i) draw(g->layer_context, picture.ops[i]);
    g->direct = true;
  }
  return g->layer_context;
}

// Records an operation of the picture, or draws it once the recording is
// full.
void record(void* graphics, const Op& op) {
  Graphics* g = graphics_of(graphics);
  if (g == nullptr) return;
  Recording& picture = g->recordings[g->drawing];
  if (g->layer != nullptr && !g->direct && picture.count < kMaxOps) {
    picture.ops[picture.count++] = op;
    return;
  }
  draw(direct_context(g), op);
}

void Picture::fill_rect(Colour c, double x, double y, double w, double h) {
  record(graphics_, Op{Op::kFill, c, {x, y, w, h}});
}

void Picture::ellipse(Colour c, double width, double x, double y, double w, double h) {
  if (!(w > 0.0) || !(h > 0.0)) return;
  record(graphics_, Op{Op::kEllipse, c, {width, x, y, w, h}});
}

void Picture::line(Colour c, double width, double x1, double y1, double x2, double y2) {
  record(graphics_, Op{Op::kLine, c, {width, x1, y1, x2, y2}});
}

void Picture::text(Colour c, const char* text, double x, double y) {
  if (text == nullptr || text[0] == '\0') return;
  Op op{Op::kText, c, {x, y}};
  const std::size_t n = std::strlen(text);
  if (n < sizeof op.text) {
    std::memcpy(op.text, text, n + 1);
    record(graphics_, op);
    return;
  }
  // Longer than a recorded text: drawn at once, after what came before.
  Graphics* g = graphics_of(graphics_);
  if (g != nullptr) draw_text(direct_context(g), c, x, y, text);
}

}  // namespace orv::traffic::canvas
