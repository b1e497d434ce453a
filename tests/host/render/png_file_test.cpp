// The PNG writer at every level against Cairo's own writer: both files read
// back by libpng must hold the same pixels, for pictures that exercise the
// fast compressor's runs (flat colour, rows repeated from above, runs longer
// than one match), its literals (noise across many blocks), rows too long to
// repeat from above, and Cairo's premultiplied alpha.
#include "host/render/png_file.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

struct Case {
  const char* name;
  cairo_format_t format;
  int width, height;
  // The pixel word at (x, y); `noise` is a fresh random word.
  std::function<std::uint32_t(int x, int y, std::uint32_t noise)> pixel;
};

std::uint32_t premultiplied(std::uint32_t argb) {
  const std::uint32_t a = argb >> 24;
  auto c = [&](int shift) { return (((argb >> shift) & 0xFF) * a + 127) / 255 << shift; };
  return a << 24 | c(16) | c(8) | c(0);
}

const Case kCases[] = {
    {"flat", CAIRO_FORMAT_RGB24, 300, 40, [](int, int, std::uint32_t) { return 0x203040u; }},
    {"one_pixel", CAIRO_FORMAT_RGB24, 1, 1, [](int, int, std::uint32_t) { return 0xFF8000u; }},
    {"stripes", CAIRO_FORMAT_RGB24, 1000, 12,
     [](int x, int y, std::uint32_t) { return (x / 97 + y / 5) % 3 == 0 ? 0xFFFFFFu : 0x0000C0u; }},
    {"rows_from_above", CAIRO_FORMAT_RGB24, 257, 30,
     [](int x, int y, std::uint32_t) {
       return static_cast<std::uint32_t>((x * 2654435761u) >> 8) ^ (y / 10);
     }},
    {"noise", CAIRO_FORMAT_RGB24, 411, 201,
     [](int, int, std::uint32_t n) { return n; }},  // with a stray top byte
    {"too_wide_to_repeat_rows", CAIRO_FORMAT_RGB24, 11000, 3,
     [](int x, int, std::uint32_t n) { return x % 500 < 250 ? 0x102030u : n & 0xFFFFFF; }},
    {"alpha", CAIRO_FORMAT_ARGB32, 301, 33,
     [](int x, int y, std::uint32_t n) {
       const std::uint32_t a = x < 100 ? 0 : x < 200 ? 255 : (x + y) & 0xFF;
       return premultiplied(a << 24 | (x < 250 ? 0x80FF10u : n & 0xFFFFFF));
     }},
    // Runs of 65 pixels after the first: 260 bytes, one byte too long for a
    // match of 258 and a match of 2.
    {"alpha_runs", CAIRO_FORMAT_ARGB32, 500, 4,
     [](int x, int, std::uint32_t) { return (x / 66) % 2 != 0 ? premultiplied(0x80FF0000u) : 0xFF00FF00u; }},
    {"alpha_noise", CAIRO_FORMAT_ARGB32, 64, 64, [](int, int, std::uint32_t n) { return premultiplied(n); }},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::vector<std::uint8_t> read_rgba(const std::string& path, int* width, int* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return pixels;
}

class PngFile : public testing::TestWithParam<Case> {};

TEST_P(PngFile, EveryLevelHoldsCairosPixels) {
  const Case& c = GetParam();
  cairo_surface_t* s = cairo_image_surface_create(c.format, c.width, c.height);
  ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
  cairo_surface_flush(s);
  std::mt19937 random(7);
  unsigned char* data = cairo_image_surface_get_data(s);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const std::uint32_t p = c.pixel(x, y, static_cast<std::uint32_t>(random()));
      std::memcpy(data + y * cairo_image_surface_get_stride(s) + 4 * x, &p, 4);
    }
  cairo_surface_mark_dirty(s);
  const std::string dir = testing::TempDir();
  const std::string reference = dir + "/png_reference_" + c.name + ".png";
  ASSERT_EQ(cairo_surface_write_to_png(s, reference.c_str()), CAIRO_STATUS_SUCCESS);
  int rw = 0, rh = 0;
  const std::vector<std::uint8_t> expected = read_rgba(reference, &rw, &rh);
  ASSERT_FALSE(expected.empty());
  for (int level = 0; level <= 9; ++level) {
    const std::string path = dir + "/png_level_" + c.name + ".png";
    ASSERT_EQ(orv::render::write_png(s, path, level), CAIRO_STATUS_SUCCESS) << "level " << level;
    int w = 0, h = 0;
    const std::vector<std::uint8_t> got = read_rgba(path, &w, &h);
    EXPECT_EQ(w, rw) << "level " << level;
    EXPECT_EQ(h, rh) << "level " << level;
    EXPECT_TRUE(got == expected) << "level " << level;
    unlink(path.c_str());
  }
  unlink(reference.c_str());
  cairo_surface_destroy(s);
}

INSTANTIATE_TEST_SUITE_P(Pictures, PngFile, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

}  // namespace
