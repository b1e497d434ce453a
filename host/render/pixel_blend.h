// Image drawing and rectangle fills straight on premultiplied 32-bit pixel
// rows, for the canvas back ends whose own image drawing is slow (GDI+ under
// Wine composites a bitmap target one GetPixel/SetPixel call per pixel). The
// results follow Cairo's conventions: bilinear sampling at pixel centres,
// nothing outside the source image (so its edges fade over a pixel when they
// fall between pixels), and fills and clips whose fractional edges cover the
// pixels they cut in proportion.
#pragma once

#include <cstdint>
#include <vector>

namespace orv::render::pixels {

// x' = xx x + xy y + x0, y' = yx x + yy y + y0.
struct Affine {
  double xx = 1.0, yx = 0.0, xy = 0.0, yy = 1.0, x0 = 0.0, y0 = 0.0;

  void translate(double x, double y);
  void scale(double sx, double sy);
  void rotate(double radians);  // clockwise on a y-down surface
  // True when the axes stay axis-parallel (no turn but by multiples of 90
  // degrees is taken as one: only exact zeros off the diagonal).
  bool axis_aligned() const { return xy == 0.0 && yx == 0.0; }
};

// A box in device pixels, [x0, x1) x [y0, y1).
struct Box {
  double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
  bool empty() const { return !(x1 > x0 && y1 > y0); }
  Box intersect(const Box& o) const;
};

// Pixel rows of 0xAARRGGBB words (premultiplied), `stride` bytes apart.
struct Surface {
  unsigned char* rows = nullptr;
  int width = 0, height = 0, stride = 0;
};

// The box `(x, y, w, h)` of user space as a device box (the transform must
// be axis-aligned).
Box device_box(const Affine& m, double x, double y, double w, double h);

// Draws `source` with its pixel (u, v) at `to_device` (u, v) over `target`,
// within `clip`. `opaque`: the source's alpha bytes are taken as 255.
void draw(const Surface& target, const Surface& source, bool opaque, const Affine& to_device,
          const Box& clip);

// Fills `box` with `colour` (premultiplied 0xAARRGGBB) over `target`.
void fill(const Surface& target, const Box& box, std::uint32_t colour);

// Filled outlines (the glyphs of texts): closed figures of lines and cubic
// Bézier curves in device pixels, filled with anti-aliased edges (each
// pixel covered in proportion to its area inside; figures wound the other
// way cut holes, overlapping ones count once).
class Outline {
 public:
  void move_to(double x, double y);
  void line_to(double x, double y);
  void cubic_to(double x1, double y1, double x2, double y2, double x3, double y3);
  void close();
  // Fills the figures with `colour` (premultiplied) over `target`, within `clip`.
  void fill(const Surface& target, const Box& clip, std::uint32_t colour);

 private:
  struct Line {
    double x0, y0, x1, y1;
  };
  std::vector<Line> lines_;
  double start_x_ = 0.0, start_y_ = 0.0, x_ = 0.0, y_ = 0.0;
  std::vector<float> cover_;  // the accumulation rows, kept between fills
};

}  // namespace orv::render::pixels
