// Panel windows as the module and the host both number them: the key events
// that open and close a window (the event's value is the window number) and
// the overlay windows of the left display's radar and map pages. Part of the
// module's published interface, beside gauge_abi.h.
#pragma once

#include <cstdint>

namespace orv::abi::windows {

inline constexpr std::uint32_t kEventToggle = 66506;
inline constexpr std::uint32_t kEventOpen = 66507;
inline constexpr std::uint32_t kEventClose = 66508;

// The radar and map overlays, in the main and the landing view.
inline constexpr std::uint32_t kRadarMain = 44;
inline constexpr std::uint32_t kRadarLanding = 45;
inline constexpr std::uint32_t kMapMain = 46;
inline constexpr std::uint32_t kMapLanding = 47;

static_assert(kEventOpen == kEventToggle + 1 && kEventClose == kEventToggle + 2);

}  // namespace orv::abi::windows
