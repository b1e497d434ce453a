// orvane-panel trace: loads the module, places the panel, runs the scenario
// and prints the trace on standard output; warnings and errors go to
// standard error.
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include "cli.h"
#include "commands.h"
#include "host/load/host_error.h"
#include "host/panel/host.h"
#include "host/record/sound_recorder.h"
#include "host/record/trace.h"
#include "host/scenario/scenario.h"

namespace orv::panel_tool {

using namespace orv::host;

namespace {

constexpr const char* kTraceHelp =
    "Usage: orvane-panel trace [options]\n"
    "\n"
    "Loads the gauge module, places the gauges of a panel, runs a scenario and\n"
    "prints a trace: per frame the clicks, key events, panel windows opened or\n"
    "closed, the sounds the module played (recorded, never heard), each element\n"
    "whose value, visibility, bitmap or text changed, and the tooltips asked for.\n"
    "\n"
    "Options:\n"
    "  --module PATH        gauge module (default: Orvane_Instr next to this program)\n"
    "  --panel FILE         panel.cfg (default: the scenario's panel, else the built-in one)\n"
    "  --scenario FILE      scenario JSON (default: the built-in scenario)\n"
    "  --frames N           frames to run, 18 per simulated second (default: the\n"
    "                       scenario's, else 36)\n"
    "  --set TOKEN=VALUE    hold a token at a value for the whole run; TOKEN is a\n"
    "                       number or a name (HEADING, AIRSPEED, ...); VALUE is a\n"
    "                       number, 0x... or i:N for an integer, s:TEXT for a text\n"
    "  --click INSTANCE:X,Y[:left|right][@SECONDS]\n"
    "                       click gauge point X,Y of an instance (its index or its\n"
    "                       gauge name) at a simulated time (default 0)\n"
    "  --tooltip INSTANCE:X,Y[@SECONDS]\n"
    "                       ask for the tooltip at gauge point X,Y\n"
    "  --full               list every element on every frame, not just changes\n"
    "  --format text|jsonl  lines as above (default), or one JSON object per line\n"
    "                       and per event (docs/trace.md has the schema)\n"
    "  --json               the same as --format jsonl (as --json in check and info)\n"
    "  --x87 24|53|64       32-bit Windows build: set the x87 unit to this precision\n"
    "                       before every call into the module, as a simulator's\n"
    "                       process may leave it (other builds refuse the option)\n"
    "  --help               this text\n"
    "\n";

}  // namespace

int run_trace(const Args& args) {
  CommonOptions common;
  std::optional<int> frames;
  TraceOptions options;
  bool full = false;
  OptionTable table = run_options(common);
  table.push_back(frames_option(frames));
  table.push_back(tooltip_option(options.tooltips));
  table.push_back(flag_option("--full", full));
  bool json = false;
  table.push_back(json_option(json));
  table.push_back(value_option("--format", "text|jsonl", [&](const std::string& format) {
    if (format == "text") {
      options.format = TraceFormat::text;
    } else if (format == "jsonl") {
      options.format = TraceFormat::jsonl;
    } else {
      throw UsageError{"--format is text or jsonl, not '" + format + "'"};
    }
  }));
  if (auto exit = parse_command_line("trace", kTraceHelp, args, table)) return *exit;

  return report_errors([&] {
    const Inputs inputs = load_inputs(common.scenario, common.panel);
    auto module = Module::load(common.module.value_or(default_module_path()));
    require_gauges(*module, common.clicks, options.tooltips);
    // The sounds the module plays are recorded, not played.
    record_sounds(*module);
    SimState state;
    Host host(*module, state);
    place_panel(host, inputs);
    const Scenario& scenario = inputs.scenario;
    options.full = full;
    if (json) options.format = TraceFormat::jsonl;
    options.frames = frames.value_or(scenario.frames.value_or(36));
    options.sets = std::move(common.sets);
    options.clicks = std::move(common.clicks);
    // Streamed: the trace reaches standard output as the frames run.
    FileTraceOutput out(stdout, "standard output");
    run_trace(host, scenario, options, out);
    return int{kExitOk};
  });
}

}  // namespace orv::panel_tool
