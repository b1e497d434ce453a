// The glass displays: left MFD pages (radar, map, radios, weapons, navigation
// arc), right MFD pages (navigation circle, engine, controls), the radar face
// and the flight map's symbols. Dark glass, thin white graduations, colour by
// source: white own data, cyan ADF, green NAV 2, magenta selected values.
#include <cmath>
#include <string>

#include "artgen/art.h"

namespace orv::art {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr Rgb kLabel{178, 188, 196};
constexpr Rgb kDim{70, 96, 110};
constexpr Rgb kOutline{150, 162, 172};

// A label turned with its card: upright when the card's `deg` is at the top.
void radial_label(cairo_t* cr, double cx, double cy, double deg, double r, Font f, double px, Rgb c,
                  const std::string& s) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, deg * kPi / 180);
  text_at(cr, f, px, 0, -r, c, s);
  cairo_restore(cr);
}

void compass_card(cairo_t* cr, double cx, double cy, double r, double label_r, double px, Rgb c) {
  circle(cr, cx, cy, r, 1.0, c);
  for (int d = 0; d < 360; d += 5)
    tick(cr, cx, cy, d, r - (d % 10 == 0 ? 11 : 6), r, d % 10 == 0 ? 1.5 : 1.0, c);
  for (int d = 0; d < 360; d += 30)
    radial_label(cr, cx, cy, d, label_r, kSansBold, px, c, std::to_string(d / 10));
}

void dashed_circle(cairo_t* cr, double cx, double cy, double r, double width, Rgb c) {
  static const double kDash[] = {5.0, 4.0};
  cairo_set_dash(cr, kDash, 2, 0);
  circle(cr, cx, cy, r, width, c);
  cairo_set_dash(cr, nullptr, 0, 0);
}

void arrow_box(cairo_t* cr, double x, double y, double w, double h, bool up) {
  rounded_path(cr, x + 0.5, y + 0.5, w - 1, h - 1, 2);
  colour(cr, kLabel);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  const double cx = x + w / 2, cy = y + h / 2;
  if (up)
    polygon(cr, {cx, cy - 5, cx + 6, cy + 4, cx - 6, cy + 4}, kWhite);
  else
    polygon(cr, {cx, cy + 5, cx + 6, cy - 4, cx - 6, cy - 4}, kWhite);
}

// Pointer along the vertical through (c, c), head up: the arc page's ADF and
// NAV 2 pointers and course line.
void vertical_pointer(cairo_t* cr, double c, double head, double tail, double gap, Rgb k, bool twin,
                      double width) {
  const double offs[2] = {-3.0, 3.0};
  for (int i = 0; i < (twin ? 2 : 1); ++i) {
    const double x = c + (twin ? offs[i] : 0);
    line(cr, x, c - gap, x, c - head + 14, width, k);
    line(cr, x, c + gap, x, c + tail, width, k);
  }
  polygon(cr, {c, c - head, c + 7, c - head + 15, c - 7, c - head + 15}, k);
}

}  // namespace

void draw_display_glass(Canvas& c) {
  cairo_t* cr = c.cr();
  fill_rect(cr, 0, 0, c.width(), c.height(), kGlass);
  rect(cr, 0.5, 0.5, c.width() - 1, c.height() - 1, 1.0, kGlassEdge);
}

void draw_radar_page(Canvas& c) {
  cairo_t* cr = c.cr();
  const double cx = 145, cy = 146;  // centre of the radar picture at (2,3)
  circle(cr, cx, cy, 140, 1.2, kDim);
  dashed_circle(cr, cx, cy, 70, 1.0, kDim);
  for (int d = 0; d < 360; d += 30) tick(cr, cx, cy, d, 132, 140, 1.2, kDim);
  text(cr, kSansBold, 10, 250, 20, Align::kRight, kLabel, "15 NM");
  arrow_box(cr, 259, 245, 24, 20, true);
  arrow_box(cr, 259, 268, 24, 20, false);
}

