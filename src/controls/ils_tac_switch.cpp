// The ILS/TACAN switch: picks which NAV receiver guides the HUD and the course
// knob, NAV 1 (ILS) or NAV 2 (TACAN), and clicks.
#include "cockpit/mode_state.h"
#include "controls/mouse_records.h"
#include "frame/elements.h"
#include "frame/registry.h"
#include "sound/sound.h"

namespace orv::controls {

namespace {

bool nav1_selected() { return cockpit::nav_source_nav1 == 1; }

// Image 0 of the switch shows ILS, image 1 TACAN.
f64 ORV_CALL ils_tac_position(void*) { return nav1_selected() ? 0.0 : 1.0; }

i32 ORV_CALL ils_tac_flip(Click*, u32) {
  cockpit::nav_source_nav1 = nav1_selected() ? 0 : 1;
  sound::play_click(sound::channels::ils_tac_switch);
  return 0;
}

const char* ORV_CALL ils_tac_selected_name(f64, u32, const char*, TokenVar*, GaugeHeader*) {
  return nav1_selected() ? "NAV1" : "NAV2";
}

void ORV_CALL ils_tac_sound(GaugeHeader*, i32 service, uptr extra) {
  if (service == kServiceInstall) sound::set_up_channel(sound::channels::ils_tac_switch, extra);
  if (service == kServicePreKill) sound::release_channel(sound::channels::ils_tac_switch);
}

}  // namespace

}  // namespace orv::controls

namespace orv::gauges::ils_tac_switch_records {

using namespace orv::controls;

IconElement lever{.h = {.kind = kIcon, .bitmap = 490, .gauge = &ils_tac_switch},
                  .source = token(0),
                  .callback = ils_tac_position,
                  .switch_count = 2,
                  .scale = 1.0,
                  .image_count = 2};
ORV_ELEMENT_LIST(background_next, &lever.h);
StaticElement background{
    .h = {.kind = kStaticImage, .bitmap = 480, .gauge = &ils_tac_switch, .next = background_next}};
ORV_ELEMENT_LIST(elements, &background.h);

const MouseArg tooltip_args[] = {text_argument(ils_tac_selected_name)};

MouseRect mouse[] = {
    whole_gauge_area(),
    tooltip("Select ILS (NAV1) or TACAN (NAV2) for the HUD (%1!s! selected)", 1, tooltip_args),
    click_box({3, 2, 40, 20}, kCursorHand, kMouseLeftSingle, ils_tac_flip),
    area_end(),
    list_end(),
};

}  // namespace orv::gauges::ils_tac_switch_records

ORV_DEFINE_GAUGE(ils_tac_switch, ils_tac_switch_records::elements, ils_tac_switch_records::mouse,
                 orv::controls::ils_tac_sound)
