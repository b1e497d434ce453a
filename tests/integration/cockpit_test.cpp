// The real module driven by the substitute host as the simulator drives it:
// loaded through its exported records, placed from a panel.cfg, fed by a
// scenario, clicked at gauge points. The checks read what a pilot would see:
// element values, hidden bits and texts of the host's instance copies, the
// host's windows, tokens and event log, and the tooltips the host formats.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host.h"
#include "host_error.h"
#include "scenario.h"

namespace orv::host {
namespace {

using namespace abi;
using Events = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

const std::string kData = ORV_INTEGRATION_DATA;
constexpr MouseButton kLeft = MouseButton::left;
constexpr MouseButton kRight = MouseButton::right;

// Gauge points of the selector buttons (inside each 67 x 50 box).
struct Point {
  int x, y;
};
constexpr Point kHudButton{20, 20};
constexpr std::uint32_t kSupply = 753;

// Bitmap of each selector button's unlit image, in reading order.
constexpr std::uint32_t kButtonBitmaps[9] = {290, 300, 310, 320, 330, 340, 350, 360, 370};

// Head-up display chain positions: single symbols, and the first (red) copy
// of four-colour groups; copy `c` of a group sits at first + 3 - c.
constexpr int kGlideslope = 10, kAirspeed = 22, kAltitude = 38;
constexpr double kGlideslopeKeep = 0.7165313105737893;

int copy_of(int first, std::uint32_t colour) { return first + 3 - static_cast<int>(colour); }

// Whether an element shows anything: not hidden, an icon with an image, a
// text with a non-blank character.
bool visible(const ElementSlot& s) {
  if ((s.element->flags & kHiddenFlag) != 0) return false;
  if (s.element->kind == kIcon) return s.values.channel[0] >= 0.0;
  if (s.element->kind == kText) {
    const std::string t = reinterpret_cast<TextElement*>(s.element)->text;
    return t.find_first_not_of(' ') != std::string::npos;
  }
  return true;
}

std::string text_of(const ElementSlot& s) { return reinterpret_cast<TextElement*>(s.element)->text; }

class Cockpit : public testing::Test {
 protected:
  Cockpit() : module_(Module::load(ORV_REAL_MODULE)) { normalise(); }

  // The cockpit values are module globals shared by every host of this
  // process: bring them to a fresh load's state (HUD off, guidance on NAV 1)
  // through a throw-away host, whatever an earlier test left.
  void normalise() {
    SimState s;
    s.set_number(kSupply, 25.0);
    s.open_window(0);
    Host h(*module_, s);
    const std::size_t selector = h.add_instance("Screen_Selector_Main", 0, 0, 0);
    const std::size_t ils = h.add_instance("ILS_TAC_Switch", 0, 0, 0);
    h.start();
    h.frame();
    if (h.tooltip(selector, 20, 20).text.find("(off)") == std::string::npos)
      h.click(selector, kHudButton.x, kHudButton.y, kRight);
    if (h.tooltip(ils, 10, 10).text.find("NAV2 selected") != std::string::npos) h.click(ils, 10, 10, kLeft);
    h.stop();
  }

  // Places the scenario's panel, applies its initial values and `sets`, and
  // runs set-up (services 2, 14, 3).
  void start(const std::string& scenario_file,
             const std::vector<std::pair<std::uint32_t, double>>& sets = {}) {
    scenario_ = parse_scenario(read_file(kData + "/" + scenario_file), scenario_file, kData);
    host_ = std::make_unique<Host>(*module_, state_);
    std::vector<std::string> warnings;
    host_->place(parse_panel_config(read_file(scenario_.panel.value()), "panel.cfg"), warnings);
    EXPECT_EQ(warnings, std::vector<std::string>{});
    scenario_.apply_initial(state_);
    for (const auto& [id, v] : sets) state_.set_number(id, v);
    host_->start();
  }

  // Frames as the trace runs them: keyframes, then the clicks due within half
  // a frame, then the update; `after` sees each frame's result.
  template <typename After>
  void run(int frames, After&& after) {
    for (int f = 0; f < frames; ++f) {
      host_->begin_frame();
      const double t = state_.time();
      scenario_.apply_at(state_, t);
      state_.advance_sources();
      while (next_click_ < scenario_.clicks.size() &&
             scenario_.clicks[next_click_].t < t + 0.5 / kTicksPerSecond) {
        const ScenarioClick& c = scenario_.clicks[next_click_++];
        host_->click(c.target.resolve(*host_).value(), c.x, c.y, c.button);
      }
      host_->update();
      after(t);
    }
  }
  void run(int frames = 1) {
    run(frames, [](double) {});
  }