void draw_map_page(Canvas& c) {
  cairo_t* cr = c.cr();
  const double cx = 143, cy = 143;
  arc_cw(cr, cx, cy, 130, -60, 60, 1.3, kLabel);
  for (int d = -60; d <= 60; d += 10) tick(cr, cx, cy, d, d % 30 == 0 ? 120 : 124, 130, 1.2, kLabel);
  dashed_circle(cr, cx, cy, 46, 1.0, kDim);
  dashed_circle(cr, cx, cy, 93, 1.0, kDim);
  polygon(cr, {cx, cy - 6, cx + 5, cy + 6, cx - 5, cy + 6}, kWhite);
  struct Label {
    double x, y;
    const char* s;
  };
  static constexpr Label kLabels[] = {{10, 210, "GRD SPD"}, {10, 234, "TRACK"},    {10, 256, "NEXT WP"},
                                      {10, 280, "DIST"},    {150, 210, "AIR SPD"}, {150, 234, "HDG"},
                                      {150, 256, "ALTI"},   {150, 281, "RNG"}};
  for (const Label& l : kLabels) text(cr, kSansBold, 9, l.x, l.y, Align::kLeft, kLabel, l.s);
  line(cr, 6, 190, 280, 190, 1.0, kGlassEdge);
}

void draw_radios_page(Canvas& c) {
  cairo_t* cr = c.cr();
  line(cr, 147, 4, 147, 219, 1.0, kDim);
  for (double y : {84.0, 168.0, 219.0}) line(cr, 6, y, 280, y, 1.0, kDim);
  struct Label {
    double x, y;
    const char* s;
  };
  static constexpr Label kLabels[] = {{95, 20, "COM1"},   {203, 20, "COM2"}, {95, 103, "NAV1"},
                                      {203, 103, "NAV2"}, {89, 184, "ADF"},  {194, 184, "IFF"}};
  for (const Label& l : kLabels) text(cr, kSansBold, 11, l.x, l.y, Align::kCentre, kLabel, l.s);
  // Swap boxes, unlit, and the active/standby marks beside the figures.
  for (auto [x, y] :
       {std::pair{9.0, 41.0}, std::pair{250.0, 41.0}, std::pair{9.0, 122.0}, std::pair{250.0, 122.0}}) {
    rounded_path(cr, x + 0.5, y + 0.5, 26, 18, 3);
    colour(cr, kDim);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    line(cr, x + 7, y + 6, x + 20, y + 6, 1.0, kDim);
    line(cr, x + 7, y + 13, x + 20, y + 13, 1.0, kDim);
  }
  text(cr, kSansBold, 8, 143, 251, Align::kCentre, kLabel, "AUDIO");
  static constexpr const char* kButtons[] = {"ON/OFF", "NAV1", "NAV2", "ADF", "MKR"};
  for (int b = 0; b < 5; ++b) {
    const double x = 11 + 55 * b;
    rounded_box(cr, x + 0.5, 257.5, 42, 18, 3, {22, 27, 31}, kOutline, 1.0);
    text(cr, kSansBold, 8, x + 21.5, 272, Align::kCentre, kWhite, kButtons[b]);
  }
}

void draw_swap_box_lit(Canvas& c) {
  cairo_t* cr = c.cr();
  rounded_path(cr, 0.5, 0.5, 26, 18, 3);
  colour(cr, kGreen);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  line(cr, 6, 6, 18, 6, 1.3, kGreen);
  polygon(cr, {22, 6, 17, 3, 17, 9}, kGreen);
  line(cr, 9, 13, 21, 13, 1.3, kGreen);
  polygon(cr, {5, 13, 10, 10, 10, 16}, kGreen);
}

void draw_button_lamp(Canvas& c) {
  cairo_t* cr = c.cr();
  rounded_path(cr, 8, 2, 27, 4, 1.5);
  colour(cr, {60, 255, 90});
  cairo_fill(cr);
}

