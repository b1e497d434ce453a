// The 32 gauges of the module in registry order: the header variable, the name
// the panel configuration uses, and the default size. Each gauge's own file
// defines its header with ORV_DEFINE_GAUGE; Linkage lists them in this order.
#pragma once

#include "frame/gauge_abi.h"

#define ORV_GAUGE_TABLE(X)                                                     \
  X(engine_on, "Engine_On", 30)                                                \
  X(registration, "Registration", 150)                                         \
  X(kneeboard_toggle, "Kneeboard_Toggle", 19)                                  \
  X(atc_toggle, "ATC_Toggle", 19)                                              \
  X(map_toggle, "Map_Toggle", 19)                                              \
  X(invisible_toggle, "Invisible_Toggle", 19)                                  \
  X(close_subpanel, "Close_Subpanel", 19)                                      \
  X(radios_toggle, "Radios_Toggle", 19)                                        \
  X(landing_view_toggle, "Landing_View_Toggle", 19)                            \
  X(gps_toggle, "GPS_Toggle", 19)                                              \
  X(throttle_toggle, "Throttle_Toggle", 19)                                    \
  X(compass_toggle, "Compass_Toggle", 19)                                      \
  X(landing_view_toggle_from_main, "Landing_View_Toggle_from_Main", 19)        \
  X(main_view_toggle_from_landing, "Main_View_Toggle_from_Landing", 19)        \
  X(mfd1_toggle, "MFD1_Toggle", 50)                                            \
  X(mfd2_toggle, "MFD2_Toggle", 50)                                            \
  X(attitude_toggle, "Attitude_Toggle", 50)                                    \
  X(flight_map_toggle, "Flight_Map_Toggle", 50)                                \
  X(radar_toggle, "Radar_Toggle", 50)                                          \
  X(flight_map, "Flight_Map", 286)                                             \
  X(head_up_display, "Head_Up_Display", 100)                                   \
  X(attitude, "Attitude", 100)                                                 \
  X(multi_function_display_left, "Multi_Function_Display_Left", 120)          \
  X(multi_function_display_right, "Multi_Function_Display_Right", 120)        \
  X(radar, "Radar", 120)                                                       \
  X(baro_pressure, "Baro_Pressure", 30)                                        \
  X(heading_selector_button, "Heading_Selector_Button", 30)                    \
  X(omni_bearing_selector, "Omni_Bearing_Selector", 30)                        \
  X(nav_gps_switch, "NAV_GPS_Switch", 30)                                      \
  X(screen_selector_main, "Screen_Selector_Main", 100)                         \
  X(screen_selector_landing, "Screen_Selector_Landing", 100)                   \
  X(ils_tac_switch, "ILS_TAC_Switch", 30)

namespace orv::gauges {

struct GaugeInfo {
  const char* name;
  abi::u32 default_size;
};

#define ORV_DECLARE_GAUGE(var, name, size) \
  extern abi::GaugeHeader var;             \
  inline constexpr GaugeInfo var##_info{name, size};
ORV_GAUGE_TABLE(ORV_DECLARE_GAUGE)
#undef ORV_DECLARE_GAUGE

constexpr abi::GaugeHeader make_gauge_header(const GaugeInfo& info, abi::ElementHeader** elements,
                                             abi::MouseRect* mouse, abi::GaugeFn callback) {
  abi::GaugeHeader h{};
  h.version = abi::kGaugeHeaderVersion;
  h.name = info.name;
  h.elements = elements;
  h.size_x_mm = info.default_size;
  h.mouse_rects = mouse;
  h.callback = callback;
  return h;
}

}  // namespace orv::gauges

// Defines the header of gauge `var` (a name from ORV_GAUGE_TABLE) inside
// namespace orv::gauges.
#define ORV_DEFINE_GAUGE(var, elements, mouse, callback)                                   \
  namespace orv::gauges {                                                                  \
  abi::GaugeHeader var = make_gauge_header(var##_info, (elements), (mouse), (callback));   \
  }
