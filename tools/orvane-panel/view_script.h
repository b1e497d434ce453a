// The input script of `orvane-panel view --script`: input events at
// simulated times, one per line:
//
//   # a comment
//   0.5 move 120,80
//   1.0 click 120,80 right
//   1.5 key space
//   2.0 screenshot out/view.png
//   3.0 quit
//
// Points are window pixels at scale 1; key names are SDL's ("space", "up",
// "page up", "q", ...). Lines must come in time order.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

namespace orv::panel_tool {

struct ViewStep {
  enum class Kind { click, move, key, screenshot, quit };
  double t = 0.0;
  Kind kind = Kind::quit;
  int x = 0, y = 0;
  bool right = false;
  SDL_Keycode key = SDLK_UNKNOWN;
  std::string file;
};

struct ViewScript {
  std::vector<ViewStep> steps;
};

// Throws HostError (usage) naming the file and line of a bad line, or
// (unreadable) when the file cannot be read.
ViewScript parse_view_script(const std::string& text, const std::string& name);
ViewScript read_view_script(const std::string& path);

}  // namespace orv::panel_tool