  std::size_t find(const std::string& gauge, int nth = 0) const {
    for (std::size_t i = 0; i < host_->instances().size(); ++i) {
      if (gauge == host_->instances()[i].gauge->name() && nth-- == 0) return i;
    }
    ADD_FAILURE() << "no instance of " << gauge;
    return 0;
  }
  std::vector<ElementSlot>& elements(const std::string& gauge, int nth = 0) {
    return host_->instance(find(gauge, nth)).elements();
  }
  ClickResult click(const std::string& gauge, Point p, MouseButton button = kLeft) {
    return host_->click(find(gauge), p.x, p.y, button);
  }
  std::string tooltip(const std::string& gauge, Point p) {
    return host_->tooltip(find(gauge), p.x, p.y).text;
  }

  // The image each selector button shows: -1 dark, 0 unlit, 1 lit.
  std::vector<double> buttons(const std::string& selector) {
    std::vector<double> images;
    for (std::uint32_t bitmap : kButtonBitmaps) {
      for (const ElementSlot& s : elements(selector)) {
        if (s.element->kind == kIcon && s.element->bitmap == bitmap) images.push_back(s.values.channel[0]);
      }
    }
    return images;
  }

  // Key events and window changes logged since the last mark().
  void mark() {
    events_mark_ = state_.key_events().size();
    windows_mark_ = state_.window_changes().size();
  }
  Events events() const {
    Events out;
    const auto& log = state_.key_events();
    for (std::size_t i = events_mark_; i < log.size(); ++i) out.emplace_back(log[i].event, log[i].value);
    return out;
  }
  std::vector<WindowChange> window_changes() const {
    return {state_.window_changes().begin() + windows_mark_, state_.window_changes().end()};
  }

