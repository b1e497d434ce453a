// The flight as moving pictures for orvane-panel render: one animated GIF
// written frame by frame (builds with giflib and Cairo), and the progress
// line of a long run.
#pragma once

#include <memory>
#include <string>

#if defined(ORV_HAVE_GIF)
#include <cairo.h>
#endif

namespace orv::panel_tool {

#if defined(ORV_HAVE_GIF)
// An animated GIF that loops forever, every frame shown for the same time.
// Frames may differ in size (a cockpit sheet grows when a window opens); each
// is drawn at the top left of a canvas of the first frame's size, on black.
// Each frame gets its own palette of at most 256 colours, chosen by median
// cut from the frame's pixels.
class GifAnimation {
 public:
  // Opens `path`; throws HostError (unreadable) when it cannot be written.
  GifAnimation(const std::string& path, double frames_per_second, double scale);
  ~GifAnimation();
  GifAnimation(const GifAnimation&) = delete;
  GifAnimation& operator=(const GifAnimation&) = delete;

  void add(cairo_surface_t* frame);
  // Finishes the file; throws HostError when the last bytes cannot be written.
  void close();
  int frames() const { return frames_; }

 private:
  struct File;
  std::unique_ptr<File> file_;
  std::string path_;
  int delay_cs_;
  double scale_;
  int width_ = 0, height_ = 0, frames_ = 0;
};
#endif

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
