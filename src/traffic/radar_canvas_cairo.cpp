// The traffic picture's back end off Windows: Cairo, on a context of its own
// whose target is the surface the host's cairo_t draws on.
#include <cairo.h>

#include <cmath>

#include "traffic/radar_canvas.h"

namespace orv::traffic::canvas {

namespace {

// The font of the range label and the altitude tags: 3 points, at the 96
// dots per inch a Windows display context reports (4 design units).
constexpr const char* kFontFace = "Courier New";
constexpr double kFontSize = 3.0 * 96.0 / 72.0;
// The blank a layout box leaves before its first glyph, in ems.
constexpr double kLeadingPad = 1.0 / 6.0;

cairo_t* context(void* graphics) { return static_cast<cairo_t*>(graphics); }

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

}  // namespace

std::uintptr_t start_library() { return 0; }

void stop_library(std::uintptr_t) {}

void* create_graphics(void* device_context) {
  auto* host = static_cast<cairo_t*>(device_context);
  if (host == nullptr || cairo_status(host) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_t* cr = cairo_create(cairo_get_target(host));
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr);
    return nullptr;
  }
  return cr;
}

void delete_graphics(void* graphics) {
  if (graphics != nullptr) cairo_destroy(context(graphics));
}

void set_up_space(void* graphics, double sx, double sy, double hw, double hh) {
  cairo_t* cr = context(graphics);
  if (cr == nullptr || !(sx > 0.0) || !(sy > 0.0)) return;
  cairo_scale(cr, sx, sy);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  cairo_translate(cr, hw, hh);
  ellipse_path(cr, -hw, -hh, 2.0 * hw, 2.0 * hh);
  cairo_clip(cr);
}

Picture::Picture(void* graphics) : graphics_(graphics) {
  cairo_t* cr = context(graphics_);
  if (cr == nullptr) return;
  // Fontconfig answers a missing face with its nearest monospace family.
  cairo_select_font_face(cr, kFontFace, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, kFontSize);
}

Picture::~Picture() = default;

void Picture::fill_rect(Colour c, double x, double y, double w, double h) {
  cairo_t* cr = context(graphics_);
  if (cr == nullptr) return;
  cairo_new_path(cr);
  cairo_rectangle(cr, x, y, w, h);
  set_colour(cr, c);
  cairo_fill(cr);
}

void Picture::ellipse(Colour c, double width, double x, double y, double w, double h) {
  cairo_t* cr = context(graphics_);
  if (cr == nullptr || !(w > 0.0) || !(h > 0.0)) return;
  ellipse_path(cr, x, y, w, h);
  cairo_set_line_width(cr, width);
  set_colour(cr, c);
  cairo_stroke(cr);
}

void Picture::line(Colour c, double width, double x1, double y1, double x2, double y2) {
  cairo_t* cr = context(graphics_);
  if (cr == nullptr) return;
  cairo_new_path(cr);
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_set_line_width(cr, width);
  set_colour(cr, c);
  cairo_stroke(cr);
}

void Picture::text(Colour c, const char* text, double x, double y) {
  cairo_t* cr = context(graphics_);
  if (cr == nullptr || text == nullptr || text[0] == '\0') return;
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_new_path(cr);
  cairo_move_to(cr, x + kLeadingPad * kFontSize, y + fe.ascent);
  set_colour(cr, c);
  cairo_show_text(cr, text);
  cairo_new_path(cr);
}

}  // namespace orv::traffic::canvas
