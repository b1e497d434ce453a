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
#include "host/load/host_error.h"
#include "host/panel/host.h"
#include "host/scenario/scenario.h"

namespace orv::panel_tool {

// A bad command line; the subcommand prints it with a pointer to its --help.
struct UsageError {
  std::string message;
};

// The module next to the executable (Orvane_Instr.so, or .gau on Windows),
// which --module replaces.
std::string default_module_path();

// The options that load what a run starts from, shared by trace, render and
// view.
struct CommonOptions {
  std::optional<std::string> module;        // --module
  std::optional<std::string> panel;         // --panel
  std::optional<std::string> scenario;      // --scenario
  host::TokenSets sets;                     // --set, in order
  std::vector<host::ScenarioClick> clicks;  // --click, in order
};

// What the parser checks of an option's value before the subcommand runs:
// a file or folder to read must exist and be readable (else exit 3).
enum class Must { nothing, read_file, read_folder };

// One row of a subcommand's option table. An option means the same in every
// subcommand that takes it: the rows of shared options come from the
// functions below. A row named "" takes the arguments that are not options
// (its value_name names them in errors).
struct Option {
  std::string name;                                    // "--frames"; "" for the positional arguments
  const char* value_name;                              // "N", "FILE"; null for a flag
  std::function<void(const std::string& value)> take;  // "" for a flag
  Must must = Must::nothing;
};
using OptionTable = std::vector<Option>;

// A flag that sets `on`.
Option flag_option(const char* name, bool& on);
// An option with a value that `take` reads (throwing UsageError when it
// cannot).
Option value_option(const char* name, const char* value_name, std::function<void(const std::string&)> take,
                    Must must = Must::nothing);

// The shared rows.
Option module_option(CommonOptions& common);    // --module PATH
Option panel_option(CommonOptions& common);     // --panel FILE
Option scenario_option(CommonOptions& common);  // --scenario FILE
Option set_option(CommonOptions& common);       // --set TOKEN=VALUE
Option click_option(CommonOptions& common);     // --click INSTANCE:X,Y[:left|right][@SECONDS]
Option tooltip_option(std::vector<host::ScenarioTooltip>& tooltips);  // --tooltip INSTANCE:X,Y[@SECONDS]
Option frames_option(std::optional<int>& frames);                     // --frames N: frames to run
Option json_option(bool& json);                                       // --json
// --x87 24|53|64: the x87 precision that every call into the module starts
// with; a usage error on builds whose module does not use the x87 unit.
Option x87_option();
// --module, --panel, --scenario, --set, --click and --x87 (trace, render, view).
OptionTable run_options(CommonOptions& common);

// Parses the arguments of subcommand `command` by its option table: --help
// (or -h) prints `help` and the exit codes; "--name=value" is "--name value";
// an unknown option names the closest one of the table; a bad command line
// prints its error with a pointer to the --help (exit 2); a file or folder
// that cannot be read exits 3. Returns the exit code when the subcommand
// ends there, nullopt when it goes on.
std::optional<int> parse_command_line(const char* command, const char* help, const Args& args,
                                      const OptionTable& table);

// Throws a usage error naming the closest gauge when `name` is not a gauge
// of `module` (`what` says where the name was given: "--picture").
void require_gauge(const host::Module& module, const std::string& name, const std::string& what);
// The same for the gauges the clicks and tooltips name.
void require_gauges(const host::Module& module, const std::vector<host::ScenarioClick>& clicks,
                    const std::vector<host::ScenarioTooltip>& tooltips);

// A path as the tool prints it: on Windows with '\' throughout, so that a
// folder given with either separator lists its files in one style.
std::string shown_path(std::string path);

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
  std::string panel_directory;  // where its background bitmaps lie; empty: the built-in panel
};
Inputs load_inputs(const std::optional<std::string>& scenario_path,
                   const std::optional<std::string>& panel_path);

// Places the panel's gauges into `host`, printing the panel's warnings;
// throws bad_panel when nothing of the module is placed.
void place_panel(host::Host& host, const Inputs& inputs);

}  // namespace orv::panel_tool
