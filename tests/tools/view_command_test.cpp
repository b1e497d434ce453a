// orvane-panel view driven by input scripts in SDL's headless video driver:
// real input events reach the gauges under the pointer, bad scripts are
// refused by line, and (where Xvfb is installed) the live picture of a moment
// is the picture render draws of it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "golden/picture_compare.h"
#include "support/tool_run.h"

namespace {

namespace fs = std::filesystem;
using orv::test::run_tool_command;
using orv::test::ToolRun;

// Each test works in a folder of its own: ctest runs them in parallel.
fs::path test_dir() {
  return fs::path(ORV_TEST_DIR) / "view" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

fs::path script(const std::string& name, const std::string& text) {
  fs::create_directories(test_dir());
  const fs::path p = test_dir() / name;
  std::ofstream(p) << text;
  return p;
}

// One window, so the live screen is that window's picture.
std::string test_panel() {
  return " --panel " + script("panel.cfg",
                              "[Window00]\nsize_mm=640,400\nbackground_color=16,17,20\n"
                              "gauge00=Orvane_Instr!Head_Up_Display, 0,0,420,340\n"
                              "gauge01=Orvane_Instr!Screen_Selector_Main, 420,0,220,200\n"
                              "gauge02=Orvane_Instr!Attitude, 420,200,200,180\n")
                           .string();
}

ToolRun view(const std::string& args, const std::string& prefix = "SDL_VIDEODRIVER=dummy") {
  return run_tool_command(ORV_PANEL_TOOL, std::string("view --module ") + ORV_REAL_MODULE + " " + args,
                          test_dir(), "SDL_AUDIODRIVER=dummy " + prefix);
}

TEST(View, ScriptedClicksReachTheGaugeUnderThePointer) {
  // The screen selector's RDR button, then the window's background.
  const fs::path shot = test_dir() / "clicked.png";
  fs::remove(shot);
  const ToolRun r = view("--script " +
                         script("click.txt",
                                "# the radar page\n0.5 move 530,30\n1.0 click 530,30\n"
                                "1.5 click 5,395 right\n2.0 screenshot " +
                                    shot.string() + "\n")
                             .string() +
                         test_panel());
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("t=1.00 click instance 1 Screen_Selector_Main "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("t=1.00 window 44 open"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("t=1.50 click 5,395 right: no gauge"), std::string::npos) << r.out;
  EXPECT_TRUE(fs::exists(shot));
}

TEST(View, BadScriptsAndOptionsAreRefusedWithTheirPlace) {
  struct Case {
    std::string args, message;
    int code;
  };
  const Case cases[] = {
      {"--script " + script("verb.txt", "1.0 move 3,4\n2.0 jump 3,4\n").string(), "verb.txt:2: 'jump'", 2},
      {"--script " + script("back.txt", "2.0 quit\n1.0 quit\n").string(),
       "back.txt:2: times must not go back", 2},
      {"--script " + script("key.txt", "1 key no-such-key\n").string(), "key.txt:1: 'no-such-key'", 2},
      {"--script " + script("point.txt", "1 click 3\n").string(), "point.txt:1: click needs a point", 2},
      {"--script " + (test_dir() / "missing.txt").string(), "missing.txt", 3},
      {"--scale 9", "--scale needs a factor", 2},
  };
  for (const Case& c : cases) {
    const ToolRun r = view(c.args);
    EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

TEST(View, LivePictureUnderXvfbIsTheScreenRenderDrawsOfTheSameMoment) {
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
  const fs::path shot = test_dir() / "xvfb.png", out = test_dir() / "render";
  fs::remove(shot);
  fs::remove_all(out);
  // The X server's client libraries keep allocations to exit that the leak
  // checker cannot attribute; the headless runs above check the viewer's own.
  const std::string inputs = test_panel();
  const ToolRun live =
      view("--script " +
               // The X server's pointer starts over the window: moved onto
               // the background, where no tooltip shows.
               script("xvfb.txt", "0 move 5,395\n2.0 screenshot " + shot.string() + "\n").string() + inputs,
           "ASAN_OPTIONS=detect_leaks=0 xvfb-run -a");
  ASSERT_EQ(live.code, 0) << live.err;
  const ToolRun still = run_tool_command(
      ORV_PANEL_TOOL,
      std::string("render --module ") + ORV_REAL_MODULE + " --at 2 --out " + out.string() + inputs,
      test_dir(), "SDL_AUDIODRIVER=dummy");
  ASSERT_EQ(still.code, 0) << still.err;
  // The viewer shows the screen that render draws (one layout for both).
  const fs::path window = out / "screen_t2.0.png";
  orv::golden::Picture a, b;
  ASSERT_TRUE(orv::golden::read_png(window.string(), a)) << window;
  ASSERT_TRUE(orv::golden::read_png(shot.string(), b));
  const orv::golden::Comparison c = orv::golden::compare(a, b);
  EXPECT_TRUE(c.matches()) << c.differing << " pixels differ (" << c.allowed << " allowed)";
}

}  // namespace
