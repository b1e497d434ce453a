// The traffic picture's back end on Windows: GDI+ (flat API) on the device
// context the host gives the radar's drawing surface.
#include <windows.h>
// GDI+ wants the Windows headers first.
#include <gdiplus.h>

#include "traffic/radar_canvas.h"

namespace orv::traffic::canvas {

namespace gp = Gdiplus;
namespace api = Gdiplus::DllExports;

namespace {

constexpr const WCHAR* kFontFace = L"Courier New";
constexpr gp::REAL kFontPoints = 3.0f;

gp::GpGraphics* context(void* graphics) { return static_cast<gp::GpGraphics*>(graphics); }

gp::ARGB argb(Colour c) {
  return (static_cast<gp::ARGB>(c.a) << 24) | (static_cast<gp::ARGB>(c.r) << 16) |
         (static_cast<gp::ARGB>(c.g) << 8) | static_cast<gp::ARGB>(c.b);
}

gp::REAL real(double v) { return static_cast<gp::REAL>(v); }

// A solid pen or brush for one primitive.
struct Pen {
  gp::GpPen* pen = nullptr;
  Pen(Colour c, double width) { api::GdipCreatePen1(argb(c), real(width), gp::UnitWorld, &pen); }
  ~Pen() {
    if (pen != nullptr) api::GdipDeletePen(pen);
  }
};

struct Brush {
  gp::GpSolidFill* brush = nullptr;
  explicit Brush(Colour c) { api::GdipCreateSolidFill(argb(c), &brush); }
  ~Brush() {
    if (brush != nullptr) api::GdipDeleteBrush(brush);
  }
};

}  // namespace

std::uintptr_t start_library() {
  gp::GdiplusStartupInput input;  // version 1, no debug callback, thread and codecs kept
  ULONG_PTR token = 0;
  if (gp::GdiplusStartup(&token, &input, nullptr) != gp::Ok) return 0;
  return static_cast<std::uintptr_t>(token);
}

void stop_library(std::uintptr_t token) { gp::GdiplusShutdown(static_cast<ULONG_PTR>(token)); }

void* create_graphics(void* device_context) {
  if (device_context == nullptr) return nullptr;
  gp::GpGraphics* g = nullptr;
  if (api::GdipCreateFromHDC(static_cast<HDC>(device_context), &g) != gp::Ok) return nullptr;
  return g;
}

void delete_graphics(void* graphics) {
  if (graphics != nullptr) api::GdipDeleteGraphics(context(graphics));
}

void set_up_space(void* graphics, double sx, double sy, double hw, double hh) {
  gp::GpGraphics* g = context(graphics);
  if (g == nullptr) return;
  api::GdipScaleWorldTransform(g, real(sx), real(sy), gp::MatrixOrderPrepend);
  api::GdipSetSmoothingMode(g, gp::SmoothingModeAntiAlias);
  api::GdipSetTextRenderingHint(g, gp::TextRenderingHintAntiAliasGridFit);
  api::GdipTranslateWorldTransform(g, real(hw), real(hh), gp::MatrixOrderPrepend);
  gp::GpPath* path = nullptr;
  if (api::GdipCreatePath(gp::FillModeAlternate, &path) != gp::Ok) return;
  api::GdipAddPathEllipse(path, real(-hw), real(-hh), real(2.0 * hw), real(2.0 * hh));
  api::GdipClosePathFigure(path);
  api::GdipSetClipPath(g, path, gp::CombineModeReplace);
  api::GdipDeletePath(path);
}

// Every picture starts with an opaque fill of the design square, and the
// clip to the disc has no partly covered pixels, so a picture drawn again
// draws the same pixels.
bool repeats_exactly(void* graphics) { return graphics != nullptr; }

Picture::Picture(void* graphics) : graphics_(graphics) {
  if (graphics_ == nullptr) return;
  gp::GpFontFamily* family = nullptr;
  // A missing face falls back to the generic monospace family rather than
  // leaving the picture without text.
  if (api::GdipCreateFontFamilyFromName(kFontFace, nullptr, &family) != gp::Ok || family == nullptr) {
    family = nullptr;
    if (api::GdipGetGenericFontFamilyMonospace(&family) != gp::Ok) family = nullptr;
  }
  if (family == nullptr) return;
  family_ = family;
  gp::GpFont* font = nullptr;
  if (api::GdipCreateFont(family, kFontPoints, gp::FontStyleRegular, gp::UnitPoint, &font) == gp::Ok)
    font_ = font;
}

Picture::~Picture() {
  if (font_ != nullptr) api::GdipDeleteFont(static_cast<gp::GpFont*>(font_));
  if (family_ != nullptr) api::GdipDeleteFontFamily(static_cast<gp::GpFontFamily*>(family_));
}

void Picture::fill_rect(Colour c, double x, double y, double w, double h) {
  Brush brush(c);
  if (graphics_ == nullptr || brush.brush == nullptr) return;
  api::GdipFillRectangle(context(graphics_), brush.brush, real(x), real(y), real(w), real(h));
}

void Picture::ellipse(Colour c, double width, double x, double y, double w, double h) {
  Pen pen(c, width);
  if (graphics_ == nullptr || pen.pen == nullptr) return;
  api::GdipDrawEllipse(context(graphics_), pen.pen, real(x), real(y), real(w), real(h));
}

void Picture::line(Colour c, double width, double x1, double y1, double x2, double y2) {
  Pen pen(c, width);
  if (graphics_ == nullptr || pen.pen == nullptr) return;
  api::GdipDrawLine(context(graphics_), pen.pen, real(x1), real(y1), real(x2), real(y2));
}

void Picture::text(Colour c, const char* text, double x, double y) {
  if (graphics_ == nullptr || font_ == nullptr || text == nullptr || text[0] == '\0') return;
  WCHAR wide[64];
  int n = 0;
  for (; n < 63 && text[n] != '\0'; ++n) wide[n] = static_cast<unsigned char>(text[n]);
  wide[n] = 0;
  Brush brush(c);
  if (brush.brush == nullptr) return;
  const gp::RectF layout(real(x), real(y), 0.0f, 0.0f);
  api::GdipDrawString(context(graphics_), wide, n, static_cast<gp::GpFont*>(font_), &layout, nullptr,
                      brush.brush);
}

}  // namespace orv::traffic::canvas
