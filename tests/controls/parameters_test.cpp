#include "controls/parameters.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using namespace orv::controls;

TEST(KeyedSearch, FindsTheValueUnlessACommentCharacterComesFirst) {
  struct Case {
    const char* text;
    const char* key;
    const char* value;  // null: absent
  };
  const Case cases[] = {
      {"o50 # o75", "o", "50 # o75"},
      {"#o50", "o", nullptr},
      {"/o50", "o", nullptr},
      {"x'o50", "o", nullptr},
      {"t225 o50", "o", "50"},
      {"o", "o", ""},
      {"O50", "o", nullptr},
      {"", "o", nullptr},
      {nullptr, "o", nullptr},
      {"o50", "", nullptr},
      {"tF_ABCD r255", "t", "F_ABCD r255"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(null)");
    const char* found = find_key(c.text, c.key);
    if (c.value == nullptr) {
      EXPECT_EQ(found, nullptr);
    } else {
      ASSERT_NE(found, nullptr);
      EXPECT_STREQ(found, c.value);
    }
  }
}

TEST(KeyedSearch, RepeatedSearchVisitsEveryKeyUpToTheFirstComment) {
  struct Case {
    const char* text;
    std::vector<std::string> values;
  };
  const Case cases[] = {
      {"o50 # o75", {"50 # o75"}},
      {"o1 o2 o3", {"1 o2 o3", "2 o3", "3"}},
      {"o1 c5 o2/o3", {"1 c5 o2/o3", "2/o3"}},
      {"o1'o2", {"1'o2"}},
      {"#o1 o2", {}},
      {"oo", {"o", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::string> seen;
    for_each_key(c.text, "o", [&](const char* v) { seen.emplace_back(v); });
    EXPECT_EQ(seen, c.values);
  }
}

TEST(WindowReference, NamesGiveTheirNumbersOtherTextReadsAsAnInteger) {
  struct Case {
    const char* value;
    int window;
  };
  const Case cases[] = {
      {"MAIN_PANEL", 0},
      {"THROTTLE_PANEL", 10},
      {"RADIO_STACK_PANEL", 50},
      {"COMPASS_PANEL", 75},
      {"MINI_CONTROLS_PANEL", 100},
      {"ANNUNCIATOR_PANEL", 125},
      {"ANNUNCIATOR2_PANEL", 150},
      {"IFR_MAIN_PANEL", 175},
      {"COLLECTIVE_PANEL", 200},
      {"GPS_PANEL", 225},
      {"OVERHEAD_PANEL", 250},
      {"GPS_PANEL o50", 225},
      {"FOO", 0},
      {"50", 50},
      {" 75x", 75},
      {"-3", -3},
      {"", -1},
      {"99999999999999", INT_MAX},
      {"-99999999999999", INT_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(window_reference(c.value), c.window);
  }
  EXPECT_EQ(window_reference(find_key("oGPS_PANEL", "o")), 225);
  EXPECT_EQ(window_reference(find_key("oFOO", "o")), 0);
  EXPECT_EQ(window_reference(find_key("c50 o", "o")), -1);
}

TEST(HelpReference, NamesGiveTheirIdsNumbersBelowTheHostRangeGiveNone) {
  struct Case {
    const char* value;
    unsigned id;
  };
  const Case cases[] = {
      {"TOGGLE_RADIO_WINDOW", 43910},
      {"TOGGLE_GPS_WINDOW", 43911},
      {"TOGGLE_THROTTLE_WINDOW", 43912},
      {"TOGGLE_COMPASS_WINDOW", 43913},
      {"TOGGLE_FUEL_WINDOW", 43914},
      {"TOGGLE_COLLECTIVE_WINDOW", 43915},
      {"40959", 0},
      {"40960", 40960},
      {"43923 o5", 43923},
      {"-43911", 0},
      {"TOGGLE", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(help_reference(c.value), c.id);
  }
  EXPECT_EQ(help_reference(find_key("hTOGGLE_GPS_WINDOW", "h")), 43911u);
}

}  // namespace
