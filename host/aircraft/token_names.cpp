#include "host/aircraft/token_names.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "host/aircraft/simulator.h"

namespace orv::host {

namespace {

// Units and signs as the instruments take them; the host serves every value
// in these terms, and the scenarios are written in them.
constexpr TokenInfo kTokenTable[] = {
    {1, "TICK18", "ticks", "counts up, 18 per simulated second"},
    {3, "CLOCK_HOUR", "hours", "local time"},
    {4, "CLOCK_MINUTE", "minutes", "local time"},
    {5, "CLOCK_SECOND", "seconds", "local time"},
    {16, "ADF_FREQUENCY", "BCD integer"},
    {18, "ADF_FREQUENCY_EXTENDED", "BCD integer"},
    {19, "ADF_IDENT", "text"},
    {23, "COM1_ACTIVE", "BCD integer"},
    {24, "NAV1_ACTIVE", "BCD integer"},
    {27, "NAV2_ACTIVE", "BCD integer"},
    {31, "NAV1_DME", "nautical miles"},
    {35, "NAV2_DME", "nautical miles"},
    {38, "TRANSPONDER", "BCD integer"},
    {39, "ADF_BEARING", "degrees", "clockwise from the nose"},
    {40, "NAV1_LATERAL_DEVIATION", "-127 to 127", "positive: the course lies right of the aircraft"},
    {41, "NAV1_VERTICAL_DEVIATION", "-127 to 127", "negative: the glide path lies above the aircraft"},
    {43, "NAV1_TO_FROM", "integer", "1 TO, 2 FROM, else none"},
    {44, "NAV1_VERTICAL_VALID", "flag", "> 0 valid"},
    {45, "NAV1_COURSE", "degrees", "0 to 360, clockwise from north"},
    {46, "NAV1_FLAGS", "integer flag word"},
    {47, "NAV1_IDENT", "text"},
    {49, "NAV1_LATERAL_VALID", "flag", "> 0 valid"},
    {50, "NAV2_LATERAL_DEVIATION", "-127 to 127", "positive: the course lies right of the aircraft"},
    {52, "NAV2_TO_FROM", "integer", "1 TO, 2 FROM, else none"},
    {53, "NAV2_VERTICAL_VALID", "flag", "> 0 valid"},
    {54, "NAV2_COURSE", "degrees", "0 to 360, clockwise from north"},
    {55, "NAV2_FLAGS", "integer flag word"},
    {56, "NAV2_IDENT", "text"},
    {58, "NAV2_LATERAL_VALID", "flag", "> 0 valid"},
    {59, "NAV2_BEARING", "degrees", "clockwise from the nose"},
    {60, "ON_GROUND", "", "1 on the ground"},
    {61, "AIRSPEED", "knots"},
    {64, "MACH", "Mach x 20480 (3.2 / 65536 Mach each)"},
    {65, "VERTICAL_SPEED", "metres per second x 256", "positive climbing"},
    {74, "ALTITUDE", "feet"},
    {75, "KOHLSMAN_SETTING_MB", "millibars"},
    {78, "PITCH", "degrees", "negative nose up"},
    {80, "BANK", "degrees", "negative right wing down (right bank)"},
    {84, "HEADING", "degrees", "0 to 360, clockwise from north"},
    {291, "FUEL_LEVEL_LEFT", "", "8388610 full"},
    {292, "FUEL_CAPACITY_LEFT", "gallons"},
    {297, "FUEL_LEVEL_RIGHT", "", "8388610 full"},
    {298, "FUEL_CAPACITY_RIGHT", "gallons"},
    {323, "BRAKE_POSITION", "", "0 to 32767"},
    {327, "SPEED_BRAKE_POSITION", "", "0 in to 16383 out"},
    {329, "FLAPS_POSITION", "", "0 up to 16383 down"},
    {332, "GEAR_POSITION_CENTRE", "0 to 16383", "0 up, 16383 down"},
    {333, "GEAR_POSITION_LEFT", "0 to 16383", "0 up, 16383 down"},
    {334, "GEAR_POSITION_RIGHT", "0 to 16383", "0 up, 16383 down"},
    {567, "EGT_LEFT", "degrees Rankine"},
    {577, "EGT_RIGHT", "degrees Rankine"},
    {604, "CLOCK_NOW"},
    {617, "COM1_STANDBY", "BCD integer"},
    {620, "AVIONICS_SWITCH_A", "flag", "0 off, 1 on"},
    {624, "N1_LEFT", "percent"},
    {625, "N2_LEFT", "percent"},
    {632, "AVIONICS_SWITCH_B", "flag", "0 off, 1 on"},
    {638, "FUEL_FLOW_LEFT", "pounds per hour"},
    {643, "N1_RIGHT", "percent"},
    {644, "N2_RIGHT", "percent"},
    {657, "FUEL_FLOW_RIGHT", "pounds per hour"},
    {732, "HYDRAULIC_PRESSURE_1", "pounds per square foot"},
    {734, "HYDRAULIC_PRESSURE_2", "pounds per square foot"},
    {740, "RADIO_MASTER", "flag", "0 off"},
    {753, "PANEL_LIGHTING", "supply", "the selectors light above 20"},
    {755, "NAV_SUPPLY", "supply", "the navigation displays work from 20"},
    {789, "ANGLE_OF_ATTACK", "radians", "positive nose above the flight path"},
    {832, "GROUND_SPEED", "metres per second"},
    {834, "TRACK", "radians", "clockwise from north"},
    {835, "GPS_DISTANCE", "metres"},
    {839, "NEXT_WAYPOINT", "text"},
    {848, "NAV_GPS_SWITCH", "integer", "0 NAV, > 0 GPS"},
    {849, "COURSE_DEVIATION", "dots", "positive moves the bar left"},
    {850, "GLIDESLOPE_DEVIATION"},
    {852, "GLIDESLOPE_VALID", "flag", "> 0 valid"},
    {853, "TO_FROM", "", "1 TO, -1 FROM, 0 none"},
    {854, "COURSE", "degrees", "0 to 360, clockwise from north"},
    {855, "HEADING_BUG", "degrees", "0 to 360, clockwise from north"},
    {869, "HOOK_POSITION", "", "0 up to 1 down"},
    {870, "COM2_ACTIVE", "BCD integer"},
    {871, "COM2_STANDBY", "BCD integer"},
    {872, "NAV1_STANDBY", "BCD integer"},
    {873, "NAV2_STANDBY", "BCD integer"},
    {877, "NAV1_AUDIO", "flag"},
    {878, "NAV2_AUDIO", "flag"},
    {880, "ADF_AUDIO", "flag"},
    {881, "MARKER_AUDIO", "flag"},
    {882, "NAV2_VERTICAL_DEVIATION", "-127 to 127", "negative: the glide path lies above the aircraft"},
    {9001, "ENGINE_MASTER_LEFT", "", "0 off, 1 on"},
    {9002, "ENGINE_MASTER_RIGHT", "", "0 off, 1 on"},
    {9003, "THROTTLE_LEFT", "percent", "90 full dry, 100 full afterburner"},
    {9004, "THROTTLE_RIGHT", "percent"},
    {9005, "GEAR_HANDLE", "", "0 up, 1 down"},
    {9006, "FLAPS_HANDLE", "", "detent 0 to 4"},
    {9007, "SPEED_BRAKE_HANDLE", "", "0 in, 1 out"},
    {9008, "HOOK_HANDLE", "", "0 up, 1 down"},
    {9009, "HYDRAULIC_FAILURE_1", "", "1 failed"},
    {9010, "HYDRAULIC_FAILURE_2", "", "1 failed"},
    {9011, "FUEL_BURN_FACTOR", "", "default 1"},
};

bool same_name(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != b[i]) return false;
  }
  return i == a.size() && b[i] == '\0';
}

}  // namespace

