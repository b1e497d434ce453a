// Where the simulator shows a panel's windows: one placement of every window
// and gauge instance on a screen of given size, and the order in which the
// open windows lie over each other. Renderers (render, view) draw from it and
// route the pointer through it; it knows nothing of how pictures are drawn.
//
// The rules (see docs/panels.md):
//   units     a window's size_mm (a virtual cockpit's too); a side left out
//             follows the background bitmap's proportions, else the
//             bitmap's size, else what the window's gauges reach
//   screen    --screen, else the panel's own: the main window (window 0,
//             else the first [WindowNN]) at one pixel per unit: its units
//             divided by its window_size, or without one its width and the
//             larger of its height and a 4:3 screen
//   size      window_size (fractions of the screen) where given; else the
//             units at the main window's scale (screen pixels per unit)
//   place     window_pos (fractions of the screen) where given; else
//             position= 0 to 8 (top left ... bottom right) against the
//             screen's edges
//   gauges    their units scaled by the window's pixels per unit, each edge
//             rounded on its own, so gauges that meet in units meet on screen
//   stacking  windows that cover the whole screen (views) lie under all
//             others; among each kind, a window opened later lies over one
//             opened earlier, and windows opened together (the panel's
//             visible ones at start) in panel order
// A virtual cockpit ([VcockpitNN]) is not on the screen: its texture of
// pixel_size (else its units) holds its gauges scaled the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/aircraft/simulator.h"
#include "host/panel/host.h"
#include "host/panel/panel_config.h"

namespace orv::host {

struct ScreenSize {
  int width = 0, height = 0;
};

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

// "1024x768" (each side 16 to 8192); nullopt when malformed.
std::optional<ScreenSize> parse_screen_size(const std::string& text);

class ScreenLayout {
 public:
  // Places `windows` (as the host placed them) and their `instances` on a
  // screen of `screen`, or of the panel's own size.
  ScreenLayout(const std::vector<PanelWindow>& windows, const std::vector<PlacedInstance>& instances,
               std::optional<ScreenSize> screen = std::nullopt);

  ScreenSize screen() const { return screen_; }
  // Window k (in panel order) on the screen, or a virtual cockpit on its
  // texture (at 0,0).
  const Rect& window_rect(std::size_t k) const { return windows_[k].rect; }
  // Window k's units (size_mm, completed as above).
  ScreenSize window_units(std::size_t k) const { return windows_[k].units; }
  // Instance i where its window puts it: on the screen, or on its virtual
  // cockpit's texture. Empty (0 x 0) when its window is not in the panel.
  const Rect& instance_rect(std::size_t i) const { return instances_[i]; }
  // The window (index in panel order) an instance belongs to, or nullopt.
  std::optional<std::size_t> window_of(std::size_t instance) const;

  // The open panel windows (not virtual cockpits), bottom first.
  std::vector<std::size_t> stack(const SimState& state) const;

  // The instance under screen point (x, y) and the point in its placed
  // pixels (its panel size, as Host::click takes it): the topmost open
  // window holding the point, its last instance holding it. Nullopt over
  // no window, or over a window's background.
  struct Hit {
    std::size_t instance;
    int x, y;
  };
  std::optional<Hit> hit(const SimState& state, int x, int y) const;

 private:
  struct Placed {
    const PanelWindow* window;
    ScreenSize units;
    Rect rect;
    bool covers_screen = false;
  };
  std::vector<Placed> windows_;
  std::vector<Rect> instances_;
  std::vector<std::optional<std::size_t>> instance_window_;
  const std::vector<PlacedInstance>* placed_;
  ScreenSize screen_;
};

}  // namespace orv::host
