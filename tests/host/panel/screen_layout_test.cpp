// Where the screen layout puts a panel's windows and gauges, in which order
// they lie, what a screen point hits; and the background bitmaps it sizes
// windows from.
#include "host/panel/screen_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/panel/bmp_image.h"

namespace orv::host {
namespace {

PanelWindow window(std::uint32_t number, int w, int h) {
  PanelWindow win;
  win.number = number;
  win.size_mm_x = w;
  win.size_mm_y = h;
  return win;
}

PlacedInstance gauge(std::uint32_t window, int x, int y, int w, int h) {
  PlacedInstance p;
  p.window = window;
  p.x = x, p.y = y, p.width = w, p.height = h;
  return p;
}

// Instances are not copied (each owns its gauge copy): built one by one.
std::vector<PlacedInstance> gauges(std::initializer_list<Rect> places,
                                   std::initializer_list<std::uint32_t> in) {
  std::vector<PlacedInstance> v;
  auto w = in.begin();
  for (const Rect& r : places) v.push_back(gauge(*w++, r.x, r.y, r.width, r.height));
  return v;
}

void expect_rect(const Rect& r, Rect want, const std::string& what) {
  EXPECT_EQ(r.x, want.x) << what;
  EXPECT_EQ(r.y, want.y) << what;
  EXPECT_EQ(r.width, want.width) << what;
  EXPECT_EQ(r.height, want.height) << what;
}

TEST(ScreenLayout, TheScreenComesFromTheMainWindowUnlessGiven) {
  struct Case {
    const char* what;
    PanelWindow main;
    std::optional<ScreenSize> given;
    ScreenSize want;
  };
  PanelWindow fractions = window(0, 1024, 600);
  fractions.size_x = 1.0, fractions.size_y = 0.5;
  PanelWindow wide = window(0, 1600, 500);
  PanelWindow tall = window(0, 800, 900);
  const Case cases[] = {
      {"window_size: the units at one pixel each", fractions, std::nullopt, {1024, 1200}},
      {"no window_size: its width, 4:3", wide, std::nullopt, {1600, 1200}},
      {"no window_size: its width, its height", tall, std::nullopt, {800, 900}},
      {"--screen", wide, ScreenSize{1280, 720}, {1280, 720}},
  };
  for (const Case& c : cases) {
    const std::vector<PanelWindow> windows{c.main};
    const ScreenLayout layout(windows, {}, c.given);
    EXPECT_EQ(layout.screen().width, c.want.width) << c.what;
    EXPECT_EQ(layout.screen().height, c.want.height) << c.what;
  }
}

TEST(ScreenLayout, WindowsTakeFractionsOrAnchorsAndTheMainWindowsScale) {
  // The main panel (no window_size) at the bottom; on a screen twice its
  // width everything without a window_size is drawn twice as large.
  std::vector<PanelWindow> windows{window(0, 1024, 300), window(44, 286, 291), window(48, 100, 50),
                                   window(49, 100, 50)};
  windows[0].position = 7;
  windows[1].pos_x = 0.02, windows[1].pos_y = 0.5;
  windows[1].size_x = 0.25, windows[1].size_y = 0.25;
  windows[2].position = 4;
  windows[3].position = 42;  // not an anchor: top left
  const std::vector<PlacedInstance> instances =
      gauges({{10, 10, 33, 20}, {43, 10, 33, 20}, {0, 0, 286, 291}}, {0, 0, 44});
  const ScreenLayout layout(windows, instances, ScreenSize{2048, 1536});
  expect_rect(layout.window_rect(0), {0, 1536 - 600, 2048, 600}, "main panel, bottom, screen wide");
  expect_rect(layout.window_rect(1), {41, 768, 512, 384}, "window_pos and window_size");
  expect_rect(layout.window_rect(2), {924, 718, 200, 100}, "centred, at the main panel's scale");
  expect_rect(layout.window_rect(3), {0, 0, 200, 100}, "an unknown position");
  // Gauges that meet in units meet on the screen.
  const Rect a = layout.instance_rect(0), b = layout.instance_rect(1);
  EXPECT_EQ(a.x + a.width, b.x);
  expect_rect(a, {20, 936 + 20, 66, 40}, "first gauge");
  expect_rect(layout.instance_rect(2), {41, 768, 512, 384}, "a gauge filling its window");
}

TEST(ScreenLayout, ViewsLieUnderPopUpsAndLaterOpeningsOverEarlierOnes) {
  std::vector<PanelWindow> windows{window(0, 400, 300), window(1, 400, 300), window(43, 100, 100),
                                   window(44, 100, 100)};
  for (PanelWindow& w : windows) w.pos_x = w.pos_y = 0.0;
  const std::vector<PlacedInstance> instances =
      gauges({{0, 0, 400, 300}, {0, 0, 100, 100}, {0, 0, 50, 50}, {20, 20, 60, 60}}, {0, 43, 44, 44});
  const ScreenLayout layout(windows, instances);
  SimState state;
  state.open_window(44);
  state.open_window(0);
  state.open_window(43);
  EXPECT_EQ(layout.stack(state), (std::vector<std::size_t>{0, 3, 2}));
  state.close_window(44);
  state.open_window(44);  // opened again: on top
  EXPECT_EQ(layout.stack(state), (std::vector<std::size_t>{0, 2, 3}));
  // The topmost window's last instance under the point; its background
  // takes a point where it has none.
  const auto h = layout.hit(state, 30, 40);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->instance, 3u);
  EXPECT_EQ(h->x, 10);
  EXPECT_EQ(h->y, 20);
  EXPECT_FALSE(layout.hit(state, 90, 10));
  EXPECT_EQ(layout.hit(state, 200, 200)->instance, 0u);
  EXPECT_FALSE(layout.hit(state, 500, 10)) << "off every window";
}

TEST(ScreenLayout, ScreenSizesParseWithinLimits) {
  EXPECT_EQ(parse_screen_size("1280x720")->height, 720);
  EXPECT_EQ(parse_screen_size("800X600")->width, 800);
  for (const char* bad : {"", "1280", "x720", "1280x", "12x720", "1280x9000", "1280x720x2", "-5x10"})
    EXPECT_FALSE(parse_screen_size(bad)) << bad;
}

// A BMP file of 2 x 2 pixels: 8 bits (palette black, red) or 24 bits.
std::string bmp(int bits, int height, std::uint32_t compression = 0, std::size_t cut = 0) {
  const int row = bits == 24 ? 8 : 4;
  const int palette = bits == 8 ? 8 : 0;
  std::string b(static_cast<std::size_t>(54 + palette + row * 2), '\0');
  auto put = [&](std::size_t at, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
  };
  b[0] = 'B', b[1] = 'M';
  put(10, static_cast<std::uint32_t>(54 + palette), 4);
  put(14, 40, 4), put(18, 2, 4), put(22, static_cast<std::uint32_t>(height), 4);
  put(28, static_cast<std::uint32_t>(bits), 2), put(30, compression, 4);
  if (bits == 8) {
    put(46, 2, 4);
    put(58, 0x00FF0000, 4);  // index 1: red (blue, green, red, 0)
    b[54 + 8] = 1;           // first stored row: index 1, 0
  } else {
    put(54, 0x0000FF, 3);  // first stored row's first pixel: blue (blue, green, red)
  }
  b.resize(b.size() - cut);
  return b;
}

TEST(BmpImage, ReadsPalettizedAndTrueColourRowsInEitherOrder) {
  struct Case {
    const char* what;
    std::string file;
    std::uint32_t bottom_left, top_left;
  };
  const Case cases[] = {
      {"8 bits, bottom-up", bmp(8, 2), 0xFFFF0000u, 0xFF000000u},
      {"8 bits, top-down", bmp(8, -2), 0xFF000000u, 0xFFFF0000u},
      {"24 bits, bottom-up", bmp(24, 2), 0xFF0000FFu, 0xFF000000u},
  };
  for (const Case& c : cases) {
    const BmpResult r = decode_bmp(c.file);
    ASSERT_TRUE(r.image) << c.what << ": " << r.error;
    EXPECT_EQ(r.image->width, 2);
    EXPECT_EQ(r.image->height, 2);
    EXPECT_EQ(r.image->pixels[2], c.bottom_left) << c.what;
    EXPECT_EQ(r.image->pixels[0], c.top_left) << c.what;
  }
  const std::pair<std::string, const char*> bad[] = {
      {"BM", "not a BMP file"},        {bmp(8, 2, 1), "compressed"},
      {bmp(4, 2), "4 bits per pixel"}, {bmp(24, 2, 0, 3), "ends inside its rows"},
      {bmp(24, 0), "size of 2 x 0"},
  };
  for (const auto& [file, why] : bad) {
    const BmpResult r = decode_bmp(file);
    EXPECT_FALSE(r.image) << why;
    EXPECT_NE(r.error.find(why), std::string::npos) << r.error;
  }
}

TEST(PanelConfig, WindowPositionsAndSizesAreFractionsOfTheScreen) {
  const PanelConfig p = parse_panel_config(
      "[Window00]\nwindow_pos=0.25, 0.5\nwindow_size=0.5,0.25\nfile=panel.bmp\n"
      "[Window01]\nwindow_pos=2,0\nwindow_size=0,1\n[Window02]\nwindow_size=half\n",
      "p.cfg");
  ASSERT_EQ(p.windows.size(), 3u);
  EXPECT_EQ(*p.windows[0].pos_x, 0.25);
  EXPECT_EQ(*p.windows[0].size_y, 0.25);
  EXPECT_EQ(p.windows[0].background_file, "panel.bmp");
  EXPECT_FALSE(p.windows[1].pos_x);
  EXPECT_FALSE(p.windows[1].size_x);
  ASSERT_EQ(p.warnings.size(), 3u);
  EXPECT_NE(p.warnings[0].find("p.cfg:6: window_pos needs two fractions"), std::string::npos)
      << p.warnings[0];
}

}  // namespace
}  // namespace orv::host
