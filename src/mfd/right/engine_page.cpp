// The engine page of the right display (page 2): eight arc dials (N1, EGT, N2
// and fuel flow of both engines), their readouts, a blank afterburner field
// and the fuel remaining in percent of both tanks' capacities.
//
// The dials' wedges are the `wedge` template of right_pages.h. The EGT and
// fuel-flow readouts are the writers of their dials' values: they convert
// their tokens on every call, whatever the page, so the dial values keep
// following the engines while another page is shown.
#include "frame/cockpit_numbers.h"
#include "frame/host_services.h"
#include "mfd/right/right_pages.h"

namespace orv::mfd {

f64 n1_left_pct = 0.0, n1_right_pct = 0.0;
f64 egt_left_c = 0.0, egt_right_c = 0.0;
f64 n2_left_pct = 0.0, n2_right_pct = 0.0;
f64 ff_left_kg_min = 0.0, ff_right_kg_min = 0.0;

namespace right {
namespace {

// Tank levels read by the fuel percentage; a full tank reads 8388610.
constexpr u32 kTankLevelToken[2] = {291, 297};
constexpr f64 kFullTankLevel = 8388610.0;

constexpr f64 kRankineOffset = 459.67;
constexpr f64 kFahrenheitOffset = 32.0;
constexpr f64 kCelsiusPerFahrenheit = 0.5555555555555556;
constexpr f64 kMinutesPerHour = 60.0;

// Shows the readout on the engine page and writes `value` with `format`
// there; hides it (keeping its text) elsewhere.
template <NumberFormat Format>
f64 dial_readout(TextElement* t, f64 value) {
  if (page_gate(&t->h, cockpit::right_mfd_page, cockpit::kRightPageEngine)) write_number<Format>(t, value);
  return 0.0;
}

// Degrees Rankine to Celsius, subtracting in this order.
f64 egt_celsius(f64 rankine) {
  return (rankine - kRankineOffset - kFahrenheitOffset) * kCelsiusPerFahrenheit;
}

// Pounds per hour to kilograms per minute, multiplying first.
f64 fuel_flow_kg_min(f64 pounds_per_hour) {
  return pounds_per_hour * numbers::kKilogramsPerPound / kMinutesPerHour;
}

f64 egt_readout(TextElement* t, f64& dial) {
  dial = egt_celsius(channel_f64(t->source[0]));
  return dial_readout<"%4.0f">(t, dial);
}

f64 fuel_flow_readout(TextElement* t, f64& dial) {
  dial = fuel_flow_kg_min(channel_f64(t->source[0]));
  return dial_readout<"%3.0f">(t, dial);
}

}  // namespace

f64 engine_overlay(IconElement*) { return page_icon(cockpit::right_mfd_page, cockpit::kRightPageEngine); }

f64 egt_left_text(TextElement* e) { return egt_readout(e, egt_left_c); }
f64 egt_right_text(TextElement* e) { return egt_readout(e, egt_right_c); }
f64 ff_left_text(TextElement* e) { return fuel_flow_readout(e, ff_left_kg_min); }
f64 ff_right_text(TextElement* e) { return fuel_flow_readout(e, ff_right_kg_min); }
f64 n1_left_text(TextElement* e) { return dial_readout<"%3.0f">(e, n1_left_pct); }
f64 n1_right_text(TextElement* e) { return dial_readout<"%3.0f">(e, n1_right_pct); }
f64 n2_left_text(TextElement* e) { return dial_readout<"%3.0f">(e, n2_left_pct); }
f64 n2_right_text(TextElement* e) { return dial_readout<"%3.0f">(e, n2_right_pct); }

f64 afterburner_text(TextElement* t) {
  if (page_gate(&t->h, cockpit::right_mfd_page, cockpit::kRightPageEngine)) write_fixed(t, "   ");
  return 0.0;
}

// The fuel remaining of both tanks, each level weighted by its tank's capacity
// from start-up. Before start-up, or while the host has reported no capacity,
// the total is zero and the percentage has no value: the field then shows
// dashes.
f64 fuel_percent_text(TextElement* t) {
  const f64 level0 = read_token_f64(kTankLevelToken[0]);
  const f64 level1 = read_token_f64(kTankLevelToken[1]);
  const f64 capacity0 = cockpit::fuel_tank_capacity_kg[0];
  const f64 capacity1 = cockpit::fuel_tank_capacity_kg[1];
  const f64 total = capacity0 + capacity1;
  const f64 remaining = (level0 * capacity0) / kFullTankLevel + (level1 * capacity1) / kFullTankLevel;
  if (page_gate(&t->h, cockpit::right_mfd_page, cockpit::kRightPageEngine)) {
    if (total > 0.0) {
      write_number<"%3.0f">(t, remaining * 100.0 / total);
    } else {
      write_fixed(t, "---");
    }
  }
  return 0.0;
}

}  // namespace right
}  // namespace orv::mfd
