// Draws the panel's windows where a ScreenLayout puts them, the same for
// render's pictures and view's window: each open window on its background
// (its bitmap, whose pure black lets what is under it show, else its
// colour), its gauges at their places and sizes on the screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/panel/host.h"
#include "host/panel/screen_layout.h"
#include "host/render/canvas.h"
#include "host/render/render.h"

namespace orv::panel_tool {

// What the screen shows where no window covers it or a window's background
// is transparent: the view outside, as a plain dusk sky over the ground
// (dark, as the head-up display's symbols are drawn to be seen against).
inline constexpr render::Colour kOutsideSky{0.15, 0.21, 0.29};
inline constexpr render::Colour kOutsideGround{0.13, 0.12, 0.10};

class ScreenPainter {
 public:
  // `panel_directory`: where the panel's background bitmaps lie (empty: the
  // built-in panel, whose bitmaps are built into the tool).
  ScreenPainter(const host::Host& host, const host::ScreenLayout& layout, const render::BitmapStore& bitmaps,
                std::string panel_directory);

  // The outside, then the open windows bottom first, into a canvas whose
  // origin is the screen's top left.
  void paint_screen(render::Canvas& canvas);
  // The same, onto a picture that holds what the last update_screen painted
  // on it (a fresh one the first time, `whole` true, or after forget()):
  // when the same windows are open in the same order, only the places
  // where a gauge's element draws differently (render::drawn_elements) are
  // painted again, each as paint_screen paints that part of the screen, so the
  // picture is pixel for pixel what paint_screen would make of it over a
  // picture painted `base`.
  // `base` is painted under the screen, as the picture's own colour.
  void update_screen(render::Canvas& canvas, bool whole, render::Colour base);
  // Window k's background into `r` (its bitmap stretched over it, else,
  // when `fill`, its colour).
  void paint_background(render::Canvas& canvas, std::size_t k, const host::Rect& r, bool fill);
  // Instance i at rectangle r (its size there).
  void paint_instance(render::Canvas& canvas, std::size_t i, const host::Rect& r);
  // Window k's background bitmap (black transparent), or null when it has
  // none or it cannot be read (said once on standard error).
  const render::Image* background(std::size_t k);

 private:
  // The screen within `clip` (screen pixels), as paint_screen paints it,
  // over `base` when given.
  void paint_part(render::Canvas& canvas, const std::vector<std::size_t>& stack, const host::Rect& clip,
                  const render::Colour* base);

  struct Background {
    bool tried = false;
    std::unique_ptr<render::Image> image;
  };
  const host::Host& host_;
  const host::ScreenLayout& layout_;
  const render::BitmapStore& bitmaps_;
  std::string panel_directory_;
  std::vector<Background> backgrounds_;
  // What update_screen last painted: the open windows bottom first and each
  // instance's elements as drawn (none for an instance not on the screen).
  std::vector<std::size_t> painted_stack_;
  std::vector<std::vector<render::DrawnElement>> painted_;
  std::vector<render::DrawnElement> drawn_;
};

// A gauge without elements: a labelled box of w x h.
void paint_placeholder(render::Canvas& canvas, const char* gauge, int w, int h);

}  // namespace orv::panel_tool
