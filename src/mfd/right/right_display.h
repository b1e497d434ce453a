// The right multi-function display's module-wide values, visible to tests and
// tools.
//
// The display is one chain of elements in drawing order: the dark face,
// the navigation circle page, the forty wedges of the engine page's eight arc
// dials with the page's overlay and readouts, then the controls page. Every
// element but the face belongs to one page and decides on each call whether
// it shows, from `right_mfd_page`.
#pragma once

#include "frame/gauge_abi.h"

namespace orv::mfd {

// The engine page's dial values, one per dial, zero at load. The N1 and N2
// values are copied from their tokens by the dials' first two wedges; the EGT
// (degrees Celsius) and fuel-flow (kilograms per minute) values are converted
// and stored by their readouts. Every wedge reads its dial's value.
extern abi::f64 n1_left_pct, n1_right_pct;
extern abi::f64 egt_left_c, egt_right_c;
extern abi::f64 n2_left_pct, n2_right_pct;
extern abi::f64 ff_left_kg_min, ff_right_kg_min;

// The flap lever position in five steps (0 up .. 4 down), written by the
// controls page's flaps readout on every call, whatever the page.
extern abi::u32 flaps_state;

}  // namespace orv::mfd
