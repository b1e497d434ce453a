#include "host/render/pixel_blend.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orv::render::pixels {

void Affine::translate(double x, double y) {
  x0 += xx * x + xy * y;
  y0 += yx * x + yy * y;
}

void Affine::scale(double sx, double sy) {
  xx *= sx;
  yx *= sx;
  xy *= sy;
  yy *= sy;
}

void Affine::rotate(double radians) {
  const double c = std::cos(radians), s = std::sin(radians);
  const double nxx = xx * c + xy * s, nyx = yx * c + yy * s;
  const double nxy = -xx * s + xy * c, nyy = -yx * s + yy * c;
  xx = nxx;
  yx = nyx;
  xy = nxy;
  yy = nyy;
}

Box Box::intersect(const Box& o) const {
  return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
}

Box device_box(const Affine& m, double x, double y, double w, double h) {
  const double ax = m.xx * x + m.x0, bx = m.xx * (x + w) + m.x0;
  const double ay = m.yy * y + m.y0, by = m.yy * (y + h) + m.y0;
  return {std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)};
}

namespace {

std::uint32_t* row_of(const Surface& s, int y) {
  return reinterpret_cast<std::uint32_t*>(s.rows + static_cast<std::ptrdiff_t>(y) * s.stride);
}

// `src` (premultiplied) over `dst`, two channels at a time.
std::uint32_t over(std::uint32_t src, std::uint32_t dst) {
  const std::uint32_t a = src >> 24;
  if (a == 255) return src;
  if (src == 0) return dst;
  const std::uint32_t keep = 255 - a;
  auto scaled = [keep](std::uint32_t pair) {  // both channels of 0x00XX00YY times keep / 255
    std::uint32_t t = pair * keep + 0x00800080u;
    return ((t + (t >> 8 & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  };
  const std::uint32_t rb = (src & 0x00FF00FFu) + scaled(dst & 0x00FF00FFu);
  const std::uint32_t ag = (src >> 8 & 0x00FF00FFu) + scaled(dst >> 8 & 0x00FF00FFu);
  // A source that is not truly premultiplied may carry over: saturate.
  auto clamp_pair = [](std::uint32_t v) {
    return (v & 0x00FF00FFu) | ((v & 0x01000100u) != 0 ? ((v & 0x01000000u ? 0x00FF0000u : 0u) |
                                                          (v & 0x00000100u ? 0x000000FFu : 0u))
                                                       : 0u);
  };
  return clamp_pair(rb) | clamp_pair(ag) << 8;
}

// Bilinear blend of four pixels with weights fx, fy in 256ths, two channels
// at a time in 16-bit lanes of 32-bit words.
std::uint32_t bilinear(std::uint32_t t00, std::uint32_t t10, std::uint32_t t01, std::uint32_t t11,
                       std::uint32_t fx, std::uint32_t fy) {
  constexpr std::uint32_t kPair = 0x00FF00FFu;
  const std::uint32_t gx = 256 - fx, gy = 256 - fy;
  auto lerp = [](std::uint32_t a, std::uint32_t b, std::uint32_t wa, std::uint32_t wb) {
    return (a * wa + b * wb + 0x00800080u) >> 8 & kPair;
  };
  const std::uint32_t rb =
      lerp(lerp(t00 & kPair, t10 & kPair, gx, fx), lerp(t01 & kPair, t11 & kPair, gx, fx), gy, fy);
  const std::uint32_t ag = lerp(lerp(t00 >> 8 & kPair, t10 >> 8 & kPair, gx, fx),
                                lerp(t01 >> 8 & kPair, t11 >> 8 & kPair, gx, fx), gy, fy);
  return rb | ag << 8;
}

// Every channel of `p` times coverage/256.
std::uint32_t times(std::uint32_t p, std::uint32_t coverage) {
  if (coverage >= 256) return p;
  const std::uint32_t rb = ((p & 0x00FF00FFu) * coverage >> 8) & 0x00FF00FFu;
  const std::uint32_t ag = ((p >> 8 & 0x00FF00FFu) * coverage >> 8) & 0x00FF00FFu;
  return rb | ag << 8;
}

// How much of pixel column (or row) p lies in [lo, hi), in 256ths.
std::uint32_t cover(int p, double lo, double hi) {
  const double c = std::min(p + 1.0, hi) - std::max(static_cast<double>(p), lo);
  return c <= 0.0 ? 0 : c >= 1.0 ? 256 : static_cast<std::uint32_t>(std::lround(c * 256.0));
}

// The target's pixels a box touches, clamped to the target.
struct Span {
  int x0, y0, x1, y1;
};
Span span_of(const Box& b, const Surface& t) {
  return {std::max(0, static_cast<int>(std::floor(b.x0))), std::max(0, static_cast<int>(std::floor(b.y0))),
          std::min(t.width, static_cast<int>(std::ceil(b.x1))),
          std::min(t.height, static_cast<int>(std::ceil(b.y1)))};
}

}  // namespace

void fill(const Surface& target, const Box& box, std::uint32_t colour) {
  if (target.rows == nullptr || box.empty() || colour == 0) return;
  const Span s = span_of(box, target);
  if (s.x1 <= s.x0) return;
  const std::uint32_t first = cover(s.x0, box.x0, box.x1), last = cover(s.x1 - 1, box.x0, box.x1);
  for (int y = s.y0; y < s.y1; ++y) {
    const std::uint32_t cy = cover(y, box.y0, box.y1);
    std::uint32_t* row = row_of(target, y);
    row[s.x0] = over(times(colour, first * cy >> 8), row[s.x0]);
    if (s.x1 - 1 == s.x0) continue;
    row[s.x1 - 1] = over(times(colour, last * cy >> 8), row[s.x1 - 1]);
    const std::uint32_t inner = times(colour, cy);
    if (inner >> 24 == 255) {
      std::fill(row + s.x0 + 1, row + s.x1 - 1, inner);
    } else {
      for (int x = s.x0 + 1; x < s.x1 - 1; ++x) row[x] = over(inner, row[x]);
    }
  }
}

void draw(const Surface& target, const Surface& source, bool opaque, const Affine& m, const Box& clip) {
  if (target.rows == nullptr || source.rows == nullptr || source.width <= 0 || source.height <= 0) return;
  const double det = m.xx * m.yy - m.xy * m.yx;
  if (!(std::fabs(det) > 1e-12) || !std::isfinite(det) || !std::isfinite(m.x0) || !std::isfinite(m.y0))
    return;
  const Box area =
      clip.intersect({0.0, 0.0, static_cast<double>(target.width), static_cast<double>(target.height)});
  // The source's corners on the target.
  const double w = source.width, h = source.height;
  const double cx[4] = {m.x0, m.x0 + m.xx * w, m.x0 + m.xy * h, m.x0 + m.xx * w + m.xy * h};
  const double cy[4] = {m.y0, m.y0 + m.yx * w, m.y0 + m.yy * h, m.y0 + m.yx * w + m.yy * h};
  const Box image{*std::min_element(cx, cx + 4), *std::min_element(cy, cy + 4), *std::max_element(cx, cx + 4),
                  *std::max_element(cy, cy + 4)};
  const Box drawn = area.intersect(image);
  if (drawn.empty()) return;
  const Span s = span_of(drawn, target);
  const std::uint32_t fill_alpha = opaque ? 0xFF000000u : 0u;
  std::vector<std::uint32_t> across(static_cast<std::size_t>(s.x1 - s.x0));
  for (int x = s.x0; x < s.x1; ++x) across[static_cast<std::size_t>(x - s.x0)] = cover(x, area.x0, area.x1);

  // A whole-pixel move copies pixels as they are.
  if (m.xx == 1.0 && m.yy == 1.0 && m.xy == 0.0 && m.yx == 0.0 && m.x0 == std::floor(m.x0) &&
      m.y0 == std::floor(m.y0)) {
    const int dx = static_cast<int>(m.x0), dy = static_cast<int>(m.y0);
    const bool whole_row = across.front() == 256 && across.back() == 256;
    for (int y = s.y0; y < s.y1; ++y) {
      const std::uint32_t down = cover(y, area.y0, area.y1);
      const std::uint32_t* from = row_of(source, y - dy) + (s.x0 - dx);
      std::uint32_t* row = row_of(target, y) + s.x0;
      const int n = s.x1 - s.x0;
      if (whole_row && down == 256) {
        if (opaque) {
          for (int k = 0; k < n; ++k) row[k] = from[k] | fill_alpha;
        } else {
          for (int k = 0; k < n; ++k) row[k] = over(from[k], row[k]);
        }
        continue;
      }
      for (int k = 0; k < n; ++k)
        row[k] = over(times(from[k] | fill_alpha, across[static_cast<std::size_t>(k)] * down >> 8), row[k]);
    }
    return;
  }

  // Else each target pixel's centre is taken back into the source and
  // sampled between the four nearest source pixels.
  // Source positions in 1/65536 pixels, one above the true place so that
  // they stay positive over the pixel beyond each edge.
  const double iu_x = m.yy / det, iu_y = -m.xy / det, iv_x = -m.yx / det, iv_y = m.xx / det;
  constexpr double kOne = 65536.0;
  const auto du = static_cast<std::int64_t>(std::llround(iu_x * kOne)),
             dv = static_cast<std::int64_t>(std::llround(iv_x * kOne));
  const std::int64_t u_end = static_cast<std::int64_t>(source.width + 1) << 16,
                     v_end = static_cast<std::int64_t>(source.height + 1) << 16;
  const int last_i = source.width - 1, last_j = source.height - 1;
  auto texel = [&](int i, int j) -> std::uint32_t {
    if (i < 0 || j < 0 || i > last_i || j > last_j) return 0;
    return row_of(source, j)[i] | fill_alpha;
  };
  if (m.axis_aligned()) {
    // Scaled only: each column reads the same source columns on every row.
    struct Tap {
      int i;
      std::uint32_t f;
    };
    auto tap = [](double t) {  // t: the source position, one above the true place
      const std::int64_t q = std::llround(t * kOne);
      return Tap{static_cast<int>(q >> 16) - 1, static_cast<std::uint32_t>(q >> 8 & 0xFF)};
    };
    std::vector<Tap> columns(across.size());
    for (int x = s.x0; x < s.x1; ++x)
      columns[static_cast<std::size_t>(x - s.x0)] = tap(iu_x * (x + 0.5 - m.x0) + 0.5);
    const std::uint32_t zero_row[2] = {0, 0};
    for (int y = s.y0; y < s.y1; ++y) {
      const Tap r = tap(iv_y * (y + 0.5 - m.y0) + 0.5);
      if (r.i < -1 || r.i > last_j) continue;
      const std::uint32_t down = cover(y, area.y0, area.y1);
      const std::uint32_t* above = r.i >= 0 ? row_of(source, r.i) : nullptr;
      const std::uint32_t* below = r.i < last_j ? row_of(source, r.i + 1) : nullptr;
      std::uint32_t* row = row_of(target, y);
      for (int x = s.x0; x < s.x1; ++x) {
        const std::size_t k = static_cast<std::size_t>(x - s.x0);
        const Tap c = columns[k];
        if (c.i < -1 || c.i > last_i) continue;
        std::uint32_t t00, t10, t01, t11;
        if (c.i >= 0 && c.i < last_i) {
          const std::uint32_t* a = above != nullptr ? above + c.i : zero_row;
          const std::uint32_t* b = below != nullptr ? below + c.i : zero_row;
          t00 = a[0], t10 = a[1], t01 = b[0], t11 = b[1];
          if (above == nullptr) t00 = t10 = 0;
          if (below == nullptr) t01 = t11 = 0;
        } else {
          const bool left = c.i >= 0, right = c.i < last_i;
          t00 = above != nullptr && left ? above[c.i] : 0;
          t10 = above != nullptr && right ? above[c.i + 1] : 0;
          t01 = below != nullptr && left ? below[c.i] : 0;
          t11 = below != nullptr && right ? below[c.i + 1] : 0;
        }
        if (opaque) {
          t00 |= above != nullptr && c.i >= 0 ? fill_alpha : 0;
          t10 |= above != nullptr && c.i < last_i ? fill_alpha : 0;
          t01 |= below != nullptr && c.i >= 0 ? fill_alpha : 0;
          t11 |= below != nullptr && c.i < last_i ? fill_alpha : 0;
        }
        if ((t00 | t10 | t01 | t11) == 0) continue;
        const std::uint32_t p = bilinear(t00, t10, t01, t11, c.f, r.f);
        row[x] = over(times(p, across[k] * down >> 8), row[x]);
      }
    }
    return;
  }
  for (int y = s.y0; y < s.y1; ++y) {
    const std::uint32_t down = cover(y, area.y0, area.y1);
    std::uint32_t* row = row_of(target, y);
    const double rx = s.x0 + 0.5 - m.x0, ry = y + 0.5 - m.y0;
    std::int64_t u = std::llround((iu_x * rx + iu_y * ry + 0.5) * kOne);
    std::int64_t v = std::llround((iv_x * rx + iv_y * ry + 0.5) * kOne);
    for (int x = s.x0; x < s.x1; ++x, u += du, v += dv) {
      if (u <= 0 || v <= 0 || u >= u_end || v >= v_end) continue;
      const int i = static_cast<int>(u >> 16) - 1, j = static_cast<int>(v >> 16) - 1;
      const auto fx = static_cast<std::uint32_t>(u >> 8 & 0xFF),
                 fy = static_cast<std::uint32_t>(v >> 8 & 0xFF);
      std::uint32_t p;
      if (i >= 0 && j >= 0 && i < last_i && j < last_j) {
        const std::uint32_t* a = row_of(source, j) + i;
        const std::uint32_t* b = row_of(source, j + 1) + i;
        p = bilinear(a[0] | fill_alpha, a[1] | fill_alpha, b[0] | fill_alpha, b[1] | fill_alpha, fx, fy);
      } else {
        p = bilinear(texel(i, j), texel(i + 1, j), texel(i, j + 1), texel(i + 1, j + 1), fx, fy);
      }
      const std::uint32_t c = across[static_cast<std::size_t>(x - s.x0)] * down >> 8;
      if (p != 0) row[x] = over(times(p, c), row[x]);
    }
  }
}

void Outline::move_to(double x, double y) {
  close();
  start_x_ = x_ = x;
  start_y_ = y_ = y;
}

void Outline::line_to(double x, double y) {
  lines_.push_back({x_, y_, x, y});
  x_ = x;
  y_ = y;
}

void Outline::cubic_to(double x1, double y1, double x2, double y2, double x3, double y3) {
  // As many lines as the control polygon is long allows a flat enough curve.
  const double length =
      std::hypot(x1 - x_, y1 - y_) + std::hypot(x2 - x1, y2 - y1) + std::hypot(x3 - x2, y3 - y2);
  const int n = std::clamp(static_cast<int>(std::sqrt(length * 4.0)), 1, 32);
  const double x0 = x_, y0 = y_;
  for (int i = 1; i <= n; ++i) {
    const double t = static_cast<double>(i) / n, u = 1.0 - t;
    const double a = u * u * u, b = 3.0 * u * u * t, c = 3.0 * u * t * t, d = t * t * t;
    line_to(a * x0 + b * x1 + c * x2 + d * x3, a * y0 + b * y1 + c * y2 + d * y3);
  }
}

void Outline::close() {
  if (x_ != start_x_ || y_ != start_y_) line_to(start_x_, start_y_);
}

void Outline::fill(const Surface& target, const Box& clip, std::uint32_t colour) {
  close();
  std::vector<Line> lines;
  lines.swap(lines_);
  if (target.rows == nullptr || lines.empty() || colour == 0) return;
  Box bounds{lines[0].x0, lines[0].y0, lines[0].x0, lines[0].y0};
  for (const Line& l : lines) {
    if (!std::isfinite(l.x0) || !std::isfinite(l.y0) || !std::isfinite(l.x1) || !std::isfinite(l.y1)) return;
    bounds = {std::min({bounds.x0, l.x0, l.x1}), std::min({bounds.y0, l.y0, l.y1}),
              std::max({bounds.x1, l.x0, l.x1}), std::max({bounds.y1, l.y0, l.y1})};
  }
  const Box area =
      clip.intersect({0.0, 0.0, static_cast<double>(target.width), static_cast<double>(target.height)});
  const Span s = span_of(area.intersect(bounds), target);
  if (s.x1 <= s.x0 || s.y1 <= s.y0) return;
  // Each line adds its signed area to the cells it crosses, row by row
  // (one cell more at the right for the carry); a row's running sum is then
  // the coverage of each pixel.
  const int w = s.x1 - s.x0, h = s.y1 - s.y0, stride = w + 2;
  cover_.assign(static_cast<std::size_t>(stride) * h, 0.0f);
  for (const Line& l : lines) {
    if (l.y0 == l.y1) continue;
    const double dir = l.y0 < l.y1 ? 1.0 : -1.0;
    // Top to bottom, in the area's pixels; x held to the area (a line left
    // of it still covers the pixels to its right).
    const double ax = (l.y0 < l.y1 ? l.x0 : l.x1) - s.x0, ay = (l.y0 < l.y1 ? l.y0 : l.y1) - s.y0;
    const double bx = (l.y0 < l.y1 ? l.x1 : l.x0) - s.x0, by = (l.y0 < l.y1 ? l.y1 : l.y0) - s.y0;
    if (by <= 0.0 || ay >= h) continue;
    const double dxdy = (bx - ax) / (by - ay);
    const int first = std::max(0, static_cast<int>(std::floor(ay))),
              last = std::min(h, static_cast<int>(std::ceil(by)));
    for (int y = first; y < last; ++y) {
      const double top = std::max(static_cast<double>(y), ay), bottom = std::min(y + 1.0, by);
      const double dy = bottom - top;
      if (dy <= 0.0) continue;
      const double xa = std::clamp(ax + (top - ay) * dxdy, 0.0, static_cast<double>(w));
      const double xb = std::clamp(ax + (bottom - ay) * dxdy, 0.0, static_cast<double>(w));
      const double d = dy * dir;
      float* row = &cover_[static_cast<std::size_t>(y) * stride];
      const double lo = std::min(xa, xb), hi = std::max(xa, xb);
      const int i0 = static_cast<int>(std::floor(lo)), i1 = static_cast<int>(std::ceil(hi));
      if (i1 <= i0 + 1) {
        // Within one pixel: split by the line's mean position.
        const double mid = 0.5 * (xa + xb) - i0;
        row[i0] += static_cast<float>(d * (1.0 - mid));
        row[i0 + 1] += static_cast<float>(d * mid);
        continue;
      }
      // Across several pixels: the area left of the line in each, as the
      // line rises at 1 / (hi - lo) per pixel.
      const double k = 1.0 / (hi - lo);
      const double f0 = lo - i0, f1 = hi - (i1 - 1);
      const double first_area = 0.5 * k * (1.0 - f0) * (1.0 - f0);
      const double last_area = 0.5 * k * f1 * f1;
      row[i0] += static_cast<float>(d * first_area);
      double done = first_area;
      for (int i = i0 + 1; i < i1 - 1; ++i) {
        const double next = k * (i + 1 - lo) - 0.5 * k;  // mean coverage up to this pixel's right edge
        const double a = std::min(1.0 - last_area, next);
        row[i] += static_cast<float>(d * (a - done));
        done = a;
      }
      row[i1 - 1] += static_cast<float>(d * (1.0 - last_area - done));
      row[i1] += static_cast<float>(d * last_area);
    }
  }
  for (int y = 0; y < h; ++y) {
    const std::uint32_t down = cover(s.y0 + y, area.y0, area.y1);
    const float* row = &cover_[static_cast<std::size_t>(y) * stride];
    std::uint32_t* out = row_of(target, s.y0 + y);
    float sum = 0.0f;
    for (int x = 0; x < w; ++x) {
      sum += row[x];
      const float c = std::min(1.0f, std::fabs(sum));
      if (c < 1.0f / 512.0f) continue;
      const auto coverage =
          static_cast<std::uint32_t>(c * 256.0f + 0.5f) * cover(s.x0 + x, area.x0, area.x1) >> 8;
      out[s.x0 + x] = over(times(colour, coverage * down >> 8), out[s.x0 + x]);
    }
  }
}

}  // namespace orv::render::pixels
