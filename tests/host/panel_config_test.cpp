#include "panel_config.h"

#include <gtest/gtest.h>

#include <utility>

namespace orv::host {
namespace {

TEST(PanelConfig, ReadsTitlesWindowsAndGaugeLines) {
  const PanelConfig p = parse_panel_config(
      "// comment\n"
      "[Window Titles]\n"
      "Window00=Main panel\n"
      "window01=Radios\n"
      "\n"
      "[Window00]\n"
      "size_mm=1024,768\n"
      "position=7\n"
      "ident=MAIN_PANEL\n"
      "background_color=16,32,48\n"
      "gauge00=Orvane_Instr!Engine_On, 0,0\n"
      "gauge01=Orvane_Instr!Registration, 10, 20, 150\n"
      "gauge02=Orvane_Instr!Close_Subpanel, 1,2,19,21, o50, t225 # c10\n"
      "[Window01]\n"
      "visible=0\n"
      "ident=10050\n"
      "gauge00=Other!Thing, 5,6\n"
      "[Views]\n"
      "eyepoint=0,0,0\n",
      "panel.cfg");
  EXPECT_TRUE(p.warnings.empty());
  ASSERT_EQ(p.windows.size(), 2u);
  const PanelWindow& main = p.windows[0];
  EXPECT_EQ(main.title, "Main panel");
  EXPECT_EQ(main.number, 0u);
  EXPECT_EQ(main.size_mm_x, 1024);
  EXPECT_EQ(main.size_mm_y, 768);
  EXPECT_EQ(main.position, 7);
  EXPECT_TRUE(main.visible);
  EXPECT_EQ(main.background_colour, 0x302010u);
  ASSERT_EQ(main.gauges.size(), 3u);
  EXPECT_EQ(main.gauges[1].gauge, "Registration");
  EXPECT_EQ(main.gauges[1].width, 150);
  EXPECT_FALSE(main.gauges[1].height.has_value());
  EXPECT_EQ(main.gauges[2].module, "Orvane_Instr");
  EXPECT_EQ(main.gauges[2].height, 21);
  EXPECT_EQ(main.gauges[2].parameters, "o50, t225 # c10");
  EXPECT_EQ(main.gauges[2].line, 13);
  EXPECT_EQ(p.windows[1].title, "Radios");
  EXPECT_EQ(p.windows[1].number, 10050u);
  EXPECT_FALSE(p.windows[1].visible);
}

TEST(PanelConfig, MalformedLinesWarnWithFileAndLineAndTheRestIsUsed) {
  const PanelConfig p = parse_panel_config(
      "[Window00]\n"
      "gauge00=NoBang, 0,0\n"
      "gauge01=Orvane_Instr!Radar, x,0\n"
      "gauge02=Orvane_Instr!Radar, 0,0,0\n"
      "size_mm=12,x\n"
      "background_color=300,0,0\n"
      "ident=SOMEWHERE\n"
      "what is this\n"
      "gauge03=Orvane_Instr!Attitude, 4,5\n"
      "[Window00]\n"
      "gauge00=Orvane_Instr!Radar, 0,0\n",
      "cockpit/panel.cfg");
  ASSERT_EQ(p.windows.size(), 1u);
  ASSERT_EQ(p.windows[0].gauges.size(), 1u);
  EXPECT_EQ(p.windows[0].gauges[0].gauge, "Attitude");
  ASSERT_EQ(p.warnings.size(), 8u);
  EXPECT_EQ(p.warnings[0], "cockpit/panel.cfg:2: gauge line without 'Module!Gauge'");
  EXPECT_EQ(p.warnings[1].rfind("cockpit/panel.cfg:3: ", 0), 0u);
  EXPECT_EQ(p.warnings[7].rfind("cockpit/panel.cfg:10: ", 0), 0u);
}

// Numbers out of range and lines in places the reader does not use are
// reported with their line and not used, never wrapped or silently dropped.
TEST(PanelConfig, OutOfRangeNumbersAndMisplacedLinesWarn) {
  const std::pair<const char*, const char*> cases[] = {
      {"[Window00]\ngauge00=M!G, 2147483647, 0\n", "panel.cfg:2: gauge position 2147483647,0 lies outside"},
      {"[Window00]\ngauge00=M!G, 0, -9000\n", "panel.cfg:2: gauge position 0,-9000"},
      {"[Window00]\ngauge00=M!G, 0, 0, 100000, 100000\n",
       "panel.cfg:2: gauge size 100000 lies outside 1 to 8192"},
      {"[Window00]\ngauge00=M!G, 0, 0, 4294967297\n", "panel.cfg:2: gauge size 4294967297"},
      {"[Window00]\ngauge00=M!G, 0, 0, 10, 0\n", "panel.cfg:2: gauge size 0"},
      {"[Window00]\nsize_mm=100000,10\n", "panel.cfg:2: size_mm needs a width"},
      {"[Window00]\nident=4294967297\n", "panel.cfg:2: ident '4294967297' is neither"},
      {"[Window00]\nposition=99999999999\n", "panel.cfg:2: position needs an integer"},
      {"gauge00=M!G, 0, 0\n", "panel.cfg:1: gauge line outside any [WindowNN]"},
      {"[Views]\ngauge00=M!G, 0, 0\n", "panel.cfg:2: gauge line outside any [WindowNN]"},
      {"[Window-1]\ngauge00=M!G, 0, 0\n", "panel.cfg:1: section [Window-1] is not read"},
      {"[Window1000]\n", "panel.cfg:1: section [Window1000] is not read"},
      {"[VCockpit+1x]\n", "panel.cfg:1: section [VCockpit+1x] is not read"},
  };
  for (const auto& [text, warning] : cases) {
    const PanelConfig p = parse_panel_config(text, "panel.cfg");
    ASSERT_EQ(p.warnings.size(), 1u) << text;
    EXPECT_EQ(p.warnings[0].rfind(warning, 0), 0u) << p.warnings[0];
    for (const PanelWindow& w : p.windows) EXPECT_TRUE(w.gauges.empty()) << text;
  }
}

TEST(PanelConfig, IdentNamesMapToWindowNumbers) {
  EXPECT_EQ(window_number_of_ident("GPS_PANEL"), 225u);
  EXPECT_EQ(window_number_of_ident("RADIO_STACK_PANEL"), 50u);
  EXPECT_EQ(window_number_of_ident(" 49 "), 49u);
  EXPECT_FALSE(window_number_of_ident("GPS").has_value());
}

// Panels as written for the simulator: any letter case, comments after
// values, tabs, a width-only size_mm, virtual cockpits, names with spaces.
TEST(PanelConfig, ReadsPanelsAsTheSimulatorDoes) {
  const PanelConfig p = parse_panel_config(
      "[WINDOW TITLES]\n"
      "WINDOW00=Main ; the pilot's view\n"
      "[window00]\n"
      "Size_MM=\t800 \t\n"
      "IDENT=main_panel // named panel\n"
      "GAUGE00=Orvane_Instr!Head_Up_Display,\t10 ,\t20 , 210 ,170 // HUD\n"
      "gauge01= My Gauges!Some Gauge , 1, 2\n"
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
  ASSERT_EQ(p.windows.size(), 2u);
  const PanelWindow& main = p.windows[0];
  EXPECT_EQ(main.title, "Main");
  EXPECT_EQ(main.number, 0u);
  EXPECT_EQ(main.size_mm_x, 800);
  EXPECT_EQ(main.size_mm_y, 0);  // follows the background bitmap or the gauges
  ASSERT_EQ(main.gauges.size(), 2u);
  EXPECT_EQ(main.gauges[0].x, 10);
  EXPECT_EQ(main.gauges[0].height, 170);
  EXPECT_TRUE(main.gauges[0].parameters.empty());
  EXPECT_EQ(main.gauges[1].module, "My Gauges");
  EXPECT_EQ(main.gauges[1].gauge, "Some Gauge");
  const PanelWindow& vc = p.windows[1];
  EXPECT_TRUE(vc.virtual_cockpit);
  EXPECT_TRUE(vc.visible);
  EXPECT_EQ(vc.index, 3);
  EXPECT_EQ(vc.number, kVirtualCockpitWindowBase + 3);
  EXPECT_EQ(vc.texture, "$MFD_Left");
  EXPECT_EQ(vc.pixel_width, 512);
  EXPECT_EQ(vc.pixel_height, 256);
  ASSERT_EQ(vc.gauges.size(), 1u);
  ASSERT_EQ(p.warnings.size(), 1u);  // the repeated section
  EXPECT_EQ(p.warnings[0].rfind("panel.cfg:14: ", 0), 0u);
  EXPECT_EQ(describe_sections(p),
            "  line 1 [WINDOW TITLES]: window titles\n"
            "  line 3 [window00]: window 0; 2 gauge line(s)\n"
            "  line 8 [Vcockpit03]: virtual cockpit 3, texture $MFD_Left; 1 gauge line(s)\n"
            "  line 14 [Vcockpit03]: not read: repeats an earlier section\n"
            "  line 16 [Views]: not read (this host reads [Window Titles], [WindowNN] and [VcockpitNN])\n");
}

}  // namespace
}  // namespace orv::host
