// The altimeter setting knob. Clicking its left half sends the host's
// decrease event, its right half the increase event; the needle turns with
// the altimeter setting and the tooltip shows it in millibars, both read by
// the host itself. No code runs for this gauge.
#include "controls/knob_dial.h"
#include "controls/mouse_records.h"
#include "frame/elements.h"
#include "frame/registry.h"

namespace orv::gauges::baro_pressure_records {

using namespace orv::controls;

constexpr u32 kKohlsmanSetting = 75;
constexpr u32 kKohlsmanDecrease = 65884;
constexpr u32 kKohlsmanIncrease = 65883;
constexpr u32 kKnobClicks = kMouseLeftSingle | kMouseWheelLike;

ORV_KNOB_DIAL(dial, 23);

NeedleElement needle{.h = {.kind = kNeedle,
                           .bitmap = 460,
                           .position = {23, 23},
                           .offset = {20, 20},  // pivot inside the needle bitmap
                           .gauge = &baro_pressure,
                           .flags = kDrawMoving},
                     .source = token(kKohlsmanSetting),
                     .table = dial,
                     .table_count = std::size(dial)};
ORV_ELEMENT_LIST(background_next, &needle.h);
StaticElement background{.h = {.kind = kStaticImage,
                               .bitmap = 450,
                               .gauge = &baro_pressure,
                               .next = background_next,
                               .flags = kDrawBackground}};
ORV_ELEMENT_LIST(elements, &background.h);

MouseRect mouse[] = {
    whole_gauge_area(),
    tooltip("Altimeter Calibration Knob (%((A:KOHLSMAN SETTING MB,millibar))%!d! mb)"),
    event_box({0, 0, 23, 46}, kCursorDown, kKnobClicks, kKohlsmanDecrease),
    event_box({23, 0, 23, 46}, kCursorUp, kKnobClicks, kKohlsmanIncrease),
    area_end(),
    list_end(),
};

}  // namespace orv::gauges::baro_pressure_records

ORV_DEFINE_GAUGE(baro_pressure, baro_pressure_records::elements, baro_pressure_records::mouse, nullptr)
