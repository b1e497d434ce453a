// The radar display: draws the traffic picture into the device context of the
// radar's drawing surface, heading-up around the user's aircraft: a black
// disc, two range rings, axis and diagonal lines, the ring label, and per
// aircraft a small circle, a velocity vector and a relative-altitude tag in
// the colour of its threat level. It also keeps the range, the cursor and the
// description of the aircraft under the cursor.
//
// A picture is drawn only when it would differ from the one the surface
// shows: the display digests what it would draw (the power, the range, the
// heading and every symbol as the traffic list places it) and leaves the
// surface, and its "on screen" flag, as they are when the digest is the one
// of the last picture and the back end says that drawing that picture again
// would change no pixel. The label follows the cursor and the traffic at
// every picture, drawn or not.
//
// Drawing space: 2hw x 2hh design units (286 x 286 as the gauge sets it up),
// origin at the centre, x right, y down, clipped to the disc of radius hw.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/cockpit_numbers.h"
#include "frame/gauge_abi.h"
#include "traffic/traffic_client.h"

namespace orv::traffic {

namespace canvas {
class Picture;
}

inline constexpr double kInitialRange = 15.0;
inline constexpr double kMinRange = 1.875;
inline constexpr double kMaxRange = 120.0;
inline constexpr abi::u32 kMaxAircraft = 100;
inline constexpr double kSearchRadiusNm = 144.0;
inline constexpr abi::u32 kHeadingToken = 86;  // the user's heading, degrees
inline constexpr double kHoverRadiusSquared = 9.0;
inline constexpr const char* kNoHoverLabel = "place cursor over symbol";

// "-%02d" / "+%02d" of the rounded magnitude of relative altitude / 100, or
// an empty tag from 100 hundreds of feet on. `size` bytes of `out`, never more.
void altitude_tag(double relative_altitude, char* out, std::size_t size);

class RadarDisplay {
 public:
  RadarDisplay();
  virtual ~RadarDisplay();
  RadarDisplay(const RadarDisplay&) = delete;
  RadarDisplay& operator=(const RadarDisplay&) = delete;

  // Binds the drawing to `surface` (a static image the host gives a device
  // context and an image) with a design size of w x h, and draws a picture.
  void set_up(abi::ElementHeader* surface, double w, double h);
  // Forgets the surface and deletes the graphics object.
  void release();
  void draw_picture();

  // Stores v clamped to 1.875 .. 120, draws a picture, returns the range.
  double set_range(double v);
  double double_range() { return set_range(range_ * 2.0); }
  double halve_range() { return set_range(range_ / 2.0); }

  // The cursor from fractions 0..1 of the drawing area; drawn by the next
  // picture.
  void set_cursor(double fx, double fy);

  double range() const { return range_; }
  const char* label() const { return label_; }
  double cursor_x() const { return cursor_x_; }
  double cursor_y() const { return cursor_y_; }
  const TrafficClient* client() const { return client_; }
  bool bound() const { return surface_ != nullptr && graphics_ != nullptr; }

 private:
  // The symbol's centre in design units, false when it is not drawn (the
  // user's own aircraft, or a position that is not finite).
  bool symbol_at(const TrafficRecord& r, double heading, double* x, double* y) const;
  // The picture's operations, on a canvas::Picture or a digest of them.
  template <typename Canvas>
  void paint(Canvas& canvas, bool powered, double heading) const;
  template <typename Canvas>
  void draw_symbol(Canvas& canvas, const TrafficRecord& r, double heading) const;
  void hover(const TrafficRecord& r, double x, double y);

  void* graphics_ = nullptr;
  std::uintptr_t startup_token_ = 0;
  double range_ = kInitialRange;
  abi::ElementHeader* surface_ = nullptr;
  float half_width_ = 50.0f, half_height_ = 50.0f;
  double cursor_x_ = 0.0, cursor_y_ = 0.0;
  double best_hover_ = -1.0;
  TrafficClient* client_ = nullptr;
  std::uint64_t shown_digest_ = 0;  // of the last picture drawn (valid when `shown_`)
  bool shown_ = false;
  char label_[81] = {};
};

}  // namespace orv::traffic
