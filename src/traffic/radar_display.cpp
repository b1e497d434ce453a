#include "traffic/radar_display.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

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

void RadarDisplay::draw_picture() {
  if (surface_ == nullptr || graphics_ == nullptr) return;
  canvas::Picture picture(graphics_);
  const double hw = half_width_, hh = half_height_;
  picture.fill_rect(kBlack, -hw, -hh, 2.0 * hw, 2.0 * hh);
  best_hover_ = -1.0;
  format_bounded(label_, sizeof label_, "%s", kNoHoverLabel);

  if (read_token_f64(numbers::kTokenAvionicsSupply) > 10.0) {
    if (client_ != nullptr) {
      client_->refresh(kMaxAircraft, kSearchRadiusNm);
      const double heading = read_token_f64(kHeadingToken);
      const TrafficRecord* records = client_->records();
      for (u32 i = 0; i < client_->count(); ++i) draw_symbol(picture, records[i], heading);
    }
    picture.ellipse(kGreen, kPenWidth, -2.0 * hw / 3.0, -2.0 * hh / 3.0, 4.0 * hw / 3.0, 4.0 * hh / 3.0);
    picture.ellipse(kGreen, kPenWidth, -hw / 3.0, -hh / 3.0, 2.0 * hw / 3.0, 2.0 * hh / 3.0);
    char ring[32];
    format_bounded(ring, sizeof ring, "%.0f NM", 2.0 * range_ / 3.0);
    picture.text(kGreen, ring, 2.0 * hw / 3.0 + 1.0, 1.0);
    picture.line(kGreen, kPenWidth, 0.0, -hh, 0.0, hh);
    picture.line(kGreen, kPenWidth, -hw, 0.0, hw, 0.0);
    picture.line(kGreen, kPenWidth, -hw, -hh, hw, hh);
    picture.line(kGreen, kPenWidth, -hw, hh, hw, -hh);
  }
  surface_->flags &= ~kOnScreenFlag;
}

void RadarDisplay::draw_symbol(canvas::Picture& picture, const TrafficRecord& r, double heading) {
  if (graphics_ == nullptr || !(r.slant_range > 3.0)) return;
  const Colour colour = threat_colour(r.threat);
  const double hw = half_width_;
  const double a = (r.bearing - heading) / kDegreesPerRadian;
  const double x = std::sin(a) * hw * r.distance / range_;
  const double y = -std::cos(a) * hw * r.distance / range_;
  if (!finite(x, y)) return;  // a position the service gave as NaN or infinite
  picture.ellipse(colour, kPenWidth, x - 1.5, y - 1.5, 3.0, 3.0);
  char tag[16];
  altitude_tag(r.relative_altitude, tag, sizeof tag);
  if (r.ground_speed > 0.0) {
    const double t = (r.track - heading) / kDegreesPerRadian;
    const double x2 = x + 4.0 * std::sin(t), y2 = y - 4.0 * std::cos(t);
    if (finite(x2, y2)) picture.line(colour, kPenWidth, x, y, x2, y2);
  }
  picture.text(colour, tag, x + 2.0, y - 2.25);
  hover(r, x, y);
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
