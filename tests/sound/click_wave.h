// A click like the module's WAVE resource 10, made by the tests themselves: a
// RIFF WAVE file image holding 1914 bytes of 8-bit mono PCM at 22050 samples
// per second, a decaying square wave around the 8-bit silence value 128.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace orv::test {

inline constexpr std::uint32_t kClickBytes = 1914;

inline std::vector<std::uint8_t> click_samples() {
  std::vector<std::uint8_t> samples(kClickBytes);
  for (std::uint32_t i = 0; i < kClickBytes; ++i) {
    const int amplitude = 100 - static_cast<int>(i * 100 / kClickBytes);
    samples[i] = static_cast<std::uint8_t>(128 + ((i / 8) % 2 != 0 ? amplitude : -amplitude));
  }
  return samples;
}

// The RIFF image: a 16-byte PCM format chunk (mono, 22050 per second, one
// byte per sample), then the data chunk.
inline std::vector<std::uint8_t> click_wave_image() {
  std::vector<std::uint8_t> image;
  image.reserve(44 + kClickBytes);
  auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) image.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; ++i) image.push_back(static_cast<std::uint8_t>(t[i]));
  };
  tag("RIFF");
  put(4 + 8 + 16 + 8 + kClickBytes, 4);
  tag("WAVE");
  tag("fmt ");
  for (auto [v, bytes] : {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {22050u, 4}, {22050u, 4}, {1u, 2}, {8u, 2}})
    put(v, bytes);
  tag("data");
  put(kClickBytes, 4);
  const std::vector<std::uint8_t> samples = click_samples();
  image.insert(image.end(), samples.begin(), samples.end());
  return image;
}

}  // namespace orv::test
