// The canvas on GDI+ (Windows builds). Colour images are top-down 32-bit DIB
// sections wrapped as premultiplied GDI+ bitmaps, so GDI (through the image's
// memory device context) and GDI+ draw into the same pixels; masks are plain
// byte rows, applied by the canvas itself. PNG files come from GDI+'s encoder.
//
// Images, rectangle fills, solid outlines and the glyph outlines of texts
// are composited by the canvas itself (pixel_blend.h) wherever the clip is a
// device-space rectangle, which is everywhere the renderer draws: GDI+ does
// them as well, but Wine's GDI+ composites onto a bitmap one pixel call at a
// time, tens of times slower. The canvas therefore keeps its own copy of the
// transformation and the clip beside GDI+'s, which draws the rest (dashed
// outlines, anything under a turned clip, texts without a GDI face).
#include <windows.h>
// GDI+ wants the Windows headers first.
#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/load/host_error.h"
#include "host/load/output_file.h"
#include "host/render/canvas.h"
#include "host/render/pixel_blend.h"
#include "host/render/render.h"

namespace orv::render {

namespace gp = Gdiplus;
namespace api = Gdiplus::DllExports;

struct Image::Backend {
  HBITMAP dib = nullptr;
  void* bits = nullptr;
  gp::GpBitmap* bitmap = nullptr;
  HDC dc = nullptr;
  HGDIOBJ dc_old = nullptr;
  std::vector<unsigned char> alpha;  // the alpha format's bytes
  int stride = 0;
};

struct Canvas::Backend {
  gp::GpGraphics* g = nullptr;
  bool owned = true;
  // The canvas's own view of the transformation and clip (a device box, or
  // none it can use when a clip was set under a turn).
  struct Geometry {
    render::pixels::Affine m;
    render::pixels::Box clip;
    bool clip_is_box = true;
  };
  Image* target = nullptr;  // null when borrowed or a mask
  Geometry now;
  std::vector<std::pair<gp::GraphicsState, Geometry>> states;
  gp::GpFont* font = nullptr;
  double size = 0.0;
  const Face* face = nullptr;
  ~Backend() {
    if (font != nullptr) api::GdipDeleteFont(font);
    if (owned && g != nullptr) api::GdipDeleteGraphics(g);
  }
};

namespace {

// GDI+ runs from the first image or canvas to the end of the process.
void start_gdiplus() {
  static const bool started = [] {
    gp::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    return gp::GdiplusStartup(&token, &input, nullptr) == gp::Ok;
  }();
  (void)started;
}

gp::REAL real(double v) { return static_cast<gp::REAL>(v); }

gp::ARGB argb(Colour c) {
  auto channel = [](double v) { return static_cast<gp::ARGB>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
  return channel(c.a) << 24 | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}

std::wstring wide(const char* utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (n <= 1) return std::wstring();
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w.data(), n);
  w.resize(static_cast<std::size_t>(n - 1));
  return w;
}

gp::GpBitmap* bitmap_of(const Image& image) { return image.backend().bitmap; }

pixels::Surface surface_of(const Image& image) {
  const Image::Backend& b = image.backend();
  return {static_cast<unsigned char*>(b.bits), image.width(), image.height(), b.stride};
}

std::uint32_t premultiplied(Colour c) {
  auto channel = [](double v) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
  };
  const double a = std::clamp(c.a, 0.0, 1.0);
  return channel(a) << 24 | channel(c.r * a) << 16 | channel(c.g * a) << 8 | channel(c.b * a);
}

// The images whose device contexts the host handed out, by context.
std::unordered_map<HDC, Image*>& device_images() {
  static std::unordered_map<HDC, Image*> images;
  return images;
}

// Typographic layout: no padding around the text, trailing spaces measured.
gp::GpStringFormat* text_format() {
  static gp::GpStringFormat* const format = [] {
    gp::GpStringFormat* f = nullptr;
    api::GdipCloneStringFormat(nullptr, &f);
    gp::GpStringFormat* typographic = nullptr;
    if (api::GdipStringFormatGetGenericTypographic(&typographic) == gp::Ok) {
      if (f != nullptr) api::GdipDeleteStringFormat(f);
      api::GdipCloneStringFormat(typographic, &f);
    }
    if (f != nullptr)
      api::GdipSetStringFormatFlags(f, gp::StringFormatFlagsMeasureTrailingSpaces |
                                           gp::StringFormatFlagsNoWrap | gp::StringFormatFlagsNoClip);
    return f;
  }();
  return format;
}

void set_up(gp::GpGraphics* g) {
  api::GdipSetSmoothingMode(g, gp::SmoothingModeAntiAlias);
  api::GdipSetInterpolationMode(g, gp::InterpolationModeBilinear);
  api::GdipSetPixelOffsetMode(g, gp::PixelOffsetModeHalf);
  api::GdipSetCompositingMode(g, gp::CompositingModeSourceOver);
  api::GdipSetTextRenderingHint(g, gp::TextRenderingHintAntiAlias);
}

// Multiplies every pixel of `image` (premultiplied) by the mask's coverage
// at the same place; outside the mask nothing is left.
void apply_mask(Image& image, const Image& mask) {
  unsigned char* rows = image.data();
  const unsigned char* coverage = mask.backend().alpha.data();
  const int mask_stride = mask.backend().stride;
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(rows + static_cast<std::ptrdiff_t>(y) * image.stride());
    for (int x = 0; x < image.width(); ++x) {
      const unsigned m = y < mask.height() && x < mask.width() ? coverage[y * mask_stride + x] : 0;
      if (m == 255) continue;
      const std::uint32_t p = row[x];
      auto scale = [&](int shift) { return ((p >> shift & 0xFF) * m + 127) / 255 << shift; };
      row[x] = scale(24) | scale(16) | scale(8) | scale(0);
    }
  }
}

