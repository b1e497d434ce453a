// The animated GIF writer of orvane-panel render, read back with the tests'
// own strict decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "animation.h"
#include "host/load/host_error.h"
#include "support/gif_read.h"

namespace {

namespace fs = std::filesystem;
using orv::panel_tool::GifAnimation;
using orv::render::Image;
using orv::render::PixelFormat;

using Colours = std::function<std::uint32_t(int x, int y)>;

void fill(Image& image, const Colours& colour) {
  image.flush();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const std::uint32_t p = colour(x, y);
      std::memcpy(image.data() + static_cast<std::ptrdiff_t>(y) * image.stride() + 4 * x, &p, 4);
    }
  image.changed();
}

struct Frame {
  int width, height;
  Colours colour;
  PixelFormat format = PixelFormat::rgb;
};

// The frames written at `fps` and `scale` (and `loss`; 0, the frames'
// own colours where a palette holds them, unless a test says otherwise)
// and read back.
orv::test::Gif animate(const std::string& name, const std::vector<Frame>& frames, double fps = 6.0,
                       double scale = 1.0, int loss = 0) {
  const fs::path path = fs::path(ORV_TEST_DIR) / "gif_animation" / (name + ".gif");
  {
    GifAnimation gif(path.string(), fps, scale, loss);
    for (const Frame& f : frames) {
      Image image(f.width, f.height, f.format);
      fill(image, f.colour);
      gif.add(image);
    }
    gif.close();
    EXPECT_EQ(gif.frames(), static_cast<int>(frames.size()));
  }
  orv::test::Gif read;
  const std::string error = orv::test::read_gif(path.string(), read);
  EXPECT_EQ(error, "") << path;
  EXPECT_EQ(read.frames.size(), frames.size()) << path;
  return read;
}

// A fixed pseudo-random sequence.
std::uint32_t scatter(int x, int y) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
  h ^= h >> 13;
  return h * 0x5bd1e995u;
}

// Frames of at most 256 colours, as instrument pictures mostly are, come
// back pixel for pixel: long runs of one colour (long strings), three
// colours (the smallest code size), 255 colours once each (the end code just
// after the codes grow), and 256 colours scattered so that the codes grow to
// 12 bits and the table is cleared many times over.
TEST(GifAnimation, FramesOfAtMost256ColoursComeBackExactly) {
  enum Pattern { bands, scattered, once };
  struct Case {
    const char* name;
    int width, height, colours;
    Pattern pattern;
    PixelFormat format;
  };
  const Case cases[] = {
      {"one", 301, 199, 1, bands, PixelFormat::rgb},
      {"three", 64, 48, 3, scattered, PixelFormat::rgb},
      {"bands", 256, 100, 100, bands, PixelFormat::argb},
      {"once", 255, 1, 255, once, PixelFormat::rgb},
      {"scattered", 240, 170, 256, scattered, PixelFormat::rgb},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto colour = [&](int x, int y) -> std::uint32_t {
      const std::uint32_t k = c.pattern == scattered ? scatter(x, y) % c.colours
                              : c.pattern == bands   ? (x / 5 + y) % c.colours
                                                     : x % c.colours;
      const std::uint32_t rgb = (k * 0x3F1D27u + 0x102030u) & 0xFFFFFFu;
      // Premultiplied pixels seen on black: the colour words as they are.
      return c.format == PixelFormat::argb ? (rgb & 0x7F7F7Fu) | 0x80000000u : rgb | 0xFF000000u;
    };
    const orv::test::Gif gif = animate(c.name, {{c.width, c.height, colour, c.format}});
    ASSERT_EQ(gif.frames.size(), 1u);
    ASSERT_EQ(gif.width, c.width);
    ASSERT_EQ(gif.height, c.height);
    int wrong = 0;
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        wrong +=
            gif.frames[0].pixels[static_cast<std::size_t>(y * c.width + x)] != (colour(x, y) & 0xFFFFFFu);
    EXPECT_EQ(wrong, 0);
  }
}

