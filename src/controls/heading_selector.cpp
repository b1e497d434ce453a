// The heading selector knob: left half turns the heading bug down, right half
// up, one degree per left click and ten per right click. Each click starts
// from the host's heading bug (token 855) and sends the new heading. The
// needle and the tooltip show the heading this knob last set (0 until its
// first click), so the knob reads back exactly what the pilot dialled on it.
#include "controls/control_state.h"
#include "controls/knob_dial.h"
#include "frame/host_services.h"
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

f64 ORV_CALL heading_needle(void*) { return heading_bug_deg; }

f64 ORV_CALL heading_tooltip_value(f64, u32, const char*, TokenVar*, GaugeHeader*) { return heading_bug_deg; }

}  // namespace

}  // namespace orv::controls

namespace orv::gauges::heading_selector_records {

using namespace orv::controls;

constinit MouseArg tooltip_args[] = {number_argument(heading_tooltip_value)};
ORV_KNOB_RECORDS(heading_selector_button, 2220, token(kHeadingBug), heading_needle,
                 tooltip("Heading selector knob (Heading %1!d!\xB0)", 1, tooltip_args), turn_heading);

}  // namespace orv::gauges::heading_selector_records

ORV_DEFINE_GAUGE(heading_selector_button, heading_selector_records::elements, heading_selector_records::mouse,
                 nullptr)