void draw_weapons_page(Canvas& c) {
  cairo_t* cr = c.cr();
  const double x = 143;
  text(cr, kSansBold, 11, x, 20, Align::kCentre, kLabel, "STORES");
  // Plan view of the aircraft.
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  polygon(cr, {x,      40,  x + 8,  70,  x + 12, 120, x + 95, 175, x + 95, 190, x + 14, 190, x + 14, 215,
               x + 40, 240, x + 40, 250, x + 8,  246, x - 8,  246, x - 40, 250, x - 40, 240, x - 14, 215,
               x - 14, 190, x - 95, 190, x - 95, 175, x - 12, 120, x - 8,  70},
          kOutline, 1.5);
  // Stations: wing tips, outer and inner pylons, centreline.
  struct Store {
    double dx, y, len;
    const char* name;
    int station;
  };
  static constexpr Store kStores[] = {
      {95, 170, 34, "SRM", 1}, {68, 160, 40, "MRM", 2}, {42, 143, 36, "GBU", 3}, {0, 160, 44, "TANK", 5}};
  for (const Store& s : kStores) {
    for (int side : {-1, 1}) {
      if (s.dx == 0 && side > 0) continue;
      const double sx = x + side * s.dx;
      const double w = s.name[0] == 'T' ? 5 : s.name[0] == 'G' ? 4 : 2.5;
      rounded_path(cr, sx - w, s.y - s.len / 2, 2 * w, s.len, w);
      colour(cr, {0, 220, 90});
      cairo_fill(cr);
      const int station = s.dx == 0 ? s.station : side < 0 ? s.station : 10 - s.station;
      text(cr, kSansBold, 9, sx, s.y + s.len / 2 + 12, Align::kCentre, kWhite, std::to_string(station));
    }
  }
  text(cr, kSansBold, 9, 16, 272, Align::kLeft, kCyan, "SRM 2   MRM 2   GBU 2   TANK 1");
  text(cr, kSansBold, 9, 16, 286, Align::kLeft, kCyan, "GUN 400   MASTER ARM SAFE");
}

void draw_arc_page(Canvas& c) {
  cairo_t* cr = c.cr();
  const double cx = 143, cy = 212;
  polygon(cr, {cx, 33, cx - 6, 24, cx + 6, 24}, kWhite);  // lubber mark over the card
  static const double kDash[] = {2.0, 5.0};
  cairo_set_dash(cr, kDash, 2, 0);
  arc_cw(cr, cx, cy, 89, -60, 60, 1.0, kDim);
  cairo_set_dash(cr, nullptr, 0, 0);
  line(cr, 6, 226, 280, 226, 1.0, kGlassEdge);
}

void draw_arc_card(Canvas& c) {
  const double m = c.width() / 2.0;
  compass_card(c.cr(), m, m, 170, 146, 13, kWhite);
}

void draw_arc_pointer(Canvas& c, Rgb k, bool double_line) {
  vertical_pointer(c.cr(), c.width() / 2.0, 160, 150, 40, k, double_line, 1.6);
}

void draw_arc_heading_bug(Canvas& c) {
  cairo_t* cr = c.cr();
  const double m = c.width() / 2.0;
  polygon(cr, {m - 9, m - 181, m + 9, m - 181, m + 9, m - 171, m, m - 175, m - 9, m - 171}, kMagenta);
  static const double kDots[] = {1.5, 5.0};
  cairo_set_dash(cr, kDots, 2, 0);
  line(cr, m, m - 168, m, m - 20, 1.2, kMagenta);
  cairo_set_dash(cr, nullptr, 0, 0);
}

void draw_arc_course_line(Canvas& c) {
  cairo_t* cr = c.cr();
  const double m = c.width() / 2.0;
  vertical_pointer(cr, m, 150, 150, 62, kWhite, false, 2.0);
  for (double d : {-130.0, -120.0, -110.0}) line(cr, m - 5, m - d, m + 5, m - d, 1.5, kWhite);
}

