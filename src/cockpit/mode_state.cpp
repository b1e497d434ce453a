#include "cockpit/mode_state.h"

namespace orv::cockpit {

std::int32_t left_mfd_page = 0;
std::int32_t right_mfd_page = 0;
std::int32_t hud_on = 0;
std::uint32_t hud_colour = kHudLightGreen;
std::int32_t nav_source_nav1 = 1;

std::int32_t nav1_on = 0;
std::int32_t nav2_on = 0;
std::int32_t com1_on = 0;
std::int32_t com2_on = 0;
std::int32_t adf_on = 0;
std::int32_t transponder_on = 0;

double fuel_tank_capacity_kg[2] = {0.0, 0.0};

}  // namespace orv::cockpit
