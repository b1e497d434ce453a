#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/module_records.h"
#include "support/fake_host.h"

namespace {

using namespace orv::abi;

struct Expected {
  const char* name;
  u32 size;
};

constexpr Expected kRegistry[] = {
    {"Engine_On", 30},
    {"Registration", 150},
    {"Kneeboard_Toggle", 19},
    {"ATC_Toggle", 19},
    {"Map_Toggle", 19},
    {"Invisible_Toggle", 19},
    {"Close_Subpanel", 19},
    {"Radios_Toggle", 19},
    {"Landing_View_Toggle", 19},
    {"GPS_Toggle", 19},
    {"Throttle_Toggle", 19},
    {"Compass_Toggle", 19},
    {"Landing_View_Toggle_from_Main", 19},
    {"Main_View_Toggle_from_Landing", 19},
    {"MFD1_Toggle", 50},
    {"MFD2_Toggle", 50},
    {"Attitude_Toggle", 50},
    {"Flight_Map_Toggle", 50},
    {"Radar_Toggle", 50},
    {"Flight_Map", 286},
    {"Head_Up_Display", 100},
    {"Attitude", 100},
    {"Multi_Function_Display_Left", 120},
    {"Multi_Function_Display_Right", 120},
    {"Radar", 120},
    {"Baro_Pressure", 30},
    {"Heading_Selector_Button", 30},
    {"Omni_Bearing_Selector", 30},
    {"NAV_GPS_Switch", 30},
    {"Screen_Selector_Main", 100},
    {"Screen_Selector_Landing", 100},
    {"ILS_TAC_Switch", 30},
};
static_assert(std::size(kRegistry) == 32);

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
  for (std::size_t i = 0; i < std::size(kRegistry); ++i) {
    SCOPED_TRACE(kRegistry[i].name);
    const GaugeHeader* g = Linkage.gauges[i];
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->version, 800u);
    EXPECT_STREQ(g->name, kRegistry[i].name);
    EXPECT_EQ(g->size_x_mm, kRegistry[i].size);
    EXPECT_NE(g->elements, nullptr);
    EXPECT_EQ(g->user_word, 0u);
    EXPECT_EQ(g->parameters, nullptr);
  }
  EXPECT_EQ(Linkage.gauges[32], nullptr);
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
