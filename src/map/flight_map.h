// The flight map: a heading-up moving map of the GPS flight plan, shown over
// the left display's map page. Its state is module-wide, shared by every
// instance, zero at load.
#pragma once

#include <cstdint>

#include "frame/gauge_abi.h"

namespace orv::map {

// The host's GPS data block, asked for at every draw until the host gives it;
// never cleared.
extern const void* gps_block;

// The three range ring switches (0 off, 1 on): [0] the small ring, [1] the
// middle ring, [2] the large ring. Their buttons change nothing else.
extern std::int32_t ring_switch[3];

// Draws the map layer into the gauge's drawing surface (the first following
// element of its first element), as the gauge does before every draw.
// A paint that would draw what the surface already shows is skipped (the
// surface is then not marked for a redraw).
void draw_map_surface(abi::GaugeHeader* gauge);

// Forgets what every surface shows: at set-up, when a host hands out
// surfaces afresh (possibly at the addresses of earlier ones).
void forget_painted_surfaces();

// The readouts' element callbacks, in drawing order of their elements; tests
// find the elements by them.
abi::f64 ground_speed_text(abi::TextElement* e);
abi::f64 track_text(abi::TextElement* e);
abi::f64 next_waypoint_text(abi::TextElement* e);
abi::f64 distance_text(abi::TextElement* e);
abi::f64 airspeed_text(abi::TextElement* e);
abi::f64 heading_text(abi::TextElement* e);
abi::f64 altitude_text(abi::TextElement* e);

}  // namespace orv::map
