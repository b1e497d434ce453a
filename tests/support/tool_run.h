// Runs the orvane-panel tool of this tree as a child process, as a user
// would, and keeps its exit code, standard output and standard error.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace orv::test {

struct ToolRun {
  int code = -1;
  std::string out, err;
};

inline std::string read_text(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void write_text(const std::filesystem::path& p, const std::string& text) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p) << text;
}

// Runs `[PREFIX] TOOL ARGS` with its output in files under `dir`.
inline ToolRun run_tool_command(const std::string& tool, const std::string& args,
                                const std::filesystem::path& dir, const std::string& prefix = {}) {
  std::filesystem::create_directories(dir);
  const std::filesystem::path out = dir / "stdout.txt", err = dir / "stderr.txt";
  const std::string cmd =
      prefix + (prefix.empty() ? "" : " ") + tool + " " + args + " >" + out.string() + " 2>" + err.string();
  const int status = std::system(cmd.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_text(out), read_text(err)};
}

}  // namespace orv::test
