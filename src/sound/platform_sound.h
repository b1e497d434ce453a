// What each platform supplies to the sound operations: the device and buffer
// primitives behind the handles. The portable layer (sound.cpp) owns the latch
// and the order of the steps; a primitive only reports success or failure and
// never touches the latch.
#pragma once

#include <cstdint>

namespace orv::sound::platform {

// The base file name of the running executable (no directory, no extension)
// into `name` (`size` bytes, NUL-terminated); empty when unknown.
void executable_base_name(char* name, std::uint32_t size);

// The top-level window of class `window_class`, or null.
void* find_window_by_class(const char* window_class);

// Opens the default output into `*device` and binds it to `window`. On
// failure `*device` is null.
bool open_device(void* window, void** device);

// Creates into `*buffer` a buffer on `device` holding the sample data of WAVE
// resource `id` of `module`, positioned at its start. Returns the number of
// sample data bytes, 0 on failure (`*buffer` is then null).
std::uint32_t load_wave(void* device, void** buffer, std::uint16_t id, std::uintptr_t module);

// Starts the buffer from its current position.
bool play(void* buffer, std::uint32_t flags);

void release_buffer(void* buffer);
void release_device(void* device);

#if !defined(_WIN32)
// The SDL device id of the shared output, 0 while no click has opened it
// (native build).
std::uint32_t output_device_id();
#endif

}  // namespace orv::sound::platform
