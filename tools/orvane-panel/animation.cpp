#include "animation.h"

#include <fcntl.h>
#include <unistd.h>
#if defined(ORV_HAVE_GIF)
#include <gif_lib.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "host_error.h"

namespace orv::panel_tool {

#if defined(ORV_HAVE_GIF)
using host::ErrorKind;
using host::HostError;

struct GifAnimation::File {
  GifFileType* gif = nullptr;
};

namespace {

[[noreturn]] void fail(const std::string& path, int error) {
  throw HostError(ErrorKind::unreadable, path + ": cannot write the animation: " + GifErrorString(error));
}

}  // namespace

GifAnimation::GifAnimation(const std::string& path, double frames_per_second, double scale)
    : file_(std::make_unique<File>()),
      path_(path),
      delay_cs_(std::max(1, static_cast<int>(std::lround(100.0 / frames_per_second)))),
      scale_(scale) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  // Opened here rather than by name so the file gets the usual permissions.
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) fail(path, E_GIF_ERR_OPEN_FAILED);
  int error = 0;
  file_->gif = EGifOpenFileHandle(fd, &error);
  if (file_->gif == nullptr) {
    ::close(fd);
    fail(path, error);
  }
  EGifSetGifVersion(file_->gif, true);
}

GifAnimation::~GifAnimation() {
  if (file_->gif != nullptr) EGifCloseFile(file_->gif, nullptr);
}

void GifAnimation::add(cairo_surface_t* frame) {
  GifFileType* gif = file_->gif;
  if (gif == nullptr) return;
  const int fw = cairo_image_surface_get_width(frame), fh = cairo_image_surface_get_height(frame);
  if (frames_ == 0) {
    width_ = std::max(1, static_cast<int>(std::lround(fw * scale_)));
    height_ = std::max(1, static_cast<int>(std::lround(fh * scale_)));
    if (EGifPutScreenDesc(gif, width_, height_, 8, 0, nullptr) == GIF_ERROR) fail(path_, gif->Error);
    // Loop forever (the application extension that browsers honour).
    const unsigned char loop[3] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 3, loop) == GIF_ERROR || EGifPutExtensionTrailer(gif) == GIF_ERROR)
      fail(path_, gif->Error);
  }

  // The frame on the canvas, scaled, as 24-bit colour.
  cairo_surface_t* canvas = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_);
  cairo_t* cr = cairo_create(canvas);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  cairo_scale(cr, scale_, scale_);
  cairo_set_source_surface(cr, frame, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(canvas);
  const std::size_t n = static_cast<std::size_t>(width_) * height_;
  std::vector<GifByteType> red(n), green(n), blue(n), indices(n);
  const unsigned char* data = cairo_image_surface_get_data(canvas);
  const int stride = cairo_image_surface_get_stride(canvas);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      std::uint32_t p;
      std::memcpy(&p, data + static_cast<std::ptrdiff_t>(y) * stride + 4 * x, 4);
      const std::size_t i = static_cast<std::size_t>(y) * width_ + x;
      red[i] = static_cast<GifByteType>(p >> 16);
      green[i] = static_cast<GifByteType>(p >> 8);
      blue[i] = static_cast<GifByteType>(p);
    }
  }
  cairo_surface_destroy(canvas);

  int colours = 256;
  GifColorType palette[256] = {};
  if (GifQuantizeBuffer(static_cast<unsigned>(width_), static_cast<unsigned>(height_), &colours, red.data(),
                        green.data(), blue.data(), indices.data(), palette) == GIF_ERROR)
    fail(path_, E_GIF_ERR_NOT_ENOUGH_MEM);
  // The quantizer works on 5 bits per channel; each palette entry becomes the
  // mean of the pixels it stands for, so flat areas keep their exact colour.
  long sums[256][4] = {};
  for (std::size_t i = 0; i < n; ++i) {
    long* sum = sums[indices[i]];
    sum[0] += red[i];
    sum[1] += green[i];
    sum[2] += blue[i];
    ++sum[3];
  }
  for (int k = 0; k < 256; ++k) {
    if (sums[k][3] == 0) continue;
    const long half = sums[k][3] / 2;
    palette[k].Red = static_cast<GifByteType>((sums[k][0] + half) / sums[k][3]);
    palette[k].Green = static_cast<GifByteType>((sums[k][1] + half) / sums[k][3]);
    palette[k].Blue = static_cast<GifByteType>((sums[k][2] + half) / sums[k][3]);
  }
  ColorMapObject* map = GifMakeMapObject(256, palette);
  if (map == nullptr) fail(path_, E_GIF_ERR_NOT_ENOUGH_MEM);

  // Each frame replaces the last, shown for the frame time.
  const unsigned char control[4] = {0x04, static_cast<unsigned char>(delay_cs_ & 0xFF),
                                    static_cast<unsigned char>(delay_cs_ >> 8), 0};
  bool ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control) != GIF_ERROR &&
            EGifPutImageDesc(gif, 0, 0, width_, height_, false, map) != GIF_ERROR;
  for (int y = 0; ok && y < height_; ++y)
    ok = EGifPutLine(gif, indices.data() + static_cast<std::size_t>(y) * width_, width_) != GIF_ERROR;
  GifFreeMapObject(map);
  if (!ok) fail(path_, gif->Error);
  ++frames_;
}

void GifAnimation::close() {
  if (file_->gif == nullptr) return;
  int error = 0;
  const int result = EGifCloseFile(file_->gif, &error);
  file_->gif = nullptr;
  if (result == GIF_ERROR) fail(path_, error);
}

#endif

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
