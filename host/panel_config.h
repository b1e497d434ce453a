// The simulator's panel configuration (panel.cfg): window titles, windows and
// the gauges each window places.
//
//   [Window Titles]
//   window00=Main panel
//   [Window00]
//   size_mm=1024,768
//   position=0
//   visible=1
//   ident=MAIN_PANEL
//   background_color=0,0,0
//   gauge00=Orvane_Instr!Engine_On, 0,0
//   gauge01=Orvane_Instr!Close_Subpanel, 10,10,19,19, o50 t225
//
// A gauge line is `Module!Gauge, x, y[, w[, h]][, parameters]`; everything
// after the last number is the parameter string, commas included. Lines that
// do not parse give a warning naming the file and line and are skipped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv::host {

struct GaugePlacement {
  std::string module;  // as written before '!'
  std::string gauge;
  int x = 0;
  int y = 0;
  std::optional<int> width;
  std::optional<int> height;
  std::string parameters;
  int line = 0;  // in the panel file
};

struct PanelWindow {
  int index = 0;  // NN of [WindowNN]
  std::string title;
  std::uint32_t number = 0;  // the window number key events address (ident)
  int size_mm_x = 0;
  int size_mm_y = 0;
  int position = 0;
  bool visible = true;
  std::uint32_t background_colour = 0;  // 0x00BBGGRR
  std::vector<GaugePlacement> gauges;
};

struct PanelConfig {
  std::string file;  // as given, for messages
  std::vector<PanelWindow> windows;
  std::vector<std::string> warnings;  // "file:line: reason"
};

// Parses panel.cfg text. Never throws: problems become warnings.
PanelConfig parse_panel_config(const std::string& text, const std::string& file_name);

// The window number of an ident value: one of the named panels
// (MAIN_PANEL 0, THROTTLE_PANEL 10, ...) or a decimal number; nullopt when the
// value is neither.
std::optional<std::uint32_t> window_number_of_ident(const std::string& ident);

}  // namespace orv::host
