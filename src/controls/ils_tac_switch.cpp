// The ILS/TACAN switch: picks which NAV receiver guides the HUD and the course
// knob, NAV 1 (ILS) or NAV 2 (TACAN), and clicks.
#include "cockpit/mode_state.h"
#include "controls/switch_records.h"
#include "frame/records.h"
#include "frame/registry.h"

namespace orv::controls {

namespace {

bool nav1_selected() { return cockpit::nav_source_nav1 == 1; }

// Image 0 of the switch shows ILS, image 1 TACAN.
f64 ils_tac_position(IconElement*) { return nav1_selected() ? 0.0 : 1.0; }

i32 ORV_CALL ils_tac_flip(Click*, u32) {
  cockpit::nav_source_nav1 = nav1_selected() ? 0 : 1;
  sound::play_click(sound::channels::ils_tac_switch);
  return 0;
}

const char* ORV_CALL ils_tac_selected_name(f64, u32, const char*, TokenVar*, GaugeHeader*) {
  return nav1_selected() ? "NAV1" : "NAV2";
}

}  // namespace

}  // namespace orv::controls

namespace orv::gauges::ils_tac_switch_records {

using namespace orv::controls;
using namespace orv::records;

constinit Chain chain{ils_tac_switch, static_image({.bitmap = 480}),
                      icon({.bitmap = 490, .callback = calls<ils_tac_position>, .images = 2})};

MouseArg tooltip_args[] = {text_argument(ils_tac_selected_name)};
MouseRect mouse[] = {
    whole_gauge_area(),
    tooltip("Select ILS (NAV1) or TACAN (NAV2) for the HUD (%1!s! selected)", tooltip_args),
    click_box(kSwitchBox, kCursorHand, kMouseLeftSingle, ils_tac_flip),
    area_end(),
    list_end(),
};

}  // namespace orv::gauges::ils_tac_switch_records

ORV_DEFINE_GAUGE(ils_tac_switch, ils_tac_switch_records::chain.first, ils_tac_switch_records::mouse,
                 orv::controls::clicking_switch<orv::sound::channels::ils_tac_switch>)
