#include "animation.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "host/load/host_error.h"
#include "host/load/stop_request.h"
#if defined(ORV_HAVE_WEBP)
#include "webp_animation.h"
#endif
#if defined(ORV_HAVE_VIDEO)
#include "video_animation.h"
#endif

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

// The file name's extension in lower case (".gif").
std::string extension(const std::string& path) {
  std::string s = std::filesystem::path(path).extension().string();
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

Animation::Animation(const std::string& path, double frames_per_second, double scale)
    : path_(path), frames_per_second_(frames_per_second), scale_(scale) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  file_.emplace(path);
}

Animation::~Animation() {
  // Stopped by a signal after some frames: what was written (and finished
  // by the format's own destructor) becomes the file. Ended by an error: no
  // file at all.
  if (file_ && frames_ > 0 && host::stop_signal() != 0) file_->commit();
  file_.reset();
}

std::unique_ptr<Animation> Animation::open(const std::string& path, double frames_per_second, double scale,
                                           int gif_loss) {
#if defined(ORV_HAVE_WEBP)
  if (extension(path) == ".webp") return std::make_unique<WebpAnimation>(path, frames_per_second, scale);
#endif
#if defined(ORV_HAVE_VIDEO)
  if (extension(path) == ".mp4" || extension(path) == ".webm")
    return std::make_unique<VideoAnimation>(path, frames_per_second, scale, extension(path) == ".webm");
#endif
  if (extension(path) == ".gif")
    return std::make_unique<GifAnimation>(path, frames_per_second, scale, gif_loss);
  throw HostError(ErrorKind::usage, "--animate " + path + ": the name needs to end in " + formats());
}

bool Animation::supported(const std::string& path) {
  const std::string e = extension(path);
#if defined(ORV_HAVE_WEBP)
  if (e == ".webp") return true;
#endif
#if defined(ORV_HAVE_VIDEO)
  if (e == ".mp4" || e == ".webm") return true;
#endif
  return e == ".gif";
}

const char* Animation::formats() {
#if defined(ORV_HAVE_WEBP) && defined(ORV_HAVE_VIDEO)
  return ".gif, .webp, .mp4 or .webm";
#elif defined(ORV_HAVE_WEBP)
  return ".gif or .webp";
#else
  return ".gif";
#endif
}

void Animation::add(render::Image& frame) {
  frame.flush();
  add(frame.data(), frame.width(), frame.height(), frame.stride());
}

void Animation::add(const unsigned char* rows, int width, int height, int stride) {
  if (!file_) return;
  if (frames_ == 0) {
    width_ = std::max(1, static_cast<int>(std::lround(width * scale_)));
    height_ = std::max(1, static_cast<int>(std::lround(height * scale_)));
    canvas_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    begin(width_, height_);
  }
  // A frame of the canvas's own size, unscaled and its rows packed, is
  // encoded as it is.
  if (scale_ == 1.0 && width == width_ && height == height_ && stride == 4 * width) {
    encode(reinterpret_cast<const std::uint32_t*>(rows), width_, height_);
  } else {
    scale_into_canvas(rows, width, height, stride);
    encode(canvas_.data(), width_, height_);
  }
  ++frames_;
}

void Animation::scale_into_canvas(const unsigned char* rows, int width, int height, int stride) {
  auto row = [&](int y) {
    return reinterpret_cast<const std::uint32_t*>(rows + static_cast<std::ptrdiff_t>(y) * stride);
  };
  const std::size_t w = static_cast<std::size_t>(width_);
  if (scale_ == 1.0) {
    const auto n = static_cast<std::size_t>(std::min(width, width_));
    for (int y = 0; y < height_; ++y) {
      std::uint32_t* out = &canvas_[static_cast<std::size_t>(y) * w];
      if (y < height) std::memcpy(out, row(y), n * 4);
      std::fill(out + (y < height ? n : 0), out + w, 0u);
    }
    return;
  }
  const Cover across = cover(width, width_, scale_), down = cover(height, height_, scale_);
  sums_.resize(3 * w);
  for (int y = 0; y < height_; ++y) {
    std::fill(sums_.begin(), sums_.end(), 0.0f);
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
        sums_[3 * x] += share_y * r;
        sums_[3 * x + 1] += share_y * g;
        sums_[3 * x + 2] += share_y * b;
      }
    }
    std::uint32_t* out = &canvas_[static_cast<std::size_t>(y) * w];
    for (std::size_t x = 0; x < w; ++x) {
      std::uint32_t c = 0;
      for (int k = 0; k < 3; ++k)
        c = c << 8 | static_cast<std::uint32_t>(
                         std::clamp(std::lround(sums_[3 * x + static_cast<std::size_t>(k)]), 0L, 255L));
      out[x] = c;
    }
  }
}

void Animation::write(const unsigned char* bytes, std::size_t size) {
  if (!file_) return;
  if (!file_->write(bytes, size)) {
    const int error = errno;
    file_.reset();
    fail(path_, error);
  }
}

void Animation::close() {
  if (!file_) return;
  if (frames_ == 0) begin(1, 1);
  finish();
  // Written under a temporary name, renamed now that it is whole.
  const std::string error = file_->commit();
  file_.reset();
  if (!error.empty())
    throw HostError(ErrorKind::unreadable, path_ + ": cannot write the animation: " + error);
}

GifAnimation::GifAnimation(const std::string& path, double frames_per_second, double scale, int loss)
    : Animation(path, frames_per_second, scale),
      delay_cs_(std::max(1, static_cast<int>(std::lround(100.0 / frames_per_second)))),
      writer_(loss) {}

GifAnimation::~GifAnimation() {
  // Cut short: the trailer, so that what was written is a readable GIF if a
  // stop keeps it (see ~Animation).
  try {
    finish();
  } catch (const std::exception&) {
  }
}

void GifAnimation::begin(int width, int height) {
  GifWriter::begin(bytes_, width, height);
  open_ = true;
}

void GifAnimation::encode(const std::uint32_t* pixels, int width, int height) {
  writer_.frame(bytes_, pixels, width, height, delay_cs_);
  write(bytes_.data(), bytes_.size());
  bytes_.clear();
}

void GifAnimation::finish() {
  if (!open_) return;
  open_ = false;
  GifWriter::end(bytes_);
  write(bytes_.data(), bytes_.size());
  bytes_.clear();
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
