#include "host/render/png_file.h"

#include <png.h>

#if defined(ORV_HAVE_LIBDEFLATE)
#include <libdeflate.h>
#else
#include <zlib.h>
#endif

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include <bit>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "host/load/host_error.h"
#include "host/load/output_file.h"
#include "host/render/png_deflate.h"

namespace orv::render {

namespace {

void store32(unsigned char* out, std::uint32_t v) { std::memcpy(out, &v, 4); }

#if defined(__x86_64__) || defined(__i386__)
// Four pixels at a time, in one byte shuffle: opaque colour to R, G, B (the
// 4 bytes after the 12 are overwritten by the next pixels or lie in the
// room after the row), and to R, G, B, A while all four are opaque. Returns
// the pixels converted.
__attribute__((target("ssse3"))) int convert_opaque_ssse3(const unsigned char* in, int width, bool alpha,
                                                          unsigned char* out) {
  const __m128i rgb = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
  const __m128i rgba = _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * x));
    if (!alpha) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_shuffle_epi8(v, rgb));
      continue;
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(v, opaque), opaque)) != 0xFFFF) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_shuffle_epi8(v, rgba));
  }
  return x;
}

bool have_ssse3() {
  static const bool have = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") != 0;
  }();
  return have;
}
#endif

// One row of Cairo pixels (native-endian 32-bit words) as PNG bytes. An
// opaque pixel is a byte swap written as a whole word (four in one shuffle
// where the processor has one): `out` has room for 4 bytes more than the
// row's (the next row's filter byte, written after, and room).
void convert_row(const unsigned char* in, int width, bool alpha, unsigned char* out) {
  constexpr bool kLittle = std::endian::native == std::endian::little;
  if (!alpha) {
    int x = 0;
#if defined(__x86_64__) || defined(__i386__)
    if (have_ssse3()) x = convert_opaque_ssse3(in, width, false, out);
#endif
    for (out += 3 * x; x < width; ++x, out += 3) {
      std::uint32_t p = 0;
      std::memcpy(&p, in + 4 * x, 4);
      if constexpr (kLittle) {
        store32(out, __builtin_bswap32(p << 8));  // R, G, B and a byte the next pixel overwrites
      } else {
        out[0] = static_cast<unsigned char>(p >> 16);
        out[1] = static_cast<unsigned char>(p >> 8);
        out[2] = static_cast<unsigned char>(p);
      }
    }
    return;
  }
  for (int x = 0; x < width; ++x, out += 4) {
#if defined(__x86_64__) || defined(__i386__)
    if ((x & 3) == 0 && have_ssse3()) {
      const int n = convert_opaque_ssse3(in + 4 * x, width - x, true, out);
      x += n;
      out += 4 * n;
      if (x >= width) break;
    }
#endif
    std::uint32_t p = 0;
    std::memcpy(&p, in + 4 * x, 4);
    const unsigned a = p >> 24;
    if (a == 255 && kLittle) {
      store32(out, std::rotr(__builtin_bswap32(p), 8));  // R, G, B, A
    } else if (a == 0) {
      store32(out, 0);
    } else {
      // Cairo's premultiplied components back to straight alpha, rounded.
      const unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      out[0] = static_cast<unsigned char>((r * 255 + a / 2) / a);
      out[1] = static_cast<unsigned char>((g * 255 + a / 2) / a);
      out[2] = static_cast<unsigned char>((b * 255 + a / 2) / a);
      out[3] = static_cast<unsigned char>(a);
    }
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

// Writes `v` big-endian at `at`; returns the end.
unsigned char* put32(unsigned char* at, std::uint32_t v) {
  at[0] = static_cast<unsigned char>(v >> 24);
  at[1] = static_cast<unsigned char>(v >> 16);
  at[2] = static_cast<unsigned char>(v >> 8);
  at[3] = static_cast<unsigned char>(v);
  return at + 4;
}

std::uint32_t crc32_of(const unsigned char* data, std::size_t size) {
#if defined(ORV_HAVE_LIBDEFLATE)
  return libdeflate_crc32(0, data, size);
#else
  return static_cast<std::uint32_t>(crc32_z(crc32(0, nullptr, 0), data, size));
#endif
}

// A PNG chunk at `at` (12 + size bytes): length, type, data, and the CRC of
// type and data. Returns its end.
unsigned char* chunk(unsigned char* at, const char* type, const unsigned char* data, std::size_t size) {
  at = put32(at, static_cast<std::uint32_t>(size));
  unsigned char* const start = at;
  std::memcpy(at, type, 4);
  if (size != 0) std::memcpy(at + 4, data, size);
  return put32(at + 4 + size, crc32_of(start, size + 4));
}

#if defined(ORV_HAVE_LIBDEFLATE)
// Buffers kept from one file to the next: a render writes dozens of files,
// and fresh buffers of megabytes cost a page fault per page.
struct Scratch {
  std::unique_ptr<unsigned char[]> data;
  std::size_t size = 0;
  unsigned char* get(std::size_t n) {
    if (n > size) {
      data.reset(new unsigned char[n]);
      size = n;
    }
    return data.get();
  }
};

struct Compressor {
  libdeflate_compressor* compressor = nullptr;
  int level = -1;
  ~Compressor() {
    if (compressor != nullptr) libdeflate_free_compressor(compressor);
  }
  libdeflate_compressor* get(int wanted) {
    if (compressor == nullptr || level != wanted) {
      if (compressor != nullptr) libdeflate_free_compressor(compressor);
      compressor = libdeflate_alloc_compressor(wanted);
      level = compressor != nullptr ? wanted : -1;
    }
    return compressor;
  }
};
#endif

// The rows of a Cairo surface as PNG scanlines without row filter.
struct Rows {
  const unsigned char* data;
  int width, stride;
  bool alpha;
  static void scanline(void* context, int y, unsigned char* row) {
    const auto* r = static_cast<const Rows*>(context);
    row[0] = 0;  // filter type: none
    convert_row(r->data + static_cast<std::ptrdiff_t>(y) * r->stride, r->width, r->alpha, row + 1);
  }
};

// The same pixels as libpng writes without row filters (8-bit RGB or RGBA,
// one IDAT chunk): at the fastest level compressed row by row by
// deflate_scanlines, at the others converted whole and compressed in one
// call by libdeflate.
bool encode_whole(std::FILE* f, const unsigned char* data, int width, int height, int stride, bool alpha,
                  int level) {
  Rows rows{data, width, stride, alpha};
  const unsigned char* packed = nullptr;
  std::size_t packed_size = 0;
  if (level == kFastPngLevel) {
    thread_local std::vector<unsigned char> packed_buffer;
    packed_size = deflate_scanlines(width, height, alpha ? 4 : 3, &Rows::scanline, &rows, packed_buffer);
    packed = packed_buffer.data();
  } else {
#if defined(ORV_HAVE_LIBDEFLATE)
    thread_local Scratch raw_scratch, packed_scratch;
    thread_local Compressor compressors;
    // Every byte of the rows is written before it is read; the 4 bytes after
    // them take the last pixel's whole-word write.
    const std::size_t row_len = 1 + static_cast<std::size_t>(width) * (alpha ? 4 : 3);
    const std::size_t raw_size = row_len * static_cast<std::size_t>(height);
    unsigned char* const raw = raw_scratch.get(raw_size + 4);
    for (int y = 0; y < height; ++y) Rows::scanline(&rows, y, raw + static_cast<std::size_t>(y) * row_len);
    libdeflate_compressor* const compressor = compressors.get(level);
    if (compressor == nullptr) return false;
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor, raw_size);
    unsigned char* const out = packed_scratch.get(bound);
    packed_size = libdeflate_zlib_compress(compressor, raw, raw_size, out, bound);
    packed = out;
#endif
  }
  if (packed == nullptr || packed_size == 0 || packed_size > 0x7FFFFFFF) return false;

  // The signature, then IHDR with its 13 bytes, IDAT and IEND, written into
  // a buffer of the file's size (appending to a vector here makes GCC 12 at
  // -O3 report a false overflow).
  thread_local std::vector<unsigned char> file;
  file.resize(8 + (12 + 13) + (12 + packed_size) + 12);
  static const unsigned char kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  std::memcpy(file.data(), kSignature, 8);
  unsigned char header[13];
  put32(put32(header, static_cast<std::uint32_t>(width)), static_cast<std::uint32_t>(height));
  const unsigned char rest[5] = {8, static_cast<unsigned char>(alpha ? 6 : 2), 0, 0, 0};
  std::memcpy(header + 8, rest, 5);
  unsigned char* at = chunk(file.data() + 8, "IHDR", header, sizeof header);
  at = chunk(at, "IDAT", packed, packed_size);
  chunk(at, "IEND", nullptr, 0);
  return std::fwrite(file.data(), 1, file.size(), f) == file.size();
}

cairo_status_t write_png_stream(cairo_surface_t* surface, host::OutputFile& out, int level) {
  auto to_file = [](void* closure, const unsigned char* data, unsigned int length) {
    return static_cast<host::OutputFile*>(closure)->write(data, length) ? CAIRO_STATUS_SUCCESS
                                                                        : CAIRO_STATUS_WRITE_ERROR;
  };
  if (surface == nullptr) return CAIRO_STATUS_NULL_POINTER;
  const cairo_format_t format = cairo_image_surface_get_format(surface);
  if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
    return cairo_surface_write_to_png_stream(surface, to_file, &out);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return cairo_surface_status(surface);
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  if (data == nullptr || width <= 0 || height <= 0)
    return cairo_surface_write_to_png_stream(surface, to_file, &out);
  const bool alpha = format == CAIRO_FORMAT_ARGB32;
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * (alpha ? 4 : 3) + 4);
  const int clamped = level < 0 ? 0 : level > 9 ? 9 : level;
  // The fastest level by deflate_scanlines, libdeflate at the other levels
  // without row filters, libpng's zlib otherwise.
#if defined(ORV_HAVE_LIBDEFLATE)
  const bool whole = clamped >= 1 && clamped <= 6;
#else
  const bool whole = clamped == kFastPngLevel;
#endif
  const bool written = whole ? encode_whole(out.stream(), data, width, height, stride, alpha, clamped)
                             : encode(out.stream(), data, width, height, stride, alpha, clamped, row.data());
  return written ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

cairo_status_t write_png(cairo_surface_t* surface, const std::string& path, int level) {
  // Written to a temporary name and renamed when whole: a file that cannot
  // be finished (a full disk) is not left behind cut short.
  std::optional<host::OutputFile> file;
  try {
    file.emplace(path);
  } catch (const host::HostError&) {
    return CAIRO_STATUS_WRITE_ERROR;
  }
  const cairo_status_t status = write_png_stream(surface, *file, level);
  if (status != CAIRO_STATUS_SUCCESS) return status;
  return file->commit().empty() ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace orv::render
