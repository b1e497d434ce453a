// The flight map's own layer: what the gauge draws into its drawing surface
// before every draw. One routine, written against a small device-context
// vocabulary (stock brushes, the white pen, rectangle, polygon, ellipse,
// lines), that the Windows back end carries out with GDI and the native back
// end with Cairo; tests record it.
//
// The layer at a surface of W x H pixels (sx = W / 286, sy = H / 286):
//   - the field: the black brush and white pen over (0,0)-(W,H), a black field
//     with a white border;
//   - the aircraft: a white arrow of 17 points about the centre
//     (trunc(143 sx), trunc(143 sy));
//   - the flight plan: each usable waypoint a circle of 10 pixels about its
//     projected place, filled white when it is the active one and hollow
//     otherwise, and a line from the previous drawn waypoint to it.
// Boxes and lines follow the device-context rules: right and bottom edges and
// a line's last point are excluded.
#pragma once

#include <cstdint>

#include "map/gps_block.h"

namespace orv::map {

// The design size of the map surface, in pixels.
inline constexpr double kDesignSize = 286.0;
inline constexpr double kDesignCentre = 143.0;
inline constexpr int kWaypointRadius = 5;

enum class Brush { black, white, hollow };

struct Point {
  std::int32_t x;
  std::int32_t y;
};

inline constexpr int kAircraftPoints = 17;
inline constexpr Point kAircraftShape[kAircraftPoints] = {
    {0, -6}, {2, -5}, {2, -2}, {6, 0},  {6, 2},  {2, 1},  {2, 4},   {4, 4},   {4, 6},
    {-4, 6}, {-4, 4}, {-2, 4}, {-2, 1}, {-6, 2}, {-6, 0}, {-2, -2}, {-2, -5},
};

// Draws the layer on `dc`, which offers:
//   select_brush(Brush), select_white_pen(),
//   rectangle(l, t, r, b), polygon(const Point*, int), ellipse(l, t, r, b),
//   move_to(x, y), line_to(x, y).
template <typename Canvas>
void draw_map_layer(Canvas& dc, int width, int height, const GpsView& gps) {
  const double sx = width / kDesignSize;
  const double sy = height / kDesignSize;
  const auto cx = static_cast<std::int32_t>(kDesignCentre * sx);
  const auto cy = static_cast<std::int32_t>(kDesignCentre * sy);

  dc.select_brush(Brush::black);
  dc.select_white_pen();
  dc.rectangle(0, 0, width, height);

  Point aircraft[kAircraftPoints];
  for (int i = 0; i < kAircraftPoints; ++i) {
    aircraft[i] = {static_cast<std::int32_t>(kAircraftShape[i].x * sx) + cx,
                   static_cast<std::int32_t>(kAircraftShape[i].y * sy) + cy};
  }
  dc.select_brush(Brush::white);
  dc.select_white_pen();
  dc.polygon(aircraft, kAircraftPoints);

  if (!gps.usable) return;
  const std::uint32_t count = walk_count(gps);
  bool drawn_before = false;
  Point last{0, 0};
  for (std::uint32_t i = 0; i < count; ++i) {
    Waypoint w;
    if (!waypoint_at(gps, i, &w)) continue;
    const MapOffset o = project(gps, w, sx, sy);
    if (!o.valid) continue;
    const Point p{o.x + cx, o.y + cy};
    dc.select_brush(i == gps.active ? Brush::white : Brush::hollow);
    dc.select_white_pen();
    dc.ellipse(p.x - kWaypointRadius, p.y - kWaypointRadius, p.x + kWaypointRadius, p.y + kWaypointRadius);
    if (drawn_before) {
      dc.move_to(last.x, last.y);
      dc.line_to(p.x, p.y);
    }
    last = p;
    drawn_before = true;
  }
}

// Draws the layer into a device context of the platform (a Windows HDC, or a
// cairo_t* on an image surface natively). Defined by the platform back end.
void paint_map_layer(void* device_context, int width, int height, const GpsView& gps);

}  // namespace orv::map
