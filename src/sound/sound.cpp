#include "sound/sound.h"

#include <cstring>

#include "sound/platform_sound.h"

namespace orv::sound {

std::int32_t sound_usable = 1;

namespace channels {
Channel flight_map;
Channel ils_tac_switch;
Channel multi_function_display_left;
Channel multi_function_display_right;
Channel nav_gps_switch;
Channel radar;
}  // namespace channels

namespace {

constexpr std::uint32_t kMaxPath = 260;

// Character `i` of `name`, or NUL past its end.
char char_at(const char* name, std::size_t i) { return i < std::strlen(name) ? name[i] : '\0'; }

}  // namespace

int host_kind_of(const char* base_name) {
  if (base_name == nullptr) base_name = "";
  if (char_at(base_name, 3) == '2') return 4;
  if (char_at(base_name, 0) == 'C') return 2;
  if (char_at(base_name, 2) == '2') return 3;
  return 1;
}

const char* host_window_class(int kind) { return (kind == 2 || kind == 4) ? "MSCFSMAIN" : "FS98MAIN"; }

int host_kind() {
  char name[kMaxPath] = {};
  platform::executable_base_name(name, sizeof name);
  return host_kind_of(name);
}

void* find_host_window() { return platform::find_window_by_class(host_window_class(host_kind())); }

int create_sound_device(void* window, void** device) {
  if (device == nullptr) return 0;
  *device = nullptr;
  if (!platform::open_device(window, device)) {
    *device = nullptr;
    sound_usable = 0;
    return 0;
  }
  return 1;
}

std::uint32_t load_wave_resource(void* /*window*/, void* device, void** buffer, std::uint16_t id,
                                 std::uintptr_t module) {
  if (sound_usable == 0 || buffer == nullptr) return 0;
  *buffer = nullptr;
  const std::uint32_t bytes = platform::load_wave(device, buffer, id, module);
  if (bytes == 0) {
    *buffer = nullptr;
    sound_usable = 0;
  }
  return bytes;
}

int play_sound(void** buffer, std::uint32_t flags) {
  if (sound_usable == 0 || buffer == nullptr || *buffer == nullptr) return 0;
  if (!platform::play(*buffer, flags)) {
    // Nothing else refers to the failed buffer, so it goes now.
    platform::release_buffer(*buffer);
    sound_usable = 0;
    *buffer = nullptr;
    return 0;
  }
  return 1;
}

void release_sound_buffer(void** buffer) {
  if (sound_usable == 0 || buffer == nullptr || *buffer == nullptr) return;
  platform::release_buffer(*buffer);
  *buffer = nullptr;
}

void release_sound_device(void** device) {
  if (sound_usable == 0 || device == nullptr || *device == nullptr) return;
  platform::release_device(*device);
  *device = nullptr;
}

void set_up_channel(Channel& channel, std::uintptr_t module) {
  if (channel.users++ > 0) return;
  channel.module = module;
  channel.window = find_host_window();
  create_sound_device(channel.window, &channel.device);
  load_wave_resource(channel.window, channel.device, &channel.buffer, kClickResource, channel.module);
}

void release_channel(Channel& channel) {
  if (channel.users > 1) {
    --channel.users;
    return;
  }
  channel.users = 0;
  release_sound_buffer(&channel.buffer);
  release_sound_device(&channel.device);
}

void play_click(Channel& channel) { play_sound(&channel.buffer, 0); }

}  // namespace orv::sound
