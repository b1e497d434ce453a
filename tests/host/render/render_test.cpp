// The renderer on small synthetic gauges built here, checked with pixel
// probes: needle turns (past the ends of their tables), sprite turns and
// masks, icon selection, opaque texts. What the shipped gauges show of the
// rest (moving images, aligned texts, transparency, hidden elements,
// scaling) the golden pictures check.
#include "host/render/render.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

namespace {

using namespace orv::abi;
using orv::host::ElementValues;
using orv::render::BitmapStore;

struct Px {
  int r, g, b;
};
constexpr Px kWhite{255, 255, 255}, kRed{255, 0, 0}, kGreen{0, 255, 0};

// Bitmaps of the synthetic module, as BMP file images.
std::map<unsigned, std::vector<std::uint8_t>>& bitmaps() {
  static std::map<unsigned, std::vector<std::uint8_t>> b;
  return b;
}

void put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}

// A w x h bitmap whose pixel (x, y) is fill(x, y).
template <typename F>
void add_bitmap(unsigned id, int w, int h, F fill) {
  const std::uint32_t row = (w * 3 + 3) & ~3, image = row * h;
  std::vector<std::uint8_t> v = {'B', 'M'};
  for (std::uint32_t x : {54 + image, 0u, 54u, 40u, std::uint32_t(w), std::uint32_t(h)}) put32(v, x);
  v.insert(v.end(), {1, 0, 24, 0});
  for (int i = 0; i < 6; ++i) put32(v, i == 1 ? image : 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const Px p = fill(x, y);
      v.insert(v.end(), {std::uint8_t(p.b), std::uint8_t(p.g), std::uint8_t(p.r)});
    }
    for (std::uint32_t pad = w * 3; pad < row; ++pad) v.push_back(0);
  }
  bitmaps()[id] = v;
}

const unsigned char* test_resources(const char* type, unsigned id, unsigned* size) {
  auto it = bitmaps().find(id);
  if (std::string(type) != "BITMAP" || it == bitmaps().end()) return nullptr;
  *size = static_cast<unsigned>(it->second.size());
  return it->second.data();
}

// A gauge with a 100 x 100 background (bitmap 1) and the given children of
// the background, drawn into a surface of the given size.
class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    add_bitmap(1, 100, 100, [](int, int) { return Px{0, 0, 80}; });  // dark blue background
    add_bitmap(10, 40, 4, [](int, int) { return kWhite; });          // needle bar along +x
    add_bitmap(11, 4, 40, [](int, int) { return kWhite; });          // needle bar pointing up
    add_bitmap(20, 60, 10, [](int, int) { return kWhite; });         // sprite texture
    add_bitmap(21, 50, 100, [](int, int) { return kWhite; });        // its mask: left half
    add_bitmap(40, 10, 10, [](int, int) { return kRed; });           // icon image 0
    add_bitmap(41, 10, 10, [](int, int) { return kGreen; });         // icon image 1
    background_.h.kind = kStaticImage;
    background_.h.bitmap = 1;
    gauge_.elements = roots_;
  }
  void TearDown() override {
    if (surface_) cairo_surface_destroy(surface_);
  }

  void add(ElementHeader* e, ElementValues v = {}) {
    children_.insert(children_.end() - 1, e);
    background_.h.next = children_.data();
    values_[e] = v;
  }

  void render(int size = 100) {
    if (surface_) cairo_surface_destroy(surface_);
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, size, size);
    cairo_t* cr = cairo_create(surface_);
    BitmapStore store(test_resources);
    orv::render::render_gauge(cr, gauge_, size, size, store,
                              [this](const ElementHeader* e) { return values_[e]; });
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
  }

  Px at(int x, int y) const {
    const auto* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    const std::uint32_t p = reinterpret_cast<const std::uint32_t*>(row)[x];
    return {int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)};
  }
  bool is(int x, int y, Px want) const {
    const Px p = at(x, y);
    return std::abs(p.r - want.r) < 40 && std::abs(p.g - want.g) < 40 && std::abs(p.b - want.b) < 40;
  }

  StaticElement background_{};
  ElementHeader* roots_[2] = {&background_.h, nullptr};
  std::vector<ElementHeader*> children_ = {nullptr};
  std::map<const ElementHeader*, ElementValues> values_;
  GaugeHeader gauge_{};
  cairo_surface_t* surface_ = nullptr;
};

