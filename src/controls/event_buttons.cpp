// The kneeboard, ATC and map buttons: a small icon whose clickable box has the
// host send one simulator event on a left click. No code runs for them.
#include "controls/mouse_records.h"
#include "frame/elements.h"
#include "frame/registry.h"

// One fixed-event button: icon bitmap, help id of the whole gauge, event.
#define ORV_EVENT_BUTTON(var, bitmap_id, help_id, event_id)                 \
  namespace orv::gauges::var##_records {                                    \
    using namespace orv::controls;                                          \
    StaticElement icon{.h = {.kind = kStaticImage,                          \
                             .bitmap = bitmap_id,                           \
                             .gauge = &orv::gauges::var,                    \
                             .flags = kDrawBackground}};                    \
    ORV_ELEMENT_LIST(elements, &icon.h);                                    \
    MouseRect mouse[] = {                                                   \
        whole_gauge_area(help_id),                                          \
        event_box({3, 3, 13, 13}, kCursorHand, kMouseLeftSingle, event_id), \
        area_end(),                                                         \
        list_end(),                                                         \
    };                                                                      \
  }                                                                         \
  ORV_DEFINE_GAUGE(var, var##_records::elements, var##_records::mouse, nullptr)

// clang-format off
//               gauge             bitmap  help   event
ORV_EVENT_BUTTON(kneeboard_toggle, 60,     43923, 65876)
ORV_EVENT_BUTTON(atc_toggle,       80,     43924, 65564)
ORV_EVENT_BUTTON(map_toggle,       70,     43919, 66432)
// clang-format on
