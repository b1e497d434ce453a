// The module's bitmaps: one table row per resource (id, size, gauge, what it
// shows, where its size comes from) and the drawing routines behind them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "artgen/canvas.h"

namespace orv::art {

struct ArtItem {
  unsigned id;
  int width, height;
  std::string gauge;
  std::string shows;
  std::string size_from;  // "given" when the gauge's description states it
  std::function<void(Canvas&)> draw;
};

// Every bitmap resource of the module, in ascending id order.
std::vector<ArtItem> art_table();

// Panels and controls (toggles, selectors, switches, knobs, plate).
enum class ToggleGlyph {
  kKneeboard,
  kMap,
  kAtc,
  kInvisible,
  kClose,
  kRadios,
  kLandingView,
  kGps,
  kThrottle,
  kCompass
};
void draw_toggle(Canvas& c, ToggleGlyph g);
void draw_engine_on(Canvas& c);
void draw_registration_plate(Canvas& c);
void draw_switch_plate(Canvas& c, const char* left, const char* right);
void draw_switch_lever(Canvas& c, bool right);
void draw_knob_plate(Canvas& c);
void draw_knob(Canvas& c, Rgb index, const char* label);
void draw_selector_panel(Canvas& c);
void draw_selector_backlight(Canvas& c);
void draw_selector_button(Canvas& c, const char* label, const char* sub, bool selected);

// Head-up display, one routine per symbol with its colour index.
void draw_hud_frame(Canvas& c);
void draw_hud_symbol_window(Canvas& c);  // ladder and marker: the glass less the readouts
void draw_hud_tape_window(Canvas& c);    // heading tape: fading out at both ends
void draw_hud_symbology(Canvas& c, int colour);
void draw_hud_bank_pointer(Canvas& c, int colour);
void draw_hud_ladder(Canvas& c, int colour);
void draw_hud_flight_path_marker(Canvas& c, int colour);
void draw_hud_tape(Canvas& c, int colour);
void draw_hud_localizer_caret(Canvas& c, int colour);
void draw_hud_nav_label(Canvas& c, int colour, bool nav2);
void draw_hud_to_from(Canvas& c, int colour, bool from);
void draw_hud_glideslope_caret(Canvas& c, int colour);
void draw_hud_gear_cue(Canvas& c, int colour);
void draw_window_mask(Canvas& c);        // the whole window shows
void draw_window_mask_black(Canvas& c);  // nothing shows (all black)

// Standby attitude indicator.
void draw_attitude_face(Canvas& c, bool overlay);
void draw_attitude_ball(Canvas& c);
void draw_attitude_flight_path(Canvas& c);
void draw_attitude_bank_needle(Canvas& c);
void draw_attitude_tape(Canvas& c);
void draw_attitude_ball_mask(Canvas& c);
void draw_attitude_tape_mask(Canvas& c);

// Displays: left MFD pages, right MFD pages, radar and map.
void draw_display_glass(Canvas& c);
void draw_radar_page(Canvas& c);
void draw_map_page(Canvas& c);
void draw_radios_page(Canvas& c);
void draw_swap_box_lit(Canvas& c);
void draw_button_lamp(Canvas& c);
void draw_weapons_page(Canvas& c);
void draw_arc_page(Canvas& c);
void draw_arc_card(Canvas& c);
void draw_arc_pointer(Canvas& c, Rgb colour, bool double_line);
void draw_arc_heading_bug(Canvas& c);
void draw_arc_course_line(Canvas& c);
void draw_arc_deviation_scale(Canvas& c);
void draw_arc_deviation_bar(Canvas& c, bool solid);
void draw_arc_mask(Canvas& c);
void draw_aircraft_symbol(Canvas& c, double apex_x, double apex_y, double span, Rgb colour);
void draw_glideslope_scale(Canvas& c, double dot_step);
void draw_glideslope_pointer(Canvas& c);
void draw_hsi_marks(Canvas& c);
void draw_hsi_rose(Canvas& c);
void draw_disc_mask(Canvas& c, double cx, double cy, double r, double max_y);
void draw_hsi_heading_bug(Canvas& c);
void draw_hsi_course_pointer(Canvas& c);
void draw_hsi_bearing_pointer(Canvas& c, Rgb colour, bool double_line);
void draw_hsi_deviation_bar(Canvas& c, bool solid);
void draw_hsi_to_from(Canvas& c);
void draw_engine_overlay(Canvas& c);
void draw_engine_wedge(Canvas& c, Rgb colour);
void draw_controls_face(Canvas& c);
void draw_gear_leg(Canvas& c, int state);
void draw_slat_bars(Canvas& c, Rgb colour);
void draw_flap_edges(Canvas& c, Rgb colour);
void draw_fuselage_boxes(Canvas& c, Rgb colour);
void draw_label_icon(Canvas& c, const char* label, Rgb colour);
void draw_forward_triangles(Canvas& c);
void draw_tail_marker(Canvas& c);
void draw_radar_face(Canvas& c);
void draw_map_face(Canvas& c);
void draw_map_compass_arc(Canvas& c);
void draw_map_heading_mark(Canvas& c);
void draw_map_ring(Canvas& c, double radius, const char* label);
void draw_map_button(Canvas& c, const char* label, bool on);

// The built-in panel's window backgrounds (art_cockpit.cpp): a cockpit
// surround around where the panel places the head-up display, the
// displays, the screen selector and (main view) the standby instrument.
struct CockpitSurround {
  double hud_x = 0, hud_w = 0;
  double display_y = 0;  // the top of both displays
  double selector_x = 0, selector_y = 0;
  double attitude_x = 0, attitude_y = 0, attitude_w = 0, attitude_h = 0;  // w 0: none
  bool knobs = false;  // the strip of knobs and switches under the selector
};
void draw_cockpit_surround(Canvas& c, const CockpitSurround& s);
struct PanelBackground {
  const char* file;  // as panel.cfg names it (file=)
  CockpitSurround surround;
};
std::vector<PanelBackground> panel_backgrounds();
inline constexpr int kPanelBackgroundWidth = 1024, kPanelBackgroundHeight = 768;
// The canvas as an 8-bit palettized BMP file image (pure black only at
// index 0, the transparent colour).
std::vector<std::uint8_t> palettized_bmp(const Canvas& c);

}  // namespace orv::art
