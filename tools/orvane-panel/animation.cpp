#include "animation.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "host_error.h"
#include "stop_request.h"

namespace orv::panel_tool {

using host::ErrorKind;
using host::HostError;

namespace {

[[noreturn]] void fail(const std::string& path, int error) {
  throw HostError(ErrorKind::unreadable, path + ": cannot write the animation: " + std::strerror(error));
}

// How the pixels of an axis scaled by `scale` cover the source pixels: for
// output pixel i, the source pixels from first[i] on with their shares of
// it, share[start[i]] to share[start[i + 1]] (area averaging; what lies
// beyond the source's `size` pixels is black).
struct Cover {
  std::vector<int> first;
  std::vector<std::size_t> start;
  std::vector<float> share;
};

Cover cover(int size, int outputs, double scale) {
  Cover c;
  const double step = 1.0 / scale;
  for (int i = 0; i < outputs; ++i) {
    const double lo = i * step, hi = (i + 1) * step;
    c.first.push_back(static_cast<int>(lo));
    c.start.push_back(c.share.size());
    for (int j = static_cast<int>(lo); j < size && j < hi; ++j)
      c.share.push_back(
          static_cast<float>((std::min(hi, j + 1.0) - std::max(lo, static_cast<double>(j))) * scale));
  }
  c.start.push_back(c.share.size());
  return c;
}

}  // namespace

GifAnimation::GifAnimation(const std::string& path, double frames_per_second, double scale)
    : path_(path),
      delay_cs_(std::max(1, static_cast<int>(std::lround(100.0 / frames_per_second)))),
      scale_(scale) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  file_.emplace(path);
}

GifAnimation::~GifAnimation() {
  if (!file_) return;
  // Stopped by a signal after some frames: what was written becomes a whole,
  // readable GIF. Ended by an error: no file at all.
  if (frames_ > 0 && host::stop_signal() != 0) {
    bytes_.clear();
    GifWriter::end(bytes_);
    if (file_->write(bytes_.data(), bytes_.size())) file_->commit();
  }
  file_.reset();
}

void GifAnimation::add(render::Image& frame) {
  frame.flush();
  add(frame.data(), frame.width(), frame.height(), frame.stride());
}

void GifAnimation::add(const unsigned char* rows, int width, int height, int stride) {
  if (!file_) return;
  if (frames_ == 0) {
    width_ = std::max(1, static_cast<int>(std::lround(width * scale_)));
    height_ = std::max(1, static_cast<int>(std::lround(height * scale_)));
    canvas_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    GifWriter::begin(bytes_, width_, height_);
  }
  scale_into_canvas(rows, width, height, stride);
  writer_.frame(bytes_, canvas_.data(), width_, height_, delay_cs_);
  write();
  ++frames_;
}

void GifAnimation::scale_into_canvas(const unsigned char* rows, int width, int height, int stride) {
  std::fill(canvas_.begin(), canvas_.end(), 0u);
  auto row = [&](int y) {
    return reinterpret_cast<const std::uint32_t*>(rows + static_cast<std::ptrdiff_t>(y) * stride);
  };
  const std::size_t w = static_cast<std::size_t>(width_);
  if (scale_ == 1.0) {
    const auto n = static_cast<std::size_t>(std::min(width, width_));
    for (int y = 0; y < std::min(height, height_); ++y) std::memcpy(&canvas_[y * w], row(y), n * 4);
    return;
  }
  const Cover across = cover(width, width_, scale_), down = cover(height, height_, scale_);
  std::vector<float> sums(3 * w);
  for (int y = 0; y < height_; ++y) {
    std::fill(sums.begin(), sums.end(), 0.0f);
    for (std::size_t j = down.start[y]; j < down.start[y + 1]; ++j) {
      const std::uint32_t* source = row(down.first[y] + static_cast<int>(j - down.start[y]));
      const float share_y = down.share[j];
      for (std::size_t x = 0; x < w; ++x) {
        const std::uint32_t* p = source + across.first[x];
        const float* share = &across.share[across.start[x]];
        const std::size_t n = across.start[x + 1] - across.start[x];
        float r = 0.0f, g = 0.0f, b = 0.0f;
        for (std::size_t i = 0; i < n; ++i) {
          r += share[i] * static_cast<float>((p[i] >> 16) & 0xFF);
          g += share[i] * static_cast<float>((p[i] >> 8) & 0xFF);
          b += share[i] * static_cast<float>(p[i] & 0xFF);
        }
        sums[3 * x] += share_y * r;
        sums[3 * x + 1] += share_y * g;
        sums[3 * x + 2] += share_y * b;
      }
    }
    std::uint32_t* out = &canvas_[static_cast<std::size_t>(y) * w];
    for (std::size_t x = 0; x < w; ++x) {
      std::uint32_t c = 0;
      for (int k = 0; k < 3; ++k)
        c = c << 8 | static_cast<std::uint32_t>(
                         std::clamp(std::lround(sums[3 * x + static_cast<std::size_t>(k)]), 0L, 255L));
      out[x] = c;
    }
  }
}

void GifAnimation::write() {
  if (!file_->write(bytes_.data(), bytes_.size())) {
    const int error = errno;
    file_.reset();
    fail(path_, error);
  }
  bytes_.clear();
}

void GifAnimation::close() {
  if (!file_) return;
  if (frames_ == 0) GifWriter::begin(bytes_, 1, 1);
  GifWriter::end(bytes_);
  write();
  const std::string error = file_->commit();
  file_.reset();
  if (!error.empty())
    throw HostError(ErrorKind::unreadable, path_ + ": cannot write the animation: " + error);
}

Progress::Progress(std::string what, long total, bool lines)
    : what_(std::move(what)),
      total_(std::max(1L, total)),
      terminal_(isatty(STDERR_FILENO) != 0),
      lines_(lines) {}

std::string progress_line(const std::string& what, long count, long total, int bar_width) {
  total = std::max(1L, total);
  count = std::clamp(count, 0L, total);
  const long percent = count * 100 / total;
  const std::string of = std::to_string(total);
  if (bar_width <= 0)
    return what + " " + std::to_string(count) + "/" + of + " (" + std::to_string(percent) + "%)";
  std::string done = std::to_string(count);
  done.insert(0, of.size() - std::min(of.size(), done.size()), ' ');
  const auto filled = static_cast<std::size_t>(count * bar_width / total);
  return what + " " + done + "/" + of + " [" + std::string(filled, '#') +
         std::string(static_cast<std::size_t>(bar_width) - filled, '.') + "] " + std::to_string(percent) +
         "%";
}

void Progress::step() {
  ++count_;
  const int percent = static_cast<int>(count_ * 100 / total_);
  if (terminal_) {
    std::fprintf(stderr, "\r%s", progress_line(what_, count_, total_, 40).c_str());
  } else if (lines_ && percent / 10 != last_tenth_) {
    last_tenth_ = percent / 10;
    std::fprintf(stderr, "%s\n", progress_line(what_, count_, total_).c_str());
  }
  std::fflush(stderr);
}

void Progress::done() {
  if (terminal_) std::fprintf(stderr, "\n");
}

}  // namespace orv::panel_tool
