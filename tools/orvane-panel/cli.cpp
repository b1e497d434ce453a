#include "cli.h"

#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <iostream>

#include "stop_request.h"
#include "token_names.h"

namespace orv::panel_tool {

using namespace orv::host;

namespace {

// The farthest a clicked point may lie from its gauge's corner: beyond any
// placed gauge, within what the host's coordinates hold.
constexpr int kMaxPoint = 1000000;

// "INSTANCE:X,Y[:extra][@T]" into its parts.
void parse_point(const std::string& text, GaugeRef& target, int& x, int& y, std::string& extra, double& t) {
  std::string s = text;
  t = 0.0;
  if (auto at = s.rfind('@'); at != std::string::npos) {
    if (!parse_seconds(s.substr(at + 1), t) || t > kMaxSeconds)
      throw UsageError{"bad time in '" + text + "' (seconds from 0 to " + std::to_string(int(kMaxSeconds)) +
                       ")"};
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
  if (x < -kMaxPoint || x > kMaxPoint || y < -kMaxPoint || y > kMaxPoint)
    throw UsageError{"'" + text + "': X and Y lie within -" + std::to_string(kMaxPoint) + " to " +
                     std::to_string(kMaxPoint)};
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

}  // namespace

bool take_common_option(const std::string& option, const OptionValue& value, CommonOptions& common) {
  if (option == "--module") {
    common.module = value();
  } else if (option == "--panel") {
    common.panel = value();
  } else if (option == "--scenario") {
    common.scenario = value();
  } else if (option == "--set") {
    common.sets.push_back(parse_set(value()));
  } else if (option == "--click") {
    common.clicks.push_back(parse_click(value()));
  } else {
    return false;
  }
  return true;
}

std::optional<int> parse_command_line(const char* command, const char* help, const Args& args,
                                      CommonOptions& common, const OwnOption& own) {
  try {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& a = args[i];
      const OptionValue value = [&]() -> const std::string& {
        if (i + 1 >= args.size()) throw UsageError{a + " needs a value"};
        return args[++i];
      };
      if (a == "--help" || a == "-h") {
        std::cout << help << kExitCodeHelp;
        return kExitOk;
      }
      if (!take_common_option(a, value, common) && !own(a, value))
        throw UsageError{"unknown option '" + a + "'"};
    }
  } catch (const UsageError& e) {
    std::fprintf(stderr, "orvane-panel %s: %s\n(see 'orvane-panel %s --help')\n", command, e.message.c_str(),
                 command);
    return kExitUsage;
  }
  return std::nullopt;
}

int report_errors(const std::function<int()>& work) {
  try {
    return work();
  } catch (const HostError& e) {
    std::fprintf(stderr, "orvane-panel: %s\n", e.what());
    return exit_code_of(e.kind());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orvane-panel: internal error: %s\n", e.what());
    return kExitInternal;
  }
}

bool parse_int(const std::string& s, int& out) {
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

bool parse_seconds(const std::string& s, double& out) {
  double t = 0.0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), t);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(t) || t < 0)
    return false;
  out = t;
  return true;
}

ScenarioClick parse_click(const std::string& text) {
  ScenarioClick c;
  std::string button;
  parse_point(text, c.target, c.x, c.y, button, c.t);
  if (button.empty() || button == "left") {
    c.button = MouseButton::left;
  } else if (button == "right") {
    c.button = MouseButton::right;
  } else if (button == "move") {
    c.button = MouseButton::move;
  } else {
    throw UsageError{"click button is left or right (or move), not '" + button + "'"};
  }
  return c;
}

ScenarioTooltip parse_tooltip(const std::string& text) {
  ScenarioTooltip t;
  std::string extra;
  parse_point(text, t.target, t.x, t.y, extra, t.t);
  if (!extra.empty()) throw UsageError{"--tooltip takes INSTANCE:X,Y[@SECONDS]"};
  return t;
}

std::pair<std::uint32_t, SimValue> parse_set(const std::string& v) {
  const auto eq = v.find('=');
  if (eq == std::string::npos) throw UsageError{"--set needs TOKEN=VALUE"};
  auto id = token_by_name(v.substr(0, eq));
  if (!id) throw UsageError{"unknown token '" + v.substr(0, eq) + "'"};
  auto tv = parse_token_value(v.substr(eq + 1));
  if (!tv) throw UsageError{"bad value in '" + v + "'"};
  const bool text = tv->kind == SimValue::Kind::text;
  if (!token_takes(*id, text))
    throw UsageError{"'" + v + "': the token takes " + (text ? "a number" : "a text, s:TEXT")};
  return {*id, *tv};
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
    case ErrorKind::interrupted:
      return kExitInterrupted + (stop_signal() != 0 ? stop_signal() : SIGINT);
  }
  return kExitInternal;
}

Inputs load_inputs(const std::optional<std::string>& scenario_path,
                   const std::optional<std::string>& panel_path) {
  Inputs in{scenario_path
                ? parse_scenario(read_file(*scenario_path), *scenario_path, directory_of(*scenario_path))
                : parse_scenario(kDefaultScenario, "built-in scenario", ""),
            {},
            "built-in panel"};
  std::string panel_text = kDefaultPanel;
  if (panel_path || in.scenario.panel) {
    in.panel_name = panel_path ? *panel_path : *in.scenario.panel;
    panel_text = read_file(in.panel_name);
  }
  in.panel =
      parse_panel_config(panel_text, in.panel_name,
                         panel_path || in.scenario.panel ? directory_of(in.panel_name) : std::string());
  return in;
}

void place_panel(Host& host, const Inputs& inputs) {
  std::vector<std::string> warnings = inputs.panel.warnings;
  host.place(inputs.panel, warnings);
  for (const auto& w : warnings) std::fprintf(stderr, "orvane-panel: warning: %s\n", w.c_str());
  if (host.instances().empty()) {
    throw HostError(ErrorKind::bad_panel,
                    inputs.panel_name + ": places no gauge of module " + host.module().name() +
                        "; the sections seen:\n" + describe_sections(inputs.panel) +
                        "(gauge lines that were not used are named in the warnings above)");
  }
}

}  // namespace orv::panel_tool
