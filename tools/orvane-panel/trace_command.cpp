// orvane-panel trace: loads the module, places the panel, runs the scenario
// and prints the trace on standard output; warnings and errors go to
// standard error.
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "cli.h"
#include "commands.h"
#include "host.h"
#include "host_error.h"
#include "scenario.h"
#include "trace.h"

namespace orv::panel_tool {

using namespace orv::host;

namespace {

constexpr const char* kTraceHelp =
    "Usage: orvane-panel trace [options]\n"
    "\n"
    "Loads the gauge module, places the gauges of a panel, runs a scenario and\n"
    "prints a trace: per frame the clicks, key events, panel windows opened or\n"
    "closed, each element whose value, visibility, bitmap or text changed, and\n"
    "the tooltips asked for.\n"
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
    "  --help               this text\n"
    "\n";

}  // namespace

int run_trace(const Args& args) {
  std::optional<std::string> module_path, panel_path, scenario_path;
  std::optional<int> frames;
  TraceOptions options;
  try {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& a = args[i];
      auto value = [&]() -> const std::string& {
        if (i + 1 >= args.size()) throw UsageError{a + " needs a value"};
        return args[++i];
      };
      if (a == "--help" || a == "-h") {
        std::cout << kTraceHelp << kExitCodeHelp;
        return kExitOk;
      } else if (a == "--module") {
        module_path = value();
      } else if (a == "--panel") {
        panel_path = value();
      } else if (a == "--scenario") {
        scenario_path = value();
      } else if (a == "--frames") {
        int n = 0;
        if (!parse_int(value(), n) || n < 0 || n > 10000000) throw UsageError{"--frames needs a count"};
        frames = n;
      } else if (a == "--set") {
        options.sets.push_back(parse_set(value()));
      } else if (a == "--click") {
        options.clicks.push_back(parse_click(value()));
      } else if (a == "--tooltip") {
        options.tooltips.push_back(parse_tooltip(value()));
      } else if (a == "--full") {
        options.full = true;
      } else {
        throw UsageError{"unknown option '" + a + "'"};
      }
    }
  } catch (const UsageError& e) {
    std::fprintf(stderr, "orvane-panel trace: %s\n(see 'orvane-panel trace --help')\n", e.message.c_str());
    return kExitUsage;
  }

  try {
    const Inputs inputs = load_inputs(scenario_path, panel_path);
    auto module = Module::load(module_path.value_or(default_module_path()));
    SimState state;
    Host host(*module, state);
    place_panel(host, inputs);
    const Scenario& scenario = inputs.scenario;
    options.frames = frames.value_or(scenario.frames.value_or(36));
    std::ostringstream trace;
    run_trace(host, scenario, options, trace);
    std::fwrite(trace.str().data(), 1, trace.str().size(), stdout);
    std::fflush(stdout);
    return kExitOk;
  } catch (const HostError& e) {
    std::fprintf(stderr, "orvane-panel: %s\n", e.what());
    return exit_code_of(e.kind());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orvane-panel: internal error: %s\n", e.what());
    return kExitInternal;
  }
}

}  // namespace orv::panel_tool
