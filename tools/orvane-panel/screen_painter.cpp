#include "screen_painter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

#include "host/panel/bmp_image.h"
#include "panel_art.h"

namespace orv::panel_tool {

using namespace orv::host;
using render::Canvas;
using render::Image;

ScreenPainter::ScreenPainter(const Host& host, const ScreenLayout& layout, const render::BitmapStore& bitmaps,
                             std::string panel_directory)
    : host_(host), layout_(layout), bitmaps_(bitmaps), panel_directory_(std::move(panel_directory)) {}

const Image* ScreenPainter::background(std::size_t k) {
  if (backgrounds_.size() != host_.windows().size()) backgrounds_.resize(host_.windows().size());
  Background& b = backgrounds_[k];
  if (b.tried) return b.image.get();
  b.tried = true;
  const PanelWindow& w = host_.windows()[k];
  if (w.background_file.empty()) return nullptr;
  // The panel's folder first; the built-in panel's own bitmaps (also when
  // its panel.cfg is read from data/panels/default, which holds none).
  BmpResult bmp{std::nullopt, "is not a file of the built-in panel"};
  if (!panel_directory_.empty()) bmp = read_bmp_file(panel_directory_ + "/" + w.background_file);
  if (!bmp.image) {
    const std::string_view built_in = built_in_panel_file(w.background_file);
    if (!built_in.empty()) bmp = decode_bmp(built_in);
  }
  if (!bmp.image) {
    std::fprintf(stderr, "orvane-panel: warning: background %s of [%s%02d] %s; drawn without it\n",
                 w.background_file.c_str(), w.virtual_cockpit ? "Vcockpit" : "Window", w.index,
                 bmp.error.c_str());
    return nullptr;
  }
  auto image = std::make_unique<Image>(bmp.image->width, bmp.image->height, render::PixelFormat::argb);
  if (!image->valid()) return nullptr;
  image->flush();
  const auto width = static_cast<std::size_t>(bmp.image->width);
  for (int y = 0; y < bmp.image->height; ++y) {
    auto* row =
        reinterpret_cast<std::uint32_t*>(image->data() + static_cast<std::ptrdiff_t>(y) * image->stride());
    const std::uint32_t* in = &bmp.image->pixels[static_cast<std::size_t>(y) * width];
    // Pure black is the panel's transparent colour.
    for (std::size_t x = 0; x < width; ++x) row[x] = (in[x] & 0xFFFFFFu) == 0 ? 0u : in[x];
  }
  image->changed();
  b.image = std::move(image);
  return b.image.get();
}

void ScreenPainter::paint_background(Canvas& canvas, std::size_t k, const Rect& r, bool fill) {
  const Image* image = background(k);
  canvas.save();
  canvas.clip(r.x, r.y, r.width, r.height);
  if (image == nullptr && fill) canvas.paint(render::colour_of_bgr(host_.windows()[k].background_colour));
  if (image != nullptr) {
    canvas.translate(r.x, r.y);
    canvas.scale(static_cast<double>(r.width) / image->width(),
                 static_cast<double>(r.height) / image->height());
    canvas.draw_image(*image, 0, 0);
  }
  canvas.restore();
}

void paint_placeholder(Canvas& canvas, const char* gauge, int w, int h) {
  canvas.fill_rect(0.5, 0.5, w - 1.0, h - 1.0, {0.16, 0.17, 0.19});
  canvas.stroke_rect(0.5, 0.5, w - 1.0, h - 1.0, {0.45, 0.47, 0.5}, 1.0);
  const double size = std::clamp(w / 18.0, 7.0, 14.0);
  canvas.set_label_font(size, false);
  canvas.show_text(6, 6 + size, gauge, {0.7, 0.72, 0.75});
  canvas.set_label_font(size * 0.85, false);
  canvas.show_text(6, 8 + 2.2 * size, "(no elements)", {0.7, 0.72, 0.75});
}

void ScreenPainter::paint_instance(Canvas& canvas, std::size_t i, const Rect& r) {
  const GaugeInstance& g = *host_.instances()[i].gauge;
  canvas.save();
  canvas.translate(r.x, r.y);
  if (g.elements().empty()) {
    paint_placeholder(canvas, g.name(), r.width, r.height);
  } else {
    render::render_gauge(canvas, g, r.width, r.height, bitmaps_);
  }
  canvas.restore();
}

namespace {

Rect intersection(const Rect& a, const Rect& b) {
  const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
  const int x1 = std::min(a.x + a.width, b.x + b.width), y1 = std::min(a.y + a.height, b.y + b.height);
  return x1 > x0 && y1 > y0 ? Rect{x0, y0, x1 - x0, y1 - y0} : Rect{};
}

bool empty(const Rect& r) { return r.width <= 0 || r.height <= 0; }

// Adds `r` to the rectangles to paint again, joined with one it overlaps or
// touches (repeatedly, as the joined one grows); at most `most` are kept,
// else all become their bounding box.
void add_rect(std::vector<Rect>& rects, Rect r, std::size_t most) {
  if (empty(r)) return;
  for (std::size_t j = 0; j < rects.size();) {
    const Rect& o = rects[j];
    if (o.x <= r.x + r.width && r.x <= o.x + o.width && o.y <= r.y + r.height && r.y <= o.y + o.height) {
      const int x0 = std::min(o.x, r.x), y0 = std::min(o.y, r.y);
      const int x1 = std::max(o.x + o.width, r.x + r.width), y1 = std::max(o.y + o.height, r.y + r.height);
      r = {x0, y0, x1 - x0, y1 - y0};
      rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
      j = 0;
    } else {
      ++j;
    }
  }
  rects.push_back(r);
  if (rects.size() > most) {
    Rect all = rects[0];
    rects.erase(rects.begin());
    for (const Rect& o : rects) {
      const int x0 = std::min(o.x, all.x), y0 = std::min(o.y, all.y);
      const int x1 = std::max(o.x + o.width, all.x + all.width),
                y1 = std::max(o.y + o.height, all.y + all.height);
      all = {x0, y0, x1 - x0, y1 - y0};
    }
    rects.assign(1, all);
  }
}

}  // namespace

void ScreenPainter::paint_screen(Canvas& canvas) {
  const ScreenSize screen = layout_.screen();
  paint_part(canvas, layout_.stack(host_.state()), {0, 0, screen.width, screen.height}, nullptr);
}

// Everything that reaches into `clip` is drawn with the calls paint_screen
// makes; what lies wholly outside it would draw nothing there and is left
// out.
void ScreenPainter::paint_part(Canvas& canvas, const std::vector<std::size_t>& stack, const Rect& clip,
                               const render::Colour* base) {
  const ScreenSize screen = layout_.screen();
  canvas.save();
  canvas.clip(clip.x, clip.y, clip.width, clip.height);
  if (base != nullptr) canvas.paint(*base);
  canvas.fill_rect(0, 0, screen.width, screen.height / 2.0, kOutsideSky);
  canvas.fill_rect(0, screen.height / 2.0, screen.width, screen.height - screen.height / 2.0, kOutsideGround);
  for (const std::size_t k : stack) {
    const Rect& r = layout_.window_rect(k);
    if (empty(intersection(r, clip))) continue;
    paint_background(canvas, k, r, true);
    canvas.save();
    canvas.clip(r.x, r.y, r.width, r.height);
    for (std::size_t i = 0; i < host_.instances().size(); ++i)
      if (layout_.window_of(i) == k && !empty(intersection(layout_.instance_rect(i), clip)))
        paint_instance(canvas, i, layout_.instance_rect(i));
    canvas.restore();
  }
  canvas.restore();
}

void ScreenPainter::update_screen(Canvas& canvas, bool whole, render::Colour base) {
  const ScreenSize screen = layout_.screen();
  const Rect all{0, 0, screen.width, screen.height};
  const std::vector<std::size_t> stack = layout_.stack(host_.state());
  const std::size_t n = host_.instances().size();
  whole = whole || stack != painted_stack_ || painted_.size() != n;
  painted_.resize(n);
  // The screen rectangles where an element of an instance in an open window
  // draws differently (where it was and where it is); every instance's
  // elements kept for the next frame.
  std::vector<Rect> changed;
  std::vector<render::DrawnElement>& now = drawn_;
  for (std::size_t i = 0; i < n; ++i) {
    const std::optional<std::size_t> k = layout_.window_of(i);
    const bool open = k && std::find(stack.begin(), stack.end(), *k) != stack.end();
    const Rect& r = layout_.instance_rect(i);
    now.clear();
    const GaugeInstance& g = *host_.instances()[i].gauge;
    if (open && g.elements().empty()) now.push_back({1, 0, 0, r.width, r.height});  // the placeholder
    if (open && !g.elements().empty()) render::drawn_elements(g, r.width, r.height, bitmaps_, now);
    std::vector<render::DrawnElement>& before = painted_[i];
    if (!whole && open) {
      const Rect visible = intersection(intersection(r, layout_.window_rect(*k)), all);
      auto mark = [&](const render::DrawnElement& e) {
        add_rect(changed, intersection({r.x + e.x, r.y + e.y, e.width, e.height}, visible), 16);
      };
      if (before.size() != now.size()) {
        add_rect(changed, visible, 16);
      } else {
        for (std::size_t j = 0; j < now.size(); ++j) {
          const render::DrawnElement &a = before[j], &b = now[j];
          if (a.digest == b.digest && a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height)
            continue;
          mark(a);
          mark(b);
        }
      }
    }
    before.swap(now);
  }
  painted_stack_ = stack;
  if (whole) {
    paint_part(canvas, stack, all, &base);
    return;
  }
  for (const Rect& r : changed) paint_part(canvas, stack, r, &base);
}

}  // namespace orv::panel_tool
