#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "frame/module_records.h"
#include "support/fake_host.h"

namespace {

using namespace orv::abi;

std::vector<std::string> split(const std::string& words) {
  std::istringstream in(words);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The names panels place the gauges by, in registry order.
const std::vector<std::string> kNames = split(
    "Engine_On Registration Kneeboard_Toggle ATC_Toggle Map_Toggle Invisible_Toggle Close_Subpanel "
    "Radios_Toggle Landing_View_Toggle GPS_Toggle Throttle_Toggle Compass_Toggle "
    "Landing_View_Toggle_from_Main Main_View_Toggle_from_Landing MFD1_Toggle MFD2_Toggle Attitude_Toggle "
    "Flight_Map_Toggle Radar_Toggle Flight_Map Head_Up_Display Attitude Multi_Function_Display_Left "
    "Multi_Function_Display_Right Radar Baro_Pressure Heading_Selector_Button Omni_Bearing_Selector "
    "NAV_GPS_Switch Screen_Selector_Main Screen_Selector_Landing ILS_TAC_Switch");

TEST(Records, ImportTableAndLinkageCarryTheirFixedValues) {
  EXPECT_EQ(ImportTable.id, 0x0Fu);
  EXPECT_EQ(ImportTable.end_id, 0u);
  EXPECT_EQ(ImportTable.end_ptr, nullptr);
  EXPECT_EQ(Linkage.module_id, 0x13u);
  EXPECT_EQ(Linkage.flags, 0u);
  EXPECT_EQ(Linkage.priority, 0u);
  EXPECT_EQ(Linkage.version, 0x900u);
  ASSERT_NE(Linkage.init, nullptr);
  ASSERT_NE(Linkage.deinit, nullptr);
  Linkage.init();
  Linkage.deinit();
}

TEST(Records, RegistryListsThe32GaugesInOrderThenNull) {
  ASSERT_EQ(kNames.size(), 32u);
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    SCOPED_TRACE(kNames[i]);
    const GaugeHeader* g = Linkage.gauges[i];
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->version, 800u);
    EXPECT_EQ(g->name, kNames[i]);
    EXPECT_GT(g->size_x_mm, 0u);
    EXPECT_NE(g->elements, nullptr);
    EXPECT_EQ(g->user_word, 0u);
    EXPECT_EQ(g->parameters, nullptr);
  }
  EXPECT_EQ(Linkage.gauges[32], nullptr);
  EXPECT_EQ(Linkage.gauges[0]->size_x_mm, 30u);
  EXPECT_EQ(Linkage.gauges[19]->size_x_mm, 286u);
  EXPECT_EQ(Linkage.gauges[20]->size_x_mm, 100u);
}

TEST(Records, ElementsNameTheirOwnGauge) {
  // Every element reachable from a gauge points back at that gauge's header.
  for (int i = 0; i < kGaugeCount; ++i) {
    GaugeHeader* g = Linkage.gauges[i];
    SCOPED_TRACE(g->name);
    int visited = 0;
    std::vector<ElementHeader**> lists{g->elements};
    while (!lists.empty() && visited < 10000) {
      ElementHeader** list = lists.back();
      lists.pop_back();
      for (; list != nullptr && *list != nullptr; ++list, ++visited) {
        EXPECT_EQ((*list)->gauge, g);
        EXPECT_LE((*list)->kind, 6u);
        if ((*list)->next != nullptr) lists.push_back((*list)->next);
      }
    }
  }
}

TEST(Records, EveryGaugeCallbackIgnoresUnknownServices) {
  orv::test::FakeHost host;
  for (int i = 0; i < kGaugeCount; ++i) {
    GaugeHeader* g = Linkage.gauges[i];
    if (g->callback == nullptr) continue;
    SCOPED_TRACE(g->name);
    for (i32 service : {0, 1, 4, 5, 7, 8, 9, 11, 13, 16, 99, -1}) g->callback(g, service, 0);
  }
  EXPECT_TRUE(host.events.empty());
  EXPECT_TRUE(host.window_closes.empty());
  EXPECT_TRUE(host.token_reads.empty());
}

}  // namespace
