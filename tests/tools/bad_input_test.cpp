// orvane-panel given bad input as a user gives it: every case ends with the
// exit code of its class and a message naming the file, line or key at
// fault; a run told to stop by a signal stops between frames.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/tool_run.h"

namespace {

namespace fs = std::filesystem;

fs::path test_dir() {
  return fs::path(ORV_TEST_DIR) / "bad_input" /
         ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

fs::path write(const std::string& name, const std::string& text) {
  orv::test::write_text(test_dir() / name, text);
  return test_dir() / name;
}

orv::test::ToolRun tool(const std::string& args) {
  return orv::test::run_tool_command(ORV_PANEL_TOOL, args, test_dir());
}

const std::string kModule = std::string(" --module ") + ORV_REAL_MODULE;

TEST(BadInput, EachClassGetsItsExitCodeAndNamesThePlaceAtFault) {
  const std::string dir = test_dir().string();
  fs::create_directories(dir);
  const std::string panel = "[Window00]\nsize_mm=100,100\ngauge00=Orvane_Instr!Engine_On, 0,0\n";
  struct Case {
    std::string args;
    int code;
    std::string message;
  } cases[] = {
      {"trace --module " + dir, 3, dir + ": cannot open: is a directory"},
      {"trace --scenario " + write("inf.json", "{\"tokens\":\n {\"AIRSPEED\": 1e400}}").string() + kModule, 6,
       "inf.json:2: \"tokens.AIRSPEED\": '1e400' is out of range"},
      {"render --scenario " + write("at.json", "{\"render_at\": [1e8]}").string() + kModule, 6,
       "\"render_at\" 0: times are seconds from 0 to 86400"},
      {"trace --panel " + write("far.cfg", panel + "gauge01=Orvane_Instr!Radar, 2147483647, 0\n").string() +
           kModule + " --frames 1",
       0, "far.cfg:4: gauge position 2147483647,0 lies outside"},
      {"trace --panel " + write("none.cfg", "[Window-1]\ngauge00=Orvane_Instr!Radar, 0, 0\n").string() +
           kModule,
       5, "none.cfg:1: section [Window-1] is not read"},
      {"trace --click Radar:2147483647,0" + kModule, 2, "X and Y lie within"},
      {"trace --click Radar:1,1@1e300" + kModule, 2, "bad time"},
  };
  for (const Case& c : cases) {
    const orv::test::ToolRun r = tool(c.args);
    EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
  }
}

// One grammar for every subcommand: a mistyped name of any kind is answered
// with the closest valid one, a file that is not there with exit 3, and an
// option means one thing everywhere ("--frames N" counts frames).
TEST(CommandLine, NamesTheClosestValidNameAndChecksFiles) {
  fs::create_directories(test_dir());
  const struct {
    std::string args;
    int code;
    std::string message;
  } cases[] = {
      {"rendr", 2, "unknown command 'rendr'; did you mean 'render'?"},
      {"render --frmes 9" + kModule, 2, "unknown option '--frmes'; did you mean '--frames'?"},
      {"trace --set AIRSPED=250" + kModule, 2, "unknown token 'AIRSPED'; did you mean 'AIRSPEED'?"},
      {"render --picture HUD --png-sequence" + kModule, 2, "no gauge 'HUD'; did you mean 'Head_Up_Display'?"},
      {"trace --click radr:1,1" + kModule, 2,
       "--click: module Orvane_Instr has no gauge 'radr'; did you mean 'Radar'?"},
      {"info Atitude" + kModule, 2, "did you mean 'Attitude'?"},
      {"render --png-sequence 90" + kModule, 2, "unexpected argument '90' (--png-sequence takes no value)"},
      {"trace --full=yes" + kModule, 2, "--full takes no value"},
      {"tokens --json", 2, "unknown option '--json'"},
      {"info --panel missing.cfg" + kModule, 3, "missing.cfg: cannot open: No such file or directory"},
      {"check missing.cfg" + kModule, 3, "missing.cfg: cannot open"},
      {"check --gauges missing" + kModule, 3, "missing: cannot open"},
      {"render --scenario missing.json" + kModule, 3, "missing.json: cannot open"},
      {"trace --frames=1" + kModule, 0, ""},
      {"render --frames 9 --out " + (test_dir() / "out").string() + kModule, 0, ""},
  };
  for (const auto& c : cases) {
    const orv::test::ToolRun r = tool(c.args);
    EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
  }
  // render --frames N ends the run at frame N: its picture is of 0.5 s.
  EXPECT_TRUE(fs::exists(test_dir() / "out" / "screen_t0.5.png"));
}

// A long run with the click sound's audio device open stops on SIGINT and on
// SIGTERM at the next frame, with 128 + the signal.
TEST(BadInput, SignalsStopALongRunCleanly) {
  for (const int sig : {SIGINT, SIGTERM}) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const int null = ::open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      execl(ORV_PANEL_TOOL, ORV_PANEL_TOOL, "trace", "--module", ORV_REAL_MODULE, "--frames", "10000000",
            "--click", "NAV_GPS_Switch:10,10@0", static_cast<char*>(nullptr));
      _exit(127);
    }
    // Give the run time to start its frames (and the audio device), then stop it.
    sleep(3);
    kill(child, sig);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 128 + sig);
  }
}

}  // namespace
