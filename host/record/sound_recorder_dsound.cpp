// The Windows binding of the recording output: the module's import of
// DirectSoundCreate, rebound in its import address table, makes recording
// devices whose buffers log each play (see sound_recorder.h).
#include <windows.h>
// windows.h first: the DirectSound header needs its types.
#include <dsound.h>

#include <cstring>
#include <new>
#include <vector>

#include "host/load/module.h"
#include "host/record/sound_recorder.h"

namespace orv::host::sound_recording {

namespace {

// A buffer that holds what the module writes into it and logs each play; it
// never sounds, so it is never found playing.
class RecordingBuffer final : public IDirectSoundBuffer {
 public:
  RecordingBuffer(const DSBUFFERDESC& description)
      : flags_(description.dwFlags), samples_(description.dwBufferBytes) {
    if (description.lpwfxFormat != nullptr) format_ = *description.lpwfxFormat;
    format_.cbSize = 0;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    if (object != nullptr) *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      forget(this);
      delete this;
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetCaps(LPDSBCAPS caps) override {
    if (caps == nullptr || caps->dwSize < sizeof *caps) return DSERR_INVALIDPARAM;
    caps->dwFlags = flags_;
    caps->dwBufferBytes = size();
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD play, LPDWORD write) override {
    if (play != nullptr) *play = position_;
    if (write != nullptr) *write = position_;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX format, DWORD room, LPDWORD written) override {
    const DWORD size = sizeof format_;
    if (written != nullptr) *written = size;
    if (format == nullptr) return written != nullptr ? DS_OK : DSERR_INVALIDPARAM;
    if (room < size) return DSERR_INVALIDPARAM;
    *format = format_;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE GetVolume(LPLONG volume) override { return put(volume, volume_); }
  HRESULT STDMETHODCALLTYPE GetPan(LPLONG pan) override { return put(pan, pan_); }
  HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD frequency) override {
    if (frequency == nullptr) return DSERR_INVALIDPARAM;
    *frequency = frequency_ != 0 ? frequency_ : format_.nSamplesPerSec;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override {
    if (status == nullptr) return DSERR_INVALIDPARAM;
    *status = 0;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) override {
    return DSERR_ALREADYINITIALIZED;
  }
  HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD first_bytes,
                                 LPVOID* second, LPDWORD second_bytes, DWORD flags) override {
    if (first == nullptr || first_bytes == nullptr) return DSERR_INVALIDPARAM;
    if ((flags & DSBLOCK_FROMWRITECURSOR) != 0) offset = position_;
    if ((flags & DSBLOCK_ENTIREBUFFER) != 0) bytes = size();
    if (offset >= size() || bytes > size() || bytes == 0) return DSERR_INVALIDPARAM;
    const DWORD head = size() - offset < bytes ? size() - offset : bytes;
    *first = samples_.data() + offset;
    *first_bytes = head;
    if (second != nullptr) *second = head < bytes ? samples_.data() : nullptr;
    if (second_bytes != nullptr) *second_bytes = head < bytes ? bytes - head : 0;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE Play(DWORD, DWORD, DWORD) override {
    played(this, samples_.data(), size(), -1);
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) override {
    if (position >= size()) return DSERR_INVALIDPARAM;
    position_ = position;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX) override { return DSERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) override {
    volume_ = volume;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetPan(LONG pan) override {
    pan_ = pan;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetFrequency(DWORD frequency) override {
    frequency_ = frequency;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE Stop() override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Restore() override { return DS_OK; }

 private:
  ~RecordingBuffer() = default;
  DWORD size() const { return static_cast<DWORD>(samples_.size()); }
  static HRESULT put(LPLONG out, LONG value) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    *out = value;
    return DS_OK;
  }

  ULONG references_ = 1;
  DWORD flags_;
  std::vector<unsigned char> samples_;
  WAVEFORMATEX format_{};
  DWORD position_ = 0, frequency_ = 0;
  LONG volume_ = 0, pan_ = 0;
};

// A device that makes recording buffers.
class RecordingDevice final : public IDirectSound {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    if (object != nullptr) *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC description, LPLPDIRECTSOUNDBUFFER buffer,
                                              IUnknown* outer) override {
    if (buffer == nullptr) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (outer != nullptr) return DSERR_NOAGGREGATION;
    if (!cooperating_) return DSERR_PRIOLEVELNEEDED;
    if (description == nullptr || description->dwSize < sizeof(DSBUFFERDESC1) ||
        (description->dwFlags & DSBCAPS_PRIMARYBUFFER) != 0 || description->lpwfxFormat == nullptr ||
        description->dwBufferBytes < DSBSIZE_MIN || description->dwBufferBytes > DSBSIZE_MAX)
      return DSERR_INVALIDPARAM;
    auto* made = new (std::nothrow) RecordingBuffer(*description);
    if (made == nullptr) return DSERR_OUTOFMEMORY;
    *buffer = made;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCaps(LPDSCAPS caps) override {
    if (caps == nullptr || caps->dwSize < sizeof *caps) return DSERR_INVALIDPARAM;
    const DWORD size = caps->dwSize;
    std::memset(caps, 0, sizeof *caps);
    caps->dwSize = size;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER, LPLPDIRECTSOUNDBUFFER copy) override {
    if (copy != nullptr) *copy = nullptr;
    return DSERR_UNSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND, DWORD) override {
    cooperating_ = true;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE Compact() override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE GetSpeakerConfig(LPDWORD config) override {
    if (config == nullptr) return DSERR_INVALIDPARAM;
    *config = DSSPEAKER_STEREO;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSpeakerConfig(DWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Initialize(LPCGUID) override { return DSERR_ALREADYINITIALIZED; }

 private:
  ~RecordingDevice() = default;
  ULONG references_ = 1;
  bool cooperating_ = false;
};

HRESULT WINAPI create_recording_device(LPCGUID, LPDIRECTSOUND* device, LPUNKNOWN outer) {
  if (device == nullptr) return DSERR_INVALIDPARAM;
  *device = nullptr;
  if (outer != nullptr) return DSERR_NOAGGREGATION;
  auto* made = new (std::nothrow) RecordingDevice;
  if (made == nullptr) return DSERR_OUTOFMEMORY;
  *device = made;
  return DS_OK;
}

// The image's data at relative address `rva`.
template <typename T>
T* at(BYTE* image, DWORD rva) {
  return reinterpret_cast<T*>(image + rva);
}

}  // namespace

bool bind_imports(Module& module) {
  auto* image = reinterpret_cast<BYTE*>(module.handle());
  if (image == nullptr) return false;
  const auto* dos = at<IMAGE_DOS_HEADER>(image, 0);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
  const auto* nt = at<IMAGE_NT_HEADERS>(image, static_cast<DWORD>(dos->e_lfanew));
  if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return false;
  int bound = 0;
  for (auto* d = at<IMAGE_IMPORT_DESCRIPTOR>(image, directory.VirtualAddress); d->Name != 0; ++d) {
    if (_stricmp(at<const char>(image, d->Name), "dsound.dll") != 0 || d->OriginalFirstThunk == 0) continue;
    auto* names = at<IMAGE_THUNK_DATA>(image, d->OriginalFirstThunk);
    auto* slots = at<IMAGE_THUNK_DATA>(image, d->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
        if (IMAGE_ORDINAL(names->u1.Ordinal) != 1) continue;  // DirectSoundCreate's ordinal
      } else {
        const auto* by_name = at<IMAGE_IMPORT_BY_NAME>(image, static_cast<DWORD>(names->u1.AddressOfData));
        if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), "DirectSoundCreate") != 0) continue;
      }
      DWORD old = 0;
      if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old)) continue;
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(&create_recording_device);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
      ++bound;
    }
  }
  return bound > 0;
}

}  // namespace orv::host::sound_recording
