#include "picture_compare.h"

#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace orv::golden {

namespace {

int channel_distance(std::uint32_t a, std::uint32_t b) {
  int worst = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int d = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    worst = std::max(worst, d);
  }
  return worst;
}

// The smallest distance between `from`'s pixel (x, y) and any pixel of `to`
// within `reach`.
int nearest_distance(const Picture& from, const Picture& to, int x, int y, int reach) {
  const std::uint32_t p = from.pixels[static_cast<std::size_t>(y) * from.width + x];
  int best = 256;
  for (int dy = -reach; dy <= reach && best > 0; ++dy) {
    const int yy = y + dy;
    if (yy < 0 || yy >= to.height) continue;
    for (int dx = -reach; dx <= reach; ++dx) {
      const int xx = x + dx;
      if (xx < 0 || xx >= to.width) continue;
      best = std::min(best, channel_distance(p, to.pixels[static_cast<std::size_t>(yy) * to.width + xx]));
    }
  }
  return best;
}

// The picture's 3 x 3 box average, channel by channel (edges average what
// lies inside).
Picture blurred(const Picture& p) {
  Picture out{p.width, p.height, std::vector<std::uint32_t>(p.pixels.size(), 0)};
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      int sum[4] = {}, n = 0;
      for (int yy = std::max(0, y - 1); yy <= std::min(p.height - 1, y + 1); ++yy) {
        for (int xx = std::max(0, x - 1); xx <= std::min(p.width - 1, x + 1); ++xx) {
          const std::uint32_t v = p.pixels[static_cast<std::size_t>(yy) * p.width + xx];
          for (int k = 0; k < 4; ++k) sum[k] += static_cast<int>((v >> (8 * k)) & 0xFF);
          ++n;
        }
      }
      std::uint32_t v = 0;
      for (int k = 0; k < 4; ++k) v |= static_cast<std::uint32_t>(sum[k] / n) << (8 * k);
      out.pixels[static_cast<std::size_t>(y) * p.width + x] = v;
    }
  }
  return out;
}

std::uint32_t dimmed_grey(std::uint32_t argb) {
  const int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  const int grey = (r * 3 + g * 6 + b) / 10 * 35 / 100;
  return 0xFF000000u | static_cast<std::uint32_t>(grey * 0x010101);
}

}  // namespace

bool read_png(const std::string& path, Picture& out) {
  cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(png);
    return false;
  }
  // Draw onto a fresh ARGB32 surface, whatever format the file was read in.
  out.width = cairo_image_surface_get_width(png);
  out.height = cairo_image_surface_get_height(png);
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, out.width, out.height);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_surface(cr, png, 0, 0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(s);
  out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 0);
  const unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < out.height; ++y)
    std::memcpy(&out.pixels[static_cast<std::size_t>(y) * out.width],
                data + static_cast<std::ptrdiff_t>(y) * stride, static_cast<std::size_t>(out.width) * 4);
  cairo_surface_destroy(s);
  cairo_surface_destroy(png);
  return true;
}

bool write_png(const std::string& path, const Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < picture.height; ++y)
    std::memcpy(data + static_cast<std::ptrdiff_t>(y) * stride,
                &picture.pixels[static_cast<std::size_t>(y) * picture.width],
                static_cast<std::size_t>(picture.width) * 4);
  cairo_surface_mark_dirty(s);
  const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  return ok;
}

Comparison compare(const Picture& reference, const Picture& actual, const Tolerance& tolerance) {
  Comparison c;
  c.same_size = reference.width == actual.width && reference.height == actual.height;
  const long total = static_cast<long>(reference.width) * reference.height;
  c.allowed = std::max(tolerance.min_pixels, static_cast<long>(static_cast<double>(total) * tolerance.share));
  if (!c.same_size) return c;
  c.diff = reference;
  const Picture soft_reference = blurred(reference), soft_actual = blurred(actual);
  for (int y = 0; y < reference.height; ++y) {
    for (int x = 0; x < reference.width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * reference.width + x;
      const int exact = channel_distance(reference.pixels[i], actual.pixels[i]);
      c.worst = std::max(c.worst, exact);
      std::uint32_t shown = dimmed_grey(reference.pixels[i]);
      if (exact > tolerance.channel &&
          channel_distance(soft_reference.pixels[i], soft_actual.pixels[i]) > tolerance.channel &&
          std::max(nearest_distance(reference, actual, x, y, tolerance.reach),
                   nearest_distance(actual, reference, x, y, tolerance.reach)) > tolerance.channel) {
        ++c.differing;
        shown = 0xFFFF2020u;
      } else if (exact > 0) {
        shown = 0xFF3050C0u;
      }
      c.diff.pixels[i] = shown;
    }
  }
  return c;
}

}  // namespace orv::golden
