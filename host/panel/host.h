// The substitute panel host: serves the module's service table from a
// SimState, places gauge instances from a panel configuration and drives them
// through the lifecycle the module relies on:
//
//   load:     service table written into ImportTable, Linkage init called
//   start():  parameter strings (at placement), service 2 for every instance,
//             then 14 for every instance, then 3 for every instance
//   frames:   begin_frame() (tick and clock tokens), then update(): service 6
//             for every instance, element evaluation in drawing order for the
//             instances in open windows, service 10 for those instances
//   stop():   service 12 for every instance, then 15, then Linkage deinit
//
// One host is active at a time: the service table is process-wide, as the
// module's ImportTable is.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/aircraft/simulator.h"
#include "host/load/module.h"
#include "host/panel/gauge_instance.h"
#include "host/panel/panel_config.h"
#include "host/panel/tooltip.h"

namespace orv::host {

// `move`: the pointer moving over boxes that ask for mouse movement.
enum class MouseButton { left, right, move };

struct PlacedInstance {
  std::unique_ptr<GaugeInstance> gauge;
  std::uint32_t window = 0;   // window number
  int x = 0, y = 0;           // placement in the window
  int width = 0, height = 0;  // size in the window (see Host::size)
  // Size of the gauge's first bitmap: the gauge's own coordinates, in which
  // its elements and mouse boxes lie (0 when the gauge has no bitmap).
  int bitmap_width = 0, bitmap_height = 0;
};

// How a click or tooltip names its point in a gauge: in the gauge's design
// coordinates (its first bitmap's pixels, whatever size it is placed at), in
// pixels of the instance as placed (its panel size), or as a mouse record by
// its number in the gauge's mouse list (the centre of its box; x holds the
// number).
enum class PointSpace { design, placed, area };
struct GaugePoint {
  PointSpace space = PointSpace::design;
  int x = 0, y = 0;
};

struct ClickResult {
  abi::PixPoint at{-1, -1};  // the point in design coordinates; -1,-1: no such mouse record
  int rect = -1;             // index of the box in the mouse list, -1: none took the click
  std::uint32_t event = 0;   // event the host sent for the box, or 0
  bool called = false;       // the box's mouse callback was called
};

// A sound the module started, as a host audio service reports it
// (Host::sound_played); the trace lists each in its frame.
struct SoundPlay {
  std::int64_t frame = 0;   // SimState frame (kSetupFrame before the first)
  int instance = -1;        // the instance whose callback played it, -1: none
  int channel = -1;         // the module's sound buffers, numbered in the order they were made
  int resource = -1;        // the WAVE resource the buffer was loaded from, -1: unknown
  std::uint32_t bytes = 0;  // sample bytes queued
};

struct TooltipResult {
  abi::PixPoint at{-1, -1};  // the point in design coordinates, as for ClickResult
  int rect = -1;             // the record that gave the tooltip, -1: none
  std::string text;
};

class Host {
 public:
  // Installs the service table into the module and calls its init.
  Host(Module& module, SimState& state);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // Places one instance per usable gauge line of `panel`; lines naming another
  // module or an unknown gauge add a warning ("file:line: reason") and are
  // skipped. Must come before start().
  void place(const PanelConfig& panel, std::vector<std::string>& warnings);
  // Places one instance directly (tests, tools), at its default size.
  std::size_t add_instance(const std::string& gauge, std::uint32_t window, int x, int y,
                           const std::string& parameters = {});
  // Sizes instance `index` as the simulator does: the gauge line's width and
  // height; without a width, the header's default size; without a height,
  // the width times the first bitmap's height over its width (the width
  // itself when the gauge has no bitmap).
  void size(std::size_t index, std::optional<int> width, std::optional<int> height);

  void start();
  void begin_frame();  // enters the next frame (0 first)
  void update();       // services 6, evaluation, 10
  void frame() {
    begin_frame();
    update();
  }
  void stop();
  bool started() const { return started_; }
  bool stopped() const { return stopped_; }

  // Routes a click at point (x, y) of instance `index` through its mouse
  // list; see host.cpp for the rules. Points of clicks and tooltips are
  // pixels of the instance as placed (width x height); the host scales them
  // to the gauge's bitmap coordinates, in which its mouse boxes lie.
  ClickResult click(std::size_t index, int x, int y, MouseButton button);
  // The same for a point given in any of the spaces of GaugePoint.
  ClickResult click(std::size_t index, const GaugePoint& point, MouseButton button);
  // The cursor the areas under a point ask for (kCursorNone: none).
  abi::i32 cursor(std::size_t index, int placed_x, int placed_y);
  // The tooltip the instance shows at placed point (x, y), or at `point`.
  TooltipResult tooltip(std::size_t index, int x, int y);
  TooltipResult tooltip(std::size_t index, const GaugePoint& point);
  // `point` in the gauge's design coordinates; nullopt for a mouse record
  // the gauge does not have.
  std::optional<abi::PixPoint> design_point(std::size_t index, const GaugePoint& point) const;
  // A design point in pixels of the instance as placed (the pixel whose
  // area holds the design pixel's centre).
  abi::PixPoint placed_point(std::size_t index, abi::PixPoint design) const;

  // Whether the instance's window is open (its elements are evaluated).
  bool shown(std::size_t index) const;

  std::vector<PlacedInstance>& instances() { return instances_; }
  const std::vector<PlacedInstance>& instances() const { return instances_; }
  GaugeInstance& instance(std::size_t index) { return *instances_.at(index).gauge; }
  SimState& state() { return state_; }
  const SimState& state() const { return state_; }
  Module& module() { return module_; }
  // Panel windows as placed (number, title, visibility at start).
  const std::vector<PanelWindow>& windows() const { return windows_; }

  // Services called back by the module's code.
  void close_calling_window();
  // Logs a sound the module queued, for the instance whose callback runs
  // (called by whatever answers the module's audio calls).
  void sound_played(int channel, int resource, std::uint32_t bytes);
  // The instance whose callback runs, -1: none.
  int calling_instance() const;
  const std::vector<SoundPlay>& sounds() const { return sounds_; }
  void clear_sounds() { sounds_.clear(); }
  static Host* active();

 private:
  void call_gauge(PlacedInstance& p, abi::i32 service, abi::uptr extra);
  void evaluate(PlacedInstance& p);
  TooltipSources tooltip_sources(abi::MouseRect& tip, abi::GaugeHeader* header);
  double token_number(const abi::TokenVar& var) const;
  int index_of(const PlacedInstance& p) const;

  Module& module_;
  SimState& state_;
  std::vector<PlacedInstance> instances_;
  std::vector<PanelWindow> windows_;
  std::vector<SoundPlay> sounds_;
  void* table_[128] = {};
  PlacedInstance* current_ = nullptr;  // the instance whose callback runs
  std::int64_t next_frame_ = 0;
  bool started_ = false;
  bool stopped_ = false;
};

}  // namespace orv::host
