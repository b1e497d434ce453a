#include "host/aircraft/event_names.h"

#include <algorithm>

#include "frame/panel_windows.h"

namespace orv::host {

namespace {

// Sorted by number (event_name searches it).
constexpr EventInfo kEventTable[] = {
    {65564, "ATC_WINDOW_TOGGLE"},
    {65636, "COM1_WHOLE_DEC"},
    {65637, "COM1_WHOLE_INC"},
    {65638, "COM1_FRACTION_DEC"},
    {65639, "COM1_FRACTION_INC"},
    {65640, "NAV1_WHOLE_DEC"},
    {65641, "NAV1_WHOLE_INC"},
    {65642, "NAV1_FRACTION_DEC"},
    {65643, "NAV1_FRACTION_INC"},
    {65644, "NAV2_WHOLE_DEC"},
    {65645, "NAV2_WHOLE_INC"},
    {65646, "NAV2_FRACTION_DEC"},
    {65647, "NAV2_FRACTION_INC"},
    {65648, "ADF_100_INC"},
    {65651, "TRANSPONDER_1000_INC"},
    {65652, "TRANSPONDER_100_INC"},
    {65653, "TRANSPONDER_10_INC"},
    {65654, "TRANSPONDER_1_INC"},
    {65666, "ADF_100_DEC"},
    {65716, "NAV1_COURSE_SET"},
    {65717, "NAV2_COURSE_SET"},
    {65734, "VIEW_NEXT"},
    {65735, "VIEW_PREVIOUS"},
    {65832, "COM_NAV_START"},
    {65833, "NAV2_START"},
    {65836, "ADF_START"},
    {65842, "NAV1_AUDIO_TOGGLE"},
    {65843, "NAV2_AUDIO_TOGGLE"},
    {65846, "ADF_AUDIO_TOGGLE"},
    {65875, "VIEW_RESET"},
    {65876, "KNEEBOARD_TOGGLE"},
    {65883, "ALTIMETER_SETTING_INC"},
    {65884, "ALTIMETER_SETTING_DEC"},
    {65919, "START_LEVEL_1_SET"},
    {65920, "START_LEVEL_2_SET"},
    {66042, "HEADING_BUG_SET"},
    {66293, "RADIO_MASTER_TOGGLE"},
    {66372, "COM1_SWAP"},
    {66375, "NAV_GPS_SOURCE_TOGGLE"},
    {66376, "AVIONICS_A_TOGGLE"},
    {66378, "AVIONICS_B_TOGGLE"},
    {66432, "MAP_WINDOW_TOGGLE"},
    {66436, "COM2_WHOLE_DEC"},
    {66437, "COM2_WHOLE_INC"},
    {66438, "COM2_FRACTION_DEC"},
    {66440, "COM2_FRACTION_INC"},
    {66444, "COM2_SWAP"},
    {66448, "NAV1_SWAP"},
    {66452, "NAV2_SWAP"},
    {66455, "TRANSPONDER_1000_DEC"},
    {66456, "TRANSPONDER_100_DEC"},
    {66457, "TRANSPONDER_10_DEC"},
    {66458, "TRANSPONDER_1_DEC"},
    {66461, "ADF_TENTH_DEC"},
    {66462, "ADF_TENTH_INC"},
    {66477, "MARKER_AUDIO_TOGGLE"},
    {abi::windows::kEventToggle, "PANEL_WINDOW_TOGGLE"},
    {abi::windows::kEventOpen, "PANEL_WINDOW_OPEN"},
    {abi::windows::kEventClose, "PANEL_WINDOW_CLOSE"},
    {66542, "ADF_1_INC"},
    {66543, "ADF_1_DEC"},
};

}  // namespace

const char* event_name(std::uint32_t id) {
  const auto* end = std::end(kEventTable);
  const auto* it = std::lower_bound(std::begin(kEventTable), end, id,
                                    [](const EventInfo& e, std::uint32_t v) { return e.id < v; });
  return it != end && it->id == id ? it->name : nullptr;
}

std::span<const EventInfo> event_table() { return kEventTable; }

}  // namespace orv::host
