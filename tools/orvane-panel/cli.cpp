#include "cli.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "host/aircraft/token_names.h"
#include "host/load/module_call.h"
#include "host/load/stop_request.h"
#include "names.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

namespace orv::panel_tool {

using namespace orv::host;

namespace {

// "INSTANCE:X,Y[:extra][@T]" into its parts.
// "INSTANCE:X,Y", "INSTANCE:placed:X,Y" or "INSTANCE:#N", then optionally
// ":EXTRA" and "@SECONDS": the point in design coordinates, in pixels of the
// instance as placed, or a mouse record by number.
void parse_point(const std::string& text, GaugeRef& target, int& x, int& y, PointSpace& space,
                 std::string& extra, double& t) {
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
  space = PointSpace::design;
  if (rest.rfind("placed:", 0) == 0) {
    space = PointSpace::placed;
    rest = rest.substr(7);
  }
  extra.clear();
  if (auto c2 = rest.find(':'); c2 != std::string::npos) {
    extra = rest.substr(c2 + 1);
    rest = rest.substr(0, c2);
  }
  if (space == PointSpace::design && !rest.empty() && rest[0] == '#') {
    space = PointSpace::area;
    y = 0;
    if (!parse_int(rest.substr(1), x) || x < 0 || x > 100000)
      throw UsageError{"'" + text +
                       "': #N needs the number of a mouse record (as 'orvane-panel info' lists them)"};
  } else {
    const auto comma = rest.find(',');
    if (comma == std::string::npos || !parse_int(rest.substr(0, comma), x) ||
        !parse_int(rest.substr(comma + 1), y))
      throw UsageError{"'" + text + "' needs integer X,Y (or #N, a mouse record)"};
    if (x < -kMaxPoint || x > kMaxPoint || y < -kMaxPoint || y > kMaxPoint)
      throw UsageError{"'" + text + "': X and Y lie within -" + std::to_string(kMaxPoint) + " to " +
                       std::to_string(kMaxPoint)};
  }
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

Option flag_option(const char* name, bool& on) {
  return {name, nullptr, [&on](const std::string&) { on = true; }};
}

Option value_option(const char* name, const char* value_name, std::function<void(const std::string&)> take,
                    Must must) {
  return {name, value_name, std::move(take), must};
}

Option module_option(CommonOptions& common) {
  return value_option(
      "--module", "PATH", [&common](const std::string& v) { common.module = v; }, Must::read_file);
}

Option panel_option(CommonOptions& common) {
  return value_option(
      "--panel", "FILE", [&common](const std::string& v) { common.panel = v; }, Must::read_file);
}

Option scenario_option(CommonOptions& common) {
  return value_option(
      "--scenario", "FILE", [&common](const std::string& v) { common.scenario = v; }, Must::read_file);
}

Option set_option(CommonOptions& common) {
  return value_option("--set", "TOKEN=VALUE",
                      [&common](const std::string& v) { common.sets.push_back(parse_set(v)); });
}

Option click_option(CommonOptions& common) {
  return value_option("--click", "INSTANCE:X,Y",
                      [&common](const std::string& v) { common.clicks.push_back(parse_click(v)); });
}

Option tooltip_option(std::vector<ScenarioTooltip>& tooltips) {
  return value_option("--tooltip", "INSTANCE:X,Y",
                      [&tooltips](const std::string& v) { tooltips.push_back(parse_tooltip(v)); });
}

Option frames_option(std::optional<int>& frames) {
  return value_option("--frames", "N", [&frames](const std::string& v) {
    int n = 0;
    if (!parse_int(v, n) || n < 0 || n > 10000000)
      throw UsageError{"--frames needs a count of frames to run (18 a second), not '" + v + "'"};
    frames = n;
  });
}

Option json_option(bool& json) { return flag_option("--json", json); }

Option x87_option() {
  return value_option("--x87", "24|53|64", [](const std::string& text) {
    if (!host::kX87InUse) {
      throw UsageError{
          "--x87 applies to the 32-bit Windows build only; this build's module computes in SSE "
          "registers, which the x87 state does not touch"};
    }
    int bits = 0;
    if (!parse_int(text, bits) || (bits != 24 && bits != 53 && bits != 64) ||
        !host::set_module_x87_precision(bits))
      throw UsageError{"--x87 is 24, 53 or 64, not '" + text + "'"};
  });
}

OptionTable run_options(CommonOptions& common) {
  return {module_option(common), panel_option(common), scenario_option(common),
          set_option(common),    click_option(common), x87_option()};
}

namespace {

// Why `path` cannot be read as `must` asks, or "" when it can (in the words
// the readers use when they fail later).
std::string unreadable(const std::string& path, Must must) {
  std::error_code ec;
  const bool folder = std::filesystem::is_directory(path, ec);
  if (must == Must::read_folder) {
    if (folder) return "";
    return std::filesystem::exists(path, ec) ? "not a folder" : "cannot open: No such file or directory";
  }
  if (folder) return "cannot open: is a directory";
  // Opened without waiting (a FIFO would block here), a regular file of sane size.
  try {
    require_input_file(path);
  } catch (const HostError& e) {
    const std::string message = e.what();
    return message.rfind(path + ": ", 0) == 0 ? message.substr(path.size() + 2) : message;
  }
  return "";
}

}  // namespace

std::optional<int> parse_command_line(const char* command, const char* help, const Args& args,
                                      const OptionTable& table) {
  std::vector<std::pair<std::string, Must>> files;
  auto usage = [&](const std::string& message) {
    std::fprintf(stderr, "orvane-panel %s: %s\n(see 'orvane-panel %s --help')\n", command, message.c_str(),
                 command);
    return std::optional<int>(kExitUsage);
  };
  const Option* positional = nullptr;
  std::vector<std::string> names{"--help"};
  for (const Option& o : table) {
    if (o.name.empty())
      positional = &o;
    else
      names.push_back(o.name);
  }
  const Option* last_flag = nullptr;
  try {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& a = args[i];
      if (a == "--help" || a == "-h") {
        std::cout << help << kExitCodeHelp;
        return kExitOk;
      }
      std::string name = a;
      std::optional<std::string> inline_value;
      if (const auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
        name = a.substr(0, eq);
        inline_value = a.substr(eq + 1);
      }
      const auto row = std::find_if(table.begin(), table.end(),
                                    [&](const Option& o) { return !o.name.empty() && o.name == name; });
      if (row == table.end()) {
        if (a.size() > 1 && a[0] == '-')
          throw UsageError{"unknown option '" + name + "'" + did_you_mean(name, names)};
        if (positional == nullptr) {
          std::string message = "unexpected argument '" + a + "'";
          if (last_flag != nullptr) message += " (" + last_flag->name + " takes no value)";
          throw UsageError{message};
        }
        positional->take(a);
        if (positional->must != Must::nothing) files.emplace_back(a, positional->must);
        last_flag = nullptr;
        continue;
      }
      last_flag = nullptr;
      if (row->value_name == nullptr) {
        if (inline_value) throw UsageError{name + " takes no value"};
        row->take("");
        last_flag = &*row;
        continue;
      }
      if (!inline_value && i + 1 >= args.size())
        throw UsageError{name + " needs a value (" + row->value_name + ")"};
      const std::string value = inline_value ? *inline_value : args[++i];
      row->take(value);
      if (row->must != Must::nothing) files.emplace_back(value, row->must);
    }
  } catch (const UsageError& e) {
    return usage(e.message);
  }
  for (const auto& [path, must] : files) {
    const std::string why = unreadable(path, must);
    if (why.empty()) continue;
    std::fprintf(stderr, "orvane-panel %s: %s: %s\n", command, path.c_str(), why.c_str());
    return kExitUnreadable;
  }
  return std::nullopt;
}

void require_gauge(const Module& module, const std::string& name, const std::string& what) {
  if (module.find_gauge(name) != nullptr) return;
  std::vector<std::string> names;
  for (const abi::GaugeHeader* h : module.gauges()) names.push_back(h->name);
  throw HostError(ErrorKind::usage, what + ": module " + module.name() + " has no gauge '" + name + "'" +
                                        did_you_mean(name, names));
}

void require_gauges(const Module& module, const std::vector<ScenarioClick>& clicks,
                    const std::vector<ScenarioTooltip>& tooltips) {
  for (const ScenarioClick& c : clicks)
    if (!c.target.gauge.empty()) require_gauge(module, c.target.gauge, "--click");
  for (const ScenarioTooltip& t : tooltips)
    if (!t.target.gauge.empty()) require_gauge(module, t.target.gauge, "--tooltip");
}

std::string shown_path(std::string path) {
#if defined(_WIN32)
  std::replace(path.begin(), path.end(), '/', '\\');
#endif
  return path;
}

int report_errors(const std::function<int()>& work) {
  try {
    return work();
  } catch (const HostError& e) {
    if (e.kind() != ErrorKind::output_closed) std::fprintf(stderr, "orvane-panel: %s\n", e.what());
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
  parse_point(text, c.target, c.x, c.y, c.space, button, c.t);
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
  parse_point(text, t.target, t.x, t.y, t.space, extra, t.t);
  if (!extra.empty())
    throw UsageError{"--tooltip takes INSTANCE:X,Y[@SECONDS] (or INSTANCE:placed:X,Y, INSTANCE:#N)"};
  return t;
}

std::pair<std::uint32_t, SimValue> parse_set(const std::string& v) {
  const auto eq = v.find('=');
  if (eq == std::string::npos) throw UsageError{"--set needs TOKEN=VALUE"};
  const std::string name = v.substr(0, eq);
  auto id = token_by_name(name);
  if (!id || !token_number_served(*id)) {
    std::vector<std::string> names;
    for (const TokenInfo& t : token_table()) names.emplace_back(t.name);
    throw UsageError{"unknown token '" + name + "'" + did_you_mean(name, names)};
  }
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
    case ErrorKind::output_closed:
      return kExitOk;
    case ErrorKind::unavailable:
      return kExitUnavailable;
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
  if (panel_path || in.scenario.panel) in.panel_directory = directory_of(in.panel_name);
  in.panel = parse_panel_config(panel_text, in.panel_name, in.panel_directory);
  return in;
}

void place_panel(Host& host, const Inputs& inputs) {
  std::vector<std::string> warnings = inputs.panel.warnings;
  host.place(inputs.panel, warnings);
  for (const auto& w : warnings) std::fprintf(stderr, "orvane-panel: warning: %s\n", printable(w).c_str());
  if (host.instances().empty()) {
    throw HostError(ErrorKind::bad_panel,
                    inputs.panel_name + ": places no gauge of module " + host.module().name() +
                        "; the sections seen:\n" + describe_sections(inputs.panel) +
                        "(gauge lines that were not used are named in the warnings above)");
  }
}

std::string default_module_path() {
  std::string exe;
#if defined(_WIN32)
  char buffer[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  exe.assign(buffer, n < MAX_PATH ? n : 0);
  const char* file = "Orvane_Instr.gau";
#else
  char buffer[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) exe.assign(buffer, static_cast<std::size_t>(n));
  const char* file = "Orvane_Instr.so";
#endif
  const auto slash = exe.find_last_of("/\\");
  return slash == std::string::npos ? std::string(file) : exe.substr(0, slash + 1) + file;
}

}  // namespace orv::panel_tool
