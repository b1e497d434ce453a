// Drawing helpers shared by every picture of the generator: an RGB canvas that
// encodes itself as a 24-bit BMP, colours, lines, shapes and text in the
// cockpit's fonts. Pure black (0,0,0) is the transparent colour of the host's
// drawing, so opaque dark areas use near-black glass colours instead.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orv::art {

struct Rgb {
  int r, g, b;
};

inline constexpr Rgb kKey{0, 0, 0};  // transparent where an element draws over others
inline constexpr Rgb kGlass{7, 10, 13};
inline constexpr Rgb kGlassEdge{20, 25, 30};
inline constexpr Rgb kPanel{52, 56, 60};
inline constexpr Rgb kPanelDark{34, 37, 40};
inline constexpr Rgb kPanelLight{82, 87, 92};
inline constexpr Rgb kWhite{235, 238, 240};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kNavGreen{7, 255, 40};
inline constexpr Rgb kCyan{0, 230, 255};
inline constexpr Rgb kMagenta{255, 40, 230};
inline constexpr Rgb kAmber{255, 176, 0};
inline constexpr Rgb kRed{255, 36, 24};
inline constexpr Rgb kYellow{255, 235, 40};
inline constexpr Rgb kEngrave{200, 204, 208};

// The four HUD symbol colours by colour index (light, middle, dark green, red).
Rgb hud_colour(int index);

class Canvas {
 public:
  Canvas(int width, int height, Rgb fill = kKey);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }

  // The picture as a BMP file image: BITMAPFILEHEADER, BITMAPINFOHEADER, 24
  // bits per pixel, rows bottom-up padded to four bytes.
  std::vector<std::uint8_t> bmp() const;
  // The same picture with a palette at 8 bits per pixel (its colours in
  // ascending order of their 0xRRGGBB value, only as many entries as used),
  // or an empty vector when it has more than 256 colours.
  std::vector<std::uint8_t> bmp_indexed() const;
  // FNV-1a (64 bits) over the red, green and blue bytes of every pixel, rows
  // from the top: what a decoder of either BMP form must give back.
  std::uint64_t pixel_digest() const;

 private:
  int width_, height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

void colour(cairo_t* cr, Rgb c, double alpha = 1.0);
void line(cairo_t* cr, double x1, double y1, double x2, double y2, double width, Rgb c);
void circle(cairo_t* cr, double cx, double cy, double r, double width, Rgb c);
void disc(cairo_t* cr, double cx, double cy, double r, Rgb c);
void rect(cairo_t* cr, double x, double y, double w, double h, double width, Rgb c);
void fill_rect(cairo_t* cr, double x, double y, double w, double h, Rgb c);
void rounded_path(cairo_t* cr, double x, double y, double w, double h, double r);
// A rounded box filled with `fill` and outlined with `edge`, `width` wide.
void rounded_box(cairo_t* cr, double x, double y, double w, double h, double r, Rgb fill, Rgb edge,
                 double width);
void polygon(cairo_t* cr, std::initializer_list<double> xy, Rgb c, double stroke = 0.0);
// Arc of radius r about (cx, cy) from angle a0 to a1, degrees clockwise from
// straight up.
void arc_cw(cairo_t* cr, double cx, double cy, double r, double a0, double a1, double width, Rgb c);
// A radial tick at `deg` degrees clockwise from up, from radius r0 to r1.
void tick(cairo_t* cr, double cx, double cy, double deg, double r0, double r1, double width, Rgb c);

enum class Align { kLeft, kCentre, kRight };
enum Font { kSans, kSansBold, kNarrow, kNarrowBold, kMono, kSeg };

// Draws `text` with its baseline at y; x is its left edge, centre or right edge.
void text(cairo_t* cr, Font f, double px, double x, double y, Align a, Rgb c, const std::string& s);
// Draws `text` centred on (cx, cy) by its ink box.
void text_at(cairo_t* cr, Font f, double px, double cx, double cy, Rgb c, const std::string& s);
// A vertical gradient fill of a rectangle between two colours.
void gradient_rect(cairo_t* cr, double x, double y, double w, double h, Rgb top, Rgb bottom);

}  // namespace orv::art
