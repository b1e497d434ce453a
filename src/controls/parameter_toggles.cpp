// Not built yet: the registry entry exists with an empty element list and no
// callback, so the host can already place the gauge.
#include "frame/registry.h"

namespace orv::gauges {
namespace {
abi::ElementHeader* no_elements[] = {nullptr};
}  // namespace
}  // namespace orv::gauges

ORV_DEFINE_GAUGE(invisible_toggle, no_elements, nullptr, nullptr)
ORV_DEFINE_GAUGE(close_subpanel, no_elements, nullptr, nullptr)
ORV_DEFINE_GAUGE(radios_toggle, no_elements, nullptr, nullptr)
ORV_DEFINE_GAUGE(landing_view_toggle, no_elements, nullptr, nullptr)
ORV_DEFINE_GAUGE(gps_toggle, no_elements, nullptr, nullptr)
ORV_DEFINE_GAUGE(throttle_toggle, no_elements, nullptr, nullptr)
ORV_DEFINE_GAUGE(compass_toggle, no_elements, nullptr, nullptr)
ORV_DEFINE_GAUGE(landing_view_toggle_from_main, no_elements, nullptr, nullptr)
ORV_DEFINE_GAUGE(main_view_toggle_from_landing, no_elements, nullptr, nullptr)
