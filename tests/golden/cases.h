// The golden pictures: one row per reference PNG (tests/golden/NAME.png).
// Each row renders a scenario of data/scenarios with orvane-panel at one
// simulated time, with extra render options, and keeps one picture: a gauge
// instance (its gauge name: the first instance of that gauge in an open
// window), the screen as the pilot sees it ("screen") or the sheet of every
// open window side by side ("cockpit").
//
// To add a picture, add a row and run `bash scripts/golden.sh NAME` to write
// its reference; look at it before committing it.
//
// name                            scenario                      time  picture                         options
// clang-format off
GOLDEN(hud_cruise,                 "hud_cruise.json",               4, "Head_Up_Display",              "")
GOLDEN(hud_cruise_off,             "hud_cruise.json",               4, "Head_Up_Display",              "--click Screen_Selector_Main:40,30:right@1")
GOLDEN(hud_climbing_turn_entry,    "hud_climbing_turn.json",        2, "Head_Up_Display",              "")
GOLDEN(hud_climbing_turn,          "hud_climbing_turn.json",       10, "Head_Up_Display",              "")
GOLDEN(hud_ils_intercept,          "hud_ils_nav1.json",             2, "Head_Up_Display",              "")
GOLDEN(hud_ils_on_course,          "hud_ils_nav1.json",            12, "Head_Up_Display",              "")
GOLDEN(hud_ils_middle_green,       "hud_ils_nav1.json",             6, "Head_Up_Display",              "--click Screen_Selector_Main:40,30@1")
GOLDEN(hud_ils_dark_green,         "hud_ils_nav1.json",             6, "Head_Up_Display",              "--click Screen_Selector_Main:40,30@1 --click Screen_Selector_Main:40,30@1")
GOLDEN(hud_ils_red,                "hud_ils_nav1.json",             6, "Head_Up_Display",              "--click Screen_Selector_Main:40,30@1 --click Screen_Selector_Main:40,30@1 --click Screen_Selector_Main:40,30@1")
GOLDEN(hud_ils_nav2,               "hud_ils_nav2.json",             5, "Head_Up_Display",              "")
GOLDEN(hud_gear_lagging,           "hud_short_final.json",          3, "Head_Up_Display",              "")
GOLDEN(hud_gear_down,              "hud_short_final.json",          4, "Head_Up_Display",              "")
GOLDEN(attitude_turn_entry,        "attitude_climbing_turn.json",     1, "Attitude",                     "")
GOLDEN(attitude_climbing_turn,     "attitude_climbing_turn.json",     6, "Attitude",                     "")
GOLDEN(attitude_standing_still,    "attitude_climbing_turn.json",     1, "Attitude",                     "--set AIRSPEED=0 --set VERTICAL_SPEED=0 --set PITCH=0 --set BANK=0 --set ALTITUDE=5 --set 64=0 --set HEADING=0")
GOLDEN(attitude_supersonic_dive,   "attitude_climbing_turn.json",     1, "Attitude",                     "--set AIRSPEED=999.6 --set VERTICAL_SPEED=-20000 --set PITCH=40 --set BANK=60 --set ALTITUDE=40099.7 --set 64=32768 --set HEADING=271 --set KOHLSMAN_SETTING_MB=999.6")
GOLDEN(attitude_pitch_stop,        "attitude_climbing_turn.json",     1, "Attitude",                     "--set PITCH=-120 --set BANK=0 --set VERTICAL_SPEED=0")
GOLDEN(selector_unlit,             "cockpit_ils_approach.json",   0.5, "Screen_Selector_Main",         "--set PANEL_LIGHTING=0")
GOLDEN(selector_start_up,          "cockpit_ils_approach.json",   0.5, "Screen_Selector_Main",         "")
GOLDEN(selector_approach,          "cockpit_ils_approach.json",    14, "Screen_Selector_Main",         "")
GOLDEN(selector_radios_engine,     "selector_pages.json",           2, "Screen_Selector_Main",         "")
GOLDEN(nav_gps_switch_nav,         "cockpit_ils_approach.json",    14, "NAV_GPS_Switch",               "")
GOLDEN(nav_gps_switch_gps,         "cockpit_ils_approach.json",    14, "NAV_GPS_Switch",               "--set NAV_GPS_SWITCH=1")
GOLDEN(ils_tac_switch_nav1,        "cockpit_ils_approach.json",    14, "ILS_TAC_Switch",               "")
GOLDEN(ils_tac_switch_nav2,        "hud_ils_nav2.json",             5, "ILS_TAC_Switch",               "")
GOLDEN(baro_knob,                  "cockpit_ils_approach.json",    14, "Baro_Pressure",                "")
GOLDEN(heading_knob,               "cockpit_ils_approach.json",    14, "Heading_Selector_Button",      "")
GOLDEN(course_knob,                "cockpit_ils_approach.json",    14, "Omni_Bearing_Selector",        "")
GOLDEN(registration,               "cockpit_ils_approach.json",    14, "Registration",                 "")
GOLDEN(engine_on,                  "cockpit_ils_approach.json",    14, "Engine_On",                    "")
GOLDEN(gps_toggle,                 "cockpit_ils_approach.json",    14, "GPS_Toggle",                   "")
GOLDEN(close_subpanel,             "default.json",                158, "Close_Subpanel",               "")
GOLDEN(flight_map_climb_out,       "cockpit_ils_approach.json",     8, "Flight_Map",                   "")
GOLDEN(flight_map_short_final,     "cockpit_ils_approach.json",    22, "Flight_Map",                   "")
GOLDEN(right_display_climb_out,    "cockpit_ils_approach.json",     8, "Multi_Function_Display_Right", "")
GOLDEN(right_display_short_final,  "cockpit_ils_approach.json",    22, "Multi_Function_Display_Right", "")
GOLDEN(radar_far,                  "radar_intercept.json",         10, "Radar",                        "")
GOLDEN(radar_caution,              "radar_intercept.json",         30, "Radar",                        "")
GOLDEN(radar_closing,              "radar_intercept.json",         45, "Radar",                        "")
GOLDEN(radar_long_range,           "radar_ranges.json",             5, "Radar",                        "")
GOLDEN(left_display_weapons,       "mfd_left_pages.json",        1.25, "Multi_Function_Display_Left",  "")
GOLDEN(left_display_radios_tuned,  "mfd_left_tuning.json",       2.75, "Multi_Function_Display_Left",  "")
GOLDEN(left_display_arc_ils,       "mfd_left_arc_ils.json",       5.5, "Multi_Function_Display_Left",  "")
GOLDEN(cockpit_cruise,             "default.json",                 95, "cockpit",                      "")
GOLDEN(screen_start_up,            "default.json",                 12, "screen",                       "")
GOLDEN(screen_cruise_map,          "default.json",                110, "screen",                       "")
GOLDEN(screen_landing_view,        "default.json",                158, "screen",                       "")
// clang-format on
