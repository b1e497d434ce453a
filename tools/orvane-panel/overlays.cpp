#include "overlays.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/load/windows_text.h"
#include "probe.h"

namespace orv::panel_tool {
namespace {

// The arrow cursor's height: the box starts under it.
constexpr double kCursorHeight = 20.0;
constexpr double kPadX = 4.0, kPadY = 2.0, kFontSize = 12.0;

void label_at(render::Canvas& canvas, double x, double y, const std::string& text) {
  canvas.set_label_font(9.0, true);
  canvas.fill_rect(x, y, canvas.text_advance(text.c_str()) + 4.0, 11.0, {0.0, 0.0, 0.0, 0.7});
  canvas.show_text(x + 2.0, y + 9.0, text.c_str(), {1.0, 1.0, 1.0});
}

}  // namespace

Box tooltip_box(double px, double py, double w, double h, int picture_w, int picture_h) {
  Box b{px, py + kCursorHeight, w, h};
  if (b.x + w > picture_w) b.x = picture_w - w;
  if (b.y + h > picture_h) b.y = py - h - 2.0;
  b.x = std::max(0.0, b.x);
  b.y = std::max(0.0, b.y);
  return b;
}

void draw_tooltip(render::Canvas& canvas, double px, double py, const std::string& text, int picture_w,
                  int picture_h) {
  if (text.empty()) return;
  const std::string utf8 = host::utf8_from_windows_1252(text);
  canvas.save();
  canvas.set_label_font(kFontSize, false);
  const render::FontExtents fe = canvas.font_extents();
  const double advance = canvas.text_advance(utf8.c_str());
  const Box b = tooltip_box(px, py, std::ceil(advance) + 2 * kPadX, std::ceil(fe.height) + 2 * kPadY,
                            picture_w, picture_h);
  canvas.fill_rect(b.x + 0.5, b.y + 0.5, b.w - 1.0, b.h - 1.0, {1.0, 1.0, 0xE1 / 255.0});
  canvas.stroke_rect(b.x + 0.5, b.y + 0.5, b.w - 1.0, b.h - 1.0, {0x76 / 255.0, 0x76 / 255.0, 0x76 / 255.0},
                     1.0);
  canvas.show_text(b.x + kPadX, b.y + kPadY + fe.ascent, utf8.c_str(), {0.0, 0.0, 0.0});
  canvas.restore();
}

std::string mouse_area_label(const abi::MouseRect& rect) {
  std::string label = rect.kind == abi::kMouseBox ? "box" : rect.kind == abi::kMouseTooltip ? "tip" : "area";
  if (rect.cursor >= 0) label += " c" + std::to_string(rect.cursor);
  if (rect.kind == abi::kMouseBox) {
    std::string buttons;
    if (rect.flags & abi::kMouseLeftSingle) buttons += "L";
    if (rect.flags & abi::kMouseRightSingle) buttons += "R";
    if (rect.flags & abi::kMouseMove) buttons += "M";
    if (!buttons.empty()) label += " " + buttons;
  }
  return label;
}

void draw_mouse_areas(render::Canvas& canvas, const host::PlacedInstance& p) {
  const std::vector<MouseRecord> records = placed_mouse_records(p);
  canvas.save();
  for (const MouseRecord& r : records) {
    const auto kind = r.rect->kind;
    const double x = r.x + 0.5, y = r.y + 0.5, w = std::max(0, r.w - 1), h = std::max(0, r.h - 1);
    if (kind == abi::kMouseBox) {
      canvas.fill_rect(x, y, w, h, {1.0, 0.55, 0.0, 0.18});
      canvas.stroke_rect(x, y, w, h, {1.0, 0.55, 0.0}, 1.0);
    } else {
      const double dash[] = {kind == abi::kMouseTooltip ? 1.5 : 4.0, 2.0};
      canvas.stroke_rect(
          x, y, w, h,
          kind == abi::kMouseTooltip ? render::Colour{1.0, 0.9, 0.2} : render::Colour{0.2, 0.85, 1.0}, 1.0,
          dash, 2);
    }
  }
  // Labels after the outlines, so none is crossed by a later line; records
  // that share a corner stack their labels downwards.
  std::vector<std::pair<int, int>> used;
  for (const MouseRecord& r : records) {
    double y = r.y + 1.0;
    for (const auto& [ux, uy] : used)
      if (ux == r.x && uy == r.y) y += 11.0;
    used.emplace_back(r.x, r.y);
    label_at(canvas, r.x + 1.0, y, mouse_area_label(*r.rect));
  }
  canvas.restore();
}

}  // namespace orv::panel_tool
