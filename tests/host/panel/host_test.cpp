// The host driving the probe module (tests/host/probe_module.cpp), whose
// callbacks report every call as a key event in the 900000 range.
#include "host/panel/host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "host/load/host_error.h"
#include "host/load/windows_text.h"
#include "host/record/trace.h"
#include "host/record/trace_format.h"
#include "host/scenario/scenario.h"

namespace orv::host {
namespace {

using namespace abi;

class ProbeHost : public testing::Test {
 protected:
  ProbeHost() : module_(Module::load(ORV_PROBE_MODULE)), host_(std::make_unique<Host>(*module_, state_)) {
    state_.open_window(0);
  }

  // The probe's events, without the other events.
  std::vector<std::uint32_t> probe_events(std::int64_t frame) const {
    std::vector<std::uint32_t> out;
    for (const auto& e : state_.key_events()) {
      if (e.frame == frame && e.event >= 900000) out.push_back(e.event);
    }
    return out;
  }
  std::vector<std::uint32_t> events_of(std::uint32_t event) const {
    std::vector<std::uint32_t> values;
    for (const auto& e : state_.key_events()) {
      if (e.event == event) values.push_back(e.value);
    }
    return values;
  }

  SimState state_;
  std::unique_ptr<Module> module_;
  std::unique_ptr<Host> host_;
};

TEST_F(ProbeHost, LifecycleRunsSetUpFramesAndShutdownInTheOrderTheModuleReliesOn) {
  host_->add_instance("Probe", 0, 0, 0);
  host_->add_instance("Probe", 0, 100, 0);
  host_->start();
  using Events = std::vector<std::uint32_t>;
  EXPECT_EQ(probe_events(kSetupFrame), (Events{900001, 900002, 900002, 900014, 900014, 900003, 900003}));
  host_->frame();
  EXPECT_EQ(probe_events(0), (Events{900006, 900006, 900100, 900101, 900102, 900103, 900010, 900100, 900101,
                                     900102, 900103, 900010}));
  host_->stop();
  EXPECT_EQ(probe_events(1), (std::vector<std::uint32_t>{900012, 900012, 900015, 900015, 900099}));
  EXPECT_TRUE(events_of(900098).empty()) << "service 2 carries the module handle";
}

TEST_F(ProbeHost, EachInstanceHasItsOwnHeaderElementsAndTexts) {
  const std::size_t a = host_->add_instance("Probe", 0, 0, 0, "hide");
  const std::size_t b = host_->add_instance("Probe", 0, 0, 0, "");
  state_.set_number(84, 45.0);
  host_->start();
  host_->frame();
  EXPECT_EQ(events_of(900002), (std::vector<std::uint32_t>{1, 1})) << "user word per instance";
  GaugeInstance& ga = host_->instance(a);
  GaugeInstance& gb = host_->instance(b);
  ASSERT_EQ(ga.elements().size(), 5u);
  for (std::size_t i = 0; i < ga.elements().size(); ++i) {
    EXPECT_NE(ga.elements()[i].element, gb.elements()[i].element);
    EXPECT_EQ(ga.elements()[i].element->gauge, &ga.header());
    EXPECT_EQ(gb.elements()[i].element->gauge, &gb.header());
  }
  EXPECT_EQ(ga.elements()[0].element->next[0], ga.elements()[1].element) << "following list points at copies";
  EXPECT_NE(ga.header().mouse_rects, gb.header().mouse_rects);
  EXPECT_TRUE(ga.elements()[3].element->flags & kHiddenFlag);
  EXPECT_FALSE(gb.elements()[3].element->flags & kHiddenFlag);
  EXPECT_STREQ(ga.header().parameters, "hide");
  auto* text = reinterpret_cast<TextElement*>(ga.elements()[2].element);
  EXPECT_NE(text->text, reinterpret_cast<TextElement*>(gb.elements()[2].element)->text);
  EXPECT_STREQ(text->text, "HDG 045") << "cut at max_chars";
}

TEST_F(ProbeHost, EvaluationStoresTokenValuesAndKeepsWhatCallbacksReturn) {
  const std::size_t i = host_->add_instance("Probe", 0, 0, 0);
  state_.set_number(84, 90.0);
  state_.set_number(78, -4.0);
  state_.set_number(80, 30.0);
  host_->start();
  EXPECT_FALSE(host_->instance(i).elements()[1].values.evaluated);
  host_->frame();
  const auto lookup = host_->instance(i).value_lookup();
  const auto& el = host_->instance(i).elements();
  EXPECT_EQ(lookup(el[1].element).channel[0], 180.0);  // needle callback doubles token 84
  EXPECT_EQ(lookup(el[2].element).channel[0], 90.0);   // text callback returns its value
  EXPECT_EQ(lookup(el[3].element).channel[0], 3.0);    // icon
  const ElementValues sprite = lookup(el[4].element);
  // x: token 78, no callback; y: callback; angle: token 80, no callback.
  EXPECT_EQ(std::tuple(sprite.channel[0], sprite.channel[1], sprite.channel[2], sprite.evaluated),
            std::tuple(-4.0, 5.0, 30.0, true));
  EXPECT_EQ(reinterpret_cast<SpriteElement*>(el[4].element)->x.value.n, -4.0);
}

TEST_F(ProbeHost, ClosedWindowsGetNeitherUpdatesNorEvaluation) {
  host_->add_instance("Probe", 43, 0, 0);
  host_->start();
  host_->frame();
  EXPECT_EQ(probe_events(0), (std::vector<std::uint32_t>{}));
  state_.send_key_event(kEventWindowOpen, 43);
  host_->frame();
  EXPECT_EQ(probe_events(1).size(), 6u);
}

TEST_F(ProbeHost, ClicksRouteThroughNestedAreasByRequestedFlags) {
  const std::size_t i = host_->add_instance("Probe", 0, 0, 0, "probe");
  host_->start();
  constexpr MouseButton kL = MouseButton::left, kR = MouseButton::right;
  const struct {
    int x, y;
    MouseButton button;
    int rect;
    std::uint32_t event;
    bool called;
  } cases[] = {
      {5, 5, kL, 2, 65883, false},                               // an event box sends its event
      {5, 5, kR, -1, 0, false},                                  // a left-only box ignores the right button
      {10, 5, kL, -1, 0, false},                                 // a box ends before its x + width
      {27, 27, kL, 4, 0, true},                                  // nested boxes call back, for either button
      {34, 34, kR, 4, 0, true},     {22, 22, kL, -1, 0, false},  // inside the area, outside every box
      {62, 2, kR, 6, 0, true},                                   // a right-only box takes the right button
      {62, 2, kL, 7, 65884, false},  // and passes the left to the next box that takes it
  };
  for (const auto& c : cases) {
    const ClickResult r = host_->click(i, c.x, c.y, c.button);
    EXPECT_EQ(std::tuple(r.rect, r.event, r.called), std::tuple(c.rect, c.event, c.called))
        << c.x << "," << c.y;
  }
  EXPECT_EQ(events_of(65883).size(), 1u);
  EXPECT_EQ(events_of(65884).size(), 1u);
  // The click record holds the point relative to the box at (25,25), the
  // button, the clicked record's box and the instance's own header.
  EXPECT_EQ(events_of(900200), (std::vector<std::uint32_t>{202, 909}));
  EXPECT_EQ(events_of(900201), (std::vector<std::uint32_t>{kMouseLeftSingle, kMouseRightSingle}));
  EXPECT_EQ(events_of(900202), (std::vector<std::uint32_t>{505, 505}));
  EXPECT_EQ(events_of(900203), (std::vector<std::uint32_t>{1, 1}));
}

TEST_F(ProbeHost, CloseOwnWindowClosesTheWindowOfTheCallingGauge) {
  state_.open_window(50);
  const std::size_t i = host_->add_instance("Probe", 50, 0, 0, "close");
  host_->add_instance("Probe", 0, 0, 0);
  host_->start();
  host_->click(i, 27, 27, MouseButton::left);
  EXPECT_FALSE(state_.window_open(50));
  EXPECT_TRUE(state_.window_open(0));
}

TEST_F(ProbeHost, TooltipsComeFromTheDeepestAreaWithTextOrHelpId) {
  const std::size_t i = host_->add_instance("Probe", 0, 0, 0);
  state_.set_number(855, 7.0);
  state_.set_number(848, 1.0);
  state_.set_number(75, 1009.0);
  host_->start();
  EXPECT_EQ(host_->tooltip(i, 1, 1).text, "Heading 007 (GPS) at 1009 mb");
  EXPECT_EQ(host_->tooltip(i, 30, 30).text, "help 43910");
  state_.set_number(848, 0.0);
  EXPECT_EQ(host_->tooltip(i, 100, 100).text, "Heading 007 (NAV) at 1009 mb");
  // The sources were filled in place, in the module's own table, and each
  // callback was handed its own entry's source.
  const MouseArg* args = module_->find_gauge("Probe")->mouse_rects[1].args;
  EXPECT_EQ(args[0].source.value.n, 7.0);
  EXPECT_EQ(args[1].source.value.n, 0.0);
  EXPECT_EQ(events_of(900300), (std::vector<std::uint32_t>{1, 1}));
}

TEST_F(ProbeHost, PanelLinesForOtherModulesOrUnknownGaugesWarnAndAreSkipped) {
  const PanelConfig panel = parse_panel_config(
      "[Window00]\n"
      "gauge00=Probe_Instr!Probe, 0,0,80,40, probe\n"
      "gauge01=Other!Probe, 0,0\n"
      "gauge02=probe_instr!Nothing, 0,0\n"
      "gauge03=PROBE_INSTR!Empty, 5,5\n",
      "p.cfg");
  std::vector<std::string> warnings;
  host_->place(panel, warnings);
  ASSERT_EQ(host_->instances().size(), 2u);
  EXPECT_EQ(host_->instances()[0].width, 80);
  EXPECT_EQ(host_->instances()[0].height, 40);
  EXPECT_EQ(host_->instance(0).parameters(), "probe");
  EXPECT_EQ(warnings, (std::vector<std::string>{"p.cfg:3: module 'Other' is not loaded (loaded: Probe_Instr)",
                                                "p.cfg:4: module Probe_Instr has no gauge 'Nothing'"}));
}

TEST_F(ProbeHost, TraceListsChangesPerFrameDeterministically) {
  host_->add_instance("Probe", 0, 0, 0);
  const Scenario s = parse_scenario(R"J({
    "keyframes": [{"t": 0, "tokens": {"HEADING": 10}}, {"t": 0.1, "tokens": {"HEADING": 12}}],
    "clicks": [{"t": 0.05, "instance": 0, "x": 5, "y": 5}],
    "tooltips": [{"t": 0, "gauge": "Probe", "x": 1, "y": 1}, {"t": 0, "gauge": "Nope", "x": 1, "y": 1}]})J",
                                    "s.json", "");
  TraceOptions options;
  options.frames = 3;
  std::ostringstream out;
  run_trace(*host_, s, options, out);
  const std::string trace = out.str();
  for (const char* line : {"frame 0 t=0\n", "  element 0.1 Probe needle v=20 bmp=20 shown\n",
                           "  element 0.2 Probe text v=10 shown text=\"HDG 010\"\n",
                           "  tooltip 0 Probe 1,1 \"Heading 000 (NAV) at 1013 mb\"\n",
                           "  tooltip Nope missing\n", "  element 0.1 Probe needle v=22.2222 bmp=20 shown\n"})
    EXPECT_NE(trace.find(line), std::string::npos) << line << trace;
  EXPECT_EQ(
      trace.find("frame 1 t=0.0555556\n  click 0 Probe 5,5 left box 2 event 65883 ALTIMETER_SETTING_INC\n"
                 "  event 65883 0 ALTIMETER_SETTING_INC\n  event 900006 1\n  event 900100 0\n"),
      trace.find("frame 1 "));
  EXPECT_EQ(trace.substr(trace.size() - 4), "end\n");
}

