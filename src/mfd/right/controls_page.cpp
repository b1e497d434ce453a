// The controls page of the right display (page 1): a plan view of the
// aircraft with both hydraulic pressures, the three gear legs, flaps and
// slats, the fuselage boxes, the brakes and the arrestor hook.
//
// The flaps readout turns the flap lever token into `flaps_state` on every
// call, whatever the page; the flap edges, the slats readout and the slat bars
// read that state.
#include "frame/cockpit_numbers.h"
#include "frame/host_services.h"
#include "mfd/right/right_pages.h"

namespace orv::mfd {

u32 flaps_state = 0;

namespace right {
namespace {

constexpr u32 kBlinkClockToken = 604;  // seconds; the transit light blinks on it
constexpr u32 kBrakeConditionToken = 60;

// Gear leg positions: UP below 50, in transit up to 16300, DN above.
constexpr f64 kGearUpBelow = 50.0;
constexpr f64 kGearDownAbove = 16300.0;
constexpr f64 kGearUpImage = 0.0;
constexpr f64 kGearDownImage = 2.0;
constexpr f64 kTransitLitImage = 1.0;
constexpr f64 kBlinkPeriod = 0.5;  // dark for the first half of every period

// The flaps readout of each flap step.
constexpr const char* kFlapsText[5] = {"UP", "1", "5", "11", "DN"};

constexpr f64 kSpeedBrakeOutAbove = 10000.0;
constexpr f64 kBrakeFirmAbove = 30000.0;
constexpr f64 kBrakeAppliedAbove = 20000.0;
constexpr f64 kBrakeGreen = 0.0;
constexpr f64 kBrakeAmber = 1.0;

constexpr f64 kPsfPerBar = 2087.91;  // hydraulic pressure tokens per bar

bool on_controls_page() { return cockpit::right_mfd_page == cockpit::kRightPageControls; }

f64 token_value(const IconElement* icon) { return channel_f64(icon->source); }

// An icon's image on the controls page, none elsewhere.
f64 on_page_image(f64 image) { return on_controls_page() ? image : numbers::kNoImage; }

// The flap step of lever value v: the tests in step order, each later one
// overriding, so a value that passes none (not a number) keeps the last step.
void take_flap_step(f64 v) {
  if (v < 300.0) flaps_state = 0;
  if (300.0 <= v && v < 1500.0) flaps_state = 1;
  if (1500.0 <= v && v < 7000.0) flaps_state = 2;
  if (7000.0 <= v && v < 14500.0) flaps_state = 3;
  if (v >= 14500.0) flaps_state = 4;
}

}  // namespace

f64 controls_face(IconElement*) { return on_page_image(0.0); }

// UP, the blinking red transit light or DN.
f64 gear_leg(IconElement* element) {
  const f64 v = token_value(element);
  f64 image = kGearUpImage;
  if (kGearUpBelow <= v && v <= kGearDownAbove) {
    const f64 m = std::fmod(read_token_f64(kBlinkClockToken), kBlinkPeriod);
    image = m <= kBlinkPeriod / 2.0 ? numbers::kNoImage : kTransitLitImage;
  }
  if (v > kGearDownAbove) image = kGearDownImage;
  if (v < kGearUpBelow) image = kGearUpImage;
  return on_page_image(image);
}

f64 flaps_text(TextElement* t) {
  take_flap_step(channel_f64(t->source[0]));
  if (page_gate(&t->h, cockpit::right_mfd_page, cockpit::kRightPageControls))
    write_plain(t, kFlapsText[flaps_state < 5 ? flaps_state : 4]);
  return 0.0;
}

f64 flap_edges(IconElement*) { return on_page_image(static_cast<f64>(flaps_state)); }

f64 slats_text(TextElement* t) {
  if (page_gate(&t->h, cockpit::right_mfd_page, cockpit::kRightPageControls))
    write_plain(t, flaps_state == 0 ? "IN" : "OUT");
  return 0.0;
}

// Green bars while the slats are in, amber once any flap step is set.
f64 slat_bars(IconElement*) { return on_page_image(flaps_state <= 1 ? static_cast<f64>(flaps_state) : 1.0); }

f64 fuselage_boxes(IconElement* element) {
  return on_page_image(token_value(element) > kSpeedBrakeOutAbove ? 1.0 : 0.0);
}

// BRK in green on firm braking while the brake condition token reads exactly
// 1, in amber on any other braking above 20000, no label otherwise. (The
// red image is never chosen.)
f64 brake_label(IconElement* element) {
  const f64 v = token_value(element);
  const f64 p = read_token_f64(kBrakeConditionToken);
  f64 image = numbers::kNoImage;
  if (v > kBrakeFirmAbove && p == 1.0) {
    image = kBrakeGreen;
  } else if (v > kBrakeAppliedAbove) {
    image = kBrakeAmber;
  }
  return on_page_image(image);
}

// The token less one: 1 (hook down) shows the label, 0 none.
f64 hook_label(IconElement* element) { return on_page_image(token_value(element) - 1.0); }

f64 hydraulic_text(TextElement* t) {
  const f64 bar = channel_f64(t->source[0]) / kPsfPerBar;
  if (page_gate(&t->h, cockpit::right_mfd_page, cockpit::kRightPageControls))
    write_number<"%3.0f bar">(t, bar);
  return bar;
}

}  // namespace right
}  // namespace orv::mfd
