// The native build's embedded resources: whole BMP and WAVE file images found
// by type and id, with the sizes the gauges rely on, each picture stored once.
#include "platform/module_resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>

namespace {

std::uint32_t u32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

TEST(ModuleResources, EveryBitmapIsAWholeBmpFileAndIdenticalOnesAreStoredOnce) {
  unsigned bitmaps = 0;
  std::set<const unsigned char*> stored;
  for (unsigned i = 0; i < orv::platform::kResourceCount; ++i) {
    const auto& e = orv::platform::kResources[i];
    if (std::strcmp(e.type, "BITMAP") != 0) continue;
    ++bitmaps;
    unsigned size = 0;
    const unsigned char* p = orv_module_resource("BITMAP", e.id, &size);
    ASSERT_NE(p, nullptr) << e.id;
    ASSERT_GE(size, 54u);
    stored.insert(p);
    EXPECT_EQ(std::memcmp(p, "BM", 2), 0) << e.id;
    EXPECT_EQ(u32(p + 2), size) << e.id;
    // 24 bits, or 8 with as many palette entries as it states (at most 256).
    const unsigned bits = u16(p + 28), colours = u32(p + 46);
    ASSERT_TRUE(bits == 24 || (bits == 8 && colours >= 1 && colours <= 256)) << e.id;
    const std::uint32_t w = u32(p + 18), h = u32(p + 22);
    const unsigned offset = 54 + 4 * (bits == 8 ? colours : 0);
    EXPECT_EQ(u32(p + 10), offset) << e.id;
    EXPECT_EQ(offset + ((w * bits / 8 + 3) & ~3u) * h, size) << e.id;
  }
  // Every bitmap id the gauges name (the toggle, selector, HUD, standby,
  // display, radar and map artwork); 26 of them are copies of another.
  EXPECT_EQ(bitmaps, 197u);
  EXPECT_EQ(stored.size(), 171u);
}

struct WaveCase {
  unsigned id;
  unsigned bits;
  unsigned data_bytes;
};

TEST(ModuleResources, WavesAreMonoPcmAt22050WithTheirDataSizes) {
  static constexpr WaveCase kCases[] = {{10, 8, 1914}, {20, 8, 10304}, {30, 16, 6014}};
  for (const WaveCase& c : kCases) {
    unsigned size = 0;
    const unsigned char* p = orv_module_resource("WAVE", c.id, &size);
    ASSERT_NE(p, nullptr) << c.id;
    ASSERT_EQ(size, 44 + c.data_bytes) << c.id;
    EXPECT_EQ(std::memcmp(p, "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(p + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(u16(p + 20), 1);  // PCM
    EXPECT_EQ(u16(p + 22), 1);  // mono
    EXPECT_EQ(u32(p + 24), 22050u);
    EXPECT_EQ(u16(p + 34), c.bits);
    EXPECT_EQ(std::memcmp(p + 36, "data", 4), 0);
    EXPECT_EQ(u32(p + 40), c.data_bytes);
  }
}

TEST(ModuleResources, UnknownOrMalformedRequestsGiveNullAndZeroSize) {
  unsigned size = 99;
  EXPECT_EQ(orv_module_resource("BITMAP", 41, &size), nullptr);
  EXPECT_EQ(size, 0u);
  size = 99;
  EXPECT_EQ(orv_module_resource("WAVE", 1000, &size), nullptr);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(orv_module_resource(nullptr, 1000, &size), nullptr);
  EXPECT_EQ(orv_module_resource("ICON", 10, nullptr), nullptr);
  EXPECT_NE(orv_module_resource("BITMAP", 1000, nullptr), nullptr);
}

}  // namespace
