// What orvane-panel render can draw over the panel: the tooltip box where the
// simulator shows it, and every mouse record of an instance with its kind,
// cursor and the buttons it takes.
#pragma once

#include <string>

#include "frame/gauge_abi.h"
#include "host/panel/host.h"
#include "host/render/canvas.h"

namespace orv::panel_tool {

struct Box {
  double x, y, w, h;
};

// Where the simulator puts a tooltip of `w` x `h` for the pointer at
// (px, py) of a picture of `picture_w` x `picture_h`: below the pointer's
// arrow, its left edge at the pointer, moved left to stay inside the
// picture, and above the pointer when there is no room below.
Box tooltip_box(double px, double py, double w, double h, int picture_w, int picture_h);

// The tooltip `text` (Windows-1252, as the module writes it) in its box for
// the pointer at (px, py), on the system's pale yellow with a grey border.
void draw_tooltip(render::Canvas& canvas, double px, double py, const std::string& text, int picture_w,
                  int picture_h);

// "box c5 L", "area", "tip c-1": the record's kind, its cursor when it asks
// for one, and the click buttons a box takes (L, R).
std::string mouse_area_label(const abi::MouseRect& rect);

// Every mouse record of `p`, drawn over the instance with its top left at the
// origin of `canvas`: click boxes solid orange, areas dashed cyan, tooltip areas
// dotted yellow, each labelled.
void draw_mouse_areas(render::Canvas& canvas, const host::PlacedInstance& p);

}  // namespace orv::panel_tool
