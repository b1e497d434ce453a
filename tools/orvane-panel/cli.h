// Command-line helpers shared by the subcommands: the options they all take,
// option values, clicks and token settings as written on the command line,
// the loading of the module, panel and scenario every subcommand starts from,
// and the reporting of errors.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commands.h"
#include "host.h"
#include "host_error.h"
#include "scenario.h"

namespace orv::panel_tool {

// A bad command line; the subcommand prints it with a pointer to its --help.
struct UsageError {
  std::string message;
};

// The options every subcommand takes.
struct CommonOptions {
  std::optional<std::string> module;        // --module
  std::optional<std::string> panel;         // --panel
  std::optional<std::string> scenario;      // --scenario
  host::TokenSets sets;                     // --set, in order
  std::vector<host::ScenarioClick> clicks;  // --click, in order
};

// Takes the value of the option being parsed; throws UsageError when the
// command line ends before it.
using OptionValue = std::function<const std::string&()>;

// Takes `option` (and its value) into `common` when it is one of the common
// options; false when it is not. --help is not: each subcommand has its text.
bool take_common_option(const std::string& option, const OptionValue& value, CommonOptions& common);

// A subcommand's own options: false when `option` is not one of them.
using OwnOption = std::function<bool(const std::string& option, const OptionValue& value)>;

// Parses the arguments of subcommand `command`: --help (or -h) prints `help`
// and the exit codes; a bad command line prints its error with a pointer to
// the --help. Returns the exit code when the subcommand ends there, nullopt
// when it goes on.
std::optional<int> parse_command_line(const char* command, const char* help, const Args& args,
                                      CommonOptions& common, const OwnOption& own);

// Runs a subcommand's work: host errors print and exit with their kind's
// code, anything else unexpected as an internal error.
int report_errors(const std::function<int()>& work);

bool parse_int(const std::string& s, int& out);
bool parse_seconds(const std::string& s, double& out);  // finite, >= 0

// "INSTANCE:X,Y[:left|right][@SECONDS]" (a click on the command line).
host::ScenarioClick parse_click(const std::string& text);
// "INSTANCE:X,Y[@SECONDS]".
host::ScenarioTooltip parse_tooltip(const std::string& text);
// "TOKEN=VALUE".
std::pair<std::uint32_t, host::SimValue> parse_set(const std::string& text);

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
