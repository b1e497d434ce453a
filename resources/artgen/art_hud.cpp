// Head-up display symbols (one routine per symbol, coloured by the HUD colour
// index) and the standby attitude indicator. Geometry follows the element
// placement: the HUD's boresight is gauge point (102,82), the fixed symbology
// sits at (19,9), the ladder moves 6 px per degree; the standby ball turns
// about (150,135) and moves 2 px per degree.
#include <cmath>
#include <cstdio>
#include <string>

#include "artgen/art.h"

namespace orv::art {
namespace {

constexpr double kLadderPxPerDeg = 6.0;
constexpr double kBallPxPerDeg = 2.0;

std::string two_digits(int v) {
  char b[8];
  std::snprintf(b, sizeof b, "%02d", v);
  return b;
}

}  // namespace

void draw_window_mask(Canvas& c) { fill_rect(c.cr(), 0, 0, c.width(), c.height(), {255, 255, 255}); }

void draw_hud_frame(Canvas& c) {
  cairo_t* cr = c.cr();
  // The combiner glass is black (the outside view shows through); only its
  // edges and the mounting brackets are drawn.
  rounded_path(cr, 1.5, 1.5, c.width() - 3, c.height() - 3, 6);
  colour(cr, {58, 64, 70});
  cairo_set_line_width(cr, 2.0);
  cairo_stroke(cr);
  rounded_path(cr, 3.5, 3.5, c.width() - 7, c.height() - 7, 5);
  colour(cr, {24, 30, 34});
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
}

void draw_hud_symbol_window(Canvas& c) {
  cairo_t* cr = c.cr();
  draw_window_mask(c);
  // The window lies at gauge point (19,9). The ladder and the marker stay
  // out of the airspeed and altitude boxes and of the angle-of-attack
  // readout (gauge boxes (26,65)-(55,89), (151,65)-(186,89) and
  // (7,64)-(57,76)), whose texts are drawn with black as transparent.
  constexpr double kX = 19, kY = 9;
  fill_rect(cr, 0, 64 - kY, 57 - kX, 12, kKey);
  fill_rect(cr, 26 - kX, 65 - kY, 55 - 26, 89 - 65, kKey);
  fill_rect(cr, 151 - kX, 65 - kY, 186 - 151, 89 - 65, kKey);
}

void draw_hud_tape_window(Canvas& c) {
  // Grey levels let the host fade the tape: the numbers that reach the ends
  // of the window fade out instead of being cut off.
  cairo_t* cr = c.cr();
  const double w = c.width(), fade = 14;
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
  cairo_pattern_add_color_stop_rgb(p, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgb(p, fade / w, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(p, 1 - fade / w, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(p, 1, 0, 0, 0);
  cairo_rectangle(cr, 0, 0, w, c.height());
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void draw_hud_symbology(Canvas& c, int colour_index) {
  cairo_t* cr = c.cr();
  const Rgb k = hud_colour(colour_index);
  const double bx = 83, by = 73;  // boresight (102,82) in this bitmap
  // Boresight: waterline symbol.
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  colour(cr, k);
  cairo_set_line_width(cr, 1.2);
  cairo_move_to(cr, bx - 13, by);
  cairo_line_to(cr, bx - 6, by);
  cairo_line_to(cr, bx - 3, by + 4);
  cairo_line_to(cr, bx, by);
  cairo_line_to(cr, bx + 3, by + 4);
  cairo_line_to(cr, bx + 6, by);
  cairo_line_to(cr, bx + 13, by);
  cairo_stroke(cr);
  // Bank scale above the boresight, ticks at 0, 5, 10 and 15 degrees.
  for (int d = -15; d <= 15; d += 5) tick(cr, bx, by, d, d % 10 == 0 ? 64 : 67, 71, 1.2, k);
  // Airspeed and altitude boxes around the readouts.
  rect(cr, 8.5, 67.5, 26, 11, 1.0, k);
  rect(cr, 133.5, 67.5, 32, 11, 1.0, k);
  // Heading index over the tape.
  polygon(cr, {bx + 0.5, 129, bx - 2.5, 124, bx + 3.5, 124}, k);
  // Vertical deviation scale right of the glideslope caret (centre y 103.5).
  const double gy = 103.5;
  line(cr, 22, gy, 27, gy, 1.2, k);
  for (double d : {-21.0, -10.5, 10.5, 21.0}) circle(cr, 24.5, gy + d, 1.3, 1.0, k);
  // Lateral deviation scale along the localizer caret's row.
  const double ly = 151;
  for (double d : {-40.0, -20.0, 20.0, 40.0}) circle(cr, bx + 0.5 + d, ly, 1.3, 1.0, k);
  line(cr, bx + 0.5, ly - 3, bx + 0.5, ly + 3, 1.2, k);
}

void draw_hud_bank_pointer(Canvas& c, int colour_index) {
  // Points along +x from the pivot (0,3): a triangle just inside the scale.
  polygon(c.cr(), {63.5, 3.5, 56, 0.5, 56, 6.5}, hud_colour(colour_index));
}

void draw_hud_ladder(Canvas& c, int colour_index) {
  cairo_t* cr = c.cr();
  const Rgb k = hud_colour(colour_index);
  const double cx = c.width() / 2.0, cy = c.height() / 2.0;
  // Horizon with a gap for the boresight.
  line(cr, cx - 100, cy, cx - 16, cy, 1.3, k);
  line(cr, cx + 16, cy, cx + 100, cy, 1.3, k);
  for (int deg = -30; deg <= 30; deg += 5) {
    if (deg == 0) continue;
    const double y = cy - deg * kLadderPxPerDeg;
    const double inner = 18, outer = 48;
    const double tick_dir = deg > 0 ? 4 : -4;  // toward the horizon
    if (deg > 0) {
      line(cr, cx - outer, y, cx - inner, y, 1.2, k);
      line(cr, cx + inner, y, cx + outer, y, 1.2, k);
    } else {
      static const double kDash[] = {4.0, 3.0};
      cairo_set_dash(cr, kDash, 2, 0);
      line(cr, cx - outer, y, cx - inner, y, 1.2, k);
      line(cr, cx + inner, y, cx + outer, y, 1.2, k);
      cairo_set_dash(cr, nullptr, 0, 0);
    }
    line(cr, cx - outer, y, cx - outer, y + tick_dir, 1.2, k);
    line(cr, cx + outer, y, cx + outer, y + tick_dir, 1.2, k);
    const std::string n = std::to_string(std::abs(deg));
    text_at(cr, kNarrowBold, 8, cx - outer - 9, y, k, n);
    text_at(cr, kNarrowBold, 8, cx + outer + 9, y, k, n);
  }
}

void draw_hud_flight_path_marker(Canvas& c, int colour_index) {
  cairo_t* cr = c.cr();
  const Rgb k = hud_colour(colour_index);
  const double cx = c.width() / 2.0, cy = c.height() / 2.0;
  circle(cr, cx, cy, 4, 1.3, k);
  line(cr, cx - 12, cy, cx - 4, cy, 1.3, k);
  line(cr, cx + 4, cy, cx + 12, cy, 1.3, k);
  line(cr, cx, cy - 4, cx, cy - 8, 1.3, k);
}

void draw_hud_tape(Canvas& c, int colour_index) {
  cairo_t* cr = c.cr();
  const Rgb k = hud_colour(colour_index);
  // Heading h sits at x = 60.5 + 3 h, so 0..360 spans the 1080 pixels that
  // the 121-pixel window travels over.
  for (int h = -20; h <= 380; h += 5) {
    const double x = 60.5 + 3.0 * h;
    line(cr, x, h % 10 == 0 ? 8.5 : 11, x, 14, 1.0, k);
    if (h % 10 == 0) text_at(cr, kNarrowBold, 8, x, 4, k, two_digits(((h + 360) % 360) / 10));
  }
}

void draw_hud_localizer_caret(Canvas& c, int colour_index) {
  polygon(c.cr(), {2.5, 0.3, 4.8, 8.7, 0.2, 8.7}, hud_colour(colour_index));
}

void draw_hud_glideslope_caret(Canvas& c, int colour_index) {
  polygon(c.cr(), {0.2, 0.2, 7.8, 2.5, 0.2, 4.8}, hud_colour(colour_index));
}

void draw_hud_nav_label(Canvas& c, int colour_index, bool nav2) {
  text_at(c.cr(), kNarrowBold, 8, 10.5, 3, hud_colour(colour_index), nav2 ? "NAV2" : "NAV1");
}

void draw_hud_to_from(Canvas& c, int colour_index, bool from) {
  cairo_t* cr = c.cr();
  const Rgb k = hud_colour(colour_index);
  if (from) {
    cairo_translate(cr, 0, 13);
    cairo_scale(cr, 1, -1);
  }
  polygon(cr, {4.5, 0.3, 8.7, 5.5, 0.3, 5.5}, k);
  line(cr, 4.5, 5, 4.5, 12.8, 1.6, k);
}

void draw_hud_gear_cue(Canvas& c, int colour_index) {
  cairo_t* cr = c.cr();
  const Rgb k = hud_colour(colour_index);
  // Three wheels around the boresight (13,9): nose above, mains either side.
  for (auto [x, y] : {std::pair{13.5, 2.5}, std::pair{3.5, 9.0}, std::pair{23.5, 9.0}}) {
    circle(cr, x, y, 2.0, 1.1, k);
  }
}

void draw_attitude_face(Canvas& c, bool overlay) {
  cairo_t* cr = c.cr();
  const double cx = 150, cy = 135, r = 85;
  gradient_rect(cr, 0, 0, c.width(), c.height(), {46, 49, 53}, {30, 32, 35});
  rounded_path(cr, 1.5, 1.5, c.width() - 3, c.height() - 3, 10);
  colour(cr, {70, 75, 80});
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // Bezel ring around the ball.
  disc(cr, cx, cy, r + 12, {22, 24, 27});
  circle(cr, cx, cy, r + 12, 1.2, {80, 85, 90});
  // Readout windows.
  struct Box {
    double x, y, w, h;
  };
  static constexpr Box kWindows[] = {{3, 8, 80, 30},    {214, 8, 60, 30},  {274, 15, 24, 23},
                                     {10, 232, 20, 30}, {30, 237, 22, 23}, {241, 239, 56, 21},
                                     {90, 4, 120, 45}};
  for (const Box& b : kWindows) {
    rounded_box(cr, b.x, b.y, b.w, b.h, 2, kGlass, {14, 15, 17}, 1.2);
  }
  text(cr, kNarrow, 9, 43, 50, Align::kCentre, kEngrave, "IAS KT");
  text(cr, kNarrow, 9, 256, 50, Align::kCentre, kEngrave, "ALT FT");
  text(cr, kNarrow, 9, 31, 228, Align::kCentre, kEngrave, "MACH");
  text(cr, kNarrow, 9, 269, 234, Align::kCentre, kEngrave, "QNH MB");
  if (!overlay) {
    disc(cr, cx, cy, r, {18, 20, 22});
    return;
  }
  // The ball shows through a black hole.
  disc(cr, cx, cy, r, kKey);
  // Bank scale at the bottom (the bank pointer turns there), 10-degree steps.
  for (int d : {-60, -45, -30, -20, -10, 0, 10, 20, 30, 45, 60}) {
    const bool major = d % 30 == 0;
    tick(cr, cx, cy, 180 + d, r + 1, r + (major ? 10 : 6), major ? 2.0 : 1.3, kWhite);
  }
  polygon(cr, {cx, cy + r + 1, cx - 4, cy + r + 8, cx + 4, cy + r + 8}, kWhite);
  // Fixed aircraft symbol.
  const Rgb sym{255, 190, 20};
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  line(cr, cx - 42, cy, cx - 14, cy, 3.0, sym);
  line(cr, cx - 14, cy, cx - 14, cy + 7, 3.0, sym);
  line(cr, cx + 14, cy, cx + 42, cy, 3.0, sym);
  line(cr, cx + 14, cy, cx + 14, cy + 7, 3.0, sym);
  disc(cr, cx, cy, 2.5, sym);
  // Lubber line of the heading window, seen through the tape mask's gap.
  line(cr, cx, 4, cx, 49, 2.0, sym);
}

void draw_attitude_ball(Canvas& c) {
  cairo_t* cr = c.cr();
  const double w = c.width(), cx = w / 2, cy = c.height() / 2.0;
  gradient_rect(cr, 0, 0, w, cy, {22, 70, 130}, {70, 140, 205});
  gradient_rect(cr, 0, cy, w, cy, {115, 74, 38}, {60, 38, 18});
  line(cr, 0, cy, w, cy, 1.6, kWhite);
  for (int deg = -90; deg <= 90; deg += 5) {
    if (deg == 0) continue;
    const double y = cy - deg * kBallPxPerDeg;
    const bool ten = deg % 10 == 0;
    const double half = deg % 30 == 0 ? 26 : ten ? 18 : 8;
    line(cr, cx - half, y, cx + half, y, 1.1, kWhite);
    if (ten) {
      const std::string n = std::to_string(std::abs(deg));
      text_at(cr, kNarrowBold, 9, cx - half - 9, y, kWhite, n);
      text_at(cr, kNarrowBold, 9, cx + half + 9, y, kWhite, n);
    }
  }
  circle(cr, cx, cy - 90 * kBallPxPerDeg, 5, 1.2, kWhite);
  circle(cr, cx, cy + 90 * kBallPxPerDeg, 5, 1.2, kWhite);
}

void draw_attitude_flight_path(Canvas& c) {
  cairo_t* cr = c.cr();
  const double cx = c.width() / 2.0, cy = c.height() / 2.0;
  const Rgb k{60, 255, 110};
  circle(cr, cx, cy, 5.5, 1.8, k);
  line(cr, cx - 16, cy, cx - 5.5, cy, 1.8, k);
  line(cr, cx + 5.5, cy, cx + 16, cy, 1.8, k);
  line(cr, cx, cy - 5.5, cx, cy - 11, 1.8, k);
}

void draw_attitude_bank_needle(Canvas& c) { polygon(c.cr(), {84, 6, 74, 1, 74, 11}, kWhite); }

void draw_attitude_tape(Canvas& c) {
  cairo_t* cr = c.cr();
  gradient_rect(cr, 0, 0, c.width(), c.height(), {58, 62, 66}, {36, 39, 42});
  static const char* kCardinal[] = {"N", "", "", "E", "", "", "S", "", "", "W", "", ""};
  for (int h = -20; h <= 380; h += 5) {
    const double x = 60 + 3.0 * h;
    const int wrapped = (h + 360) % 360;
    line(cr, x, h % 10 == 0 ? 32 : 37, x, 45, 1.2, kWhite);
    if (wrapped % 30 == 0) {
      const char* name = kCardinal[wrapped / 30];
      text_at(cr, kNarrowBold, 14, x, 17, *name ? Rgb{255, 220, 60} : kWhite,
              *name ? std::string(name) : std::to_string(wrapped / 10));
    }
  }
}

void draw_attitude_ball_mask(Canvas& c) { disc(c.cr(), 85, 85, 85, {255, 255, 255}); }

void draw_attitude_tape_mask(Canvas& c) {
  draw_window_mask(c);
  fill_rect(c.cr(), 58.5, 0, 3, c.height(), kKey);
}

}  // namespace orv::art
