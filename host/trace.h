// The trace: a deterministic, line-oriented record of a run, identical on
// every build of the host and the module (numbers are formatted here, never
// by address or locale; texts are escaped to printable ASCII).
//
//   orvane-panel trace 1
//   module Orvane_Instr gauges 32
//   window 0 "Main panel" open
//   instance 3 Kneeboard_Toggle window 0 at 40,0 size 19x19 params ""
//   setup
//     event 66293 0
//     window 43 closed
//   frame 0 t=0
//     click 3 Kneeboard_Toggle 5,5 left box 2 event 65876
//     event 65876 0
//     element 1.0 Registration static bmp=200 shown
//     element 1.1 Registration text v=0 shown text="F_ORVN"
//     tooltip 25 Baro_Pressure 5,5 "Altimeter Calibration Knob (1013 mb)"
//   frame 1 t=0.0555556
//   ...
//   shutdown
//   end
//
// Each frame lists clicks, then the key events sent during the frame (value,
// in the order sent), windows opened or closed, elements, tooltips. An element
// line shows the element's channel values (v=a[,b[,c]]), shown or hidden, its
// bitmap id and, for texts, its text; by default a line appears when it
// differs from the element's previous line (so frame 0 lists every element of
// every open window), with `full` on every frame.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "host.h"
#include "scenario.h"

namespace orv::host {

// "%.6g" rules through std::to_chars: the same digits on every target; -0
// prints as 0, NaN as nan.
std::string format_number(double v);

// A text as the trace writes it: printable ASCII as is, '"' and '\\' escaped,
// other bytes as \xNN.
std::string escape_text(const char* text);

struct TraceOptions {
  int frames = 36;
  bool full = false;
  TokenSets sets;                     // after the scenario's tokens
  std::vector<ScenarioClick> clicks;  // besides the scenario's
  std::vector<ScenarioTooltip> tooltips;
};

// Runs the host through start-up, `frames` frames and shutdown with the
// scenario, writing the trace. Clicks and tooltips that name no placed
// instance produce a "missing" line. The host must be placed but not started.
void run_trace(Host& host, const Scenario& scenario, const TraceOptions& options, std::ostream& out);

}  // namespace orv::host
