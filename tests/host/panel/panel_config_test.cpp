#include "host/panel/panel_config.h"

#include <gtest/gtest.h>

#include <utility>

namespace orv::host {
namespace {

// Panels as written for the simulator: any letter case, comments after
// values, tabs, a width-only size_mm, virtual cockpits, names with spaces.
TEST(PanelConfig, ReadsPanelsAsTheSimulatorDoes) {
  const PanelConfig p = parse_panel_config(
      "// comment\n"
      "[WINDOW TITLES]\n"
      "WINDOW00=Main ; the pilot's view\n"
      "window01=Radios\n"
      "[window00]\n"
      "Size_MM=\t800 \t\n"
      "position=7\n"
      "IDENT=main_panel // named panel\n"
      "background_color=16,32,48\n"
      "GAUGE00=Orvane_Instr!Head_Up_Display,\t10 ,\t20 , 210 ,170 // HUD\n"
      "gauge01= My Gauges!Some Gauge , 1, 2, 150\n"
      "gauge02=Orvane_Instr!Close_Subpanel, 1,2,19,21, o50, t225 # c10\n"
      "[Window01]\n"
      "visible=0\n"
      "ident=10050\n"
      "gauge00=Other!Thing, 5,6\n"
      "[Vcockpit03]\n"
      "Background_color=0,0,0\n"
      "size_mm=512,256\n"
      "pixel_size=512,256\n"
      "texture=$MFD_Left\n"
      "gauge00=Orvane_Instr!Attitude, 0,0,300,270\n"
      "[Vcockpit03]\n"
      "gauge00=Orvane_Instr!Radar, 0,0\n"
      "[Views]\n"
      "eyepoint=0,0,0\n",
      "panel.cfg");
  ASSERT_EQ(p.windows.size(), 3u);
  const PanelWindow& main = p.windows[0];
  EXPECT_EQ(
      std::tuple(main.title, main.number, main.size_mm_x, main.size_mm_y, main.position, main.visible,
                 main.background_colour),
      std::tuple("Main", 0u, 800, 0, 7, true, 0x302010u));  // height: the background bitmap's or the gauges'
  ASSERT_EQ(main.gauges.size(), 3u);
  EXPECT_EQ(main.gauges[0].x, 10);
  EXPECT_EQ(main.gauges[0].height, 170);
  EXPECT_TRUE(main.gauges[0].parameters.empty());
  EXPECT_EQ(main.gauges[1].module, "My Gauges");
  EXPECT_EQ(main.gauges[1].gauge, "Some Gauge");
  EXPECT_EQ(main.gauges[1].width, 150);
  EXPECT_FALSE(main.gauges[1].height.has_value());
  EXPECT_EQ(main.gauges[2].parameters, "o50, t225 # c10");
  EXPECT_EQ(main.gauges[2].line, 12);
  EXPECT_EQ(std::tuple(p.windows[1].title, p.windows[1].number, p.windows[1].visible),
            std::tuple("Radios", 10050u, false));
  const PanelWindow& vc = p.windows[2];
  EXPECT_EQ(std::tuple(vc.virtual_cockpit, vc.visible, vc.index, vc.number, vc.texture, vc.pixel_width,
                       vc.pixel_height, vc.gauges.size()),
            std::tuple(true, true, 3, kVirtualCockpitWindowBase + 3, "$MFD_Left", 512, 256, 1u));
  ASSERT_EQ(p.warnings.size(), 1u);  // the repeated section
  EXPECT_EQ(p.warnings[0].rfind("panel.cfg:23: ", 0), 0u);
  EXPECT_EQ(describe_sections(p),
            "  line 2 [WINDOW TITLES]: window titles\n"
            "  line 5 [window00]: window 0; 3 gauge line(s)\n"
            "  line 13 [Window01]: window 10050; 1 gauge line(s)\n"
            "  line 17 [Vcockpit03]: virtual cockpit 3, texture $MFD_Left; 1 gauge line(s)\n"
            "  line 23 [Vcockpit03]: not read: repeats an earlier section\n"
            "  line 25 [Views]: not read (this host reads [Window Titles], [WindowNN] and [VcockpitNN])\n");
}

// Malformed lines, numbers out of range and lines in places the reader does
// not use are reported with their file and line and not used, never wrapped
// or silently dropped; the lines around them are read.
TEST(PanelConfig, BadLinesWarnWithFileAndLineAndTheRestIsUsed) {
  const std::pair<const char*, const char*> cases[] = {
      {"[Window00]\ngauge00=NoBang, 0,0\n", "panel.cfg:2: gauge line without 'Module!Gauge'"},
      {"[Window00]\ngauge00=M!G, x,0\n", "panel.cfg:2: "},
      {"[Window00]\nbackground_color=300,0,0\n", "panel.cfg:2: "},
      {"[Window00]\nwhat is this\n", "panel.cfg:2: "},
      {"[Window00]\ngauge00=M!G, 2147483647, 0\n", "panel.cfg:2: gauge position 2147483647,0 lies outside"},
      {"[Window00]\ngauge00=M!G, 0, -9000\n", "panel.cfg:2: gauge position 0,-9000"},
      {"[Window00]\ngauge00=M!G, 0, 0, 100000, 100000\n",
       "panel.cfg:2: gauge size 100000 lies outside 1 to 8192"},
      {"[Window00]\ngauge00=M!G, 0, 0, 4294967297\n", "panel.cfg:2: gauge size 4294967297"},
      {"[Window00]\ngauge00=M!G, 0, 0, 10, 0\n", "panel.cfg:2: gauge size 0"},
      {"[Window00]\nsize_mm=100000,10\n", "panel.cfg:2: size_mm needs a width"},
      {"[Window00]\nident=4294967297\n", "panel.cfg:2: ident '4294967297' is neither"},
      {"[Window00]\nident=SOMEWHERE\n", "panel.cfg:2: ident 'SOMEWHERE' is neither"},
      {"[Window00]\nposition=99999999999\n", "panel.cfg:2: position needs an integer"},
      {"gauge00=M!G, 0, 0\n", "panel.cfg:1: gauge line outside any [WindowNN]"},
      {"[Views]\ngauge00=M!G, 0, 0\n", "panel.cfg:2: gauge line outside any [WindowNN]"},
      {"[Window-1]\ngauge00=M!G, 0, 0\n", "panel.cfg:1: section [Window-1] is not read"},
      {"[Window1000]\n", "panel.cfg:1: section [Window1000] is not read"},
      {"[VCockpit+1x]\n", "panel.cfg:1: section [VCockpit+1x] is not read"},
  };
  for (const auto& [text, warning] : cases) {
    const PanelConfig p =
        parse_panel_config(std::string(text) + "[Window01]\ngauge00=M!After, 4,5\n", "panel.cfg");
    ASSERT_EQ(p.warnings.size(), 1u) << text;
    EXPECT_EQ(p.warnings[0].rfind(warning, 0), 0u) << p.warnings[0];
    ASSERT_FALSE(p.windows.empty()) << text;
    for (const PanelWindow& w : p.windows) EXPECT_EQ(w.gauges.size(), w.number == 1 ? 1u : 0u) << text;
  }
}

TEST(PanelConfig, IdentNamesMapToWindowNumbers) {
  EXPECT_EQ(window_number_of_ident("GPS_PANEL"), 225u);
  EXPECT_EQ(window_number_of_ident("RADIO_STACK_PANEL"), 50u);
  EXPECT_EQ(window_number_of_ident(" 49 "), 49u);
  EXPECT_FALSE(window_number_of_ident("GPS").has_value());
}

}  // namespace
}  // namespace orv::host
