// What the substitute host keeps of each element's last evaluation, for the
// trace and the renderer: the values its channels' callbacks returned (or the
// token values where a channel has no callback).
//
// Channel order by element kind: needle {value}; text {value}; slider {x, y};
// icon {image index}; moving image {x, y}; sprite {x, y, angle}; static
// image none.
#pragma once

#include <functional>

#include "frame/gauge_abi.h"

namespace orv::host {

struct ElementValues {
  double channel[3] = {0.0, 0.0, 0.0};
  bool evaluated = false;  // false until the element's first evaluation
};

// Looks up the values of an element of a gauge instance (the instance's own
// copy of the element record).
using ElementValueLookup = std::function<ElementValues(const abi::ElementHeader*)>;

}  // namespace orv::host
