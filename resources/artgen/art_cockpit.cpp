// The built-in panel's window backgrounds: a fighter cockpit's panel
// surround for the main view and the landing view, drawn around where
// data/panels/default/panel.cfg places the gauges. Pure black is the
// panel's transparent colour: the view outside shows through the canopy
// and the head-up display's glass.
#include <cairo.h>

#include <map>

#include "artgen/art.h"
#include "artgen/bytes.h"

namespace orv::art {
namespace {

constexpr Rgb kMetal{58, 62, 67};
constexpr Rgb kMetalLow{40, 43, 47};
constexpr Rgb kShield{26, 28, 31};
constexpr Rgb kBezel{30, 32, 35};
constexpr Rgb kBezelEdge{86, 91, 97};
constexpr Rgb kFrame{46, 49, 53};
constexpr Rgb kStencil{150, 156, 162};

void screw(cairo_t* cr, double x, double y) {
  disc(cr, x, y, 3.0, {74, 78, 83});
  circle(cr, x, y, 3.0, 0.8, {24, 26, 28});
  line(cr, x - 2.0, y - 0.8, x + 2.0, y + 0.8, 0.9, {26, 28, 31});
}

// A recessed frame around an instrument of x, y, w, h, `margin` wide,
// with a screw in each corner.
void bezel(cairo_t* cr, double x, double y, double w, double h, double margin) {
  rounded_box(cr, x - margin, y - margin, w + 2 * margin, h + 2 * margin, margin, kBezel, kBezelEdge, 1.5);
  rect(cr, x - 1.5, y - 1.5, w + 3, h + 3, 1.0, {14, 15, 17});
  const double s = margin / 2.0;
  for (double sx : {x - s, x + w + s})
    for (double sy : {y - s, y + h + s}) screw(cr, sx, sy);
}

}  // namespace

void draw_cockpit_surround(Canvas& c, const CockpitSurround& s) {
  cairo_t* cr = c.cr();
  const double w = c.width(), h = c.height();
  const double shield = s.display_y - 34.0;  // the glare shield's top edge
  // Canopy arch along the top, holding the row of panel keys.
  gradient_rect(cr, 0, 0, w, 34, kFrame, kMetalLow);
  line(cr, 0, 33.5, w, 33.5, 1.0, {20, 22, 24});
  for (double x = 290; x < 860; x += 48) screw(cr, x, 17);
  // Side consoles left and right of the head-up display.
  const double hud_left = s.hud_x - 10, hud_right = s.hud_x + s.hud_w + 10;
  gradient_rect(cr, 0, 34, hud_left, shield - 34, kMetal, kMetalLow);
  gradient_rect(cr, hud_right, 34, w - hud_right, shield - 34, kMetal, kMetalLow);
  // Canopy frame posts along the display's glass.
  for (double x : {hud_left, hud_right - 6}) gradient_rect(cr, x, 34, 6, shield - 34, kFrame, kShield);
  if (s.attitude_w > 0)
    bezel(cr, s.attitude_x + 6, s.attitude_y + 6, s.attitude_w - 12, s.attitude_h - 12, 6);
  // The glare shield: an arched dark brow over the instrument panel.
  cairo_move_to(cr, 0, shield + 14);
  cairo_curve_to(cr, w * 0.3, shield - 10, w * 0.7, shield - 10, w, shield + 14);
  cairo_line_to(cr, w, h);
  cairo_line_to(cr, 0, h);
  cairo_close_path(cr);
  colour(cr, kShield);
  cairo_fill(cr);
  // The instrument panel under it.
  gradient_rect(cr, 0, shield + 20, w, h - shield - 20, kMetal, kMetalLow);
  line(cr, 0, shield + 20.5, w, shield + 20.5, 1.0, {84, 89, 95});
  bezel(cr, 20, s.display_y, 286, 291, 10);
  bezel(cr, 718, s.display_y, 286, 291, 10);
  bezel(cr, s.selector_x, s.selector_y, 231, 210, 7);
  text(cr, kSansBold, 11, 163, s.display_y - 14, Align::kCentre, kStencil, "LEFT DISPLAY");
  text(cr, kSansBold, 11, 861, s.display_y - 14, Align::kCentre, kStencil, "RIGHT DISPLAY");
  if (s.knobs) {
    // The knob and switch strip under the screen selector.
    rounded_box(cr, 378, 614, 250, 70, 6, kMetalLow, {24, 26, 29}, 1.2);
    text(cr, kSansBold, 9, 409, 700, Align::kCentre, kStencil, "BARO");
    text(cr, kSansBold, 9, 469, 700, Align::kCentre, kStencil, "HDG");
    text(cr, kSansBold, 9, 535, 700, Align::kCentre, kStencil, "CRS");
    text(cr, kSansBold, 9, 597, 700, Align::kCentre, kStencil, "SOURCE");
  }
  text(cr, kSansBold, 12, hud_right + (w - hud_right) / 2, shield - 28, Align::kCentre, kStencil, "ORVANE");
  // A dark edge along the bottom.
  fill_rect(cr, 0, h - 4, w, 4, {22, 24, 26});
}

std::vector<std::uint8_t> palettized_bmp(const Canvas& c) {
  // The palette: black (the transparent colour) alone at 0, a 6 x 6 x 6
  // colour cube, then 40 greys; every other colour takes its nearest entry
  // other than black, so only pure black stays transparent.
  std::vector<Rgb> palette{{0, 0, 0}};
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        if (r + g + b > 0) palette.push_back({r * 51, g * 51, b * 51});
  for (int i = 0; i < 40; ++i) palette.push_back({4 + i * 6, 4 + i * 6, 4 + i * 6});
  std::map<std::uint32_t, std::uint8_t> nearest;
  auto index_of = [&](std::uint32_t rgb) -> std::uint8_t {
    if ((rgb & 0xFFFFFF) == 0) return 0;
    if (auto it = nearest.find(rgb); it != nearest.end()) return it->second;
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    std::size_t best = 1;
    int best_d = 1 << 30;
    for (std::size_t i = 1; i < palette.size(); ++i) {
      const int dr = palette[i].r - r, dg = palette[i].g - g, db = palette[i].b - b;
      const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
      if (d < best_d) best_d = d, best = i;
    }
    return nearest[rgb] = static_cast<std::uint8_t>(best);
  };
  cairo_surface_flush(c.surface());
  const unsigned row = (static_cast<unsigned>(c.width()) + 3) & ~3u;
  const unsigned image = row * static_cast<unsigned>(c.height());
  const unsigned header = 54 + 4 * 256;
  std::vector<std::uint8_t> v;
  v.reserve(header + image);
  v.push_back('B');
  v.push_back('M');
  put_u32(v, header + image);
  put_u32(v, 0);
  put_u32(v, header);
  put_u32(v, 40);
  put_u32(v, static_cast<unsigned>(c.width()));
  put_u32(v, static_cast<unsigned>(c.height()));
  put_u16(v, 1);
  put_u16(v, 8);
  put_u32(v, 0);  // uncompressed
  put_u32(v, image);
  put_u32(v, 2835);
  put_u32(v, 2835);
  put_u32(v, 256);
  put_u32(v, 0);
  for (const Rgb& p : palette) {
    v.push_back(static_cast<std::uint8_t>(p.b));
    v.push_back(static_cast<std::uint8_t>(p.g));
    v.push_back(static_cast<std::uint8_t>(p.r));
    v.push_back(0);
  }
  const unsigned char* data = cairo_image_surface_get_data(c.surface());
  const int stride = cairo_image_surface_get_stride(c.surface());
  for (int y = c.height() - 1; y >= 0; --y) {
    const auto* p = reinterpret_cast<const std::uint32_t*>(data + y * stride);
    for (int x = 0; x < c.width(); ++x) v.push_back(index_of(p[x]));
    for (unsigned pad = static_cast<unsigned>(c.width()); pad < row; ++pad) v.push_back(0);
  }
  return v;
}

std::vector<PanelBackground> panel_backgrounds() {
  CockpitSurround main_view;
  main_view.hud_x = 302;
  main_view.hud_w = 420;
  main_view.display_y = 400;
  main_view.selector_x = 396;
  main_view.selector_y = 400;
  main_view.attitude_x = 0;
  main_view.attitude_y = 64;
  main_view.attitude_w = 300;
  main_view.attitude_h = 270;
  main_view.knobs = true;
  CockpitSurround landing = main_view;
  landing.hud_x = 262;
  landing.hud_w = 500;
  landing.display_y = 460;
  landing.selector_y = 470;
  landing.attitude_w = 0;
  landing.knobs = false;
  return {{"orvane_main_view.bmp", main_view}, {"orvane_landing_view.bmp", landing}};
}

}  // namespace orv::art