// Makes the fonts in the folder "fonts" beside the program available to
// this process (the release ships there the free stand-ins of the gauges'
// faces that Windows lacks).
void add_own_fonts() {
  static const bool added = [] {
    WCHAR exe[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir(exe, n < MAX_PATH ? n : 0);
    dir = dir.substr(0, dir.find_last_of(L"\\/") + 1) + L"fonts\\";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"*.ttf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    do AddFontResourceExW((dir + found.cFileName).c_str(), FR_PRIVATE, nullptr);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return true;
  }();
  (void)added;
}

// GDI+'s installed family of that name.
gp::GpFontFamily* family_named(const char* name) {
  const std::wstring w = wide(name);
  gp::GpFontFamily* family = nullptr;
  if (w.empty() || api::GdipCreateFontFamilyFromName(w.c_str(), nullptr, &family) != gp::Ok) return nullptr;
  return family;
}

// A face as the canvas draws it: a GDI font whose unhinted glyph outlines
// the canvas fills with GDI+ (texts then scale and place as smoothly as the
// native build's), else a GDI+ family. Metrics are fractions of the em.
struct Glyph {
  double advance = 0.0;                                         // in GDI units of kGdiEm
  std::vector<std::vector<std::pair<double, double>>> figures;  // closed cubic Bézier chains, y up
};

constexpr double kGdiEm = 1000.0;

struct FaceData {
  gp::GpFontFamily* family = nullptr;
  INT style = 0;
  HFONT gdi_font = nullptr;
  HDC gdi_dc = nullptr;
  double ascent = 0.0, descent = 0.0, line_spacing = 0.0;
  mutable std::unordered_map<wchar_t, Glyph> glyphs;
};

// The GDI font of that face, when GDI has the face itself (not a substitute).
bool gdi_face(const char* name, bool bold, FaceData& d) {
  const std::wstring w = wide(name);
  if (w.empty() || w.size() >= LF_FACESIZE) return false;
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(kGdiEm);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  std::wcsncpy(lf.lfFaceName, w.c_str(), LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectW(&lf);
  HDC dc = CreateCompatibleDC(nullptr);
  if (font == nullptr || dc == nullptr) {
    if (font != nullptr) DeleteObject(font);
    if (dc != nullptr) DeleteDC(dc);
    return false;
  }
  SelectObject(dc, font);
  WCHAR chosen[LF_FACESIZE] = {};
  TEXTMETRICW tm{};
  GetTextFaceW(dc, LF_FACESIZE, chosen);
  if (_wcsicmp(chosen, w.c_str()) != 0 || !GetTextMetricsW(dc, &tm)) {
    DeleteDC(dc);
    DeleteObject(font);
    return false;
  }
  d.gdi_font = font;
  d.gdi_dc = dc;
  d.ascent = tm.tmAscent / kGdiEm;
  d.descent = tm.tmDescent / kGdiEm;
  d.line_spacing = (tm.tmHeight + tm.tmExternalLeading) / kGdiEm;
  return true;
}

double fixed(FIXED f) { return f.value + f.fract / 65536.0; }

// The outline of one character, read once, as cubic Bézier chains (lines
// and quadratic splines raised to cubics).
const Glyph& gdi_glyph(const FaceData& d, wchar_t ch) {
  auto found = d.glyphs.find(ch);
  if (found != d.glyphs.end()) return found->second;
  Glyph glyph;
  GLYPHMETRICS gm{};
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  const DWORD size = GetGlyphOutlineW(d.gdi_dc, ch, GGO_NATIVE | GGO_UNHINTED, &gm, 0, nullptr, &identity);
  if (size != GDI_ERROR) {
    glyph.advance = gm.gmCellIncX;
    std::vector<unsigned char> buffer(size + sizeof(TTPOLYGONHEADER));
    if (size > 0 && GetGlyphOutlineW(d.gdi_dc, ch, GGO_NATIVE | GGO_UNHINTED, &gm, size, buffer.data(),
                                     &identity) != GDI_ERROR) {
      const unsigned char* p = buffer.data();
      const unsigned char* end = p + size;
      while (p + sizeof(TTPOLYGONHEADER) <= end) {
        const auto* header = reinterpret_cast<const TTPOLYGONHEADER*>(p);
        const unsigned char* figure_end = p + header->cb;
        if (header->cb < sizeof(TTPOLYGONHEADER) || figure_end > end) break;
        std::vector<std::pair<double, double>> figure;
        std::pair<double, double> start{fixed(header->pfxStart.x), fixed(header->pfxStart.y)}, at = start;
        figure.push_back(at);
        auto line_to = [&](std::pair<double, double> q) {
          figure.push_back({at.first + (q.first - at.first) / 3.0, at.second + (q.second - at.second) / 3.0});
          figure.push_back(
              {at.first + 2.0 * (q.first - at.first) / 3.0, at.second + 2.0 * (q.second - at.second) / 3.0});
          figure.push_back(q);
          at = q;
        };
        auto quad_to = [&](std::pair<double, double> c, std::pair<double, double> q) {
          figure.push_back(
              {at.first + 2.0 * (c.first - at.first) / 3.0, at.second + 2.0 * (c.second - at.second) / 3.0});
          figure.push_back(
              {q.first + 2.0 * (c.first - q.first) / 3.0, q.second + 2.0 * (c.second - q.second) / 3.0});
          figure.push_back(q);
          at = q;
        };
        const unsigned char* c = p + sizeof(TTPOLYGONHEADER);
        while (c + sizeof(TTPOLYCURVE) - sizeof(POINTFX) <= figure_end) {
          const auto* curve = reinterpret_cast<const TTPOLYCURVE*>(c);
          const int n = curve->cpfx;
          const unsigned char* curve_end = c + sizeof(TTPOLYCURVE) + (n - 1) * sizeof(POINTFX);
          if (n <= 0 || curve_end > figure_end) break;
          auto point = [&](int i) {
            return std::pair<double, double>{fixed(curve->apfx[i].x), fixed(curve->apfx[i].y)};
          };
          if (curve->wType == TT_PRIM_LINE) {
            for (int i = 0; i < n; ++i) line_to(point(i));
          } else if (curve->wType == TT_PRIM_QSPLINE) {
            // Between two off-curve points lies the on-curve point halfway.
            for (int i = 0; i + 1 < n; ++i) {
              const auto control = point(i);
              const auto next = point(i + 1);
              const auto on = i + 2 < n ? std::pair<double, double>{(control.first + next.first) / 2.0,
                                                                    (control.second + next.second) / 2.0}
                                        : next;
              quad_to(control, on);
            }
          } else if (curve->wType == TT_PRIM_CSPLINE) {
            for (int i = 0; i + 2 < n; i += 3) {
              figure.push_back(point(i));
              figure.push_back(point(i + 1));
              figure.push_back(point(i + 2));
              at = point(i + 2);
            }
          }
          c = curve_end;
        }
        if (at != start) line_to(start);
        glyph.figures.push_back(std::move(figure));
        p = figure_end;
      }
    }
  }
  return d.glyphs.emplace(ch, std::move(glyph)).first->second;
}

// Colour images' pixels, kept when an image ends for the next one of the
// same size: pictures are drawn anew each frame at the same sizes, and a
// DIB section costs a trip to the system each time.
struct Pixels {
  int width = 0, height = 0;
  HBITMAP dib = nullptr;
  void* bits = nullptr;
  gp::GpBitmap* bitmap = nullptr;
};

class PixelPool {
 public:
  bool take(int width, int height, Pixels& out) {
    for (auto it = free_.begin(); it != free_.end(); ++it)
      if (it->width == width && it->height == height) {
        out = *it;
        pooled_ -= area(*it);
        free_.erase(it);
        return true;
      }
    return false;
  }
  void give(const Pixels& p) {
    while (!free_.empty() && (free_.size() >= kMaxImages || pooled_ + area(p) > kMaxPixels)) {
      pooled_ -= area(free_.front());
      release(free_.front());
      free_.erase(free_.begin());
    }
    if (area(p) > kMaxPixels) {
      Pixels copy = p;
      release(copy);
      return;
    }
    free_.push_back(p);
    pooled_ += area(p);
  }

 private:
  static constexpr std::size_t kMaxImages = 96;
  static constexpr std::size_t kMaxPixels = std::size_t{24} << 20;
  static std::size_t area(const Pixels& p) { return static_cast<std::size_t>(p.width) * p.height; }
  static void release(Pixels& p) {
    if (p.bitmap != nullptr) api::GdipDisposeImage(p.bitmap);
    if (p.dib != nullptr) DeleteObject(p.dib);
  }
  std::vector<Pixels> free_;
  std::size_t pooled_ = 0;
};

// Never destroyed: images may end during the process's exit.
PixelPool& pixel_pool() {
  static PixelPool* const pool = new PixelPool;
  return *pool;
}

}  // namespace

Image::Image(int width, int height, PixelFormat format)
    : width_(width), height_(height), format_(format), backend_(std::make_unique<Backend>()) {
  start_gdiplus();
  if (width <= 0 || height <= 0) return;
  if (format == PixelFormat::alpha) {
    backend_->stride = (width + 3) & ~3;
    backend_->alpha.assign(static_cast<std::size_t>(backend_->stride) * height, 0);
    return;
  }
  backend_->stride = width * 4;
  Pixels reused;
  if (pixel_pool().take(width, height, reused)) {
    backend_->dib = reused.dib;
    backend_->bits = reused.bits;
    backend_->bitmap = reused.bitmap;
    auto* p = static_cast<std::uint32_t*>(backend_->bits);
    std::fill(p, p + static_cast<std::size_t>(width) * height, format == PixelFormat::rgb ? 0xFF000000u : 0u);
    return;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  backend_->dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &backend_->bits, nullptr, 0);
  if (backend_->dib == nullptr || backend_->bits == nullptr) return;
  backend_->stride = width * 4;
  if (format == PixelFormat::rgb) {
    auto* p = static_cast<std::uint32_t*>(backend_->bits);
    std::fill(p, p + static_cast<std::size_t>(width) * height, 0xFF000000u);
  }
  api::GdipCreateBitmapFromScan0(width, height, backend_->stride, PixelFormat32bppPARGB,
                                 static_cast<BYTE*>(backend_->bits), &backend_->bitmap);
}

Image::~Image() {
  if (backend_->dc != nullptr) {
    device_images().erase(backend_->dc);
    SelectObject(backend_->dc, backend_->dc_old);
    DeleteDC(backend_->dc);
  } else if (backend_->bitmap != nullptr) {
    // A context's device may have kept state on the DIB; others are reused.
    pixel_pool().give({width_, height_, backend_->dib, backend_->bits, backend_->bitmap});
    return;
  }
  if (backend_->bitmap != nullptr) api::GdipDisposeImage(backend_->bitmap);
  if (backend_->dib != nullptr) DeleteObject(backend_->dib);
}

bool Image::valid() const {
  return format_ == PixelFormat::alpha ? !backend_->alpha.empty() : backend_->bitmap != nullptr;
}

unsigned char* Image::data() {
  return format_ == PixelFormat::alpha ? backend_->alpha.data() : static_cast<unsigned char*>(backend_->bits);
}

int Image::stride() const { return backend_->stride; }
void Image::flush() { GdiFlush(); }
void Image::changed() {}

void* Image::device_context() {
  if (backend_->dc == nullptr && backend_->dib != nullptr) {
    backend_->dc = CreateCompatibleDC(nullptr);
    if (backend_->dc != nullptr) {
      backend_->dc_old = SelectObject(backend_->dc, backend_->dib);
      device_images()[backend_->dc] = this;
    }
  }
  return backend_->dc;
}

std::string write_png(Image& image, const std::string& path, int /*level*/) {
  if (!image.valid() || image.format() == PixelFormat::alpha) return "not a colour image";
  static const CLSID* const png = [] {
    static CLSID clsid{};
    UINT count = 0, bytes = 0;
    if (api::GdipGetImageEncodersSize(&count, &bytes) != gp::Ok || bytes == 0)
      return static_cast<CLSID*>(nullptr);
    std::vector<unsigned char> buffer(bytes);
    auto* codecs = reinterpret_cast<gp::ImageCodecInfo*>(buffer.data());
    if (api::GdipGetImageEncoders(count, bytes, codecs) != gp::Ok) return static_cast<CLSID*>(nullptr);
    for (UINT i = 0; i < count; ++i)
      if (codecs[i].MimeType != nullptr && std::wcscmp(codecs[i].MimeType, L"image/png") == 0) {
        clsid = codecs[i].Clsid;
        return &clsid;
      }
    return static_cast<CLSID*>(nullptr);
  }();
  if (png == nullptr) return "GDI+ has no PNG encoder";
  image.flush();
  // Opaque pictures are written without an alpha channel, as the native
  // build writes them.
  gp::GpBitmap* source = bitmap_of(image);
  gp::GpBitmap* copy = nullptr;
  if (image.format() == PixelFormat::rgb &&
      api::GdipCloneBitmapAreaI(0, 0, image.width(), image.height(), PixelFormat24bppRGB, source, &copy) ==
          gp::Ok)
    source = copy;
  // Written to a temporary name and renamed when whole.
  std::optional<host::OutputFile> out;
  try {
    out.emplace(path);
  } catch (const host::HostError& e) {
    if (copy != nullptr) api::GdipDisposeImage(copy);
    return e.what();
  }
  const std::wstring file = wide(out->hand_over().c_str());
  const gp::GpStatus status = api::GdipSaveImageToFile(source, file.c_str(), png, nullptr);
  if (copy != nullptr) api::GdipDisposeImage(copy);
  if (status != gp::Ok) return "GDI+ status " + std::to_string(static_cast<int>(status));
  return out->commit();
}

Canvas::Canvas(Image& target) : backend_(std::make_unique<Backend>()) {
  start_gdiplus();
  if (bitmap_of(target) != nullptr &&
      api::GdipGetImageGraphicsContext(bitmap_of(target), &backend_->g) == gp::Ok) {
    set_up(backend_->g);
    backend_->target = &target;
    backend_->now.clip = {0.0, 0.0, static_cast<double>(target.width()),
                          static_cast<double>(target.height())};
  }
}

namespace {

// The target's pixels, when the canvas composites there itself; GDI+'s
// drawing so far is in them.
const pixels::Surface* own_target(Canvas::Backend& b, pixels::Surface& s) {
  if (b.target == nullptr || !b.now.clip_is_box || b.g == nullptr) return nullptr;
  api::GdipFlush(b.g, gp::FlushIntentionSync);
  s = surface_of(*b.target);
  return s.rows != nullptr ? &s : nullptr;
}

// `image` with its top left at (x, y) of user space; false when GDI+ must draw it.
bool composite(Canvas::Backend& b, const Image& image, double x, double y, bool opaque) {
  pixels::Surface target;
  const pixels::Surface source = surface_of(image);
  if (source.rows == nullptr || own_target(b, target) == nullptr) return false;
  GdiFlush();
  pixels::Affine m = b.now.m;
  m.translate(x, y);
  pixels::draw(target, source, opaque || image.format() == PixelFormat::rgb, m, b.now.clip);
  return true;
}

}  // namespace

Canvas Canvas::borrow(void* native_context) {
  Canvas c;
  c.backend_ = std::make_unique<Backend>();
  c.backend_->g = static_cast<gp::GpGraphics*>(native_context);
  c.backend_->owned = false;
  return c;
}

Canvas::Canvas(Canvas&& other) noexcept = default;
Canvas::~Canvas() = default;

void Canvas::save() {
  gp::GraphicsState state = 0;
  if (backend_->g != nullptr) api::GdipSaveGraphics(backend_->g, &state);
  backend_->states.emplace_back(state, backend_->now);
}

void Canvas::restore() {
  if (backend_->states.empty()) return;
  if (backend_->g != nullptr) api::GdipRestoreGraphics(backend_->g, backend_->states.back().first);
  backend_->now = backend_->states.back().second;
  backend_->states.pop_back();
}

void Canvas::translate(double x, double y) {
  backend_->now.m.translate(x, y);
  if (backend_->g != nullptr)
    api::GdipTranslateWorldTransform(backend_->g, real(x), real(y), gp::MatrixOrderPrepend);
}

void Canvas::rotate(double radians) {
  backend_->now.m.rotate(radians);
  if (backend_->g != nullptr)
    api::GdipRotateWorldTransform(backend_->g, real(radians * 180.0 / 3.14159265358979323846),
                                  gp::MatrixOrderPrepend);
}

void Canvas::scale(double sx, double sy) {
  backend_->now.m.scale(sx, sy);
  if (backend_->g != nullptr)
    api::GdipScaleWorldTransform(backend_->g, real(sx), real(sy), gp::MatrixOrderPrepend);
}

void Canvas::clip(double x, double y, double w, double h) {
  Backend::Geometry& now = backend_->now;
  if (now.m.axis_aligned())
    now.clip = now.clip.intersect(pixels::device_box(now.m, x, y, w, h));
  else
    now.clip_is_box = false;
  if (backend_->g != nullptr)
    api::GdipSetClipRect(backend_->g, real(x), real(y), real(w), real(h), gp::CombineModeIntersect);
}

void Canvas::paint(Colour c) {
  gp::GpGraphics* g = backend_->g;
  if (g == nullptr) return;
  pixels::Surface target;
  if (own_target(*backend_, target) != nullptr) {
    pixels::fill(target, backend_->now.clip, premultiplied(c));
    return;
  }
  // The whole target in device space; the clip keeps its own.
  gp::GpMatrix* saved = nullptr;
  api::GdipCreateMatrix(&saved);
  api::GdipGetWorldTransform(g, saved);
  api::GdipResetWorldTransform(g);
  gp::GpSolidFill* brush = nullptr;
  api::GdipCreateSolidFill(argb(c), &brush);
  api::GdipFillRectangle(g, brush, real(-1.0), real(-1.0), real(1e6), real(1e6));
  api::GdipDeleteBrush(brush);
  api::GdipSetWorldTransform(g, saved);
  api::GdipDeleteMatrix(saved);
}

void Canvas::fill_rect(double x, double y, double w, double h, Colour c) {
  if (backend_->g == nullptr) return;
  pixels::Surface target;
  if (backend_->now.m.axis_aligned() && own_target(*backend_, target) != nullptr) {
    pixels::fill(target, backend_->now.clip.intersect(pixels::device_box(backend_->now.m, x, y, w, h)),
                 premultiplied(c));
    return;
  }
  gp::GpSolidFill* brush = nullptr;
  api::GdipCreateSolidFill(argb(c), &brush);
  api::GdipFillRectangle(backend_->g, brush, real(x), real(y), real(w), real(h));
  api::GdipDeleteBrush(brush);
}

void Canvas::stroke_rect(double x, double y, double w, double h, Colour c, double width, const double* dashes,
                         int dash_count) {
  if (backend_->g == nullptr) return;
  pixels::Surface target;
  if ((dashes == nullptr || dash_count <= 0) && backend_->now.m.axis_aligned() &&
      own_target(*backend_, target) != nullptr) {
    // A solid outline is four bands of `width` centred on the edges.
    const double h2 = width / 2.0;
    const double bands[4][4] = {{x - h2, y - h2, w + width, width},
                                {x - h2, y + h - h2, w + width, width},
                                {x - h2, y + h2, width, h - width},
                                {x + w - h2, y + h2, width, h - width}};
    for (const auto& b : bands)
      if (b[2] > 0.0 && b[3] > 0.0)
        pixels::fill(
            target, backend_->now.clip.intersect(pixels::device_box(backend_->now.m, b[0], b[1], b[2], b[3])),
            premultiplied(c));
    return;
  }
  gp::GpPen* pen = nullptr;
  api::GdipCreatePen1(argb(c), real(width), gp::UnitWorld, &pen);
  if (dashes != nullptr && dash_count > 0) {
    // GDI+ measures dashes in pen widths.
    std::vector<gp::REAL> pattern;
    for (int i = 0; i < dash_count; ++i) pattern.push_back(real(dashes[i] / (width > 0 ? width : 1.0)));
    api::GdipSetPenDashArray(pen, pattern.data(), dash_count);
  }
  api::GdipDrawRectangle(backend_->g, pen, real(x), real(y), real(w), real(h));
  api::GdipDeletePen(pen);
}

void Canvas::draw_image(const Image& image, double x, double y) {
  if (backend_->g == nullptr || bitmap_of(image) == nullptr) return;
  if (composite(*backend_, image, x, y, false)) return;
  api::GdipDrawImageRect(backend_->g, bitmap_of(image), real(x), real(y), real(image.width()),
                         real(image.height()));
}

void Canvas::draw_image_masked(const Image& image, double x, double y, const Image& mask, double mx,
                               double my) {
  if (!mask.valid()) return;
  Image window(mask.width(), mask.height(), PixelFormat::argb);
  {
    Canvas c(window);
    c.draw_image(image, x - mx, y - my);
  }
  apply_mask(window, mask);
  draw_image(window, mx, my);
}

void Canvas::draw_image_placed(const Image& image, const Placement& p, const Image* mask, double mx,
                               double my) {
  auto place = [&](Canvas& c) {
    c.translate(p.x, p.y);
    c.rotate(p.angle);
    c.translate(p.dx, p.dy);
    c.scale(p.sx, p.sy);
    c.draw_image(image, -image.width() / 2.0, -image.height() / 2.0);
  };
  if (mask == nullptr) {
    save();
    place(*this);
    restore();
    return;
  }
  if (!mask->valid()) return;
  Image window(mask->width(), mask->height(), PixelFormat::argb);
  {
    Canvas c(window);
    c.translate(-mx, -my);
    place(c);
  }
  apply_mask(window, *mask);
  draw_image(window, mx, my);
}

void Canvas::draw_device_context(void* device_context, double x, double y) {
  if (backend_->g == nullptr || device_context == nullptr) return;
  const auto found = device_images().find(static_cast<HDC>(device_context));
  if (found == device_images().end()) return;  // not a context of this host's images
  Image& image = *found->second;
  GdiFlush();
  const int w = image.width(), h = image.height(), stride = image.stride();
  const unsigned char* bits = image.data();
  // GDI leaves the alpha bytes at 0 and GDI+ sets them where it draws: a
  // surface with no alpha at all was drawn with GDI and is opaque, else its
  // untouched pixels stay transparent, as on a Cairo surface.
  bool any_alpha = false;
  for (int row = 0; row < h && !any_alpha; ++row)
    for (int col = 0; col < w; ++col)
      if (bits[static_cast<std::ptrdiff_t>(row) * stride + 4 * col + 3] != 0) {
        any_alpha = true;
        break;
      }
  if (any_alpha) {
    draw_image(image, x, y);
    return;
  }
  if (composite(*backend_, image, x, y, true)) return;
  gp::GpBitmap* view = nullptr;
  if (api::GdipCreateBitmapFromScan0(w, h, stride, PixelFormat32bppRGB, image.data(), &view) != gp::Ok)
    return;
  api::GdipDrawImageRect(backend_->g, view, real(x), real(y), real(w), real(h));
  api::GdipDisposeImage(view);
}

const unsigned char* Canvas::device_context_pixels(void* device_context, int* width, int* height,
                                                   int* stride) {
  if (device_context == nullptr) return nullptr;
  const auto found = device_images().find(static_cast<HDC>(device_context));
  if (found == device_images().end()) return nullptr;
  Image& image = *found->second;
  GdiFlush();
  *width = image.width();
  *height = image.height();
  *stride = image.stride();
  return image.data();
}

const Face& Canvas::face(const char* family, bool bold) {
  start_gdiplus();
  add_own_fonts();
  static std::vector<std::unique_ptr<Face>> faces;  // kept for the life of the process
  static std::vector<std::unique_ptr<FaceData>> data;
  for (const auto& f : faces)
    if (f->bold == bold && f->family == family) return *f;
  auto f = std::make_unique<Face>();
  f->family = family;
  f->bold = bold;
  auto d = std::make_unique<FaceData>();
  d->style = bold ? gp::FontStyleBold : gp::FontStyleRegular;
  // The face itself, else its free stand-in, else Arial: its glyph outlines,
  // filled by the canvas unhinted like any shape (as the native build draws
  // texts); else GDI+'s own text drawing, in the system's sans serif at last.
  const char* names[] = {family, font_family_for(family), "Arial"};
  for (const char* name : names)
    if (gdi_face(name, bold, *d)) break;
  for (const char* name : names) {
    if (d->gdi_font != nullptr || (d->family = family_named(name)) != nullptr) break;
  }
  if (d->family == nullptr && d->gdi_font == nullptr) {
    d->family = family_named("Arial");
    if (d->family == nullptr) api::GdipGetGenericFontFamilySansSerif(&d->family);
  }
  if (d->family != nullptr) {
    UINT16 em = 0, ascent = 0, descent = 0, spacing = 0;
    if (api::GdipGetEmHeight(d->family, d->style, &em) == gp::Ok && em > 0) {
      api::GdipGetCellAscent(d->family, d->style, &ascent);
      api::GdipGetCellDescent(d->family, d->style, &descent);
      api::GdipGetLineSpacing(d->family, d->style, &spacing);
      d->ascent = static_cast<double>(ascent) / em;
      d->descent = static_cast<double>(descent) / em;
      d->line_spacing = static_cast<double>(spacing) / em;
    }
  }
  f->cell_at_100 = 100.0 * (d->ascent + d->descent);
  f->handle = d.get();
  data.push_back(std::move(d));
  faces.push_back(std::move(f));
  return *faces.back();
}

void Canvas::set_font(const Face& face, double size) {
  if (backend_->font != nullptr) api::GdipDeleteFont(backend_->font);
  backend_->font = nullptr;
  backend_->face = &face;
  backend_->size = size;
  const auto* d = static_cast<const FaceData*>(face.handle);
  if (d == nullptr || d->family == nullptr || !(size > 0.0)) return;
  api::GdipCreateFont(d->family, real(size), d->style, gp::UnitPixel, &backend_->font);
}

void Canvas::set_label_font(double size, bool bold) { set_font(face("Arial", bold), size); }

FontExtents Canvas::font_extents() {
  const auto* d = backend_->face != nullptr ? static_cast<const FaceData*>(backend_->face->handle) : nullptr;
  if (d == nullptr) return {};
  const double k = backend_->size;
  return {d->ascent * k, d->descent * k, d->line_spacing * k};
}

double Canvas::text_advance(const char* text) {
  const auto* d = backend_->face != nullptr ? static_cast<const FaceData*>(backend_->face->handle) : nullptr;
  const std::wstring w = wide(text);
  if (d == nullptr || w.empty()) return 0.0;
  if (d->gdi_font != nullptr) {
    double advance = 0.0;
    for (wchar_t ch : w) advance += gdi_glyph(*d, ch).advance;
    return advance * backend_->size / kGdiEm;
  }
  if (backend_->g == nullptr || backend_->font == nullptr) return 0.0;
  gp::RectF layout(0, 0, 0, 0), box;
  if (api::GdipMeasureString(backend_->g, w.c_str(), static_cast<INT>(w.size()), backend_->font, &layout,
                             text_format(), &box, nullptr, nullptr) != gp::Ok)
    return 0.0;
  return box.Width;
}

void Canvas::show_text(double x, double y, const char* text, Colour c) {
  const auto* d = backend_->face != nullptr ? static_cast<const FaceData*>(backend_->face->handle) : nullptr;
  const std::wstring w = wide(text);
  if (backend_->g == nullptr || d == nullptr || w.empty()) return;
  gp::GpSolidFill* brush = nullptr;
  api::GdipCreateSolidFill(argb(c), &brush);
  pixels::Surface target;
  if (d->gdi_font != nullptr && own_target(*backend_, target) != nullptr) {
    // The glyphs' outlines in device pixels, filled by the canvas.
    static pixels::Outline outline;  // its buffers serve every text
    const pixels::Affine& m = backend_->now.m;
    auto device = [&m](double ux, double uy) {
      return std::pair<double, double>{m.xx * ux + m.xy * uy + m.x0, m.yx * ux + m.yy * uy + m.y0};
    };
    const double k = backend_->size / kGdiEm;
    double pen = x;
    for (wchar_t ch : w) {
      const Glyph& glyph = gdi_glyph(*d, ch);
      for (const auto& figure : glyph.figures) {
        if (figure.size() < 4) continue;
        auto at = [&](std::size_t i) { return device(pen + figure[i].first * k, y - figure[i].second * k); };
        const auto start = at(0);
        outline.move_to(start.first, start.second);
        for (std::size_t i = 1; i + 2 < figure.size(); i += 3) {
          const auto c1 = at(i), c2 = at(i + 1), end = at(i + 2);
          outline.cubic_to(c1.first, c1.second, c2.first, c2.second, end.first, end.second);
        }
        outline.close();
      }
      pen += glyph.advance * k;
    }
    outline.fill(target, backend_->now.clip, premultiplied(c));
    api::GdipDeleteBrush(brush);
    return;
  }
  if (d->gdi_font != nullptr) {
    // The glyphs' outlines as one path, filled like any other shape.
    gp::GpPath* path = nullptr;
    api::GdipCreatePath(gp::FillModeWinding, &path);
    const double k = backend_->size / kGdiEm;
    double pen = x;
    for (wchar_t ch : w) {
      const Glyph& glyph = gdi_glyph(*d, ch);
      for (const auto& figure : glyph.figures) {
        std::vector<gp::PointF> points;
        for (const auto& p : figure) points.emplace_back(real(pen + p.first * k), real(y - p.second * k));
        if (points.size() >= 4) {
          api::GdipAddPathBeziers(path, points.data(), static_cast<INT>(points.size()));
          api::GdipClosePathFigure(path);
        }
      }
      pen += glyph.advance * k;
    }
    api::GdipFillPath(backend_->g, brush, path);
    api::GdipDeletePath(path);
  } else if (backend_->font != nullptr) {
    // GDI+ places a line by its top: the baseline lies the font's ascent below.
    gp::RectF layout(real(x), real(y - font_extents().ascent), 0, 0);
    api::GdipDrawString(backend_->g, w.c_str(), static_cast<INT>(w.size()), backend_->font, &layout,
                        text_format(), brush);
  }
  api::GdipDeleteBrush(brush);
}

}  // namespace orv::render
