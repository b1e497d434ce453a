// orvane-panel render as a user runs it: a small panel and scenario written
// here, the tool run as a child process, its files and pixels checked.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/gif_read.h"
#include "support/tool_run.h"

namespace {

namespace fs = std::filesystem;

// Each test works in a folder of its own: ctest runs them in parallel.
fs::path test_dir() {
  return fs::path(ORV_TEST_DIR) / "render_command" /
         ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

using orv::test::ToolRun;
constexpr auto write = orv::test::write_text;
constexpr auto read = orv::test::read_text;

// Runs `orvane-panel render ARGS` with the module of this tree.
ToolRun render(const std::string& args, bool with_module = true) {
  return orv::test::run_tool_command(
      ORV_PANEL_TOOL,
      "render" + (with_module ? std::string(" --module ") + ORV_REAL_MODULE : std::string()) + " " + args,
      test_dir());
}

// A lit selector and the HUD in the visible window, the radar in a hidden one.
const char kPanel[] =
    "[Window Titles]\nwindow00=Main\nwindow01=Radar overlay\n"
    "[Window00]\nsize_mm=700,560\nvisible=1\nident=MAIN_PANEL\n"
    "gauge00=Orvane_Instr!Screen_Selector_Main, 0,0,231,210\n"
    "gauge01=Orvane_Instr!Head_Up_Display, 240,0,420,340\n"
    "gauge02=Orvane_Instr!Engine_On, 0,520\n"
    "[Window01]\nsize_mm=286,291\nvisible=0\nident=44\n"
    "gauge00=Orvane_Instr!Radar, 0,0,286,291\n";

const char kScenario[] = R"({
  "name": "probe", "panel": "panel.cfg", "frames": 18, "render_at": [1],
  "tokens": {"PANEL_LIGHTING": 100, "RADIO_MASTER": 1, "AIRSPEED": 420, "ALTITUDE": 25000}
})";

void prepare() {
  write(test_dir() / "panel.cfg", kPanel);
  write(test_dir() / "scenario.json", kScenario);
}

std::pair<int, int> png_size(const fs::path& p) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(p.c_str());
  const std::pair<int, int> size{cairo_image_surface_get_width(s), cairo_image_surface_get_height(s)};
  cairo_surface_destroy(s);
  return size;
}

TEST(RenderCommand, WritesTheScreenAndOnRequestWindowsInstancesAndTheSheetAtTheirSizes) {
  prepare();
  const fs::path out = test_dir() / "files";
  fs::remove_all(out);
  const std::string base = "--scenario " + (test_dir() / "scenario.json").string() + " --out " + out.string();
  const ToolRun screen_only = render(base);
  ASSERT_EQ(screen_only.code, 0) << screen_only.err;
  EXPECT_EQ(screen_only.out, (out / "screen_t1.0.png").string() + "\n");
  const ToolRun r = render(base + " --windows --sheet");
  ASSERT_EQ(r.code, 0) << r.err;

  std::set<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(out))
    if (e.is_regular_file()) files.insert(fs::relative(e.path(), out).string());
  const std::set<std::string> expected = {"screen_t1.0.png",
                                          "cockpit_t1.0.png",
                                          "t1.0/window00_main.png",
                                          "t1.0/instance00_Screen_Selector_Main.png",
                                          "t1.0/instance01_Head_Up_Display.png",
                                          "t1.0/instance02_Engine_On.png"};
  EXPECT_EQ(files, expected);  // nothing of the hidden radar window
  // The main window without window_size sets the screen: its width, and the
  // larger of its height and a 4:3 screen's.
  EXPECT_EQ(png_size(out / "screen_t1.0.png"), std::make_pair(700, 560));

  // Given sizes as given; no size on the line: the gauge's default width
  // (30 for the start-up placard) with its background bitmap's proportions.
  EXPECT_EQ(png_size(out / "t1.0/instance00_Screen_Selector_Main.png"), std::make_pair(231, 210));
  EXPECT_EQ(png_size(out / "t1.0/instance02_Engine_On.png"), std::make_pair(30, 30));
  EXPECT_EQ(png_size(out / "t1.0/instance01_Head_Up_Display.png"), std::make_pair(420, 340));
  EXPECT_EQ(png_size(out / "t1.0/window00_main.png"), std::make_pair(700, 560));
}

