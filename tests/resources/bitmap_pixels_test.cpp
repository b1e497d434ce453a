// The module's bitmaps decode to the pixels they were drawn with, whatever
// form the module stores them in (24 bits, or 8 with a palette; shared
// between ids): every bitmap of the built module, read the way the host reads
// it natively (BMP file image) and the way it reads a Windows resource (from
// the info header on), against bitmap_pixels.txt, the table of pixel digests
// `orv_artgen --digests` prints (written from the 24-bit bitmaps the module
// stored before it stored palettes). And the decoder refuses what it cannot
// read.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/render/render.h"

namespace {

using orv::render::Image;

std::uint64_t digest(Image& image) {
  image.flush();
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(image.data() + y * image.stride());
    for (int x = 0; x < image.width(); ++x)
      for (int shift : {16, 8, 0}) {
        h ^= (row[x] >> shift) & 0xFF;
        h *= 0x100000001b3ull;
      }
  }
  return h;
}

struct Expected {
  unsigned id;
  int width, height;
  std::uint64_t digest;
};

std::vector<Expected> expected() {
  std::ifstream f(ORV_BITMAP_PIXELS);
  std::vector<Expected> v;
  std::string line;
  while (std::getline(f, line)) {
    std::istringstream in(line);
    Expected e{};
    in >> e.id >> e.width >> e.height >> std::hex >> e.digest;
    if (in) v.push_back(e);
  }
  return v;
}

using ResourceFn = const unsigned char* (*)(const char*, unsigned, unsigned*);

TEST(BitmapPixels, EveryBitmapOfTheModuleDecodesInBothFormsToItsDrawnPixels) {
  void* module = dlopen(ORV_REAL_MODULE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  const auto resource = reinterpret_cast<ResourceFn>(dlsym(module, "orv_module_resource"));
  ASSERT_NE(resource, nullptr);
  const std::vector<Expected> table = expected();
  ASSERT_EQ(table.size(), 197u);
  unsigned indexed = 0;
  {
    const auto store = orv::render::BitmapStore::from_module(module);
    for (const Expected& e : table) {
      SCOPED_TRACE(e.id);
      unsigned size = 0;
      const unsigned char* bytes = resource("BITMAP", e.id, &size);
      ASSERT_NE(bytes, nullptr);
      ASSERT_GT(size, 14u);
      if (bytes[28] == 8) ++indexed;
      const Image* file = store.image(e.id, false);
      ASSERT_NE(file, nullptr);
      EXPECT_EQ(file->width(), e.width);
      EXPECT_EQ(file->height(), e.height);
      EXPECT_EQ(digest(const_cast<Image&>(*file)), e.digest);
      auto from_resource = orv::render::decode_bitmap(bytes + 14, size - 14, false);
      ASSERT_NE(from_resource, nullptr);
      EXPECT_EQ(digest(*from_resource), e.digest);
    }
  }
  // 155 of the 171 distinct pictures have 256 colours or fewer.
  EXPECT_GE(indexed, 155u);
  dlclose(module);
}

void put32(std::vector<unsigned char>& v, std::uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<unsigned char>(x >> (8 * i)));
}

// A 2 x 1 bitmap resource of 8 bits with `colours` palette entries stated,
// `stored` of them present, then its row of pixel values.
std::vector<unsigned char> indexed_resource(std::uint32_t colours, std::uint32_t stored,
                                            std::vector<unsigned char> row) {
  std::vector<unsigned char> v;
  for (std::uint32_t x : {40u, 2u, 1u}) put32(v, x);
  v.insert(v.end(), {1, 0, 8, 0});
  for (std::uint32_t x : {0u, 4u, 0u, 0u, colours, 0u}) put32(v, x);
  for (std::uint32_t i = 0; i < stored; ++i) put32(v, 0x102030u * (i + 1));
  v.insert(v.end(), row.begin(), row.end());
  return v;
}

TEST(BitmapPixels, IndexedBitmapsDecodeByTheirPaletteAndBadOnesAreRefused) {
  struct Case {
    const char* what;
    std::vector<unsigned char> bytes;
    bool decodes;
    std::uint32_t second;  // the second pixel, when it decodes
  };
  const Case cases[] = {
      {"two entries", indexed_resource(2, 2, {0, 1, 0, 0}), true, 0xFF204060u},
      {"a value past the palette is black", indexed_resource(2, 2, {0, 7, 0, 0}), true, 0xFF000000u},
      {"no count means 256 entries", indexed_resource(0, 256, {0, 1, 0, 0}), true, 0xFF204060u},
      {"more than 256 entries", indexed_resource(257, 257, {0, 1, 0, 0}), false, 0},
      {"palette past the end", indexed_resource(200, 2, {0, 1, 0, 0}), false, 0},
      {"row past the end", indexed_resource(2, 2, {0, 1}), false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto image = orv::render::decode_bitmap(c.bytes.data(), static_cast<unsigned>(c.bytes.size()), false);
    ASSERT_EQ(image != nullptr, c.decodes);
    if (!image) continue;
    image->flush();
    EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(image->data())[1], c.second);
  }
}

}  // namespace
