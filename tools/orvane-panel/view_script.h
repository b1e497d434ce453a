// The input of `orvane-panel view`, from the window system or from a script
// (`view --script`) of input events at simulated times, one per line:
//
//   # a comment
//   0.5 move 120,80
//   1.0 click 120,80 right
//   1.5 key space
//   2.0 screenshot out/view.png
//   3.0 quit
//
// Points are window pixels at scale 1; key names are the viewer's ("space",
// "up", "page up", "q", "+", ...; see key_from_name). Lines must come in
// time order.
#pragma once

#include <string>
#include <vector>

namespace orv::panel_tool {

// The keys the viewer acts on, as every window system names them; `other`
// is any other key.
enum class ViewKey {
  other,
  escape,
  q,
  r,
  space,
  period,
  plus,
  equals,
  minus,
  backspace,
  up,
  down,
  left,
  right,
  left_bracket,
  right_bracket,
  page_up,
  page_down,
  home,
  end,
};

// The key of a name (case does not matter; SDL's names, such as "PageUp"
// and "Keypad +", are taken too); nullopt-like `false` when it names none.
bool key_from_name(const std::string& name, ViewKey& key);

// One input event: from the script, or from the window.
struct ViewInput {
  enum class Kind { click, move, leave, key, screenshot, quit };
  Kind kind = Kind::quit;
  int x = 0, y = 0;  // window pixels (scaled in a script step by the viewer)
  bool right = false;
  ViewKey key = ViewKey::other;
  std::string file;
};

struct ViewStep {
  double t = 0.0;
  ViewInput input;
};

struct ViewScript {
  std::vector<ViewStep> steps;
};

// Throws HostError (usage) naming the file and line of a bad line, or
// (unreadable) when the file cannot be read.
ViewScript parse_view_script(const std::string& text, const std::string& name);
ViewScript read_view_script(const std::string& path);

}  // namespace orv::panel_tool
