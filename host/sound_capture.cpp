// The host's stand-in for SDL audio (see sound_capture.h). The functions
// below carry SDL's own names and signatures: exported from the executable,
// they are what the module's calls bind to. Whatever still needs SDL itself
// (decoding a WAVE image, allocating) goes to the SDL library the module
// brought in.
#include "sound_capture.h"

#include <SDL.h>
#include <dlfcn.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

#include "host.h"

namespace orv::host {

bool sound_capture_linked() { return true; }

namespace {

// SDL's own function `name`, from the SDL library already loaded.
template <typename Fn>
Fn sdl_function(const char* name) {
  static void* library = nullptr;
  if (library == nullptr) library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
  void* fn = library != nullptr ? dlsym(library, name) : nullptr;
  if (fn == nullptr) fn = dlsym(RTLD_NEXT, name);
  return reinterpret_cast<Fn>(fn);
}

// Whether the clicks are also sent to SDL's device: unless its driver is the
// dummy one (as the command-line tool sets it for everything but the live
// viewer).
bool real_output() {
  static const bool real = [] {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    return driver == nullptr || std::strcmp(driver, "dummy") != 0;
  }();
  return real;
}

struct Device {
  double bytes_per_second = 22050.0;
  double queued = 0.0;     // bytes still to play at `queued_at`
  double queued_at = 0.0;  // simulated seconds
  SDL_AudioDeviceID real = 0;
};

struct Buffer {
  int channel = -1;
  int resource = -1;
};

struct Capture {
  std::map<SDL_AudioDeviceID, Device> devices;
  SDL_AudioDeviceID next_device = 1;
  std::map<const void*, int> resource_of_bytes;      // resource images already identified
  std::map<const SDL_RWops*, int> resource_of_file;  // memory files over a resource image
  bool loading = false;                              // a WAVE was just decoded
  int loading_resource = -1;
  std::map<const void*, Buffer> buffers;  // sample memory -> the buffer it holds
  int next_channel = 0;
};

Capture& capture() {
  static Capture c;
  return c;
}

double simulated_now() {
  Host* host = Host::active();
  return host != nullptr ? host->state().time() : 0.0;
}

double still_queued(const Device& d, double now) {
  const double left = d.queued - (now - d.queued_at) * d.bytes_per_second;
  return left > 0.0 ? left : 0.0;
}

}  // namespace

}  // namespace orv::host

using orv::host::capture;
using orv::host::real_output;
using orv::host::sdl_function;

