// The values of --set, --click and --tooltip as the command line gives them:
// any text through the tool's own readers; what they accept delivered to a
// host of the real module as the tool delivers it (the token set, the click
// routed by point, the tooltip asked for), so coordinates and values at
// their limits reach the host's scaling and the gauges' callbacks.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli.h"
#include "fuzz_host.h"

namespace orv::panel_tool {
// The tool's built-in files, which the readers fuzzed here never use.
extern const char kDefaultPanel[] = "";
extern const char kDefaultScenario[] = "{}";
}  // namespace orv::panel_tool

namespace {

using namespace orv::panel_tool;
using namespace orv::host;

void require(bool ok) {
  if (!ok) std::abort();
}

orv::fuzz::FuzzHost& panel() {
  static orv::fuzz::FuzzHost host({"Baro_Pressure", "Screen_Selector_Main", "NAV_GPS_Switch"});
  return host;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  panel();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int option = data[0] % 3;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  Host& host = panel().host();
  try {
    if (option == 0) {
      const auto set = parse_set(text);
      host.state().set_token(set.first, set.second);
      host.frame();
    } else if (option == 1) {
      const ScenarioClick c = parse_click(text);
      require(c.t >= 0.0 && c.t <= kMaxSeconds);
      if (const auto index = c.target.resolve(host)) host.click(*index, c.point(), c.button);
      host.frame();
    } else {
      const ScenarioTooltip t = parse_tooltip(text);
      if (const auto index = t.target.resolve(host)) host.tooltip(*index, t.point());
    }
  } catch (const UsageError&) {
  }
  panel().end_input();
  return 0;
}
