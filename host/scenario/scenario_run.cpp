#include "host/scenario/scenario_run.h"

#include <algorithm>

#include "host/load/stop_request.h"

namespace orv::host {

ScenarioRun::ScenarioRun(Host& host, const Scenario& scenario, TokenSets sets,
                         const std::vector<ScenarioClick>& extra_clicks)
    : host_(host), scenario_(scenario), sets_(std::move(sets)), clicks_(scenario.clicks) {
  clicks_.insert(clicks_.end(), extra_clicks.begin(), extra_clicks.end());
  std::stable_sort(clicks_.begin(), clicks_.end(), [](const auto& a, const auto& b) { return a.t < b.t; });
}

void ScenarioRun::apply_initial() {
  SimState& state = host_.state();
  scenario_.apply_initial(state);
  for (const auto& [id, v] : sets_) state.set_token(id, v);
}

double ScenarioRun::step(const ClickReport& report) {
  throw_if_stop_requested();
  host_.begin_frame();
  SimState& state = host_.state();
  const double t = state.time();
  scenario_.apply_at(state, t);
  state.advance_sources();
  for (const auto& [id, v] : sets_) state.set_token(id, v);

  horizon_ = t + 0.5 / kTicksPerSecond;
  for (; next_click_ < clicks_.size() && due(clicks_[next_click_].t); ++next_click_) {
    const ScenarioClick& c = clicks_[next_click_];
    const std::optional<std::size_t> index = c.target.resolve(host_);
    const ClickResult result = index ? host_.click(*index, c.point(), c.button) : ClickResult{};
    report(c, index, result);
  }

  host_.update();
  return t;
}

}  // namespace orv::host
