// Draws gauge instances with Cairo the way the simulator's panel host draws
// them: the element tree in list order (later over earlier), each element
// kind by the host's conventions, scaled from the gauge's background bitmap
// to the size the panel gives the instance.
//
// Transparency: an element whose flags have bit 0x1 (the values the gauges
// use: 0x3, 0x7, 0x83, 0x87, 0x4003) draws its bitmap with pure black
// (0,0,0) transparent, and a text element with that bit draws no background
// box. Flags without it (0x6, 0x26) draw opaque: bitmaps as they are, texts
// on their background colour. Masks (bitmap id + 1 of moving images and
// sprites) show the element where the mask is white, in proportion to its
// grey level elsewhere (nothing where it is black).
#pragma once

#include <cairo.h>

#include <cstdint>
#include <unordered_map>

#include "frame/gauge_abi.h"
#include "host/element_values.h"

namespace orv::render {

// The module's resource accessor (exported by the native module as
// orv_module_resource): the whole file image of resource (type, id).
using ResourceFn = const unsigned char* (*)(const char* type, unsigned id, unsigned* size);

// Bitmaps of one module as Cairo surfaces, decoded once and cached.
class BitmapStore {
 public:
  explicit BitmapStore(ResourceFn resources);
  // Looks the accessor up in a module loaded with dlopen; a store without
  // bitmaps when the module has none.
  static BitmapStore from_module(void* dl_handle);
  ~BitmapStore();
  BitmapStore(BitmapStore&& other) noexcept;
  BitmapStore(const BitmapStore&) = delete;
  BitmapStore& operator=(const BitmapStore&) = delete;
  BitmapStore& operator=(BitmapStore&&) = delete;

  // The bitmap as an image surface (ARGB32 with black transparent when
  // `black_transparent`, else RGB24), or null when the module has no such
  // bitmap or it is not a 24-bit BMP. The store owns the surface.
  cairo_surface_t* image(unsigned id, bool black_transparent) const;
  // The bitmap as an A8 mask: its brightest channel as the coverage.
  cairo_surface_t* mask(unsigned id) const;
  bool size(unsigned id, int* width, int* height) const;

 private:
  enum Variant : std::uint64_t { kOpaque = 0, kKeyed = 1, kMask = 2 };
  cairo_surface_t* get(unsigned id, Variant v) const;

  ResourceFn resources_;
  mutable std::unordered_map<std::uint64_t, cairo_surface_t*> cache_;
};

// The free face that stands in for a font face name of the gauges ("Arial",
// "Arial Narrow", "Courier New", "Geneva", "Quartz"); other names are passed
// to fontconfig as they are.
const char* font_family_for(const char* face);

// Draws `instance` (the host's copy of a gauge header with its element
// copies) into `cr` at (0,0) with the given size in pixels. `values` gives
// each element's last channel values (an empty lookup reads as zeros).
void render_gauge(cairo_t* cr, const abi::GaugeHeader& instance, int width_px, int height_px,
                  const BitmapStore& bitmaps, const host::ElementValueLookup& values);

}  // namespace orv::render
