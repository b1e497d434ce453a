// A GPS data block built byte by byte for the map's tests, and a device
// context that records what the map layer draws.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "map/gps_block.h"
#include "map/map_layer.h"

namespace orv::test {

// Fixed-point forms: latitude metres north times 2^32, longitude 360 degrees
// over 2^64.
inline std::uint64_t latitude_fixed(double degrees) {
  return static_cast<std::uint64_t>(std::llround(degrees * 111130.55555555556 * 4294967296.0));
}
inline std::uint64_t longitude_fixed(double degrees) {
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(degrees / 360.0 * 18446744073709551616.0));
}
inline std::uint64_t metres_north(double metres) {
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(metres * 4294967296.0));
}

struct TestWaypoint {
  std::uint64_t latitude = 0;
  std::uint64_t longitude = 0;
  std::string ident = "WPT";
  std::uint32_t record_size = 64;
};

class TestBlock {
 public:
  // A block of the smallest usable size around the aircraft at (0, 0).
  TestBlock() {
    std::memset(bytes, 0, sizeof bytes);
    aircraft(0, 0);
  }

  template <typename T>
  void put(std::size_t offset, T value) {
    std::memcpy(bytes + offset, &value, sizeof value);
  }

  // A block of the smallest usable size around the aircraft at (lat, lon).
  void aircraft(std::uint64_t lat, std::uint64_t lon, double up = 0.0) {
    put<std::uint32_t>(map::gps_offset::kSize, static_cast<std::uint32_t>(map::kMinimumBlockSize));
    put(map::gps_offset::kLatitude, lat);
    put(map::gps_offset::kLongitude, lon);
    put(map::gps_offset::kUpDirection, up);
  }

  // Lays the waypoints into `records` (64 bytes each) and points the block
  // at them; `active` is the active index (valid flag set).
  void plan(const std::vector<TestWaypoint>& waypoints, std::uint32_t active) {
    records.assign(waypoints.size() * 64 + 8, 0);
    for (std::size_t i = 0; i < waypoints.size(); ++i) {
      unsigned char* r = records.data() + i * 64;
      const TestWaypoint& w = waypoints[i];
      std::memcpy(r, &w.record_size, 4);
      std::memcpy(r + 8, &w.latitude, 8);
      std::memcpy(r + 16, &w.longitude, 8);
      std::memcpy(r + 56, w.ident.data(), std::min<std::size_t>(8, w.ident.size()));
    }
    put<std::uint32_t>(map::gps_offset::kWaypointCount, static_cast<std::uint32_t>(waypoints.size()));
    put<const void*>(map::gps_offset::kWaypoints, records.data());
    put<std::uint32_t>(map::gps_offset::kActiveValid, 1);
    put<std::uint32_t>(map::gps_offset::kActiveIndex, active);
  }

  alignas(8) unsigned char bytes[256];
  std::vector<unsigned char> records;
};

// One call of the layer on its device context.
struct Figure {
  enum Kind { rectangle, polygon, ellipse, line } kind;
  map::Brush brush;
  int a, b, c, d;  // box (l, t, r, b), line (x0, y0, x1, y1), polygon (first point, count)
  bool operator==(const Figure&) const = default;
};

class RecordingCanvas {
 public:
  void select_brush(map::Brush b) { brush_ = b; }
  void select_white_pen() { ++pen_selections; }
  void rectangle(int l, int t, int r, int b) { figures.push_back({Figure::rectangle, brush_, l, t, r, b}); }
  void polygon(const map::Point* p, int n) {
    figures.push_back({Figure::polygon, brush_, p[0].x, p[0].y, n, 0});
    points.assign(p, p + n);
  }
  void ellipse(int l, int t, int r, int b) { figures.push_back({Figure::ellipse, brush_, l, t, r, b}); }
  void move_to(int x, int y) {
    x_ = x;
    y_ = y;
  }
  void line_to(int x, int y) { figures.push_back({Figure::line, brush_, x_, y_, x, y}); }

  std::vector<Figure> of(Figure::Kind kind) const {
    std::vector<Figure> out;
    for (const Figure& f : figures)
      if (f.kind == kind) out.push_back(f);
    return out;
  }

  std::vector<Figure> figures;
  std::vector<map::Point> points;
  int pen_selections = 0;

 private:
  map::Brush brush_ = map::Brush::black;
  int x_ = 0, y_ = 0;
};

inline RecordingCanvas record_layer(const void* block, int width = 286, int height = 286) {
  RecordingCanvas canvas;
  map::draw_map_layer(canvas, width, height, map::read_gps_block(block));
  return canvas;
}

}  // namespace orv::test
