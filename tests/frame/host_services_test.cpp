// The module's host services go through the import table the host fills
// after loading: read afresh at every call, and without one no call is made
// and the results are neutral. (Which slot each service calls is what every
// run of the real module under the host exercises.)
#include "frame/host_services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/module_records.h"

namespace {

using namespace orv::abi;

std::vector<std::string> g_calls;

// The key event slot of table `Tag`.
template <int Tag>
u32 ORV_CALL key(u32 e, u32 v) {
  g_calls.push_back(std::to_string(Tag) + ":" + std::to_string(e) + "," + std::to_string(v));
  return 0;
}

TEST(HostServices, TheTableIsReadAfreshAtEveryCallAndNoTableMeansNoCall) {
  void* a[80] = {};
  void* b[80] = {};
  a[kSlotTriggerKeyEvent] = reinterpret_cast<void*>(&key<0>);
  b[kSlotTriggerKeyEvent] = reinterpret_cast<void*>(&key<1>);
  g_calls.clear();
  ImportTable.services = a;
  orv::send_key_event(1, 0);
  ImportTable.services = b;
  orv::send_key_event(2, 0);
  ImportTable.services = nullptr;
  orv::send_key_event(3, 0);
  orv::close_own_panel_window(0);
  EXPECT_DOUBLE_EQ(orv::read_token_f64(5), 0.0);
  EXPECT_EQ(orv::get_host_interface("ITrafficInfo"), nullptr);
  EXPECT_DOUBLE_EQ(orv::read_simulation_variable(1, 1, 0), 0.0);
  orv::read_token_variable(nullptr);
  TokenVar gps{};
  orv::lookup_named_data(&gps, "FS2002 GPS DATA");
  EXPECT_EQ(gps.host_ptr, nullptr);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"0:1,0", "1:2,0"}));
}

}  // namespace
