// Draws the radar's picture of a scenario through the real module and writes
// the drawing surface's pixels, so the Windows build (GDI+, under Wine) and the
// native build (Cairo) can be compared:
//
//   radar_picture_probe MODULE SCENARIO SECONDS OUT.bgra
//       runs SCENARIO with one Radar instance up to SECONDS and writes the
//       286 x 286 surface as rows of blue, green, red, unused bytes
//   radar_picture_probe --compare A.bgra B.bgra OUT_PREFIX   (native only)
//       counts the disc's pixels whose colour (which of red, green and blue
//       are lit) has no match one pixel around in the other picture, writes
//       OUT_PREFIX_a.png, _b.png and _diff.png, and exits 1 when more than 60
//       differ (a missing symbol with its tag is about that many)
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "host.h"
#include "module.h"
#include "scenario.h"
#include "scenario_run.h"
#include "support/drawing_surface.h"

namespace {

using namespace orv;
constexpr int kSize = 286;

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int draw(const std::string& module_path, const std::string& scenario_path, double seconds,
         const std::string& out) {
  const std::string dir = scenario_path.substr(0, scenario_path.find_last_of("/\\") + 1);
  const host::Scenario scenario = host::parse_scenario(read_all(scenario_path), scenario_path, dir);
  auto module = host::Module::load(module_path);
  host::SimState state;
  host::Host host(*module, state);
  const std::size_t index = host.add_instance("Radar", 0, 0, 0);
  test::DrawingSurface surface(kSize, kSize);
  for (host::ElementSlot& slot : host.instance(index).elements()) {
    if (slot.element->kind == abi::kStaticImage && (slot.element->flags & 0x26) == 0x26)
      surface.attach(slot.element);
  }
  host::ScenarioRun run(host, scenario, {}, {});
  run.apply_initial();
  host.start();
  const long long frames = std::llround(seconds * host::kTicksPerSecond);
  for (long long f = 0; f <= frames; ++f) run.step([](const auto&, const auto&, const auto&) {});
  const std::vector<unsigned char> pixels = surface.bgra();
  host.stop();
  std::ofstream file(out, std::ios::binary);
  file.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
  return file ? 0 : 3;
}

#if !defined(_WIN32)
void write_png(const std::vector<unsigned char>& bgra, const std::string& path) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSize, kSize);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < kSize; ++y) std::memcpy(data + y * stride, &bgra[y * kSize * 4], kSize * 4);
  cairo_surface_mark_dirty(s);
  cairo_surface_write_to_png(s, path.c_str());
  cairo_surface_destroy(s);
}

int compare(const std::string& a_path, const std::string& b_path, const std::string& prefix) {
  const std::string a_bytes = read_all(a_path), b_bytes = read_all(b_path);
  const std::size_t size = kSize * kSize * 4;
  if (a_bytes.size() != size || b_bytes.size() != size) {
    std::printf("pictures of the wrong size: %zu and %zu bytes\n", a_bytes.size(), b_bytes.size());
    return 1;
  }
  std::vector<unsigned char> a(a_bytes.begin(), a_bytes.end()), b(b_bytes.begin(), b_bytes.end()), diff(size);
  // The two libraries shade thin anti-aliased lines differently (GDI+ draws
  // a half-unit pen a full pixel bright, Cairo at half coverage), so pixels
  // are compared by the colour they show: which of red, green and blue are
  // lit. A pixel differs when no pixel at most one step away in the other
  // picture shows the same colour (edges placed half a pixel apart).
  auto lit = [](const std::vector<unsigned char>& p, int x, int y) {
    int mask = 0;
    for (int c = 0; c < 3; ++c) mask |= p[(y * kSize + x) * 4 + c] > 0x30 ? 1 << c : 0;
    return mask;
  };
  auto near = [&](const std::vector<unsigned char>& p, const std::vector<unsigned char>& q, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int xx = x + dx, yy = y + dy;
        if (xx < 0 || yy < 0 || xx >= kSize || yy >= kSize) continue;
        if (lit(p, x, y) == lit(q, xx, yy)) return true;
      }
    return false;
  };
  int differing = 0, disc = 0;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const double dx = x + 0.5 - kSize / 2.0, dy = y + 0.5 - kSize / 2.0;
      if (dx * dx + dy * dy > (kSize / 2.0 - 1.0) * (kSize / 2.0 - 1.0)) continue;  // the clip's edge
      ++disc;
      if (!near(a, b, x, y) || !near(b, a, x, y)) {
        ++differing;
        diff[(y * kSize + x) * 4 + 2] = 255;
      }
    }
  write_png(a, prefix + "_a.png");
  write_png(b, prefix + "_b.png");
  write_png(diff, prefix + "_diff.png");
  const double share = 100.0 * differing / disc;
  std::printf("%d of %d disc pixels differ (%.2f%%)\n", differing, disc, share);
  return differing <= 60 ? 0 : 1;
}
#endif

}  // namespace

int main(int argc, char** argv) {
#if !defined(_WIN32)
  if (argc == 5 && std::string(argv[1]) == "--compare") return compare(argv[2], argv[3], argv[4]);
#endif
  if (argc != 5) {
    std::fprintf(stderr, "usage: radar_picture_probe MODULE SCENARIO SECONDS OUT.bgra\n");
    return 2;
  }
  try {
    return draw(argv[1], argv[2], std::atof(argv[3]), argv[4]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "radar_picture_probe: %s\n", e.what());
    return 1;
  }
}
