#include "host/panel/mouse_routing.h"

#include "host/load/module.h"

namespace orv::host {

using namespace abi;

namespace {

// The rectangle of an area or box inside its parent. An empty box stands for
// its whole enclosing area; the outermost area is unbounded (the gauge's own
// size is a property of its bitmaps, which the host does not look into).
MouseBounds child_bounds(const MouseBounds& parent, const PixBox& box, int px, int py) {
  if (box.w <= 0 || box.h <= 0) return parent;
  MouseBounds b;
  b.unbounded = false;
  b.x = (parent.unbounded ? 0 : parent.x) + box.x;
  b.y = (parent.unbounded ? 0 : parent.y) + box.y;
  b.w = box.w;
  b.h = box.h;
  b.inside = parent.inside && px >= b.x && py >= b.y && px < b.x + b.w && py < b.y + b.h;
  return b;
}

// Walks a mouse list, calling visit(index, record, bounds, depth) for every
// record but area ends, until visit returns true. Areas nested deeper than
// kMaxDepth take their parent's bounds.
template <typename Visit>
void walk_mouse(const MouseRect* rects, int px, int py, Visit&& visit) {
  if (rects == nullptr) return;
  constexpr int kMaxDepth = 16;
  MouseBounds stack[kMaxDepth];
  int depth = 0, too_deep = 0;
  for (int i = 0; i < kMaxMouseRects && rects[i].kind != kMouseEnd; ++i) {
    const MouseRect& r = rects[i];
    const MouseBounds parent = depth == 0 ? MouseBounds{} : stack[depth - 1];
    switch (r.kind) {
      case kMouseArea: {
        const MouseBounds b = child_bounds(parent, r.box, px, py);
        if (depth < kMaxDepth)
          stack[depth++] = b;
        else
          ++too_deep;
        if (visit(i, r, depth < kMaxDepth ? b : parent, depth)) return;
        break;
      }
      case kMouseAreaEnd:
        if (too_deep > 0)
          --too_deep;
        else if (depth > 0)
          --depth;
        break;
      case kMouseBox:
        if (visit(i, r, child_bounds(parent, r.box, px, py), depth + 1)) return;
        break;
      case kMouseTooltip:
        if (visit(i, r, parent, depth)) return;
        break;
      default:
        break;
    }
  }
}

}  // namespace

MouseHit click_target(const MouseRect* rects, int x, int y, u32 flag) {
  MouseHit hit;
  walk_mouse(rects, x, y, [&](int i, const MouseRect& r, const MouseBounds& b, int) {
    if (r.kind != kMouseBox || !b.inside || (r.flags & flag) == 0) return false;
    hit.rect = i;
    hit.bounds = b;
    return true;
  });
  return hit;
}

int tooltip_target(const MouseRect* rects, int x, int y) {
  int best = -1, best_depth = -1;
  walk_mouse(rects, x, y, [&](int i, const MouseRect& r, const MouseBounds& b, int depth) {
    const bool candidate =
        r.kind == kMouseTooltip ? (r.action.text != nullptr || r.help_id != 0) : r.help_id != 0;
    if (candidate && b.inside && depth >= best_depth) {
      best = i;
      best_depth = depth;
    }
    return false;
  });
  return best;
}

i32 cursor_at(const MouseRect* rects, int x, int y) {
  i32 cursor = kCursorNone;
  int area_depth = -1;
  bool on_box = false;
  walk_mouse(rects, x, y, [&](int, const MouseRect& r, const MouseBounds& b, int depth) {
    if (!b.inside) return false;
    if (r.kind == kMouseBox) {
      cursor = r.cursor;
      on_box = true;
      return true;
    }
    if (r.kind == kMouseArea && depth >= area_depth) {
      cursor = r.cursor;
      area_depth = depth;
    }
    return false;
  });
  return on_box || area_depth >= 0 ? cursor : kCursorNone;
}

MouseBounds record_bounds(const MouseRect* rects, int index) {
  MouseBounds found;
  walk_mouse(rects, 0, 0, [&](int i, const MouseRect&, const MouseBounds& b, int) {
    if (i != index) return false;
    found = b;
    return true;
  });
  return found;
}

const char* mouse_kind_name(u32 kind) {
  constexpr const char* kNames[] = {"end", "area", "box", "area_end", "tooltip"};
  return kind < 5 ? kNames[kind] : "unknown";
}

}  // namespace orv::host
