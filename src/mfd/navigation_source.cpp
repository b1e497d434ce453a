#include "mfd/navigation_source.h"

#include "frame/host_services.h"

namespace orv::mfd {

abi::f64 gps_waypoint_flag = 0.0;

abi::f64 read_nav_gps_source() { return read_token_f64(kTokenNavGpsSource); }

bool gps_waypoint_active() {
  evaluate_expression("(A:GPS IS ACTIVE WAY POINT,number)", &gps_waypoint_flag, nullptr);
  return gps_waypoint_flag == 1.0;
}

}  // namespace orv::mfd
