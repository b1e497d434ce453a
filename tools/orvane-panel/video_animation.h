// The flight as a video (native builds with FFmpeg's libraries): `.mp4`
// (H.264) or `.webm` (VP9), lossy, a few times smaller than the GIF. The
// file is made in memory (the MP4 muxer goes back to write its index) and
// written at the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "animation.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVIOContext;
struct AVStream;
struct SwsContext;

namespace orv::panel_tool {

class VideoAnimation : public Animation {
 public:
  VideoAnimation(const std::string& path, double frames_per_second, double scale, bool webm);
  ~VideoAnimation() override;

  // The output file in memory, at a position, for the muxer.
  struct Memory {
    std::vector<std::uint8_t> bytes;
    std::size_t at = 0;
  };

 private:
  void begin(int width, int height) override;
  void encode(const std::uint32_t* pixels, int width, int height) override;
  void finish() override;
  // Sends `frame` (null: the end) to the encoder and the packets it gives
  // to the muxer.
  void send(AVFrame* frame);
  void release();

  bool webm_;
  bool open_ = false;
  long long next_ = 0;  // the next frame's number
  Memory memory_;
  AVFormatContext* format_ = nullptr;
  AVIOContext* io_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  AVStream* stream_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  SwsContext* convert_ = nullptr;
  std::vector<std::uint32_t> padded_;  // the frame at even width and height
};

}  // namespace orv::panel_tool
