// Short constructors for the records of a gauge's mouse list, so that a list
// reads as the pilot meets it: the whole-gauge area with its help id or
// tooltip, then the click boxes.
#pragma once

#include "frame/gauge_abi.h"

namespace orv::controls {

using namespace abi;

// The whole-gauge area that opens every list (empty box), with a host help id
// or 0.
constexpr MouseRect whole_gauge_area(u32 help_id = 0) {
  return MouseRect{.kind = kMouseArea,
                   .box = {0, 0, 0, 0},
                   .cursor = kCursorNone,
                   .help_id = help_id,
                   .flags = 0,
                   .event = 0,
                   .action = {.fn = nullptr},
                   .args = nullptr};
}

// The tooltip of the enclosing area: a text with `count` arguments from
// `args`.
constexpr MouseRect tooltip(const char* text, u32 count = 0, MouseArg* args = nullptr) {
  return MouseRect{.kind = kMouseTooltip,
                   .box = {0, 0, 0, 0},
                   .cursor = kCursorNone,
                   .help_id = 0,
                   .flags = 0,
                   .event = count,
                   .action = {.text = text},
                   .args = args};
}

// A clickable box that calls `fn` on the requested clicks.
constexpr MouseRect click_box(PixBox box, i32 cursor, u32 flags, MouseFn fn) {
  return MouseRect{.kind = kMouseBox,
                   .box = box,
                   .cursor = cursor,
                   .help_id = 0,
                   .flags = flags,
                   .event = 0,
                   .action = {.fn = fn},
                   .args = nullptr};
}

// A clickable box that has the host send `event` itself.
constexpr MouseRect event_box(PixBox box, i32 cursor, u32 flags, u32 event) {
  return MouseRect{.kind = kMouseBox,
                   .box = box,
                   .cursor = cursor,
                   .help_id = 0,
                   .flags = flags,
                   .event = event,
                   .action = {.fn = nullptr},
                   .args = nullptr};
}

constexpr MouseRect area_end() {
  return MouseRect{.kind = kMouseAreaEnd,
                   .box = {0, 0, 0, 0},
                   .cursor = kCursorNone,
                   .help_id = 0,
                   .flags = 0,
                   .event = 0,
                   .action = {.fn = nullptr},
                   .args = nullptr};
}

constexpr MouseRect list_end() { return MouseRect{}; }

// A tooltip argument filled by a text callback.
constexpr MouseArg text_argument(TooltipTextFn fn) {
  MouseArg a{};
  a.string_callback = fn;
  return a;
}

// A tooltip argument filled by a numeric callback.
constexpr MouseArg number_argument(TooltipNumberFn fn) {
  MouseArg a{};
  a.numeric_callback = fn;
  return a;
}

}  // namespace orv::controls
