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

namespace {

// A crash while the library loads is a bad module (4); abort() in its init
// callback is a module fault (8), as a null-pointer crash there is.
TEST(FaultReport, FaultsAtLoadAndAbortInInitAreTheModules) {
  const fs::path dir = fs::path(ORV_TEST_DIR) / "fault_load";
  const struct {
    std::string module;
    int code;
    std::string message;
  } cases[] = {
      {ORV_PROBE_CRASH_AT_LOAD, 4,
       std::string(ORV_PROBE_CRASH_AT_LOAD) +
           ": not a loadable library: its start-up code crashed (SIGSEGV)"},
      {ORV_PROBE_ABORT_IN_INIT, 8, "module fault (SIGABRT) in module init or deinit callback"},
  };
  for (const auto& c : cases) {
    const orv::test::ToolRun r =
        orv::test::run_tool_command(ORV_PANEL_TOOL, "trace --frames 1 --module " + c.module, dir);
    EXPECT_EQ(r.code, c.code) << c.module << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

}  // namespace
