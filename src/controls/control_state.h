// Module-wide values owned by the panel controls (one copy per loaded module,
// shared by every instance). The cockpit mode values they also write live in
// cockpit/mode_state.h.
#pragma once

#include <cstdint>

namespace orv::controls {

// Heading bug in whole degrees, as the heading knob last set or read it.
extern std::int32_t heading_bug_deg;

// Selected course in whole degrees of the NAV receiver that nav_source_nav1
// picks, as the course knob last read or set it.
extern std::int32_t obs_course_deg;

// The host's text of the last "(A:ATC ID,string)" evaluation (the host owns
// it); null until the registration plate's first update.
extern const char* atc_id_text;

}  // namespace orv::controls