TEST(RenderCommand, BadArgumentsGiveClearMessagesAndExitCodes) {
  prepare();
  write(test_dir() / "broken.json", "{\"frames\": ");
  struct Case {
    std::string args;
    int code;
    std::string message;
  };
  const Case cases[] = {
      {"--at -1", 2, "--at needs a time"},
      {"--out", 2, "--out needs a value"},
      {"--colour red", 2, "unknown option '--colour'"},
      {"--x87 53", 2, "--x87 applies to the 32-bit Windows build only"},
      {"--click Screen_Selector_Main:40", 2, "needs integer X,Y"},
      {"--click Screen_Selector_Main:40,30:middle", 2, "left or right"},
      {"--scenario " + (test_dir() / "missing.json").string(), 3, "missing.json"},
      {"--scenario " + (test_dir() / "broken.json").string(), 6, "broken.json"},
      {"--module " + (test_dir() / "panel.cfg").string(), 4, "panel.cfg"},
      {"--animate flight.png", 2, "needs to end in .gif"},
      {"--gif-loss 65", 2, "--gif-loss needs a whole number from 0 to 64, not '65'"},
      {"--gif-loss 1.5", 2, "--gif-loss needs a whole number from 0 to 64, not '1.5'"},
  };
  for (const Case& c : cases) {
    const ToolRun r = render(c.args, c.args.rfind("--module", 0) != 0);
    EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
  }
}

// A pixel of a PNG as 0xAARRGGBB (premultiplied, as Cairo reads it).
std::uint32_t pixel(const fs::path& p, int x, int y) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(p.c_str());
  EXPECT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS) << p;
  std::uint32_t px = 0;
  if (const unsigned char* data = cairo_image_surface_get_data(s))
    std::memcpy(&px, data + y * cairo_image_surface_get_stride(s) + 4 * x, 4);
  const bool alpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
  cairo_surface_destroy(s);
  return alpha ? px : px | 0xFF000000u;
}

