#include "webp_animation.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "frame_delta.h"

namespace orv::panel_tool {

namespace {

// Lossless, method 1 at the least effort: of the settings measured on the
// built-in flight (docs/performance.md), method 0 makes files ten times as
// large, and higher methods and efforts shrink them by a fifth at twice the
// time.
constexpr int kMethod = 1;
constexpr float kEffort = 0.0f;

// A lossless single-image WebP of `width` x `height` 0xAARRGGBB pixels.
std::vector<std::uint8_t> compress(const std::uint32_t* argb, int width, int height) {
  WebPConfig config;
  WebPPicture picture;
  if (!WebPConfigInit(&config) || !WebPPictureInit(&picture))
    throw std::runtime_error("libwebp: version mismatch");
  config.lossless = 1;
  config.method = kMethod;
  config.quality = kEffort;
  picture.use_argb = 1;
  picture.width = width;
  picture.height = height;
  picture.argb = const_cast<std::uint32_t*>(argb);
  picture.argb_stride = width;
  WebPMemoryWriter writer;
  WebPMemoryWriterInit(&writer);
  picture.writer = WebPMemoryWrite;
  picture.custom_ptr = &writer;
  const bool ok = WebPEncode(&config, &picture) != 0;
  std::vector<std::uint8_t> bytes(writer.mem, writer.mem + writer.size);
  WebPMemoryWriterClear(&writer);
  if (!ok) throw std::runtime_error("libwebp: cannot compress a frame");
  return bytes;
}

}  // namespace

WebpAnimation::WebpAnimation(const std::string& path, double frames_per_second, double scale)
    : Animation(path, frames_per_second, scale) {}

WebpAnimation::~WebpAnimation() {
  // Cut short: the frames so far are assembled into the file.
  try {
    finish();
  } catch (const std::exception&) {
  }
}

int WebpAnimation::timestamp(int k) const {
  return static_cast<int>(std::lround(1000.0 * k / frames_per_second()));
}

void WebpAnimation::begin(int width, int height) {
  width_ = width;
  height_ = height;
  open_ = true;
}

void WebpAnimation::encode(const std::uint32_t* pixels, int width, int height) {
  const auto w = static_cast<std::size_t>(width);
  const bool first = added_++ == 0;
  FrameRect r =
      first ? FrameRect{0, 0, width, height} : changed_rect(pixels, previous_.data(), width, height);
  if (r.empty()) {
    stored_.back().end = added_;
    return;
  }
  // Frames start at even offsets.
  if (r.x % 2 != 0) --r.x, ++r.width;
  if (r.y % 2 != 0) --r.y, ++r.height;
  region_.resize(static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height));
  if (first) previous_.assign(w * static_cast<std::size_t>(height), 0);
  for (int y = 0; y < r.height; ++y) {
    const std::size_t at = static_cast<std::size_t>(r.y + y) * w + static_cast<std::size_t>(r.x);
    std::uint32_t* into = &region_[static_cast<std::size_t>(y) * static_cast<std::size_t>(r.width)];
    for (int x = 0; x < r.width; ++x) {
      const std::uint32_t c = pixels[at + static_cast<std::size_t>(x)] & 0xFFFFFFu;
      std::uint32_t& before = previous_[at + static_cast<std::size_t>(x)];
      into[x] = !first && c == before ? 0u : 0xFF000000u | c;
      before = c;
    }
  }
  stored_.push_back({compress(region_.data(), r.width, r.height), r.x, r.y, added_ - 1, added_});
}

void WebpAnimation::finish() {
  if (!open_) return;
  open_ = false;
  if (added_ == 0) {
    // No frame at all (the canvas is 1 x 1): one black pixel, so that the
    // file is a picture.
    const std::uint32_t black = 0;
    encode(&black, 1, 1);
  }
  WebPMux* mux = WebPMuxNew();
  if (mux == nullptr) throw std::runtime_error("libwebp: out of memory");
  WebPMuxAnimParams params{0xFF000000u, 0};  // black background, loops forever
  bool ok = WebPMuxSetCanvasSize(mux, width_, height_) == WEBP_MUX_OK &&
            WebPMuxSetAnimationParams(mux, &params) == WEBP_MUX_OK;
  for (std::size_t k = 0; ok && k < stored_.size(); ++k) {
    const Stored& s = stored_[k];
    WebPMuxFrameInfo frame{};
    frame.bitstream = {s.bitstream.data(), s.bitstream.size()};
    frame.x_offset = s.x;
    frame.y_offset = s.y;
    frame.duration = timestamp(s.end) - timestamp(s.start);
    frame.id = WEBP_CHUNK_ANMF;
    frame.dispose_method = WEBP_MUX_DISPOSE_NONE;
    frame.blend_method = k == 0 ? WEBP_MUX_NO_BLEND : WEBP_MUX_BLEND;
    ok = WebPMuxPushFrame(mux, &frame, 0) == WEBP_MUX_OK;
  }
  WebPData data;
  WebPDataInit(&data);
  ok = ok && WebPMuxAssemble(mux, &data) == WEBP_MUX_OK;
  WebPMuxDelete(mux);
  stored_.clear();
  if (!ok) {
    WebPDataClear(&data);
    throw std::runtime_error("libwebp: cannot assemble the animation");
  }
  try {
    write(data.bytes, data.size);
  } catch (...) {
    WebPDataClear(&data);
    throw;
  }
  WebPDataClear(&data);
}

}  // namespace orv::panel_tool
