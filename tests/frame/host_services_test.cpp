#include "frame/host_services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/module_records.h"

namespace {

using namespace orv::abi;

// A table whose every slot records its call, tagged with the table it
// belongs to, so a test can tell which table a call went through.
struct Recorder {
  std::vector<std::string> calls;
};
Recorder* g_rec = nullptr;
int g_table_tag = 0;

i32 ORV_CALL toggle(u32 w) {
  g_rec->calls.push_back("35:" + std::to_string(g_table_tag) + ":" + std::to_string(w));
  return 7;
}
u32 ORV_CALL key(u32 e, u32 v) {
  g_rec->calls.push_back("36:" + std::to_string(g_table_tag) + ":" + std::to_string(e) + "," +
                         std::to_string(v));
  return 0;
}
void ORV_CALL named(TokenVar* r, const char* n) {
  g_rec->calls.push_back(std::string("39:") + n);
  static char block[4];
  r->host_ptr = block;
}
void ORV_CALL lookup(TokenVar* r) {
  g_rec->calls.push_back("40:" + std::to_string(r->id));
  r->value.n = r->id * 0.5;
}
i32 ORV_CALL calc(const char* code, f64* num, i32* inum, const char** text) {
  g_rec->calls.push_back(std::string("69:") + code + (inum == nullptr ? ":null" : ":set"));
  if (num) *num = 4.5;
  if (text) *text = "N123";
  return 1;
}
f64 ORV_CALL simvar(u32 var, u32 unit, i32 index) {
  g_rec->calls.push_back("75:" + std::to_string(var) + "," + std::to_string(unit) + "," +
                         std::to_string(index));
  return 12.25;
}
void* ORV_CALL iface(const char* name) {
  g_rec->calls.push_back(std::string("77:") + name);
  return &g_table_tag;
}

class HostServices : public ::testing::Test {
 protected:
  void SetUp() override {
    g_rec = &rec;
    for (void** t : {a, b}) {
      t[35] = reinterpret_cast<void*>(&toggle);
      t[36] = reinterpret_cast<void*>(&key);
      t[39] = reinterpret_cast<void*>(&named);
      t[40] = reinterpret_cast<void*>(&lookup);
      t[69] = reinterpret_cast<void*>(&calc);
      t[75] = reinterpret_cast<void*>(&simvar);
      t[77] = reinterpret_cast<void*>(&iface);
    }
    ImportTable.services = a;
  }
  void TearDown() override {
    ImportTable.services = nullptr;
    g_rec = nullptr;
  }
  Recorder rec;
  void* a[80] = {};
  void* b[80] = {};
};

TEST_F(HostServices, EachOperationCallsItsSlotWithItsArguments) {
  orv::close_own_panel_window(0);
  orv::send_key_event(66507, 44);
  TokenVar gps{};
  orv::lookup_named_data(&gps, "FS2002 GPS DATA");
  EXPECT_NE(gps.host_ptr, nullptr);
  EXPECT_DOUBLE_EQ(orv::read_token_f64(80), 40.0);
  f64 n = 0;
  const char* t = nullptr;
  orv::evaluate_expression("(A:ATC ID,string)", &n, &t);
  EXPECT_DOUBLE_EQ(n, 4.5);
  EXPECT_STREQ(t, "N123");
  EXPECT_DOUBLE_EQ(orv::read_simulation_variable(3, 9, 0), 12.25);
  EXPECT_EQ(orv::get_host_interface("ITrafficInfo"), &g_table_tag);
  EXPECT_EQ(rec.calls,
            (std::vector<std::string>{"35:0:0", "36:0:66507,44", "39:FS2002 GPS DATA", "40:80",
                                      "69:(A:ATC ID,string):null", "75:3,9,0", "77:ITrafficInfo"}));
}

TEST_F(HostServices, TablePointerIsReadAfreshAtEveryCall) {
  orv::send_key_event(1, 0);
  ImportTable.services = b;
  g_table_tag = 1;
  orv::send_key_event(2, 0);
  g_table_tag = 0;
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"36:0:1,0", "36:1:2,0"}));
}

TEST_F(HostServices, NoTableMeansNoCallAndNeutralResults) {
  ImportTable.services = nullptr;
  orv::send_key_event(1, 0);
  orv::close_own_panel_window(0);
  EXPECT_DOUBLE_EQ(orv::read_token_f64(5), 0.0);
  EXPECT_EQ(orv::get_host_interface("ITrafficInfo"), nullptr);
  EXPECT_DOUBLE_EQ(orv::read_simulation_variable(1, 1, 0), 0.0);
  orv::read_token_variable(nullptr);
  EXPECT_TRUE(rec.calls.empty());
}

}  // namespace
