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

TEST(RenderCommand, WritesOpenWindowsTheirInstancesAndTheSheetAtTheirSizes) {
  prepare();
  const fs::path out = test_dir() / "files";
  fs::remove_all(out);
  const ToolRun r =
      render("--scenario " + (test_dir() / "scenario.json").string() + " --out " + out.string());
  ASSERT_EQ(r.code, 0) << r.err;

  std::set<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(out))
    if (e.is_regular_file()) files.insert(fs::relative(e.path(), out).string());
  const std::set<std::string> expected = {
      "cockpit_t1.0.png", "t1.0/window00_main.png", "t1.0/instance00_Screen_Selector_Main.png",
      "t1.0/instance01_Head_Up_Display.png", "t1.0/instance02_Engine_On.png"};
  EXPECT_EQ(files, expected);  // nothing of the hidden radar window

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
  };
  for (const Case& c : cases) {
    const ToolRun r = render(c.args, c.args.rfind("--module", 0) != 0);
    EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
  }
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
  // The animation's frames are the frame pictures, each in its own palette.
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
  ASSERT_EQ(render(base + plain.string()).code, 0);
  // The selector's HUD button tooltip, and the HUD's own near the window's
  // right edge (HUD at 240,0 in a 700-wide window).
  const ToolRun r = render(base + over.string() +
                           " --tooltip Screen_Selector_Main:40,30 --tooltip Head_Up_Display:410,200@0.5"
                           " --show-areas --transparent");
  ASSERT_EQ(r.code, 0) << r.err;
  const fs::path window = "t1.0/window00_main.png";
  struct Probe {
    const char* what;
    fs::path picture;
    int x, y;
    bool (*with)(std::uint32_t);
  };
  const Probe probes[] = {
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
  const std::set<std::string> expected = {"cockpit_t00.0.png", "cockpit_t02.5.png", "cockpit_t04.0.png",
                                          "cockpit_t08.0.png", "cockpit_t12.0.png"};
  EXPECT_EQ(sheets, expected);
  EXPECT_TRUE(fs::exists(out / "t08.0/window00_main.png"));
  EXPECT_EQ(render("--every 0").code, 2);
  EXPECT_EQ(render("--every 5 --from 3 --to 2").code, 2);
}

}  // namespace