extern "C" {

DECLSPEC int SDLCALL SDL_InitSubSystem(Uint32 flags) {
  if (!real_output()) flags &= ~static_cast<Uint32>(SDL_INIT_AUDIO);
  if (flags == 0) return 0;
  auto fn = sdl_function<int(SDLCALL*)(Uint32)>("SDL_InitSubSystem");
  return fn != nullptr ? fn(flags) : -1;
}

DECLSPEC void SDLCALL SDL_QuitSubSystem(Uint32 flags) {
  if (!real_output()) flags &= ~static_cast<Uint32>(SDL_INIT_AUDIO);
  if (flags == 0) return;
  if (auto fn = sdl_function<void(SDLCALL*)(Uint32)>("SDL_QuitSubSystem")) fn(flags);
}

DECLSPEC SDL_AudioDeviceID SDLCALL SDL_OpenAudioDevice(const char* device, int iscapture,
                                                       const SDL_AudioSpec* desired, SDL_AudioSpec* obtained,
                                                       int allowed_changes) {
  if (iscapture != 0 || desired == nullptr) return 0;
  orv::host::Device d;
  const double rate =
      static_cast<double>(desired->freq) * desired->channels * (SDL_AUDIO_BITSIZE(desired->format) / 8);
  if (rate > 0.0) d.bytes_per_second = rate;
  if (real_output()) {
    using Open = SDL_AudioDeviceID(SDLCALL*)(const char*, int, const SDL_AudioSpec*, SDL_AudioSpec*, int);
    if (auto fn = sdl_function<Open>("SDL_OpenAudioDevice")) d.real = fn(device, 0, desired, nullptr, 0);
  }
  (void)allowed_changes;
  if (obtained != nullptr) *obtained = *desired;
  auto& c = capture();
  const SDL_AudioDeviceID id = c.next_device++;
  c.devices[id] = d;
  return id;
}

DECLSPEC void SDLCALL SDL_PauseAudioDevice(SDL_AudioDeviceID dev, int pause_on) {
  auto it = capture().devices.find(dev);
  if (it == capture().devices.end() || it->second.real == 0) return;
  if (auto fn = sdl_function<void(SDLCALL*)(SDL_AudioDeviceID, int)>("SDL_PauseAudioDevice"))
    fn(it->second.real, pause_on);
}

DECLSPEC void SDLCALL SDL_CloseAudioDevice(SDL_AudioDeviceID dev) {
  auto it = capture().devices.find(dev);
  if (it == capture().devices.end()) return;
  if (it->second.real != 0) {
    if (auto fn = sdl_function<void(SDLCALL*)(SDL_AudioDeviceID)>("SDL_CloseAudioDevice"))
      fn(it->second.real);
  }
  capture().devices.erase(it);
}

DECLSPEC Uint32 SDLCALL SDL_GetQueuedAudioSize(SDL_AudioDeviceID dev) {
  auto it = capture().devices.find(dev);
  if (it == capture().devices.end()) return 0;
  return static_cast<Uint32>(std::ceil(orv::host::still_queued(it->second, orv::host::simulated_now())));
}

DECLSPEC int SDLCALL SDL_QueueAudio(SDL_AudioDeviceID dev, const void* data, Uint32 len) {
  auto& c = capture();
  auto it = c.devices.find(dev);
  if (it == c.devices.end()) return -1;
  orv::host::Device& d = it->second;
  const double now = orv::host::simulated_now();
  d.queued = orv::host::still_queued(d, now) + len;
  d.queued_at = now;
  orv::host::Buffer buffer;
  if (auto b = c.buffers.find(data); b != c.buffers.end()) buffer = b->second;
  if (orv::host::Host* host = orv::host::Host::active())
    host->sound_played(buffer.channel, buffer.resource, len);
  if (d.real != 0) {
    if (auto fn = sdl_function<int(SDLCALL*)(SDL_AudioDeviceID, const void*, Uint32)>("SDL_QueueAudio"))
      fn(d.real, data, len);
  }
  return 0;
}

DECLSPEC SDL_RWops* SDLCALL SDL_RWFromConstMem(const void* mem, int size) {
  auto fn = sdl_function<SDL_RWops*(SDLCALL*)(const void*, int)>("SDL_RWFromConstMem");
  SDL_RWops* file = fn != nullptr ? fn(mem, size) : nullptr;
  if (file == nullptr) return nullptr;
  auto& c = capture();
  auto known = c.resource_of_bytes.find(mem);
  if (known == c.resource_of_bytes.end()) {
    orv::host::Host* host = orv::host::Host::active();
    const int id = host != nullptr ? host->module().resource_id_at("WAVE", mem) : -1;
    known = c.resource_of_bytes.emplace(mem, id).first;
  }
  c.resource_of_file[file] = known->second;
  return file;
}

DECLSPEC SDL_AudioSpec* SDLCALL SDL_LoadWAV_RW(SDL_RWops* src, int freesrc, SDL_AudioSpec* spec,
                                               Uint8** audio_buf, Uint32* audio_len) {
  auto& c = capture();
  int resource = -1;
  if (auto it = c.resource_of_file.find(src); it != c.resource_of_file.end()) {
    resource = it->second;
    if (freesrc != 0) c.resource_of_file.erase(it);
  }
  using Load = SDL_AudioSpec*(SDLCALL*)(SDL_RWops*, int, SDL_AudioSpec*, Uint8**, Uint32*);
  auto fn = sdl_function<Load>("SDL_LoadWAV_RW");
  SDL_AudioSpec* loaded = fn != nullptr ? fn(src, freesrc, spec, audio_buf, audio_len) : nullptr;
  // The module copies the decoded samples into memory of its own, from
  // SDL_malloc, and plays that: the next block it takes holds this sound.
  c.loading = loaded != nullptr;
  c.loading_resource = resource;
  return loaded;
}

DECLSPEC void* SDLCALL SDL_malloc(size_t size) {
  auto fn = sdl_function<void*(SDLCALL*)(size_t)>("SDL_malloc");
  void* p = fn != nullptr ? fn(size) : nullptr;
  auto& c = capture();
  if (p != nullptr && c.loading) {
    c.buffers[p] = {c.next_channel++, c.loading_resource};
    c.loading = false;
  }
  return p;
}

}  // extern "C"
