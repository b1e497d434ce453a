// A click like the module's WAVE resource 10, made by the tests themselves: a
// RIFF WAVE file image holding 1914 bytes of 8-bit mono PCM at 22050 samples
// per second, a decaying square wave around the 8-bit silence value 128.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace orv::test {

inline constexpr std::uint32_t kClickBytes = 1914;

// Sample i of the click.
inline std::uint8_t click_sample(std::uint32_t i) {
  const int amplitude = 100 - static_cast<int>(i * 100 / kClickBytes);
  return static_cast<std::uint8_t>(128 + ((i / 8) % 2 != 0 ? amplitude : -amplitude));
}

inline std::vector<std::uint8_t> click_samples() {
  std::vector<std::uint8_t> samples(kClickBytes);
  for (std::uint32_t i = 0; i < kClickBytes; ++i) samples[i] = click_sample(i);
  return samples;
}

inline std::vector<std::uint8_t> click_wave_image() {
  std::vector<std::uint8_t> image;
  auto bytes = [&](const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    image.insert(image.end(), b, b + n);
  };
  auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) image.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto u16 = [&](std::uint16_t v) {
    image.push_back(static_cast<std::uint8_t>(v));
    image.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  bytes("RIFF", 4);
  u32(4 + 8 + 16 + 8 + kClickBytes);
  bytes("WAVE", 4);
  bytes("fmt ", 4);
  u32(16);
  u16(1);      // PCM
  u16(1);      // mono
  u32(22050);  // samples per second
  u32(22050);  // bytes per second
  u16(1);      // block align
  u16(8);      // bits per sample
  bytes("data", 4);
  u32(kClickBytes);
  const std::vector<std::uint8_t> samples = click_samples();
  image.insert(image.end(), samples.begin(), samples.end());
  return image;
}

}  // namespace orv::test
