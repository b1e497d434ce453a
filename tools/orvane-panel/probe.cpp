#include "probe.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <tuple>

#include "host/load/stop_request.h"

namespace orv::panel_tool {

using namespace orv::host;

std::vector<MouseRecord> mouse_records(const abi::MouseRect* rects, int gauge_w, int gauge_h) {
  std::vector<MouseRecord> out;
  if (rects == nullptr) return out;
  MouseRecord whole;
  whole.w = gauge_w;
  whole.h = gauge_h;
  std::vector<MouseRecord> stack;  // enclosing areas
  auto child = [&](const MouseRecord& parent, const abi::PixBox& box) {
    MouseRecord r = parent;
    if (box.w <= 0 || box.h <= 0) return r;
    r.whole = false;
    r.x = (parent.whole ? 0 : parent.x) + box.x;
    r.y = (parent.whole ? 0 : parent.y) + box.y;
    r.w = box.w;
    r.h = box.h;
    return r;
  };
  for (int i = 0; i < kMaxMouseRects && rects[i].kind != abi::kMouseEnd; ++i) {
    const abi::MouseRect& m = rects[i];
    const MouseRecord& parent = stack.empty() ? whole : stack.back();
    MouseRecord r;
    switch (m.kind) {
      case abi::kMouseArea:
        r = child(parent, m.box);
        r.depth = static_cast<int>(stack.size()) + 1;
        stack.push_back(r);
        break;
      case abi::kMouseBox:
        r = child(parent, m.box);
        r.depth = static_cast<int>(stack.size()) + 1;
        break;
      case abi::kMouseTooltip:
        r = parent;
        r.depth = static_cast<int>(stack.size());
        break;
      case abi::kMouseAreaEnd:
        if (!stack.empty()) stack.pop_back();
        continue;
      default:
        continue;
    }
    r.index = i;
    r.rect = &m;
    out.push_back(r);
  }
  return out;
}

std::vector<MouseRecord> placed_mouse_records(const PlacedInstance& p) {
  const bool scaled = p.bitmap_width > 0 && p.bitmap_height > 0;
  auto records = mouse_records(p.gauge->mouse_rects(), scaled ? p.bitmap_width : p.width,
                               scaled ? p.bitmap_height : p.height);
  if (!scaled) return records;
  auto low = [](int v, int from, int to) {
    return static_cast<int>(std::floor(static_cast<double>(v) * to / from));
  };
  auto high = [](int v, int from, int to) {
    return static_cast<int>(std::ceil(static_cast<double>(v) * to / from));
  };
  for (MouseRecord& r : records) {
    const int x0 = low(r.x, p.bitmap_width, p.width), y0 = low(r.y, p.bitmap_height, p.height);
    r.w = high(r.x + r.w, p.bitmap_width, p.width) - x0;
    r.h = high(r.y + r.h, p.bitmap_height, p.height) - y0;
    r.x = x0;
    r.y = y0;
  }
  return records;
}

std::vector<ProbedInstance> probe_clicks(Host& host, const Scenario& scenario, int repeats) {
  SimState& state = host.state();
  scenario.apply_initial(state);
  host.start();
  host.frame();
  state.clear_logs();
  std::vector<ProbedInstance> probed(host.instances().size());
  // Instances of one gauge with the same parameters and size answer a click
  // alike: each kind is probed once, so a panel of many instances costs time
  // in proportion to its size rather than its square (each probe runs a
  // frame of every instance).
  std::map<std::tuple<std::string, std::string, int, int>, std::size_t> first_of_kind;
  for (std::size_t i = 0; i < host.instances().size(); ++i) {
    throw_if_stop_requested();
    PlacedInstance& p = host.instances()[i];
    ProbedInstance& result = probed[i];
    const auto [kind, fresh] =
        first_of_kind.try_emplace({p.gauge->name(), p.gauge->parameters(), p.width, p.height}, i);
    if (!fresh) {
      result = probed[kind->second];
      continue;
    }
    const auto records = placed_mouse_records(p);
    for (const MouseRecord& r : records) {
      if (r.rect->kind != abi::kMouseBox) continue;
      for (const MouseButton button : {MouseButton::left, MouseButton::right}) {
        const std::uint32_t flag =
            button == MouseButton::left ? abi::kMouseLeftSingle : abi::kMouseRightSingle;
        if ((r.rect->flags & flag) == 0) continue;
        for (int n = 0; n < repeats; ++n) {
          throw_if_stop_requested();
          host.click(i, r.x + r.w / 2, r.y + r.h / 2, button);
          host.frame();
          for (const KeyEventRecord& e : state.key_events()) {
            if (std::find(result.events.begin(), result.events.end(), e.event) == result.events.end())
              result.events.push_back(e.event);
          }
          for (const WindowChange& w : state.window_changes())
            (w.open ? result.opened : result.closed).insert(w.window);
          state.clear_logs();
        }
      }
    }
  }
  host.stop();
  return probed;
}

}  // namespace orv::panel_tool
