// Sound primitives of the native build, on SDL audio.
//
// SDL is loaded (dlopen) and its output opened only when a click first
// plays: a run that never clicks never pays for the library, its audio
// thread or the device. Every channel's device is one shared output, opened
// at the first play of any channel and closed with the last release, that
// takes 8-bit mono 22050 Hz samples (SDL converts for the hardware); a
// device handle stands for that output. A buffer holds the click's WAVE
// image, checked at load, and its samples in the output's format, converted
// at its first play; playing queues them on the output, so a clip still
// sounding keeps sounding, as a started buffer does. An output that cannot
// be opened fails that first play, which silences the module as a failed
// device would. The host window plays no part here.
#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

#include "frame/sdl_audio.h"
#include "platform/module_resources.h"
#include "platform/resource_source.h"
#include "sound/platform_sound.h"

namespace orv::platform {

namespace {
ResourceFn g_resource_source = nullptr;
}  // namespace

void set_resource_source(ResourceFn source) { g_resource_source = source; }

const unsigned char* module_resource(const char* type, unsigned id, unsigned* size) {
  unsigned ignored = 0;
  if (size == nullptr) size = &ignored;
  *size = 0;
  ResourceFn source = g_resource_source != nullptr ? g_resource_source : orv_module_resource;
  const unsigned char* data = source(type, id, size);
  if (data == nullptr) *size = 0;
  return data;
}

}  // namespace orv::platform

