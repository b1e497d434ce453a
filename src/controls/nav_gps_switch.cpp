// The NAV/GPS switch: asks the simulator to flip its navigation source
// between the NAV receiver and the GPS, and clicks. The lever shows the
// simulator's switch state (token 848) directly.
#include "controls/mouse_records.h"
#include "frame/elements.h"
#include "frame/host_services.h"
#include "frame/registry.h"
#include "sound/sound.h"

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

void ORV_CALL nav_gps_sound(GaugeHeader*, i32 service, uptr extra) {
  if (service == kServiceInstall) sound::set_up_channel(sound::channels::nav_gps_switch, extra);
  if (service == kServicePreKill) sound::release_channel(sound::channels::nav_gps_switch);
}

}  // namespace

}  // namespace orv::controls

namespace orv::gauges::nav_gps_switch_records {

using namespace orv::controls;

IconElement lever{.h = {.kind = kIcon, .bitmap = 260, .gauge = &nav_gps_switch},
                  .source = token(kNavGpsSource),
                  .switch_count = 2,
                  .scale = 1.0,
                  .image_count = 2};
ORV_ELEMENT_LIST(background_next, &lever.h);
StaticElement background{
    .h = {.kind = kStaticImage, .bitmap = 250, .gauge = &nav_gps_switch, .next = background_next}};
ORV_ELEMENT_LIST(elements, &background.h);

const MouseArg tooltip_args[] = {text_argument(nav_gps_active_name)};

MouseRect mouse[] = {
    whole_gauge_area(),
    tooltip("NAV/GPS switch (%1!s! active)", 1, tooltip_args),
    click_box({3, 2, 40, 20}, kCursorHand, kMouseLeftSingle, nav_gps_flip),
    area_end(),
    list_end(),
};

}  // namespace orv::gauges::nav_gps_switch_records

ORV_DEFINE_GAUGE(nav_gps_switch, nav_gps_switch_records::elements, nav_gps_switch_records::mouse,
                 orv::controls::nav_gps_sound)
