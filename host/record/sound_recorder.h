// The host's own audio output for traces. After record_sounds(module), the
// module's sound calls reach the host instead of a sound library: every
// sound the module plays becomes Host::sound_played on the active host, and
// nothing sounds. The module binary is not changed and does not know: the
// host binds some of the module's imports to its own functions, as a loader
// would, once, right after loading it and before the module first plays.
//
//   native (SDL, which the module loads itself at its first sound): the
//   module's imports of dlopen, dlsym and dlclose (in its global offset
//   table). Its dlopen of "libSDL2-2.0.so.0" gets a handle whose symbols are
//   the host's: the output side (sub-system, device, queue) is a recording
//   device that never opens a real one, the file side (reading and
//   converting the clip, SDL's allocator) is the real SDL library's.
//   Windows (DirectSound): the module's import of DirectSoundCreate (in its
//   import address table), which then makes recording devices and buffers.
//
// A sound is what one play call queues: the buffer's samples (natively the
// block queued; on Windows the buffer's whole contents). `channel` numbers
// the module's buffers in the order of their first play, from 0; `resource`
// is the WAVE resource whose sample data the buffer holds (natively, when
// the module converted the clip, the resource it read last), -1 when none
// matches; `bytes` is the count of sample bytes queued. The recording device
// plays a sound through at once: the module never finds one still sounding.
//
// The binding lasts as long as the module is loaded. One module records at
// a time (a later call starts over with channel 0).
#pragma once

#include <cstdint>

namespace orv::host {

class Module;

// Binds the module's audio imports to the recording output; false when the
// module has none of them to bind (nothing is then recorded).
bool record_sounds(Module& module);

namespace sound_recording {

// The part the platform bindings share. A play of the buffer `key` whose
// samples are `bytes` bytes at `samples`: gives the buffer its channel at its
// first play and logs the sound with the active host. `loaded` is the
// resource the module read last (-1: unknown).
void played(const void* key, const void* samples, std::uint32_t bytes, int loaded);
// The buffer `key` is gone; its address may come back as another buffer.
void forget(const void* key);
// The module being recorded, null before record_sounds.
Module* recorded_module();

// The platform's binding of the module's imports.
bool bind_imports(Module& module);

}  // namespace sound_recording

}  // namespace orv::host
