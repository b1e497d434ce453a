// The one error type of the substitute host: a message that names the file
// (module, panel or scenario) and the reason, plus a category the command-line
// tool turns into its exit code.
#pragma once

#include <stdexcept>
#include <string>

namespace orv::host {

enum class ErrorKind {
  usage,         // bad command-line arguments
  unreadable,    // a file that cannot be opened or read
  bad_module,    // not a gauge module, or its records do not check out
  bad_panel,     // a panel with nothing usable in it
  bad_scenario,  // a scenario that does not parse
  interrupted,   // stopped by SIGINT or SIGTERM between two frames
};

class HostError : public std::runtime_error {
 public:
  HostError(ErrorKind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  ErrorKind kind() const { return kind_; }

 private:
  ErrorKind kind_;
};

// Reads a whole file; throws HostError(unreadable) naming the file.
std::string read_file(const std::string& path);
// Throws HostError(unreadable) when `path` names a directory.
void require_not_directory(const std::string& path);

}  // namespace orv::host
