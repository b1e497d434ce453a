#include "video_animation.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace orv::panel_tool {

namespace {

constexpr int kBuffer = 1 << 16;

[[noreturn]] void fail(const char* what, int error = 0) {
  char text[AV_ERROR_MAX_STRING_SIZE] = "";
  if (error != 0) av_strerror(error, text, sizeof text);
  throw std::runtime_error(std::string("video: ") + what + (error != 0 ? std::string(": ") + text : ""));
}

int write_memory(void* opaque, std::uint8_t* data, int size) {
  auto& m = *static_cast<VideoAnimation::Memory*>(opaque);
  if (m.at + static_cast<std::size_t>(size) > m.bytes.size())
    m.bytes.resize(m.at + static_cast<std::size_t>(size));
  std::memcpy(m.bytes.data() + m.at, data, static_cast<std::size_t>(size));
  m.at += static_cast<std::size_t>(size);
  return size;
}

std::int64_t seek_memory(void* opaque, std::int64_t offset, int whence) {
  auto& m = *static_cast<VideoAnimation::Memory*>(opaque);
  if (whence == AVSEEK_SIZE) return static_cast<std::int64_t>(m.bytes.size());
  const std::int64_t base = whence == SEEK_CUR   ? static_cast<std::int64_t>(m.at)
                            : whence == SEEK_END ? static_cast<std::int64_t>(m.bytes.size())
                                                 : 0;
  if (base + offset < 0) return -1;
  m.at = static_cast<std::size_t>(base + offset);
  return base + offset;
}

}  // namespace

VideoAnimation::VideoAnimation(const std::string& path, double frames_per_second, double scale, bool webm)
    : Animation(path, frames_per_second, scale), webm_(webm) {}

VideoAnimation::~VideoAnimation() {
  // Cut short: the frames so far make the video.
  try {
    finish();
  } catch (const std::exception&) {
  }
  release();
}

void VideoAnimation::release() {
  sws_freeContext(std::exchange(convert_, nullptr));
  av_packet_free(&packet_);
  av_frame_free(&frame_);
  avcodec_free_context(&codec_);
  if (format_ != nullptr) avformat_free_context(std::exchange(format_, nullptr));
  if (io_ != nullptr) {
    av_freep(&io_->buffer);
    avio_context_free(&io_);
  }
}

