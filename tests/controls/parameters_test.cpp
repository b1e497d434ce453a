#include "controls/parameters.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using namespace orv::controls;

// The first value find_key gives, and every value for_each_key visits.
TEST(KeyedSearch, FindsEveryKeyUpToTheFirstCommentCharacter) {
  struct Case {
    const char* text;
    std::vector<std::string> values;
  };
  const Case cases[] = {
      {"o50 # o75", {"50 # o75"}},
      {"#o50", {}},
      {"/o50", {}},
      {"x'o50", {}},
      {"t225 o50", {"50"}},
      {"o", {""}},
      {"O50", {}},
      {"", {}},
      {"o1 o2 o3", {"1 o2 o3", "2 o3", "3"}},
      {"o1 c5 o2/o3", {"1 c5 o2/o3", "2/o3"}},
      {"o1'o2", {"1'o2"}},
      {"oo", {"o", ""}},
      {"#o1 o2", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::string> seen;
    for_each_key(c.text, "o", [&](const char* v) { seen.emplace_back(v); });
    EXPECT_EQ(seen, c.values);
    const char* found = find_key(c.text, "o");
    EXPECT_EQ(found ? std::string(found) : "(none)", c.values.empty() ? "(none)" : c.values[0]);
  }
  EXPECT_STREQ(find_key("tF_ABCD r255", "t"), "F_ABCD r255");
  EXPECT_EQ(find_key(nullptr, "o"), nullptr);
  EXPECT_EQ(find_key("o50", ""), nullptr);
}

// A name stands for its number up to the next blank (the numbers themselves
// show in the toggles' events); other text reads as an integer.
TEST(References, WindowAndHelpNamesGiveTheirNumbersOtherTextReadsAsAnInteger) {
  const std::pair<const char*, int> windows[] = {{"GPS_PANEL o50", 225},
                                                 {"FOO", 0},
                                                 {" 75x", 75},
                                                 {"-3", -3},
                                                 {"", -1},
                                                 {"99999999999999", INT_MAX},
                                                 {"-99999999999999", INT_MIN}};
  for (auto [value, window] : windows) EXPECT_EQ(window_reference(value), window) << value;
  EXPECT_EQ(window_reference(find_key("c50 o", "o")), -1);

  const std::pair<const char*, unsigned> helps[] = {{"TOGGLE_COLLECTIVE_WINDOW", 43915},
                                                    {"40959", 0},
                                                    {"40960", 40960},
                                                    {"43923 o5", 43923},
                                                    {"-43911", 0},
                                                    {"TOGGLE", 0},
                                                    {"", 0}};
  for (auto [value, id] : helps) EXPECT_EQ(help_reference(value), id) << value;
}

}  // namespace
