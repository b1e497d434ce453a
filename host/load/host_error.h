// The one error type of the substitute host: a message that names the file
// (module, panel or scenario) and the reason, plus a category the command-line
// tool turns into its exit code.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace orv::host {

enum class ErrorKind {
  usage,          // bad command-line arguments
  unreadable,     // a file that cannot be opened or read
  bad_module,     // not a gauge module, or its records do not check out
  bad_panel,      // a panel with nothing usable in it
  bad_scenario,   // a scenario that does not parse
  interrupted,    // stopped by SIGINT or SIGTERM between two frames
  output_closed,  // standard output's reader went away: a quiet stop
  unavailable,    // what the command needs is not there (view: no display)
};

// `text` with its control characters (NUL, escape and the others below 0x20,
// and 0x7F; line breaks kept) written as \xNN, so that a name read from a
// file neither cuts a message short nor reaches the terminal as a command.
inline std::string printable(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c < 0x20 && c != '\n') || c == 0x7F) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

class HostError : public std::runtime_error {
 public:
  // The message is kept printable (see printable()).
  HostError(ErrorKind kind, const std::string& message)
      : std::runtime_error(printable(message)), kind_(kind) {}
  ErrorKind kind() const { return kind_; }

 private:
  ErrorKind kind_;
};

// The largest input file (module, panel, scenario, view script) read: far
// beyond any real one, small enough that a wrong path cannot exhaust memory.
inline constexpr long long kMaxInputBytes = 256LL << 20;

// Reads a whole regular file of at most kMaxInputBytes; throws
// HostError(unreadable) naming the file: it cannot be opened, is a directory,
// is not a regular file (a FIFO or a device such as /dev/zero, which are
// never waited on), is too large, or cannot be read. A stop asked for by a
// signal ends the read (HostError interrupted).
std::string read_file(const std::string& path);
// Throws HostError(unreadable) unless `path` names a regular file that can be
// opened, of at most kMaxInputBytes; returns its size.
long long require_input_file(const std::string& path);
// Throws HostError(unreadable) when `path` names a directory.
void require_not_directory(const std::string& path);

}  // namespace orv::host
