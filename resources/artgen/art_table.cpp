// The table of every bitmap resource. Sizes marked "given" are the ones the
// gauge descriptions state; the others are sized to fit the element's
// position, click boxes and the gauge's background, as the note says.
#include <algorithm>

#include "artgen/art.h"

namespace orv::art {
namespace {

constexpr const char* kGiven = "given";
constexpr const char* kColourNames[4] = {"light green", "middle green", "dark green", "red"};

struct Table {
  std::vector<ArtItem> items;

  void add(unsigned id, int w, int h, const char* gauge, std::string shows, const char* size_from,
           std::function<void(Canvas&)> draw) {
    items.push_back({id, w, h, gauge, std::move(shows), size_from, std::move(draw)});
  }

  // A HUD symbol in its four colour copies: bitmap ids base + 10 * colour.
  void hud_family(unsigned base, int w, int h, const char* shows, const char* size_from,
                  void (*draw)(Canvas&, int)) {
    for (int c = 0; c < 4; ++c)
      add(base + 10 * c, w, h, "Head_Up_Display", std::string(shows) + ", " + kColourNames[c], size_from,
          [draw, c](Canvas& k) { draw(k, c); });
  }
  // A HUD symbol whose colour copies are consecutive images of one icon.
  void hud_images(unsigned base, int w, int h, const char* shows, const char* size_from,
                  std::function<void(Canvas&, int)> draw) {
    for (int c = 0; c < 4; ++c)
      add(base + c, w, h, "Head_Up_Display", std::string(shows) + ", " + kColourNames[c], size_from,
          [draw, c](Canvas& k) { draw(k, c); });
  }
  // The window mask (id + 1) of each colour copy of a moving image or sprite.
  void hud_masks(unsigned base, int w, int h, const char* of, void (*draw)(Canvas&) = draw_window_mask) {
    for (int c = 0; c < 4; ++c)
      add(base + 10 * c + 1, w, h, "Head_Up_Display", std::string("window mask of the ") + of, kGiven, draw);
  }
};

void controls(Table& t) {
  t.add(40, 30, 30, "Engine_On", "small engine-start placard", "default size 30 of the gauge",
        draw_engine_on);
  t.add(50, 150, 25, "Registration", "registration plate", "the plate's text box 150 x 25 at (0,0)",
        draw_registration_plate);
  const char* k19 = "click box (3,3,13,13) of the size-19 toggles plus its 3-pixel margins";
  t.add(60, 19, 19, "Kneeboard_Toggle", "kneeboard key", k19,
        [](Canvas& c) { draw_toggle(c, ToggleGlyph::kKneeboard); });
  t.add(70, 19, 19, "Map_Toggle", "map key", k19, [](Canvas& c) { draw_toggle(c, ToggleGlyph::kMap); });
  t.add(80, 19, 19, "ATC_Toggle", "ATC key", k19, [](Canvas& c) { draw_toggle(c, ToggleGlyph::kAtc); });
  t.add(100, 50, 50, "window buttons, Invisible_Toggle",
        "invisible button (all black, so the instrument under it shows)",
        "click box (3,3,44,44) of the size-50 window buttons plus margins",
        [](Canvas& c) { draw_toggle(c, ToggleGlyph::kInvisible); });
  t.add(110, 19, 19, "Close_Subpanel", "close key (cross)", k19,
        [](Canvas& c) { draw_toggle(c, ToggleGlyph::kClose); });
  t.add(120, 19, 19, "Radios_Toggle", "radios key", k19,
        [](Canvas& c) { draw_toggle(c, ToggleGlyph::kRadios); });
  t.add(130, 19, 19, "view toggles", "landing view key (runway)", k19,
        [](Canvas& c) { draw_toggle(c, ToggleGlyph::kLandingView); });
  t.add(140, 19, 19, "GPS_Toggle", "GPS key", k19, [](Canvas& c) { draw_toggle(c, ToggleGlyph::kGps); });
  t.add(150, 19, 19, "Throttle_Toggle", "throttle key", k19,
        [](Canvas& c) { draw_toggle(c, ToggleGlyph::kThrottle); });
  t.add(160, 19, 19, "Compass_Toggle", "compass key", k19,
        [](Canvas& c) { draw_toggle(c, ToggleGlyph::kCompass); });

  const char* kSwitch = "click box (3,2,40,20) plus margins";
  t.add(250, 46, 24, "NAV_GPS_Switch", "switch plate NAV / GPS", kSwitch,
        [](Canvas& c) { draw_switch_plate(c, "NAV", "GPS"); });
  t.add(260, 46, 24, "NAV_GPS_Switch", "lever at NAV (icon image 0, at (0,0))", kSwitch,
        [](Canvas& c) { draw_switch_lever(c, false); });
  t.add(261, 46, 24, "NAV_GPS_Switch", "lever at GPS (icon image 1)", kSwitch,
        [](Canvas& c) { draw_switch_lever(c, true); });

  const char* kSelector =
      "button grid (9 buttons 67 x 50 from (11,9)) and clock box (64,178) 160 x 24, with margins";
  t.add(270, 231, 210, "Screen_Selector_Main/Landing", "selector panel, unlit", kSelector,
        draw_selector_panel);
  t.add(280, 231, 210, "Screen_Selector_Main/Landing", "panel backlight (lit legends, black elsewhere)",
        kSelector, draw_selector_backlight);
  struct Button {
    unsigned id;
    const char* label;
    const char* sub;
  };
  static constexpr Button kButtons[] = {
      {290, "HUD", "ON/OFF  CLR"}, {300, "RDR", "L MFD"}, {310, "CTRL", "R MFD"},
      {320, "WPN", "L MFD"},       {330, "RAD", "L MFD"}, {340, "ENG", "R MFD"},
      {350, "MAP", "L MFD"},       {360, "HSI", "R MFD"}, {370, "NAV", "L MFD"},
  };
  for (const Button& b : kButtons) {
    for (int lit = 0; lit < 2; ++lit)
      t.add(b.id + lit, 67, 50, "Screen_Selector_Main/Landing",
            std::string("button ") + b.label + (lit ? ", selected" : ", powered"),
            "the button's 67 x 50 click box",
            [b, lit](Canvas& c) { draw_selector_button(c, b.label, b.sub, lit != 0); });
  }

  t.add(450, 46, 46, "Baro_Pressure", "knob housing BARO", "two click boxes 23 x 46 side by side",
        [](Canvas& c) { draw_knob_plate(c); });
  t.add(460, 40, 40, "Baro_Pressure", "knob (needle, points along +x, pivot (20,20))",
        "fits the 46 x 46 housing about (23,23)", [](Canvas& c) { draw_knob(c, kWhite, "BARO"); });
  t.add(480, 46, 24, "ILS_TAC_Switch", "switch plate ILS / TAC", kSwitch,
        [](Canvas& c) { draw_switch_plate(c, "ILS", "TAC"); });
  t.add(490, 46, 24, "ILS_TAC_Switch", "lever at ILS (icon image 0, at (0,0))", kSwitch,
        [](Canvas& c) { draw_switch_lever(c, false); });
  t.add(491, 46, 24, "ILS_TAC_Switch", "lever at TAC (icon image 1)", kSwitch,
        [](Canvas& c) { draw_switch_lever(c, true); });
  t.add(2210, 58, 58, "Heading_Selector_Button, Omni_Bearing_Selector", "knob housing",
        "two click boxes 29 x 58 side by side", [](Canvas& c) { draw_knob_plate(c); });
  t.add(2220, 50, 50, "Heading_Selector_Button", "heading knob, magenta index (needle, pivot (25,25))",
        "fits the 58 x 58 housing about (29,29)", [](Canvas& c) { draw_knob(c, kMagenta, "HDG"); });
  t.add(2230, 50, 50, "Omni_Bearing_Selector", "course knob, white index (needle, pivot (25,25))",
        "fits the 58 x 58 housing about (29,29)", [](Canvas& c) { draw_knob(c, kWhite, "CRS"); });
}

void hud(Table& t) {
  t.add(1000, 210, 170, "Head_Up_Display", "HUD combiner frame (glass black)", kGiven, draw_hud_frame);
  t.add(1010, 210, 170, "Head_Up_Display", "HUD glass, off (black)", kGiven, draw_window_mask_black);
  t.add(1011, 210, 170, "Head_Up_Display", "HUD glass, on (black)", kGiven, draw_window_mask_black);
  t.hud_images(1020, 167, 156, "fixed symbology", kGiven, draw_hud_symbology);
  t.hud_images(1030, 72, 7, "bank pointer (needle, pivot (0,3))", kGiven, draw_hud_bank_pointer);
  // The pitch ladder (1040..1070) and flight path marker (1080..1110) share
  // the sprite size and window.
  t.hud_family(1040, 221, 441, "pitch ladder (sprite)", kGiven, draw_hud_ladder);
  t.hud_masks(1040, 167, 130, "pitch ladder", draw_hud_symbol_window);
  t.hud_family(1080, 221, 441, "flight path marker (sprite)", kGiven, draw_hud_flight_path_marker);
  t.hud_masks(1080, 167, 130, "flight path marker", draw_hud_symbol_window);
  t.hud_family(1120, 1201, 14, "heading tape (moving image, 3 px per degree)", kGiven, draw_hud_tape);
  t.hud_masks(1120, 121, 15, "heading tape", draw_hud_tape_window);
  t.hud_family(1160, 5, 9, "localizer caret", kGiven, draw_hud_localizer_caret);
  t.hud_images(1200, 21, 6, "NAV1 label", kGiven, [](Canvas& c, int k) { draw_hud_nav_label(c, k, false); });
  t.hud_images(1204, 21, 6, "NAV2 label", kGiven, [](Canvas& c, int k) { draw_hud_nav_label(c, k, true); });
  t.hud_images(1210, 9, 13, "TO arrow", kGiven, [](Canvas& c, int k) { draw_hud_to_from(c, k, false); });
  t.hud_images(1214, 9, 13, "FROM arrow", kGiven, [](Canvas& c, int k) { draw_hud_to_from(c, k, true); });
  t.hud_family(1220, 8, 5, "glideslope caret", kGiven, draw_hud_glideslope_caret);
  t.hud_images(1260, 27, 12, "gear-down cue", kGiven, draw_hud_gear_cue);
}

void attitude(Table& t) {
  const char* kFace = "tooltip areas reach x 299 and y 270";
  t.add(390, 300, 270, "Attitude", "standby face (case, readout windows, labels)", kFace,
        [](Canvas& c) { draw_attitude_face(c, false); });
  t.add(400, 180, 540, "Attitude", "attitude ball (sprite, 2 px per degree, centre (90,270))",
        "window disc 170 plus the +-90 degree travel at 2 px per degree", draw_attitude_ball);
  t.add(401, 170, 170, "Attitude", "ball window mask (disc r 85, at (65,50) about (150,135))",
        "ball radius 85 about (150,135), clear of the heading window", draw_attitude_ball_mask);
  t.add(410, 100, 12, "Attitude", "bank pointer (needle, pivot (0,6), tip at r 84)", "ball radius 85",
        draw_attitude_bank_needle);
  t.add(420, 300, 270, "Attitude", "face over the ball (ball hole black, aircraft symbol, bank scale)", kFace,
        [](Canvas& c) { draw_attitude_face(c, true); });
  t.add(430, 180, 540, "Attitude", "flight path ball (sprite, marker at the centre)", "as the attitude ball",
        draw_attitude_flight_path);
  t.add(431, 170, 170, "Attitude", "flight path window mask", "as the ball mask", draw_attitude_ball_mask);
  t.add(440, 1200, 45, "Attitude", "heading tape (moving image, 3 px per degree)",
        "heading tooltip area (90,4) 120 x 45; 360 degrees at 3 px plus one window", draw_attitude_tape);
  t.add(441, 120, 45, "Attitude", "heading window mask (gap at the lubber line)",
        "heading tooltip area 120 x 45", draw_attitude_tape_mask);
}

void right_display(Table& t) {
  const char* kFace = "display face 286 x 291";
  const char* g = "Multi_Function_Display_Right";
  t.add(2000, 286, 291, g, "dark display glass", kFace, draw_display_glass);
  t.add(2010, 286, 291, g, "HSI fixed marks (lubber box, triangle, 45-degree ticks)", kFace, draw_hsi_marks);
  t.add(2020, 212, 212, g, "compass rose (sprite), numbered every 30 degrees", kGiven, draw_hsi_rose);
  t.add(2021, 214, 212, g, "compass rose window (disc r 106 about (147,145) from (40,39))",
        "sprite position (40,39) and centre (147,145)",
        [](Canvas& c) { draw_disc_mask(c, 107, 106, 106, 1e9); });
  t.add(2030, 24, 124, g, "glide-slope scale, four dots 28 px apart and a centre bar",
        "at (253,83), centred on y 145; 56 px per unit", [](Canvas& c) { draw_glideslope_scale(c, 28); });
  t.add(2040, 16, 22, g, "glide-slope diamond, magenta", "at (257,134), centred on y 145",
        draw_glideslope_pointer);
  t.add(2050, 112, 24, g, "heading bug (needle, pivot (0,12)), magenta, at the rose rim",
        "pivot (0,12); rose radius 106", draw_hsi_heading_bug);
  t.add(2060, 130, 190, g, "course pointer with four deviation dots (drawn pointing up)",
        "pivot (65,95) at the centre", draw_hsi_course_pointer);
  t.add(2070, 228, 22, g, "ADF bearing pointer, cyan single line", "pivot (114,11) at the centre",
        [](Canvas& c) { draw_hsi_bearing_pointer(c, kCyan, false); });
  t.add(2080, 10, 80, g, "deviation bar, filled magenta (sprite)", "bar between the course pointer halves",
        [](Canvas& c) { draw_hsi_deviation_bar(c, true); });
  t.add(2081, 214, 212, g, "filled deviation bar window", "as the rose window",
        [](Canvas& c) { draw_disc_mask(c, 107, 106, 106, 1e9); });
  t.add(2090, 10, 80, g, "deviation bar, hollow magenta (sprite)", "as the filled bar",
        [](Canvas& c) { draw_hsi_deviation_bar(c, false); });
  t.add(2091, 214, 212, g, "hollow deviation bar window", "as the rose window",
        [](Canvas& c) { draw_disc_mask(c, 107, 106, 106, 1e9); });
  t.add(2100, 18, 36, g, "TO/FROM triangle, white (drawn pointing up)", "pivot (9,34)", draw_hsi_to_from);
  t.add(2110, 228, 28, g, "NAV 2 bearing pointer, green double line", "pivot (114,14) at the centre",
        [](Canvas& c) { draw_hsi_bearing_pointer(c, kNavGreen, true); });
  t.add(2120, 36, 34, g, "aircraft symbol", "at (129,128), centred on (147,145)",
        [](Canvas& c) { draw_aircraft_symbol(c, 18, 1, 34, kWhite); });
  t.add(2160, 286, 291, g, "engine page overlay: dial rims, labels N1 EGT N2 FF AB FUEL %", kFace,
        draw_engine_overlay);
  t.add(2180, 31, 31, g, "green dial wedge (quarter disc, pivot (0,31))", kGiven, [](Canvas& c) {
    draw_engine_wedge(c, {0, 220, 60});
  });
  t.add(2190, 31, 31, g, "amber dial wedge", kGiven, [](Canvas& c) { draw_engine_wedge(c, kAmber); });
  t.add(2200, 31, 31, g, "red dial wedge", kGiven, [](Canvas& c) { draw_engine_wedge(c, kRed); });
  t.add(2250, 286, 291, g, "controls page face: plan view, HYDR 1, HYDR 2, FLAPS, SLATS, GEAR", kFace,
        draw_controls_face);
  for (int s = 0; s < 3; ++s) {
    static constexpr const char* kLeg[3] = {"gear leg UP", "gear leg in transit (red dot)",
                                            "gear leg DN (green dot)"};
    t.add(2260 + s, 30, 30, g, kLeg[s], "legs 34 px apart from (186,3)",
          [s](Canvas& c) { draw_gear_leg(c, s); });
  }
  t.add(2270, 204, 22, g, "slat bars, green", "from (41,139) to the mirror point about x 143",
        [](Canvas& c) { draw_slat_bars(c, kGreen); });
  t.add(2271, 204, 22, g, "slat bars, amber", "as 2270", [](Canvas& c) { draw_slat_bars(c, kAmber); });
  static constexpr Rgb kFlap[5] = {
      {0, 230, 60}, {255, 240, 40}, {190, 200, 90}, {128, 128, 0}, {255, 128, 0}};
  static constexpr const char* kFlapName[5] = {"green", "yellow", "light olive", "olive", "orange"};
  for (int s = 0; s < 5; ++s)
    t.add(2280 + s, 222, 20, g, std::string("flap trailing edges, ") + kFlapName[s],
          "from (32,222) to the mirror point about x 143", [s](Canvas& c) { draw_flap_edges(c, kFlap[s]); });
  t.add(2290, 50, 12, g, "fuselage boxes, green", "from (118,184), symmetric about x 143",
        [](Canvas& c) { draw_fuselage_boxes(c, kGreen); });
  t.add(2291, 50, 12, g, "fuselage boxes, amber", "as 2290",
        [](Canvas& c) { draw_fuselage_boxes(c, kAmber); });
  t.add(2300, 40, 14, g, "HOOK, green", "at (123,219), centred on x 143",
        [](Canvas& c) { draw_label_icon(c, "HOOK", kGreen); });
  t.add(2310, 100, 16, g, "two triangles on the forward fuselage", "from (93,95), symmetric about x 143",
        draw_forward_triangles);
  t.add(2320, 38, 14, g, "BRK, green", "at (124,152), centred on x 143",
        [](Canvas& c) { draw_label_icon(c, "BRK", kGreen); });
  t.add(2321, 38, 14, g, "BRK, amber", "as 2320", [](Canvas& c) { draw_label_icon(c, "BRK", kAmber); });
  t.add(2322, 38, 14, g, "BRK, red", "as 2320", [](Canvas& c) { draw_label_icon(c, "BRK", kRed); });
  t.add(2330, 14, 30, g, "tail marker", "at (136,245), centred on x 143", draw_tail_marker);
}

void left_display(Table& t) {
  const char* g = "Multi_Function_Display_Left";
  t.add(3000, 286, 291, "Radar", "radar face with the range buttons", kGiven, draw_radar_face);
  t.add(3010, 286, 286, "Radar", "radar drawing surface (black)", kGiven, [](Canvas&) {});
  t.add(3030, 286, 291, g, "black display glass", kGiven, draw_display_glass);
  t.add(3040, 286, 291, g, "radar page: range rings, 15 NM legend, arrow buttons", kGiven, draw_radar_page);
  t.add(3050, 286, 291, g, "radios page face: COM1 COM2 NAV1 NAV2 ADF IFF, audio buttons", kGiven,
        draw_radios_page);
  t.add(3060, 27, 19, g, "lit frequency swap box", "the swap box 27 x 19", draw_swap_box_lit);
  t.add(3070, 43, 19, g, "audio button lamp", "the button 43 x 19", draw_button_lamp);
  t.add(3100, 286, 291, g, "map page: heading arc, range rings, labels", kGiven, draw_map_page);
  t.add(3200, 286, 291, g, "weapons page: plan view with stores", kGiven, draw_weapons_page);
  t.add(3300, 286, 291, g, "navigation arc page face", kGiven, draw_arc_page);
  const char* kMask = "display face 286 x 291 at (0,0)";
  auto mask = [](Canvas& c) { draw_arc_mask(c); };
  t.add(3310, 356, 356, g, "compass card (sprite), labels 0 to 33", kGiven, draw_arc_card);
  t.add(3311, 286, 291, g, "compass card window (arc above the lower texts)", kMask, mask);
  t.add(3320, 24, 24, g, "aircraft symbol, apex at (10,2) over the turning point (143,212)", kGiven,
        [](Canvas& c) { draw_aircraft_symbol(c, 10, 2, 20, kWhite); });
  t.add(3330, 372, 372, g, "heading bug, magenta, with a dotted line to the centre", kGiven,
        draw_arc_heading_bug);
  t.add(3331, 286, 291, g, "heading bug window", kMask, mask);
  t.add(3340, 370, 370, g, "NAV 2 pointer, green double line", kGiven,
        [](Canvas& c) { draw_arc_pointer(c, kNavGreen, true); });
  t.add(3341, 286, 291, g, "NAV 2 pointer window", kMask, mask);
  t.add(3350, 370, 370, g, "ADF pointer, cyan", kGiven, [](Canvas& c) { draw_arc_pointer(c, kCyan, false); });
  t.add(3351, 286, 291, g, "ADF pointer window", kMask, mask);
  t.add(3360, 350, 350, g, "deviation scale: four dots, magenta course marks", kGiven,
        draw_arc_deviation_scale);
  t.add(3361, 286, 291, g, "deviation scale window", kMask, mask);
  t.add(3370, 350, 350, g, "solid deviation bar", kGiven, [](Canvas& c) { draw_arc_deviation_bar(c, true); });
  t.add(3371, 286, 291, g, "solid deviation bar window", kMask, mask);
  t.add(3380, 350, 350, g, "course line, white, three ticks", kGiven, draw_arc_course_line);
  t.add(3381, 286, 291, g, "course line window", kMask, mask);
  t.add(3390, 16, 112, g, "glide-slope scale, dots 25 px apart", kGiven,
        [](Canvas& c) { draw_glideslope_scale(c, 25); });
  t.add(3400, 16, 18, g, "glide-slope pointer, magenta", kGiven, draw_glideslope_pointer);
  t.add(3410, 350, 350, g, "hollow deviation bar", kGiven,
        [](Canvas& c) { draw_arc_deviation_bar(c, false); });
  t.add(3411, 286, 291, g, "hollow deviation bar window", kMask, mask);
}

void flight_map(Table& t) {
  const char* g = "Flight_Map";
  t.add(1400, 286, 291, g, "map face", kGiven, draw_map_face);
  t.add(1410, 286, 286, g, "map drawing surface (black)", kGiven, [](Canvas&) {});
  t.add(1420, 286, 286, g, "compass arc (sprite about (143,143))", kGiven, draw_map_compass_arc);
  t.add(1421, 286, 286, g, "compass arc window (above the text fields)", "as the compass arc",
        [](Canvas& c) { draw_disc_mask(c, 143, 143, 143, 190); });
  t.add(1430, 14, 139, g, "heading mark down to the centre", kGiven, draw_map_heading_mark);
  t.add(1440, 286, 286, g, "range ring 5 NM", "full surface at (0,0)",
        [](Canvas& c) { draw_map_ring(c, 46.3, "5"); });
  t.add(1450, 286, 286, g, "range ring 10 NM", "full surface at (0,0)",
        [](Canvas& c) { draw_map_ring(c, 92.6, "10"); });
  t.add(1460, 286, 286, g, "range ring 15 NM", "full surface at (0,0)",
        [](Canvas& c) { draw_map_ring(c, 138.9, "15"); });
  static constexpr const char* kLabel[3] = {"5", "10", "15"};
  for (int b = 0; b < 3; ++b)
    for (int on = 0; on < 2; ++on)
      t.add(1470 + 10 * b + on, 30, 16, g, std::string("ring button ") + kLabel[b] + (on ? ", on" : ", off"),
            "the button's click box 30 x 16", [b, on](Canvas& c) { draw_map_button(c, kLabel[b], on != 0); });
}

}  // namespace

void draw_window_mask_black(Canvas&) {}

std::vector<ArtItem> art_table() {
  Table t;
  controls(t);
  hud(t);
  attitude(t);
  right_display(t);
  left_display(t);
  flight_map(t);
  std::sort(t.items.begin(), t.items.end(), [](const ArtItem& a, const ArtItem& b) { return a.id < b.id; });
  return t.items;
}

}  // namespace orv::art
