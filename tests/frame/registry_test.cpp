#include <gtest/gtest.h>

#include <vector>

#include "frame/module_records.h"
#include "support/fake_host.h"

namespace {

using namespace orv::abi;

TEST(Records, ElementsNameTheirOwnGauge) {
  // Every element reachable from a gauge points back at that gauge's header.
  EXPECT_EQ(Linkage.gauges[kGaugeCount], nullptr);
  for (int i = 0; i < kGaugeCount; ++i) {
    GaugeHeader* g = Linkage.gauges[i];
    ASSERT_NE(g, nullptr);
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
