// Panel hardware: toggle keys, the selector panel, switches, knobs and the
// registration plate. Grey anodised panels with engraved white legends and
// green lighting, as on the fighter's consoles.
#include <cmath>
#include <cstdio>

#include "artgen/art.h"

namespace orv::art {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A raised key cap with a soft bevel.
void key_cap(cairo_t* cr, double x, double y, double w, double h, double r) {
  rounded_path(cr, x, y, w, h, r);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgb(p, 0, 96 / 255.0, 101 / 255.0, 106 / 255.0);
  cairo_pattern_add_color_stop_rgb(p, 1, 44 / 255.0, 47 / 255.0, 51 / 255.0);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  colour(cr, {20, 22, 24});
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
}

void panel_screw(cairo_t* cr, double x, double y, double r) {
  disc(cr, x, y, r, {70, 74, 78});
  circle(cr, x, y, r, 0.8, {28, 30, 33});
  line(cr, x - r * 0.7, y - r * 0.3, x + r * 0.7, y + r * 0.3, 0.9, {30, 32, 35});
}

}  // namespace

void draw_toggle(Canvas& c, ToggleGlyph g) {
  cairo_t* cr = c.cr();
  if (g == ToggleGlyph::kInvisible) return;  // all black: the host draws nothing
  const double w = c.width(), h = c.height();
  key_cap(cr, 1, 1, w - 2, h - 2, 3);
  const Rgb ink = kEngrave;
  const double s = w / 19.0;
  cairo_save(cr);
  cairo_scale(cr, s, s);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  switch (g) {
    case ToggleGlyph::kKneeboard:  // clipboard
      rect(cr, 5.5, 4.5, 8, 10, 1.1, ink);
      line(cr, 7.5, 4.5, 11.5, 4.5, 2.0, ink);
      for (double y : {8.0, 10.0, 12.0}) line(cr, 7, y, 12, y, 0.8, ink);
      break;
    case ToggleGlyph::kMap:  // folded chart
      polygon(cr, {4, 5, 7.5, 4, 11.5, 5, 15, 4, 15, 14, 11.5, 15, 7.5, 14, 4, 15}, ink, 1.0);
      line(cr, 7.5, 4, 7.5, 14, 0.8, ink);
      line(cr, 11.5, 5, 11.5, 15, 0.8, ink);
      break;
    case ToggleGlyph::kAtc:  // speech bubble
      rounded_path(cr, 3.5, 4, 12, 8, 2);
      colour(cr, ink);
      cairo_set_line_width(cr, 1.1);
      cairo_stroke(cr);
      polygon(cr, {6, 11.5, 9, 11.5, 5.5, 15}, ink);
      break;
    case ToggleGlyph::kClose:
      line(cr, 5.5, 5.5, 13.5, 13.5, 1.8, {230, 80, 70});
      line(cr, 13.5, 5.5, 5.5, 13.5, 1.8, {230, 80, 70});
      break;
    case ToggleGlyph::kRadios:  // antenna with waves
      line(cr, 9.5, 8, 9.5, 15, 1.1, ink);
      disc(cr, 9.5, 7.5, 1.3, ink);
      arc_cw(cr, 9.5, 7.5, 3.5, -60, 60, 0.9, ink);
      arc_cw(cr, 9.5, 7.5, 3.5, 120, 240, 0.9, ink);
      break;
    case ToggleGlyph::kLandingView:  // runway in perspective
      polygon(cr, {8, 4, 11, 4, 15, 15, 4, 15}, ink, 1.0);
      for (double y : {6.0, 9.0, 12.5}) line(cr, 9.5, y, 9.5, y + 1.5, 0.9, ink);
      break;
    case ToggleGlyph::kGps:  // satellite
      rect(cr, 8, 8, 3, 3, 1.0, ink);
      fill_rect(cr, 3.5, 8.5, 3.5, 2, ink);
      fill_rect(cr, 12, 8.5, 3.5, 2, ink);
      arc_cw(cr, 9.5, 9.5, 5.5, 120, 150, 0.9, ink);
      break;
    case ToggleGlyph::kThrottle:  // lever in its quadrant
      arc_cw(cr, 9.5, 15, 8, -50, 50, 1.0, ink);
      line(cr, 9.5, 15, 12.5, 6, 1.4, ink);
      disc(cr, 12.8, 5.5, 1.6, ink);
      break;
    case ToggleGlyph::kCompass:  // four-point star
      polygon(cr, {9.5, 3.5, 10.8, 8.2, 15.5, 9.5, 10.8, 10.8, 9.5, 15.5, 8.2, 10.8, 3.5, 9.5, 8.2, 8.2},
              ink);
      polygon(cr, {9.5, 3.5, 10.8, 8.2, 8.2, 8.2}, {230, 80, 70});
      break;
    case ToggleGlyph::kInvisible:
      break;
  }
  cairo_restore(cr);
}

