// The flight map's own layer drawn by the platform's back end, for comparing
// the Windows build (GDI, run under Wine) with the native one (Cairo).
//
//   map_picture draw SCENARIO SECONDS SIZE OUT.ppm
//       flies SCENARIO's flight plan with the host's GPS up to SECONDS and
//       draws the layer on a SIZE x SIZE surface through the gauge's
//       pre-draw call, into a binary PPM
//   map_picture compare A.ppm B.ppm [SIDE_BY_SIDE.png]      (native only)
//       exit 0 when every lit pixel of each picture has a lit pixel at most
//       one pixel away in the other (edge smoothing is the only difference
//       allowed); optionally writes both pictures side by side
//
// A plain program (no test framework): the Windows build has none.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "frame/registry.h"
#include "gps_service.h"
#include "host_error.h"
#include "map/flight_map.h"
#include "scenario.h"
#include "simulator.h"
#include "support/drawing_surface.h"

namespace {

using namespace orv;

struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // rows top down
};

bool write_ppm(const Picture& p, const char* path) {
  std::FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return false;
  std::fprintf(f, "P6\n%d %d\n255\n", p.width, p.height);
  const bool ok = std::fwrite(p.rgb.data(), 1, p.rgb.size(), f) == p.rgb.size();
  return std::fclose(f) == 0 && ok;
}

// The layer drawn on a SIZE x SIZE surface through the gauge's pre-draw
// call, as a host gives the gauge its surface.
Picture draw_layer(int size) {
  test::DrawingSurface target(size, size, 0x80);
  abi::GaugeHeader& gauge = gauges::flight_map;
  abi::ElementHeader* surface = gauge.elements[0]->next[0];
  target.attach(surface);
  gauge.callback(&gauge, abi::kServicePreDraw, 0);
  reinterpret_cast<abi::StaticElement*>(surface)->device_context = nullptr;
  reinterpret_cast<abi::StaticElement*>(surface)->image.final_image = nullptr;
  const std::vector<unsigned char> bgra = target.bgra();
  Picture p{size, size, std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size * 3)};
  for (std::size_t i = 0; i < p.rgb.size() / 3; ++i) {
    p.rgb[3 * i] = bgra[4 * i + 2];
    p.rgb[3 * i + 1] = bgra[4 * i + 1];
    p.rgb[3 * i + 2] = bgra[4 * i];
  }
  return p;
}

int draw(const char* scenario_path, double seconds, int size, const char* out) {
  const std::string path = scenario_path;
  const host::Scenario scenario = host::parse_scenario(host::read_file(path), path, "");
  host::SimState state;
  scenario.apply_initial(state);
  const auto last = static_cast<long long>(std::llround(seconds * host::kTicksPerSecond));
  for (long long f = 0; f <= last; ++f) {
    state.begin_frame(f);
    scenario.apply_at(state, state.time());
    state.advance_sources();
  }
  map::gps_block = state.named_data(host::kGpsBlockName);
  if (map::gps_block == nullptr) {
    std::fprintf(stderr, "%s: no flight plan\n", scenario_path);
    return 1;
  }
  const Picture p = draw_layer(size);
  if (p.rgb.empty() || !write_ppm(p, out)) {
    std::fprintf(stderr, "cannot draw or write %s\n", out);
    return 1;
  }
  return 0;
}

#if !defined(_WIN32)
bool read_ppm(const char* path, Picture& p) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  int max = 0;
  const bool header = std::fscanf(f, "P6 %d %d %d", &p.width, &p.height, &max) == 3 && std::fgetc(f) != EOF;
  if (!header || p.width <= 0 || p.height <= 0 || p.width > 8192 || p.height > 8192) {
    std::fclose(f);
    return false;
  }
  p.rgb.resize(static_cast<std::size_t>(p.width) * p.height * 3);
  const bool ok = std::fread(p.rgb.data(), 1, p.rgb.size(), f) == p.rgb.size();
  std::fclose(f);
  return ok;
}

bool lit(const Picture& p, int x, int y) {
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return false;
  const std::uint8_t* px = &p.rgb[(static_cast<std::size_t>(y) * p.width + x) * 3];
  return px[0] + px[1] + px[2] > 3 * 128;
}

// Lit pixels of `a` with no lit pixel of `b` within one pixel.
int unmatched(const Picture& a, const Picture& b) {
  int n = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (!lit(a, x, y)) continue;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy)
        for (int dx = -1; dx <= 1 && !near; ++dx) near = lit(b, x + dx, y + dy);
      n += near ? 0 : 1;
    }
  }
  return n;
}

void write_side_by_side(const Picture& a, const Picture& b, const char* path) {
  constexpr int kGap = 8;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, a.width + kGap + b.width,
                                                  a.height > b.height ? a.height : b.height);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  std::memset(data, 0x40, static_cast<std::size_t>(stride) * cairo_image_surface_get_height(s));
  auto blit = [&](const Picture& p, int left) {
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        const std::uint8_t* px = &p.rgb[(static_cast<std::size_t>(y) * p.width + x) * 3];
        const std::uint32_t v = 0xFF000000u | px[0] << 16 | px[1] << 8 | px[2];
        std::memcpy(data + y * stride + (left + x) * 4, &v, 4);
      }
  };
  blit(a, 0);
  blit(b, a.width + kGap);
  cairo_surface_mark_dirty(s);
  cairo_surface_write_to_png(s, path);
  cairo_surface_destroy(s);
}

int compare(const char* a_path, const char* b_path, const char* side_by_side) {
  Picture a, b;
  if (!read_ppm(a_path, a) || !read_ppm(b_path, b)) {
    std::fprintf(stderr, "cannot read %s or %s\n", a_path, b_path);
    return 1;
  }
  if (side_by_side != nullptr) write_side_by_side(a, b, side_by_side);
  if (a.width != b.width || a.height != b.height) {
    std::fprintf(stderr, "sizes differ: %dx%d and %dx%d\n", a.width, a.height, b.width, b.height);
    return 1;
  }
  const int ab = unmatched(a, b), ba = unmatched(b, a);
  std::printf("%s against %s: %d and %d lit pixels without a counterpart\n", a_path, b_path, ab, ba);
  return ab == 0 && ba == 0 ? 0 : 1;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::strcmp(argv[1], "draw") == 0)
    return draw(argv[2], std::atof(argv[3]), std::atoi(argv[4]), argv[5]);
#if !defined(_WIN32)
  if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "compare") == 0)
    return compare(argv[2], argv[3], argc == 5 ? argv[4] : nullptr);
#endif
  std::fprintf(stderr,
               "usage: map_picture draw SCENARIO SECONDS SIZE OUT.ppm | compare A.ppm B.ppm [OUT.png]\n");
  return 2;
}