// The module's Windows-1252 becomes UTF-8 (0x80 to 0x9F are not Latin-1);
// bytes without a character stay visible as \xNN.
TEST(EscapeText, QuotesBackslashesAndWindowsText) {
  const struct {
    const char* text;
    const char* shown;
  } cases[] = {
      {"a\"b\\c", "a\\\"b\\\\c"},
      {"5\xB0", "5\xC2\xB0"},                                        // degree sign
      {"\x80 \x93x\x94", "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D"},  // euro, curly quotes
      {"\x81\x9D\x01\x7F", "\\x81\\x9D\\x01\\x7F"},                  // undefined bytes and controls
  };
  for (const auto& c : cases) EXPECT_EQ(escape_text(c.text), c.shown) << c.text;
}

// The one conversion every writer uses: the code page's characters of 0x80
// to 0x9F (not Latin-1's controls), a replacement for its undefined bytes,
// and a text cut whole characters short of a small buffer.
TEST(WindowsText, CodePageCharactersAsUtf8CutAtACharacter) {
  EXPECT_EQ(utf8_from_windows_1252("a\xB0\x80\x9F\x81"), "a\xC2\xB0\xE2\x82\xAC\xC5\xB8\xEF\xBF\xBD");
  char out[5];
  windows_1252_to_utf8("ab\x80", out, sizeof out);  // the euro sign's 3 bytes do not fit after "ab"
  EXPECT_STREQ(out, "ab");
  windows_1252_to_utf8("\xB0\xB0\xB0", out, sizeof out);
  EXPECT_STREQ(out, "\xC2\xB0\xC2\xB0");
}

