// The map layer on GDI (Windows builds): the device context is the HDC the
// host gives the drawing surface, drawn with the stock objects: black brush
// (4), white brush (0), hollow brush (5) and white pen (6).
#include <windows.h>

#include "map/map_layer.h"

namespace orv::map {

namespace {

class GdiCanvas {
 public:
  explicit GdiCanvas(HDC dc) : dc_(dc) {}

  void select_brush(Brush b) {
    const int stock = b == Brush::black ? BLACK_BRUSH : b == Brush::white ? WHITE_BRUSH : HOLLOW_BRUSH;
    SelectObject(dc_, GetStockObject(stock));
  }
  void select_white_pen() { SelectObject(dc_, GetStockObject(WHITE_PEN)); }
  void rectangle(int l, int t, int r, int b) { Rectangle(dc_, l, t, r, b); }
  void polygon(const Point* points, int n) {
    POINT p[kAircraftPoints];
    if (n > kAircraftPoints) n = kAircraftPoints;
    for (int i = 0; i < n; ++i) p[i] = {points[i].x, points[i].y};
    Polygon(dc_, p, n);
  }
  void ellipse(int l, int t, int r, int b) { Ellipse(dc_, l, t, r, b); }
  void move_to(int x, int y) { MoveToEx(dc_, x, y, nullptr); }
  void line_to(int x, int y) { LineTo(dc_, x, y); }

 private:
  HDC dc_;
};

static_assert(BLACK_BRUSH == 4 && WHITE_BRUSH == 0 && HOLLOW_BRUSH == 5 && WHITE_PEN == 6);

}  // namespace

void paint_map_layer(void* device_context, int width, int height, const GpsView& gps) {
  if (device_context == nullptr) return;
  GdiCanvas canvas(static_cast<HDC>(device_context));
  draw_map_layer(canvas, width, height, gps);
}

}  // namespace orv::map
