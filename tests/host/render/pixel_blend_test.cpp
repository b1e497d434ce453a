// The Windows canvas's own compositing on small pixel grids: whole-pixel
// moves and clips, scaling, turns, edges between pixels, fills and filled
// outlines, each against the value Cairo's conventions give.
#include "host/render/pixel_blend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using namespace orv::render::pixels;

struct Grid {
  int w, h;
  std::vector<std::uint32_t> px;
  Grid(int width, int height, std::uint32_t fill = 0) : w(width), h(height), px(width * height, fill) {}
  Surface surface() { return {reinterpret_cast<unsigned char*>(px.data()), w, h, w * 4}; }
  std::uint32_t at(int x, int y) const { return px[y * w + x]; }
};

int channel(std::uint32_t p, int shift) { return static_cast<int>(p >> shift & 0xFF); }

Affine moved(double x, double y) {
  Affine m;
  m.translate(x, y);
  return m;
}

const Box kAll{-1e9, -1e9, 1e9, 1e9};

TEST(PixelBlend, DrawsImagesWhereCairoPutsThem) {
  // A 2 x 2 source of four opaque colours.
  Grid src(2, 2);
  src.px = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
  struct Case {
    const char* name;
    Affine m;
    Box clip;
    int x, y;
    std::uint32_t want;
  };
  Affine turned = moved(2.0, 0.0);
  turned.rotate(std::acos(-1.0) / 2.0);  // a quarter turn clockwise about the target's (2, 0)
  const Case cases[] = {
      {"moved by whole pixels", moved(1, 1), kAll, 2, 2, 0xFFFFFFFFu},
      {"nothing outside the image", moved(1, 1), kAll, 0, 0, 0xFF000000u},
      {"clipped away", moved(1, 1), {0, 0, 2, 4}, 2, 2, 0xFF000000u},
      {"turned: the top left goes to the top right", turned, kAll, 1, 0, 0xFFFF0000u},
      {"turned: the bottom left goes to the top left", turned, kAll, 0, 0, 0xFF0000FFu},
  };
  for (const Case& c : cases) {
    Grid dst(4, 4, 0xFF000000u);
    draw(dst.surface(), src.surface(), false, c.m, c.clip);
    EXPECT_EQ(dst.at(c.x, c.y), c.want) << c.name;
  }
}

TEST(PixelBlend, SharesPixelsAtFractionalEdges) {
  Grid white(2, 1, 0xFFFFFFFFu);
  // Half a pixel to the right: the first column half white, the next whole,
  // the one after the image half.
  Grid dst(4, 1, 0xFF000000u);
  draw(dst.surface(), white.surface(), false, moved(0.5, 0), kAll);
  EXPECT_NEAR(channel(dst.at(0, 0), 0), 128, 2);
  EXPECT_EQ(dst.at(1, 0), 0xFFFFFFFFu);
  EXPECT_NEAR(channel(dst.at(2, 0), 0), 128, 2);
  EXPECT_EQ(dst.at(3, 0), 0xFF000000u);

  // Halved: each target pixel is the mean of two source pixels.
  Grid stripes(4, 2);
  stripes.px = {0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu, 0xFF000000u,
                0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu, 0xFF000000u};
  Grid half(2, 1, 0xFF000000u);
  Affine m;
  m.scale(0.5, 0.5);
  draw(half.surface(), stripes.surface(), false, m, kAll);
  EXPECT_NEAR(channel(half.at(0, 0), 8), 128, 2);
  EXPECT_NEAR(channel(half.at(1, 0), 8), 128, 2);

  // Doubled: inside one colour, the outer pixels fade into what lies under
  // them (nothing is sampled outside the image).
  Grid red(2, 2, 0xFFFF0000u);
  Grid big(4, 4, 0u);
  Affine doubled;
  doubled.scale(2.0, 2.0);
  draw(big.surface(), red.surface(), false, doubled, kAll);
  EXPECT_EQ(big.at(1, 1), 0xFFFF0000u);
  EXPECT_NEAR(channel(big.at(0, 0), 24), 143, 2);

  // A clip edge through the middle of a pixel covers half of it.
  Grid clipped(2, 1, 0xFF000000u);
  draw(clipped.surface(), white.surface(), false, Affine{}, {0.0, 0.0, 1.5, 1.0});
  EXPECT_EQ(clipped.at(0, 0), 0xFFFFFFFFu);
  EXPECT_NEAR(channel(clipped.at(1, 0), 16), 128, 2);
}

