// Pictures compared the way a reader sees them: two renders of the same
// gauge may differ in the anti-aliasing of their edges (another Cairo or
// FreeType, another optimisation level), which the comparison forgives, but
// not in a symbol, a digit or a colour.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv::golden {

// An image as Cairo holds it: premultiplied ARGB, one 32-bit word per pixel.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // row after row
};

// Reads a PNG; false when the file is missing or not a PNG.
bool read_png(const std::string& path, Picture& out);
bool write_png(const std::string& path, const Picture& picture);

struct Tolerance {
  // A pixel matches when it differs from the same place in the other picture
  // by at most `channel` in every channel (0 to 255), or when some pixel
  // within `reach` pixels of that place does, or when the two pictures'
  // 3 x 3 averages there do: an edge drawn half a pixel away, or shaded
  // differently, still matches; a new stroke or another colour does not.
  int channel = 48;
  int reach = 1;
  // Pictures match when at most this share of their pixels (at least
  // `min_pixels`) fail to match.
  double share = 1.0e-4;
  long min_pixels = 2;
};

struct Comparison {
  bool same_size = false;
  long differing = 0;  // pixels that fail to match, both ways counted once
  long allowed = 0;
  int worst = 0;  // the largest channel difference at one place
  bool matches() const { return same_size && differing <= allowed; }
  // The reference dimmed to grey, with the pixels that fail to match in red
  // and those that differ within the tolerance in blue; empty when the sizes
  // differ.
  Picture diff;
};

Comparison compare(const Picture& reference, const Picture& actual, const Tolerance& tolerance = {});

}  // namespace orv::golden