std::optional<std::uint32_t> token_by_name(const std::string& name) {
  std::uint32_t id = 0;
  auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), id);
  if (ec == std::errc() && end == name.data() + name.size() && !name.empty()) return id;
  for (const auto& t : kTokenTable) {
    if (same_name(name, t.name)) return t.id;
  }
  return std::nullopt;
}

std::span<const TokenInfo> token_table() { return kTokenTable; }

bool token_number_served(std::uint32_t id) {
  if (id < kTokenNumbers) return true;
  for (const auto& t : kTokenTable) {
    if (t.id == id) return true;
  }
  return false;
}

bool token_takes(std::uint32_t id, bool text) {
  for (const auto& t : kTokenTable) {
    if (t.id == id) return (std::strcmp(t.unit, "text") == 0) == text;
  }
  return true;
}

std::string token_table_markdown() {
  const SimState fresh;
  auto cell = [](const char* s) { return std::string(s && *s ? s : "-"); };
  std::string out = "| id | name | unit | sign | default |\n|---:|---|---|---|---|\n";
  for (const TokenInfo& t : kTokenTable) {
    std::string value = "0";
    if (const SimValue* v = fresh.token(t.id)) {
      char buffer[64];
      switch (v->kind) {
        case SimValue::Kind::number:
          std::snprintf(buffer, sizeof buffer, "%g", v->number);
          value = buffer;
          break;
        case SimValue::Kind::integer:
          std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(v->integer));
          value = buffer;
          break;
        case SimValue::Kind::text:
          value = "\"" + v->text + "\"";
          break;
      }
    }
    out += "| " + std::to_string(t.id) + " | `" + t.name + "` | " + cell(t.unit) + " | " + cell(t.sign) +
           " | " + value + " |\n";
  }
  return out;
}

const char* token_name(std::uint32_t id) {
  for (const auto& t : kTokenTable) {
    if (t.id == id) return t.name;
  }
  return nullptr;
}

}  // namespace orv::host
