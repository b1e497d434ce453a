// What orvane-panel knows of a module's gauges, for info and the catalogue:
// read from the module's records and one probe run.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/panel/host.h"

namespace orv::panel_tool {

// One record of a gauge's mouse list, copied out of the module.
struct MouseFact {
  int index = 0;
  std::string kind;  // "box", "area", "tooltip"
  bool whole = false;
  int x = 0, y = 0, w = 0, h = 0;  // in bitmap pixels
  int cursor = -1;
  std::uint32_t flags = 0;
  std::uint32_t help_id = 0;
  std::uint32_t event = 0;  // 0 for tooltips
  std::string tooltip;      // as the module writes it (Windows-1252)
};

struct GaugeFacts {
  std::string name;
  int width = 0, height = 0;                // default size
  int bitmap_width = 0, bitmap_height = 0;  // of its first bitmap
  std::map<std::string, int> kinds;         // element kind -> count
  std::set<std::uint32_t> tokens;           // token numbers its elements read
  std::vector<MouseFact> mouse;
  std::vector<std::uint32_t> events;  // sent when its boxes are clicked, in first-sent order
  std::set<std::uint32_t> opens, closes;
};

// The gauges `names` of `module` (each a gauge of it), placed once each in
// an open window 0 and probed from the built-in scenario's start, in
// `state`. The module keeps pointers into the state it was last served (the
// GPS data block) until a later host serves it anew: a caller that runs the
// module again keeps `state` until then.
std::vector<GaugeFacts> gather_facts(host::Module& module, const std::vector<std::string>& names,
                                     host::SimState& state);

// "0x80000000".
std::string hex(std::uint32_t v);

}  // namespace orv::panel_tool
