// Draws gauge instances on a canvas (Cairo natively, GDI+ on Windows) the way the simulator's panel host
// draws them: the element tree in list order (later over earlier), each element kind by the host's
// conventions, scaled from the gauge's background bitmap to the size the panel gives the instance.
//
// Transparency: an element whose flags have bit 0x1 (the values the gauges
// use: 0x3, 0x7, 0x83, 0x87, 0x4003) draws its bitmap with pure black
// (0,0,0) transparent, and a text element with that bit draws no background
// box. Flags without it (0x6, 0x26) draw opaque: bitmaps as they are, texts
// on their background colour. Masks (bitmap id + 1 of moving images and
// sprites) show the element where the mask is white, in proportion to its
// grey level elsewhere (nothing where it is black).
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#if !defined(_WIN32)
#include <cairo.h>
#endif

#include "frame/gauge_abi.h"
#include "host/panel/element_values.h"
#include "host/panel/gauge_instance.h"
#include "host/render/canvas.h"

namespace orv::render {

// The module's resource accessor (exported by the native module as
// orv_module_resource): the whole file image of resource (type, id).
using ResourceFn = const unsigned char* (*)(const char* type, unsigned id, unsigned* size);

// Bitmaps of one module as canvas images, decoded once and cached.
class BitmapStore {
 public:
  explicit BitmapStore(ResourceFn resources);
  // The bitmaps of a loaded module (dlopen's handle, or a Windows HMODULE
  // whose bitmap resources are read); a store without bitmaps when the
  // module has none.
  static BitmapStore from_module(void* handle);
  ~BitmapStore();
  BitmapStore(BitmapStore&& other) noexcept;
  BitmapStore(const BitmapStore&) = delete;
  BitmapStore& operator=(const BitmapStore&) = delete;
  BitmapStore& operator=(BitmapStore&&) = delete;

  // The bitmap as an image (argb with black transparent when
  // `black_transparent`, else rgb), or null when the module has no such
  // bitmap or it is not an uncompressed BMP of 24 bits, or of 8 with a
  // palette. The store owns the image.
  const Image* image(unsigned id, bool black_transparent) const;
  // The bitmap as an alpha mask: its brightest channel as the coverage.
  const Image* mask(unsigned id) const;
  bool size(unsigned id, int* width, int* height) const;

 private:
  enum Variant : std::uint64_t { kOpaque = 0, kKeyed = 1, kMask = 2 };
  const Image* get(unsigned id, Variant v) const;
  // The bitmap's bytes: a BMP file image, or (`file_header` false) a
  // Windows bitmap resource; false when the module has no such bitmap.
  bool bytes(unsigned id, const unsigned char** p, unsigned* size, bool* file_header) const;

  ResourceFn resources_;
  void* windows_module_ = nullptr;  // Windows: the HMODULE whose resources hold the bitmaps
  mutable std::unordered_map<std::uint64_t, std::unique_ptr<Image>> cache_;
};

// Decodes an uncompressed bitmap of 24 bits, or of 8 with a palette, as an
// opaque rgb image: a BMP file image, or (`file_header` false) a Windows
// bitmap resource, which starts at its info header. Null on anything else.
std::unique_ptr<Image> decode_bitmap(const unsigned char* bytes, unsigned size, bool file_header);

// The free face that stands in for a font face name of the gauges ("Arial",
// "Arial Narrow", "Courier New", "Geneva", "Quartz"); other names are passed
// to the font system as they are.
const char* font_family_for(const char* face);

// Draws `instance` onto `canvas` at (0,0) with the given size in pixels:
// its evaluated element slots in drawing order (each element once), each
// with the values its last evaluation produced.
void render_gauge(Canvas& canvas, const host::GaugeInstance& instance, int width_px, int height_px,
                  const BitmapStore& bitmaps);
// One element of a gauge as render_gauge draws it: a digest of everything
// its drawing reads (its record and values, its text, its needle table, the
// pixels of its drawing surface; equal digests draw equal pixels) and a box
// in the instance's pixels holding every pixel it may touch (empty when it
// draws nothing).
struct DrawnElement {
  std::uint64_t digest = 0;
  int x = 0, y = 0, width = 0, height = 0;
};
// The elements of `instance` drawn at that size, in drawing order, after a
// first entry for the gauge as a whole (its size and scale; its box all of
// it): a picture differs from the one drawn before only within the boxes,
// old and new, of the entries whose digest or box differ.
void drawn_elements(const host::GaugeInstance& instance, int width_px, int height_px,
                    const BitmapStore& bitmaps, std::vector<DrawnElement>& out);
// The same for a gauge header with its element records that is no placed
// instance (tests, benchmarks): the tree walked as an instance collects its
// slots, `values` giving each element's channel values (an empty lookup
// reads as zeros).
void render_gauge(Canvas& canvas, const abi::GaugeHeader& instance, int width_px, int height_px,
                  const BitmapStore& bitmaps, const host::ElementValueLookup& values);
#if !defined(_WIN32)
// The same through a Cairo context of the caller.
void render_gauge(cairo_t* cr, const host::GaugeInstance& instance, int width_px, int height_px,
                  const BitmapStore& bitmaps);
void render_gauge(cairo_t* cr, const abi::GaugeHeader& instance, int width_px, int height_px,
                  const BitmapStore& bitmaps, const host::ElementValueLookup& values);
#endif

}  // namespace orv::render
