// The altimeter setting knob. Clicking its left half sends the host's
// decrease event, its right half the increase event; the needle turns with
// the altimeter setting and the tooltip shows it in millibars, both read by
// the host itself. No code runs for this gauge.
#include "controls/knob_dial.h"
#include "frame/records.h"
#include "frame/registry.h"

namespace orv::gauges::baro_pressure_records {

using namespace orv::records;

constexpr u32 kKohlsmanSetting = 75;
constexpr u32 kKohlsmanDecrease = 65884;
constexpr u32 kKohlsmanIncrease = 65883;
constexpr u32 kKnobClicks = kMouseLeftSingle | kMouseWheelLike;

ORV_KNOB_DIAL(dial, 23);
constinit Chain chain{baro_pressure, static_image({.bitmap = 450}),
                      needle({.bitmap = 460,
                              .at = {23, 23},
                              .pivot = {20, 20},
                              .table = needle_table(dial),
                              .token = kKohlsmanSetting})};

MouseRect mouse[] = {
    whole_gauge_area(),
    tooltip("Altimeter Calibration Knob (%((A:KOHLSMAN SETTING MB,millibar))%!d! mb)"),
    event_box({0, 0, 23, 46}, kCursorDown, kKnobClicks, kKohlsmanDecrease),
    event_box({23, 0, 23, 46}, kCursorUp, kKnobClicks, kKohlsmanIncrease),
    area_end(),
    list_end(),
};

}  // namespace orv::gauges::baro_pressure_records

ORV_DEFINE_GAUGE(baro_pressure, baro_pressure_records::chain.first, baro_pressure_records::mouse, nullptr)
