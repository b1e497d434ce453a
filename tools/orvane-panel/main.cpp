// orvane-panel: runs the Orvane gauge module in the substitute host.
//
//   orvane-panel trace --module Orvane_Instr.so --frames 36
//   orvane-panel render --module Orvane_Instr.so --out out
//
// Subcommands are looked up in one table; a subcommand that another build
// adds (such as render) gets a row there.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "commands.h"
#include "host/load/module_call.h"
#include "host/load/stop_request.h"
#include "names.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace orv::panel_tool {

namespace {

struct Command {
  const char* name;
  const char* summary;
  int (*run)(const Args& args);  // null: not available in this build
};

constexpr Command kCommands[] = {
    {"check", "check a panel.cfg against the module", &run_check},
    {"info", "describe the module's gauges: sizes, elements, tokens, mouse areas, events", &run_info},
    {"trace", "run the panel through a scenario and print a trace", &run_trace},
#if defined(ORV_HAVE_RENDER)
    {"render", "render the instruments to PNG", &run_render},
#else
    {"render", "render the instruments to PNG", nullptr},
#endif
    {"tokens", "print the token variables the host serves", &run_tokens},
#if defined(ORV_HAVE_VIEW)
    {"view", "run the panel live in a window: clicks, tooltips, keys", &run_view},
#else
    {"view", "run the panel live in a window: clicks, tooltips, keys", nullptr},
#endif
};

void usage(std::FILE* out) {
  std::fprintf(out, "Usage: orvane-panel <command> [options]\n\nCommands:\n");
  for (const auto& c : kCommands) {
    std::fprintf(out, "  %-8s %s%s\n", c.name, c.summary,
                 c.run == nullptr ? " (not available in this build)" : "");
  }
  std::fprintf(out, "\n'orvane-panel <command> --help' describes a command.\n\n%s", kExitCodeHelp);
}

// The first SIGINT or SIGTERM asks the run to stop at the next frame (the
// tool then exits with 128 + the signal); a second one, the default action,
// ends the process at once. Installed before the module is loaded, so a
// library the module starts (audio) finds the signals taken and leaves them.
void on_stop_signal(int signal) {
  host::request_stop(signal);
  std::signal(signal, SIG_DFL);
}

void install_stop_handlers() {
  std::signal(SIGINT, on_stop_signal);
  std::signal(SIGTERM, on_stop_signal);
#if !defined(_WIN32)
  // A reader that goes away (`trace | head -1`) shows as a write error
  // (EPIPE), which ends the command quietly, instead of killing it.
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

// Standard output is flushed before the exit: a command whose output could
// not be written (a full disk, /dev/full) exits 3 and says so, whatever its
// own result; a reader that closed the pipe early is not an error (as with
// common tools: `orvane-panel trace | head -1` exits 0).
int finish_output(int code) {
  // An earlier write that failed left its reason in errno, most likely.
  const bool earlier = std::ferror(stdout) != 0;
  const int saved = errno;
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int error = flushed ? (earlier ? saved : 0) : errno;
  if (flushed && !earlier) return code;
  if (error == EPIPE || host::output_closed()) return code;
  std::fprintf(stderr, "orvane-panel: standard output: cannot write: %s\n",
               std::strerror(error != 0 ? error : EIO));
  return code >= kExitInterrupted ? code : kExitUnreadable;
}

}  // namespace

}  // namespace orv::panel_tool

int main(int argc, char** argv) {
  using namespace orv::panel_tool;
#if defined(_WIN32)
  // The trace is byte-identical on every platform: no CR before LF.
  _setmode(_fileno(stdout), _O_BINARY);
  // Every text the tool writes is UTF-8; a console shows it as such.
  SetConsoleOutputCP(CP_UTF8);
#endif
#if !defined(_WIN32)
  // The module opens SDL audio for its click sounds; on a machine without a
  // sound device the default drivers complain on standard error. The
  // substitute host plays no sound unless SDL_AUDIODRIVER names a driver,
  // but in the live viewer.
  const bool live = argc >= 2 && std::string(argv[1]) == "view";
  if (std::getenv("SDL_AUDIODRIVER") == nullptr && !live) setenv("SDL_AUDIODRIVER", "dummy", 1);
#endif
  // The 32-bit build's C++ library parses numbers as the native one only
  // in the x87 state of a Windows process, not in the MinGW runtime's.
  orv::host::use_double_precision_x87();
  install_stop_handlers();
  if (argc < 2) {
    usage(stderr);
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--version" || name == "-V") {
    std::printf("orvane-panel %s\n", ORV_PANEL_VERSION);
    return kExitOk;
  }
  if (name == "--help" || name == "-h" || name == "help") {
    usage(stdout);
    return kExitOk;
  }
  orv::host::install_fault_report(kExitModuleFault, kExitInternal, kExitBadModule);
  for (const auto& c : kCommands) {
    if (name != c.name) continue;
    if (c.run == nullptr) {
      std::fprintf(stderr, "orvane-panel: '%s' is not available in this build\n", c.name);
      return kExitUnavailable;
    }
    return finish_output(c.run(Args(argv + 2, argv + argc)));
  }
  std::vector<std::string> names;
  for (const auto& c : kCommands) names.emplace_back(c.name);
  std::fprintf(stderr, "orvane-panel: unknown command '%s'%s\n\n", name.c_str(),
               did_you_mean(name, names).c_str());
  usage(stderr);
  return kExitUsage;
}
