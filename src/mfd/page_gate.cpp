#include "mfd/page_gate.h"

#include "frame/cockpit_numbers.h"
#include "frame/elements.h"

namespace orv::mfd {

abi::f64 page_icon(std::int32_t current, std::int32_t page) { return page_icon_if(current, page, true); }

abi::f64 page_icon_if(std::int32_t current, std::int32_t page, bool lit) {
  return (current == page && lit) ? 0.0 : numbers::kNoImage;
}

}  // namespace orv::mfd