void draw_engine_on(Canvas& c) {
  cairo_t* cr = c.cr();
  gradient_rect(cr, 0, 0, c.width(), c.height(), kPanelLight, kPanelDark);
  rect(cr, 0.5, 0.5, c.width() - 1, c.height() - 1, 1, {24, 26, 28});
  text_at(cr, kSansBold, 8, 15, 10, kEngrave, "ENG");
  disc(cr, 15, 21, 4, {0, 120, 40});
  circle(cr, 15, 21, 4, 1, {20, 22, 24});
}

void draw_registration_plate(Canvas& c) {
  cairo_t* cr = c.cr();
  gradient_rect(cr, 0, 0, c.width(), c.height(), {74, 78, 83}, {44, 47, 51});
  rounded_path(cr, 1.5, 1.5, c.width() - 3, c.height() - 3, 3);
  colour(cr, {120, 125, 130});
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  panel_screw(cr, 7, 12.5, 2.6);
  panel_screw(cr, c.width() - 7, 12.5, 2.6);
}

void draw_switch_plate(Canvas& c, const char* left, const char* right) {
  cairo_t* cr = c.cr();
  gradient_rect(cr, 0, 0, c.width(), c.height(), {66, 70, 74}, {40, 43, 46});
  rect(cr, 0.5, 0.5, c.width() - 1, c.height() - 1, 1, {22, 24, 26});
  // Legends on the top row, each above the end of the lever's travel, so
  // the lever never covers them.
  text_at(cr, kSansBold, 7, 10.5, 5.5, kEngrave, left);
  text_at(cr, kSansBold, 7, 35.5, 5.5, kEngrave, right);
  // The lever's slot.
  rounded_path(cr, 12, 13, 22, 6, 3);
  colour(cr, {12, 13, 14});
  cairo_fill(cr);
}

void draw_switch_lever(Canvas& c, bool right) {
  cairo_t* cr = c.cr();
  const double tip = right ? 30 : 16, y = 16;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  line(cr, 23, y, tip, y, 4.0, {150, 155, 160});
  disc(cr, tip, y, 3.8, {205, 208, 212});
  circle(cr, tip, y, 3.8, 0.8, {90, 94, 98});
  disc(cr, tip - 1.1, y - 1.1, 1.3, {245, 247, 250});
  // A green index under the legend that the lever points to.
  fill_rect(cr, right ? 29 : 4, 10, 13, 1.5, kGreen);
}

void draw_knob_plate(Canvas& c) {
  cairo_t* cr = c.cr();
  const double w = c.width(), h = c.height();
  gradient_rect(cr, 0, 0, w, h, {62, 66, 70}, {38, 41, 44});
  rect(cr, 0.5, 0.5, w - 1, h - 1, 1, {22, 24, 26});
  const double cx = w / 2, cy = h / 2, r = w * 0.45;
  arc_cw(cr, cx, cy, r, -135, 135, 1.0, {140, 145, 150});
  for (int k = -3; k <= 3; ++k) tick(cr, cx, cy, k * 45.0, r - 2, r + 1, 1.0, kEngrave);
  // Turn arrows: down on the left half, up on the right half.
  polygon(cr, {3, h - 4, 8, h - 7, 8, h - 1}, kEngrave);
  polygon(cr, {w - 3, h - 4, w - 8, h - 7, w - 8, h - 1}, kEngrave);
}

