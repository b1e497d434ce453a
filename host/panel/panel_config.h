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
// do not parse, numbers out of range (see kMaxPanelPixels), gauge lines
// outside a window and sections such as [Window-1] give a warning naming the
// file and line and are skipped.
//
// Read as the simulator reads it: section names and keys in any letter case,
// `;` and `//` comments (whole lines, or after a blank), blanks and tabs
// around values, `size_mm` with the width alone (the height then follows
// the window's background bitmap, `file=`, else what the gauges need), and
// `[VcockpitNN]` sections: gauges drawn onto a texture of `pixel_size`
// named by `texture=`, placed and run like the gauges of a window.
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

// The largest window or gauge size, in pixels, and the farthest a gauge may
// sit from its window's corner either way: lines beyond are reported and not
// used, so every picture the host draws stays within what an image holds.
inline constexpr int kMaxPanelPixels = 8192;

// Virtual-cockpit sections get window numbers from here on (NN added), clear
// of the numbers key events address.
inline constexpr std::uint32_t kVirtualCockpitWindowBase = 10000;

struct PanelWindow {
  int index = 0;                 // NN of [WindowNN] or [VcockpitNN]
  bool virtual_cockpit = false;  // a [VcockpitNN] section: always shown, on its texture
  std::string texture;           // texture= of a virtual cockpit
  int pixel_width = 0;           // pixel_size= of a virtual cockpit
  int pixel_height = 0;
  std::string title;
  std::uint32_t number = 0;  // the window number key events address (ident)
  int size_mm_x = 0;
  int size_mm_y = 0;
  int position = 0;
  // window_pos and window_size: fractions of the screen (x, y and width,
  // height), when the section gives them.
  std::optional<double> pos_x, pos_y;
  std::optional<double> size_x, size_y;
  // file=: the background bitmap, as written, and its size when it could be
  // read beside the panel (0 otherwise).
  std::string background_file;
  int background_width = 0, background_height = 0;
  int background_line = 0;  // of file=
  int line = 0;             // of the section header
  bool visible = true;
  std::uint32_t background_colour = 0;  // 0x00BBGGRR
  std::vector<GaugePlacement> gauges;
};

// A section header seen in the file, and what the host made of it.
struct PanelSection {
  std::string name;  // as written between the brackets
  int line = 0;
  int gauge_lines = 0;  // gauge lines in the section
  std::string use;      // "window 0", "virtual cockpit, texture $MFD", or why it was not read
};

struct PanelConfig {
  std::string file;  // as given, for messages
  std::vector<PanelWindow> windows;
  std::vector<PanelSection> sections;  // every section header, in file order
  std::vector<std::string> warnings;   // "file:line: reason"
};

// The UTF-8 byte-order mark a panel file may start with; it is skipped.
inline constexpr const char* kUtf8Mark = "\xEF\xBB\xBF";

// Parses panel.cfg text. Never throws: problems become warnings. A window's
// background bitmap (`file=`, for the height of a width-only `size_mm`) is
// looked up in `directory` (none: not read).
PanelConfig parse_panel_config(const std::string& text, const std::string& file_name,
                               const std::string& directory = {});

// What a panel's sections were used for, one "line N [Section]: use" line
// each: the explanation when the panel places nothing of the module.
std::string describe_sections(const PanelConfig& panel);

// The window number of an ident value: one of the named panels
// (MAIN_PANEL 0, THROTTLE_PANEL 10, ...) or a decimal number; nullopt when the
// value is neither.
std::optional<std::uint32_t> window_number_of_ident(const std::string& ident);

}  // namespace orv::host
