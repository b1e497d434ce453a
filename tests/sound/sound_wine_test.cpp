// The Windows sound path, run under Wine by the native test suite:
//
//   sound_wine_test no-device   no sound output exists: the first device
//                               creation fails and the latch silences every
//                               channel, while the gauges go on working;
//   sound_wine_test device      an output exists: the click loads from this
//                               program's WAVE resource 10 (1914 bytes) and
//                               plays; a missing resource silences all.
//
// Returns 0 when every check holds; prints each failed check.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "../support/plain_check.h"
#include "cockpit/mode_state.h"
#include "frame/registry.h"
#include "sound/sound.h"

namespace {

using plain_check::failures;

using orv::sound::Channel;
namespace channels = orv::sound::channels;

Channel* const kAllChannels[] = {&channels::flight_map,
                                 &channels::ils_tac_switch,
                                 &channels::multi_function_display_left,
                                 &channels::multi_function_display_right,
                                 &channels::nav_gps_switch,
                                 &channels::radar};

std::uintptr_t this_module() { return reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)); }

// A top-level window of the class the host would have, found by class alone.
HWND make_host_window(const char* window_class) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = window_class;
  if (RegisterClassA(&wc) == 0) return nullptr;
  return CreateWindowA(window_class, "host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                       wc.hInstance, nullptr);
}

void host_window_is_found_by_its_class() {
  // This program's base name "sound_wine_test" is of host kind 1.
  CHECK(orv::sound::host_kind() == 1);
  CHECK(std::strcmp(orv::sound::host_window_class(orv::sound::host_kind()), "FS98MAIN") == 0);
  CHECK(orv::sound::find_host_window() == nullptr);
  // Wine without a display makes no windows; the lookup then stays null and
  // the devices are bound to no window.
  HWND window = make_host_window("FS98MAIN");
  if (window == nullptr) {
    std::printf("no display: host window lookup checked for absence only\n");
    return;
  }
  CHECK(orv::sound::find_host_window() == window);
}

void without_a_device_everything_is_silenced() {
  CHECK(orv::sound::sound_usable == 1);
  orv::sound::set_up_channel(channels::ils_tac_switch, this_module());
  CHECK(orv::sound::sound_usable == 0);
  CHECK(channels::ils_tac_switch.device == nullptr);
  CHECK(channels::ils_tac_switch.buffer == nullptr);
  CHECK(channels::ils_tac_switch.window == orv::sound::find_host_window());

  // Creation is still tried (and fails again); the other operations do
  // nothing at all, not even look at their handles.
  void* device = reinterpret_cast<void*>(0x1);
  CHECK(orv::sound::create_sound_device(nullptr, &device) == 0);
  CHECK(device == nullptr);
  void* buffer = reinterpret_cast<void*>(0x1);
  CHECK(orv::sound::load_wave_resource(nullptr, nullptr, &buffer, 10, this_module()) == 0);
  CHECK(orv::sound::play_sound(&buffer, 0) == 0);
  orv::sound::release_sound_buffer(&buffer);
  CHECK(buffer == reinterpret_cast<void*>(0x1));

  // The switches set up through their gauge callbacks and go on working.
  orv::abi::GaugeHeader ils_tac = orv::gauges::ils_tac_switch;
  ils_tac.callback(&ils_tac, orv::abi::kServiceInstall, this_module());
  const int source = orv::cockpit::nav_source_nav1;
  orv::abi::MouseRect* rect = ils_tac.mouse_rects;
  while (rect->kind != orv::abi::kMouseBox) ++rect;
  orv::abi::Click click{};
  click.gauge = &ils_tac;
  click.rect = rect;
  rect->action.fn(&click, orv::abi::kMouseLeftSingle);
  CHECK(orv::cockpit::nav_source_nav1 == (source == 1 ? 0 : 1));
  ils_tac.callback(&ils_tac, orv::abi::kServicePreKill, 0);
}

void with_a_device_the_click_loads_and_plays() {
  void* device = nullptr;
  void* buffer = nullptr;
  CHECK(orv::sound::create_sound_device(orv::sound::find_host_window(), &device) == 1);
  CHECK(orv::sound::load_wave_resource(nullptr, device, &buffer, 10, this_module()) == 1914);
  CHECK(orv::sound::play_sound(&buffer, 0) == 1);
  orv::sound::release_sound_buffer(&buffer);
  for (Channel* c : kAllChannels) orv::sound::set_up_channel(*c, this_module());
  for (Channel* c : kAllChannels) CHECK(orv::sound::play_sound(&c->buffer, 0) == 1);
  // A module without the click: the load fails and every channel falls
  // silent, though their buffers stay.
  CHECK(orv::sound::load_wave_resource(nullptr, device, &buffer, 99, this_module()) == 0);
  CHECK(buffer == nullptr && orv::sound::sound_usable == 0);
  CHECK(orv::sound::play_sound(&channels::radar.buffer, 0) == 0);
  CHECK(channels::radar.buffer != nullptr);

  orv::sound::sound_usable = 1;  // only to release what the test made
  orv::sound::release_sound_device(&device);
  for (Channel* c : kAllChannels) {
    orv::sound::release_channel(*c);
    CHECK(c->device == nullptr && c->buffer == nullptr);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool device = argc > 1 && std::strcmp(argv[1], "device") == 0;
  host_window_is_found_by_its_class();
  if (device) {
    with_a_device_the_click_loads_and_plays();
  } else {
    without_a_device_everything_is_silenced();
  }
  std::printf("%s: %d failed checks\n", device ? "device" : "no-device", failures);
  return failures == 0 ? 0 : 1;
}
