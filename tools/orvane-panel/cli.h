// Command-line helpers shared by the subcommands: option values, clicks and
// token settings as written on the command line, and the loading of the
// module, panel and scenario every subcommand starts from.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host.h"
#include "host_error.h"
#include "scenario.h"

namespace orv::panel_tool {

// A bad command line; the subcommand prints it with a pointer to its --help.
struct UsageError {
  std::string message;
};

bool parse_int(const std::string& s, int& out);
bool parse_seconds(const std::string& s, double& out);  // finite, >= 0

// "INSTANCE:X,Y[:left|right][@SECONDS]" (a click on the command line).
host::ScenarioClick parse_click(const std::string& text);
// "INSTANCE:X,Y[@SECONDS]".
host::ScenarioTooltip parse_tooltip(const std::string& text);
// "TOKEN=VALUE".
std::pair<std::uint32_t, host::TokenValue> parse_set(const std::string& text);

std::string directory_of(const std::string& path);
int exit_code_of(host::ErrorKind kind);

// The scenario (built-in when no file is given) and the panel: --panel,
// else the scenario's, else the built-in one.
struct Inputs {
  host::Scenario scenario;
  host::PanelConfig panel;
  std::string panel_name;
};
Inputs load_inputs(const std::optional<std::string>& scenario_path,
                   const std::optional<std::string>& panel_path);

// Places the panel's gauges into `host`, printing the panel's warnings;
// throws bad_panel when nothing of the module is placed.
void place_panel(host::Host& host, const Inputs& inputs);

}  // namespace orv::panel_tool
