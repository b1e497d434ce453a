// The traffic service's answers as the radar reads them: a service object
// whose every answer comes from the input (how many aircraft, more than the
// radar asked for; ids, zero and repeated; numbers, NaN, infinite and huge;
// identifiers unterminated at the length the radar gives or of any length;
// null names; reduced data switching on and off; the clock going backwards),
// read by the Radar gauge placed in the substitute host over a few frames,
// its drawing surface painted, its tooltips asked for.
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "fuzz_host.h"
#include "fuzz_input.h"

namespace {

using namespace orv::abi;
using orv::fuzz::FuzzInput;

FuzzInput* g_in = nullptr;
std::deque<std::string> g_names;  // texts handed out by the name operation, alive for the input

FuzzInput& in() {
  static FuzzInput none(nullptr, 0);
  return g_in != nullptr ? *g_in : none;
}

struct Object {
  void** table;
};

void* g_host_table[kTrafficOpInterface + 1] = {};
void* g_traffic_table[kTrafficOpCount] = {};
Object g_host{g_host_table};
Object g_traffic{g_traffic_table};

void* ORV_CALL op_interface(void*, const char*) { return in().byte() % 8 == 0 ? nullptr : &g_traffic; }
u32 ORV_CALL op_handle(void*, const char*) { return in().byte() % 16; }

u32 ORV_CALL op_objects(void*, f64, u32 max_count, u32* ids) {
  const u32 n = in().byte() % 8 == 0 ? in().raw<u32>() : in().byte() % 12;
  for (u32 i = 0; i < n && i < max_count && ids != nullptr; ++i) {
    const std::uint8_t pick = in().byte();
    ids[i] = pick < 200 ? pick % 6 : in().raw<u32>();
  }
  return n;
}

i32 ORV_CALL op_number(void*, u32, u32, u32, f64* out, u32) {
  if (out != nullptr) *out = in().number();
  return static_cast<i32>(in().byte() % 2);
}

// Writes up to `length` characters, terminated only when shorter.
i32 ORV_CALL op_text(void*, u32, u32, char* buffer, u32 length, u32) {
  if (buffer == nullptr) return 1;
  const std::string t = in().text(64);
  std::strncpy(buffer, t.c_str(), length);
  return 0;
}

u32 ORV_CALL op_reduced(void*) { return in().byte() % 3 == 0 ? 1 : 0; }

const char* ORV_CALL op_name(void*, u32) {
  if (in().byte() % 4 == 0) return nullptr;
  g_names.push_back(in().text(255));
  return g_names.back().c_str();
}

void install_tables() {
  g_host_table[kTrafficOpInterface] = reinterpret_cast<void*>(&op_interface);
  g_traffic_table[kTrafficOpVariable] = reinterpret_cast<void*>(&op_handle);
  g_traffic_table[kTrafficOpUnit] = reinterpret_cast<void*>(&op_handle);
  g_traffic_table[kTrafficOpObjectsInRadius] = reinterpret_cast<void*>(&op_objects);
  g_traffic_table[kTrafficOpNumber] = reinterpret_cast<void*>(&op_number);
  g_traffic_table[kTrafficOpText] = reinterpret_cast<void*>(&op_text);
  g_traffic_table[kTrafficOpReducedData] = reinterpret_cast<void*>(&op_reduced);
  g_traffic_table[kTrafficOpName] = reinterpret_cast<void*>(&op_name);
}

constexpr u32 kClockToken = 604;

orv::fuzz::FuzzHost& panel() {
  static orv::fuzz::FuzzHost host({"Radar", "Multi_Function_Display_Left"}, [](orv::host::SimState& state) {
    state.register_interface("ITrafficInfo", &g_host);
    state.simulation_variable = [](std::uint32_t, std::uint32_t, std::int32_t) { return in().number(); };
  });
  return host;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  install_tables();
  panel();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  g_in = &input;
  g_names.clear();
  orv::fuzz::FuzzHost& fuzz = panel();
  for (int frame = 0; frame < 4; ++frame) {
    fuzz.host().begin_frame();
    fuzz.state().set_number(kClockToken, in().number());
    fuzz.host().update();
  }
  if (in().byte() % 4 == 0) fuzz.ask_tooltips();
  fuzz.end_input();
  g_in = nullptr;
  return 0;
}
