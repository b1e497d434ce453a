#include "overlays.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "probe.h"

namespace orv::panel_tool {
namespace {

// The arrow cursor's height: the box starts under it.
constexpr double kCursorHeight = 20.0;
constexpr double kPadX = 4.0, kPadY = 2.0, kFontSize = 12.0;

// Windows-1252 to UTF-8: A0 to FF are the Latin-1 code points; the few
// typographic marks of 80 to 9F show as '?'.
std::string utf8_from_1252(const std::string& text) {
  std::string out;
  for (const unsigned char c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0xA0) {
      out += '?';
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

void label_at(cairo_t* cr, double x, double y, const std::string& text) {
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 9.0);
  cairo_text_extents_t te;
  cairo_text_extents(cr, text.c_str(), &te);
  cairo_rectangle(cr, x, y, te.x_advance + 4.0, 11.0);
  cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.7);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_move_to(cr, x + 2.0, y + 9.0);
  cairo_show_text(cr, text.c_str());
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

void draw_tooltip(cairo_t* cr, double px, double py, const std::string& text, int picture_w, int picture_h) {
  if (text.empty()) return;
  const std::string utf8 = utf8_from_1252(text);
  cairo_save(cr);
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, kFontSize);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_text_extents_t te;
  cairo_text_extents(cr, utf8.c_str(), &te);
  const Box b = tooltip_box(px, py, std::ceil(te.x_advance) + 2 * kPadX, std::ceil(fe.height) + 2 * kPadY,
                            picture_w, picture_h);
  cairo_rectangle(cr, b.x + 0.5, b.y + 0.5, b.w - 1.0, b.h - 1.0);
  cairo_set_source_rgb(cr, 1.0, 1.0, 0xE1 / 255.0);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0x76 / 255.0, 0x76 / 255.0, 0x76 / 255.0);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
  cairo_move_to(cr, b.x + kPadX, b.y + kPadY + fe.ascent);
  cairo_show_text(cr, utf8.c_str());
  cairo_restore(cr);
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

void draw_mouse_areas(cairo_t* cr, const host::PlacedInstance& p) {
  const std::vector<MouseRecord> records = placed_mouse_records(p);
  cairo_save(cr);
  cairo_set_line_width(cr, 1.0);
  for (const MouseRecord& r : records) {
    const auto kind = r.rect->kind;
    cairo_rectangle(cr, r.x + 0.5, r.y + 0.5, std::max(0, r.w - 1), std::max(0, r.h - 1));
    if (kind == abi::kMouseBox) {
      cairo_set_dash(cr, nullptr, 0, 0.0);
      cairo_set_source_rgba(cr, 1.0, 0.55, 0.0, 0.18);
      cairo_fill_preserve(cr);
      cairo_set_source_rgb(cr, 1.0, 0.55, 0.0);
    } else {
      const double dash[] = {kind == abi::kMouseTooltip ? 1.5 : 4.0, 2.0};
      cairo_set_dash(cr, dash, 2, 0.0);
      if (kind == abi::kMouseTooltip)
        cairo_set_source_rgb(cr, 1.0, 0.9, 0.2);
      else
        cairo_set_source_rgb(cr, 0.2, 0.85, 1.0);
    }
    cairo_stroke(cr);
  }
  cairo_set_dash(cr, nullptr, 0, 0.0);
  // Labels after the outlines, so none is crossed by a later line; records
  // that share a corner stack their labels downwards.
  std::vector<std::pair<int, int>> used;
  for (const MouseRecord& r : records) {
    double y = r.y + 1.0;
    for (const auto& [ux, uy] : used)
      if (ux == r.x && uy == r.y) y += 11.0;
    used.emplace_back(r.x, r.y);
    label_at(cr, r.x + 1.0, y, mouse_area_label(*r.rect));
  }
  cairo_restore(cr);
}

}  // namespace orv::panel_tool
