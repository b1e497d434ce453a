// The substitute host around the real module for the fuzz targets: the module
// loaded once per process (before fuzzing starts, so its coverage counts),
// and a host whose gauges sit in one open window, drawing surfaces attached,
// started. Starting gauges opens the audio device, which takes long, so a
// target keeps one host for the whole run and feeds it input after input, as
// the simulator feeds one panel frame after frame. Everything is built with AddressSanitizer, so
// the host's text buffers (max_chars + 1 bytes each, allocated apart) have
// guard zones after them: any write or read past one stops the fuzzer.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/load/module.h"
#include "host/panel/host.h"
#include "host/render/drawing_surfaces.h"
#include "host/render/render.h"

namespace orv::fuzz {

struct LoadedModule {
  std::unique_ptr<host::Module> module;
  std::unique_ptr<render::BitmapStore> bitmaps;
};

// The module of this build, loaded once.
inline LoadedModule& loaded_module() {
  static LoadedModule m = [] {
    // No sound device on fuzzing machines.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    LoadedModule l;
    l.module = host::Module::load(ORV_FUZZ_MODULE);
    l.bitmaps = std::make_unique<render::BitmapStore>(
        render::BitmapStore::from_module(reinterpret_cast<void*>(l.module->handle())));
    return l;
  }();
  return m;
}

// The names of every gauge of the module.
inline std::vector<std::string> all_gauges() {
  std::vector<std::string> names;
  for (const abi::GaugeHeader* g : loaded_module().module->gauges()) names.emplace_back(g->name);
  return names;
}

// A started host with `gauges` in window 0 (open), at their default sizes.
// `prepare` runs on the state before start-up (named data, interfaces, tokens).
class FuzzHost {
 public:
  template <typename Prepare>
  FuzzHost(const std::vector<std::string>& gauges, Prepare prepare) : host_(*loaded_module().module, state_) {
    host::PanelConfig panel;
    panel.file = "fuzz.cfg";
    host::PanelWindow window;
    window.visible = true;
    for (const std::string& g : gauges)
      window.gauges.push_back({loaded_module().module->name(), g, 0, 0, {}, {}, {}, 1});
    panel.windows.push_back(window);
    std::vector<std::string> warnings;
    host_.place(panel, warnings);
    for (std::size_t i = 0; i < host_.instances().size(); ++i)
      surfaces_.attach(host_.instance(i), *loaded_module().bitmaps);
    prepare(state_);
    host_.start();
  }
  explicit FuzzHost(const std::vector<std::string>& gauges) : FuzzHost(gauges, [](host::SimState&) {}) {}

  host::Host& host() { return host_; }
  host::SimState& state() { return state_; }

  // Forgets what the frames of an input logged (key events, windows), so a
  // long run stays flat in memory.
  void end_input() { state_.clear_logs(); }

  // The tooltips of every instance on a 6 x 6 grid of points over it.
  void ask_tooltips() {
    for (std::size_t i = 0; i < host_.instances().size(); ++i) {
      const host::PlacedInstance& p = host_.instances()[i];
      for (int ky = 0; ky < 6; ++ky)
        for (int kx = 0; kx < 6; ++kx) host_.tooltip(i, p.width * kx / 6 + 1, p.height * ky / 6 + 1);
    }
  }

 private:
  // The surfaces outlive the host, whose shutdown may still reach them.
  render::DrawingSurfaces surfaces_;
  host::SimState state_;
  host::Host host_;
};

}  // namespace orv::fuzz
