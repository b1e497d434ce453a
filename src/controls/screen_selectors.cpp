// Screen_Selector_Main and Screen_Selector_Landing: the pilot's push-button
// panel for the head-up display and the two multi-function displays, a 3 x 3
// grid of lit buttons above a clock.
//
// Top row: HUD (left click steps the colour, right click switches the HUD on
// or off), left display radar, right display controls. Middle row: weapons,
// radios, engine. Bottom row: navigation arc, navigation circle, navigation
// arc with the radar and map windows closed. The panel is lit, and the
// buttons work, only while its supply is above 20; the clock runs regardless.
//
// Both gauges run the same code on two copies of the records. A small table
// binds each copy to its own active flag and its own pair of overlay windows
// (the normal view and the landing view have different window numbers); the
// page and HUD values are the shared cockpit values, so a page chosen on one
// selector lights on the other.
#include "controls/screen_selectors.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

#include "cockpit/mode_state.h"
#include "frame/cockpit_numbers.h"
#include "frame/host_services.h"
#include "frame/records.h"
#include "frame/registry.h"

namespace orv::controls {

std::int32_t main_selector_active = 0;
std::int32_t landing_selector_active = 0;

namespace {

using namespace orv::cockpit;
using namespace orv::records;
using numbers::kEventCloseWindow;
using numbers::kEventOpenWindow;
using numbers::kNoImage;

constexpr u32 kSupplyToken = 753;
constexpr f64 kSupplyLitAbove = 20.0;

// Icon values: image k of the icon's run (kNoImage draws nothing).
constexpr f64 kUnlitImage = 0.0;
constexpr f64 kLitImage = 1.0;

// --- Per-selector binding ----------------------------------------------------

struct Selector {
  GaugeHeader* gauge;
  std::int32_t* active;
  u32 radar_window;  // overlay window of the left display's radar page
  u32 map_window;    // overlay window of the left display's map page
};

constexpr std::size_t kMain = 0;
constexpr std::size_t kLanding = 1;

constexpr Selector kSelectors[] = {
    {&gauges::screen_selector_main, &main_selector_active, numbers::kWindowRadarMain,
     numbers::kWindowMapMain},
    {&gauges::screen_selector_landing, &landing_selector_active, numbers::kWindowRadarLanding,
     numbers::kWindowMapLanding},
};

// --- Buttons -----------------------------------------------------------------

// What a button selects, and so when it is lit.
enum class Target { kHud, kLeftPage, kRightPage };

// Overlay window events a page button sends after storing its page.
enum class Windows { kNone, kOpenRadarCloseMap, kOpenMapCloseRadar, kCloseRadarThenMap };

struct Button {
  u32 bitmap;   // unlit image; the lit image is bitmap + 1
  PixPoint at;  // top-left corner of the button's area and box
  Target target;
  i32 page;
  Windows windows;
  u32 mouse_flags;
  const char* tooltip;
};

constexpr i32 kButtonWidth = 67;
constexpr i32 kButtonHeight = 50;
constexpr u32 kLeftOrRight = kMouseLeftSingle | kMouseRightSingle;

// In reading order, which is also the order of the mouse list.
// clang-format off
constexpr Button kButtons[] = {
  // bmp   at          target             page                 overlay windows              mouse flags
  //   tooltip
  {290, { 11,   9}, Target::kHud,       0,                   Windows::kNone,              kLeftOrRight,
   "Right clic switches the HUD On/Off - Left clic changes HUD colour (%1!s!)"},
  {300, { 82,   9}, Target::kLeftPage,  kLeftPageRadar,      Windows::kOpenRadarCloseMap, kMouseLeftSingle,
   "Display Radar on left MFD (%2!s!)"},
  {310, {153,   9}, Target::kRightPage, kRightPageControls,  Windows::kNone,              kMouseLeftSingle,
   "Display Controls on right MFD (%3!s!)"},
  {320, { 11,  63}, Target::kLeftPage,  kLeftPageWeapons,    Windows::kCloseRadarThenMap, kMouseLeftSingle,
   "Display the weapons system on left MFD"},
  {330, { 82,  63}, Target::kLeftPage,  kLeftPageRadios,     Windows::kCloseRadarThenMap, kMouseLeftSingle,
   "Display the radios frequencies and tuning on left MFD"},
  {340, {153,  63}, Target::kRightPage, kRightPageEngine,    Windows::kNone,              kMouseLeftSingle,
   "Display the engine parameters on right MFD"},
  {350, { 11, 117}, Target::kLeftPage,  kLeftPageMap,        Windows::kOpenMapCloseRadar, kMouseLeftSingle,
   "Display navigation (arc) on left MFD"},
  {360, { 82, 117}, Target::kRightPage, kRightPageNavCircle, Windows::kNone,              kMouseLeftSingle,
   "Display navigation (circular) on right MFD"},
  {370, {153, 117}, Target::kLeftPage,  kLeftPageNavArc,     Windows::kCloseRadarThenMap, kMouseLeftSingle,
   "Display navigation (arc) on left MFD"},
};
// clang-format on
constexpr std::size_t kButtonCount = std::size(kButtons);
static_assert(kButtonCount == 9);

bool is_lit(const Button& b) {
  switch (b.target) {
    case Target::kHud:
      return hud_on != 0;
    case Target::kLeftPage:
      return left_mfd_page == b.page;
    case Target::kRightPage:
      return right_mfd_page == b.page;
  }
  return false;
}

void send_window_events(const Selector& s, Windows windows) {
  switch (windows) {
    case Windows::kNone:
      break;
    case Windows::kOpenRadarCloseMap:
      send_key_event(kEventOpenWindow, s.radar_window);
      send_key_event(kEventCloseWindow, s.map_window);
      break;
    case Windows::kOpenMapCloseRadar:
      send_key_event(kEventOpenWindow, s.map_window);
      send_key_event(kEventCloseWindow, s.radar_window);
      break;
    case Windows::kCloseRadarThenMap:
      send_key_event(kEventCloseWindow, s.radar_window);
      send_key_event(kEventCloseWindow, s.map_window);
      break;
  }
}

// Left click steps through the four HUD colours; right click switches the HUD
// on or off and starts it again in light green. A click carrying both bits
// counts as a left click.
void press_hud(u32 flags) {
  if ((flags & kMouseLeftSingle) != 0) {
    const u32 next = hud_colour + 1;
    hud_colour = next > kHudRed ? kHudLightGreen : next;
  } else if ((flags & kMouseRightSingle) != 0) {
    hud_on = hud_on == 0 ? 1 : 0;
    hud_colour = kHudLightGreen;
  }
}

// A page button acts on any click the host delivers (its box asks for left
// clicks only), and again when its page is already shown.
void press(const Selector& s, const Button& b, u32 flags) {
  switch (b.target) {
    case Target::kHud:
      press_hud(flags);
      return;
    case Target::kLeftPage:
      left_mfd_page = b.page;
      break;
    case Target::kRightPage:
      right_mfd_page = b.page;
      break;
  }
  send_window_events(s, b.windows);
}

// --- Callbacks, one set per selector ----------------------------------------

// The backlight is evaluated before the buttons on every update; it is the
// only place the active flag changes, so clicks act on the last update's
// supply.
template <std::size_t S>
f64 backlight_value(const IconElement* e) {
  if (e == nullptr) return kNoImage;
  const bool lit = channel_f64(e->source) > kSupplyLitAbove;  // NaN stays dark
  *kSelectors[S].active = lit ? 1 : 0;
  return lit ? kUnlitImage : kNoImage;
}

template <std::size_t S, std::size_t B>
f64 button_value(IconElement*) {
  if (*kSelectors[S].active == 0) return kNoImage;
  return is_lit(kButtons[B]) ? kLitImage : kUnlitImage;
}

template <std::size_t S, std::size_t B>
i32 ORV_CALL button_click(Click*, u32 flags) {
  const Selector& s = kSelectors[S];
  if (*s.active != 0) press(s, kButtons[B], flags);
  return 0;
}

// Hours, minutes and seconds of the clock: unreadable values show as 0 and
// every field stays within two digits, so the text always fits its eight
// characters.
f64 clock_field(const TokenVar& var) { return finite_or(channel_f64(var), 0.0, 0.0, 99.0); }

// "%02.0f" of a whole number from 0 to 99 (positive zero), written directly;
// false for any other value, which the formatter writes.
bool two_digits(f64 v, char* out) {
  if (!(v >= 0.0 && v <= 99.0) || std::signbit(v)) return false;
  const int n = static_cast<int>(v);
  if (static_cast<f64>(n) != v) return false;
  out[0] = static_cast<char>('0' + n / 10);
  out[1] = static_cast<char>('0' + n % 10);
  return true;
}

f64 clock_text(TextElement* e) {
  if (e == nullptr) return 0.0;
  const f64 hours = clock_field(e->source[0]);
  const f64 minutes = clock_field(e->source[1]);
  const f64 seconds = clock_field(e->source[2]);
  char text[9] = "00:00:00";
  if (two_digits(hours, text) && two_digits(minutes, text + 3) && two_digits(seconds, text + 6)) {
    write_fixed(e, text);
  } else {
    write_text(e, "%02.0f:%02.0f:%02.0f", hours, minutes, seconds);
  }
  return hours + minutes + seconds;
}

// Tooltip arguments, shared by all nine tooltips of both selectors; they read
// only the cockpit values, never their own arguments.
const char* ORV_CALL hud_state_text(f64, u32, const char*, TokenVar*, GaugeHeader*) {
  if (hud_on == 0) return "off";
  switch (hud_colour) {
    case kHudLightGreen:
      return "light green";
    case kHudMiddleGreen:
      return "middle green";
    case kHudDarkGreen:
      return "dark green";
    case kHudRed:
      return "red";
    default:
      return "off";
  }
}

const char* ORV_CALL left_radar_text(f64, u32, const char*, TokenVar*, GaugeHeader*) {
  return left_mfd_page == kLeftPageRadar ? "On" : "Off";
}

const char* ORV_CALL right_controls_text(f64, u32, const char*, TokenVar*, GaugeHeader*) {
  return right_mfd_page == kRightPageControls ? "On" : "Off";
}

MouseArg tooltip_args[] = {
    text_argument(hud_state_text),
    text_argument(left_radar_text),
    text_argument(right_controls_text),
    {},  // an empty entry ends the table
};
constexpr u32 kTooltipArgCount = 3;

// --- Records -------------------------------------------------------------------

// Selector S's elements in drawing order: panel, backlight, the nine buttons
// (bottom-right to top-left), clock.
constexpr std::size_t drawn_button(std::size_t d) { return kButtonCount - 1 - d; }  // the d-th drawn

template <std::size_t S, std::size_t... D>
constexpr auto selector_chain(std::index_sequence<D...>) {
  TextElement clock = text({.at = {64, 178},
                            .box = {160, 24},
                            .chars = 8,
                            .callback = calls<clock_text>,
                            .token = 3,  // hours; minutes and seconds follow
                            .font = "Arial",
                            .colour = 0xFFFF00});  // cyan
  clock.source[1] = token(4);
  clock.source[2] = token(5);
  return Chain(*kSelectors[S].gauge, static_image({.bitmap = 270}),
               icon({.bitmap = 280, .token = kSupplyToken, .callback = calls<backlight_value<S>>}),
               icon({.bitmap = kButtons[drawn_button(D)].bitmap,
                     .at = kButtons[drawn_button(D)].at,
                     .token = kSupplyToken,
                     .callback = calls<button_value<S, drawn_button(D)>>,
                     .images = 2})...,
               clock);
}

// Selector S's mouse list: the whole gauge, then each button's area (its
// tooltip and click box) in reading order.
constexpr std::size_t kMouseCount = 1 + 4 * kButtonCount + 2;

template <std::size_t S, std::size_t... B>
constexpr std::array<MouseRect, kMouseCount> selector_mouse(std::index_sequence<B...>) {
  constexpr MouseFn clicks[] = {&button_click<S, B>...};
  std::array<MouseRect, kMouseCount> m{};
  std::size_t n = 0;
  m[n++] = whole_gauge_area();
  for (std::size_t b = 0; b < kButtonCount; ++b) {
    const Button& button = kButtons[b];
    m[n++] = area({button.at.x, button.at.y, kButtonWidth, kButtonHeight});
    m[n++] = tooltip(button.tooltip, kTooltipArgCount, tooltip_args);
    m[n++] = click_box({0, 0, kButtonWidth, kButtonHeight}, kCursorHand, button.mouse_flags, clicks[b]);
    m[n++] = area_end();
  }
  m[n++] = area_end();
  m[n++] = list_end();
  return m;
}

constexpr auto kEachButton = std::make_index_sequence<kButtonCount>{};

constinit auto main_chain = selector_chain<kMain>(kEachButton);
constinit auto landing_chain = selector_chain<kLanding>(kEachButton);
constinit auto main_mouse = selector_mouse<kMain>(kEachButton);
constinit auto landing_mouse = selector_mouse<kLanding>(kEachButton);

}  // namespace
}  // namespace orv::controls

ORV_DEFINE_GAUGE(screen_selector_main, orv::controls::main_chain.first, orv::controls::main_mouse.data(),
                 nullptr)
ORV_DEFINE_GAUGE(screen_selector_landing, orv::controls::landing_chain.first,
                 orv::controls::landing_mouse.data(), nullptr)
