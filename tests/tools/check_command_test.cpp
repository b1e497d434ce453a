// orvane-panel check as a panel designer runs it: panels with one mistake
// each, written into a simulator-like folder tree here, checked by the tool
// as a child process against the module of this tree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "support/tool_run.h"

namespace {

namespace fs = std::filesystem;

fs::path test_dir() {
  return fs::path(ORV_TEST_DIR) / "check_command" /
         ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

using orv::test::ToolRun;
constexpr auto write = orv::test::write_text;

// Runs `orvane-panel COMMAND --module (this tree's module) ARGS`.
ToolRun run_command(const std::string& command, const std::string& args) {
  return orv::test::run_tool_command(ORV_PANEL_TOOL, command + " --module " + ORV_REAL_MODULE + " " + args,
                                     test_dir());
}

ToolRun run_tool(const std::string& args) { return run_command("check", args); }

// A panel in SIM/SimObjects/A/panel with the module installed in SIM/Gauges.
fs::path install_panel(const std::string& text) {
  const fs::path sim = test_dir() / "sim";
  write(sim / "Gauges" / "Orvane_Instr.gau", "");
  const fs::path panel = sim / "SimObjects" / "A" / "panel" / "panel.cfg";
  write(panel, text);
  return panel;
}

// A clean window: the selector lights the HUD, nothing overlaps.
const std::string kHead =
    "[Window Titles]\nwindow00=Main\n"
    "[Window00]\nsize_mm=800,600\nvisible=1\nident=MAIN_PANEL\n"
    "gauge00=Orvane_Instr!Screen_Selector_Main, 0,400\n"
    "gauge01=Orvane_Instr!Head_Up_Display, 240,0,420,340\n";  // lines 1 to 8

TEST(CheckCommand, CleanPanelsPass) {
  EXPECT_EQ(run_tool("--strict " + install_panel(kHead).string()).code, 0);
  // A mixed panel as designers write them: a window sized by its width
  // alone, and a virtual cockpit (no title, visible=0, always shown).
  const ToolRun mixed = run_tool(
      "--strict " +
      install_panel(kHead + "[Window Titles]\nwindow01=Pop-up\n[Window01]\nsize_mm=286\nident=48\n"
                            "gauge00=Orvane_Instr!Multi_Function_Display_Right, 0,0,286,291\n"
                            "[Vcockpit01]\nsize_mm=512,512\npixel_size=512,512\ntexture=$MFD\nvisible=0\n"
                            "gauge00=Orvane_Instr!Multi_Function_Display_Left, 0,0,286,291\n")
          .string());
  EXPECT_EQ(mixed.code, 0) << mixed.out;
  // The shipped panel has no errors; its layout warnings are the panel's
  // business, not the checker's.
  // A gauge meant to lie over another says so at the end of its line.
  EXPECT_EQ(run_tool("--strict " +
                     install_panel(kHead + "gauge02=Orvane_Instr!Attitude, 200,100  // overlay\n").string())
                .code,
            0);
  const ToolRun shipped = run_tool(std::string(ORV_SOURCE_DIR) + "/data/panels/default/panel.cfg");
  EXPECT_EQ(shipped.code, 0) << shipped.out;
  EXPECT_EQ(shipped.out.find("error"), std::string::npos) << shipped.out;
}

struct BadPanel {
  const char* name;
  std::string text;
  int code;              // without --strict
  const char* expected;  // a fragment of one line of the report
};

TEST(CheckCommand, ReportsEachMistakeOnItsLine) {
  const BadPanel cases[] = {
      {"typo", kHead + "gauge02=Orvane_Instr!Radar_Togle, 0,0\n", 2,
       ":9: error: module Orvane_Instr has no gauge 'Radar_Togle'; did you mean 'Radar_Toggle'?"},
      {"windows text", kHead + "gauge02=Orvane_Instr!Rad\xE9r, 0,0\n", 2,  // panel.cfg is Windows-1252
       ":9: error: module Orvane_Instr has no gauge 'Rad\xC3\xA9r'; did you mean 'Radar'?"},
      {"case", kHead + "gauge02=Orvane_Instr!engine_on, 0,560\n", 2,
       ":9: error: gauge 'engine_on' differs from 'Engine_On' only in case"},
      {"unknown module", kHead + "gauge02=Orvnae_Instr!Engine_On, 0,560\n", 2,
       ":9: error: module 'Orvnae_Instr' is not loaded and not found in the panel's folder or"},
      {"duplicate key", kHead + "gauge01=Orvane_Instr!Engine_On, 0,560\n", 2,
       ":9: error: 'gauge01' repeats in [window00] (first at line 8)"},
      {"duplicate window", kHead + "[Window00]\nsize_mm=10,10\n", 2,
       ":9: error: section [Window00] repeats an earlier"},
      {"same ident", kHead + "[Window Titles]\nwindow01=B\n[Window01]\nsize_mm=10,10\nident=MAIN_PANEL\n", 2,
       ":11: error: [Window01] has window number 0 like [Window00]"},
      {"bad size", kHead + "gauge02=Orvane_Instr!Engine_On, 0,560,19x19\n", 2,
       ":9: error: '19x19' is not an integer width"},
      {"overflow", kHead + "gauge02=Orvane_Instr!Engine_On, 790,560\n", 0,
       ":9: warning: Engine_On at 790,560 size"},
      {"overlap", kHead + "gauge02=Orvane_Instr!MFD1_Toggle, 0,0\ngauge03=Orvane_Instr!MFD2_Toggle, 5,5\n", 0,
       ":10: warning: click areas of MFD2_Toggle and MFD1_Toggle (line 9) overlap at"},
      {"drawn over", kHead + "gauge02=Orvane_Instr!Attitude, 200,100 // the standby\n", 0,
       ":9: warning: Attitude is drawn over Head_Up_Display (line 8) at 240,100 size 60x90"},
      {"unreachable",
       kHead + "[Window Titles]\nwindow01=Right display\n[Window01]\nsize_mm=286,291\nvisible=0\nident=48\n",
       0,
       ":11: warning: [Window01] (window 48) starts hidden and no toggle or selector on this panel opens it"},
      {"no title", kHead + "[Window01]\nsize_mm=286,291\nvisible=1\nident=1\n", 0,
       ":9: warning: [Window01] has no title"},
      {"missing background", kHead + "file=panel.bmp\n", 0,
       ":9: warning: [Window00] background 'panel.bmp' is not in the panel's folder"},
      {"virtual cockpit by its own name",
       kHead + "[Vcockpit01]\nsize_mm=256,256\ntexture=$A\ngauge00=Orvane_Instr!Engine_On, 250,0\n", 0,
       ":12: warning: Engine_On at 250,0 size 30x30 reaches outside [Vcockpit01] (256x256)"},
      {"no selector",
       "[Window Titles]\nwindow00=Main\n[Window00]\nsize_mm=800,600\nident=MAIN_PANEL\n"
       "gauge00=Orvane_Instr!Head_Up_Display, 0,0,420,340\n",
       0, ":6: warning: Head_Up_Display needs Screen_Selector_Main or Screen_Selector_Landing"},
  };
  for (const BadPanel& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path panel = install_panel(c.text);
    const ToolRun plain = run_tool(panel.string());
    EXPECT_EQ(plain.code, c.code) << plain.out;
    EXPECT_NE(plain.out.find(panel.string() + c.expected), std::string::npos) << plain.out;
    if (c.code == 0) {
      EXPECT_EQ(run_tool("--strict " + panel.string()).code, 1);
    }
  }
}

TEST(CheckCommand, ModuleSearchOrder) {
  fs::remove_all(test_dir());
  // Not installed anywhere: a note, which never fails the check.
  write(test_dir() / "panel" / "panel.cfg", kHead);
  const ToolRun loose = run_tool("--strict " + (test_dir() / "panel" / "panel.cfg").string());
  EXPECT_EQ(loose.code, 0);
  EXPECT_NE(loose.out.find("note: module 'Orvane_Instr' is checked against"), std::string::npos) << loose.out;
  // In the panel's own folder, in any letter case: found.
  write(test_dir() / "panel" / "ORVANE_INSTR.GAU", "");
  EXPECT_EQ(run_tool((test_dir() / "panel" / "panel.cfg").string()).out.find("checked against"),
            std::string::npos);
  // --gauges names the Gauges folder; another module found there is not checked.
  const std::string other = kHead + "gauge02=Other!Thing, 0,0\n";
  write(test_dir() / "panel" / "panel.cfg", other);
  write(test_dir() / "gauges" / "other.dll", "");
  const ToolRun found = run_tool("--gauges " + (test_dir() / "gauges").string() + " " +
                                 (test_dir() / "panel" / "panel.cfg").string());
  EXPECT_EQ(found.code, 0);
  EXPECT_NE(found.out.find(":9: note: gauges of module 'Other'"), std::string::npos) << found.out;
}

// Each JSON report parses and carries its documented fields.
TEST(CheckCommand, JsonReportsCarryTheDocumentedFields) {
  if (std::system("python3 -c pass >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3 to parse JSON";
  const fs::path panel = install_panel(kHead + "gauge02=Orvane_Instr!Radar_Togle, 0,0\n");
  const std::pair<ToolRun, std::string> reports[] = {
      {run_tool("--json " + panel.string()),
       "(d,'errors warnings notes file diagnostics'),"
       "(d['diagnostics'][0],'code file level line message')"},
      {run_command("info", "--json"),
       "(d['gauges'][31],'bitmap_size closes default_size elements events mouse name opens tokens')"},
  };
  for (const auto& [run, fields] : reports) {
    write(test_dir() / "out.json", run.out);
    const std::string script = "import json,sys; d=json.load(open(sys.argv[1])); [o[k] for o,ks in [" +
                               fields + "] for k in ks.split()]";
    EXPECT_EQ(std::system(("python3 -c \"" + script + "\" " + (test_dir() / "out.json").string()).c_str()), 0)
        << run.out;
  }
}

TEST(InfoCommand, DescribesGaugesAndWhatTheirClicksDo) {
  const ToolRun r = run_command("info", "MFD1_Toggle Screen_Selector_Main");
  ASSERT_EQ(r.code, 0);
  // A window button takes right clicks over its 44-pixel face and toggles its pop-up.
  EXPECT_NE(r.out.find("MFD1_Toggle: default size 50x50, bitmap 50x50"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("box 3,3 44x44 cursor 5 flags 0x80000000"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  opens windows: 49\n"), std::string::npos) << r.out;
  // The selector reads the panel light and opens the overlays.
  EXPECT_NE(r.out.find("753 PANEL_LIGHTING"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  opens windows: 44, 46\n"), std::string::npos) << r.out;

  const ToolRun typo = run_command("info", "Radar_Togle");
  EXPECT_EQ(typo.code, 2);

  // With a panel: the module's gauges it places, each once, in panel order.
  const fs::path panel =
      install_panel(kHead + "gauge02=Orvane_Instr!Screen_Selector_Main, 0,0\ngauge03=Other!Radar, 0,0\n");
  const ToolRun placed = run_command("info", "--panel " + panel.string());
  ASSERT_EQ(placed.code, 0) << placed.err;
  EXPECT_EQ(placed.out.find("Screen_Selector_Main: "), 0u) << placed.out;
  EXPECT_NE(placed.out.find("\nHead_Up_Display: "), std::string::npos) << placed.out;
  EXPECT_EQ(placed.out.find("\nRadar: "), std::string::npos) << placed.out;
  EXPECT_EQ(placed.out.find("Screen_Selector_Main: ", 1), std::string::npos) << placed.out;
}

}  // namespace
