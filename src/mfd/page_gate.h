// The page gate of both multi-function displays. A display owns no page
// object: every page-bound element decides on each call whether it belongs to
// the page its display shows now (`left_mfd_page` or `right_mfd_page`).
#pragma once

#include <cstdint>

#include "frame/elements.h"

namespace orv::mfd {

// Strings, sprites, sliders and needles: clears the hidden bit when `current`
// is `page` and sets it otherwise. Returns whether the element is on its page,
// so the callback can go on to its own conditions (which may hide it again)
// or return its off-page value. A hidden string keeps its text: the caller
// writes its buffer only when it shows it.
// Inline: most callbacks of both displays call it first.
inline bool page_gate(abi::ElementHeader* e, std::int32_t current, std::int32_t page) {
  const bool on_page = current == page;
  set_hidden(e, !on_page);
  return on_page;
}

// Icons never touch their flags: 0.0 shows the icon's bitmap, -1.0 none.
abi::f64 page_icon(std::int32_t current, std::int32_t page);

// The same two rules for an icon that has a further condition of its own.
abi::f64 page_icon_if(std::int32_t current, std::int32_t page, bool lit);

}  // namespace orv::mfd
