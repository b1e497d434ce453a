// Token values through every element callback of every gauge: all gauges of
// the module in one open window of the substitute host, the tokens the input
// names set to numbers (NaN, infinities, denormals, huge), integers or texts
// of any length, then a few frames (every element evaluated, drawing
// surfaces painted), a click on every instance and the tooltips. The host's
// text buffers are exactly max_chars + 1 bytes under AddressSanitizer.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_host.h"
#include "fuzz_input.h"
#include "host/aircraft/token_names.h"

namespace {

using orv::fuzz::FuzzInput;
using orv::host::SimValue;

// Sets tokens from the input: a token of the host's table (or any number),
// then a value of a kind it takes (text tokens are pointers to the module).
void set_tokens(FuzzInput& in, orv::host::SimState& state, std::size_t max) {
  const auto table = orv::host::token_table();
  for (std::size_t n = 0; n < max && !in.empty(); ++n) {
    const std::uint8_t pick = in.byte();
    const std::uint32_t id = pick < 250 ? table[pick % table.size()].id : in.raw<std::uint16_t>();
    if (orv::host::token_takes(id, true) && !orv::host::token_takes(id, false)) {
      state.set_token(id, SimValue::of_text(in.text(255)));
      continue;
    }
    switch (in.byte() % 3) {
      case 0:
      case 1:
        state.set_token(id, SimValue::of_number(in.number()));
        break;
      default:
        state.set_token(id, SimValue::of_integer(in.raw<std::uint32_t>()));
        break;
    }
  }
}

orv::fuzz::FuzzHost& panel() {
  static orv::fuzz::FuzzHost host(orv::fuzz::all_gauges());
  return host;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  panel();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  orv::fuzz::FuzzHost& fuzz = panel();
  orv::host::Host& host = fuzz.host();
  set_tokens(in, fuzz.state(), 16);
  for (int frame = 0; frame < 2; ++frame) {
    host.begin_frame();
    set_tokens(in, fuzz.state(), 8);
    host.update();
  }
  // Clicks read tokens too (knobs step from the current value).
  for (std::size_t i = 0; i < host.instances().size() && !in.empty(); ++i) {
    const auto& p = host.instances()[i];
    const int x = p.width > 0 ? in.byte() % p.width : 0;
    const int y = p.height > 0 ? in.byte() % p.height : 0;
    host.click(i, x, y, in.byte() % 2 ? orv::host::MouseButton::left : orv::host::MouseButton::right);
  }
  host.frame();
  if (in.byte() % 4 == 0) fuzz.ask_tooltips();
  fuzz.end_input();
  return 0;
}
