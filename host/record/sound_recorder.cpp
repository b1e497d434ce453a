#include "host/record/sound_recorder.h"

#include <algorithm>
#include <vector>

#include "host/load/module.h"
#include "host/panel/host.h"

namespace orv::host {

namespace sound_recording {

namespace {

struct KnownBuffer {
  const void* key;
  int channel;
  int resource;
};

struct Recording {
  Module* module = nullptr;
  std::vector<KnownBuffer> buffers;
  int next_channel = 0;
};
Recording g_recording;

}  // namespace

Module* recorded_module() { return g_recording.module; }

void played(const void* key, const void* samples, std::uint32_t bytes, int loaded) {
  auto& buffers = g_recording.buffers;
  auto known =
      std::find_if(buffers.begin(), buffers.end(), [key](const KnownBuffer& b) { return b.key == key; });
  if (known == buffers.end()) {
    int resource =
        g_recording.module != nullptr ? g_recording.module->wave_resource_with_samples(samples, bytes) : -1;
    if (resource < 0) resource = loaded;
    buffers.push_back({key, g_recording.next_channel++, resource});
    known = buffers.end() - 1;
  }
  if (Host* host = Host::active()) host->sound_played(known->channel, known->resource, bytes);
}

void forget(const void* key) {
  auto& buffers = g_recording.buffers;
  buffers.erase(
      std::remove_if(buffers.begin(), buffers.end(), [key](const KnownBuffer& b) { return b.key == key; }),
      buffers.end());
}

}  // namespace sound_recording

bool record_sounds(Module& module) {
  sound_recording::g_recording = {};
  sound_recording::g_recording.module = &module;
  return sound_recording::bind_imports(module);
}

}  // namespace orv::host
