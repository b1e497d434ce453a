// The active flags of the two screen selectors: 1 while the selector's panel
// is lit (its supply above 20 at the last update), else 0. Each selector has
// its own; the page and HUD values they write are the shared cockpit values.
#pragma once

#include <cstdint>

namespace orv::controls {

extern std::int32_t main_selector_active;     // Screen_Selector_Main
extern std::int32_t landing_selector_active;  // Screen_Selector_Landing

}  // namespace orv::controls
