// The renderer on small synthetic gauges built here, checked with pixel
// probes: needle turns, sprite turns and masks, moving image ends, icon
// selection, hidden and aligned texts, black transparency, scaling.
#include "host/render/render.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

namespace {

using namespace orv::abi;
using orv::host::ElementValues;
using orv::render::BitmapStore;

struct Px {
  int r, g, b;
};
constexpr Px kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

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
    add_bitmap(1, 100, 100, [](int, int) { return Px{0, 0, 80}; });              // dark blue background
    add_bitmap(2, 100, 100, [](int, int) { return kWhite; });                    // white background
    add_bitmap(10, 40, 4, [](int, int) { return kWhite; });                      // needle bar along +x
    add_bitmap(11, 4, 40, [](int, int) { return kWhite; });                      // needle bar pointing up
    add_bitmap(20, 60, 10, [](int, int) { return kWhite; });                     // sprite texture
    add_bitmap(21, 50, 100, [](int, int) { return kWhite; });                    // its mask: left half
    add_bitmap(30, 100, 10, [](int x, int) { return x < 50 ? kRed : kGreen; });  // tape
    add_bitmap(31, 20, 10, [](int, int) { return kWhite; });                     // tape window
    add_bitmap(40, 10, 10, [](int, int) { return kRed; });                       // icon image 0
    add_bitmap(41, 10, 10, [](int, int) { return kGreen; });                     // icon image 1
    add_bitmap(50, 20, 20, [](int x, int) { return x < 10 ? kBlack : kRed; });   // half black
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

TEST_F(RenderTest, MovingImageShowsEitherEndOfTheImageThroughItsWindow) {
  MovingImageElement m{};
  m.h = {.kind = kMovingImage, .bitmap = 30, .position = {10, 10}, .flags = 0x87};
  m.min_x = 0;
  m.max_x = 360;
  add(&m.h, {{0, 0, 0}, true});
  render();
  EXPECT_TRUE(is(15, 15, kRed));
  EXPECT_TRUE(is(40, 15, kBackground));  // outside the window
  values_[&m.h] = {{360, 0, 0}, true};
  render();
  EXPECT_TRUE(is(15, 15, kGreen));
  values_[&m.h] = {{1000, 0, 0}, true};  // clamped to the high end
  render();
  EXPECT_TRUE(is(28, 15, kGreen));
  // A grey window shows the image in proportion: half grey, half of it.
  add_bitmap(31, 20, 10, [](int x, int) { return x < 10 ? Px{128, 128, 128} : kWhite; });
  render();
  EXPECT_TRUE(is(15, 15, Px{0, 128, 40}));  // green over the dark blue background, half each
  EXPECT_TRUE(is(25, 15, kGreen));
  add_bitmap(31, 20, 10, [](int, int) { return kWhite; });
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

TEST_F(RenderTest, BlackIsTransparentOnlyWhenTheFlagsAskForIt) {
  background_.h.bitmap = 2;
  StaticElement s{};
  s.h = {.kind = kStaticImage, .bitmap = 50, .position = {10, 10}, .flags = 0x3};
  add(&s.h);
  render();
  EXPECT_TRUE(is(12, 15, kWhite));
  EXPECT_TRUE(is(25, 15, kRed));
  s.h.flags = 0x6;
  render();
  EXPECT_TRUE(is(12, 15, kBlack));
}

TEST_F(RenderTest, HiddenElementIsSkippedButItsFollowingElementsDraw) {
  IconElement first{}, second{};
  first.h = {.kind = kIcon, .bitmap = 40, .position = {0, 0}, .flags = 0x7 | kHiddenFlag};
  second.h = {.kind = kIcon, .bitmap = 41, .position = {50, 50}, .flags = 0x7};
  ElementHeader* chain[2] = {&second.h, nullptr};
  first.h.next = chain;
  add(&first.h, {{0, 0, 0}, true});
  values_[&second.h] = {{0, 0, 0}, true};
  render();
  EXPECT_TRUE(is(5, 5, kBackground));
  EXPECT_TRUE(is(55, 55, kGreen));
}

TEST_F(RenderTest, GaugeScalesFromItsBackgroundToThePanelSize) {
  IconElement icon{};
  icon.h = {.kind = kIcon, .bitmap = 41, .position = {50, 50}, .flags = 0x7};
  add(&icon.h, {{0, 0, 0}, true});
  render(200);
  EXPECT_TRUE(is(110, 110, kGreen));
  EXPECT_TRUE(is(90, 90, kBackground));
  EXPECT_TRUE(is(125, 125, kBackground));
}

// Text elements: alignment by the DrawText flags, hidden texts, colour.
class RenderTextTest : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    text_.h = {.kind = kText, .bitmap = kNoBitmap, .position = {0, 40}, .flags = 0x7};
    text_.text = buffer_;
    text_.box = {100, 20};
    text_.text_colour = 0x0000FF00;  // green, stored 0x00BBGGRR
    std::snprintf(text_.font, sizeof text_.font, "Arial");
    text_.font_weight = 400;
    text_.max_chars = 8;
    std::snprintf(buffer_, sizeof buffer_, "IIII");
    add(&text_.h);
  }
  // Leftmost and rightmost columns with green ink in the box.
  std::pair<int, int> ink_columns() const {
    int lo = 100, hi = -1;
    for (int y = 40; y < 60; ++y)
      for (int x = 0; x < 100; ++x)
        if (at(x, y).g > 128) lo = std::min(lo, x), hi = std::max(hi, x);
    return {lo, hi};
  }
  TextElement text_{};
  char buffer_[9] = {};
};

TEST_F(RenderTextTest, AlignmentFlagsPlaceTheTextLeftCentredOrRight) {
  struct Case {
    u32 format;
    int lo_min, lo_max, hi_min, hi_max;
  };
  for (const Case c : {Case{0x20, 0, 3, 5, 45}, Case{0x25, 30, 49, 51, 70}, Case{0x22, 55, 95, 96, 100}}) {
    text_.format = c.format;
    render();
    auto [lo, hi] = ink_columns();
    EXPECT_GE(lo, c.lo_min) << c.format;
    EXPECT_LE(lo, c.lo_max) << c.format;
    EXPECT_GE(hi, c.hi_min) << c.format;
    EXPECT_LE(hi, c.hi_max) << c.format;
  }
}

TEST_F(RenderTextTest, HiddenTextDrawsNothingAndOpaqueTextFillsItsBox) {
  text_.h.flags |= kHiddenFlag;
  render();
  EXPECT_EQ(ink_columns().second, -1);
  text_.h.flags = 0x6;
  text_.background_colour = 0x00FF0000;  // blue
  std::snprintf(buffer_, sizeof buffer_, " ");
  render();
  EXPECT_TRUE(is(50, 50, kBlue));
}

TEST(FontMapping, GaugeFacesMapToInstalledFreeFaces) {
  EXPECT_STREQ(orv::render::font_family_for("arial narrow"), "Liberation Sans Narrow");
  EXPECT_STREQ(orv::render::font_family_for("Quartz"), "DSEG7 Classic");
  EXPECT_STREQ(orv::render::font_family_for("Tahoma"), "Tahoma");
}

}  // namespace
