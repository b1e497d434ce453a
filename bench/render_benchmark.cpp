// Frames per second of the renderer drawing one full cockpit set at 1x size:
// the HUD, both displays (navigation arc, engine page), the standby
// attitude indicator, the flight map, a screen selector and the radar, built
// here from the module's real bitmaps with their element kinds and places.
// With ORV_RENDER_SAMPLES=DIR set, the set is also written there as PNGs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/render/render.h"
#include "platform/module_resources.h"

namespace {

using namespace orv::abi;
using orv::host::ElementValues;

constexpr u32 kQuartzGreen = 0x0039F508;

// One synthetic gauge instance: a background and a chain of elements.
struct Gauge {
  std::string name;
  GaugeHeader header{};
  std::deque<StaticElement> statics;
  std::deque<NeedleElement> needles;
  std::deque<TextElement> texts;
  std::deque<SliderElement> sliders;
  std::deque<IconElement> icons;
  std::deque<MovingImageElement> movers;
  std::deque<SpriteElement> sprites;
  std::deque<std::vector<NeedlePoint>> tables;
  std::deque<std::string> strings;
  std::vector<ElementHeader*> order;
  std::deque<std::array<ElementHeader*, 2>> links;
  ElementHeader* roots[2] = {nullptr, nullptr};
  std::map<const ElementHeader*, ElementValues> values;

