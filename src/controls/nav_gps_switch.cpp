// The NAV/GPS switch: asks the simulator to flip its navigation source
// between the NAV receiver and the GPS, and clicks. The lever shows the
// simulator's switch state (token 848) directly.
#include "controls/switch_records.h"
#include "frame/host_services.h"
#include "frame/records.h"
#include "frame/registry.h"

namespace orv::controls {

namespace {

constexpr u32 kNavGpsSource = 848;  // 0 NAV, above 0 GPS
constexpr u32 kNavGpsToggle = 66375;

i32 ORV_CALL nav_gps_flip(Click*, u32) {
  send_key_event(kNavGpsToggle, 0);
  sound::play_click(sound::channels::nav_gps_switch);
  return 0;
}

const char* ORV_CALL nav_gps_active_name(f64, u32, const char*, TokenVar*, GaugeHeader*) {
  return read_token_f64(kNavGpsSource) > 0.0 ? "GPS" : "NAV";
}

}  // namespace

}  // namespace orv::controls

namespace orv::gauges::nav_gps_switch_records {

using namespace orv::controls;
using namespace orv::records;

constinit Chain chain{nav_gps_switch, static_image({.bitmap = 250}),
                      icon({.bitmap = 260, .token = kNavGpsSource, .images = 2})};

MouseArg tooltip_args[] = {text_argument(nav_gps_active_name)};
MouseRect mouse[] = {
    whole_gauge_area(),
    tooltip("NAV/GPS switch (%1!s! active)", tooltip_args),
    click_box(kSwitchBox, kCursorHand, kMouseLeftSingle, nav_gps_flip),
    area_end(),
    list_end(),
};

}  // namespace orv::gauges::nav_gps_switch_records

ORV_DEFINE_GAUGE(nav_gps_switch, nav_gps_switch_records::chain.first, nav_gps_switch_records::mouse,
                 orv::controls::clicking_switch<orv::sound::channels::nav_gps_switch>)