  std::unique_ptr<Module> module_;
  SimState state_;
  Scenario scenario_;
  std::unique_ptr<Host> host_;
  std::size_t next_click_ = 0, events_mark_ = 0, windows_mark_ = 0;
};

// --- Several instances of every gauge -----------------------------------------

// A panel may place one gauge several times. Every gauge placed three times,
// clicked all over and hovered, then unloaded; twice over, on a fresh module
// load each time. The sanitizers (and the leak check at exit) see everything
// that the instances set up and release, the click sound's device included.
TEST(SeveralInstances, EveryGaugeLoadsClicksUnloadsAndLoadsAgain) {
  constexpr int kInstances = 3, kStep = 9;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::unique_ptr<Module> module = Module::load(ORV_REAL_MODULE);
    SimState state;
    state.set_number(kSupply, 25.0);
    state.open_window(0);
    {
      Host host(*module, state);
      for (const GaugeHeader* g : module->gauges())
        for (int n = 0; n < kInstances; ++n) host.add_instance(g->name, 0, 0, 0);
      ASSERT_EQ(host.instances().size(), module->gauges().size() * kInstances);
      host.start();
      host.frame();
      for (std::size_t i = 0; i < host.instances().size(); ++i) {
        const PlacedInstance& p = host.instances()[i];
        for (int y = 1; y < std::max(p.height, 1); y += kStep) {
          for (int x = 1; x < std::max(p.width, 1); x += kStep) {
            host.click(i, x, y, (x / kStep) % 2 == 0 ? kLeft : kRight);
            host.tooltip(i, x, y);
          }
        }
        host.frame();
      }
      host.stop();
    }
  }
}

// --- Start-up and watch rules --------------------------------------------------

class StartUp : public Cockpit, public testing::WithParamInterface<double> {};

TEST_P(StartUp, SwitchesRadioMasterOnOnlyWhenOffSelectsMapAndNavCirclePagesAndStartsTheClock) {
  const double master = GetParam();
  start("cockpit.json", {{740, master}});
  Events expected = {{65836, 0}, {65832, 0}, {65833, 0}, {65919, 16383}, {65920, 16383}};
  if (master == 0.0) expected.insert(expected.begin(), {66293, 0});
  EXPECT_EQ(events(), expected);
  EXPECT_EQ(state_.number(740), 1.0) << "the host's radio master follows the toggle";
  run();
  EXPECT_EQ(text_of(elements("Screen_Selector_Main").back()), "14:30:00") << "clock at the start time";
  // Left page 2 (navigation arc, bottom left) and right page 3 (navigation
  // circle, bottom middle) light on both selectors.
  const std::vector<double> lit = {0, 0, 0, 0, 0, 0, 1, 1, 0};
  EXPECT_EQ(buttons("Screen_Selector_Main"), lit);
  EXPECT_EQ(buttons("Screen_Selector_Landing"), lit);
}
INSTANTIATE_TEST_SUITE_P(RadioMaster, StartUp, testing::Values(0.0, 1.0));

// --- Clicks through the host ------------------------------------------------------

TEST_F(Cockpit, ClicksSendTheirEventsAndTheHostFollows) {
  start("cockpit.json");
  run();
  // Radios_Toggle has "o50 t225 p-2" on its panel line; Close_Subpanel has
  // none and sits in window 60.
  const struct {
    const char* gauge;
    Events events;
    std::vector<WindowChange> windows;
  } window_clicks[] = {
      {"Radios_Toggle", {{66507, 50}, {66506, 225}, {65735, 0}, {65735, 0}}, {{50, true, 0}, {225, true, 0}}},
      {"Close_Subpanel", {}, {{60, false, 0}}},
  };
  for (const auto& c : window_clicks) {
    mark();
    click(c.gauge, {5, 5});
    EXPECT_EQ(events(), c.events) << c.gauge;
    EXPECT_EQ(window_changes(), c.windows) << c.gauge;
  }
  // A control's click changes the host's token through the event's effect,
  // and the gauge reads it back: the tooltip the host formats after the next
  // frame. The heading bug starts at 355.
  const struct {
    const char* gauge;
    Point point;
    MouseButton button;
    std::uint32_t event, value, token;
    double token_after;
    const char* tooltip;
  } control_clicks[] = {
      {"Heading_Selector_Button",
       {40, 20},
       kRight,
       66042,
       5,
       855,
       5,
       "Heading selector knob (Heading 5\xB0)"},
      {"NAV_GPS_Switch", {10, 10}, kLeft, 66375, 0, 848, 1, "NAV/GPS switch (GPS active)"},
  };
  for (const auto& c : control_clicks) {
    mark();
    click(c.gauge, c.point, c.button);
    EXPECT_EQ(events(), (Events{{c.event, c.value}})) << c.gauge;
    EXPECT_EQ(state_.number(c.token), c.token_after) << c.gauge;
    run();
    EXPECT_EQ(tooltip(c.gauge, {10, 10}), c.tooltip);
  }
}

// --- Head-up display through a scenario --------------------------------------------

TEST_F(Cockpit, HudScenarioShowsInterpolatedReadoutsHidesWhileOffAndSmoothsTheGlideslope) {
  start("hud_approach.json");
  auto& hud = elements("Head_Up_Display");
  const int caret = copy_of(kGlideslope, 0);
  double filtered = 0.0;
  bool seen = false;
  int checked = 0;
  run(4 * kTicksPerSecond, [&](double t) {
    const bool on = (t >= 0.5 && t < 2.5) || t >= 3.0;
    int shown = 0;
    for (int p = 2; p < 46; ++p) shown += visible(hud[p]) ? 1 : 0;
    // On: symbology, gear cue, TO arrow, NAV label and one copy of each group.
    EXPECT_EQ(shown, on ? 4 + 10 : 0) << "t=" << t;
    if (t == 1.0) {
      EXPECT_EQ(text_of(hud[copy_of(kAirspeed, 0)]), " 155");
      EXPECT_EQ(text_of(hud[copy_of(kAltitude, 0)]), " 2450");
      EXPECT_EQ(text_of(elements("Screen_Selector_Main").back()), "08:00:01") << "clock";
    }
    if (!on) return;
    // Each shown update moves the caret by the filter's step toward the
    // deviation of this frame; hidden updates leave the filter where it was.
    const double caret_value = hud[caret].values.channel[1];
    const double deviation = state_.number(41);
    if (seen) {
      EXPECT_NEAR(caret_value, kGlideslopeKeep * filtered + (1.0 - kGlideslopeKeep) * deviation, 1e-9) << t;
      ++checked;
    }
    filtered = caret_value;
    seen = true;
  });
  EXPECT_GT(checked, 40);
  EXPECT_NEAR(filtered, 0.0, 1.0) << "caret settles on the glideslope";
}

}  // namespace
}  // namespace orv::host