void draw_arc_deviation_scale(Canvas& c) {
  cairo_t* cr = c.cr();
  const double m = c.width() / 2.0;
  for (double d : {-48.0, -24.0, 24.0, 48.0}) circle(cr, m + d, m, 3.5, 1.3, kWhite);
  line(cr, m, m - 138, m, m - 126, 3.0, kMagenta);
  line(cr, m, m + 126, m, m + 138, 3.0, kMagenta);
}

void draw_arc_deviation_bar(Canvas& c, bool solid) {
  cairo_t* cr = c.cr();
  const double m = c.width() / 2.0;
  if (solid) {
    fill_rect(cr, m - 2.5, m - 58, 5, 116, kMagenta);
  } else {
    rect(cr, m - 2.5, m - 58, 5, 116, 1.3, kMagenta);
  }
}

void draw_arc_mask(Canvas& c) { draw_disc_mask(c, 143, 212, 186, 226); }

void draw_disc_mask(Canvas& c, double cx, double cy, double r, double max_y) {
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, 0, 0, c.width(), std::min<double>(max_y, c.height()));
  cairo_clip(cr);
  disc(cr, cx, cy, r, {255, 255, 255});
  cairo_reset_clip(cr);
}

void draw_aircraft_symbol(Canvas& c, double apex_x, double apex_y, double span, Rgb k) {
  cairo_t* cr = c.cr();
  const double len = c.height() - apex_y - 1.5;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  line(cr, apex_x, apex_y, apex_x, apex_y + len, 2.0, k);
  line(cr, apex_x - span / 2, apex_y + 0.38 * len, apex_x + span / 2, apex_y + 0.38 * len, 2.0, k);
  line(cr, apex_x - span / 5, apex_y + len, apex_x + span / 5, apex_y + len, 2.0, k);
}

void draw_glideslope_scale(Canvas& c, double step) {
  cairo_t* cr = c.cr();
  const double cx = c.width() / 2.0, cy = c.height() / 2.0;
  for (double d : {-2.0, -1.0, 1.0, 2.0}) circle(cr, cx, cy + d * step, 3.2, 1.3, kWhite);
  line(cr, 2, cy, c.width() - 2, cy, 2.0, kWhite);
}

void draw_glideslope_pointer(Canvas& c) {
  const double w = c.width(), h = c.height();
  polygon(c.cr(), {w / 2, 1, w - 2, h / 2, w / 2, h - 1, 2, h / 2}, kMagenta);
}

void draw_hsi_marks(Canvas& c) {
  cairo_t* cr = c.cr();
  const double cx = 147, cy = 145;
  rect(cr, 119.5, 0.5, 53, 24, 1.2, kWhite);
  polygon(cr, {cx, 38, cx - 6, 28, cx + 6, 28}, kWhite);
  for (int d = 45; d < 360; d += 45) tick(cr, cx, cy, d, 108, 117, 2.0, kWhite);
}

void draw_hsi_rose(Canvas& c) {
  const double m = c.width() / 2.0;
  compass_card(c.cr(), m, m, 104, 80, 13, kWhite);
}

void draw_hsi_heading_bug(Canvas& c) {
  polygon(c.cr(), {104, 4, 111, 4, 111, 20, 104, 20, 108, 12}, kMagenta);
}

void draw_hsi_course_pointer(Canvas& c) {
  cairo_t* cr = c.cr();
  const double x = 65;
  polygon(cr, {x, 10, x + 8, 26, x - 8, 26}, kWhite);
  line(cr, x, 25, x, 50, 3.0, kWhite);
  line(cr, x, 140, x, 180, 3.0, kWhite);
  for (double d : {-50.0, -25.0, 25.0, 50.0}) circle(cr, x + d, 95, 3.5, 1.4, kWhite);
}

