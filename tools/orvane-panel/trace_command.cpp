// orvane-panel trace: loads the module, places the panel, runs the scenario
// and prints the trace on standard output; warnings and errors go to
// standard error.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "commands.h"
#include "host.h"
#include "host_error.h"
#include "scenario.h"
#include "token_names.h"
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

struct UsageError {
  std::string message;
};

bool parse_int(const std::string& s, int& out) {
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

// "INSTANCE:X,Y[:extra][@T]" into its parts.
void parse_point(const std::string& text, GaugeRef& target, int& x, int& y, std::string& extra, double& t) {
  std::string s = text;
  t = 0.0;
  if (auto at = s.rfind('@'); at != std::string::npos) {
    const std::string when = s.substr(at + 1);
    auto [end, ec] = std::from_chars(when.data(), when.data() + when.size(), t);
    if (ec != std::errc() || end != when.data() + when.size() || !std::isfinite(t) || t < 0)
      throw UsageError{"bad time in '" + text + "'"};
    s = s.substr(0, at);
  }
  const auto colon = s.find(':');
  if (colon == std::string::npos) throw UsageError{"'" + text + "' is not INSTANCE:X,Y"};
  const std::string who = s.substr(0, colon);
  std::string rest = s.substr(colon + 1);
  extra.clear();
  if (auto c2 = rest.find(':'); c2 != std::string::npos) {
    extra = rest.substr(c2 + 1);
    rest = rest.substr(0, c2);
  }
  const auto comma = rest.find(',');
  if (comma == std::string::npos || !parse_int(rest.substr(0, comma), x) ||
      !parse_int(rest.substr(comma + 1), y))
    throw UsageError{"'" + text + "' needs integer X,Y"};
  int index = 0;
  if (parse_int(who, index)) {
    if (index < 0) throw UsageError{"negative instance in '" + text + "'"};
    target.instance = static_cast<std::size_t>(index);
  } else if (!who.empty()) {
    target.gauge = who;
  } else {
    throw UsageError{"'" + text + "' names no instance"};
  }
}

std::string directory_of(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

int exit_code_of(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::usage:
      return kExitUsage;
    case ErrorKind::unreadable:
      return kExitUnreadable;
    case ErrorKind::bad_module:
      return kExitBadModule;
    case ErrorKind::bad_panel:
      return kExitBadPanel;
    case ErrorKind::bad_scenario:
      return kExitBadScenario;
  }
  return kExitInternal;
}

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
        const std::string& v = value();
        const auto eq = v.find('=');
        if (eq == std::string::npos) throw UsageError{"--set needs TOKEN=VALUE"};
        auto id = token_by_name(v.substr(0, eq));
        if (!id) throw UsageError{"unknown token '" + v.substr(0, eq) + "'"};
        auto tv = parse_token_value(v.substr(eq + 1));
        if (!tv) throw UsageError{"bad value in '" + v + "'"};
        options.sets.emplace_back(*id, *tv);
      } else if (a == "--click") {
        ScenarioClick c;
        std::string button;
        parse_point(value(), c.target, c.x, c.y, button, c.t);
        if (button.empty() || button == "left") {
          c.button = MouseButton::left;
        } else if (button == "right") {
          c.button = MouseButton::right;
        } else {
          throw UsageError{"click button is left or right, not '" + button + "'"};
        }
        options.clicks.push_back(c);
      } else if (a == "--tooltip") {
        ScenarioTooltip t;
        std::string extra;
        parse_point(value(), t.target, t.x, t.y, extra, t.t);
        if (!extra.empty()) throw UsageError{"--tooltip takes INSTANCE:X,Y[@SECONDS]"};
        options.tooltips.push_back(t);
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
    const Scenario scenario = scenario_path ? parse_scenario(read_file(*scenario_path), *scenario_path,
                                                             directory_of(*scenario_path))
                                            : parse_scenario(kDefaultScenario, "built-in scenario", "");
    std::string panel_name = "built-in panel";
    std::string panel_text = kDefaultPanel;
    if (panel_path || scenario.panel) {
      panel_name = panel_path ? *panel_path : *scenario.panel;
      panel_text = read_file(panel_name);
    }
    const PanelConfig panel = parse_panel_config(panel_text, panel_name);

    auto module = Module::load(module_path.value_or(default_module_path()));
    SimState state;
    Host host(*module, state);
    std::vector<std::string> warnings = panel.warnings;
    host.place(panel, warnings);
    for (const auto& w : warnings) std::fprintf(stderr, "orvane-panel: warning: %s\n", w.c_str());
    if (host.instances().empty()) {
      throw HostError(ErrorKind::bad_panel, panel_name + ": places no gauge of module " + module->name());
    }
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
