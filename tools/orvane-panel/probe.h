// What a panel designer's commands learn about a module by running it: the
// click boxes of a gauge's mouse list as rectangles of the gauge, and the key
// events and windows every instance sends or opens when each of its boxes is
// clicked in turn (the probe run).
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "frame/gauge_abi.h"
#include "host/panel/host.h"
#include "host/scenario/scenario.h"
#include "names.h"

namespace orv::panel_tool {

// One record of a mouse list with its rectangle in gauge coordinates. A
// record without a box of its own covers its enclosing area; `whole` marks a
// record that covers the whole gauge.
struct MouseRecord {
  int index = 0;  // in the mouse list
  int depth = 0;
  const abi::MouseRect* rect = nullptr;
  bool whole = true;
  int x = 0, y = 0, w = 0, h = 0;
};

// The records of a mouse list but area ends, in list order; `gauge_w` and
// `gauge_h` give the rectangle of records that cover the whole gauge.
std::vector<MouseRecord> mouse_records(const abi::MouseRect* rects, int gauge_w, int gauge_h);

// The records of a placed instance's mouse list in the instance's pixels as
// placed: the module lays its boxes out in its first bitmap's coordinates,
// the host scales them to the instance's size.
std::vector<MouseRecord> placed_mouse_records(const host::PlacedInstance& p);

// The click buttons a box takes (left, right or both), as mouse flag bits.
inline constexpr std::uint32_t kClickButtons = abi::kMouseLeftSingle | abi::kMouseRightSingle;

struct ProbedInstance {
  std::vector<std::uint32_t> events;  // key events sent, in first-sent order, no repeats
  std::set<std::uint32_t> opened;     // windows opened
  std::set<std::uint32_t> closed;     // windows closed
};

// Starts `host` (placed, not started) with the scenario's initial state and
// clicks the centre of every click box of every instance with each button
// the box takes, `repeats` times, one frame after each click; the events and
// windows that follow a click are the clicked instance's. Stops the host.
std::vector<ProbedInstance> probe_clicks(host::Host& host, const host::Scenario& scenario, int repeats = 4);

}  // namespace orv::panel_tool
