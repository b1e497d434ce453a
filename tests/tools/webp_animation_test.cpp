// The lossless animated WebP of orvane-panel render, decoded by libwebp's
// own animation decoder: every frame shows exactly the pixels given, at
// its time, also where a frame stores only what changed or nothing.
#include <gtest/gtest.h>
#include <webp/demux.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "animation.h"

namespace {

namespace fs = std::filesystem;

TEST(WebpAnimation, EveryFrameDecodesToItsPixelsAtItsTime) {
  constexpr int kW = 90, kH = 50;
  // Many colours (more than a GIF palette), a square that moves, a frame
  // that repeats the one before, a last frame of another size (on black).
  auto frame = [](int k, int x, int y) -> std::uint32_t {
    k = k == 2 ? 1 : k;
    const int left = 10 + 7 * k;
    if (x >= left && x < left + 9 && y >= 20 && y < 29) return 0xFFFFFFFFu;
    return 0xFF000000u | static_cast<std::uint32_t>((x * 3) << 16 | (y * 5) << 8 | (x + y + k));
  };
  const fs::path path = fs::path(ORV_TEST_DIR) / "webp_animation" / "frames.webp";
  std::vector<std::vector<std::uint32_t>> given;
  {
    auto animation = orv::panel_tool::Animation::open(path.string(), 5.0, 1.0);
    for (int k = 0; k < 5; ++k) {
      const int w = k == 4 ? 40 : kW;
      std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * kH);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < w; ++x) pixels[static_cast<std::size_t>(y * w + x)] = frame(k, x, y);
      animation->add(reinterpret_cast<const unsigned char*>(pixels.data()), w, kH, 4 * w);
      std::vector<std::uint32_t> shown(static_cast<std::size_t>(kW) * kH, 0);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < w; ++x) shown[static_cast<std::size_t>(y * kW + x)] = frame(k, x, y) & 0xFFFFFFu;
      given.push_back(shown);
    }
    animation->close();
  }
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  const WebPData data{bytes.data(), bytes.size()};
  WebPAnimDecoderOptions options;
  ASSERT_TRUE(WebPAnimDecoderOptionsInit(&options));
  options.color_mode = MODE_BGRA;
  const std::unique_ptr<WebPAnimDecoder, void (*)(WebPAnimDecoder*)> owner(
      WebPAnimDecoderNew(&data, &options), WebPAnimDecoderDelete);
  WebPAnimDecoder* decoder = owner.get();
  ASSERT_NE(decoder, nullptr);
  WebPAnimInfo info;
  ASSERT_TRUE(WebPAnimDecoderGetInfo(decoder, &info));
  EXPECT_EQ(info.canvas_width, static_cast<std::uint32_t>(kW));
  EXPECT_EQ(info.canvas_height, static_cast<std::uint32_t>(kH));
  EXPECT_EQ(info.loop_count, 0u);
  // The repeated frame lengthens the one before: four stored frames.
  EXPECT_EQ(info.frame_count, 4u);
  const int starts[] = {0, 200, 600, 800};  // milliseconds
  const int shows[] = {0, 1, 3, 4};         // the frame given that each shows
  for (int k = 0; WebPAnimDecoderHasMoreFrames(decoder); ++k) {
    SCOPED_TRACE(k);
    std::uint8_t* rgba = nullptr;
    int end = 0;
    ASSERT_TRUE(WebPAnimDecoderGetNext(decoder, &rgba, &end));
    ASSERT_LT(k, 4);
    EXPECT_EQ(end, k < 3 ? starts[k + 1] : 1000);
    int wrong = 0;
    for (std::size_t i = 0; i < given[0].size(); ++i) {
      const std::uint32_t got = rgba[4 * i] | rgba[4 * i + 1] << 8 | rgba[4 * i + 2] << 16;
      wrong += got != given[static_cast<std::size_t>(shows[k])][i] || rgba[4 * i + 3] != 0xFF;
    }
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace
