// The SDL audio functions the native module loads at its first click, by
// name from the SDL library, and how it loads them. Part of the module's
// published interface, beside gauge_abi.h: a host that stands in for SDL
// (the trace's recording output) answers exactly these names, with these
// types. Native builds only.
#pragma once

#include <SDL.h>
#include <dlfcn.h>

namespace orv::abi::sdl {

inline constexpr const char* kLibrary = "libSDL2-2.0.so.0";

// Every function the module asks the library for, by its name without the
// "SDL_" prefix: X(name) for each.
#define ORV_SDL_AUDIO_FUNCTIONS(X) \
  X(SetHint)                       \
  X(InitSubSystem)                 \
  X(QuitSubSystem)                 \
  X(OpenAudioDevice)               \
  X(CloseAudioDevice)              \
  X(PauseAudioDevice)              \
  X(RWFromConstMem)                \
  X(LoadWAV_RW)                    \
  X(FreeWAV)                       \
  X(BuildAudioCVT)                 \
  X(ConvertAudio)                  \
  X(malloc)                        \
  X(free)                          \
  X(GetQueuedAudioSize)            \
  X(QueueAudio)

// The functions, once loaded.
struct Api {
  void* library = nullptr;
#define ORV_SDL_MEMBER(name) decltype(&SDL_##name) name = nullptr;
  ORV_SDL_AUDIO_FUNCTIONS(ORV_SDL_MEMBER)
#undef ORV_SDL_MEMBER
};

// Opens the library and resolves every function; false (the library closed
// again, `api` untouched) when the library or one function is missing.
inline bool load(Api& api) {
  void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return false;
  Api loaded;
  loaded.library = library;
  bool all = true;
#define ORV_SDL_RESOLVE(name)                                                                          \
  loaded.name = all ? reinterpret_cast<decltype(&SDL_##name)>(dlsym(library, "SDL_" #name)) : nullptr; \
  all = all && loaded.name != nullptr;
  ORV_SDL_AUDIO_FUNCTIONS(ORV_SDL_RESOLVE)
#undef ORV_SDL_RESOLVE
  if (!all) {
    dlclose(library);
    return false;
  }
  api = loaded;
  return true;
}

}  // namespace orv::abi::sdl
