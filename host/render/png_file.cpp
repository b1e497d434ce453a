#include "host/render/png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace orv::render {

namespace {

struct File {
  std::FILE* f;
  ~File() {
    if (f != nullptr) std::fclose(f);
  }
};

// One row of Cairo pixels (native-endian 32-bit words) as PNG bytes.
void convert_row(const unsigned char* in, int width, bool alpha, unsigned char* out) {
  for (int x = 0; x < width; ++x) {
    std::uint32_t p = 0;
    std::memcpy(&p, in + 4 * x, 4);
    const unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    if (!alpha) {
      out[0] = static_cast<unsigned char>(r);
      out[1] = static_cast<unsigned char>(g);
      out[2] = static_cast<unsigned char>(b);
      out += 3;
      continue;
    }
    const unsigned a = p >> 24;
    if (a == 255) {
      out[0] = static_cast<unsigned char>(r);
      out[1] = static_cast<unsigned char>(g);
      out[2] = static_cast<unsigned char>(b);
      out[3] = 255;
    } else if (a == 0) {
      out[0] = out[1] = out[2] = out[3] = 0;
    } else {
      out[0] = static_cast<unsigned char>((r * 255 + a / 2) / a);
      out[1] = static_cast<unsigned char>((g * 255 + a / 2) / a);
      out[2] = static_cast<unsigned char>((b * 255 + a / 2) / a);
      out[3] = static_cast<unsigned char>(a);
    }
    out += 4;
  }
}

// The libpng calls, apart so that nothing with a destructor lives across
// its longjmp.
bool encode(std::FILE* f, const unsigned char* data, int width, int height, int stride, bool alpha, int level,
            unsigned char* row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, f);
  png_set_compression_level(png, level);
  png_set_filter(png, PNG_FILTER_TYPE_BASE,
                 level == 0   ? PNG_FILTER_NONE
                 : level <= 6 ? PNG_FILTER_NONE
                              : PNG_ALL_FILTERS);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    convert_row(data + static_cast<std::ptrdiff_t>(y) * stride, width, alpha, row);
    png_write_row(png, row);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

cairo_status_t write_png(cairo_surface_t* surface, const std::string& path, int level) {
  if (surface == nullptr) return CAIRO_STATUS_NULL_POINTER;
  const cairo_format_t format = cairo_image_surface_get_format(surface);
  if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
    return cairo_surface_write_to_png(surface, path.c_str());
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return cairo_surface_status(surface);
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  if (data == nullptr || width <= 0 || height <= 0) return cairo_surface_write_to_png(surface, path.c_str());
  const bool alpha = format == CAIRO_FORMAT_ARGB32;
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * (alpha ? 4 : 3));
  File file{std::fopen(path.c_str(), "wb")};
  if (file.f == nullptr) return CAIRO_STATUS_WRITE_ERROR;
  const int clamped = level < 0 ? 0 : level > 9 ? 9 : level;
  if (!encode(file.f, data, width, height, stride, alpha, clamped, row.data()))
    return CAIRO_STATUS_WRITE_ERROR;
  if (std::fclose(file.f) != 0) {
    file.f = nullptr;
    return CAIRO_STATUS_WRITE_ERROR;
  }
  file.f = nullptr;
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace orv::render
