// Click sounds.
//
// Every gauge that clicks owns one sound channel: a sound device of its own
// and one buffer filled once, at set-up, from the module's WAVE resource 10. A
// mouse callback that clicks starts its channel's buffer after its own action.
// A panel may place one gauge several times: its instances share the
// gauge's channel, which the first instance's set-up fills and the last
// instance's release empties.
//
// One failure anywhere (no sound hardware, a missing or malformed resource, a
// buffer that will not play) clears the module-wide latch `sound_usable`, and
// from then on every operation except device creation does nothing: the
// gauges go on working, silently, until the module is loaded again.
//
// The operations follow one platform-neutral shape; the device and buffer
// behind the handles are the platform's (DirectSound on Windows, SDL audio
// elsewhere). Handles are passed by address so that an operation can clear
// them. All calls come from the host's panel thread.
#pragma once

#include <cstdint>

namespace orv::sound {

// 1 while sound works; 0 from the first failure on. Load value 1.
extern std::int32_t sound_usable;

// The WAVE resource every click plays.
inline constexpr std::uint16_t kClickResource = 10;

// One gauge's sound output; empty (all null) at load and after release.
struct Channel {
  void* window;           // the host's main window, found at set-up
  std::uintptr_t module;  // the module handle handed over at set-up
  void* device;
  void* buffer;
  int users;  // instances set up and not yet released
};

// The channels of the six gauges that set up sound.
namespace channels {
extern Channel flight_map;
extern Channel ils_tac_switch;
extern Channel multi_function_display_left;
extern Channel multi_function_display_right;
extern Channel nav_gps_switch;
extern Channel radar;
}  // namespace channels

// Classification of the host executable by its base file name (no directory,
// no extension): 4 when the fourth character is "2", else 2 when the first is
// "C", else 3 when the third is "2", else 1. Characters past the end of the
// name count as none.
int host_kind_of(const char* base_name);

// The host's main window class for a host kind: "MSCFSMAIN" for kinds 2 and 4,
// "FS98MAIN" otherwise.
const char* host_window_class(int kind);

// host_kind_of the running executable.
int host_kind();

// The host's main window found by class alone, or null (always null off
// Windows, where nothing needs it).
void* find_host_window();

// Creates a device bound to `window` into `*device`. Does not test the latch;
// a failure clears the handle and the latch. Returns 1 created, 0 failed.
int create_sound_device(void* window, void** device);

// Creates into `*buffer` one buffer holding the sound of WAVE resource `id`,
// ready to play from its start. Returns the number of sample data bytes
// loaded, 0 on failure (the latch then goes to 0) or when silenced (the
// handle is then left as it was). `window` is not used.
std::uint32_t load_wave_resource(void* window, void* device, void** buffer, std::uint16_t id,
                                 std::uintptr_t module);

// Starts the buffer once (flags 0) or as the platform's flags say. Returns 1
// started, 0 silenced, without a buffer, or failed (a failure clears the
// handle and the latch).
int play_sound(void** buffer, std::uint32_t flags);

// Release and clear the handle; nothing while silenced.
void release_sound_buffer(void** buffer);
void release_sound_device(void** device);

// The set-up of a sound-using gauge (service id 2): keep the module handle,
// find the host window, create the device and load the click, in that order,
// whatever the device creation gave. An instance placed while another one
// holds the channel only counts itself in.
void set_up_channel(Channel& channel, std::uintptr_t module);

// The release at service id 12: the buffer, then the device, when no other
// instance holds the channel any more.
void release_channel(Channel& channel);

// A click: plays the channel's buffer once; the result is of no interest.
void play_click(Channel& channel);

}  // namespace orv::sound