void VideoAnimation::begin(int width, int height) {
  av_log_set_level(AV_LOG_ERROR);  // no encoder statistics on standard error
  // 4:2:0 chroma needs an even size: the frame is padded with black.
  const int w = (width + 1) & ~1, h = (height + 1) & ~1;
  const AVCodec* codec = avcodec_find_encoder_by_name(webm_ ? "libvpx-vp9" : "libx264");
  if (codec == nullptr) fail(webm_ ? "no VP9 encoder (libvpx-vp9)" : "no H.264 encoder (libx264)");
  if (avformat_alloc_output_context2(&format_, nullptr, webm_ ? "webm" : "mp4", nullptr) < 0 ||
      format_ == nullptr)
    fail("cannot make the container");
  auto* buffer = static_cast<unsigned char*>(av_malloc(kBuffer));
  io_ = avio_alloc_context(buffer, kBuffer, 1, &memory_, nullptr, write_memory, seek_memory);
  if (io_ == nullptr) fail("out of memory");
  format_->pb = io_;
  stream_ = avformat_new_stream(format_, nullptr);
  codec_ = avcodec_alloc_context3(codec);
  frame_ = av_frame_alloc();
  packet_ = av_packet_alloc();
  if (stream_ == nullptr || codec_ == nullptr || frame_ == nullptr || packet_ == nullptr)
    fail("out of memory");
  codec_->width = w;
  codec_->height = h;
  codec_->pix_fmt = AV_PIX_FMT_YUV420P;
  // What the colour conversion writes, said in the stream so that players
  // do not take a picture of this size for BT.709: BT.601 at video range,
  // of sRGB.
  codec_->colorspace = AVCOL_SPC_SMPTE170M;
  codec_->color_range = AVCOL_RANGE_MPEG;
  codec_->color_primaries = AVCOL_PRI_BT709;
  codec_->color_trc = AVCOL_TRC_IEC61966_2_1;
  codec_->time_base = av_d2q(1.0 / frames_per_second(), 100000);
  codec_->framerate = av_d2q(frames_per_second(), 100000);
  // A key frame every 100 s: the screen changes little from frame to frame,
  // and each key frame of it costs as much as some 40 other frames (every
  // 10 s made the built-in flight 3.04 MB, every 100 s 2.23 MB, tuned for
  // animation).
  codec_->gop_size = static_cast<int>(100 * frames_per_second());
  if (format_->oformat->flags & AVFMT_GLOBALHEADER) codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  // Quality and speed as measured on the built-in flight (docs/performance.md):
  // H.264 at the "veryfast" preset and quality 30, with the plainest motion
  // search (diamond, one sub-pixel step: 2.1 MB instead of 2.0, and 15 %
  // less time; "superfast": over twice the size for 10 % less time;
  // "faster": 25 % more time for no gain; tuned for animation, with its
  // second reference frame: 2.2 MB and 5 % more time; without B-frames:
  // 2.5 MB, 10 % less time).
  if (webm_) {
    av_opt_set(codec_->priv_data, "deadline", "realtime", 0);
    av_opt_set(codec_->priv_data, "cpu-used", "8", 0);
    av_opt_set(codec_->priv_data, "crf", "44", 0);
    codec_->bit_rate = 0;
  } else {
    av_opt_set(codec_->priv_data, "preset", "veryfast", 0);
    av_opt_set(codec_->priv_data, "crf", "30", 0);
    av_opt_set(codec_->priv_data, "x264-params", "me=dia:subme=1", 0);
  }
  codec_->thread_count = 1;
  if (int e = avcodec_open2(codec_, codec, nullptr); e < 0) fail("cannot open the encoder", e);
  if (int e = avcodec_parameters_from_context(stream_->codecpar, codec_); e < 0) fail("bad parameters", e);
  stream_->time_base = codec_->time_base;
  if (int e = avformat_write_header(format_, nullptr); e < 0) fail("cannot write the header", e);
  frame_->format = AV_PIX_FMT_YUV420P;
  frame_->width = w;
  frame_->height = h;
  if (int e = av_frame_get_buffer(frame_, 0); e < 0) fail("out of memory", e);
  convert_ =
      sws_getContext(w, h, AV_PIX_FMT_BGR0, w, h, AV_PIX_FMT_YUV420P, SWS_POINT, nullptr, nullptr, nullptr);
  if (convert_ == nullptr) fail("no colour conversion");
  padded_.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
  open_ = true;
}

void VideoAnimation::encode(const std::uint32_t* pixels, int width, int height) {
  const int w = codec_->width;
  // An odd side is padded with black (a copy); an even frame is read as it is.
  const bool padded = width != w || height != codec_->height;
  for (int y = 0; padded && y < height; ++y)
    std::memcpy(&padded_[static_cast<std::size_t>(y) * static_cast<std::size_t>(w)],
                pixels + static_cast<std::ptrdiff_t>(y) * width, static_cast<std::size_t>(width) * 4);
  if (int e = av_frame_make_writable(frame_); e < 0) fail("out of memory", e);
  const auto* source = reinterpret_cast<const std::uint8_t*>(padded ? padded_.data() : pixels);
  const int stride = 4 * w;
  sws_scale(convert_, &source, &stride, 0, codec_->height, frame_->data, frame_->linesize);
  frame_->pts = next_++;
  send(frame_);
}

void VideoAnimation::send(AVFrame* frame) {
  if (int e = avcodec_send_frame(codec_, frame); e < 0) fail("cannot encode", e);
  for (;;) {
    const int e = avcodec_receive_packet(codec_, packet_);
    if (e == AVERROR(EAGAIN) || e == AVERROR_EOF) return;
    if (e < 0) fail("cannot encode", e);
    av_packet_rescale_ts(packet_, codec_->time_base, stream_->time_base);
    packet_->stream_index = stream_->index;
    const int w = av_interleaved_write_frame(format_, packet_);
    if (w < 0) fail("cannot write", w);
  }
}

void VideoAnimation::finish() {
  if (!open_) return;
  open_ = false;
  if (next_ == 0) {
    const std::uint32_t black = 0;
    encode(&black, 1, 1);
  }
  send(nullptr);
  if (int e = av_write_trailer(format_); e < 0) fail("cannot finish the file", e);
  avio_flush(io_);
  write(memory_.bytes.data(), memory_.bytes.size());
  memory_ = {};
}

}  // namespace orv::panel_tool
