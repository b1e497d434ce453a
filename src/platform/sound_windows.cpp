// Sound primitives of the Windows build: DirectSound devices and buffers, the
// clip read from the module's WAVE resource through the multimedia file
// functions on the resource's memory image, and the host window found by
// class name.
#include <windows.h>
// windows.h first: the multimedia and DirectSound headers need its types.
#include <dsound.h>
#include <mmsystem.h>

#include <cstdlib>
#include <cstring>

#include "sound/platform_sound.h"

namespace orv::sound::platform {

namespace {

#if !defined(_WIN64)
static_assert(sizeof(DSBUFFERDESC) == 36, "the buffer description the device expects");
#endif

// The format record as read from the start of the "fmt " chunk: 18 bytes,
// the last two of which (the extra size) PCM does not use.
static_assert(sizeof(WAVEFORMATEX) == 18);

constexpr DWORD kBufferFlags =
    DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS;
static_assert(kBufferFlags == 0x80E0);

// The resource bytes of WAVE `id`, locked, with the handle to free them.
struct Resource {
  HGLOBAL handle = nullptr;
  const void* bytes = nullptr;
  DWORD size = 0;
};

bool find_resource(HMODULE module, WORD id, Resource* out) {
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), "WAVE");
  if (info == nullptr) return false;
  out->handle = LoadResource(module, info);
  if (out->handle == nullptr) return false;
  out->bytes = LockResource(out->handle);
  if (out->bytes == nullptr) return false;
  out->size = SizeofResource(module, info);
  return true;
}

// Reads the format record and the sample data of a RIFF WAVE image into
// `format` and a locked temporary block of `*bytes` bytes. The image is read
// in place as a memory file.
HGLOBAL read_wave(const Resource& resource, WAVEFORMATEX* format, DWORD* bytes, void** samples) {
  MMIOINFO info{};
  info.fccIOProc = FOURCC_MEM;
  info.pchBuffer = static_cast<HPSTR>(const_cast<void*>(resource.bytes));
  info.cchBuffer = static_cast<LONG>(resource.size);
  HMMIO file = mmioOpenA(nullptr, &info, MMIO_ALLOCBUF | MMIO_READWRITE);
  if (file == nullptr) return nullptr;

  HGLOBAL block = nullptr;
  bool ok = false;
  MMCKINFO riff{};
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  MMCKINFO chunk{};
  if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) == 0) {
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) == 0 &&
        mmioRead(file, reinterpret_cast<HPSTR>(format), sizeof *format) != -1 &&
        mmioAscend(file, &chunk, 0) == 0) {
      chunk = MMCKINFO{};
      chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
      if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) == 0 && chunk.cksize > 0 &&
          chunk.cksize <= static_cast<DWORD>(LONG_MAX)) {
        block = GlobalAlloc(GMEM_MOVEABLE, chunk.cksize);
        *samples = block != nullptr ? GlobalLock(block) : nullptr;
        if (*samples != nullptr &&
            mmioRead(file, static_cast<HPSTR>(*samples), static_cast<LONG>(chunk.cksize)) ==
                static_cast<LONG>(chunk.cksize)) {
          *bytes = chunk.cksize;
          ok = true;
        }
      }
    }
  }
  mmioClose(file, 0);
  if (!ok && block != nullptr) {
    if (*samples != nullptr) GlobalUnlock(block);
    GlobalFree(block);
    block = nullptr;
  }
  return block;
}

// A buffer on `device` holding `bytes` bytes of `samples`, positioned at its
// start, or null.
IDirectSoundBuffer* make_buffer(IDirectSound* device, WAVEFORMATEX* format, const void* samples,
                                DWORD bytes) {
  DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = kBufferFlags;
  description.dwBufferBytes = bytes;
  description.lpwfxFormat = format;
  IDirectSoundBuffer* buffer = nullptr;
  if (device->CreateSoundBuffer(&description, &buffer, nullptr) != 0 || buffer == nullptr) return nullptr;

  void* region1 = nullptr;
  void* region2 = nullptr;
  DWORD size1 = 0;
  DWORD size2 = 0;
  bool ok = buffer->Lock(0, bytes, &region1, &size1, &region2, &size2, 0) == 0;
  if (ok) {
    std::memcpy(region1, samples, size1 < bytes ? size1 : bytes);
    ok = buffer->Unlock(region1, size1, region2, size2) == 0;
  }
  if (ok) ok = buffer->SetCurrentPosition(0) == 0;
  if (!ok) {
    buffer->Release();
    return nullptr;
  }
  return buffer;
}

}  // namespace

void executable_base_name(char* name, std::uint32_t size) {
  if (name == nullptr || size == 0) return;
  name[0] = '\0';
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  char base[_MAX_FNAME] = {};
  _splitpath(path, nullptr, nullptr, base, nullptr);
  std::size_t length = std::strlen(base);
  if (length >= size) length = size - 1;
  std::memcpy(name, base, length);
  name[length] = '\0';
}

void* find_window_by_class(const char* window_class) { return FindWindowA(window_class, nullptr); }

bool open_device(void* window, void** device) {
  *device = nullptr;
  IDirectSound* made = nullptr;
  if (DirectSoundCreate(nullptr, &made, nullptr) != 0 || made == nullptr) return false;
  if (made->SetCooperativeLevel(static_cast<HWND>(window), DSSCL_NORMAL) != 0) {
    made->Release();
    return false;
  }
  *device = made;
  return true;
}

std::uint32_t load_wave(void* device, void** buffer, std::uint16_t id, std::uintptr_t module) {
  *buffer = nullptr;
  Resource resource;
  if (!find_resource(reinterpret_cast<HMODULE>(module), id, &resource)) return 0;

  WAVEFORMATEX format{};
  DWORD bytes = 0;
  void* samples = nullptr;
  HGLOBAL block = read_wave(resource, &format, &bytes, &samples);
  FreeResource(resource.handle);
  if (block == nullptr) return 0;

  IDirectSoundBuffer* made =
      device != nullptr ? make_buffer(static_cast<IDirectSound*>(device), &format, samples, bytes) : nullptr;
  GlobalUnlock(block);
  GlobalFree(block);
  if (made == nullptr) return 0;
  *buffer = made;
  return bytes;
}

bool play(void* buffer, std::uint32_t flags) {
  return static_cast<IDirectSoundBuffer*>(buffer)->Play(0, 0, flags) == 0;
}

void release_buffer(void* buffer) { static_cast<IDirectSoundBuffer*>(buffer)->Release(); }

void release_device(void* device) { static_cast<IDirectSound*>(device)->Release(); }

}  // namespace orv::sound::platform
