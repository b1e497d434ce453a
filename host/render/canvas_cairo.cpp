// The canvas on Cairo (native builds): images are Cairo image surfaces,
// masks A8 surfaces, the device context of a drawing surface a cairo_t*.
#include "host/render/canvas_cairo.h"

#include <cairo.h>

#include <vector>

#include "host/render/canvas.h"
#include "host/render/png_file.h"

namespace orv::render {

struct Image::Backend {
  cairo_surface_t* surface = nullptr;
  cairo_t* device = nullptr;
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
unsigned char* Image::data() { return cairo_image_surface_get_data(backend_->surface); }
int Image::stride() const { return cairo_image_surface_get_stride(backend_->surface); }
void Image::flush() { cairo_surface_flush(backend_->surface); }
void Image::changed() { cairo_surface_mark_dirty(backend_->surface); }

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
  cairo_set_source_surface(backend_->cr, cairo_surface_of(image), x, y);
  cairo_paint(backend_->cr);
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
  cairo_set_source_surface(cr, cairo_surface_of(image), -image.width() / 2.0, -image.height() / 2.0);
  cairo_set_matrix(cr, &saved);
  if (mask != nullptr)
    cairo_mask_surface(cr, cairo_surface_of(*mask), mx, my);
  else
    cairo_paint(cr);
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
