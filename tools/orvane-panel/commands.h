// The subcommands of orvane-panel. Each takes the arguments after its own
// name and returns the process exit code.
#pragma once

#include <string>
#include <vector>

namespace orv::panel_tool {

// Exit codes shared by every subcommand.
enum Exit : int {
  kExitOk = 0,
  kExitInternal = 1,       // an unexpected failure
  kExitUsage = 2,          // bad command line
  kExitUnreadable = 3,     // a file that cannot be opened, read or written
  kExitBadModule = 4,      // not a gauge module, or its records are wrong
  kExitBadPanel = 5,       // a panel that places no gauge of the module
  kExitBadScenario = 6,    // a scenario that does not parse
  kExitUnavailable = 7,    // a subcommand this build does not include, or (view) no display
  kExitModuleFault = 8,    // the module crashed inside one of its callbacks
  kExitInterrupted = 128,  // plus the signal: 130 SIGINT, 143 SIGTERM (the run stops between frames)
};

inline constexpr const char* kExitCodeHelp =
    "Exit codes:\n"
    "  0  success\n"
    "  1  internal error\n"
    "  2  bad command line\n"
    "  3  a file cannot be opened, read or written\n"
    "  4  the module is not a gauge module, or its records are wrong\n"
    "  5  the panel places no gauge of the module\n"
    "  6  the scenario does not parse\n"
    "  7  the subcommand is not available in this build, or view has no display\n"
    "  8  the module crashed inside a callback (standard error names the gauge,\n"
    "     instance, callback kind and element; the output so far is kept)\n"
    "  130, 143  stopped by SIGINT or SIGTERM (between two frames)\n";

using Args = std::vector<std::string>;

int run_trace(const Args& args);
// Exit 0 clean, 1 warnings with --strict, 2 errors.
int run_check(const Args& args);
int run_info(const Args& args);
int run_tokens(const Args& args);
// Native builds only (Cairo); null in the command table elsewhere.
int run_render(const Args& args);
int run_view(const Args& args);

// Files built into the tool.
extern const char kDefaultPanel[];
extern const char kDefaultScenario[];

}  // namespace orv::panel_tool
