// A module that crashes inside a callback: the tool names the gauge,
// instance, callback kind and element, keeps the trace up to the fault and
// exits with its own code.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/tool_run.h"

namespace {

namespace fs = std::filesystem;

TEST(FaultReport, ACrashInAnElementCallbackIsNamedAndTheTraceKept) {
  const fs::path dir = fs::path(ORV_TEST_DIR) / "fault";
  fs::create_directories(dir);
  std::ofstream(dir / "panel.cfg") << "[Window00]\nsize_mm=100,100\n"
                                      "gauge00=Probe_Instr!Empty, 0,0\n"
                                      "gauge01=Probe_Instr!Probe, 0,0, crash\n";
  const orv::test::ToolRun r =
      orv::test::run_tool_command(ORV_PANEL_TOOL,
                                  std::string("trace --module ") + ORV_PROBE_MODULE + " --panel " +
                                      (dir / "panel.cfg").string() + " --frames 9",
                                  dir);
  EXPECT_EQ(r.code, 8) << r.err;
  EXPECT_NE(r.err.find("module fault (SIGSEGV) in element callback of gauge Probe, instance 1, element "),
            std::string::npos)
      << r.err;
  // Frames 0 and 1 ran whole; the third evaluation, in frame 2, crashed.
  EXPECT_NE(r.out.find("frame 1 "), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("frame 3 "), std::string::npos) << r.out;
}

}  // namespace