namespace orv::sound::platform {

namespace {

constexpr int kRate = 22050;
constexpr SDL_AudioFormat kFormat = AUDIO_U8;
constexpr Uint8 kChannels = 1;

// The SDL functions used here, from the library once it is loaded.
abi::sdl::Api g_sdl;

// Loads SDL once; false when the library or one of its functions is missing.
bool load_sdl() { return g_sdl.library != nullptr || abi::sdl::load(g_sdl); }

// The one output that every device handle stands for: several SDL drivers
// open only one device at a time, and a click needs no more. `users` counts
// the handles given out; `id` is the SDL device once a click has opened it.
struct Output {
  int users = 0;
  SDL_AudioDeviceID id = 0;
};
Output g_output;

void close_output() {
  if (g_output.id == 0) return;
  g_sdl.CloseAudioDevice(g_output.id);
  g_output.id = 0;
  g_sdl.QuitSubSystem(SDL_INIT_AUDIO);
}

// Opens the output for the first click; false when SDL or the output cannot
// be had.
bool open_output() {
  if (g_output.id != 0) return true;
  if (!load_sdl()) return false;
  // The module lives in the host's process: the host's signals stay its own.
  g_sdl.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (g_sdl.InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = kRate;
  want.format = kFormat;
  want.channels = kChannels;
  want.samples = 512;
  SDL_AudioSpec have{};
  g_output.id = g_sdl.OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (g_output.id == 0) {
    g_sdl.QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  g_sdl.PauseAudioDevice(g_output.id, 0);
  return true;
}

// A release does nothing once the sound latch is down, so a silenced module
// may still hold the output when it is unloaded; it is closed then, so that
// SDL's playback thread never outlives the module.
struct CloseAtUnload {
  CloseAtUnload() = default;
  CloseAtUnload(const CloseAtUnload&) = delete;
  CloseAtUnload& operator=(const CloseAtUnload&) = delete;
  ~CloseAtUnload() {
    close_output();
    g_output.users = 0;
  }
} close_at_unload;

struct Buffer {
  const unsigned char* image;  // the WAVE resource, in the module
  unsigned image_size;
  Uint8* samples;  // in the output's format (SDL_malloc), once converted
  Uint32 length;
};

// Little-endian fields of a WAVE image.
std::uint32_t u32_at(const unsigned char* p) {
  return p[0] | static_cast<std::uint32_t>(p[1]) << 8 | static_cast<std::uint32_t>(p[2]) << 16 |
         static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t u16_at(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// The number of sample bytes of a RIFF WAVE image of PCM samples (8 or 16
// bits, mono or stereo), as SDL reads it, or 0 when it is not one.
std::uint32_t wave_data_length(const unsigned char* image, unsigned size) {
  if (size < 12 || std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0) return 0;
  bool format_ok = false;
  for (std::size_t at = 12; at + 8 <= size;) {
    const std::uint32_t length = u32_at(image + at + 4);
    const unsigned char* chunk = image + at + 8;
    const std::size_t room = size - (at + 8);
    if (std::memcmp(image + at, "fmt ", 4) == 0) {
      if (length < 16 || room < 16) return 0;
      const std::uint16_t tag = u16_at(chunk), channels = u16_at(chunk + 2), bits = u16_at(chunk + 14);
      format_ok =
          tag == 1 && (channels == 1 || channels == 2) && (bits == 8 || bits == 16) && u32_at(chunk + 4) > 0;
    } else if (std::memcmp(image + at, "data", 4) == 0) {
      if (!format_ok) return 0;
      return static_cast<std::uint32_t>(length < room ? length : room);
    }
    at += 8 + static_cast<std::size_t>(length) + (length & 1);
  }
  return 0;
}

// The clip's samples in the output format, in memory of SDL's (SDL_malloc),
// or null.
Uint8* convert_to_device_format(const SDL_AudioSpec& spec, const Uint8* data, Uint32 length,
                                Uint32* converted_length) {
  SDL_AudioCVT cvt;
  const int built =
      g_sdl.BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, kFormat, kChannels, kRate);
  if (built < 0) return nullptr;
  if (length > static_cast<Uint32>(INT_MAX / (cvt.len_mult > 0 ? cvt.len_mult : 1))) return nullptr;
  auto* work = static_cast<Uint8*>(
      g_sdl.malloc(static_cast<std::size_t>(length) * (cvt.len_mult > 0 ? cvt.len_mult : 1)));
  if (work == nullptr) return nullptr;
  std::memcpy(work, data, length);
  cvt.buf = work;
  cvt.len = static_cast<int>(length);
  if (built == 1 && g_sdl.ConvertAudio(&cvt) < 0) {
    g_sdl.free(work);
    return nullptr;
  }
  *converted_length = built == 1 ? static_cast<Uint32>(cvt.len_cvt) : length;
  return work;
}

// The buffer's samples in the output's format, converted once.
bool convert(Buffer& b) {
  if (b.samples != nullptr) return true;
  SDL_RWops* file = g_sdl.RWFromConstMem(b.image, static_cast<int>(b.image_size));
  if (file == nullptr) return false;
  SDL_AudioSpec spec{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (g_sdl.LoadWAV_RW(file, 1, &spec, &data, &length) == nullptr) return false;
  Uint32 converted_length = 0;
  Uint8* samples = length == 0 ? nullptr : convert_to_device_format(spec, data, length, &converted_length);
  g_sdl.FreeWAV(data);
  if (samples == nullptr) return false;
  b.samples = samples;
  b.length = converted_length;
  return true;
}

}  // namespace

void executable_base_name(char* name, std::uint32_t size) {
  if (name == nullptr || size == 0) return;
  name[0] = '\0';
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return;
  path[n] = '\0';
  const char* base = std::strrchr(path, '/');
  base = base != nullptr ? base + 1 : path;
  std::size_t length = std::strcspn(base, ".");
  if (length >= size) length = size - 1;
  std::memcpy(name, base, length);
  name[length] = '\0';
}

void* find_window_by_class(const char* /*window_class*/) { return nullptr; }

bool open_device(void* /*window*/, void** device) {
  ++g_output.users;
  *device = &g_output;
  return true;
}

std::uint32_t load_wave(void* device, void** buffer, std::uint16_t id, std::uintptr_t /*module*/) {
  *buffer = nullptr;
  if (device == nullptr) return 0;
  unsigned size = 0;
  const unsigned char* image = orv::platform::module_resource("WAVE", id, &size);
  if (image == nullptr || size == 0 || size > INT_MAX) return 0;
  const std::uint32_t length = wave_data_length(image, size);
  if (length == 0) return 0;
  auto* made = new (std::nothrow) Buffer{image, size, nullptr, 0};
  if (made == nullptr) return 0;
  *buffer = made;
  return length;
}

bool play(void* buffer, std::uint32_t /*flags*/) {
  auto* b = static_cast<Buffer*>(buffer);
  if (g_output.users == 0 || !open_output() || !convert(*b)) return false;
  if (g_sdl.GetQueuedAudioSize(g_output.id) > 0) return true;  // still sounding
  return g_sdl.QueueAudio(g_output.id, b->samples, b->length) == 0;
}

void release_buffer(void* buffer) {
  auto* b = static_cast<Buffer*>(buffer);
  if (b->samples != nullptr) g_sdl.free(b->samples);
  delete b;
}

void release_device(void* /*device*/) {
  if (g_output.users == 0 || --g_output.users > 0) return;
  close_output();
}

// The SDL device of the output, 0 while no click has opened it.
std::uint32_t output_device_id() { return g_output.id; }

}  // namespace orv::sound::platform
