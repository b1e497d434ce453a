// The course knob (omni bearing selector) of the NAV receiver that the
// ILS/TACAN switch picks: NAV 1 with the switch on ILS, NAV 2 on TACAN. The
// needle follows that receiver's selected course; left half turns it down,
// right half up, one degree per left click and ten per right click.
#include "cockpit/mode_state.h"
#include "controls/control_state.h"
#include "controls/knob_dial.h"
#include "frame/host_services.h"
#include "frame/records.h"
#include "frame/registry.h"

namespace orv::controls {

std::int32_t obs_course_deg = 0;

namespace {

constexpr u32 kNav1Course = 45;
constexpr u32 kNav2Course = 54;
constexpr u32 kNav1CourseSet = 65716;
constexpr u32 kNav2CourseSet = 65717;

bool nav1_selected() { return cockpit::nav_source_nav1 == 1; }

void read_course() {
  obs_course_deg = whole_degrees(read_token_f64(nav1_selected() ? kNav1Course : kNav2Course));
}

// Every click sends the course, also one that did not step it.
void turn_course(KnobHalf half, u32 flags) {
  read_course();
  knob_step(obs_course_deg, half, flags);
  send_key_event(nav1_selected() ? kNav1CourseSet : kNav2CourseSet, static_cast<u32>(obs_course_deg));
}

f64 course_needle(NeedleElement*) {
  read_course();
  return obs_course_deg;
}

const char* ORV_CALL course_receiver_name(f64, u32, const char*, TokenVar*, GaugeHeader*) {
  return nav1_selected() ? "VOR1" : "VOR2";
}

f64 ORV_CALL course_tooltip_value(f64, u32, const char*, TokenVar*, GaugeHeader*) { return obs_course_deg; }

}  // namespace

}  // namespace orv::controls

namespace orv::gauges::omni_bearing_selector_records {

using namespace orv::controls;
using namespace orv::records;

ORV_KNOB_DIAL(dial, 29);
constinit Chain chain{omni_bearing_selector, static_image({.bitmap = kKnobBackground}),
                      needle({.bitmap = 2230,
                              .at = {29, 29},
                              .pivot = kKnobNeedlePivot,
                              .table = needle_table(dial),
                              .callback = calls<course_needle>})};

MouseArg tooltip_args[] = {text_argument(course_receiver_name), number_argument(course_tooltip_value)};
MouseRect mouse[] = {
    whole_gauge_area(),
    tooltip("Omni Bearing Selector knob for %1!s! (Bearing %2!d!\xB0)", tooltip_args),
    click_box({0, 0, 29, 58}, kCursorDown, kKnobClicks, knob_click<turn_course, KnobHalf::kDown>),
    click_box({29, 0, 29, 58}, kCursorUp, kKnobClicks, knob_click<turn_course, KnobHalf::kUp>),
    area_end(),
    list_end(),
};

}  // namespace orv::gauges::omni_bearing_selector_records

ORV_DEFINE_GAUGE(omni_bearing_selector, omni_bearing_selector_records::chain.first,
                 omni_bearing_selector_records::mouse, nullptr)
