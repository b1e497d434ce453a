// panel.cfg as the substitute host reads it: any text through the reader,
// then the gauges it places into a host of the real module, sized as the
// simulator sizes them. Every window and gauge kept stays within the sizes
// the reader promises, so no later sum of positions and sizes overflows.
#include "host/panel/panel_config.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_host.h"
#include "host/panel/screen_layout.h"

namespace {

void require(bool ok) {
  if (!ok) std::abort();
}

bool within(int v, int low, int high) { return v >= low && v <= high; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  orv::fuzz::loaded_module();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orv::host;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const PanelConfig panel = parse_panel_config(text, "panel.cfg");
  describe_sections(panel);
  std::size_t gauges = 0;
  for (const PanelWindow& w : panel.windows) {
    require(within(w.size_mm_x, 0, kMaxPanelPixels) && within(w.size_mm_y, 0, kMaxPanelPixels));
    require(within(w.pixel_width, 0, kMaxPanelPixels) && within(w.pixel_height, 0, kMaxPanelPixels));
    for (const GaugePlacement& g : w.gauges) {
      require(within(g.x, -kMaxPanelPixels, kMaxPanelPixels) &&
              within(g.y, -kMaxPanelPixels, kMaxPanelPixels));
      require(!g.width || within(*g.width, 1, kMaxPanelPixels));
      require(!g.height || within(*g.height, 1, kMaxPanelPixels));
      ++gauges;
    }
  }
  if (gauges == 0 || gauges > 64) return 0;
  SimState state;
  Host host(*orv::fuzz::loaded_module().module, state);
  std::vector<std::string> warnings;
  host.place(panel, warnings);
  for (const PlacedInstance& p : host.instances())
    require(within(p.width, 0, kMaxPanelPixels) && within(p.height, 0, kMaxPanelPixels));
  // The screen they are placed on: every window and gauge within reach of
  // the screen's sizes, and a point anywhere hits at most one instance.
  for (const PanelWindow& w : host.windows()) state.open_window(w.number);
  const ScreenLayout layout(host.windows(), host.instances());
  const ScreenSize screen = layout.screen();
  require(within(screen.width, 16, kMaxPanelPixels) && within(screen.height, 16, kMaxPanelPixels));
  constexpr int kReach = 8 * kMaxPanelPixels;
  for (std::size_t k = 0; k < host.windows().size(); ++k) {
    const Rect& r = layout.window_rect(k);
    require(within(r.x, -kReach, kReach) && within(r.width, 1, kReach) && within(r.height, 1, kReach));
  }
  for (std::size_t i = 0; i < host.instances().size(); ++i) {
    const Rect& r = layout.instance_rect(i);
    require(within(r.x, -2 * kReach, 2 * kReach) && within(r.y, -2 * kReach, 2 * kReach));
  }
  for (int y = 0; y < screen.height; y += screen.height / 7 + 1)
    for (int x = 0; x < screen.width; x += screen.width / 7 + 1)
      if (const auto h = layout.hit(state, x, y)) {
        const PlacedInstance& p = host.instances()[h->instance];
        require(within(h->x, 0, std::max(0, p.width - 1)) && within(h->y, 0, std::max(0, p.height - 1)));
      }
  return 0;
}
