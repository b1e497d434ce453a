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
//     click 3 Kneeboard_Toggle 5,5 left box 2 event 65876 KNEEBOARD_TOGGLE
//     event 65876 0 KNEEBOARD_TOGGLE
//     element 1.0 Registration static bmp=200 shown
//     element 1.1 Registration text v=0 shown text="F_ORVN"
//     tooltip 25 Baro_Pressure 5,5 "Altimeter Calibration Knob (1013 mb)"
//   frame 1 t=0.0555556
//   ...
//   shutdown
//   end
//
// Each frame lists clicks, then the key events sent during the frame (value,
// in the order sent, then the event's name when it has one), windows opened
// or closed, the sounds the module queued
//
//     sound 19 NAV_GPS_Switch channel 0 resource 10 bytes 1914
//
// (instance, gauge, the module's sound buffer numbered in the order of its
// first play, its WAVE resource and the sample bytes queued; `trace` records
// them through the module's rebound audio imports), then elements, tooltips. An element
// line shows the element's channel values (v=a[,b[,c]]), shown or hidden, its
// bitmap id and, for texts, its text; by default a line appears when it
// differs from the element's previous line (so frame 0 lists every element of
// every open window), with `full` on every frame.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "host/panel/host.h"
#include "host/record/trace_output.h"
#include "host/scenario/scenario.h"

namespace orv::host {

// `text`: the lines above; `jsonl`: one JSON object per line and per event,
// with the same content (docs/trace.md describes both).
enum class TraceFormat { text, jsonl };

struct TraceOptions {
  int frames = 36;
  bool full = false;
  TraceFormat format = TraceFormat::text;
  TokenSets sets;                     // after the scenario's tokens
  std::vector<ScenarioClick> clicks;  // besides the scenario's
  std::vector<ScenarioTooltip> tooltips;
};

// A trace made one frame at a time: start() writes the header and runs the
// set-up, each frame() runs and writes the next frame, finish() the shutdown
// (options.frames is not used). run_trace below is start, frames, finish.
class TraceRecorder {
 public:
  TraceRecorder(Host& host, const Scenario& scenario, const TraceOptions& options, TraceOutput& out);
  ~TraceRecorder();
  TraceRecorder(const TraceRecorder&) = delete;
  TraceRecorder& operator=(const TraceRecorder&) = delete;
  void start();
  void frame();
  void finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Runs the host through start-up, `frames` frames and shutdown with the
// scenario, writing the trace. Clicks and tooltips that name no placed
// instance produce a "missing" line. The host must be placed but not started.
// The trace reaches the output in blocks of some kilobytes as the frames run,
// so a failing output stops the run at the first block it cannot take.
void run_trace(Host& host, const Scenario& scenario, const TraceOptions& options, TraceOutput& out);
void run_trace(Host& host, const Scenario& scenario, const TraceOptions& options, std::ostream& out);

}  // namespace orv::host