TEST(RenderCommand, WritesTheFlightAsFramesAndOneAnimation) {
  prepare();
  const fs::path out = test_dir() / "motion";
  fs::remove_all(out);
  const std::string base = "--scenario " + (test_dir() / "scenario.json").string() + " --out " + out.string();
  const ToolRun r = render(base + " --animate " + (out / "hud.gif").string() +
                           " --png-sequence --fps 4 --from 0.25 --to 1 --picture Head_Up_Display");
  ASSERT_EQ(r.code, 0) << r.err;
  // 0.25, 0.5, 0.75 and 1 s; no still pictures without --at.
  std::set<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(out))
    if (e.is_regular_file()) files.insert(fs::relative(e.path(), out).string());
  const std::set<std::string> expected = {"hud.gif", "frames/frame_00000.png", "frames/frame_00001.png",
                                          "frames/frame_00002.png", "frames/frame_00003.png"};
  EXPECT_EQ(files, expected);
  EXPECT_EQ(png_size(out / "frames/frame_00003.png"), std::make_pair(420, 340));
  EXPECT_NE(r.err.find("frame 4/4 (100%)"), std::string::npos) << r.err;
  // The animation's frames are the frame pictures, each in its own palette,
  // within the default --gif-loss (16) of them.
  orv::test::Gif gif;
  ASSERT_EQ(orv::test::read_gif((out / "hud.gif").string(), gif), "");
  ASSERT_EQ(gif.frames.size(), 4u);
  ASSERT_EQ(std::make_pair(gif.width, gif.height), std::make_pair(420, 340));
  cairo_surface_t* last = cairo_image_surface_create_from_png((out / "frames/frame_00003.png").c_str());
  cairo_surface_flush(last);
  int worst = 0;
  for (int y = 0; y < 340; ++y)
    for (int x = 0; x < 420; ++x) {
      std::uint32_t want = 0;
      std::memcpy(&want,
                  cairo_image_surface_get_data(last) + y * cairo_image_surface_get_stride(last) + 4 * x, 4);
      const std::uint32_t got = gif.frames[3].pixels[static_cast<std::size_t>(y * 420 + x)];
      for (int shift = 0; shift <= 16; shift += 8)
        worst = std::max(worst, std::abs(static_cast<int>((got >> shift) & 0xFF) -
                                         static_cast<int>((want >> shift) & 0xFF)));
    }
  cairo_surface_destroy(last);
  EXPECT_LE(worst, 16);

  // The screen's frames all have the screen's size, and a window that opens
  // during the run (the radar overlay, at the top left, over the selector)
  // appears in them.
  const fs::path film = test_dir() / "film";
  fs::remove_all(film);
  const ToolRun screen =
      render("--scenario " + (test_dir() / "scenario.json").string() + " --out " + film.string() +
             " --png-sequence --fps 2 --to 1 --click Screen_Selector_Main:#7@0.25");
  ASSERT_EQ(screen.code, 0) << screen.err;
  EXPECT_EQ(png_size(film / "frames/frame_00000.png"), std::make_pair(700, 560));
  EXPECT_EQ(png_size(film / "frames/frame_00002.png"), std::make_pair(700, 560));
  EXPECT_NE(pixel(film / "frames/frame_00000.png", 270, 255),
            pixel(film / "frames/frame_00002.png", 270, 255));

  const ToolRun missing = render(base + " --png-sequence --picture Radar");
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find("no instance of that gauge is shown"), std::string::npos) << missing.err;
  EXPECT_EQ(render(base + " --png-sequence --from 2 --to 1").code, 2);
  EXPECT_EQ(render(base + " --fps 30").code, 2);

  // The same as the compact formats: a lossless WebP and an H.264 video
  // (their pixels are checked by the encoders' own tests).
  const ToolRun compact = render(base + " --animate " + (out / "hud.webp").string() +
                                 " --fps 4 --to 1 --picture Head_Up_Display");
  ASSERT_EQ(compact.code, 0) << compact.err;
  EXPECT_EQ(read(out / "hud.webp").substr(8, 4), "WEBP");
  const ToolRun video =
      render(base + " --animate " + (out / "hud.mp4").string() + " --fps 4 --to 1 --picture Head_Up_Display");
  ASSERT_EQ(video.code, 0) << video.err;
  EXPECT_EQ(read(out / "hud.mp4").substr(4, 4), "ftyp");

  // The scenario's tooltips go into a fresh --out even when only the
  // animation, written elsewhere, is asked for.
  write(test_dir() / "tips.json",
        R"({"panel": "panel.cfg", "frames": 9,
            "tooltips": [{"t": 0.2, "gauge": "Head_Up_Display", "x": 10, "y": 10}]})");
  const fs::path fresh = test_dir() / "fresh";
  fs::remove_all(fresh);
  const ToolRun tips = render("--scenario " + (test_dir() / "tips.json").string() + " --out " +
                              fresh.string() + " --animate " + (test_dir() / "tips.gif").string());
  EXPECT_EQ(tips.code, 0) << tips.err;
  EXPECT_NE(read(fresh / "tooltips.txt").find("Head-Up Display"), std::string::npos);
}

