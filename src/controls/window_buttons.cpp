// The overlay window buttons (attitude, both displays, map, radar): a right
// click on the icon toggles one fixed panel window.
#include "controls/mouse_records.h"
#include "frame/elements.h"
#include "frame/host_services.h"
#include "frame/registry.h"

namespace orv::controls {

namespace {

constexpr u32 kToggleWindowEvent = 66506;

template <u32 kWindow>
i32 ORV_CALL toggle_window(Click*, u32) {
  send_key_event(kToggleWindowEvent, kWindow);
  return 0;
}

}  // namespace

}  // namespace orv::controls

// One window button: icon bitmap 100 and the panel window it toggles.
#define ORV_WINDOW_BUTTON(var, window)                                                                     \
  namespace orv::gauges::var##_records {                                                                   \
    using namespace orv::controls;                                                                         \
    StaticElement icon{                                                                                    \
        .h = {.kind = kStaticImage, .bitmap = 100, .gauge = &orv::gauges::var, .flags = kDrawBackground}}; \
    ORV_ELEMENT_LIST(elements, &icon.h);                                                                   \
    MouseRect mouse[] = {                                                                                  \
        whole_gauge_area(),                                                                                \
        click_box({3, 3, 44, 44}, kCursorHand, kMouseRightSingle, toggle_window<window>),                  \
        area_end(),                                                                                        \
        list_end(),                                                                                        \
    };                                                                                                     \
  }                                                                                                        \
  ORV_DEFINE_GAUGE(var, var##_records::elements, var##_records::mouse, nullptr)

// clang-format off
//                gauge              window
ORV_WINDOW_BUTTON(attitude_toggle,   43)
ORV_WINDOW_BUTTON(mfd2_toggle,       48)
ORV_WINDOW_BUTTON(mfd1_toggle,       49)
ORV_WINDOW_BUTTON(flight_map_toggle, 50)
ORV_WINDOW_BUTTON(radar_toggle,      51)
// clang-format on
