// The window of `orvane-panel view`: the one part of the viewer that belongs
// to a window system (SDL natively, the system's own on Windows). It turns
// the system's input into the viewer's events and shows the pictures the
// viewer draws; everything else (the flight, clicks, keys, tooltips,
// placement, reloads) is the viewer's own (view_core.h).
#pragma once

#include <memory>
#include <vector>

#include "host/render/canvas.h"
#include "view_script.h"

namespace orv::panel_tool {

// The pointer shapes the gauges ask for.
enum class ViewCursor { arrow, up, down, hand };

// The up and down arrows, drawn by the viewer for every window system: 16 x
// 16 pixels, two bytes a row, the leftmost pixel in the top bit; `shape`
// marks the arrow's pixels, `edge` those of them drawn black (the others are
// white).
struct ArrowCursor {
  unsigned char shape[32] = {}, edge[32] = {};
  int hot_x = 8, hot_y = 0;
};
ArrowCursor arrow_cursor(bool up);

class ViewWindow {
 public:
  virtual ~ViewWindow() = default;
  // Opens the window, width x height pixels; throws HostError (usage) when
  // it cannot.
  virtual void open(int width, int height) = 0;
  // Appends the input that came since the last call.
  virtual void poll(std::vector<ViewInput>& input) = 0;
  // Shows `picture` (the window's size, rgb) with the pointer as `cursor`.
  virtual void show(render::Image& picture, ViewCursor cursor) = 0;
};

// The window system started, before the module is loaded; throws HostError
// (usage) when there is none.
std::unique_ptr<ViewWindow> start_view_window();

}  // namespace orv::panel_tool
