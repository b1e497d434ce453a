// The one walk of a gauge's element tree that evaluation and drawing share:
// depth first in drawing order (an element, then the elements that follow it
// through `next`, then its siblings), each element once, at its first place,
// so an element listed twice is evaluated, traced and drawn once. The walk
// keeps within the loader's limits, which also ends it on a cyclic tree.
#pragma once

#include <algorithm>
#include <vector>

#include "frame/gauge_abi.h"
#include "host/load/module_records.h"

namespace orv::host {

// Calls `visit(element, depth)` for each element of `list` and what follows it.
template <class Visit>
void walk_elements(abi::ElementHeader* const* list, Visit&& visit) {
  std::vector<const abi::ElementHeader*> seen;
  auto walk = [&](auto& self, abi::ElementHeader* const* l, int depth) -> void {
    if (l == nullptr || depth > kMaxElementDepth) return;
    for (; *l != nullptr && seen.size() < static_cast<std::size_t>(kMaxElementsPerGauge); ++l) {
      if (std::find(seen.begin(), seen.end(), *l) != seen.end()) continue;
      seen.push_back(*l);
      visit(*l, depth);
      self(self, (*l)->next, depth + 1);
    }
  };
  walk(walk, list, 0);
}

}  // namespace orv::host
