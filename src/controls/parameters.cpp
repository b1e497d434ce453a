#include "controls/parameters.h"

#include <climits>
#include <cstring>

namespace orv::controls {

namespace {

struct NamedNumber {
  const char* name;
  std::int32_t number;
};

// In the order they are tested; the first name that the value starts with
// wins.
constexpr NamedNumber kPanelWindows[] = {
    {"MAIN_PANEL", 0},          {"RADIO_STACK_PANEL", 50},    {"COMPASS_PANEL", 75},
    {"ANNUNCIATOR_PANEL", 125}, {"ANNUNCIATOR2_PANEL", 150},  {"COLLECTIVE_PANEL", 200},
    {"THROTTLE_PANEL", 10},     {"MINI_CONTROLS_PANEL", 100}, {"IFR_MAIN_PANEL", 175},
    {"GPS_PANEL", 225},         {"OVERHEAD_PANEL", 250},
};

constexpr NamedNumber kHelpIds[] = {
    {"TOGGLE_RADIO_WINDOW", 43910},   {"TOGGLE_GPS_WINDOW", 43911},  {"TOGGLE_THROTTLE_WINDOW", 43912},
    {"TOGGLE_COMPASS_WINDOW", 43913}, {"TOGGLE_FUEL_WINDOW", 43914}, {"TOGGLE_COLLECTIVE_WINDOW", 43915},
};

constexpr std::int32_t kLowestHostHelpId = 40960;

bool starts_with(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

}  // namespace

const char* find_key(const char* text, const char* key) {
  if (text == nullptr || key == nullptr || key[0] == '\0') return nullptr;
  const char* hit = std::strstr(text, key);
  if (hit == nullptr) return nullptr;
  for (const char* c = text; c < hit; ++c) {
    if (is_comment(*c)) return nullptr;
  }
  return hit + std::strlen(key);
}

std::int32_t leading_int(const char* text) {
  if (text == nullptr) return 0;
  while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  long long magnitude = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    magnitude = magnitude * 10 + (*text - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) magnitude = static_cast<long long>(INT_MAX) + 1;
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value > INT_MAX) return INT_MAX;
  return static_cast<std::int32_t>(value);
}

std::int32_t window_reference(const char* value) {
  if (value == nullptr || value[0] == '\0') return -1;
  for (const NamedNumber& w : kPanelWindows) {
    if (starts_with(value, w.name)) return w.number;
  }
  return leading_int(value);
}

std::uint32_t help_reference(const char* value) {
  if (value == nullptr || value[0] == '\0') return 0;
  for (const NamedNumber& h : kHelpIds) {
    if (starts_with(value, h.name)) return static_cast<std::uint32_t>(h.number);
  }
  const std::int32_t id = leading_int(value);
  return id < kLowestHostHelpId ? 0 : static_cast<std::uint32_t>(id);
}

}  // namespace orv::controls
