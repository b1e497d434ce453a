#include "host/scenario/scenario.h"

#include <gtest/gtest.h>

#include "host/load/host_error.h"

namespace orv::host {
namespace {

TEST(Scenario, KeyframesInterpolateLinearlyAndHoldOutsideTheirRange) {
  const Scenario s = parse_scenario(R"J({
    "keyframes": [
      {"t": 1, "tokens": {"HEADING": 90, "NAV1_FLAGS": {"int": 1}}},
      {"t": 3, "tokens": {"HEADING": 100, "NAV1_FLAGS": {"int": 128}}},
      {"t": 2, "tokens": {"84": 94}}
    ]})J",
                                    "s.json", "");
  SimState state;
  const std::pair<double, double> heading[] = {{0.0, 90.0}, {1.0, 90.0},  {1.5, 92.0}, {2.0, 94.0},
                                               {2.5, 97.0}, {3.0, 100.0}, {9.0, 100.0}};
  for (const auto& [t, expected] : heading) {
    s.apply_at(state, t);
    EXPECT_DOUBLE_EQ(state.number(84), expected) << "t=" << t;
  }
  s.apply_at(state, 2.9);  // integers hold until the next keyframe
  EXPECT_EQ(state.token(46)->integer, 1u);
  s.apply_at(state, 3.0);
  EXPECT_EQ(state.token(46)->integer, 128u);
}

TEST(Scenario, ReadsTokensByNameOrNumberExpressionsClicksAndPanel) {
  const Scenario s = parse_scenario(R"J({
    "panel": "p/panel.cfg", "frames": 10, "start_time": "14:30",
    "tokens": {"AIRSPEED": 250, "617": {"int": "0x1835"}, "nav1_ident": {"text": "ORV"}},
    "expressions": {"(A:ATC ID,string)": "N123", "(A:GPS IS ACTIVE WAY POINT,number)": 1},
    "clicks": [{"t": 2, "instance": 3, "x": 1, "y": 2, "button": "right"},
               {"t": 1, "gauge": "Radar", "x": 5, "y": 6}],
    "tooltips": [{"t": 0.5, "gauge": "Baro_Pressure", "x": 5, "y": 5}]
})J",
                                    "dir/s.json", "dir");
  EXPECT_EQ(s.panel, "dir/p/panel.cfg");
  EXPECT_EQ(s.frames, 10);
  SimState state;
  s.apply_initial(state);
  EXPECT_EQ(state.number(61), 250.0);
  EXPECT_EQ(state.token(617)->integer, 0x1835u);
  EXPECT_EQ(state.token(47)->text, "ORV");
  EXPECT_EQ(state.start_time(), 14.5 * 3600.0);
  const char* text = nullptr;
  state.evaluate("(A:ATC ID,string)", nullptr, &text);
  EXPECT_STREQ(text, "N123");
  ASSERT_EQ(s.clicks.size(), 2u);
  EXPECT_EQ(s.clicks[0].target.gauge, "Radar");  // sorted by time
  EXPECT_EQ(s.clicks[1].target.instance, 3u);
  EXPECT_EQ(s.clicks[1].button, MouseButton::right);
  ASSERT_EQ(s.tooltips.size(), 1u);
}

TEST(Scenario, ErrorsNameTheFileAndTheProblem) {
  const std::pair<const char*, const char*> cases[] = {
      {"{", "bad.json:1: not valid JSON"},
      {R"J({"keyframes": [{"t": 0}, {"t": -1e999}]})J", "\"keyframes[1].t\": '-1e999' is out of range"},
      {R"J({"clicks": 5})J", "\"clicks\" must be an array"},
      {R"J({"clicks": [{"gauge": "G", "button": 1}]})J", "click 0: \"button\" must be a text"},
      {R"J({"frames": 1e10})J", "\"frames\" must be a count from 0 to 10000000"},
      {R"J({"keyframes": [{"t": 1e300, "tokens": {}}]})J", "keyframe 0: \"t\" must be a time"},
      {R"J({"tokens": {"84": {"int": 4294967296}}})J", "token 84: \"int\" needs an integer from"},
      {R"J({"traffic": {"own": {"engine": "on"}}})J", "traffic own: \"engine\" must be true or false"},
      {R"J({"tokens": {"NO_SUCH_TOKEN": 1}})J", "unknown token 'NO_SUCH_TOKEN'"},
      {R"J({"tokenz": {}})J", "unknown key \"tokenz\""},
      {R"J({"clicks": [{"t": 1}]})J", "click 0: needs \"gauge\""},
      {R"J({"start_time": "25:00"})J", "start_time"},
  };
  for (const auto& [json, reason] : cases) {
    try {
      parse_scenario(json, "bad.json", "");
      ADD_FAILURE() << json;
    } catch (const HostError& e) {
      EXPECT_EQ(e.kind(), ErrorKind::bad_scenario);
      EXPECT_EQ(std::string(e.what()).rfind("bad.json:", 0), 0u) << e.what();
      EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
    }
  }
}

TEST(Scenario, CommandLineValuesAreNumbersIntegersOrTexts) {
  EXPECT_EQ(parse_token_value("12.5"), SimValue::of_number(12.5));
  EXPECT_EQ(parse_token_value("0x1835"), SimValue::of_integer(0x1835));
  EXPECT_EQ(parse_token_value("i:6197"), SimValue::of_integer(6197));
  EXPECT_EQ(parse_token_value("s:ORV 1"), SimValue::of_text("ORV 1"));
  EXPECT_FALSE(parse_token_value("12x").has_value());
  EXPECT_FALSE(parse_token_value("0xZZ").has_value());
  EXPECT_FALSE(parse_token_value("").has_value());
}

}  // namespace
}  // namespace orv::host