  ElementHeader* push(ElementHeader* e, ElementValues v) {
    e->flags |= 0;
    if (order.empty()) {
      roots[0] = e;
      header.elements = roots;
    } else {
      links.push_back({e, nullptr});
      order.back()->next = links.back().data();
    }
    order.push_back(e);
    values[e] = v;
    return e;
  }
  void image(u32 id, int x, int y, u32 flags = 0x3) {
    statics.emplace_back();
    statics.back().h = {.kind = kStaticImage, .bitmap = id, .position = {x, y}, .flags = flags};
    push(&statics.back().h, {});
  }
  void icon(u32 id, int x, int y, double index = 0) {
    icons.emplace_back();
    icons.back().h = {.kind = kIcon, .bitmap = id, .position = {x, y}, .flags = 0x7};
    push(&icons.back().h, {{index, 0, 0}, true});
  }
  void needle(u32 id, int x, int y, PixPoint pivot, std::vector<NeedlePoint> table, double v) {
    needles.emplace_back();
    NeedleElement& n = needles.back();
    n.h = {.kind = kNeedle, .bitmap = id, .position = {x, y}, .offset = pivot, .flags = 0x87};
    tables.push_back(std::move(table));
    n.table = tables.back().empty() ? nullptr : tables.back().data();
    n.table_count = static_cast<u32>(tables.back().size());
    push(&n.h, {{v, 0, 0}, true});
  }
  void slider(u32 id, int x, int y, double dx, double dy) {
    sliders.emplace_back();
    sliders.back().h = {.kind = kSlider, .bitmap = id, .position = {x, y}, .flags = 0x87};
    sliders.back().x_scale = sliders.back().y_scale = 1.0;
    push(&sliders.back().h, {{dx, dy, 0}, true});
  }
  void mover(u32 id, int x, int y, double v) {
    movers.emplace_back();
    MovingImageElement& m = movers.back();
    m.h = {.kind = kMovingImage, .bitmap = id, .position = {x, y}, .flags = 0x87};
    m.max_x = 360;
    push(&m.h, {{v, 0, 0}, true});
  }
  void sprite(u32 id, int x, int y, PixPoint centre, double ty, double angle) {
    sprites.emplace_back();
    SpriteElement& s = sprites.back();
    s.h = {.kind = kSprite, .bitmap = id, .position = {x, y}, .flags = 0x87};
    s.centre = centre;
    s.y_scale = s.angle_scale = 1.0;
    push(&s.h, {{0, ty, angle}, true});
  }
  void text(int x, int y, int w, int h, const char* font, u32 colour, u32 format, const char* s) {
    texts.emplace_back();
    TextElement& t = texts.back();
    t.h = {.kind = kText, .bitmap = kNoBitmap, .position = {x, y}, .flags = 0x7};
    strings.emplace_back(s);
    t.text = strings.back().data();
    t.max_chars = static_cast<u16>(strings.back().size());
    t.box = {w, h};
    t.text_colour = colour;
    std::snprintf(t.font, sizeof t.font, "%s", font);
    t.font_weight = 400;
    t.format = format;
    push(&t.h, {});
  }
};

std::vector<std::unique_ptr<Gauge>> cockpit() {
  std::vector<std::unique_ptr<Gauge>> set;
  auto add = [&](const char* name) {
    set.push_back(std::make_unique<Gauge>());
    set.back()->name = name;
    return set.back().get();
  };

  Gauge* hud = add("Head_Up_Display");
  hud->image(1000, 0, 0);
  hud->icon(1010, 0, 0, 1);
  hud->icon(1020, 19, 9, 0);
  hud->icon(1260, 89, 73, 0);
  hud->icon(1210, 166, 140, 0);
  hud->text(150, 155, 18, 9, "Quartz", kQuartzGreen, 0x25, "274");
  hud->icon(1200, 34, 157, 0);
  hud->slider(1220, 31, 110, 0, -4);
  hud->slider(1160, 100, 154, 8, 0);
  hud->text(7, 66, 48, 9, "Quartz", kQuartzGreen, 0x25, "AOA 4.2");
  hud->text(28, 77, 24, 9, "Quartz", kQuartzGreen, 0x25, " 312");
  hud->mover(1120, 42, 139, 274);
  hud->sprite(1080, 19, 9, {102, 82}, -3 * 6.0, 0);
  hud->sprite(1040, 19, 9, {102, 82}, 4 * 6.0, 12);
  hud->text(153, 77, 30, 9, "Quartz", kQuartzGreen, 0x25, " 4500");
  hud->needle(1030, 102, 82, {0, 3}, {{{52, 82}, -90, 0}, {{152, 82}, 90, 0}}, -12);

  Gauge* left = add("Multi_Function_Display_Left");
  left->image(3030, 0, 0, 0);
  left->icon(3300, 0, 0);
  left->sprite(3310, 0, 0, {143, 212}, 0, 274);
  left->sprite(3350, 0, 0, {143, 212}, 0, -40);
  left->sprite(3340, 0, 0, {143, 212}, 0, 25);
  left->sprite(3330, 0, 0, {143, 212}, 0, 16);
  left->sprite(3380, 0, 0, {143, 212}, 0, 6);
  left->sprite(3360, 0, 0, {143, 212}, 0, 6);
  left->sprite(3370, 0, 0, {143, 212}, 0, 6);
  left->icon(3320, 133, 210);
  left->icon(3390, 259, 107);
  left->slider(3400, 259, 154, 0, 12);
  const u32 white = 0x00FFFFFF, cyan = 0x00FFFF00, nav2 = 0x0028FF07;
  left->text(128, 5, 36, 18, "Geneva", white, 0x25, "274");
  left->text(10, 5, 36, 24, "Geneva", cyan, 0x20, "OX");
  left->text(10, 23, 72, 24, "Geneva", cyan, 0x20, "0344.5");
  left->text(192, 5, 84, 24, "Geneva", white, 0x22, "CRS 280");
  left->text(245, 227, 36, 24, "Geneva", nav2, 0x20, "TAC");
  left->text(10, 227, 54, 24, "Geneva", white, 0x20, "ILS");
  left->text(10, 245, 72, 24, "Geneva", white, 0x20, "110.30");
  left->text(209, 245, 72, 24, "Geneva", nav2, 0x22, "113.90");
  left->text(10, 264, 96, 24, "Geneva", white, 0x20, "DME 12.4");
  left->text(185, 264, 96, 24, "Geneva", nav2, 0x22, "DME 31.0");
  left->text(171, 218, 52, 21, "Geneva", white, 0x25, " TO ");

  Gauge* right = add("Multi_Function_Display_Right");
  right->image(2000, 0, 0, 0);
  struct Dial {
    int cx, cy;
    double v, lo, hi;
    double caps[5];
  };
  static constexpr Dial kDials[] = {
      {216, 232, 48, 0, 220, {50, 100, 150, 200, 220}},
      {70, 232, 47, 0, 220, {50, 100, 150, 200, 220}},
      {216, 102, 1180, 200, 1400, {500, 800, 1100, 1250, 1300}},
      {70, 102, 700, 200, 1400, {500, 800, 1100, 1250, 1300}},
      {216, 167, 98, 0, 110, {30, 60, 90, 100, 110}},
      {70, 167, 88, 0, 110, {30, 60, 90, 100, 110}},
      {216, 37, 104, 0, 110, {30, 60, 90, 100, 110}},
      {70, 37, 92, 0, 110, {30, 60, 90, 100, 110}},
  };
  for (const Dial& d : kDials) {
    static constexpr u32 kWedge[5] = {2200, 2190, 2180, 2180, 2180};
    static constexpr int kCap[5] = {4, 3, 2, 1, 0};
    for (int w = 0; w < 5; ++w)
      right->needle(kWedge[w], d.cx, d.cy, {0, 31},
                    {{{d.cx - 21, d.cy + 22}, d.lo, 0}, {{d.cx + 22, d.cy + 22}, d.hi, 0}},
                    std::min(d.v, d.caps[kCap[w]]));
  }
  right->icon(2160, 0, 0);
  const u32 green = 0x0000FF00;
  right->text(52, 26, 36, 24, "Geneva", green, 0x25, " 92");
  right->text(198, 26, 36, 24, "Geneva", green, 0x25, "104");
  right->text(46, 93, 48, 24, "Geneva", green, 0x25, " 700");
  right->text(192, 93, 48, 24, "Geneva", green, 0x25, "1180");
  right->text(52, 156, 36, 24, "Geneva", green, 0x25, " 88");
  right->text(198, 156, 36, 24, "Geneva", green, 0x25, " 98");
  right->text(52, 223, 36, 24, "Geneva", green, 0x25, " 47");
  right->text(198, 223, 36, 24, "Geneva", green, 0x25, " 48");
  right->text(235, 267, 36, 24, "Geneva", 0x00FFFF00, 0x25, " 64");

  Gauge* att = add("Attitude");
  att->image(390, 0, 0);
  att->sprite(400, 65, 50, {150, 135}, 2 * 4.0, 12);
  att->sprite(430, 65, 50, {150, 135}, 2 * -2.0, 12);
  att->needle(410, 150, 135, {0, 6}, {{{230, 135}, -90, 0}, {{70, 135}, 90, 0}}, -12);
  att->image(420, 0, 0);
  att->mover(440, 90, 4, 274);
  att->text(3, 8, 80, 30, "Arial Narrow", green, 0x25, " 312");
  att->text(214, 8, 60, 30, "Arial Narrow", green, 0x25, " 45");
  att->text(274, 15, 28, 23, "Arial Narrow", green, 0x25, "00");
  att->text(30, 237, 28, 23, "Arial Narrow", green, 0x25, "48");
  att->text(10, 232, 20, 30, "Arial Narrow", green, 0x25, "0");
  att->text(241, 239, 56, 21, "Arial Narrow", green, 0x25, "1013");

  Gauge* map = add("Flight_Map");
  map->image(1400, 0, 0);
  map->image(1410, 0, 0, 0x26);
  map->icon(1460, 0, 0);
  map->icon(1450, 0, 0);
  map->sprite(1420, 0, 0, {143, 143}, 0, 274);
  map->icon(1430, 136, 4);
  map->icon(1490, 252, 269, 1);
  map->icon(1480, 218, 269, 1);
  map->icon(1470, 184, 269, 0);
  map->text(75, 194, 70, 24, "Geneva", cyan, 0x20, "420 kt");
  map->text(75, 218, 70, 24, "Geneva", cyan, 0x20, "271\xB0");
  map->text(211, 194, 70, 21, "Geneva", cyan, 0x20, " 312 kt");

  Gauge* sel = add("Screen_Selector_Main");
  sel->image(270, 0, 0, 0);
  sel->icon(280, 0, 0);
  static constexpr int kButtons[9][3] = {{370, 153, 117}, {360, 82, 117}, {350, 11, 117},
                                         {340, 153, 63},  {330, 82, 63},  {320, 11, 63},
                                         {310, 153, 9},   {300, 82, 9},   {290, 11, 9}};
  for (const auto& b : kButtons)
    sel->icon(b[0], b[1], b[2], b[0] == 290 || b[0] == 350 || b[0] == 360 ? 1 : 0);
  sel->text(64, 178, 160, 24, "Arial", 0x00FFFF00, 0x25, "14:32:07");

  Gauge* radar = add("Radar");
  radar->image(3000, 0, 0);
  radar->image(3010, 2, 3, 0x26);
  radar->text(3, 3, 50, 16, "Quartz", green, 0x25, " 15 nm");
  return set;
}

void render_set(const std::vector<std::unique_ptr<Gauge>>& set, const orv::render::BitmapStore& store,
                const char* dir) {
  for (const auto& g : set) {
    int w = 0, h = 0;
    store.size(g->roots[0]->bitmap, &w, &h);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 0.09, 0.1, 0.11);
    cairo_paint(cr);
    orv::render::render_gauge(cr, g->header, w, h, store,
                              [&g](const ElementHeader* e) { return g->values.at(e); });
    cairo_destroy(cr);
    if (dir) cairo_surface_write_to_png(s, (std::string(dir) + "/" + g->name + ".png").c_str());
    cairo_surface_destroy(s);
  }
}

void BM_RenderCockpitSet(benchmark::State& state) {
  orv::render::BitmapStore store(orv_module_resource);
  const auto set = cockpit();
  render_set(set, store, std::getenv("ORV_RENDER_SAMPLES"));
  for (auto _ : state) render_set(set, store, nullptr);
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderCockpitSet)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
