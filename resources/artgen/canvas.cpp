#include "artgen/canvas.h"

#include <algorithm>
#include <cmath>

#include "artgen/bytes.h"

namespace orv::art {
namespace {

constexpr double kPi = 3.14159265358979323846;

const char* family(Font f) {
  switch (f) {
    case kSans:
    case kSansBold:
      return "Liberation Sans";
    case kNarrow:
    case kNarrowBold:
      return "Liberation Sans Narrow";
    case kMono:
      return "Liberation Mono";
    case kSeg:
      return "DSEG7 Classic";
  }
  return "Liberation Sans";
}

bool bold(Font f) { return f == kSansBold || f == kNarrowBold || f == kSeg; }

void select_font(cairo_t* cr, Font f, double px) {
  cairo_select_font_face(cr, family(f), CAIRO_FONT_SLANT_NORMAL,
                         bold(f) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, px);
  // Outline rendering without hinting: the same bytes on every run.
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, o);
  cairo_font_options_destroy(o);
}

}  // namespace

Rgb hud_colour(int index) {
  static constexpr Rgb kColours[4] = {{8, 245, 57}, {0, 158, 29}, {1, 87, 17}, {255, 0, 0}};
  return kColours[index & 3];
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
      cr_(cairo_create(surface_)) {
  colour(cr_, fill);
  cairo_paint(cr_);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

namespace {

// The BITMAPFILEHEADER and BITMAPINFOHEADER of a bottom-up uncompressed
// bitmap whose pixels start `offset` bytes into the file.
void put_headers(std::vector<std::uint8_t>& v, int width, int height, unsigned bits, unsigned colours,
                 unsigned offset, unsigned image) {
  v.push_back('B');
  v.push_back('M');
  put_u32(v, offset + image);
  put_u32(v, 0);
  put_u32(v, offset);
  put_u32(v, 40);
  put_u32(v, static_cast<unsigned>(width));
  put_u32(v, static_cast<unsigned>(height));
  put_u16(v, 1);
  put_u16(v, bits);
  put_u32(v, 0);  // uncompressed
  put_u32(v, image);
  put_u32(v, 2835);  // 72 dots per inch
  put_u32(v, 2835);
  put_u32(v, colours);  // palette entries (0 for 24 bits)
  put_u32(v, 0);
}

}  // namespace

std::vector<std::uint8_t> Canvas::bmp() const {
  cairo_surface_flush(surface_);
  const unsigned row = (static_cast<unsigned>(width_) * 3 + 3) & ~3u;
  const unsigned image = row * static_cast<unsigned>(height_);
  std::vector<std::uint8_t> v;
  v.reserve(54 + image);
  put_headers(v, width_, height_, 24, 0, 54, image);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (int y = height_ - 1; y >= 0; --y) {
    const auto* p = reinterpret_cast<const std::uint32_t*>(data + y * stride);
    for (int x = 0; x < width_; ++x) {
      v.push_back(p[x] & 0xFF);          // blue
      v.push_back((p[x] >> 8) & 0xFF);   // green
      v.push_back((p[x] >> 16) & 0xFF);  // red
    }
    for (unsigned pad = static_cast<unsigned>(width_) * 3; pad < row; ++pad) v.push_back(0);
  }
  return v;
}

std::vector<std::uint8_t> Canvas::bmp_indexed() const {
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  auto pixel = [&](int x, int y) {
    return reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride)[x] &
           0xFFFFFFu;
  };
  std::vector<std::uint32_t> palette;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const std::uint32_t c = pixel(x, y);
      // Most pixels repeat the last colour seen; test that before the search.
      if (!palette.empty() && palette.back() == c) continue;
      if (std::find(palette.begin(), palette.end(), c) != palette.end()) continue;
      if (palette.size() == 256) return {};
      palette.push_back(c);
    }
  }
  std::sort(palette.begin(), palette.end());
  const unsigned colours = static_cast<unsigned>(palette.size());
  const unsigned row = (static_cast<unsigned>(width_) + 3) & ~3u;
  const unsigned image = row * static_cast<unsigned>(height_);
  const unsigned offset = 54 + 4 * colours;
  std::vector<std::uint8_t> v;
  v.reserve(offset + image);
  put_headers(v, width_, height_, 8, colours, offset, image);
  for (std::uint32_t c : palette) put_u32(v, c);  // blue, green, red, 0
  for (int y = height_ - 1; y >= 0; --y) {
    for (int x = 0; x < width_; ++x) {
      const auto at = std::lower_bound(palette.begin(), palette.end(), pixel(x, y));
      v.push_back(static_cast<std::uint8_t>(at - palette.begin()));
    }
    for (unsigned pad = static_cast<unsigned>(width_); pad < row; ++pad) v.push_back(0);
  }
  return v;
}