// The screen's frames are kept from one to the next and painted again only
// where a gauge's element draws differently; each must be pixel for pixel
// the screen drawn whole at that moment (the still picture of the same
// time). The built-in flight from 126 to 157 s: the HUD and the displays
// moving, a page picked (131 s), the landing view's windows opening in
// place of the main view's (138 s), lights that come and go (155 s).
TEST(RenderCommand, ScreenFramesPaintedWhereTheyChangedEqualTheWholeScreen) {
  const fs::path out = test_dir() / "out";
  fs::remove_all(out);
  constexpr int kFrom = 126, kTo = 157;
  std::string at;
  for (int t = kFrom; t <= kTo; ++t) at += " --at " + std::to_string(t);
  const ToolRun r = render("--out " + out.string() + " --png-sequence --fps 1 --from " +
                           std::to_string(kFrom) + " --to " + std::to_string(kTo) + at);
  ASSERT_EQ(r.code, 0) << r.err;
  for (int t = kFrom; t <= kTo; ++t) {
    SCOPED_TRACE(t);
    char frame[32];
    std::snprintf(frame, sizeof frame, "frame_%05d.png", t - kFrom);
    cairo_surface_t* a = cairo_image_surface_create_from_png((out / "frames" / frame).c_str());
    cairo_surface_t* b =
        cairo_image_surface_create_from_png((out / ("screen_t" + std::to_string(t) + ".0.png")).c_str());
    ASSERT_EQ(cairo_surface_status(a), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_surface_status(b), CAIRO_STATUS_SUCCESS);
    const int w = cairo_image_surface_get_width(a), h = cairo_image_surface_get_height(a);
    ASSERT_EQ(std::make_pair(w, h),
              std::make_pair(cairo_image_surface_get_width(b), cairo_image_surface_get_height(b)));
    int differ = 0;
    for (int y = 0; y < h; ++y)
      differ += std::memcmp(cairo_image_surface_get_data(a) + y * cairo_image_surface_get_stride(a),
                            cairo_image_surface_get_data(b) + y * cairo_image_surface_get_stride(b),
                            4 * static_cast<std::size_t>(w)) != 0;
    EXPECT_EQ(differ, 0) << "rows differ";
    cairo_surface_destroy(a);
    cairo_surface_destroy(b);
  }
}

bool pale_yellow(std::uint32_t px) { return px == 0xFFFFFFE1u; }
bool orange(std::uint32_t px) {
  const int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
  return r > 200 && g > 90 && g < 190 && b < 80;
}

// Each overlay option against the same picture without it: the tooltip box
// under the pointer (moved left at the window's edge), the selector's HUD
// button outlined as a click box, the window's background left out.
TEST(RenderCommand, OverlaysDrawTooltipsMouseAreasAndTransparentBackgrounds) {
  prepare();
  const std::string base = "--scenario " + (test_dir() / "scenario.json").string() + " --out ";
  const fs::path plain = test_dir() / "plain", over = test_dir() / "over";
  // The selector's HUD button tooltip, and the HUD's own near the window's
  // right edge (HUD at 240,0 in a 700-wide window).
  ASSERT_EQ(render(base + plain.string() + " --windows").code, 0);
  const ToolRun r = render(base + over.string() +
                           " --windows --tooltip Screen_Selector_Main:40,30"
                           " --tooltip Head_Up_Display:placed:410,200@0.5 --show-areas --transparent");
  ASSERT_EQ(r.code, 0) << r.err;
  const fs::path window = "t1.0/window00_main.png";
  struct Probe {
    const char* what;
    fs::path picture;
    int x, y;
    bool (*with)(std::uint32_t);
  };
  const fs::path screen = "screen_t1.0.png";
  const Probe probes[] = {
      {"tooltip on the screen", screen, 41, 51, pale_yellow},
      {"tooltip moved left inside the screen", screen, 697, 221, pale_yellow},
      {"HUD button outline on the screen", screen, 11, 30, orange},
      {"tooltip under the pointer", window, 41, 51, pale_yellow},
      {"tooltip moved left inside the window", window, 697, 221, pale_yellow},
      {"tooltip on the instance picture", "t1.0/instance00_Screen_Selector_Main.png", 41, 51, pale_yellow},
      {"HUD button outline", window, 11, 30, orange},
      {"transparent window background", window, 690, 400, [](std::uint32_t px) { return px >> 24 == 0; }},
  };
  for (const Probe& p : probes) {
    EXPECT_TRUE(p.with(pixel(over / p.picture, p.x, p.y)))
        << p.what << std::hex << " " << pixel(over / p.picture, p.x, p.y);
    EXPECT_FALSE(p.with(pixel(plain / p.picture, p.x, p.y))) << p.what << " without the option";
  }
  // The gauges themselves stay opaque on a transparent window.
  EXPECT_EQ(pixel(over / window, 100, 100) >> 24, 0xFFu);
  EXPECT_EQ(render(base + over.string() + " --tooltip Head_Up_Display:410").code, 2);
  EXPECT_EQ(render(base + over.string() + " --screen 10x10").code, 2);
}

