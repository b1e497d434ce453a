#include "traffic/radar_display.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <new>

#include "frame/digest.h"
#include "frame/elements.h"
#include "frame/host_services.h"
#include "traffic/radar_canvas.h"

namespace orv::traffic {

using namespace abi;
using canvas::Colour;

namespace {

constexpr Colour kBlack{255, 0, 0, 0};
constexpr Colour kGreen{255, 0, 255, 0};
constexpr Colour kYellow{255, 255, 255, 0};
constexpr Colour kRed{255, 255, 0, 0};
constexpr Colour kWhite{255, 255, 255, 255};
constexpr double kPenWidth = 0.5;

Colour threat_colour(std::int32_t level) {
  switch (level) {
    case kThreatEngineOff:
      return kWhite;
    case kThreatCaution:
      return kYellow;
    case kThreatWarning:
      return kRed;
    default:
      return kGreen;
  }
}

bool finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

// A float converted to int the way the C runtime would for values in range;
// out-of-range and non-finite values saturate (0 for NaN) instead of being
// undefined.
int to_int(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(v);
}

}  // namespace

void altitude_tag(double relative_altitude, char* out, std::size_t size) {
  if (out == nullptr || size == 0) return;
  out[0] = '\0';
  const double h = relative_altitude / 100.0;
  if (!(std::fabs(h) < 100.0)) return;
  if (relative_altitude < 0.0) {
    format_bounded(out, size, "-%02d", to_int(std::floor(-h + 0.5)));
  } else {
    format_bounded(out, size, "+%02d", to_int(std::floor(h + 0.5)));
  }
}

RadarDisplay::RadarDisplay() {
  startup_token_ = canvas::start_library();
  client_ = new (std::nothrow) TrafficClient();
}

RadarDisplay::~RadarDisplay() {
  delete client_;
  canvas::delete_graphics(graphics_);
  if (startup_token_ != 0) canvas::stop_library(startup_token_);
}

void RadarDisplay::release() {
  surface_ = nullptr;
  shown_ = false;
  canvas::delete_graphics(graphics_);
  graphics_ = nullptr;
}

void RadarDisplay::set_up(ElementHeader* surface, double w, double h) {
  release();
  if (surface == nullptr) return;
  surface_ = surface;
  auto* s = reinterpret_cast<StaticElement*>(surface);
  if (s->device_context == nullptr) return;
  graphics_ = canvas::create_graphics(s->device_context);
  if (graphics_ == nullptr) return;
  half_width_ = static_cast<float>(std::max(w / 2.0, 1.0));
  half_height_ = static_cast<float>(std::max(h / 2.0, 1.0));
  const Image* image = s->image.final_image;
  if (image == nullptr || image->dim.x <= 0 || image->dim.y <= 0) return;
  canvas::set_up_space(graphics_, image->dim.x / (2.0 * half_width_), image->dim.y / (2.0 * half_height_),
                       half_width_, half_height_);
  draw_picture();
}

namespace {

// The operations of a picture digested (FNV-1a over each operation's kind,
// colour, numbers and text): two pictures with one digest draw the same
// pixels.
class PictureDigest {
 public:
  void fill_rect(Colour c, double x, double y, double w, double h) { mix(1, c, {x, y, w, h}); }
  void ellipse(Colour c, double width, double x, double y, double w, double h) {
    mix(2, c, {width, x, y, w, h});
  }
  void line(Colour c, double width, double x1, double y1, double x2, double y2) {
    mix(3, c, {width, x1, y1, x2, y2});
  }
  void text(Colour c, const char* text, double x, double y) {
    mix(4, c, {x, y});
    for (const char* p = text; p != nullptr && *p != '\0'; ++p) h_.byte(static_cast<unsigned char>(*p));
    h_.byte(0);
  }
  std::uint64_t digest() const { return h_.value(); }

