// orvane-panel given bad input as a user gives it: every case ends with the
// exit code of its class and a message naming the file, line or key at
// fault; a run told to stop by a signal stops between frames.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
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
      // Nothing accepted silently.
      {"trace --frames 1 --panel " +
           write("nul.cfg", panel + "gauge01=Orvane_Instr!Ra" + std::string(1, '\0') + "\x1b[31mdar, 0,0\n")
               .string() +
           kModule,
       0, "no gauge 'Ra\\x00\\x1B[31mdar'"},
      {"trace --frames 1 --panel " + write("bom.cfg", "\xEF\xBB\xBF" + panel).string() + kModule, 0, ""},
      {"trace --scenario " + write("twice.json", "{\"frames\":5,\"frames\":7}").string() + kModule, 6,
       "twice.json: \"frames\" is given twice in one object"},
      {"trace --scenario " +
           write("key.json", R"({"keyframes": [{"t": 0, "tokens": {"AIRSPEED": 1, "AIRSPEED": 2}}]})")
               .string() +
           kModule,
       6, "\"keyframes[0].tokens.AIRSPEED\" is given twice in one object"},
      {"trace --scenario " + write("number.json", R"({"tokens": {"99999": 1}})").string() + kModule, 6,
       "unknown token number 99999"},
      {"trace --set 99999=1" + kModule, 2, "unknown token '99999'"},
      {"trace --scenario " +
           write("far.json", R"({"clicks": [{"t": 0, "gauge": "Radar", "x": 1e9}]})").string() + kModule,
       6, "click 0: \"x\" lies within -1000000 to 1000000"},
      {"trace --scenario " +
           write("both.json", R"({"clicks": [{"t": 0, "gauge": "NAV_GPS_Switch", "instance": 3}]})")
               .string() +
           kModule,
       6, "click 0: names both \"instance\" and \"gauge\""},
      {"trace --scenario " +
           write("gps.json", R"({"gps": {"waypoints": [{"ident": "A", "lat": 1, "lon": 2}], "active": 5}})")
               .string() +
           kModule,
       6, "gps: \"active\" is 5, but the plan has 1 waypoint(s)"},
  };
  for (const Case& c : cases) {
    const orv::test::ToolRun r = tool(c.args);
    EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
  }
}

// `COMMAND` run by the shell, its standard output and error as the line
// gives them: the exit code and standard error.
orv::test::ToolRun shell(const std::string& line) {
  const fs::path err = test_dir() / "stderr.txt";
  fs::create_directories(test_dir());
  // The tool's libraries keep caches to exit that the sanitizers would call
  // leaks (the suppressions say which).
  const std::string command =
      "LSAN_OPTIONS=suppressions=" ORV_LSAN_SUPPRESSIONS " bash -c '" + line + "' 2>" + err.string();
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", orv::test::read_text(err)};
}

// Inputs that never end are refused before they are read; output that
// cannot be written exits 3 in every command; a closed pipe ends quietly.
TEST(BadInput, EndlessInputsAndOutputThatCannotBeWritten) {
  const std::string dir = test_dir().string();
  fs::create_directories(dir);
  const std::string fifo = dir + "/panel.fifo";
  ::unlink(fifo.c_str());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string tool = std::string(ORV_PANEL_TOOL) + " ";
  const std::string kFull = "standard output: cannot write";
  struct Case {
    std::string line;
    int code;
    std::string message;
  } cases[] = {
      {tool + "trace --panel /dev/zero" + kModule, 3,
       "/dev/zero: cannot open: not a regular file but a device"},
      {tool + "trace --scenario /dev/zero" + kModule, 3, "/dev/zero: cannot open: not a regular file"},
      {tool + "trace --panel " + fifo + kModule, 3, fifo + ": cannot open: not a regular file but a FIFO"},
      {tool + "check" + kModule + " >/dev/full", 3, kFull},
      {tool + "info" + kModule + " >/dev/full", 3, kFull},
      {tool + "info --json" + kModule + " >/dev/full", 3, kFull},
      {tool + "tokens >/dev/full", 3, kFull},
      {tool + "render --at 0 --out " + dir + "/pictures" + kModule + " >/dev/full", 3, kFull},
      // The reader went away: a quiet end, as common tools make it.
      {"set -o pipefail; " + tool + "trace --frames 100000" + kModule + " | head -1 >/dev/null", 0, ""},
      {tool + "render --animate " + dir + "/x.gif --picture No_Such_Gauge" + kModule, 2, "No_Such_Gauge"},
  };
  for (const Case& c : cases) {
    const orv::test::ToolRun r = shell(c.line);
    EXPECT_EQ(r.code, c.code) << c.line << "\n" << r.err;
    if (c.message.empty()) {
      EXPECT_EQ(r.err, "") << c.line;
    }
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.line << "\n" << r.err;
  }
  // Nothing is left half-written: no GIF of a gauge that is not there, no
  // temporary files.
  EXPECT_FALSE(fs::exists(dir + "/x.gif"));
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    EXPECT_EQ(entry.path().string().find(".part-"), std::string::npos) << entry.path();
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
