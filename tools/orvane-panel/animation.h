// The flight as moving pictures for orvane-panel render: an animation file
// written frame by frame (GIF, or natively also lossless WebP), and the
// progress line of a long run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gif_writer.h"
#include "host/load/output_file.h"
#include "host/render/canvas.h"

namespace orv::panel_tool {

// An animation file that loops forever, every frame shown for the same time,
// written from a sequence of whole frames; each format's encoder stores only
// what changed from one frame to the next. Frames may differ in size (a
// cockpit sheet grows when a window opens); each is drawn at the top left of
// a canvas of the first frame's size, on black, scaled by `scale`.
class Animation {
 public:
  virtual ~Animation();
  Animation(const Animation&) = delete;
  Animation& operator=(const Animation&) = delete;

  // The animation for `path` by its extension: `.gif` everywhere (its
  // pixels within `gif_loss` of their colours, see GifWriter), `.webp`
  // (lossless) where the build has libwebp. Throws HostError (usage) for
  // another extension, (unreadable) when the file cannot be written.
  static std::unique_ptr<Animation> open(const std::string& path, double frames_per_second, double scale,
                                         int gif_loss = kDefaultGifLoss);
  // Whether open() takes the extension of `path` in this build, and those
  // it takes, for messages (".gif" or ".gif or .webp").
  static bool supported(const std::string& path);
  static const char* formats();

  // A frame of `height` rows of `width` native-endian 32-bit words, 0xFFRRGGBB
  // or premultiplied 0xAARRGGBB (seen on black), `stride` bytes apart.
  void add(const unsigned char* rows, int width, int height, int stride);
  // A picture of the host's canvas (rgb or argb).
  void add(render::Image& frame);
  // Finishes the file; throws HostError when the last bytes cannot be written.
  void close();
  int frames() const { return frames_; }

 protected:
  // Opens `path` (creating its folder) as a temporary file beside it that
  // close() renames onto it; dropped without close(), no file is left unless
  // a signal stopped the run after some frames (they become a whole, shorter
  // file). Throws HostError (unreadable).
  Animation(const std::string& path, double frames_per_second, double scale);
  // The first frame's canvas size is known: `width` x `height`.
  virtual void begin(int width, int height) = 0;
  // One whole frame of the canvas, 0x..RRGGBB (the top byte ignored).
  virtual void encode(const std::uint32_t* pixels, int width, int height) = 0;
  // After the last frame (none when frames() is 0).
  virtual void finish() = 0;
  // Appends to the file; throws HostError when it cannot.
  void write(const unsigned char* bytes, std::size_t size);
  double frames_per_second() const { return frames_per_second_; }

 private:
  void scale_into_canvas(const unsigned char* rows, int width, int height, int stride);

  std::optional<host::OutputFile> file_;  // a temporary file until close()
  std::string path_;
  double frames_per_second_;
  double scale_;
  int width_ = 0, height_ = 0, frames_ = 0;
  std::vector<std::uint32_t> canvas_;
  std::vector<float> sums_;
};

// An animated GIF (our own encoder, GifWriter): after the first frame, each
// frame is the rectangle that changed, with the pixels in it that did not
// change transparent; each frame gets its own palette of at most 256 colours.
// `loss`: how far a pixel may be shown from its colour (GifWriter).
class GifAnimation : public Animation {
 public:
  GifAnimation(const std::string& path, double frames_per_second, double scale, int loss = kDefaultGifLoss);
  ~GifAnimation() override;

 private:
  void begin(int width, int height) override;
  void encode(const std::uint32_t* pixels, int width, int height) override;
  void finish() override;

  int delay_cs_;
  bool open_ = false;  // the header written, the trailer not
  std::vector<unsigned char> bytes_;
  GifWriter writer_;
};

// The progress of `count` of `total`: "render: frame 12/198 (6%)", or with a
// bar of `bar_width` characters, "render: frame  12/198 [##....] 6%".
std::string progress_line(const std::string& what, long count, long total, int bar_width = 0);

// The progress on standard error: a bar rewritten in place on a terminal,
// else one line per tenth of the run.
class Progress {
 public:
  // `lines`: whether a run whose standard error is not a terminal reports.
  Progress(std::string what, long total, bool lines = true);
  void step();
  void done();

 private:
  std::string what_;
  long total_, count_ = 0;
  int last_tenth_ = -1;
  bool terminal_;
  bool lines_;
};

}  // namespace orv::panel_tool