// The knob's cap carries its legend (the housing is shared by two knobs), on
// the cap's face across the pivot, as engraved on a real knob: it turns with
// the index.
void draw_knob(Canvas& c, Rgb index, const char* label) {
  cairo_t* cr = c.cr();
  const double w = c.width(), cx = w / 2, cy = c.height() / 2, r = w / 2 - 1.5;
  // Knurled rim, then the cap with its index along +x.
  for (int k = 0; k < 36; ++k) tick(cr, cx, cy, k * 10.0, r - 3, r, 1.6, {60, 64, 68});
  circle(cr, cx, cy, r, 1.0, {110, 115, 120});
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.3, 1, cx, cy, r);
  cairo_pattern_add_color_stop_rgb(p, 0, 120 / 255.0, 125 / 255.0, 130 / 255.0);
  cairo_pattern_add_color_stop_rgb(p, 1, 30 / 255.0, 32 / 255.0, 35 / 255.0);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r - 3, 0, 2 * kPi);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  line(cr, cx + r * 0.6, cy, cx + r - 4, cy, 2.2, index);
  // Legend across the index: level when the index points up.
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, kPi / 2);
  text_at(cr, kSansBold, w < 45 ? 8 : 9, 0, 1, {235, 238, 240}, label);
  cairo_restore(cr);
}

void draw_selector_panel(Canvas& c) {
  cairo_t* cr = c.cr();
  gradient_rect(cr, 0, 0, c.width(), c.height(), {60, 64, 68}, {42, 45, 48});
  rect(cr, 0.5, 0.5, c.width() - 1, c.height() - 1, 1, {22, 24, 26});
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col) {
      const double x = 11 + 71 * col, y = 9 + 54 * row;
      rounded_path(cr, x - 1.5, y - 1.5, 70, 53, 5);
      colour(cr, {18, 19, 21});
      cairo_fill(cr);
      key_cap(cr, x, y, 67, 50, 4);
    }
  text(cr, kSansBold, 8, 14, 194, Align::kLeft, {150, 154, 158}, "TIME");
  rounded_box(cr, 64, 178, 160, 24, 3, kGlass, {18, 20, 22}, 1.5);
  for (double x : {5.0, 226.0}) panel_screw(cr, x, 205, 2.4);
}

void draw_selector_backlight(Canvas& c) {
  cairo_t* cr = c.cr();
  text(cr, kSansBold, 8, 14, 194, Align::kLeft, {120, 255, 140}, "TIME");
  // Green flood lighting along the clock window's edge.
  rounded_path(cr, 63, 177, 162, 26, 3);
  colour(cr, {30, 110, 45});
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
}

void draw_selector_button(Canvas& c, const char* label, const char* sub, bool selected) {
  cairo_t* cr = c.cr();
  key_cap(cr, 0.5, 0.5, 66, 49, 4);
  // Legend window: dark glass with a lit legend.
  rounded_path(cr, 6, 10, 55, 33, 2);
  colour(cr, {14, 17, 19});
  cairo_fill(cr);
  const Rgb legend = selected ? Rgb{120, 255, 140} : Rgb{170, 178, 180};
  text_at(cr, kSansBold, 13, 33.5, 22, legend, label);
  text_at(cr, kSans, 7, 33.5, 36, selected ? Rgb{90, 220, 110} : Rgb{120, 126, 130}, sub);
  // Selection bar above the legend.
  fill_rect(cr, 20, 4, 27, 3, selected ? Rgb{60, 255, 90} : Rgb{26, 40, 30});
}

}  // namespace orv::art