 private:
  void mix(unsigned kind, Colour c, std::initializer_list<double> numbers) {
    h_.byte(kind);
    for (unsigned v : {c.a, c.r, c.g, c.b}) h_.byte(v);
    for (double d : numbers) h_.number(d);
  }
  Fnv1a h_;
};

}  // namespace

void RadarDisplay::draw_picture() {
  if (surface_ == nullptr || graphics_ == nullptr) return;
  best_hover_ = -1.0;
  format_bounded(label_, sizeof label_, "%s", kNoHoverLabel);
  const bool powered = read_token_f64(numbers::kTokenAvionicsSupply) > 10.0;
  double heading = 0.0;
  if (powered && client_ != nullptr) {
    client_->refresh(kMaxAircraft, kSearchRadiusNm);
    heading = read_token_f64(kHeadingToken);
    const TrafficRecord* records = client_->records();
    double x = 0.0, y = 0.0;
    for (u32 i = 0; i < client_->count(); ++i)
      if (symbol_at(records[i], heading, &x, &y)) hover(records[i], x, y);
  }

  PictureDigest digest;
  paint(digest, powered, heading);
  if (shown_ && digest.digest() == shown_digest_ && canvas::repeats_exactly(graphics_)) return;
  {
    canvas::Picture picture(graphics_);
    paint(picture, powered, heading);
  }
  shown_digest_ = digest.digest();
  shown_ = true;
  surface_->flags &= ~kOnScreenFlag;
}

template <typename Canvas>
void RadarDisplay::paint(Canvas& canvas, bool powered, double heading) const {
  const double hw = half_width_, hh = half_height_;
  canvas.fill_rect(kBlack, -hw, -hh, 2.0 * hw, 2.0 * hh);
  if (!powered) return;
  if (client_ != nullptr) {
    const TrafficRecord* records = client_->records();
    for (u32 i = 0; i < client_->count(); ++i) draw_symbol(canvas, records[i], heading);
  }
  canvas.ellipse(kGreen, kPenWidth, -2.0 * hw / 3.0, -2.0 * hh / 3.0, 4.0 * hw / 3.0, 4.0 * hh / 3.0);
  canvas.ellipse(kGreen, kPenWidth, -hw / 3.0, -hh / 3.0, 2.0 * hw / 3.0, 2.0 * hh / 3.0);
  char ring[32];
  format_bounded(ring, sizeof ring, "%.0f NM", 2.0 * range_ / 3.0);
  canvas.text(kGreen, ring, 2.0 * hw / 3.0 + 1.0, 1.0);
  canvas.line(kGreen, kPenWidth, 0.0, -hh, 0.0, hh);
  canvas.line(kGreen, kPenWidth, -hw, 0.0, hw, 0.0);
  canvas.line(kGreen, kPenWidth, -hw, -hh, hw, hh);
  canvas.line(kGreen, kPenWidth, -hw, hh, hw, -hh);
}

bool RadarDisplay::symbol_at(const TrafficRecord& r, double heading, double* x, double* y) const {
  if (!(r.slant_range > 3.0)) return false;
  const double hw = half_width_;
  const double a = (r.bearing - heading) / kDegreesPerRadian;
  *x = std::sin(a) * hw * r.distance / range_;
  *y = -std::cos(a) * hw * r.distance / range_;
  return finite(*x, *y);  // not a position the service gave as NaN or infinite
}

template <typename Canvas>
void RadarDisplay::draw_symbol(Canvas& canvas, const TrafficRecord& r, double heading) const {
  double x = 0.0, y = 0.0;
  if (!symbol_at(r, heading, &x, &y)) return;
  const Colour colour = threat_colour(r.threat);
  canvas.ellipse(colour, kPenWidth, x - 1.5, y - 1.5, 3.0, 3.0);
  char tag[16];
  altitude_tag(r.relative_altitude, tag, sizeof tag);
  if (r.ground_speed > 0.0) {
    const double t = (r.track - heading) / kDegreesPerRadian;
    const double x2 = x + 4.0 * std::sin(t), y2 = y - 4.0 * std::cos(t);
    if (finite(x2, y2)) canvas.line(colour, kPenWidth, x, y, x2, y2);
  }
  canvas.text(colour, tag, x + 2.0, y - 2.25);
}

void RadarDisplay::hover(const TrafficRecord& r, double x, double y) {
  const double q = (x - cursor_x_) * (x - cursor_x_) + (y - cursor_y_) * (y - cursor_y_);
  if (!(q <= kHoverRadiusSquared) || !(best_hover_ < 0.0 || q < best_hover_)) return;
  best_hover_ = q;
  char id[sizeof r.atc_id];
  std::memcpy(id, r.atc_id, sizeof id);
  id[sizeof id - 1] = '\0';
  format_bounded(label_, sizeof label_, "ID: %s ALT: %dft GS: %.0fkt TRK: %.0f\xB0 DST: %.1fnm", id,
                 to_int(std::floor(r.relative_altitude / 100.0 + 0.5) * 100.0), r.ground_speed, r.track,
                 r.distance);
}

double RadarDisplay::set_range(double v) {
  if (v < kMinRange) v = kMinRange;
  if (v >= kMaxRange) v = kMaxRange;
  range_ = v;
  draw_picture();
  return range_;
}

void RadarDisplay::set_cursor(double fx, double fy) {
  cursor_x_ = 2.0 * half_width_ * (fx - 0.5);
  cursor_y_ = 2.0 * half_height_ * (fy - 0.5);
}

}  // namespace orv::traffic
