#include "artgen/sounds.h"

#include <algorithm>
#include <cmath>

#include "artgen/bytes.h"

namespace orv::art {
namespace {

constexpr double kRate = 22050.0;
constexpr double kTwoPi = 6.283185307179586;

// Deterministic white noise in -1..1.
class Noise {
 public:
  double next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
  }

 private:
  std::uint32_t state_ = 0x4F52u;
};

// A crisp switch click: a sharp noise transient and a bright ring that die
// out within about 40 ms, then silence.
double click(int n, Noise& noise) {
  const double t = n / kRate;
  const double attack = std::min(1.0, n / 3.0);
  const double ring = 0.55 * std::exp(-t / 0.006) * std::sin(kTwoPi * 3100 * t);
  const double body = 0.30 * std::exp(-t / 0.012) * std::sin(kTwoPi * 1150 * t);
  const double snap = 0.60 * std::exp(-t / 0.0015) * noise.next();
  return attack * (ring + body + snap);
}

// Two falling tones, each faded in and out.
double chime(int n, Noise&) {
  const double t = n / kRate, half = 0.2336;
  const double f = t < half ? 988.0 : 740.0;
  const double local = t < half ? t : t - half;
  const double env = std::min(1.0, local / 0.005) * std::exp(-local / 0.09);
  return 0.6 * env * std::sin(kTwoPi * f * t);
}

// A soft low thump with a little hiss.
double thump(int n, Noise& noise) {
  const double t = n / kRate;
  const double env = std::min(1.0, n / 20.0) * std::exp(-t / 0.03);
  return env * (0.7 * std::sin(kTwoPi * 170 * t) + 0.15 * noise.next());
}

void tag(std::vector<std::uint8_t>& v, const char* t) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(t[i]));
}

}  // namespace

const std::vector<SoundItem>& sound_table() {
  static const std::vector<SoundItem> kSounds = {
      {10, 8, 1914, "switch click (the one the gauges play)"},
      {20, 8, 10304, "two-tone chime"},
      {30, 16, 6014, "soft thump"},
  };
  return kSounds;
}

std::vector<std::uint8_t> wave_file(const SoundItem& item) {
  const unsigned bytes_per_sample = item.bits / 8;
  const unsigned samples = item.data_bytes / bytes_per_sample;
  double (*source)(int, Noise&) = item.id == 10 ? click : item.id == 20 ? chime : thump;
  std::vector<std::uint8_t> v;
  tag(v, "RIFF");
  put_u32(v, 4 + 8 + 16 + 8 + item.data_bytes);
  tag(v, "WAVE");
  tag(v, "fmt ");
  put_u32(v, 16);
  put_u16(v, 1);  // PCM
  put_u16(v, 1);  // mono
  put_u32(v, 22050);
  put_u32(v, 22050 * bytes_per_sample);
  put_u16(v, bytes_per_sample);
  put_u16(v, item.bits);
  tag(v, "data");
  put_u32(v, item.data_bytes);
  Noise noise;
  for (unsigned n = 0; n < samples; ++n) {
    const double s = std::clamp(source(static_cast<int>(n), noise), -1.0, 1.0);
    if (item.bits == 8) {
      v.push_back(static_cast<std::uint8_t>(std::lround(128.0 + 127.0 * s)));
    } else {
      put_u16(v, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(32767.0 * s))));
    }
  }
  return v;
}

}  // namespace orv::art
