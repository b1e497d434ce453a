// The parameter-driven toggles: small icons whose click opens, closes and
// toggles the panel windows and steps the views that the panel configuration
// writes into the gauge's parameter string.
//
// Keys (values as parameters.h reads them):
//   b  icon bitmap 100, 110, ... 160   applied at every set-up
//   h  help id of the whole gauge       applied at every set-up
//   a  window closed once per instance  at the first set-up
//   o, c, t  windows opened, closed, toggled on each click (repeatable)
//   p  view steps on each click: 0 one reset, n forward, -n back
// A click on a toggle without parameters closes the window that holds it.
// The two view switches also reopen the overlay window of the left display's
// page in the view they switch to.
#include <cstdlib>

#include "cockpit/mode_state.h"
#include "controls/parameters.h"
#include "controls/toggle_records.h"
#include "frame/cockpit_numbers.h"
#include "frame/elements.h"
#include "frame/host_services.h"
#include "frame/registry.h"

namespace orv::controls {

namespace {

using numbers::kEventCloseWindow;
using numbers::kEventOpenWindow;
using numbers::kEventToggleWindow;
constexpr u32 kViewResetEvent = 65875;
constexpr u32 kViewForwardEvent = 65734;
constexpr u32 kViewBackEvent = 65735;

// A malformed count cannot keep the panel thread busy for long.
constexpr i32 kMaxViewSteps = 10000;

// Overlay windows of the left display's radar and map pages.
struct Overlays {
  u32 radar;
  u32 map;
};
constexpr Overlays kMainViewOverlays{numbers::kWindowRadarMain, numbers::kWindowMapMain};
constexpr Overlays kLandingViewOverlays{numbers::kWindowRadarLanding, numbers::kWindowMapLanding};

bool is_toggle_bitmap(i32 id) { return id >= 100 && id <= 160 && id % 10 == 0; }

void send_window_events(const char* parameters, const char* key, u32 event) {
  for_each_key(parameters, key, [event](const char* value) {
    const i32 window = window_reference(value);
    if (window >= 0) send_key_event(event, static_cast<u32>(window));
  });
}

void send_view_steps(i32 count) {
  if (count == 0) {
    send_key_event(kViewResetEvent, 0);
    return;
  }
  const u32 event = count > 0 ? kViewForwardEvent : kViewBackEvent;
  const i32 steps = std::abs(count < -kMaxViewSteps  ? -kMaxViewSteps
                             : count > kMaxViewSteps ? kMaxViewSteps
                                                     : count);
  for (i32 i = 0; i < steps; ++i) send_key_event(event, 0);
}

void run_parameter_actions(const Click* click) {
  if (click == nullptr || click->gauge == nullptr) return;
  const char* parameters = click->gauge->parameters;
  if (parameters == nullptr || parameters[0] == '\0') {
    close_own_panel_window(0);
    return;
  }
  send_window_events(parameters, "o", kEventOpenWindow);
  send_window_events(parameters, "c", kEventCloseWindow);
  send_window_events(parameters, "t", kEventToggleWindow);
  if (const char* p = find_key(parameters, "p")) send_view_steps(leading_int(p));
}

void reopen_overlays(const Overlays& overlays) {
  if (cockpit::left_mfd_page == cockpit::kLeftPageRadar) send_key_event(kEventOpenWindow, overlays.radar);
  if (cockpit::left_mfd_page == cockpit::kLeftPageMap) send_key_event(kEventOpenWindow, overlays.map);
}

}  // namespace

// Set-up of an instance: bitmap and help id at every set-up, the "a" window
// once (the header's user word is the once-flag).
void ORV_CALL parameter_toggle_install(GaugeHeader* gauge, i32 service, uptr) {
  if (service != kServiceInstall || gauge == nullptr) return;
  const char* parameters = gauge->parameters;
  if (const char* b = find_key(parameters, "b")) {
    ElementHeader* icon = gauge->elements != nullptr ? gauge->elements[0] : nullptr;
    if (icon == nullptr) return;
    const i32 bitmap = leading_int(b);
    if (!is_toggle_bitmap(bitmap)) return;
    icon->bitmap = static_cast<u32>(bitmap);
  }
  if (const char* h = find_key(parameters, "h")) {
    if (gauge->mouse_rects != nullptr) gauge->mouse_rects[0].help_id = help_reference(h);
  }
  if (gauge->user_word == 0) {
    if (const char* a = find_key(parameters, "a")) {
      const i32 window = window_reference(a);
      if (window >= 0) send_key_event(kEventCloseWindow, static_cast<u32>(window));
    }
    gauge->user_word = 1;
  }
}

i32 ORV_CALL parameter_toggle_click(Click* click, u32) {
  run_parameter_actions(click);
  return 0;
}

i32 ORV_CALL main_view_toggle_click(Click* click, u32) {
  run_parameter_actions(click);
  reopen_overlays(kMainViewOverlays);
  return 0;
}

i32 ORV_CALL landing_view_toggle_click(Click* click, u32) {
  run_parameter_actions(click);
  reopen_overlays(kLandingViewOverlays);
  return 0;
}

}  // namespace orv::controls

// The tables below write each gauge's records with the names of the controls
// and of frame/records.h.
namespace orv::gauges {
using namespace orv::controls;
using namespace orv::records;
}  // namespace orv::gauges

// One parameter-driven toggle: icon bitmap, its click callback, and the
// records of its whole-gauge area (help id or tooltip).
#define ORV_PARAMETER_TOGGLE(var, bitmap_id, click_fn, ...)                                                  \
  ORV_SMALL_TOGGLE_RECORDS(var, bitmap_id,                                                                   \
                           click_box(kSmallToggleBox, kCursorHand, kMouseLeftSingle, click_fn), __VA_ARGS__) \
  ORV_DEFINE_GAUGE(var, var##_records::chain.first, var##_records::mouse,                                    \
                   orv::controls::parameter_toggle_install)

namespace {
constexpr const char* kViewTip = "Switch between Normal and Landing view";
}  // namespace

// clang-format off
//                   gauge                          bitmap click callback              whole-gauge area
ORV_PARAMETER_TOGGLE(invisible_toggle,              100,   parameter_toggle_click,    whole_gauge_area())
ORV_PARAMETER_TOGGLE(close_subpanel,                110,   parameter_toggle_click,    whole_gauge_area(), tooltip("Close the subpanel"))
ORV_PARAMETER_TOGGLE(radios_toggle,                 120,   parameter_toggle_click,    whole_gauge_area(43910))
ORV_PARAMETER_TOGGLE(gps_toggle,                    140,   parameter_toggle_click,    whole_gauge_area(43911))
ORV_PARAMETER_TOGGLE(throttle_toggle,               150,   parameter_toggle_click,    whole_gauge_area(43912))
ORV_PARAMETER_TOGGLE(compass_toggle,                160,   parameter_toggle_click,    whole_gauge_area(43913))
ORV_PARAMETER_TOGGLE(landing_view_toggle,           130,   parameter_toggle_click,    whole_gauge_area(), tooltip(kViewTip))
ORV_PARAMETER_TOGGLE(main_view_toggle_from_landing, 130,   main_view_toggle_click,    whole_gauge_area(), tooltip(kViewTip))
ORV_PARAMETER_TOGGLE(landing_view_toggle_from_main, 130,   landing_view_toggle_click, whole_gauge_area(), tooltip(kViewTip))
// clang-format on
