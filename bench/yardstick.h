// The fixed flight the speed figures are measured on: a copy of the built-in
// panel and scenario as they were when the figures were first taken
// (bench/data/), so that later changes to the built-in cockpit do not move
// the yardstick. The host is run through the scenario up to a chosen frame;
// the caller then measures what it likes on that steady state.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/load/host_error.h"
#include "host/panel/host.h"
#include "host/scenario/scenario.h"
#include "host/scenario/scenario_run.h"

namespace orv::bench {

// Frame 252 (14 s): the ILS approach, HUD on, gear up, on the localizer and
// the glideslope.
inline constexpr long kApproachFrame = 252;

// The module measured: ORV_BENCH_MODULE when set (e.g. an older build, for a
// before-and-after table), else this build's.
inline const char* bench_module() {
  const char* path = std::getenv("ORV_BENCH_MODULE");
  return path != nullptr && *path != '\0' ? path : ORV_REAL_MODULE;
}

class Yardstick {
 public:
  // The fixed copy; `panel` and `scenario` name other files (the built-in
  // cockpit as it is today, reported beside the yardstick).
  // `before_start` runs once the panel is placed (e.g. to attach drawing
  // surfaces).
  explicit Yardstick(const char* module_path, long frames = kApproachFrame,
                     const char* panel = ORV_YARDSTICK_PANEL, const char* scenario = ORV_YARDSTICK_SCENARIO,
                     const std::function<void(host::Host&)>& before_start = {})
      : module_(host::Module::load(module_path)),
        scenario_(host::parse_scenario(host::read_file(scenario), "scenario.json", "")),
        host_(*module_, state_) {
    std::vector<std::string> warnings;
    host_.place(host::parse_panel_config(host::read_file(panel), "panel.cfg"), warnings);
    run_ = std::make_unique<host::ScenarioRun>(host_, scenario_, host::TokenSets{},
                                               std::vector<host::ScenarioClick>{});
    run_->apply_initial();
    if (before_start) before_start(host_);
    host_.start();
    for (long f = 0; f <= frames; ++f) step();
  }
  Yardstick(const Yardstick&) = delete;
  Yardstick& operator=(const Yardstick&) = delete;
  ~Yardstick() { host_.stop(); }

  // One more frame of the scenario, as the host runs it.
  void step() {
    run_->step([](const host::ScenarioClick&, std::optional<std::size_t>, const host::ClickResult&) {});
    state_.clear_logs();
  }

  host::Host& host() { return host_; }
  host::SimState& state() { return state_; }
  host::Module& module() { return *module_; }

 private:
  std::unique_ptr<host::Module> module_;
  host::Scenario scenario_;
  host::SimState state_;
  host::Host host_;
  std::unique_ptr<host::ScenarioRun> run_;
};

}  // namespace orv::bench