// --every draws at fixed intervals; the times in the names are padded so
// that the names sort in time order.
TEST(RenderCommand, EveryWritesPicturesWhoseNamesSortInTimeOrder) {
  prepare();
  const fs::path out = test_dir() / "every";
  fs::remove_all(out);
  const ToolRun r = render("--scenario " + (test_dir() / "scenario.json").string() + " --out " +
                           out.string() + " --every 4 --to 12 --at 2.5");
  ASSERT_EQ(r.code, 0) << r.err;
  std::set<std::string> sheets;  // sorted by name
  for (const auto& e : fs::directory_iterator(out))
    if (e.path().extension() == ".png") sheets.insert(e.path().filename().string());
  const std::set<std::string> expected = {"screen_t00.0.png", "screen_t02.5.png", "screen_t04.0.png",
                                          "screen_t08.0.png", "screen_t12.0.png"};
  EXPECT_EQ(sheets, expected);
  EXPECT_EQ(render("--every 0").code, 2);
  EXPECT_EQ(render("--every 5 --from 3 --to 2").code, 2);
}

namespace designer {

// A BMP file of w x h: 8 bits with the palette `colours` (0xRRGGBB) and
// pixel indices from `at`, or 24 bits with the colours themselves.
std::string bmp(int w, int h, int bits, const std::vector<std::uint32_t>& colours,
                std::uint32_t (*at)(int x, int y)) {
  const int row = (w * bits / 8 + 3) / 4 * 4;
  const int palette = bits == 8 ? 4 * static_cast<int>(colours.size()) : 0;
  std::string b(static_cast<std::size_t>(54 + palette + row * h), '\0');
  auto put = [&](int at, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b[static_cast<std::size_t>(at + i)] = static_cast<char>(v >> (8 * i));
  };
  b[0] = 'B', b[1] = 'M';
  put(2, static_cast<std::uint32_t>(b.size()), 4);
  put(10, static_cast<std::uint32_t>(54 + palette), 4);
  put(14, 40, 4), put(18, static_cast<std::uint32_t>(w), 4), put(22, static_cast<std::uint32_t>(h), 4);
  put(26, 1, 2), put(28, static_cast<std::uint32_t>(bits), 2);
  put(46, bits == 8 ? static_cast<std::uint32_t>(colours.size()) : 0, 4);
  for (std::size_t i = 0; bits == 8 && i < colours.size(); ++i)
    put(54 + 4 * static_cast<int>(i), colours[i], 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t v = at(x, h - 1 - y);  // rows bottom-up
      put(54 + palette + y * row + x * bits / 8, bits == 8 ? v : colours[v], bits / 8);
    }
  return b;
}

// A designer's panel: a 1024-wide main panel whose height follows its
// 8-bit background (1024 x 600, at the bottom of the screen), with a hole
// of pure black; a pop-up placed by window_pos and window_size on a 24-bit
// background; a virtual cockpit (visible=0, as they usually say) on its
// texture.
const char kPanel[] =
    "[Window Titles]\nwindow00=Main\nwindow01=Pop-up\n"
    "[Window00]\nsize_mm=1024\nposition=7\nfile=panel.bmp\nident=MAIN_PANEL\n"
    "gauge00=Orvane_Instr!Screen_Selector_Main, 600,300\n"
    "gauge01=Orvane_Instr!Engine_On, 900,40,60,60\n"
    "[Window01]\nsize_mm=100,100\nwindow_pos=0.5,0.1\nwindow_size=0.25,0.25\nfile=popup.bmp\nident=48\n"
    "visible=1\ngauge00=Orvane_Instr!Close_Subpanel, 80,0\n"
    "[Vcockpit01]\nsize_mm=256,256\npixel_size=512,512\ntexture=$MFD\nvisible=0\nbackground_color=0,0,90\n"
    "gauge00=Orvane_Instr!Multi_Function_Display_Left, 0,0,128,128\n";

}  // namespace designer

