// How the host finds the mouse record under a point of a gauge: areas nest
// (a box or area inside an area is placed relative to it; an area without a
// size takes its parent's), area-end records close the innermost area, and
// tooltip records belong to the area they sit in. Clicks and tooltips of the
// host, `info` and the test support all route through these functions.
#pragma once

#include <cstddef>

#include "frame/gauge_abi.h"

namespace orv::host {

// The box a record covers, in gauge (bitmap) pixels, and whether a point lies
// in it and in every enclosing area.
struct MouseBounds {
  bool unbounded = true;  // no enclosing record had a size
  int x = 0, y = 0, w = 0, h = 0;
  bool inside = true;
};

// The record a click at (x, y) with `flag` goes to: the first box in list
// order that holds the point and asks for the flag. -1 when none does.
struct MouseHit {
  int rect = -1;
  MouseBounds bounds;  // the box's bounds (the click point is relative to them)
};
MouseHit click_target(const abi::MouseRect* rects, int x, int y, abi::u32 flag);

// The record whose tooltip shows at (x, y): the deepest record holding the
// point that has a tooltip (a tooltip record with a text or help id, or an
// area or box with a help id); among equally deep ones the later wins. -1
// when none does.
int tooltip_target(const abi::MouseRect* rects, int x, int y);

// The cursor the pointer shows at (x, y): that of the first box holding the
// point, else of the deepest area holding it; kCursorNone over nothing.
abi::i32 cursor_at(const abi::MouseRect* rects, int x, int y);

// The bounds of record `index` (in gauge pixels) as its enclosing areas
// place it.
MouseBounds record_bounds(const abi::MouseRect* rects, int index);

// "end", "area", "box", "area_end", "tooltip", or "unknown".
const char* mouse_kind_name(abi::u32 kind);

}  // namespace orv::host
