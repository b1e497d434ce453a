// The overlay window buttons (attitude, both displays, map, radar): a right
// click on the icon toggles one fixed panel window.
#include "frame/cockpit_numbers.h"
#include "frame/host_services.h"
#include "frame/records.h"
#include "frame/registry.h"

namespace orv::controls {

namespace {

template <u32 kWindow>
i32 ORV_CALL toggle_window(Click*, u32) {
  send_key_event(numbers::kEventToggleWindow, kWindow);
  return 0;
}

}  // namespace

}  // namespace orv::controls

// One window button: icon bitmap 100 and the panel window it toggles.
#define ORV_WINDOW_BUTTON(var, window)                                                    \
  namespace orv::gauges::var##_records {                                                  \
    using namespace orv::controls;                                                        \
    using namespace orv::records;                                                         \
    constinit Chain chain{orv::gauges::var, static_image({.bitmap = 100})};               \
    MouseRect mouse[] = {                                                                 \
        whole_gauge_area(),                                                               \
        click_box({3, 3, 44, 44}, kCursorHand, kMouseRightSingle, toggle_window<window>), \
        area_end(),                                                                       \
        list_end(),                                                                       \
    };                                                                                    \
  }                                                                                       \
  ORV_DEFINE_GAUGE(var, var##_records::chain.first, var##_records::mouse, nullptr)

// clang-format off
//                gauge              window
ORV_WINDOW_BUTTON(attitude_toggle,   43)
ORV_WINDOW_BUTTON(mfd2_toggle,       48)
ORV_WINDOW_BUTTON(mfd1_toggle,       49)
ORV_WINDOW_BUTTON(flight_map_toggle, 50)
ORV_WINDOW_BUTTON(radar_toggle,      51)
// clang-format on
