// The map layer on Cairo (native builds): the device context is a cairo_t*
// on an ARGB32 image surface. Cairo draws the device-context figures with the
// same pixel rules: a one-pixel pen runs along pixel centres, boxes exclude
// their right and bottom edges. Figures far outside the surface are clipped
// here first, since Cairo's coordinates are narrower than a device
// context's.
#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "map/map_layer.h"

namespace orv::map {

namespace {

// How far past the surface edges figures are kept.
constexpr double kMargin = 16.0;
constexpr double kFullTurn = 6.283185307179586;

class CairoCanvas {
 public:
  CairoCanvas(cairo_t* cr, int width, int height) : cr_(cr), width_(width), height_(height) {
    cairo_set_line_width(cr_, 1.0);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
  }

  void select_brush(Brush b) { brush_ = b; }
  void select_white_pen() {}

  void rectangle(int l, int t, int r, int b) {
    if (r <= l || b <= t) return;
    cairo_save(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    if (fill_with_brush()) {
      cairo_rectangle(cr_, l, t, r - l, b - t);
      cairo_fill(cr_);
    }
    white();
    cairo_rectangle(cr_, l + 0.5, t + 0.5, r - l - 1.0, b - t - 1.0);
    cairo_stroke(cr_);
    cairo_restore(cr_);
  }

  void polygon(const Point* points, int n) {
    if (n < 2) return;
    for (int i = 0; i < n; ++i) {
      if (i == 0) {
        cairo_move_to(cr_, points[i].x + 0.5, points[i].y + 0.5);
      } else {
        cairo_line_to(cr_, points[i].x + 0.5, points[i].y + 0.5);
      }
    }
    cairo_close_path(cr_);
    if (fill_with_brush()) cairo_fill_preserve(cr_);
    white();
    cairo_stroke(cr_);
  }

  void ellipse(int l, int t, int r, int b) {
    if (r <= l || b <= t || r < -kMargin || b < -kMargin || l > width_ + kMargin || t > height_ + kMargin)
      return;
    const double rx = (r - l) / 2.0, ry = (b - t) / 2.0;
    const double x = l + rx, y = t + ry;
    if (fill_with_brush()) {
      path_ellipse(x, y, rx, ry);
      cairo_fill(cr_);
    }
    white();
    path_ellipse(x, y, std::max(0.0, rx - 0.5), std::max(0.0, ry - 0.5));
    cairo_stroke(cr_);
  }

  void move_to(int x, int y) {
    x_ = x;
    y_ = y;
  }

  void line_to(int x, int y) {
    double x0 = x_ + 0.5, y0 = y_ + 0.5, x1 = x + 0.5, y1 = y + 0.5;
    x_ = x;
    y_ = y;
    if (!clip(x0, y0, x1, y1)) return;
    white();
    cairo_move_to(cr_, x0, y0);
    cairo_line_to(cr_, x1, y1);
    cairo_stroke(cr_);
  }

 private:
  bool fill_with_brush() {
    if (brush_ == Brush::hollow) return false;
    const double v = brush_ == Brush::white ? 1.0 : 0.0;
    cairo_set_source_rgb(cr_, v, v, v);
    return true;
  }

  void white() { cairo_set_source_rgb(cr_, 1.0, 1.0, 1.0); }

  void path_ellipse(double x, double y, double rx, double ry) {
    cairo_new_path(cr_);
    cairo_save(cr_);
    cairo_translate(cr_, x, y);
    cairo_scale(cr_, rx > 0 ? rx : 1e-3, ry > 0 ? ry : 1e-3);
    cairo_arc(cr_, 0.0, 0.0, 1.0, 0.0, kFullTurn);
    cairo_close_path(cr_);
    cairo_restore(cr_);
  }

  // Liang-Barsky: keeps the part of the segment inside the surface and its
  // margin; false when none of it is.
  bool clip(double& x0, double& y0, double& x1, double& y1) const {
    const double dx = x1 - x0, dy = y1 - y0;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 + kMargin, width_ + kMargin - x0, y0 + kMargin, height_ + kMargin - y0};
    for (int k = 0; k < 4; ++k) {
      if (p[k] == 0.0) {
        if (q[k] < 0.0) return false;
        continue;
      }
      const double t = q[k] / p[k];
      if (p[k] < 0.0) {
        t0 = std::max(t0, t);
      } else {
        t1 = std::min(t1, t);
      }
      if (t0 > t1) return false;
    }
    x1 = x0 + t1 * dx;
    y1 = y0 + t1 * dy;
    x0 = x0 + t0 * dx;
    y0 = y0 + t0 * dy;
    return true;
  }

  cairo_t* cr_;
  int width_, height_;
  Brush brush_ = Brush::black;
  int x_ = 0, y_ = 0;
};

}  // namespace

void paint_map_layer(void* device_context, int width, int height, const GpsView& gps) {
  auto* cr = static_cast<cairo_t*>(device_context);
  if (cr == nullptr || cairo_status(cr) != CAIRO_STATUS_SUCCESS) return;
  cairo_save(cr);
  cairo_new_path(cr);
  CairoCanvas canvas(cr, width, height);
  draw_map_layer(canvas, width, height, gps);
  cairo_restore(cr);
}

}  // namespace orv::map