std::uint64_t Canvas::pixel_digest() const {
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (int y = 0; y < height_; ++y) {
    const auto* p = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < width_; ++x) {
      for (int shift : {16, 8, 0}) {
        h ^= (p[x] >> shift) & 0xFF;
        h *= 0x100000001b3ull;
      }
    }
  }
  return h;
}

void colour(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void line(cairo_t* cr, double x1, double y1, double x2, double y2, double width, Rgb c) {
  colour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_stroke(cr);
}

void circle(cairo_t* cr, double cx, double cy, double r, double width, Rgb c) {
  colour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
  cairo_stroke(cr);
}

void disc(cairo_t* cr, double cx, double cy, double r, Rgb c) {
  colour(cr, c);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
  cairo_fill(cr);
}

void rect(cairo_t* cr, double x, double y, double w, double h, double width, Rgb c) {
  colour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_rectangle(cr, x, y, w, h);
  cairo_stroke(cr);
}

void fill_rect(cairo_t* cr, double x, double y, double w, double h, Rgb c) {
  colour(cr, c);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

void rounded_path(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void rounded_box(cairo_t* cr, double x, double y, double w, double h, double r, Rgb fill, Rgb edge,
                 double width) {
  rounded_path(cr, x, y, w, h, r);
  colour(cr, fill);
  cairo_fill_preserve(cr);
  colour(cr, edge);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void polygon(cairo_t* cr, std::initializer_list<double> xy, Rgb c, double stroke) {
  const double* p = xy.begin();
  cairo_move_to(cr, p[0], p[1]);
  for (std::size_t i = 2; i + 1 < xy.size(); i += 2) cairo_line_to(cr, p[i], p[i + 1]);
  cairo_close_path(cr);
  colour(cr, c);
  if (stroke > 0) {
    cairo_set_line_width(cr, stroke);
    cairo_stroke(cr);
  } else {
    cairo_fill(cr);
  }
}

void arc_cw(cairo_t* cr, double cx, double cy, double r, double a0, double a1, double width, Rgb c) {
  colour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, (a0 - 90) * kPi / 180, (a1 - 90) * kPi / 180);
  cairo_stroke(cr);
}

void tick(cairo_t* cr, double cx, double cy, double deg, double r0, double r1, double width, Rgb c) {
  const double a = deg * kPi / 180;
  const double s = std::sin(a), k = -std::cos(a);
  line(cr, cx + s * r0, cy + k * r0, cx + s * r1, cy + k * r1, width, c);
}

void text(cairo_t* cr, Font f, double px, double x, double y, Align a, Rgb c, const std::string& s) {
  select_font(cr, f, px);
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  double left = x;
  if (a == Align::kCentre) left = x - e.x_advance / 2;
  if (a == Align::kRight) left = x - e.x_advance;
  colour(cr, c);
  cairo_move_to(cr, left, y);
  cairo_show_text(cr, s.c_str());
  cairo_new_path(cr);
}

void text_at(cairo_t* cr, Font f, double px, double cx, double cy, Rgb c, const std::string& s) {
  select_font(cr, f, px);
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  colour(cr, c);
  cairo_move_to(cr, cx - e.x_bearing - e.width / 2, cy - e.y_bearing - e.height / 2);
  cairo_show_text(cr, s.c_str());
  cairo_new_path(cr);
}

void gradient_rect(cairo_t* cr, double x, double y, double w, double h, Rgb top, Rgb bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

}  // namespace orv::art
