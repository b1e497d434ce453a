// A scenario stepped through the host one frame at a time, the one way both
// the trace and the renderer run a scenario:
//
//   before start-up: the scenario's start time, tokens and expressions, then
//                    the tokens held for the whole run
//   each frame:      begin_frame(), the keyframed tokens at the frame's time,
//                    the state's frame sources (the GPS), the held tokens
//                    again (they override keyframes), the clicks due, then
//                    update()
//
// A click or tooltip is due in the first frame whose time is more than half
// a frame after it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "host/panel/host.h"
#include "host/scenario/scenario.h"

namespace orv::host {

class ScenarioRun {
 public:
  // Told of each click as it is delivered: `instance` is the instance it
  // names (nullopt: none, and the click is dropped) and `result` what the
  // host did with it.
  using ClickReport = std::function<void(const ScenarioClick& click, std::optional<std::size_t> instance,
                                         const ClickResult& result)>;

  // `sets` are held for the whole run; `extra_clicks` come besides the
  // scenario's (at equal times the scenario's first).
  ScenarioRun(Host& host, const Scenario& scenario, TokenSets sets,
              const std::vector<ScenarioClick>& extra_clicks);

  // The state before start-up; call before host.start().
  void apply_initial();

  // Runs the next frame, reporting its clicks; returns the frame's time.
  // Throws HostError(interrupted) instead when a stop was asked for.
  double step(const ClickReport& report);

  // The tokens held for the whole run; a live viewer adds and drops its own.
  TokenSets& held() { return sets_; }

  // Whether an event at time t belongs to the frame last stepped or earlier.
  bool due(double t) const { return t < horizon_; }

 private:
  Host& host_;
  const Scenario& scenario_;
  TokenSets sets_;
  std::vector<ScenarioClick> clicks_;  // by time
  std::size_t next_click_ = 0;
  double horizon_ = 0.0;
};

}  // namespace orv::host
