// The flight as moving pictures for orvane-panel render: one animated GIF
// written frame by frame, and the progress line of a long run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gif_writer.h"
#include "host/render/canvas.h"
#include "output_file.h"

namespace orv::panel_tool {

// An animated GIF that loops forever, every frame shown for the same time.
// Frames may differ in size (a cockpit sheet grows when a window opens); each
// is drawn at the top left of a canvas of the first frame's size, on black.
// Each frame gets its own palette of at most 256 colours (see GifWriter).
class GifAnimation {
 public:
  // Opens `path` (a temporary file renamed onto it by close(); dropped
  // without a close(), the animation leaves no file unless a signal stopped
  // the run, when the frames so far become a whole GIF); throws HostError
  // (unreadable) when it cannot be written.
  // Frames are drawn at `scale` (0 to 1) of their size.
  GifAnimation(const std::string& path, double frames_per_second, double scale);
  ~GifAnimation();
  GifAnimation(const GifAnimation&) = delete;
  GifAnimation& operator=(const GifAnimation&) = delete;

  // A frame of `height` rows of `width` native-endian 32-bit words, 0xFFRRGGBB
  // or premultiplied 0xAARRGGBB (seen on black), `stride` bytes apart.
  void add(const unsigned char* rows, int width, int height, int stride);
  // A picture of the host's canvas (rgb or argb).
  void add(render::Image& frame);
  // Finishes the file; throws HostError when the last bytes cannot be written.
  void close();
  int frames() const { return frames_; }

 private:
  void scale_into_canvas(const unsigned char* rows, int width, int height, int stride);
  void write();

  std::optional<host::OutputFile> file_;
  std::string path_;
  int delay_cs_;
  double scale_;
  int width_ = 0, height_ = 0, frames_ = 0;
  std::vector<std::uint32_t> canvas_;
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