// More colours than a palette holds (a smooth 32768-colour field): every
// pixel stays near its own colour, and a few pixels of a colour far from all
// the others (a warning light) keep theirs.
TEST(GifAnimation, FramesOfManyColoursStayNearTheirOwn) {
  auto colour = [](int x, int y) -> std::uint32_t {
    if (x >= 100 && x < 102 && y >= 60 && y < 62) return 0xFF00FFFFu;  // a light
    return 0xFF000000u | static_cast<std::uint32_t>(x << 16 | 2 * y << 8 | (x + y) / 2);
  };
  const orv::test::Gif gif = animate("many", {{256, 128, colour}});
  ASSERT_EQ(gif.frames.size(), 1u);
  EXPECT_EQ(gif.frames[0].table_size, 256);
  int worst = 0;
  long total = 0;
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 256; ++x) {
      const std::uint32_t got = gif.frames[0].pixels[static_cast<std::size_t>(y * 256 + x)],
                          want = colour(x, y);
      for (int shift = 0; shift <= 16; shift += 8) {
        const int d =
            std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF));
        worst = std::max(worst, d);
        total += d;
      }
    }
  EXPECT_EQ(gif.frames[0].pixels[60 * 256 + 100], 0x00FFFFu);
  EXPECT_LE(worst, 12);
  EXPECT_LE(static_cast<double>(total) / (256 * 128 * 3), 3.5);
}

// Frames of other sizes on the first frame's canvas, scaled by area: the
// larger one cut at the canvas, the smaller one on black; every frame shown
// for the frame time, the whole looping forever.
TEST(GifAnimation, LoopsItsFramesAtTheFrameRateOnTheFirstFramesCanvas) {
  auto flat = [](std::uint32_t c) { return [c](int, int) { return c; }; };
  const orv::test::Gif gif =
      animate("sizes",
              {{40, 20, flat(0xFFFF0000u)},
               {80, 40, flat(0xFF00FF00u)},
               {20, 10, flat(0xFF0000FFu)},
               {40, 20, [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u; }}},
              4.0, 0.5);
  ASSERT_EQ(gif.frames.size(), 4u);
  EXPECT_EQ(gif.width, 20);
  EXPECT_EQ(gif.height, 10);
  EXPECT_EQ(gif.loop_count, 0);
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(gif.frames[static_cast<std::size_t>(k)].delay_cs, 25);  // 4 frames a second
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x) {
        const std::uint32_t expected[] = {0xFF0000u, 0x00FF00u, x < 10 && y < 5 ? 0x0000FFu : 0u, 0x808080u};
        ASSERT_EQ(gif.frames[static_cast<std::size_t>(k)].pixels[static_cast<std::size_t>(y * 20 + x)],
                  expected[k])
            << x << "," << y;
      }
  }
}

// After the first frame only what changed is stored: the rectangle around
// the changed pixels (a moved square, a pixel in a corner), or one
// transparent pixel when nothing changed; the screen shown after every
// frame is that frame, also when the changed pixels have more colours than
// a palette holds (the pixels that did not change keep theirs).
TEST(GifAnimation, LaterFramesStoreTheChangedRectangleAndShowEveryFrameExactly) {
  auto square_at = [](int left, int top, std::uint32_t background) {
    return [=](int x, int y) -> std::uint32_t {
      if (x >= left && x < left + 8 && y >= top && y < top + 8) return 0xFFFFFFFFu;
      return 0xFF000000u | background;
    };
  };
  auto gradient = [](int x, int y) -> std::uint32_t {
    if (x >= 30 && x < 90 && y >= 10 && y < 50)
      return 0xFF000000u | static_cast<std::uint32_t>(x << 16 | y << 10 | x);
    return 0xFF203040u;
  };
  const std::vector<Frame> frames = {
      {120, 60, square_at(10, 10, 0x203040u)},
      {120, 60, square_at(14, 12, 0x203040u)},
      {120, 60, square_at(14, 12, 0x203040u)},
      {120, 60,
       [&](int x, int y) { return x == 119 && y == 59 ? 0xFFFF0000u : square_at(14, 12, 0x203040u)(x, y); }},
      {120, 60, gradient},
  };
  const orv::test::Gif gif = animate("delta", frames);
  ASSERT_EQ(gif.frames.size(), frames.size());
  struct Stored {
    int x, y, w, h;
  };
  const Stored stored[] = {
      {0, 0, 120, 60}, {10, 10, 12, 10}, {0, 0, 1, 1}, {119, 59, 1, 1}, {14, 10, 106, 50}};
  for (std::size_t k = 0; k < frames.size(); ++k) {
    SCOPED_TRACE(k);
    const auto& f = gif.frames[k];
    EXPECT_EQ((std::vector<int>{f.image[0], f.image[1], f.image[2], f.image[3]}),
              (std::vector<int>{stored[k].x, stored[k].y, stored[k].w, stored[k].h}));
    if (k == 4) continue;  // more colours than a palette: near, below
    int wrong = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 120; ++x)
        wrong += f.pixels[static_cast<std::size_t>(y * 120 + x)] != (frames[k].colour(x, y) & 0xFFFFFFu);
    EXPECT_EQ(wrong, 0);
  }
  // Outside the gradient the last frame shows its own background exactly.
  EXPECT_EQ(gif.frames[4].pixels[0], 0x203040u);
  EXPECT_EQ(gif.frames[4].pixels[59 * 120 + 119], 0x203040u);
  EXPECT_EQ(gif.frames[4].pixels[12 * 120 + 15], 0x203040u);
}

