// panel.cfg as the substitute host reads it: any text through the reader,
// then the gauges it places into a host of the real module, sized as the
// simulator sizes them. Every window and gauge kept stays within the sizes
// the reader promises, so no later sum of positions and sizes overflows.
#include "panel_config.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_host.h"

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
  return 0;
}
