// The host's side of the native module's sound: the module plays its clicks
// through SDL audio, and an executable that links the sound capture (the
// `orvane_sound_capture` objects, with the SDL audio functions named in
// sound_capture.dynlist exported to the modules it loads) answers those calls
// itself. The module then binds to the host's functions instead of SDL's, as
// it would to any symbol the executable provides.
//
// The host stands in for the audio device:
//   - the device opens without SDL's audio subsystem (no audio thread, no
//     signal handlers, nothing to wait for at close);
//   - queued samples play out at the device's byte rate in simulated time
//     (the frames' time), so what a click finds still queued is the same on
//     every run and every machine;
//   - every queue is logged with the active host (Host::sound_played): the
//     instance whose callback played it, the sound buffer (numbered in the
//     order the module made them), the WAVE resource it was loaded from and
//     the bytes queued.
// Unless SDL_AUDIODRIVER is "dummy", the device calls also go to SDL, so the
// clicks are heard; the answers the module gets stay those of the stand-in.
#pragma once

namespace orv::host {

// Whether the running executable carries the sound capture (false on
// Windows and in executables that do not link it).
bool sound_capture_linked();

}  // namespace orv::host
