#include "host/load/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include "host/load/host_error.h"

#if defined(_WIN32)
#include <process.h>
#define orv_getpid _getpid
#else
#include <unistd.h>
#define orv_getpid getpid
#endif

namespace orv::host {

OutputFile::OutputFile(std::string path)
    : path_(std::move(path)), temporary_(path_ + ".part-" + std::to_string(orv_getpid())) {
  file_ = std::fopen(temporary_.c_str(), "wb");
  if (file_ == nullptr)
    throw HostError(ErrorKind::unreadable, path_ + ": cannot write: " + std::strerror(errno));
}

OutputFile::~OutputFile() { drop(); }

bool OutputFile::write(const void* data, std::size_t size) {
  if (file_ == nullptr || !error_.empty()) return false;
  if (size != 0 && std::fwrite(data, 1, size, file_) != size) {
    error_ = std::strerror(errno);
    return false;
  }
  return true;
}

std::string OutputFile::commit() {
  if (!pending_) return error_.empty() ? "already closed" : error_;
  pending_ = false;
  if (file_ != nullptr) {
    if (error_.empty() && (std::fflush(file_) != 0 || std::ferror(file_) != 0)) error_ = std::strerror(errno);
    if (std::fclose(std::exchange(file_, nullptr)) != 0 && error_.empty()) error_ = std::strerror(errno);
  }
  if (error_.empty()) {
    std::error_code ec;
    // Replaces an existing file of the name in one step (on Windows too).
    std::filesystem::rename(temporary_, path_, ec);
    if (ec) error_ = ec.message();
  }
  if (!error_.empty()) std::remove(temporary_.c_str());
  return error_;
}

void OutputFile::commit_or_throw() {
  const std::string error = commit();
  if (!error.empty()) throw HostError(ErrorKind::unreadable, path_ + ": cannot write: " + error);
}

void OutputFile::drop() {
  if (!pending_) return;
  pending_ = false;
  if (file_ != nullptr) std::fclose(std::exchange(file_, nullptr));
  std::remove(temporary_.c_str());
}

const std::string& OutputFile::hand_over() {
  if (file_ != nullptr && std::fclose(std::exchange(file_, nullptr)) != 0 && error_.empty())
    error_ = std::strerror(errno);
  return temporary_;
}

}  // namespace orv::host
