#include "host/record/trace_output.h"

#include <cerrno>
#include <cstring>

#include "host/load/host_error.h"
#include "host/load/stop_request.h"

namespace orv::host {

void FileTraceOutput::write(const char* data, std::size_t size) {
  if (size != 0 && std::fwrite(data, 1, size, file_) != size) fail();
}

void FileTraceOutput::flush() {
  if (std::fflush(file_) != 0 || std::ferror(file_) != 0) fail();
}

void FileTraceOutput::fail() const {
  const int error = errno;
  if (error == EPIPE && file_ == stdout) stop_output_closed();
  throw HostError(ErrorKind::unreadable, name_ + ": cannot write the trace" +
                                             (error != 0 ? std::string(": ") + std::strerror(error) : ""));
}

void StreamTraceOutput::write(const char* data, std::size_t size) {
  out_.write(data, static_cast<std::streamsize>(size));
  if (!out_) throw HostError(ErrorKind::unreadable, "cannot write the trace");
}

void StreamTraceOutput::flush() {
  out_.flush();
  if (!out_) throw HostError(ErrorKind::unreadable, "cannot write the trace");
}

}  // namespace orv::host
