// The canvas on Cairo (native builds): images are Cairo image surfaces,
// masks A8 surfaces, the device context of a drawing surface a cairo_t*.
#include "host/render/canvas_cairo.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "host/render/canvas.h"
#include "host/render/png_file.h"

namespace orv::render {

// A box of an image's pixels, [x0, x1) x [y0, y1).
struct PixelBox {
  int x0, y0, x1, y1;
};

struct Image::Backend {
  cairo_surface_t* surface = nullptr;
  cairo_t* device = nullptr;
  // Where an image with alpha is not transparent black, as boxes of whole
  // tiles (a gauge's needles and sprites are mostly transparent): found on
  // first use, forgotten when the pixels may have changed. `sparse` says
  // whether the boxes are worth clipping to.
  bool occupancy_known = false;
  bool sparse = false;
  std::vector<PixelBox> occupied;
};

struct Canvas::Backend {
  cairo_t* cr = nullptr;
  bool owned = true;
};

namespace {

cairo_format_t cairo_format(PixelFormat f) {
  return f == PixelFormat::alpha  ? CAIRO_FORMAT_A8
         : f == PixelFormat::argb ? CAIRO_FORMAT_ARGB32
                                  : CAIRO_FORMAT_RGB24;
}

void set_source(cairo_t* cr, Colour c) {
  if (c.a >= 1.0)
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
  else
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

// Texts of gauges are drawn in grey levels, unhinted, so that they scale
// smoothly.
const cairo_font_options_t* text_options() {
  static cairo_font_options_t* const options = [] {
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
    return o;
  }();
  return options;
}

// Tiles of kTile x kTile pixels; a box joins at most kRunTiles of them in a
// row (a long box turned by 45 degrees would cover much empty space).
constexpr int kTile = 8;
constexpr int kRunTiles = 4;
constexpr std::size_t kMostBoxes = 512;

bool tile_occupied(const unsigned char* data, int stride, int w, int h, int tx, int ty) {
  const int x1 = std::min(w, (tx + 1) * kTile), y1 = std::min(h, (ty + 1) * kTile);
  for (int y = ty * kTile; y < y1; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = tx * kTile; x < x1; ++x)
      if (row[x] != 0) return true;
  }
  return false;
}

void find_occupied(Image::Backend& b, int w, int h) {
  b.occupancy_known = true;
  b.sparse = false;
  b.occupied.clear();
  if (cairo_image_surface_get_format(b.surface) != CAIRO_FORMAT_ARGB32 || w <= 0 || h <= 0) return;
  cairo_surface_flush(b.surface);
  const unsigned char* data = cairo_image_surface_get_data(b.surface);
  const int stride = cairo_image_surface_get_stride(b.surface);
  if (data == nullptr) return;
  const int tiles_x = (w + kTile - 1) / kTile, tiles_y = (h + kTile - 1) / kTile;
  long long area = 0;
  for (int ty = 0; ty < tiles_y; ++ty) {
    for (int tx = 0; tx < tiles_x;) {
      if (!tile_occupied(data, stride, w, h, tx, ty)) {
        ++tx;
        continue;
      }
      int end = tx + 1;
      while (end < tiles_x && end - tx < kRunTiles && tile_occupied(data, stride, w, h, end, ty)) ++end;
      const PixelBox box{tx * kTile, ty * kTile, std::min(w, end * kTile), std::min(h, (ty + 1) * kTile)};
      b.occupied.push_back(box);
      area += static_cast<long long>(box.x1 - box.x0) * (box.y1 - box.y0);
      tx = end;
    }
  }
  b.sparse = b.occupied.size() <= kMostBoxes && area * 2 <= static_cast<long long>(w) * h;
}

// Clips `cr` to the device pixels that `image`, drawn at (ox, oy) of the
// user space that `m` takes to the device, can change: those near its
// pixels that are not transparent black. Drawing transparent black changes
// nothing (the source and its product with any mask are zero), so only the
// filtering of empty space is left out: a turned needle or sprite costs
// what its lines cover, not its whole square. (Cairo fixes the image's transformation at the
// centre of what it composites, so a pixel may come out a level or two
// apart from the same drawing unclipped.) Leaves the image whole (false)
// when it is not sparse, may change (a module draws on it), or is made
// smaller: a reduction filters over more than a pixel's neighbours. True
// after cairo_save(); the caller restores.
bool clip_to_occupied(cairo_t* cr, const Image& image, const cairo_matrix_t& m, double ox, double oy) {
  Image::Backend& b = image.backend();
  if (b.device != nullptr) return false;
  if (!b.occupancy_known) find_occupied(b, image.width(), image.height());
  if (!b.sparse) return false;
  // The least stretch of the matrix (its smaller singular value).
  const double t = m.xx * m.xx + m.yx * m.yx + m.xy * m.xy + m.yy * m.yy;
  const double det = m.xx * m.yy - m.xy * m.yx;
  const double least = std::sqrt(std::max(0.0, (t - std::sqrt(std::max(0.0, t * t - 4 * det * det))) / 2));
  if (!(least >= 0.75) || !std::isfinite(t) || !std::isfinite(m.x0) || !std::isfinite(m.y0)) return false;
  cairo_matrix_t user;
  cairo_get_matrix(cr, &user);
  cairo_save(cr);
  cairo_identity_matrix(cr);
  // The filter reads a pixel's neighbours: two source pixels of margin,
  // and a device pixel for rounding.
  constexpr double kReach = 2.0;
  for (const PixelBox& box : b.occupied) {
    const double xs[2] = {box.x0 - kReach + ox, box.x1 + kReach + ox};
    const double ys[2] = {box.y0 - kReach + oy, box.y1 + kReach + oy};
    double lo_x = HUGE_VAL, lo_y = HUGE_VAL, hi_x = -HUGE_VAL, hi_y = -HUGE_VAL;
    for (double x : xs)
      for (double y : ys) {
        double dx = x, dy = y;
        cairo_matrix_transform_point(&m, &dx, &dy);
        lo_x = std::min(lo_x, dx), hi_x = std::max(hi_x, dx);
        lo_y = std::min(lo_y, dy), hi_y = std::max(hi_y, dy);
      }
    const double x0 = std::floor(lo_x) - 1, y0 = std::floor(lo_y) - 1;
    cairo_rectangle(cr, x0, y0, std::ceil(hi_x) + 1 - x0, std::ceil(hi_y) + 1 - y0);
  }
  cairo_clip(cr);
  cairo_set_matrix(cr, &user);
  return true;
}

// The current matrix of `cr`.
cairo_matrix_t matrix_of(cairo_t* cr) {
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  return m;
}

}  // namespace

Image::Image(int width, int height, PixelFormat format)
    : width_(width), height_(height), format_(format), backend_(std::make_unique<Backend>()) {
  backend_->surface = cairo_image_surface_create(cairo_format(format), width, height);
}

Image::~Image() {
  if (backend_->device != nullptr) cairo_destroy(backend_->device);
  cairo_surface_destroy(backend_->surface);
}

bool Image::valid() const { return cairo_surface_status(backend_->surface) == CAIRO_STATUS_SUCCESS; }
unsigned char* Image::data() {
  backend_->occupancy_known = false;
  return cairo_image_surface_get_data(backend_->surface);
}
int Image::stride() const { return cairo_image_surface_get_stride(backend_->surface); }
void Image::flush() { cairo_surface_flush(backend_->surface); }
void Image::changed() {
  backend_->occupancy_known = false;
  cairo_surface_mark_dirty(backend_->surface);
}

void* Image::device_context() {
  if (backend_->device == nullptr) {
    cairo_t* cr = cairo_create(backend_->surface);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
      cairo_destroy(cr);
      return nullptr;
    }
    backend_->device = cr;
  }
  return backend_->device;
}