void draw_hsi_bearing_pointer(Canvas& c, Rgb k, bool double_line) {
  cairo_t* cr = c.cr();
  const double y = c.height() / 2.0;
  const double offs[2] = {-3.0, 3.0};
  for (int i = 0; i < (double_line ? 2 : 1); ++i) {
    const double yy = y + (double_line ? offs[i] : 0);
    line(cr, 16, yy, 84, yy, 1.6, k);
    line(cr, 144, yy, 198, yy, 1.6, k);
  }
  polygon(cr, {214, y, 197, y - 7, 197, y + 7}, k);
}

void draw_hsi_deviation_bar(Canvas& c, bool solid) {
  if (solid)
    fill_rect(c.cr(), 2, 1, 6, 78, kMagenta);
  else
    rect(c.cr(), 2.5, 1.5, 5, 77, 1.4, kMagenta);
}

void draw_hsi_to_from(Canvas& c) { polygon(c.cr(), {9, 2, 17, 16, 1, 16}, kWhite); }

void draw_engine_overlay(Canvas& c) {
  cairo_t* cr = c.cr();
  static constexpr double kCentres[4] = {37, 102, 167, 232};
  static constexpr const char* kRows[4] = {"N1", "EGT", "N2", "FF"};
  for (int row = 0; row < 4; ++row) {
    for (double cx : {70.0, 216.0}) {
      const double cy = kCentres[row];
      // Cover the inside and the gap at the bottom with glass, so the wedges
      // show as a coloured arc that starts at the lower left.
      disc(cr, cx, cy, 21, kGlass);
      colour(cr, kGlass);
      cairo_move_to(cr, cx, cy);
      cairo_arc(cr, cx, cy, 34, (134 - 90) * kPi / 180, (226 - 90) * kPi / 180);
      cairo_close_path(cr);
      cairo_fill(cr);
      arc_cw(cr, cx, cy, 33, 226, 494, 1.5, kOutline);
      tick(cr, cx, cy, 226, 27, 36, 1.5, kOutline);
      tick(cr, cx, cy, 134, 27, 36, 1.5, kOutline);
      circle(cr, cx, cy, 21, 1.0, {40, 48, 56});
    }
    text_at(cr, kSansBold, 12, 143, kCentres[row], kLabel, kRows[row]);
  }
  text(cr, kSansBold, 11, 80, 284, Align::kRight, kLabel, "AB");
  text(cr, kSansBold, 11, 232, 284, Align::kRight, kLabel, "FUEL %");
}

