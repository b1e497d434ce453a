#include "host/aircraft/simulator.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/aircraft/engine_systems.h"
#include "host/aircraft/radio_stack.h"
#include "host/load/host_error.h"

namespace orv::host {

namespace {

// Token variables the key events below act on.
constexpr std::uint32_t kTokenTick = 1;
constexpr std::uint32_t kTokenClockHour = 3;
constexpr std::uint32_t kTokenClockMinute = 4;
constexpr std::uint32_t kTokenClockSecond = 5;
constexpr std::uint32_t kTokenClockNow = 604;  // local time in seconds
constexpr std::uint32_t kTokenNav1Course = 45;
constexpr std::uint32_t kTokenNav2Course = 54;
constexpr std::uint32_t kTokenKohlsmanMb = 75;
constexpr std::uint32_t kTokenAvionicsA = 620;
constexpr std::uint32_t kTokenAvionicsB = 632;
constexpr std::uint32_t kTokenRadioMaster = 740;
constexpr std::uint32_t kTokenNavGpsSwitch = 848;
constexpr std::uint32_t kTokenNavCourse = 854;
constexpr std::uint32_t kTokenHeadingBug = 855;

constexpr std::uint32_t kEventCourse1Set = 65716;
constexpr std::uint32_t kEventCourse2Set = 65717;
constexpr std::uint32_t kEventKohlsmanInc = 65883;
constexpr std::uint32_t kEventKohlsmanDec = 65884;
constexpr std::uint32_t kEventHeadingBugSet = 66042;
constexpr std::uint32_t kEventRadioMaster = 66293;
constexpr std::uint32_t kEventNavGpsSwitch = 66375;
constexpr std::uint32_t kEventToggleA = 66376;
constexpr std::uint32_t kEventToggleB = 66378;

// The altimeter setting moves in whole millibars inside the instrument's range.
constexpr double kKohlsmanMin = 948.0;
constexpr double kKohlsmanMax = 1084.0;

// Expressions that read a token variable instead of a scenario value.
struct BoundExpression {
  const char* code;
  std::uint32_t token;
  double factor;
};
constexpr BoundExpression kBoundExpressions[] = {
    {"(A:KOHLSMAN SETTING MB,millibar)", kTokenKohlsmanMb, 1.0},
    {"(A:KOHLSMAN SETTING MB,millibars)", kTokenKohlsmanMb, 1.0},
    {"(A:KOHLSMAN SETTING HG,inHg)", kTokenKohlsmanMb, 0.0295299830714},
};

}  // namespace

double SimValue::as_double() const {
  switch (kind) {
    case Kind::number:
      return number;
    case Kind::integer:
      return static_cast<double>(integer);
    case Kind::text:
      return 0.0;
  }
  return 0.0;
}

SimState::SimState() : direct_(kDirectTokens, nullptr), delivered_(kDirectTokens, abi::TokenValue{.n = 0.0}) {
  set_number(kTokenKohlsmanMb, 1013.0);
  set_expression_text("(A:ATC ID,string)", "F_ORVN");
  set_expression_number("(A:GPS IS ACTIVE WAY POINT,number)", 0.0);
  begin_frame(kSetupFrame);
}

void SimState::set_token(std::uint32_t id, SimValue value) {
  if (id >= kDirectTokens) {
    tokens_[id] = std::move(value);
    return;
  }
  SimValue*& slot = direct_[id];
  if (slot != nullptr) {
    *slot = std::move(value);
  } else {
    slot = &direct_values_.emplace_back(std::move(value));
  }
  abi::TokenVar word{};
  deliver(word, slot);
  delivered_[id] = word.value;
}

// A number over a number (every keyframed and clock token on every frame)
// takes only the new value, without a SimValue moved in.
void SimState::set_number(std::uint32_t id, double v) {
  SimValue* slot = id < kDirectTokens ? direct_[id] : nullptr;
  if (slot == nullptr || slot->kind != SimValue::Kind::number || slot->integer != 0 || !slot->text.empty()) {
    set_token(id, SimValue::of_number(v));
    return;
  }
  slot->number = v;
  delivered_[id].n = v;
}

const SimValue* SimState::token(std::uint32_t id) const {
  if (id < kDirectTokens) return direct_[id];
  auto it = tokens_.find(id);
  return it == tokens_.end() ? nullptr : &it->second;
}

void SimState::set_expression_number(std::string_view code, double v) {
  if (auto it = expression_numbers_.find(code); it != expression_numbers_.end()) {
    it->second = v;
  } else {
    expression_numbers_.emplace(std::string(code), v);
  }
}

void SimState::set_expression_text(std::string_view code, std::string v) {
  if (auto it = expression_texts_.find(code); it != expression_texts_.end()) {
    it->second = std::move(v);
  } else {
    expression_texts_.emplace(std::string(code), std::move(v));
  }
}

double SimState::number(std::uint32_t id) const {
  const SimValue* v = token(id);
  return v == nullptr ? 0.0 : v->as_double();
}

void SimState::deliver(abi::TokenVar& var, const SimValue* v) {
  var.value.n = 0.0;
  if (v == nullptr) return;
  switch (v->kind) {
    case SimValue::Kind::number:
      var.value.n = v->number;
      break;
    case SimValue::Kind::integer:
      var.value.d = v->integer;
      break;
    case SimValue::Kind::text:
      var.value.p = v->text.c_str();
      break;
  }
}

void SimState::begin_frame(std::int64_t frame) {
  const std::int64_t previous = frame_;
  frame_ = frame;
  const std::int64_t ticks = frame < 0 ? 0 : frame;
  set_number(kTokenTick, static_cast<double>(ticks));
  const double local = std::fmod(start_time_ + time(), 86400.0);
  const auto whole = static_cast<std::int64_t>(std::floor(local));
  set_number(kTokenClockHour, static_cast<double>(whole / 3600));
  set_number(kTokenClockMinute, static_cast<double>(whole / 60 % 60));
  set_number(kTokenClockSecond, static_cast<double>(whole % 60));
  set_number(kTokenClockNow, local);
  // The engines and systems move on by the frames since the last one.
  if (frame >= 0) {
    const std::int64_t frames = previous >= 0 && frame > previous ? frame - previous : 0;
    advance_engine_systems(*this, static_cast<double>(frames) / kTicksPerSecond);
  }
}

void SimState::open_window(std::uint32_t window) {
  if (window < kDirectWindows) open_flags_[window] = 1;
  if (open_windows_.insert(window).second) {
    window_changes_.push_back({window, true, frame_});
    openings_[window] = ++opening_count_;
  }
}

void SimState::close_window(std::uint32_t window) {
  if (window < kDirectWindows) open_flags_[window] = 0;
  if (open_windows_.erase(window) != 0) {
    window_changes_.push_back({window, false, frame_});
    openings_.erase(window);
  }
}

void SimState::toggle_window(std::uint32_t window) {
  if (window_open(window)) {
    close_window(window);
  } else {
    open_window(window);
  }
}

void SimState::send_key_event(std::uint32_t event, std::uint32_t value) {
  key_events_.push_back({event, value, frame_});
  auto flip = [this](std::uint32_t id) { set_number(id, number(id) != 0.0 ? 0.0 : 1.0); };
  switch (event) {
    case kEventWindowToggle:
      toggle_window(value);
      break;
    case kEventWindowOpen:
      open_window(value);
      break;
    case kEventWindowClose:
      close_window(value);
      break;
    case kEventNavGpsSwitch:
      set_number(kTokenNavGpsSwitch, number(kTokenNavGpsSwitch) > 0.0 ? 0.0 : 1.0);
      break;
    case kEventRadioMaster:
      flip(kTokenRadioMaster);
      break;
    case kEventToggleA:
      flip(kTokenAvionicsA);
      break;
    case kEventToggleB:
      flip(kTokenAvionicsB);
      break;
    case kEventHeadingBugSet:
      set_number(kTokenHeadingBug, static_cast<double>(value));
      break;
    case kEventCourse1Set:  // the NAV 1 course, as both its tokens give it
      set_number(kTokenNav1Course, static_cast<double>(value));
      set_number(kTokenNavCourse, static_cast<double>(value));
      break;
    case kEventCourse2Set:
      set_number(kTokenNav2Course, static_cast<double>(value));
      break;
    case kEventKohlsmanInc:
      set_number(kTokenKohlsmanMb, std::min(kKohlsmanMax, std::floor(number(kTokenKohlsmanMb)) + 1.0));
      break;
    case kEventKohlsmanDec:
      set_number(kTokenKohlsmanMb, std::max(kKohlsmanMin, std::ceil(number(kTokenKohlsmanMb)) - 1.0));
      break;
    default:
      apply_radio_event(*this, event);
      break;
  }
}

bool SimState::evaluate(const char* code, double* number_out, const char** text_out) const {
  if (number_out != nullptr) *number_out = 0.0;
  if (text_out != nullptr) *text_out = "";
  if (code == nullptr) return false;
  for (const auto& bound : kBoundExpressions) {
    if (std::strcmp(bound.code, code) == 0) {
      if (number_out != nullptr) *number_out = number(bound.token) * bound.factor;
      return true;
    }
  }
  bool known = false;
  const std::string_view key(code);
  if (auto it = expression_numbers_.find(key); it != expression_numbers_.end()) {
    if (number_out != nullptr) *number_out = it->second;
    known = true;
  }
  if (auto it = expression_texts_.find(key); it != expression_texts_.end()) {
    if (text_out != nullptr) *text_out = it->second.c_str();
    known = true;
  }
  return known;
}

void* SimState::named_data(const char* name) const {
  if (name == nullptr) return nullptr;
  auto it = named_data_.find(std::string_view(name));
  return it == named_data_.end() ? nullptr : it->second;
}

void* SimState::host_interface(const char* name) const {
  if (name == nullptr) return nullptr;
  auto it = interfaces_.find(std::string_view(name));
  return it == interfaces_.end() ? nullptr : it->second;
}

}  // namespace orv::host
