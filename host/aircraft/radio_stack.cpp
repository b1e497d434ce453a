#include "host/aircraft/radio_stack.h"

#include "host/aircraft/simulator.h"

namespace orv::host {

namespace {

// Token variables.
constexpr std::uint32_t kCom1Active = 23, kCom1Standby = 617;
constexpr std::uint32_t kCom2Active = 870, kCom2Standby = 871;
constexpr std::uint32_t kNav1Active = 24, kNav1Standby = 872;
constexpr std::uint32_t kNav2Active = 27, kNav2Standby = 873;
constexpr std::uint32_t kAdfDigits = 16, kAdfTenths = 18;
constexpr std::uint32_t kTransponder = 38;

// The bands, in kHz, and the fraction step of each.
struct Band {
  std::uint32_t lowest_mhz, highest_mhz;  // whole MHz that wrap into each other
  std::uint32_t step_khz;                 // fraction step
  bool com;
};
constexpr Band kComBand{118, 136, 25, true};
constexpr Band kNavBand{108, 117, 50, false};

enum class Step { whole_up, whole_down, fraction_up, fraction_down, swap };

struct Tuning {
  std::uint32_t event;
  std::uint32_t standby, active;
  const Band* band;
  Step step;
};

constexpr Tuning kTunings[] = {
    {65637, kCom1Standby, kCom1Active, &kComBand, Step::whole_up},
    {65636, kCom1Standby, kCom1Active, &kComBand, Step::whole_down},
    {65639, kCom1Standby, kCom1Active, &kComBand, Step::fraction_up},
    {65638, kCom1Standby, kCom1Active, &kComBand, Step::fraction_down},
    {66372, kCom1Standby, kCom1Active, &kComBand, Step::swap},
    {66437, kCom2Standby, kCom2Active, &kComBand, Step::whole_up},
    {66436, kCom2Standby, kCom2Active, &kComBand, Step::whole_down},
    {66440, kCom2Standby, kCom2Active, &kComBand, Step::fraction_up},
    {66438, kCom2Standby, kCom2Active, &kComBand, Step::fraction_down},
    {66444, kCom2Standby, kCom2Active, &kComBand, Step::swap},
    {65641, kNav1Standby, kNav1Active, &kNavBand, Step::whole_up},
    {65640, kNav1Standby, kNav1Active, &kNavBand, Step::whole_down},
    {65643, kNav1Standby, kNav1Active, &kNavBand, Step::fraction_up},
    {65642, kNav1Standby, kNav1Active, &kNavBand, Step::fraction_down},
    {66448, kNav1Standby, kNav1Active, &kNavBand, Step::swap},
    {65645, kNav2Standby, kNav2Active, &kNavBand, Step::whole_up},
    {65644, kNav2Standby, kNav2Active, &kNavBand, Step::whole_down},
    {65647, kNav2Standby, kNav2Active, &kNavBand, Step::fraction_up},
    {65646, kNav2Standby, kNav2Active, &kNavBand, Step::fraction_down},
    {66452, kNav2Standby, kNav2Active, &kNavBand, Step::swap},
};

// ADF steps in tenths of kHz, wrapping inside 200.0 to 1799.9 kHz.
struct AdfStep {
  std::uint32_t event;
  std::int32_t tenths;
};
constexpr AdfStep kAdfSteps[] = {
    {65648, 1000}, {65666, -1000},  // left column: 100 kHz
    {66542, 10},   {66543, -10},    // middle column: 1 kHz
    {66462, 1},    {66461, -1},     // right column: 0.1 kHz, carrying into the kHz
};
constexpr std::int32_t kAdfLowest = 2000, kAdfSpan = 16000;

// Transponder digit steps: digit 3 is the thousands; each digit counts 0..7
// and wraps without carrying.
struct TransponderStep {
  std::uint32_t event;
  int digit;
  int delta;
};
constexpr TransponderStep kTransponderSteps[] = {
    {65651, 3, 1},  {65652, 2, 1},  {65653, 1, 1},  {65654, 0, 1},
    {66455, 3, -1}, {66456, 2, -1}, {66457, 1, -1}, {66458, 0, -1},
};

// Audio selections: each event toggles its token between 0 and 1.
struct AudioToggle {
  std::uint32_t event, token;
};
constexpr AudioToggle kAudioToggles[] = {{65842, 877}, {65843, 878}, {65846, 880}, {66477, 881}};

std::uint32_t integer_of(const SimState& sim, std::uint32_t id) {
  const SimValue* v = sim.token(id);
  if (v == nullptr) return 0;
  if (v->kind == SimValue::Kind::integer) return v->integer;
  const double n = v->number;
  return (n >= 0.0 && n < 4294967296.0) ? static_cast<std::uint32_t>(n) : 0;
}

std::uint32_t packed_digits(std::uint32_t value, int digits) {
  std::uint32_t packed = 0;
  for (int i = 0; i < digits; ++i) {
    packed |= (value % 10) << (4 * i);
    value /= 10;
  }
  return packed;
}

std::uint32_t digit_value(std::uint32_t packed, int digit) { return (packed >> (4 * digit)) & 0xF; }

std::uint32_t unpacked(std::uint32_t packed, int digits) {
  std::uint32_t v = 0;
  for (int i = digits - 1; i >= 0; --i) v = v * 10 + digit_value(packed, i) % 10;
  return v;
}

void tune(SimState& sim, const Tuning& t) {
  if (t.step == Step::swap) {
    const std::uint32_t standby = integer_of(sim, t.standby);
    sim.set_integer(t.standby, integer_of(sim, t.active));
    sim.set_integer(t.active, standby);
    return;
  }
  const Band& b = *t.band;
  const std::uint32_t khz = packed_to_khz(integer_of(sim, t.standby), b.com);
  std::uint32_t mhz = khz / 1000;
  std::uint32_t fraction = khz % 1000;
  if (mhz < b.lowest_mhz || mhz > b.highest_mhz) mhz = b.lowest_mhz;
  const std::uint32_t mhz_count = b.highest_mhz - b.lowest_mhz + 1;
  const std::uint32_t steps = 1000 / b.step_khz;
  std::uint32_t step_index = fraction / b.step_khz;
  switch (t.step) {
    case Step::whole_up:
      mhz = b.lowest_mhz + (mhz - b.lowest_mhz + 1) % mhz_count;
      break;
    case Step::whole_down:
      mhz = b.lowest_mhz + (mhz - b.lowest_mhz + mhz_count - 1) % mhz_count;
      break;
    case Step::fraction_up:
      step_index = (step_index + 1) % steps;
      break;
    case Step::fraction_down:
      step_index = (step_index + steps - 1) % steps;
      break;
    case Step::swap:
      break;
  }
  fraction = step_index * b.step_khz;
  sim.set_integer(t.standby, khz_to_packed(mhz * 1000 + fraction));
}

void step_adf(SimState& sim, std::int32_t delta) {
  const std::uint32_t digits = integer_of(sim, kAdfDigits);
  const std::uint32_t word = integer_of(sim, kAdfTenths);
  const std::int32_t khz = static_cast<std::int32_t>(unpacked(digits, 3) + (word >= 0x100 ? 1000 : 0));
  std::int32_t tenths = khz * 10 + static_cast<std::int32_t>(digit_value(word, 0) % 10);
  if (tenths < kAdfLowest || tenths >= kAdfLowest + kAdfSpan) tenths = kAdfLowest;
  tenths = kAdfLowest + ((tenths - kAdfLowest + delta) % kAdfSpan + kAdfSpan) % kAdfSpan;
  const auto whole = static_cast<std::uint32_t>(tenths / 10);
  sim.set_integer(kAdfDigits, packed_digits(whole % 1000, 3));
  sim.set_integer(kAdfTenths, static_cast<std::uint32_t>(tenths % 10) + (whole >= 1000 ? 0x100u : 0u));
}

void step_transponder(SimState& sim, int digit, int delta) {
  const std::uint32_t code = integer_of(sim, kTransponder);
  const int d = static_cast<int>(digit_value(code, digit) % 8);
  const auto stepped = static_cast<std::uint32_t>((d + 8 + delta) % 8);
  const std::uint32_t mask = 0xFu << (4 * digit);
  sim.set_integer(kTransponder, ((code & 0xFFFF) & ~mask) | (stepped << (4 * digit)));
}

}  // namespace

std::uint32_t packed_to_khz(std::uint32_t packed, bool com) {
  const std::uint32_t mhz = 100 + unpacked(packed >> 8, 2);
  const std::uint32_t hundredths = unpacked(packed & 0xFF, 2);
  // A COM fraction of .x2 or .x7 stands for .x25 or .x75.
  const std::uint32_t extra = (com && hundredths % 5 == 2) ? 5 : 0;
  return mhz * 1000 + hundredths * 10 + extra;
}

std::uint32_t khz_to_packed(std::uint32_t khz) {
  const std::uint32_t mhz = khz / 1000;
  const std::uint32_t hundredths = (khz % 1000) / 10;
  return (packed_digits(mhz % 100, 2) << 8) | packed_digits(hundredths, 2);
}

bool apply_radio_event(SimState& sim, std::uint32_t event) {
  for (const auto& t : kTunings) {
    if (t.event == event) {
      tune(sim, t);
      return true;
    }
  }
  for (const auto& a : kAdfSteps) {
    if (a.event == event) {
      step_adf(sim, a.tenths);
      return true;
    }
  }
  for (const auto& x : kTransponderSteps) {
    if (x.event == event) {
      step_transponder(sim, x.digit, x.delta);
      return true;
    }
  }
  for (const auto& a : kAudioToggles) {
    if (a.event == event) {
      sim.set_number(a.token, sim.number(a.token) != 0.0 ? 0.0 : 1.0);
      return true;
    }
  }
  return false;
}

std::array<std::uint32_t, 2> radio_event_tokens(std::uint32_t event) {
  for (const auto& t : kTunings) {
    if (t.event == event) return {t.standby, t.step == Step::swap ? t.active : 0};
  }
  for (const auto& a : kAdfSteps) {
    if (a.event == event) return {kAdfDigits, kAdfTenths};
  }
  for (const auto& x : kTransponderSteps) {
    if (x.event == event) return {kTransponder, 0};
  }
  for (const auto& a : kAudioToggles) {
    if (a.event == event) return {a.token, 0};
  }
  return {0, 0};
}

}  // namespace orv::host