// One size per instance: the line's width and height, else the header's
// default size, the height in the first bitmap's proportions. Clicks and
// tooltips come in pixels of that size and land where the same point of the
// picture lies at any other size.
TEST(RealModule, InstancesAreSizedByTheLineOrDefaultAndClicksScaleToBitmapPoints) {
  auto module = Module::load(ORV_REAL_MODULE);
  SimState state;
  state.set_number(753, 100);  // lit selectors
  Host host(*module, state);
  std::vector<std::string> warnings;
  host.place(parse_panel_config("[Window00]\n"
                                "gauge00=Orvane_Instr!Screen_Selector_Main, 0,0,231,210\n"
                                "gauge01=Orvane_Instr!Screen_Selector_Main, 0,0,462\n"
                                "gauge02=Orvane_Instr!Screen_Selector_Main, 0,0\n"
                                "gauge03=Orvane_Instr!Screen_Selector_Main, 0,0,50,80\n",
                                "panel.cfg"),
             warnings);
  ASSERT_EQ(host.instances().size(), 4u);
  const std::pair<int, int> sizes[] = {{231, 210}, {462, 420}, {100, 91}, {50, 80}};
  for (std::size_t i = 0; i < 4; ++i)
    EXPECT_EQ(
        std::tuple(host.instances()[i].width, host.instances()[i].height, host.instance(i).header().size.x),
        std::tuple(sizes[i].first, sizes[i].second, sizes[i].first))
        << i;
  host.start();
  host.frame();
  for (auto [x, y] : {std::pair{40, 30}, {100, 30}, {180, 80}, {120, 140}, {190, 150}}) {
    const ClickResult unscaled = host.click(0, x, y, MouseButton::left);
    EXPECT_GE(unscaled.rect, 0) << x << "," << y;
    EXPECT_EQ(host.click(1, 2 * x, 2 * y, MouseButton::left).rect, unscaled.rect) << x << "," << y;
    EXPECT_EQ(host.tooltip(1, 2 * x, 2 * y).text, host.tooltip(0, x, y).text) << x << "," << y;
  }
  host.stop();
}

}  // namespace
}  // namespace orv::host
