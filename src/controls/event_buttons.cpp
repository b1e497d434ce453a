// The kneeboard, ATC and map buttons: a small icon whose clickable box has the
// host send one simulator event on a left click. No code runs for them.
#include "controls/toggle_records.h"

// The tables below write each gauge's records with the names of the controls
// and of frame/records.h.
namespace orv::gauges {
using namespace orv::controls;
using namespace orv::records;
}  // namespace orv::gauges

// One fixed-event button: icon bitmap, help id of the whole gauge, event.
#define ORV_EVENT_BUTTON(var, bitmap_id, help_id, event_id)                                     \
  ORV_SMALL_TOGGLE_RECORDS(var, bitmap_id,                                                      \
                           event_box(kSmallToggleBox, kCursorHand, kMouseLeftSingle, event_id), \
                           whole_gauge_area(help_id))                                           \
  ORV_DEFINE_GAUGE(var, var##_records::chain.first, var##_records::mouse, nullptr)

// clang-format off
//               gauge             bitmap  help   event
ORV_EVENT_BUTTON(kneeboard_toggle, 60,     43923, 65876)
ORV_EVENT_BUTTON(atc_toggle,       80,     43924, 65564)
ORV_EVENT_BUTTON(map_toggle,       70,     43919, 66432)
// clang-format on