// Few changed pixels in a large frame: the transparent runs between them,
// from one pixel to nearly the whole frame (two changed corners), are
// stored as strings of runs that grow from frame to frame and are cleared
// with the table in the middle of a run; every frame shows exactly.
TEST(GifAnimation, FewChangedPixelsAmongLongTransparentRunsShowExactly) {
  struct Case {
    const char* name;
    int every;    // about one changed pixel in `every`; 0: the two corners only
    int colours;  // among the changed pixels
  };
  const Case cases[] = {
      {"corners", 0, 2}, {"one_in_3", 3, 40}, {"one_in_61", 61, 250}, {"one_in_4001", 4001, 7}};
  constexpr int kWidth = 640, kHeight = 400;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto frame = [&](int k) {
      return [=](int x, int y) -> std::uint32_t {
        const std::uint32_t h = scatter(x + 7 * k, y);
        const bool changed = c.every == 0 ? (x == 0 && y == 0) || (x == kWidth - 1 && y == kHeight - 1)
                                          : h % static_cast<std::uint32_t>(c.every) == 0;
        if (k == 0 || !changed) return 0xFF102030u;
        return 0xFF000000u | (((h >> 8) % static_cast<std::uint32_t>(c.colours)) * 0x2F1B0Du & 0xFFFFFFu);
      };
    };
    std::vector<Frame> frames;
    for (int k = 0; k < 4; ++k) frames.push_back({kWidth, kHeight, frame(k)});
    const orv::test::Gif gif = animate(std::string("runs_") + c.name, frames);
    ASSERT_EQ(gif.frames.size(), frames.size());
    for (std::size_t k = 0; k < frames.size(); ++k) {
      int wrong = 0;
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
          wrong += gif.frames[k].pixels[static_cast<std::size_t>(y * kWidth + x)] !=
                   (frames[k].colour(x, y) & 0xFFFFFFu);
      EXPECT_EQ(wrong, 0) << "frame " << k;
    }
  }
}

