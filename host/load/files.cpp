#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "host/load/host_error.h"
#include "host/load/stop_request.h"

#if defined(_WIN32)
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orv::host {

namespace {

[[noreturn]] void refuse(const std::string& path, const std::string& reason) {
  throw HostError(ErrorKind::unreadable, path + ": cannot open: " + reason);
}

std::string too_large(long long size) {
  return "larger than the " + std::to_string(kMaxInputBytes >> 20) + " MiB an input file may have (" +
         std::to_string(size) + " bytes)";
}

#if !defined(_WIN32)
// Opens `path` for reading without waiting (a FIFO with no writer would
// block in open()) and refuses anything but a regular file of sane size.
int open_input(const std::string& path, long long& size) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) refuse(path, std::strerror(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int error = errno;
    ::close(fd);
    refuse(path, std::strerror(error));
  }
  const char* kind = S_ISREG(st.st_mode)    ? nullptr
                     : S_ISDIR(st.st_mode)  ? "is a directory"
                     : S_ISFIFO(st.st_mode) ? "not a regular file but a FIFO"
                     : S_ISCHR(st.st_mode)  ? "not a regular file but a device"
                     : S_ISBLK(st.st_mode)  ? "not a regular file but a device"
                                            : "not a regular file";
  if (kind == nullptr && st.st_size > kMaxInputBytes) {
    ::close(fd);
    refuse(path, too_large(st.st_size));
  }
  if (kind != nullptr) {
    ::close(fd);
    refuse(path, kind);
  }
  size = st.st_size;
  return fd;
}
#endif

}  // namespace

void require_not_directory(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) refuse(path, "is a directory");
}

#if defined(_WIN32)
long long require_input_file(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) refuse(path, "No such file or directory");
  if (std::filesystem::is_directory(status)) refuse(path, "is a directory");
  if (!std::filesystem::is_regular_file(status)) refuse(path, "not a regular file");
  const auto size = static_cast<long long>(std::filesystem::file_size(path, ec));
  if (ec) refuse(path, ec.message());
  if (size > kMaxInputBytes) refuse(path, too_large(size));
  return size;
}

std::string read_file(const std::string& path) {
  const long long size = require_input_file(path);
  std::ifstream in(path, std::ios::binary);
  if (!in) refuse(path, std::strerror(errno));
  std::string text(static_cast<std::size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(size));
  if (in.bad()) throw HostError(ErrorKind::unreadable, path + ": read error");
  text.resize(static_cast<std::size_t>(in.gcount()));
  throw_if_stop_requested();
  return text;
}
#else
long long require_input_file(const std::string& path) {
  long long size = 0;
  ::close(open_input(path, size));
  return size;
}

std::string read_file(const std::string& path) {
  long long size = 0;
  const int fd = open_input(path, size);
  std::string text;
  text.reserve(static_cast<std::size_t>(size));
  char chunk[1 << 16];
  // In chunks, so that a stop asked for ends a long read; the file may grow
  // while it is read, but not past the limit.
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      throw HostError(ErrorKind::unreadable, path + ": read error: " + std::strerror(error));
    }
    if (n == 0) break;
    text.append(chunk, static_cast<std::size_t>(n));
    if (static_cast<long long>(text.size()) > kMaxInputBytes) {
      ::close(fd);
      refuse(path, too_large(static_cast<long long>(text.size())));
    }
    if (stop_signal() != 0) {
      ::close(fd);
      throw_if_stop_requested();
    }
  }
  ::close(fd);
  return text;
}
#endif

}  // namespace orv::host