constexpr Px kBackground{0, 0, 80};

TEST_F(RenderTest, NeedleTurnsClockwiseByItsTableOrFromUpWithout) {
  // With the table, value 0 points right (80,50) and 90 down (50,80): one
  // degree per unit, clockwise; 225 continues past the table to up-left.
  // Without one (the upright bar), 90 points right.
  NeedlePoint table[2] = {{{80, 50}, 0.0, 0.0}, {{50, 80}, 90.0, 0.0}};
  struct Case {
    u32 bitmap;
    PixPoint offset;
    u32 table_count;
    double value;
    int x, y;
  };
  for (const Case c : {Case{10, {0, 2}, 2, 0, 80, 50}, Case{10, {0, 2}, 2, 90, 50, 80},
                       Case{10, {0, 2}, 2, 225, 29, 29}, Case{11, {2, 40}, 0, 90, 75, 50}}) {
    NeedleElement n{};
    n.h = {.kind = kNeedle, .bitmap = c.bitmap, .position = {50, 50}, .offset = c.offset, .flags = 0x87};
    n.table = c.table_count != 0 ? table : nullptr;
    n.table_count = c.table_count;
    values_.clear();
    children_ = {nullptr};
    add(&n.h, {{c.value, 0, 0}, true});
    render();
    EXPECT_TRUE(is(c.x, c.y, kWhite)) << c.value;
    EXPECT_TRUE(is(50 + (50 - c.x), 50 + (50 - c.y), kBackground)) << c.value;  // not the opposite way
  }
}

TEST_F(RenderTest, SpriteMovesUpAndTurnsCounterClockwiseInItsOwnFrameClippedByItsMask) {
  SpriteElement s{};
  s.h = {.kind = kSprite, .bitmap = 20, .position = {0, 0}, .flags = 0x87};
  s.centre = {50, 50};
  s.y_scale = 2.0;
  s.angle_scale = 1.0;
  // Unturned: a horizontal bar, shown only over the mask's left half.
  add(&s.h, {{0, 0, 0}, true});
  render();
  EXPECT_TRUE(is(30, 50, kWhite));
  EXPECT_TRUE(is(70, 50, kBackground));
  // Moved 5 units up (y scale 2; the texture's frame has y up) and turned 90
  // degrees counter-clockwise about the centre: a vertical bar 10 px left of
  // it. Moved down instead, the bar lies right of the mask's edge.
  values_[&s.h] = {{0, 5, 90}, true};
  render();
  EXPECT_TRUE(is(40, 30, kWhite));
  EXPECT_TRUE(is(40, 70, kWhite));
  EXPECT_TRUE(is(30, 50, kBackground));
  values_[&s.h] = {{0, -5, 90}, true};
  render();
  EXPECT_TRUE(is(40, 30, kBackground));
  EXPECT_TRUE(is(60, 30, kBackground));
}

TEST_F(RenderTest, IconShowsImageByIndexAndNothingForMinusOne) {
  IconElement icon{};
  icon.h = {.kind = kIcon, .bitmap = 40, .position = {20, 20}, .flags = 0x7};
  icon.image_count = 2;
  struct Case {
    double value;
    Px want;
  };
  for (const Case c : {Case{0, kRed}, Case{1, kGreen}, Case{-1, kBackground}, Case{2, kBackground}}) {
    values_.clear();
    children_ = {nullptr};
    add(&icon.h, {{c.value, 0, 0}, true});
    render();
    EXPECT_TRUE(is(25, 25, c.want)) << c.value;
  }
}

// A text without black transparency fills its box with its background
// colour (no shipped gauge shows one); with it, the gauge shows through.
TEST_F(RenderTest, OpaqueTextFillsItsBoxWithItsBackgroundColour) {
  char buffer[2] = " ";
  TextElement text{};
  text.h = {.kind = kText, .bitmap = kNoBitmap, .position = {0, 40}, .flags = 0x6};
  text.text = buffer;
  text.max_chars = 1;
  text.box = {100, 20};
  text.background_colour = 0x00FF0000;  // blue, stored 0x00BBGGRR
  std::snprintf(text.font, sizeof text.font, "Arial");
  add(&text.h);
  render();
  EXPECT_TRUE(is(50, 50, Px{0, 0, 255}));
  text.h.flags = 0x7;
  render();
  EXPECT_TRUE(is(50, 50, kBackground));
}

}  // namespace
