// Sound primitives of the native build, on SDL audio.
//
// Every channel's device is one shared SDL output, opened by the first
// channel and closed with the last, that takes 8-bit mono 22050 Hz samples
// (SDL converts for the hardware); a device handle is its SDL id. A buffer
// holds the clip's samples in that format, converted once at load; playing
// queues them on the device, so a clip still sounding keeps sounding, as a
// started buffer does. The host window plays no part here.
#include <SDL.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <new>

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

// The one output that every channel's device handle stands for: several
// SDL drivers open only one device at a time, and a click needs no more.
SDL_AudioDeviceID g_device = 0;
int g_device_users = 0;

// A release does nothing once the sound latch is down, so a silenced module
// may still hold the output when it is unloaded; it is closed then, so that
// SDL's playback thread never outlives the module.
struct CloseAtUnload {
  CloseAtUnload() = default;
  CloseAtUnload(const CloseAtUnload&) = delete;
  CloseAtUnload& operator=(const CloseAtUnload&) = delete;
  ~CloseAtUnload() {
    if (g_device == 0) return;
    SDL_CloseAudioDevice(g_device);
    g_device = 0;
    g_device_users = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
} close_at_unload;

struct Buffer {
  SDL_AudioDeviceID device;
  Uint8* samples;
  Uint32 length;
};

SDL_AudioDeviceID device_id(void* device) {
  return static_cast<SDL_AudioDeviceID>(reinterpret_cast<std::uintptr_t>(device));
}

// The clip's samples in the device format, in memory of our own (SDL_malloc),
// or null.
Uint8* convert_to_device_format(const SDL_AudioSpec& spec, const Uint8* data, Uint32 length,
                                Uint32* converted_length) {
  SDL_AudioCVT cvt;
  const int built = SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, kFormat, kChannels, kRate);
  if (built < 0) return nullptr;
  if (length > static_cast<Uint32>(INT_MAX / (cvt.len_mult > 0 ? cvt.len_mult : 1))) return nullptr;
  auto* work = static_cast<Uint8*>(
      SDL_malloc(static_cast<std::size_t>(length) * (cvt.len_mult > 0 ? cvt.len_mult : 1)));
  if (work == nullptr) return nullptr;
  std::memcpy(work, data, length);
  cvt.buf = work;
  cvt.len = static_cast<int>(length);
  if (built == 1 && SDL_ConvertAudio(&cvt) < 0) {
    SDL_free(work);
    return nullptr;
  }
  *converted_length = built == 1 ? static_cast<Uint32>(cvt.len_cvt) : length;
  return work;
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
  *device = nullptr;
  if (g_device_users == 0) {
    // The host owns SIGINT and SIGTERM: the audio library would otherwise
    // take them over and the host could no longer be stopped.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = kFormat;
    want.channels = kChannels;
    want.samples = 512;
    SDL_AudioSpec have{};
    g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (g_device == 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    SDL_PauseAudioDevice(g_device, 0);
  }
  ++g_device_users;
  *device = reinterpret_cast<void*>(static_cast<std::uintptr_t>(g_device));
  return true;
}

std::uint32_t load_wave(void* device, void** buffer, std::uint16_t id, std::uintptr_t /*module*/) {
  *buffer = nullptr;
  if (device == nullptr) return 0;
  unsigned size = 0;
  const unsigned char* image = orv::platform::module_resource("WAVE", id, &size);
  if (image == nullptr || size == 0 || size > INT_MAX) return 0;

  SDL_RWops* file = SDL_RWFromConstMem(image, static_cast<int>(size));
  if (file == nullptr) return 0;
  SDL_AudioSpec spec{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV_RW(file, 1, &spec, &data, &length) == nullptr) return 0;

  Uint32 converted_length = 0;
  Uint8* samples = length == 0 ? nullptr : convert_to_device_format(spec, data, length, &converted_length);
  SDL_FreeWAV(data);
  if (samples == nullptr) return 0;

  auto* made = new (std::nothrow) Buffer{device_id(device), samples, converted_length};
  if (made == nullptr) {
    SDL_free(samples);
    return 0;
  }
  *buffer = made;
  return length;
}

bool play(void* buffer, std::uint32_t /*flags*/) {
  auto* b = static_cast<Buffer*>(buffer);
  if (SDL_GetQueuedAudioSize(b->device) > 0) return true;  // still sounding
  return SDL_QueueAudio(b->device, b->samples, b->length) == 0;
}

void release_buffer(void* buffer) {
  auto* b = static_cast<Buffer*>(buffer);
  SDL_free(b->samples);
  delete b;
}

void release_device(void* /*device*/) {
  if (g_device_users == 0 || --g_device_users > 0) return;
  SDL_CloseAudioDevice(g_device);
  g_device = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace orv::sound::platform
