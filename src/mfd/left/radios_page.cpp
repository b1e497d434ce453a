// The radios page of the left display (page 3): active and standby
// frequencies of two COM and two NAV radios, the ADF frequency and the
// transponder code, with the areas that tune them, the swap boxes and the
// audio selector buttons. The page never writes a frequency: each area sends
// the simulator's key event and the figures come back through the tokens.
// A radio whose on-flag is 0 shows no figures and ignores its areas.
#include "cockpit/mode_state.h"
#include "frame/cockpit_numbers.h"
#include "frame/elements.h"
#include "frame/host_services.h"
#include "mfd/left/left_pages.h"
#include "mfd/page_gate.h"
#include "mfd/radio_decoding.h"
#include "mfd/radio_values.h"
#include "sound/sound.h"

namespace orv::mfd {

namespace {

constexpr u32 kTokenRadioMaster = 740;
constexpr u32 kEventRadioMaster = 66293;

constexpr u32 kLeftButton = abi::kMouseLeftSingle;
constexpr u32 kTuningButtons = abi::kMouseLeftSingle | abi::kMouseWheelLike;

bool radios_shown() { return cockpit::left_mfd_page == cockpit::kLeftPageRadios; }

void set_cursor(Click* click, i32 cursor) {
  if (click != nullptr && click->rect != nullptr) click->rect->cursor = cursor;
}

void click_sound() { sound::play_click(sound::channels::multi_function_display_left); }

// "1ab.cd" of the element's own packed frequency while its radio is on.
f64 frequency_text(TextElement* t, std::int32_t radio_on) {
  if (t == nullptr) return 0.0;
  const u32 v = channel_u32(t->source[0]);
  if (page_gate(&t->h, cockpit::left_mfd_page, cockpit::kLeftPageRadios)) {
    if (radio_on == 0) {
      set_hidden(&t->h, true);
    } else {
      write_text(t, "1%02x.%02x", v >> 8, v % 256);
    }
  }
  return static_cast<f64>(v);
}

f64 swap_lit(std::int32_t radio_on) {
  return page_icon_if(cockpit::left_mfd_page, cockpit::kLeftPageRadios, radio_on != 0);
}

// --- Buttons and swap boxes -------------------------------------------------------

i32 audio_button(Click* click, u32 flags, u32 event) {
  if (!radios_shown()) {
    set_cursor(click, abi::kCursorNone);
    return 0;
  }
  set_cursor(click, abi::kCursorHand);
  if ((flags & kLeftButton) != 0) {
    send_key_event(event, 0);
    click_sound();
  }
  return 0;
}

i32 swap_box(Click* click, std::int32_t radio_on, u32 event) {
  if (!radios_shown() || radio_on == 0) {
    set_cursor(click, abi::kCursorNone);
    return 0;
  }
  send_key_event(event, 0);
  click_sound();
  set_cursor(click, abi::kCursorHand);
  return 0;
}

// --- Frequency tuning ------------------------------------------------------------

enum class Band { com, nav };
enum class Quantity { whole_mhz, frequency };
enum class Test { below, above, at_least };

// One tuning area: the standby token it decodes, the channel's shared values
// and on-flag, the limit that must hold, and the key event.
struct Tuning {
  u32 token;
  Band band;
  f64* mhz;
  f64* hundredths;
  std::int32_t* radio_on;
  Quantity quantity;
  Test test;
  f64 limit;
  u32 event;
};

bool holds(Test test, f64 value, f64 limit) {
  switch (test) {
    case Test::below:
      return value < limit;
    case Test::above:
      return value > limit;
    case Test::at_least:
      return value >= limit;
  }
  return false;
}

i32 tune(const Tuning& a) {
  const u32 packed = read_token_u32(a.token);
  *a.mhz = a.band == Band::com ? com_whole_mhz(packed) : nav_whole_mhz(packed);
  f64 value = *a.mhz;
  if (a.quantity == Quantity::frequency) {
    *a.hundredths = frequency_hundredths(packed);
    value = *a.mhz + *a.hundredths / 100.0;
  }
  if (holds(a.test, value, a.limit) && *a.radio_on != 0 && radios_shown()) send_key_event(a.event, 0);
  return 0;
}

#define ORV_TUNING(name, ...)                   \
  i32 ORV_CALL name(Click*, u32) {              \
    static constexpr Tuning kArea{__VA_ARGS__}; \
    return tune(kArea);                         \
  }

using enum Band;
using enum Quantity;
using enum Test;
using cockpit::com1_on;
using cockpit::com2_on;
using cockpit::nav1_on;
using cockpit::nav2_on;

}  // namespace

ORV_TUNING(com1_whole_up, kTokenCom1Standby, com, &com1_mhz, &com1_mhz_hundredths, &com1_on, whole_mhz, below,
           136.0, 65637)
ORV_TUNING(com1_whole_down, kTokenCom1Standby, com, &com1_mhz, &com1_mhz_hundredths, &com1_on, whole_mhz,
           above, 118.0, 65636)
ORV_TUNING(com1_fraction_up, kTokenCom1Standby, com, &com1_mhz, &com1_mhz_hundredths, &com1_on, frequency,
           below, 136.975, 65639)
ORV_TUNING(com1_fraction_down, kTokenCom1Standby, com, &com1_mhz, &com1_mhz_hundredths, &com1_on, frequency,
           above, 118.0, 65638)
ORV_TUNING(com2_whole_up, kTokenCom2Standby, com, &com2_mhz, &com2_mhz_hundredths, &com2_on, whole_mhz, below,
           136.0, 66437)
ORV_TUNING(com2_whole_down, kTokenCom2Standby, com, &com2_mhz, &com2_mhz_hundredths, &com2_on, whole_mhz,
           above, 118.0, 66436)
ORV_TUNING(com2_fraction_up, kTokenCom2Standby, com, &com2_mhz, &com2_mhz_hundredths, &com2_on, frequency,
           below, 136.975, 66440)
ORV_TUNING(com2_fraction_down, kTokenCom2Standby, com, &com2_mhz, &com2_mhz_hundredths, &com2_on, frequency,
           above, 118.0, 66438)
ORV_TUNING(nav1_whole_up, kTokenNav1Standby, nav, &nav1_mhz, &nav1_mhz_hundredths, &nav1_on, whole_mhz, below,
           117.0, 65641)
ORV_TUNING(nav1_whole_down, kTokenNav1Standby, nav, &nav1_mhz, &nav1_mhz_hundredths, &nav1_on, whole_mhz,
           above, 108.0, 65640)
ORV_TUNING(nav1_fraction_up, kTokenNav1Standby, nav, &nav1_mhz, &nav1_mhz_hundredths, &nav1_on, frequency,
           below, 117.95, 65643)
ORV_TUNING(nav1_fraction_down, kTokenNav1Standby, nav, &nav1_mhz, &nav1_mhz_hundredths, &nav1_on, frequency,
           at_least, 108.05, 65642)
ORV_TUNING(nav2_whole_up, kTokenNav2Standby, nav, &nav2_mhz, &nav2_mhz_hundredths, &nav2_on, whole_mhz, below,
           117.0, 65645)
ORV_TUNING(nav2_whole_down, kTokenNav2Standby, nav, &nav2_mhz, &nav2_mhz_hundredths, &nav2_on, whole_mhz,
           above, 108.0, 65644)
ORV_TUNING(nav2_fraction_up, kTokenNav2Standby, nav, &nav2_mhz, &nav2_mhz_hundredths, &nav2_on, frequency,
           below, 117.95, 65647)
ORV_TUNING(nav2_fraction_down, kTokenNav2Standby, nav, &nav2_mhz, &nav2_mhz_hundredths, &nav2_on, frequency,
           at_least, 108.05, 65646)

#undef ORV_TUNING

namespace {

// --- ADF and transponder columns ---------------------------------------------------

// An ADF or transponder area: raise areas show the up cursor, lower areas the
// down cursor, while the page shows. It acts on the left button and on the
// displays' wheel-like click. `limit_holds` is false when a limit stops it.
i32 column_area(Click* click, u32 flags, bool raise, std::int32_t radio_on, bool limit_holds, u32 event) {
  if (!radios_shown()) {
    set_cursor(click, abi::kCursorNone);
    return 0;
  }
  set_cursor(click, raise ? abi::kCursorUp : abi::kCursorDown);
  if ((flags & kTuningButtons) != 0 && limit_holds && radio_on != 0) send_key_event(event, 0);
  return 0;
}

i32 adf_raise(Click* click, u32 flags, f64 highest, u32 event) {
  return column_area(click, flags, true, cockpit::adf_on, adf_khz <= highest, event);
}
i32 adf_lower(Click* click, u32 flags, f64 lowest, u32 event) {
  return column_area(click, flags, false, cockpit::adf_on, adf_khz >= lowest, event);
}
i32 transponder_step(Click* click, u32 flags, bool raise, u32 event) {
  return column_area(click, flags, raise, cockpit::transponder_on, true, event);
}

}  // namespace

// --- Element callbacks -------------------------------------------------------------

f64 radios_page_face(IconElement*) { return page_icon(cockpit::left_mfd_page, cockpit::kLeftPageRadios); }

f64 transponder_text(TextElement* t) {
  if (t == nullptr) return 0.0;
  if (!page_gate(&t->h, cockpit::left_mfd_page, cockpit::kLeftPageRadios)) return 0.0;
  if (cockpit::transponder_on == 0) {
    set_hidden(&t->h, true);
    return 0.0;
  }
  // Four digits with leading zeros (the repeated zero flag of "%0004.0f"
  // means the same).
  write_number<"%04.0f">(t, transponder_code);
  return 0.0;
}

f64 adf_text(TextElement* t) {
  if (t == nullptr) return 0.0;
  if (!page_gate(&t->h, cockpit::left_mfd_page, cockpit::kLeftPageRadios)) return 0.0;
  if (cockpit::adf_on == 0) {
    set_hidden(&t->h, true);
    return 0.0;
  }
  write_text(t, "%04x.%1x", channel_u32(t->source[0]), channel_u32(t->source[1]) % 16);
  return 0.0;
}

f64 nav1_text(TextElement* e) { return frequency_text(e, cockpit::nav1_on); }
f64 nav2_text(TextElement* e) { return frequency_text(e, cockpit::nav2_on); }
f64 com1_text(TextElement* e) { return frequency_text(e, cockpit::com1_on); }
f64 com2_text(TextElement* e) { return frequency_text(e, cockpit::com2_on); }

f64 nav2_swap_lit(IconElement*) { return swap_lit(cockpit::nav2_on); }
f64 nav1_swap_lit(IconElement*) { return swap_lit(cockpit::nav1_on); }
f64 com2_swap_lit(IconElement*) { return swap_lit(cockpit::com2_on); }
f64 com1_swap_lit(IconElement*) { return swap_lit(cockpit::com1_on); }

f64 button_lamp(IconElement* e) {
  if (e == nullptr) return numbers::kNoImage;
  const f64 state = channel_f64(e->source);
  return page_icon_if(cockpit::left_mfd_page, cockpit::kLeftPageRadios, state > 0.0);
}

// --- Mouse callbacks ---------------------------------------------------------------

i32 ORV_CALL radio_master_button(Click* click, u32 flags) {
  if (!radios_shown()) {
    set_cursor(click, abi::kCursorNone);
    return 0;
  }
  set_cursor(click, abi::kCursorHand);
  if ((flags & kLeftButton) == 0) return 0;
  // The flags follow the switch state this click produces.
  const std::int32_t on = read_token_f64(kTokenRadioMaster) == 0.0 ? 1 : 0;
  send_key_event(kEventRadioMaster, 0);
  click_sound();
  cockpit::com1_on = cockpit::com2_on = cockpit::nav1_on = on;
  cockpit::nav2_on = cockpit::adf_on = cockpit::transponder_on = on;
  return 0;
}

i32 ORV_CALL nav1_audio_button(Click* click, u32 flags) { return audio_button(click, flags, 65842); }
i32 ORV_CALL nav2_audio_button(Click* click, u32 flags) { return audio_button(click, flags, 65843); }
i32 ORV_CALL adf_audio_button(Click* click, u32 flags) { return audio_button(click, flags, 65846); }
i32 ORV_CALL marker_audio_button(Click* click, u32 flags) { return audio_button(click, flags, 66477); }

i32 ORV_CALL com1_swap(Click* click, u32) { return swap_box(click, cockpit::com1_on, 66372); }
i32 ORV_CALL com2_swap(Click* click, u32) { return swap_box(click, cockpit::com2_on, 66444); }
i32 ORV_CALL nav1_swap(Click* click, u32) { return swap_box(click, cockpit::nav1_on, 66448); }
i32 ORV_CALL nav2_swap(Click* click, u32) { return swap_box(click, cockpit::nav2_on, 66452); }

i32 ORV_CALL adf_left_up(Click* click, u32 flags) { return adf_raise(click, flags, 1600.0, 65648); }
i32 ORV_CALL adf_left_down(Click* click, u32 flags) { return adf_lower(click, flags, 300.0, 65666); }
i32 ORV_CALL adf_middle_up(Click* click, u32 flags) { return adf_raise(click, flags, 1698.0, 66542); }
i32 ORV_CALL adf_middle_down(Click* click, u32 flags) { return adf_lower(click, flags, 201.0, 66543); }
i32 ORV_CALL adf_right_up(Click* click, u32 flags) { return adf_raise(click, flags, 1799.8, 66462); }
i32 ORV_CALL adf_right_down(Click* click, u32 flags) { return adf_lower(click, flags, 200.1, 66461); }

i32 ORV_CALL transponder_1_up(Click* click, u32 flags) { return transponder_step(click, flags, true, 65651); }
i32 ORV_CALL transponder_1_down(Click* click, u32 flags) {
  return transponder_step(click, flags, false, 66455);
}
i32 ORV_CALL transponder_2_up(Click* click, u32 flags) { return transponder_step(click, flags, true, 65652); }
i32 ORV_CALL transponder_2_down(Click* click, u32 flags) {
  return transponder_step(click, flags, false, 66456);
}
i32 ORV_CALL transponder_3_up(Click* click, u32 flags) { return transponder_step(click, flags, true, 65653); }
i32 ORV_CALL transponder_3_down(Click* click, u32 flags) {
  return transponder_step(click, flags, false, 66457);
}
i32 ORV_CALL transponder_4_up(Click* click, u32 flags) { return transponder_step(click, flags, true, 65654); }
i32 ORV_CALL transponder_4_down(Click* click, u32 flags) {
  return transponder_step(click, flags, false, 66458);
}

}  // namespace orv::mfd
