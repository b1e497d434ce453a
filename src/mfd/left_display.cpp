// Not built yet: the registry entry exists with an empty element list and no
// callback, so the host can already place the gauge.
#include "frame/registry.h"

namespace orv::gauges {
namespace {
abi::ElementHeader* no_elements[] = {nullptr};
}  // namespace
}  // namespace orv::gauges

ORV_DEFINE_GAUGE(multi_function_display_left, no_elements, nullptr, nullptr)