cairo_surface_t* cairo_surface_of(const Image& image) { return image.backend().surface; }

std::string write_png(Image& image, const std::string& path, int level) {
  const cairo_status_t status = write_png(image.backend().surface, path, level);
  return status == CAIRO_STATUS_SUCCESS ? std::string() : std::string(cairo_status_to_string(status));
}

Canvas::Canvas(Image& target) : backend_(std::make_unique<Backend>()) {
  backend_->cr = cairo_create(cairo_surface_of(target));
}

Canvas Canvas::borrow(void* native_context) {
  Canvas c;
  c.backend_ = std::make_unique<Backend>();
  c.backend_->cr = static_cast<cairo_t*>(native_context);
  c.backend_->owned = false;
  return c;
}

Canvas::Canvas(Canvas&& other) noexcept = default;

Canvas::~Canvas() {
  if (backend_ && backend_->owned) cairo_destroy(backend_->cr);
}

void Canvas::save() { cairo_save(backend_->cr); }
void Canvas::restore() { cairo_restore(backend_->cr); }
void Canvas::translate(double x, double y) { cairo_translate(backend_->cr, x, y); }
void Canvas::rotate(double radians) { cairo_rotate(backend_->cr, radians); }
void Canvas::scale(double sx, double sy) { cairo_scale(backend_->cr, sx, sy); }

void Canvas::clip(double x, double y, double w, double h) {
  cairo_rectangle(backend_->cr, x, y, w, h);
  cairo_clip(backend_->cr);
}

void Canvas::paint(Colour c) {
  set_source(backend_->cr, c);
  cairo_paint(backend_->cr);
}

void Canvas::fill_rect(double x, double y, double w, double h, Colour c) {
  cairo_t* cr = backend_->cr;
  cairo_rectangle(cr, x, y, w, h);
  set_source(cr, c);
  cairo_fill(cr);
}