TEST(RenderCommand, DrawsBackgroundsPlacesWindowsAndShowsVirtualCockpitsBesideTheScreen) {
  using designer::bmp;
  write(test_dir() / "panel.cfg", designer::kPanel);
  // Red, with a black (transparent) hole at 100..299 x 100..199.
  write(test_dir() / "panel.bmp", bmp(1024, 600, 8, {0x000000, 0xC02828}, [](int x, int y) -> std::uint32_t {
          return x >= 100 && x < 300 && y >= 100 && y < 200 ? 0 : 1;
        }));
  write(test_dir() / "popup.bmp",
        bmp(100, 100, 24, {0x000000, 0x20B040}, [](int, int) -> std::uint32_t { return 1; }));
  write(test_dir() / "scenario.json", R"({"panel": "panel.cfg", "frames": 18, "render_at": [1],
                                           "tokens": {"PANEL_LIGHTING": 100}})");
  const fs::path out = test_dir() / "out";
  fs::remove_all(out);
  const ToolRun r =
      render("--scenario " + (test_dir() / "scenario.json").string() + " --out " + out.string());
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err.find("warning"), std::string::npos) << r.err;
  const fs::path screen = out / "screen_t1.0.png";
  // A 1024 x 768 screen (the main panel's width, 4:3), the texture of 512
  // x 512 beside it under its caption.
  EXPECT_EQ(png_size(screen), std::make_pair(1024 + 16 + 512 + 16, 768));
  auto rgb = [&](int x, int y) { return pixel(screen, x, y) & 0xFFFFFFu; };
  const std::uint32_t red = 0xC02828, green = 0x20B040;
  EXPECT_NE(rgb(50, 100), red) << "above the panel: the outside";
  EXPECT_EQ(rgb(50, 168 + 50), red) << "the panel's background, at the bottom";
  EXPECT_EQ(rgb(150, 168 + 150), rgb(50, 100)) << "its black lets the outside show";
  EXPECT_EQ(rgb(514, 79), green) << "the pop-up at window_pos 0.5, 0.1 (512, 77)";
  EXPECT_NE(rgb(510, 79), green);
  EXPECT_EQ(rgb(512 + 256 - 3, 77 + 192 - 3), green) << "its window_size, 256 x 192";
  EXPECT_NE(rgb(512 + 256 + 1, 77 + 100), green);
  EXPECT_EQ(rgb(1040 + 500, 22 + 500), 0x00005Au) << "the texture's background colour";
  EXPECT_NE(rgb(1040 + 100, 22 + 100), 0x00005Au) << "the display, scaled to the texture's pixels";
}

// The built-in flight names its points in the gauges' design coordinates:
// on a panel that places every gauge at other sizes (and proportions) it
// gives the same trace, but for the lines that say where instances are.
TEST(RenderCommand, ClicksFollowTheGaugeOnAPanelOfOtherSizes) {
  const std::string resized = std::string(ORV_SOURCE_DIR) + "/tests/tools/panels/resized/panel.cfg";
  auto trace = [](const std::string& args) {
    const ToolRun t = orv::test::run_tool_command(
        ORV_PANEL_TOOL, std::string("trace --module ") + ORV_REAL_MODULE + " " + args, test_dir());
    EXPECT_EQ(t.code, 0) << t.err;
    std::istringstream in(t.out);
    std::string kept, line;
    int placed = 0;
    while (std::getline(in, line)) {
      if (line.rfind("instance ", 0) == 0) {
        ++placed;
        continue;
      }
      kept += line + "\n";
    }
    EXPECT_EQ(placed, 46);
    return kept;
  };
  const std::string built_in = trace(""), other = trace("--panel " + resized);
  EXPECT_EQ(built_in, other);
  EXPECT_NE(built_in.find("click 17 Screen_Selector_Main 40,30 right box 3 callback"), std::string::npos);
  // A mouse record by number, and a point in placed pixels, on the resized
  // selector (231 x 210 placed at 346 x 262): the HUD button either way.
  const std::string area = trace("--panel " + resized +
                                 " --frames 4 --click Screen_Selector_Main:#3:right@0.1"
                                 " --click Screen_Selector_Main:placed:60,40:right@0.1");
  EXPECT_NE(area.find("click 17 Screen_Selector_Main 44,34 right box 3 callback"), std::string::npos) << area;
  EXPECT_NE(area.find("click 17 Screen_Selector_Main 40,32 right box 3 callback"), std::string::npos) << area;
}

}  // namespace
