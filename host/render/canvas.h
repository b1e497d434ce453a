// The drawing primitives of the substitute host's pictures, with one back end
// per platform: Cairo on Linux (canvas_cairo.cpp), GDI+ on Windows
// (canvas_gdiplus.cpp). Everything that decides what a gauge or a picture
// shows (element kinds, layout, overlays) is written once on top of these;
// only the primitives differ between the back ends.
//
// Coordinates are doubles in the canvas's current user space: the image's
// pixels until translate, rotate and scale change it (y runs down, positive
// angles turn clockwise). save() and restore() keep and bring back the
// transformation and the clip.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace orv::render {

// Components from 0 to 1.
struct Colour {
  double r = 0.0, g = 0.0, b = 0.0, a = 1.0;
};

// A Windows COLORREF (0x00BBGGRR), as gauges and panels give colours.
inline Colour colour_of_bgr(std::uint32_t bgr) {
  return {(bgr & 0xFF) / 255.0, ((bgr >> 8) & 0xFF) / 255.0, ((bgr >> 16) & 0xFF) / 255.0, 1.0};
}

enum class PixelFormat {
  rgb,   // opaque colour: 32-bit words 0xFFRRGGBB
  argb,  // colour with alpha, premultiplied: 32-bit words 0xAARRGGBB
  alpha  // coverage only, one byte per pixel (masks)
};

// An image the canvas draws into or from. New images are transparent black
// (rgb ones black).
class Image {
 public:
  Image(int width, int height, PixelFormat format);
  ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  bool valid() const;
  int width() const { return width_; }
  int height() const { return height_; }
  PixelFormat format() const { return format_; }
  // The pixel rows (native-endian words, or bytes for alpha), `stride()`
  // bytes apart: flush() before reading them, changed() after writing.
  unsigned char* data();
  int stride() const;
  void flush();
  void changed();
  // A device context on the image for a module's drawing surface: a
  // Windows HDC, or natively a cairo_t*. Made on first use, owned by the
  // image.
  void* device_context();

  struct Backend;
  Backend& backend() const { return *backend_; }

 private:
  int width_, height_;
  PixelFormat format_;
  std::unique_ptr<Backend> backend_;
};

// PNG file of `image` at zlib `level` (0 to 9; back ends that choose their own
// compression ignore it); an empty string on success, else the reason.
std::string write_png(Image& image, const std::string& path, int level);

// A font face looked up once per family and weight, with its cell height
// (ascent + descent) at size 100.
struct Face {
  std::string family;
  bool bold = false;
  double cell_at_100 = 0.0;
  void* handle = nullptr;  // the back end's face
};

struct FontExtents {
  double ascent = 0.0, descent = 0.0, height = 0.0;
};

// A sprite's texture placed in its gauge: its centre moved to (x, y), turned
// by `angle` radians, moved by (dx, dy) in its own turned frame and scaled by
// (sx, sy).
struct Placement {
  double x = 0.0, y = 0.0, angle = 0.0, dx = 0.0, dy = 0.0, sx = 1.0, sy = 1.0;
};

class Canvas {
 public:
  explicit Canvas(Image& target);
  // Draws through a context the caller owns (the native back end's cairo_t*).
  static Canvas borrow(void* native_context);
  ~Canvas();
  Canvas(Canvas&& other) noexcept;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  Canvas& operator=(Canvas&&) = delete;

  void save();
  void restore();
  void translate(double x, double y);
  void rotate(double radians);
  void scale(double sx, double sy);
  void clip(double x, double y, double w, double h);

  // Fills the whole clip.
  void paint(Colour c);
  void fill_rect(double x, double y, double w, double h, Colour c);
  // A rectangle's outline of `width`, dashed when `dashes` has entries (on,
  // off lengths).
  void stroke_rect(double x, double y, double w, double h, Colour c, double width,
                   const double* dashes = nullptr, int dash_count = 0);

  // The image with its top left at (x, y).
  void draw_image(const Image& image, double x, double y);
  // The image with its top left at (x, y), seen through the alpha mask
  // with its top left at (mx, my).
  void draw_image_masked(const Image& image, double x, double y, const Image& mask, double mx, double my);
  // The image centred on its placement, through the mask at (mx, my) when
  // there is one, else whole.
  void draw_image_placed(const Image& image, const Placement& p, const Image* mask, double mx, double my);
  // What a module drew into a device context the host gave it (see
  // Image::device_context), with its top left at (x, y).
  void draw_device_context(void* device_context, double x, double y);
  // The pixels draw_device_context shows of a device context: its rows
  // (`*width` 32-bit words each, `*stride` bytes apart, `*height` of them),
  // or null when it is not a context of this host's images.
  static const unsigned char* device_context_pixels(void* device_context, int* width, int* height,
                                                    int* stride);

  // Texts: the face of a family, kept for the life of the process; the
  // labels' own face and size; the current font's extents, a text's advance
  // and the text drawn from its baseline's left end. Texts are UTF-8.
  static const Face& face(const char* family, bool bold);
  void set_font(const Face& face, double size);
  void set_label_font(double size, bool bold);
  FontExtents font_extents();
  double text_advance(const char* text);
  void show_text(double x, double y, const char* text, Colour c);

  struct Backend;

 private:
  Canvas() = default;
  std::unique_ptr<Backend> backend_;
};

}  // namespace orv::render
