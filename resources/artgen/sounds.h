// The module's WAVE resources: a click and two spare sounds, PCM mono at
// 22050 samples per second, made from a fixed formula and a fixed noise seed.
#pragma once

#include <cstdint>
#include <vector>

namespace orv::art {

struct SoundItem {
  unsigned id;
  int bits;             // 8 or 16
  unsigned data_bytes;  // size of the data chunk
  const char* shows;
};

const std::vector<SoundItem>& sound_table();
// The whole RIFF/WAVE file image of sound `item`.
std::vector<std::uint8_t> wave_file(const SoundItem& item);

}  // namespace orv::art
