#include "host/aircraft/simulator.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

#include "host/aircraft/token_names.h"

namespace orv::host {
namespace {

TEST(SimState, KeyEventsChangeTheTokenTheModuleReadsBack) {
  const struct {
    std::uint32_t event, value, token;
    double before, after;
  } cases[] = {
      {66375, 0, 848, 0.0, 1.0},                                      // NAV/GPS to GPS
      {66293, 0, 740, 1.0, 0.0},                                      // radio master off
      {66042, 275, 855, 90.0, 275.0},                                 // heading bug
      {65716, 7, 854, 0.0, 7.0},      {65717, 359, 54, 10.0, 359.0},  // NAV 1 and 2 courses
      {66376, 0, 620, 0.0, 1.0},      {66378, 0, 632, 1.0, 0.0},      // toggles
      {65883, 0, 75, 1013.0, 1014.0}, {65884, 0, 75, 1013.0, 1012.0}, {65883, 0, 75, 1084.0, 1084.0},  // baro
      {65999, 7, 84, 42.0, 42.0},  // unknown: only logged
  };
  for (const auto& c : cases) {
    SimState state;
    state.set_number(c.token, c.before);
    state.send_key_event(c.event, c.value);
    EXPECT_EQ(state.number(c.token), c.after) << c.event;
    EXPECT_EQ(state.key_events(), (std::vector<KeyEventRecord>{{c.event, c.value, kSetupFrame}})) << c.event;
  }
}

TEST(SimState, WindowEventsToggleOpenAndCloseByNumberAndLogChanges) {
  SimState state;
  state.begin_frame(4);
  state.send_key_event(kEventWindowOpen, 50);
  state.send_key_event(kEventWindowOpen, 50);  // already open: no change
  state.send_key_event(kEventWindowToggle, 225);
  state.send_key_event(kEventWindowToggle, 50);
  state.send_key_event(kEventWindowClose, 7);  // never open: no change
  EXPECT_EQ(state.open_windows(), (std::set<std::uint32_t>{225}));
  EXPECT_EQ(state.window_changes(),
            (std::vector<WindowChange>{{50, true, 4}, {225, true, 4}, {50, false, 4}}));
  EXPECT_EQ(state.key_events().size(), 5u);
}

TEST(SimState, DeliversFloatsIntegersAndTextsInTheirUnionMember) {
  SimState state;
  state.set_number(84, 271.5);
  state.set_integer(617, 0x1835);
  state.set_text(19, "ORV");
  abi::TokenVar var{};
  var.id = 84;
  state.deliver(var);
  EXPECT_EQ(var.value.n, 271.5);
  var.id = 617;
  var.value.n = 123.0;
  state.deliver(var);
  EXPECT_EQ(var.value.d, 0x1835u);
  var.id = 19;
  state.deliver(var);
  EXPECT_STREQ(var.value.p, "ORV");
  var.id = 9999;  // never set: reads as 0
  state.deliver(var);
  EXPECT_EQ(var.value.n, 0.0);
}

// A token set again, even as another kind, is delivered as its latest
// value; ids past the direct table take the other path with the same rules.
TEST(SimState, DeliversTheLatestValueOfATokenSetAgain) {
  for (const std::uint32_t id : {84u, 70000u}) {
    SimState state;
    abi::TokenVar var{};
    var.id = id;
    state.set_text(id, "FIRST");
    state.set_text(id, "SECOND");
    state.deliver(var);
    EXPECT_STREQ(var.value.p, "SECOND") << id;
    state.set_integer(id, 0x2450);
    var.value.n = -1.0;  // every byte set: the integer must clear the upper ones
    state.deliver(var);
    EXPECT_EQ(var.value.n, abi::TokenValue{.d = 0x2450}.n) << id;
    state.set_number(id, -3.25);
    state.deliver(var);
    EXPECT_EQ(var.value.n, -3.25) << id;
    state.set_number(id, 7.5);  // a number over a number
    state.deliver(var);
    EXPECT_EQ(var.value.n, 7.5) << id;
    EXPECT_EQ(*state.token(id), SimValue::of_number(7.5)) << id;
  }
}

TEST(SimState, WindowsOnBothSidesOfTheFlagTableOpenAndClose) {
  SimState state;
  for (const std::uint32_t w : {0u, 255u, 256u, 70000u}) {
    EXPECT_FALSE(state.window_open(w)) << w;
    state.open_window(w);
    EXPECT_TRUE(state.window_open(w)) << w;
    state.toggle_window(w);
    EXPECT_FALSE(state.window_open(w)) << w;
  }
}

TEST(SimState, FrameDrivesTickCounterAndClockTokens) {
  SimState state;
  state.set_start_time(23 * 3600.0 + 59 * 60.0 + 59.0);
  state.begin_frame(36);  // two seconds later, past midnight
  EXPECT_EQ(state.number(1), 36.0);
  EXPECT_EQ(state.number(3), 0.0);
  EXPECT_EQ(state.number(4), 0.0);
  EXPECT_EQ(state.number(5), 1.0);
}

TEST(SimState, ExpressionsGiveScenarioValuesAndTheAltimeterSetting) {
  SimState state;
  const char* text = nullptr;
  double number = -1.0;
  EXPECT_TRUE(state.evaluate("(A:ATC ID,string)", nullptr, &text));
  EXPECT_STREQ(text, "F_ORVN");
  state.set_expression_number("(A:GPS IS ACTIVE WAY POINT,number)", 1.0);
  EXPECT_TRUE(state.evaluate("(A:GPS IS ACTIVE WAY POINT,number)", &number, nullptr));
  EXPECT_EQ(number, 1.0);
  state.send_key_event(65883, 0);
  EXPECT_TRUE(state.evaluate("(A:KOHLSMAN SETTING MB,millibar)", &number, nullptr));
  EXPECT_EQ(number, 1014.0);
  EXPECT_FALSE(state.evaluate("(A:NO SUCH THING,number)", &number, &text));
  EXPECT_EQ(number, 0.0);
  EXPECT_STREQ(text, "");
}

// The token page of the docs carries the host's own table; a token added to
// or changed in host/aircraft/token_names.cpp without the page fails here.
TEST(TokenTable, DocsCarryTheHostsOwnTable) {
  std::ifstream in(ORV_TOKEN_DOC);
  ASSERT_TRUE(in) << ORV_TOKEN_DOC;
  std::stringstream text;
  text << in.rdbuf();
  const std::string page = text.str(), begin = "<!-- BEGIN orvane-panel tokens -->\n",
                    end = "<!-- END orvane-panel tokens -->";
  const auto from = page.find(begin), to = page.find(end);
  ASSERT_TRUE(from != std::string::npos && to != std::string::npos && to > from);
  EXPECT_EQ(page.substr(from + begin.size(), to - from - begin.size()), token_table_markdown())
      << "regenerate with: bash scripts/update_token_doc.sh";
}

TEST(TokenTable, NamesAndNumbersAreUniqueAndFindEachOther) {
  std::set<std::uint32_t> ids;
  std::set<std::string> names;
  for (const auto& t : token_table()) {
    EXPECT_TRUE(ids.insert(t.id).second) << t.id;
    EXPECT_TRUE(names.insert(t.name).second) << t.name;
    EXPECT_EQ(token_by_name(t.name), t.id);
    std::string lower = t.name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(token_by_name(lower), t.id);
  }
}

}  // namespace
}  // namespace orv::host
