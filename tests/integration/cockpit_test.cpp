// The real module driven by the substitute host as the simulator drives it:
// loaded through its exported records, placed from a panel.cfg, fed by a
// scenario, clicked at gauge points. The checks read what a pilot would see:
// the host's windows, tokens and event log, and the tooltips the host
// formats. (What the gauges show is pinned by the golden pictures.)
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/load/host_error.h"
#include "host/panel/host.h"
#include "host/scenario/scenario.h"

namespace orv::host {
namespace {

using namespace abi;
using Events = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

const std::string kData = ORV_INTEGRATION_DATA;
constexpr MouseButton kLeft = MouseButton::left;
constexpr MouseButton kRight = MouseButton::right;

struct Point {
  int x, y;
};
constexpr std::uint32_t kSupply = 753;

class Cockpit : public testing::Test {
 protected:
  Cockpit() : module_(Module::load(ORV_REAL_MODULE)) {}

  // Places the scenario's panel, applies its initial values and runs set-up
  // (services 2, 14, 3).
  void start(const std::string& scenario_file) {
    scenario_ = parse_scenario(read_file(kData + "/" + scenario_file), scenario_file, kData);
    host_ = std::make_unique<Host>(*module_, state_);
    std::vector<std::string> warnings;
    host_->place(parse_panel_config(read_file(scenario_.panel.value()), "panel.cfg"), warnings);
    EXPECT_EQ(warnings, std::vector<std::string>{});
    scenario_.apply_initial(state_);
    host_->start();
  }

  // A frame as the trace runs it: keyframes, then the clicks due within half
  // a frame, then the update.
  void run() {
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
  }

  std::size_t find(const std::string& gauge, int nth = 0) const {
    for (std::size_t i = 0; i < host_->instances().size(); ++i) {
      if (gauge == host_->instances()[i].gauge->name() && nth-- == 0) return i;
    }
    ADD_FAILURE() << "no instance of " << gauge;
    return 0;
  }
  ClickResult click(const std::string& gauge, Point p, MouseButton button = kLeft) {
    return host_->click(find(gauge), p.x, p.y, button);
  }
  std::string tooltip(const std::string& gauge, Point p) {
    return host_->tooltip(find(gauge), p.x, p.y).text;
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

}  // namespace
}  // namespace orv::host
