// The live viewer of `orvane-panel view`, whatever the window system: the
// panel run at the simulator's 18 updates a second through the scenario,
// the windows placed on a screen, input events (from the window or a
// script) turned into clicks, keys, pointer moves and screenshots, the
// picture drawn on the host's canvas, and the module reloaded when its file
// changes. The window system's part is a ViewWindow (view_window.h).
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "host/panel/screen_layout.h"
#include "host/render/canvas.h"
#include "view_script.h"
#include "view_window.h"

namespace orv::panel_tool {

struct ViewSession;

class Viewer {
 public:
  // `screen`: the screen the panel's windows are placed on (nullopt: the
  // panel's own).
  Viewer(std::string module_path, Inputs inputs, CommonOptions common, double scale,
         std::optional<host::ScreenSize> screen = std::nullopt);
  ~Viewer();
  Viewer(const Viewer&) = delete;
  Viewer& operator=(const Viewer&) = delete;

  // The window's size in pixels.
  int width() const;
  int height() const;

  // Runs until the user quits (live) or the script ends, showing the panel
  // in `window`; the exit code. `final_screenshot`, when not empty, is
  // written at the end.
  int run(ViewWindow& window, const std::optional<ViewScript>& script, const std::string& final_screenshot);

 private:
  void load();
  void reload_if_changed();
  double now() const;
  void advance();
  void report_logs();
  // True when the viewer should end.
  bool handle(const ViewInput& input, ViewWindow& window);
  bool key(ViewKey k);
  void nudge(std::uint32_t token, double step);
  void release_flight_tokens();
  struct Hit;
  std::optional<Hit> hit(int wx, int wy);
  void click(int wx, int wy, bool right);
  void draw();
  void present(ViewWindow& window);
  void screenshot(const std::string& path);

  std::string module_path_;
  Inputs inputs_;
  CommonOptions common_;
  double scale_;
  std::optional<host::ScreenSize> screen_;
  std::unique_ptr<ViewSession> session_;
  std::filesystem::file_time_type module_time_{};
  long reload_check_ = 0;
  int screen_w_ = 0, screen_h_ = 0;
  std::unique_ptr<render::Image> picture_;
  int pointer_x_ = 0, pointer_y_ = 0;
  bool pointer_inside_ = false;
  bool paused_ = false;
  double speed_ = 1.0;
  ViewCursor cursor_ = ViewCursor::arrow;
};

}  // namespace orv::panel_tool
