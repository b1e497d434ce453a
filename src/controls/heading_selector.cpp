// The heading selector knob: left half turns the heading bug down, right half
// up, one degree per left click and ten per right click. Each click starts
// from the host's heading bug (token 855) and sends the new heading. The
// needle and the tooltip show the heading this knob last set (0 until its
// first click), so the knob reads back exactly what the pilot dialled on it.
#include "controls/control_state.h"
#include "controls/knob_dial.h"
#include "frame/host_services.h"
#include "frame/records.h"
#include "frame/registry.h"

namespace orv::controls {

std::int32_t heading_bug_deg = 0;

namespace {

constexpr u32 kHeadingBug = 855;
constexpr u32 kHeadingBugSet = 66042;

void turn_heading(KnobHalf half, u32 flags) {
  i32 v = whole_degrees(read_token_f64(kHeadingBug));
  if (!knob_step(v, half, flags)) return;
  heading_bug_deg = v;
  send_key_event(kHeadingBugSet, static_cast<u32>(v));
}

f64 heading_needle(NeedleElement*) { return heading_bug_deg; }

f64 ORV_CALL heading_tooltip_value(f64, u32, const char*, TokenVar*, GaugeHeader*) { return heading_bug_deg; }

}  // namespace

}  // namespace orv::controls

namespace orv::gauges::heading_selector_records {

using namespace orv::controls;
using namespace orv::records;

ORV_KNOB_DIAL(dial, 29);
constinit Chain chain{heading_selector_button, static_image({.bitmap = kKnobBackground}),
                      needle({.bitmap = 2220,
                              .at = {29, 29},
                              .pivot = kKnobNeedlePivot,
                              .table = needle_table(dial),
                              .token = kHeadingBug,
                              .callback = calls<heading_needle>})};

MouseArg tooltip_args[] = {number_argument(heading_tooltip_value)};
MouseRect mouse[] = {
    whole_gauge_area(),
    tooltip("Heading selector knob (Heading %1!d!\xB0)", tooltip_args),
    click_box({0, 0, 29, 58}, kCursorDown, kKnobClicks, knob_click<turn_heading, KnobHalf::kDown>),
    click_box({29, 0, 29, 58}, kCursorUp, kKnobClicks, knob_click<turn_heading, KnobHalf::kUp>),
    area_end(),
    list_end(),
};

}  // namespace orv::gauges::heading_selector_records

ORV_DEFINE_GAUGE(heading_selector_button, heading_selector_records::chain.first,
                 heading_selector_records::mouse, nullptr)