std::string bytes_of(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

int channel_gap(std::uint32_t a, std::uint32_t b) {
  int worst = 0;
  for (int shift = 0; shift <= 16; shift += 8)
    worst = std::max(worst,
                     std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  return worst;
}

int squared_distance(std::uint32_t a, std::uint32_t b) {
  int d = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int step = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    d += step * step;
  }
  return d;
}

// Lossy frames: an anti-aliased disc moving and a line turning over a
// gradient of more colours than a palette holds that drifts by one or two
// a frame (so that a picture left as it was would stray further and
// further), one frame repeated. After every frame each pixel shown is
// within the loss of its colour in every primary, or else it is the entry
// nearest its colour in the palette of the last frame that stored it, and
// its colour has not changed since (the palette's own error, the only one
// at loss 0). The same frames give the same bytes, fewer with more loss.
TEST(GifAnimation, LossyFramesStayWithinTheLossOfTheirColours) {
  constexpr int kWidth = 96, kHeight = 72, kFrames = 10;
  auto colour_at = [](int k, int x, int y) -> std::uint32_t {
    if (k == 6) k = 5;  // unchanged
    double c[3] = {60.0 + x + k, 80.0 + y + 2 * k, 120.0 + (x + y) / 2.0};
    auto over = [&](double cover, const double(&ink)[3]) {
      cover = std::clamp(cover, 0.0, 1.0);
      for (int i = 0; i < 3; ++i) c[i] += (ink[i] - c[i]) * cover;
    };
    over(14.5 - std::hypot(x - 20.0 - 6.3 * k, y - 36.0 - 2.2 * k), {250, 220, 40});
    const double a = 0.3 * k, d = std::abs((x - 60.0) * std::sin(a) - (y - 30.0) * std::cos(a));
    over(1.25 - d, {30, 255, 90});
    std::uint32_t rgb = 0xFF000000u;
    for (int i = 0; i < 3; ++i) rgb |= static_cast<std::uint32_t>(std::lround(c[i])) << (16 - 8 * i);
    return rgb;
  };
  std::vector<Frame> frames;
  for (int k = 0; k < kFrames; ++k)
    frames.push_back({kWidth, kHeight, [=](int x, int y) { return colour_at(k, x, y); }});
  std::size_t size_before = 0;
  std::vector<std::uint32_t> first_picture;
  for (const int loss : {0, 4, 16}) {
    SCOPED_TRACE(loss);
    const std::string name = "lossy_" + std::to_string(loss);
    const orv::test::Gif gif = animate(name, frames, 6.0, 1.0, loss);
    ASSERT_EQ(gif.frames.size(), frames.size());
    // The first frame, whose still parts stay on the screen, as without loss.
    if (loss == 0) first_picture = gif.frames[0].pixels;
    EXPECT_EQ(gif.frames[0].pixels, first_picture);
    std::vector<int> stored_by(kWidth * kHeight, 0);  // the last frame that stored each pixel
    int wrong = 0;
    for (int k = 0; k < kFrames; ++k) {
      const orv::test::GifFrame& f = gif.frames[static_cast<std::size_t>(k)];
      for (int y = 0; y < f.image[3]; ++y)
        for (int x = 0; x < f.image[2]; ++x)
          if (f.indices[static_cast<std::size_t>(y * f.image[2] + x)] != f.transparent)
            stored_by[static_cast<std::size_t>((f.image[1] + y) * kWidth + f.image[0] + x)] = k;
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
          const std::uint32_t want = colour_at(k, x, y) & 0xFFFFFFu,
                              got = f.pixels[static_cast<std::size_t>(y * kWidth + x)];
          if (channel_gap(got, want) <= loss) continue;
          const int m = stored_by[static_cast<std::size_t>(y * kWidth + x)];
          const orv::test::GifFrame& by = gif.frames[static_cast<std::size_t>(m)];
          // The palette: the entries before the transparent one.
          const auto entries =
              by.transparent >= 0 ? static_cast<std::size_t>(by.transparent) : by.table.size();
          int nearest = squared_distance(by.table[0], want);
          for (std::size_t e = 1; e < entries; ++e)
            nearest = std::min(nearest, squared_distance(by.table[e], want));
          wrong += (colour_at(m, x, y) & 0xFFFFFFu) != want || squared_distance(got, want) != nearest;
        }
    }
    EXPECT_EQ(wrong, 0);
    const fs::path path = fs::path(ORV_TEST_DIR) / "gif_animation" / (name + ".gif");
    const std::string first = bytes_of(path);
    animate(name, frames, 6.0, 1.0, loss);
    EXPECT_EQ(bytes_of(path), first);
    if (loss > 0) {
      EXPECT_LT(first.size(), size_before);
    }
    size_before = first.size();
  }
}

TEST(GifAnimation, AFileThatCannotBeWrittenIsAnError) {
  const fs::path blocker = fs::path(ORV_TEST_DIR) / "gif_animation" / "not_a_folder";
  fs::create_directories(blocker.parent_path());
  {
    std::FILE* f = std::fopen(blocker.c_str(), "w");
    std::fclose(f);
  }
  EXPECT_THROW(GifAnimation((blocker / "x.gif").string(), 6.0, 1.0), orv::host::HostError);
}

}  // namespace

namespace {

// The progress of a long run: counts clamped to the run, the bar filled in
// proportion, the count right-aligned so the bar does not move.
TEST(Progress, LinesAndBarsShowTheShareDone) {
  using orv::panel_tool::progress_line;
  struct Case {
    long count, total;
    int bar;
    const char* line;
  };
  const Case cases[] = {
      {4, 4, 0, "render: frame 4/4 (100%)"},
      {1, 3, 0, "render: frame 1/3 (33%)"},
      {0, 0, 0, "render: frame 0/1 (0%)"},
      {5, 4, 0, "render: frame 4/4 (100%)"},
      {12, 198, 10, "render: frame  12/198 [..........] 6%"},
      {99, 198, 10, "render: frame  99/198 [#####.....] 50%"},
      {198, 198, 10, "render: frame 198/198 [##########] 100%"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(progress_line("render: frame", c.count, c.total, c.bar), c.line) << c.count << "/" << c.total;
}

}  // namespace
