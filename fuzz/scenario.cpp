// Scenario JSON as the substitute host reads it: any text through the
// reader; a scenario it accepts applied to a host state (tokens, expressions,
// the traffic service, the GPS and its data block) and stepped through its
// keyframes at the times the input picks. A scenario refused is refused with
// the host's own error, naming the file.
#include "host/scenario/scenario.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "host/load/host_error.h"

namespace {

void require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orv::host;
  const std::string text(reinterpret_cast<const char*>(data), size);
  Scenario s;
  try {
    s = parse_scenario(text, "fuzz.json", "dir");
  } catch (const HostError& e) {
    require(e.kind() == ErrorKind::bad_scenario);
    require(std::string(e.what()).rfind("fuzz.json", 0) == 0);
    return 0;
  }
  require(!s.frames || (*s.frames >= 0 && *s.frames <= kMaxFrames));
  for (const double t : s.render_at) require(t >= 0.0 && t <= kMaxSeconds);
  SimState state;
  s.apply_initial(state);
  // Times from the input's own bytes: across and beyond the keyframes.
  orv::fuzz::FuzzInput in(data, size);
  for (int k = 0; k < 8; ++k) {
    state.begin_frame(k);
    s.apply_at(state, static_cast<double>(in.raw<std::int32_t>()) / 16.0);
    state.advance_sources();
  }
  return 0;
}
