// The native binding of the recording output: the module's dlopen, dlsym and
// dlclose imports, rebound in its global offset table, hand it an SDL whose
// output side records (see sound_recorder.h).
#include <SDL.h>
#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "frame/sdl_audio.h"
#include "host/load/module.h"
#include "host/record/sound_recorder.h"

namespace orv::host::sound_recording {

namespace {

// The handle the module's dlopen of SDL returns: the address of this byte.
char g_sdl_handle;

// The real SDL, loaded once: the recording output reads and converts the
// clips with its file-side functions.
abi::sdl::Api g_real;

bool load_real_sdl() { return g_real.library != nullptr || abi::sdl::load(g_real); }

// The recording output: one device, always open to the module.
constexpr SDL_AudioDeviceID kDevice = 1;

// The memory files the module made over its resources, with the resource
// each reads; and the resource of the clip it read last.
std::vector<std::pair<const SDL_RWops*, int>> g_files;
int g_loaded = -1;

SDL_bool SDLCALL set_hint(const char*, const char*) { return SDL_TRUE; }
int SDLCALL init_sub_system(Uint32) { return 0; }
void SDLCALL quit_sub_system(Uint32) {}

SDL_AudioDeviceID SDLCALL open_audio_device(const char*, int capture, const SDL_AudioSpec* desired,
                                            SDL_AudioSpec* obtained, int) {
  if (capture != 0 || desired == nullptr) return 0;
  if (obtained != nullptr) {
    *obtained = *desired;
    obtained->silence = desired->format == AUDIO_U8 ? 0x80 : 0;
    obtained->size =
        static_cast<Uint32>(desired->samples) * desired->channels * SDL_AUDIO_BITSIZE(desired->format) / 8;
  }
  return kDevice;
}

void SDLCALL close_audio_device(SDL_AudioDeviceID) {}
void SDLCALL pause_audio_device(SDL_AudioDeviceID, int) {}
Uint32 SDLCALL queued_audio_size(SDL_AudioDeviceID) { return 0; }

int SDLCALL queue_audio(SDL_AudioDeviceID device, const void* data, Uint32 length) {
  if (device != kDevice || data == nullptr) return -1;
  played(data, data, length, g_loaded);
  return 0;
}

SDL_RWops* SDLCALL rw_from_const_mem(const void* memory, int size) {
  SDL_RWops* file = g_real.RWFromConstMem(memory, size);
  if (file != nullptr) {
    Module* module = recorded_module();
    g_files.emplace_back(file, module != nullptr ? module->resource_id_at("WAVE", memory) : -1);
  }
  return file;
}

SDL_AudioSpec* SDLCALL load_wav_rw(SDL_RWops* file, int free_file, SDL_AudioSpec* spec, Uint8** buffer,
                                   Uint32* length) {
  int resource = -1;
  for (auto it = g_files.begin(); it != g_files.end(); ++it) {
    if (it->first != file) continue;
    resource = it->second;
    g_files.erase(it);
    break;
  }
  SDL_AudioSpec* loaded = g_real.LoadWAV_RW(file, free_file, spec, buffer, length);
  if (loaded != nullptr) g_loaded = resource;
  return loaded;
}

void SDLCALL free_wav(Uint8* buffer) { g_real.FreeWAV(buffer); }
int SDLCALL build_audio_cvt(SDL_AudioCVT* cvt, SDL_AudioFormat src_format, Uint8 src_channels, int src_rate,
                            SDL_AudioFormat dst_format, Uint8 dst_channels, int dst_rate) {
  return g_real.BuildAudioCVT(cvt, src_format, src_channels, src_rate, dst_format, dst_channels, dst_rate);
}
int SDLCALL convert_audio(SDL_AudioCVT* cvt) { return g_real.ConvertAudio(cvt); }
void* SDLCALL sdl_malloc(size_t size) { return g_real.malloc(size); }
void SDLCALL sdl_free(void* memory) {
  forget(memory);
  g_real.free(memory);
}

// What the module's dlsym finds in the recording SDL: every function of the
// published list, typed as SDL's own.
constexpr abi::sdl::Api kRecordingSdl = {
    .library = nullptr,
    .SetHint = set_hint,
    .InitSubSystem = init_sub_system,
    .QuitSubSystem = quit_sub_system,
    .OpenAudioDevice = open_audio_device,
    .CloseAudioDevice = close_audio_device,
    .PauseAudioDevice = pause_audio_device,
    .RWFromConstMem = rw_from_const_mem,
    .LoadWAV_RW = load_wav_rw,
    .FreeWAV = free_wav,
    .BuildAudioCVT = build_audio_cvt,
    .ConvertAudio = convert_audio,
    .malloc = sdl_malloc,
    .free = sdl_free,
    .GetQueuedAudioSize = queued_audio_size,
    .QueueAudio = queue_audio,
};

#define ORV_SDL_ANSWERED(function) static_assert(kRecordingSdl.function != nullptr, "SDL_" #function);
ORV_SDL_AUDIO_FUNCTIONS(ORV_SDL_ANSWERED)
#undef ORV_SDL_ANSWERED

struct Export {
  const char* name;
  void* function;
};

template <typename Fn>
void* address(Fn* fn) {
  return reinterpret_cast<void*>(fn);
}

// The loader functions the module's imports are bound to.
void* module_dlopen(const char* file, int mode) {
  if (file != nullptr && std::strcmp(file, abi::sdl::kLibrary) == 0)
    return load_real_sdl() ? &g_sdl_handle : nullptr;
  return dlopen(file, mode);
}

void* module_dlsym(void* handle, const char* name) {
  if (handle != &g_sdl_handle) return dlsym(handle, name);
  if (name == nullptr) return nullptr;
#define ORV_SDL_EXPORT(function) \
  if (std::strcmp(name, "SDL_" #function) == 0) return address(kRecordingSdl.function);
  ORV_SDL_AUDIO_FUNCTIONS(ORV_SDL_EXPORT)
#undef ORV_SDL_EXPORT
  return nullptr;
}

int module_dlclose(void* handle) { return handle == &g_sdl_handle ? 0 : dlclose(handle); }

const Export kLoaderImports[] = {
    {"dlopen", address(module_dlopen)},
    {"dlsym", address(module_dlsym)},
    {"dlclose", address(module_dlclose)},
};

#if defined(__x86_64__)
constexpr unsigned kJumpSlot = R_X86_64_JUMP_SLOT, kGlobalData = R_X86_64_GLOB_DAT;
#elif defined(__aarch64__)
constexpr unsigned kJumpSlot = R_AARCH64_JUMP_SLOT, kGlobalData = R_AARCH64_GLOB_DAT;
#endif

#if defined(__x86_64__) || defined(__aarch64__)
// The read-only-after-relocation range of the object loaded at `base`.
struct Relro {
  ElfW(Addr) base = 0;
  ElfW(Addr) start = 0, end = 0;
};

int find_relro(dl_phdr_info* info, std::size_t, void* data) {
  auto* relro = static_cast<Relro*>(data);
  if (info->dlpi_addr != relro->base) return 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& ph = info->dlpi_phdr[i];
    if (ph.p_type != PT_GNU_RELRO) continue;
    relro->start = info->dlpi_addr + ph.p_vaddr;
    relro->end = relro->start + ph.p_memsz;
  }
  return 1;
}

// Points the slot at `value`; a slot on a page the loader made read-only
// is written through a writable moment.
bool write_slot(void** slot, void* value, const Relro& relro) {
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto at = reinterpret_cast<std::uintptr_t>(slot);
  const std::uintptr_t first = at & ~(page - 1);
  const bool read_only = first >= (relro.start & ~(page - 1)) && first + page <= relro.end;
  void* page_start = reinterpret_cast<void*>(first);
  if (read_only && mprotect(page_start, page, PROT_READ | PROT_WRITE) != 0) return false;
  *slot = value;
  if (read_only) mprotect(page_start, page, PROT_READ);
  return true;
}

bool bind(void* handle) {
  link_map* map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr || map->l_ld == nullptr) return false;
  const ElfW(Addr) base = map->l_addr;
  // Entries of the dynamic section are addresses once the loader has
  // relocated them, offsets from the base before.
  auto located = [base](ElfW(Addr) value) { return value < base ? base + value : value; };
  const ElfW(Sym)* symbols = nullptr;
  const char* names = nullptr;
  const ElfW(Rela) * tables[2] = {};
  std::size_t sizes[2] = {};
  for (const ElfW(Dyn)* d = map->l_ld; d->d_tag != DT_NULL; ++d) {
    switch (d->d_tag) {
      case DT_SYMTAB:
        symbols = reinterpret_cast<const ElfW(Sym)*>(located(d->d_un.d_ptr));
        break;
      case DT_STRTAB:
        names = reinterpret_cast<const char*>(located(d->d_un.d_ptr));
        break;
      case DT_JMPREL:
        tables[0] = reinterpret_cast<const ElfW(Rela)*>(located(d->d_un.d_ptr));
        break;
      case DT_PLTRELSZ:
        sizes[0] = d->d_un.d_val;
        break;
      case DT_RELA:
        tables[1] = reinterpret_cast<const ElfW(Rela)*>(located(d->d_un.d_ptr));
        break;
      case DT_RELASZ:
        sizes[1] = d->d_un.d_val;
        break;
      default:
        break;
    }
  }
  if (symbols == nullptr || names == nullptr) return false;
  Relro relro;
  relro.base = base;
  dl_iterate_phdr(find_relro, &relro);
  int bound = 0;
  for (int t = 0; t < 2; ++t) {
    if (tables[t] == nullptr) continue;
    for (std::size_t i = 0; i < sizes[t] / sizeof(ElfW(Rela)); ++i) {
      const ElfW(Rela)& r = tables[t][i];
      const auto type = static_cast<unsigned>(ELF64_R_TYPE(r.r_info));
      if (type != kJumpSlot && type != kGlobalData) continue;
      const char* name = names + symbols[ELF64_R_SYM(r.r_info)].st_name;
      for (const Export& e : kLoaderImports) {
        if (std::strcmp(name, e.name) != 0) continue;
        if (write_slot(reinterpret_cast<void**>(base + r.r_offset), e.function, relro)) ++bound;
      }
    }
  }
  return bound > 0;
}
#else
bool bind(void*) { return false; }
#endif

}  // namespace

bool bind_imports(Module& module) {
  g_files.clear();
  g_loaded = -1;
  return bind(reinterpret_cast<void*>(module.handle()));
}

}  // namespace orv::host::sound_recording