void draw_engine_wedge(Canvas& c, Rgb k) {
  cairo_t* cr = c.cr();
  // Quarter disc behind the needle direction (+x), corner at the pivot (0,31).
  colour(cr, k);
  cairo_move_to(cr, 0, 31);
  cairo_arc(cr, 0, 31, 31, -kPi / 2, 0);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void draw_controls_face(Canvas& c) {
  cairo_t* cr = c.cr();
  const double x = 143;
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  // Fuselage, cropped-delta wings and twin fins in plan view.
  polygon(cr, {x,       52,  x + 7,  70,  x + 12, 100, x + 13, 138, x + 18, 140, x + 98,  158,
               x + 107, 232, x + 18, 226, x + 14, 240, x + 30, 262, x + 30, 270, x + 10,  266,
               x - 10,  266, x - 30, 270, x - 30, 262, x - 14, 240, x - 18, 226, x - 107, 232,
               x - 98,  158, x - 18, 140, x - 13, 138, x - 12, 100, x - 7,  70},
          kOutline, 1.4);
  text(cr, kSansBold, 10, 10, 22, Align::kLeft, kLabel, "HYDR 1");
  text(cr, kSansBold, 10, 10, 42, Align::kLeft, kLabel, "HYDR 2");
  text(cr, kSansBold, 9, 15, 91, Align::kLeft, kLabel, "FLAPS");
  text(cr, kSansBold, 9, 15, 135, Align::kLeft, kLabel, "SLATS");
  for (double gx : {201.0, 235.0, 269.0}) circle(cr, gx, 18, 13, 1.2, kOutline);
  text(cr, kSansBold, 9, 235, 45, Align::kCentre, kLabel, "GEAR");
}

void draw_gear_leg(Canvas& c, int state) {
  cairo_t* cr = c.cr();
  if (state == 0) text_at(cr, kSansBold, 10, 15, 15, kWhite, "UP");
  if (state == 1) disc(cr, 15, 15, 8, kRed);
  if (state == 2) {
    disc(cr, 15, 15, 12, {0, 210, 70});
    text_at(cr, kSansBold, 10, 15, 15, {8, 30, 12}, "DN");
  }
}

void draw_slat_bars(Canvas& c, Rgb k) {
  cairo_t* cr = c.cr();
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  // Along the leading edges: root (125,140) to tip (47,158) in gauge pixels.
  line(cr, 84, 3, 8, 19, 3.5, k);
  line(cr, 120, 3, 196, 19, 3.5, k);
}

void draw_flap_edges(Canvas& c, Rgb k) {
  // Trailing edges from the wing roots (125,226) to the tips (38,232).
  polygon(c.cr(), {93, 4, 6, 10, 8, 16, 93, 11}, k);
  polygon(c.cr(), {129, 4, 216, 10, 214, 16, 129, 11}, k);
}

void draw_fuselage_boxes(Canvas& c, Rgb k) {
  fill_rect(c.cr(), 4, 1, 12, 10, k);
  fill_rect(c.cr(), 34, 1, 12, 10, k);
}

void draw_label_icon(Canvas& c, const char* label, Rgb k) {
  text_at(c.cr(), kSansBold, 11, c.width() / 2.0, c.height() / 2.0, k, label);
}

void draw_forward_triangles(Canvas& c) {
  polygon(c.cr(), {10, 15, 38, 15, 38, 3}, kOutline);
  polygon(c.cr(), {62, 3, 62, 15, 90, 15}, kOutline);
}

void draw_tail_marker(Canvas& c) {
  cairo_t* cr = c.cr();
  line(cr, 7, 2, 7, 24, 2.0, kOutline);
  arc_cw(cr, 10, 24, 3, 180, 360, 2.0, kOutline);
}

void draw_radar_face(Canvas& c) {
  cairo_t* cr = c.cr();
  draw_display_glass(c);
  arrow_box(cr, 259, 245, 24, 20, true);
  arrow_box(cr, 259, 268, 24, 20, false);
  text(cr, kSansBold, 8, 255, 270, Align::kRight, kLabel, "RNG");
}

void draw_map_face(Canvas& c) { draw_display_glass(c); }

void draw_map_compass_arc(Canvas& c) { compass_card(c.cr(), 143, 143, 132, 112, 12, kWhite); }

void draw_map_heading_mark(Canvas& c) {
  cairo_t* cr = c.cr();
  polygon(cr, {7, 11, 1, 1, 13, 1}, kWhite);
  static const double kDash[] = {4.0, 4.0};
  cairo_set_dash(cr, kDash, 2, 0);
  line(cr, 7, 14, 7, 131, 1.2, kWhite);
  cairo_set_dash(cr, nullptr, 0, 0);
}

void draw_map_ring(Canvas& c, double radius, const char* label) {
  cairo_t* cr = c.cr();
  dashed_circle(cr, 143, 143, radius, 1.2, {0, 150, 180});
  text(cr, kSansBold, 9, 143 + radius * 0.72 + 3, 143 - radius * 0.72, Align::kLeft, {0, 190, 220}, label);
}

void draw_map_button(Canvas& c, const char* label, bool on) {
  cairo_t* cr = c.cr();
  rounded_box(cr, 0.5, 0.5, 29, 15, 3, on ? Rgb{16, 80, 36} : Rgb{30, 34, 38},
              on ? Rgb{60, 255, 110} : kOutline, 1.0);
  text_at(cr, kSansBold, 9, 15, 8, on ? Rgb{120, 255, 150} : kLabel, label);
}

}  // namespace orv::art
