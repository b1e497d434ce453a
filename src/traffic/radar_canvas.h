// The drawing back end of the traffic picture: GDI+ on Windows, Cairo
// elsewhere. The radar display draws through these few operations only, so
// both builds draw one picture from one routine.
//
// The "graphics object" is the back end's drawing context bound to a
// surface's device context: a GDI+ Graphics on the window's HDC, or a Cairo
// context of its own on the target of the host's cairo_t. Coordinates are the
// display's design units; the set-up's world transform maps them onto pixels.
// Callers never pass a non-finite coordinate (the display checks first).
#pragma once

#include <cstdint>

namespace orv::traffic::canvas {

struct Colour {
  std::uint8_t a, r, g, b;
};

// Starts the drawing library (GDI+ start-up, input version 1); returns its
// token, 0 when it did not start or the back end needs none.
std::uintptr_t start_library();
void stop_library(std::uintptr_t token);

// A graphics object on a device context, or null.
void* create_graphics(void* device_context);
void delete_graphics(void* graphics);

// Scales the world by (sx, sy), turns on anti-aliasing for lines and text,
// moves the origin to (hw, hh) and clips to the ellipse that fills the
// 2hw x 2hh design square.
void set_up_space(void* graphics, double sx, double sy, double hw, double hh);

// True when drawing the last picture drawn through `graphics` once more
// would leave every pixel of its surface as it is.
bool repeats_exactly(void* graphics);

// One picture's drawing: holds the text font from construction to
// destruction. Pens are `width` design units wide.
class Picture {
 public:
  explicit Picture(void* graphics);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  void fill_rect(Colour c, double x, double y, double w, double h);
  void ellipse(Colour c, double width, double x, double y, double w, double h);
  void line(Colour c, double width, double x1, double y1, double x2, double y2);
  // ASCII text whose layout box has its top-left corner at (x, y).
  void text(Colour c, const char* text, double x, double y);

 private:
  void* graphics_;
  void* font_ = nullptr;
  void* family_ = nullptr;
};

}  // namespace orv::traffic::canvas
