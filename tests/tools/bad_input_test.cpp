// orvane-panel given bad input as a user gives it: every case ends with the
// exit code of its class and a message naming the file, line or key at
// fault; a run told to stop by a signal stops between frames.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path test_dir() {
  return fs::path(ORV_TEST_DIR) / "bad_input" /
         ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

fs::path write(const std::string& name, const std::string& text) {
  const fs::path p = test_dir() / name;
  fs::create_directories(p.parent_path());
  std::ofstream(p) << text;
  return p;
}

struct ToolRun {
  int code;
  std::string err;
};

ToolRun tool(const std::string& args) {
  const fs::path err = test_dir() / "stderr.txt";
  fs::create_directories(test_dir());
  const std::string cmd = std::string(ORV_PANEL_TOOL) + " " + args + " >/dev/null 2>" + err.string();
  const int status = std::system(cmd.c_str());
  std::ifstream in(err);
  std::stringstream s;
  s << in.rdbuf();
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, s.str()};
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
      {"trace --panel " + dir + kModule, 3, "is a directory"},
      {"trace --scenario " + dir + kModule, 3, "is a directory"},
      {"trace --scenario " + write("inf.json", "{\"tokens\":\n {\"AIRSPEED\": 1e400}}").string() + kModule, 6,
       "inf.json:2: \"tokens.AIRSPEED\": '1e400' is out of range"},
      {"trace --scenario " + write("frames.json", "{\"frames\": 3000000000}").string() + kModule, 6,
       "\"frames\" must be a count from 0 to 10000000"},
      {"trace --scenario " + write("name.json", "{\"name\": 5}").string() + kModule, 6,
       "\"name\" must be a text"},
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
    const ToolRun r = tool(c.args);
    EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
  }
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
