// The head-up display's frame: the glass behind the symbols and the fixed
// symbology (bank scale, speed and altitude boxes, boresight, deviation
// scales, heading index), drawn in the HUD's colour while it is on.
#include "hud/hud_symbols.h"

namespace orv::hud {

// Image 0 (dark glass) while the HUD is off, image 1 while it is on.
f64 hud_glass(IconElement*) { return cockpit::hud_on != 0 ? 1.0 : 0.0; }

f64 hud_fixed_symbology(IconElement*) { return hud_lit() ? static_cast<f64>(cockpit::hud_colour) : kNoImage; }

}  // namespace orv::hud