TEST(PixelBlend, BlendsPremultipliedColoursOver) {
  // Half-transparent red over blue, opaque sources whose alpha bytes are
  // not set, and fills with fractional edges.
  Grid red(1, 1, 0x80800000u);
  Grid dst(1, 1, 0xFF0000FFu);
  draw(dst.surface(), red.surface(), false, Affine{}, kAll);
  EXPECT_EQ(channel(dst.at(0, 0), 24), 255);
  EXPECT_NEAR(channel(dst.at(0, 0), 16), 128, 1);
  EXPECT_NEAR(channel(dst.at(0, 0), 0), 127, 1);

  Grid gdi(1, 1, 0x00000000u);  // black as GDI leaves it, taken as opaque
  Grid under(1, 1, 0xFFFFFFFFu);
  draw(under.surface(), gdi.surface(), true, Affine{}, kAll);
  EXPECT_EQ(under.at(0, 0), 0xFF000000u);

  Grid filled(3, 1, 0xFF000000u);
  fill(filled.surface(), {0.25, 0.0, 2.0, 1.0}, 0xFFFFFFFFu);
  EXPECT_NEAR(channel(filled.at(0, 0), 8), 191, 2);
  EXPECT_EQ(filled.at(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(filled.at(2, 0), 0xFF000000u);
}

TEST(PixelBlend, FillsOutlinesByTheAreaTheyCover) {
  // Coverage (0 to 255) of pixel (px, py) of a 6 x 6 grid when `draw` has
  // added its figures to the outline.
  auto coverage = [](void (*draw)(Outline&), int px, int py) {
    Grid g(6, 6, 0xFF000000u);
    Outline o;
    draw(o);
    o.fill(g.surface(), kAll, 0xFFFFFFFFu);
    return channel(g.at(px, py), 0);
  };
  struct Case {
    const char* name;
    void (*draw)(Outline&);
    int x, y, want;
  };
  void (*const whole)(Outline&) = [](Outline& o) {  // [1, 3] x [1, 3]
    o.move_to(1, 1), o.line_to(3, 1), o.line_to(3, 3), o.line_to(1, 3);
  };
  const Case cases[] = {
      {"inside a square", whole, 2, 2, 255},
      {"outside it", whole, 3, 2, 0},
      {"half a pixel",
       [](Outline& o) { o.move_to(1, 1), o.line_to(2.5, 1), o.line_to(2.5, 3), o.line_to(1, 3); }, 2, 2, 128},
      {"below a diagonal", [](Outline& o) { o.move_to(0, 0), o.line_to(6, 6), o.line_to(0, 6); }, 2, 2, 128},
      {"well below it", [](Outline& o) { o.move_to(0, 0), o.line_to(6, 6), o.line_to(0, 6); }, 1, 4, 255},
      {"a hole wound the other way",
       [](Outline& o) {
         o.move_to(0, 0), o.line_to(6, 0), o.line_to(6, 6), o.line_to(0, 6), o.close();
         o.move_to(2, 2), o.line_to(2, 4), o.line_to(4, 4), o.line_to(4, 2);
       },
       3, 3, 0},
      {"the ring around it",
       [](Outline& o) {
         o.move_to(0, 0), o.line_to(6, 0), o.line_to(6, 6), o.line_to(0, 6), o.close();
         o.move_to(2, 2), o.line_to(2, 4), o.line_to(4, 4), o.line_to(4, 2);
       },
       1, 3, 255},
      {"a curve's inside", [](Outline& o) { o.move_to(0, 5), o.cubic_to(0, 0, 6, 0, 6, 5); }, 3, 3, 255},
  };
  for (const Case& c : cases) EXPECT_NEAR(coverage(c.draw, c.x, c.y), c.want, 2) << c.name;
}

TEST(PixelBlend, DegenerateTransformsDrawNothing) {
  Grid src(2, 2, 0xFFFFFFFFu);
  Affine flat;
  flat.scale(0.0, 1.0);
  Affine nan = moved(std::nan(""), 0.0);
  for (const Affine& m : {flat, nan}) {
    Grid dst(2, 2, 0xFF000000u);
    draw(dst.surface(), src.surface(), false, m, kAll);
    for (std::uint32_t p : dst.px) EXPECT_EQ(p, 0xFF000000u);
  }
}

}  // namespace
