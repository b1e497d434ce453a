// orvane-panel view: the panel live in a window (view_core.h does the
// work, view_window.h is the window system's part). The host runs the panel
// at the simulator's 18 updates a second, playing the scenario; real left
// and right clicks go to the gauge under the pointer, which shows the cursor
// its areas ask for and their tooltip. The keyboard pauses, steps and speeds
// the flight and moves the main flight tokens; the module is reloaded when
// its file changes.
//
// A script (--script) drives the same window with input events at simulated
// times, as fast as the machine runs, for tests and demonstrations.
#include <memory>
#include <optional>
#include <string>

#include "cli.h"
#include "commands.h"
#include "host/panel/screen_layout.h"
#include "view_core.h"
#include "view_script.h"
#include "view_window.h"

namespace orv::panel_tool {

namespace {

constexpr const char* kViewHelp =
    "Usage: orvane-panel view [options]\n"
    "\n"
    "Runs the panel live in a window at 18 updates a second, playing the\n"
    "scenario (the built-in one by default; after its end the flight holds).\n"
    "Left and right clicks go to the gauge under the pointer; the pointer shows\n"
    "the cursor and the tooltip of the area under it. The module is reloaded\n"
    "(and the scenario restarted) when its file changes.\n"
    "\n"
    "Keys:\n"
    "  Space        pause or resume          .   one frame (while paused)\n"
    "  + / -        double or halve the speed (1/8 to 8 times)\n"
    "  Up / Down    pitch 1 degree nose up or down\n"
    "  Left / Right bank 2 degrees left or right\n"
    "  [ / ]        heading 5 degrees left or right\n"
    "  PgUp / PgDn  airspeed 10 knots up or down\n"
    "  Home / End   altitude 100 feet up or down\n"
    "  Backspace    give the flight tokens back to the scenario\n"
    "  R            restart the scenario        Q or Escape  quit\n"
    "\n"
    "Options:\n"
    "  --module PATH    gauge module (default: Orvane_Instr next to this program)\n"
    "  --panel FILE     panel.cfg (default: the scenario's panel, else the built-in one)\n"
    "  --scenario FILE  scenario JSON (default: the built-in scenario)\n"
    "  --set TOKEN=VALUE, --click INSTANCE:X,Y[:left|right][@SECONDS]\n"
    "                   as for trace\n"
    "  --scale F        window scale, 0.25 to 4 (default 1)\n"
    "  --screen WxH     the screen the panel's windows are placed on (default:\n"
    "                   the panel's own, as render takes it)\n"
    "  --script FILE    input events at simulated times, run without waiting;\n"
    "                   one per line: SECONDS click X,Y [left|right] |\n"
    "                   SECONDS move X,Y | SECONDS key NAME |\n"
    "                   SECONDS screenshot FILE.png | SECONDS quit\n"
    "                   (X,Y in window pixels at scale 1, NAME a key: space,\n"
    "                   up, down, left, right, page up, page down, home, end,\n"
    "                   backspace, escape, q, r, ., +, -, [, ] or another\n"
    "                   character;\n"
    "                   a step at time t comes after the frame of t has run,\n"
    "                   and the flight runs on whatever the pause key says)\n"
    "  --screenshot FILE.png  writes the window's picture when the viewer ends\n"
    "  --x87 24|53|64   32-bit Windows build: x87 precision for every call into\n"
    "                   the module, as for trace (other builds refuse it)\n"
    "  --help           this text\n"
    "\n"
    "Standard output: one line per click (instance, point, what the gauge\n"
    "did), per key event the module sent, per window opened or closed, per\n"
    "reload, and per screenshot written.\n"
    "\n";

}  // namespace

int run_view(const Args& args) {
  CommonOptions common;
  double scale = 1.0;
  std::optional<host::ScreenSize> screen;
  std::optional<std::string> script_path;
  std::string screenshot;
  OptionTable table = run_options(common);
  table.push_back(value_option("--scale", "F", [&](const std::string& v) {
    if (!parse_seconds(v, scale) || scale < 0.25 || scale > 4.0)
      throw UsageError{"--scale needs a factor from 0.25 to 4, not '" + v + "'"};
  }));
  table.push_back(value_option("--screen", "WxH", [&](const std::string& v) {
    screen = host::parse_screen_size(v);
    if (!screen) throw UsageError{"--screen needs WIDTHxHEIGHT, each 16 to 8192 pixels, not '" + v + "'"};
  }));
  table.push_back(value_option(
      "--script", "FILE", [&](const std::string& v) { script_path = v; }, Must::read_file));
  table.push_back(value_option("--screenshot", "FILE.png", [&](const std::string& v) {
    screenshot = v;
    if (screenshot.empty()) throw UsageError{"--screenshot needs a file name"};
  }));
  if (auto exit = parse_command_line("view", kViewHelp, args, table)) return *exit;

  return report_errors([&] {
    std::optional<ViewScript> script;
    if (script_path) script = read_view_script(*script_path);
    Inputs inputs = load_inputs(common.scenario, common.panel);
    const std::string module = common.module.value_or(default_module_path());
    const std::unique_ptr<ViewWindow> window = start_view_window();
    Viewer viewer(module, std::move(inputs), common, scale, screen);
    window->open(viewer.width(), viewer.height());
    return viewer.run(*window, script, screenshot);
  });
}

}  // namespace orv::panel_tool