void Canvas::stroke_rect(double x, double y, double w, double h, Colour c, double width, const double* dashes,
                         int dash_count) {
  cairo_t* cr = backend_->cr;
  cairo_rectangle(cr, x, y, w, h);
  set_source(cr, c);
  cairo_set_line_width(cr, width);
  cairo_set_dash(cr, dashes, dash_count, 0.0);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0.0);
}

void Canvas::draw_image(const Image& image, double x, double y) {
  const bool clipped = clip_to_occupied(backend_->cr, image, matrix_of(backend_->cr), x, y);
  cairo_set_source_surface(backend_->cr, cairo_surface_of(image), x, y);
  cairo_paint(backend_->cr);
  if (clipped) cairo_restore(backend_->cr);
  cairo_set_source_rgb(backend_->cr, 0, 0, 0);  // drop the reference to the image
}

void Canvas::draw_image_masked(const Image& image, double x, double y, const Image& mask, double mx,
                               double my) {
  cairo_set_source_surface(backend_->cr, cairo_surface_of(image), x, y);
  cairo_mask_surface(backend_->cr, cairo_surface_of(mask), mx, my);
  cairo_set_source_rgb(backend_->cr, 0, 0, 0);
}

void Canvas::draw_image_placed(const Image& image, const Placement& p, const Image* mask, double mx,
                               double my) {
  cairo_t* cr = backend_->cr;
  cairo_matrix_t saved;
  cairo_get_matrix(cr, &saved);
  cairo_translate(cr, p.x, p.y);
  cairo_rotate(cr, p.angle);
  cairo_translate(cr, p.dx, p.dy);
  cairo_scale(cr, p.sx, p.sy);
  const double ox = -image.width() / 2.0, oy = -image.height() / 2.0;
  const cairo_matrix_t placed = matrix_of(cr);
  cairo_set_source_surface(cr, cairo_surface_of(image), ox, oy);
  cairo_set_matrix(cr, &saved);
  const bool clipped = clip_to_occupied(cr, image, placed, ox, oy);
  if (mask != nullptr)
    cairo_mask_surface(cr, cairo_surface_of(*mask), mx, my);
  else
    cairo_paint(cr);
  if (clipped) cairo_restore(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
}

void Canvas::draw_device_context(void* device_context, double x, double y) {
  cairo_surface_t* target = cairo_get_target(static_cast<cairo_t*>(device_context));
  cairo_surface_flush(target);
  cairo_set_source_surface(backend_->cr, target, x, y);
  cairo_paint(backend_->cr);
  cairo_set_source_rgb(backend_->cr, 0, 0, 0);
}

const unsigned char* Canvas::device_context_pixels(void* device_context, int* width, int* height,
                                                   int* stride) {
  if (device_context == nullptr) return nullptr;
  cairo_surface_t* target = cairo_get_target(static_cast<cairo_t*>(device_context));
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
  cairo_surface_flush(target);
  *width = cairo_image_surface_get_width(target);
  *height = cairo_image_surface_get_height(target);
  *stride = cairo_image_surface_get_stride(target);
  return cairo_image_surface_get_data(target);
}

const Face& Canvas::face(const char* family, bool bold) {
  static std::vector<std::unique_ptr<Face>> faces;  // kept for the life of the process
  for (const auto& f : faces)
    if (f->bold == bold && f->family == family) return *f;
  auto f = std::make_unique<Face>();
  f->family = family;
  f->bold = bold;
  cairo_font_face_t* font = cairo_toy_font_face_create(
      family, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  f->handle = font;
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* cr = cairo_create(scratch);
  cairo_set_font_face(cr, font);
  cairo_set_font_options(cr, text_options());
  cairo_set_font_size(cr, 100.0);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  f->cell_at_100 = fe.ascent + fe.descent;
  cairo_destroy(cr);
  cairo_surface_destroy(scratch);
  faces.push_back(std::move(f));
  return *faces.back();
}

void Canvas::set_font(const Face& face, double size) {
  cairo_set_font_face(backend_->cr, static_cast<cairo_font_face_t*>(face.handle));
  cairo_set_font_options(backend_->cr, text_options());
  cairo_set_font_size(backend_->cr, size);
}

void Canvas::set_label_font(double size, bool bold) {
  cairo_select_font_face(backend_->cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(backend_->cr, size);
}

FontExtents Canvas::font_extents() {
  cairo_font_extents_t fe;
  cairo_font_extents(backend_->cr, &fe);
  return {fe.ascent, fe.descent, fe.height};
}

double Canvas::text_advance(const char* text) {
  cairo_text_extents_t te;
  cairo_text_extents(backend_->cr, text, &te);
  return te.x_advance;
}

void Canvas::show_text(double x, double y, const char* text, Colour c) {
  set_source(backend_->cr, c);
  cairo_move_to(backend_->cr, x, y);
  cairo_show_text(backend_->cr, text);
}

}  // namespace orv::render
