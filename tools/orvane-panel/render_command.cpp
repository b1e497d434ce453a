// orvane-panel render: runs a scenario through the substitute host and draws
// what the panel shows at chosen times: one PNG per open panel window, one
// per gauge instance of an open window, and one cockpit sheet with every open
// window laid out and labelled.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "animation.h"
#include "cli.h"
#include "commands.h"
#include "host/panel/host.h"
#include "host/render/canvas.h"
#if !defined(_WIN32)
#include "host/render/picture_memory.h"
#include "host/render/png_file.h"
#endif
#include "host/load/host_error.h"
#include "host/load/output_file.h"
#include "host/load/windows_text.h"
#include "host/panel/screen_layout.h"
#include "host/record/trace_format.h"
#include "host/render/drawing_surfaces.h"
#include "host/render/render.h"
#include "host/scenario/scenario.h"
#include "host/scenario/scenario_run.h"
#include "overlays.h"
#include "screen_painter.h"

namespace orv::panel_tool {

using namespace orv::host;

namespace {

constexpr const char* kRenderHelp =
    "Usage: orvane-panel render [options]\n"
    "\n"
    "Loads the gauge module, places the gauges of a panel, runs a scenario and\n"
    "draws the panel at the requested simulated times. For each time T:\n"
    "\n"
    "  DIR/screen_tT.png                  the screen as the pilot sees it: every open\n"
    "                                     window at its place and size (window_pos,\n"
    "                                     window_size, position, size_mm), on its\n"
    "                                     background bitmap or colour, in stacking\n"
    "                                     order; every virtual cockpit's texture\n"
    "                                     beside it (docs/panels.md)\n"
    "  with --windows:\n"
    "  DIR/tT/windowNN_TITLE.png          every panel window open at T ([WindowNN]\n"
    "                                     of panel.cfg), its gauges at their places\n"
    "  DIR/tT/vcNN_TEXTURE.png            every virtual cockpit ([VcockpitNN]): its\n"
    "                                     texture of pixel_size with its gauges\n"
    "  DIR/tT/instanceKK_GAUGE.png        every gauge instance of an open window\n"
    "                                     (KK: instance index, as the trace numbers\n"
    "                                     them), at its panel size\n"
    "  with --sheet:\n"
    "  DIR/cockpit_tT.png                 all open windows and virtual cockpits\n"
    "                                     side by side, labelled\n"
    "\n"
    "  DIR/tooltips.txt                   the scenario's tooltips, one line each\n"
    "                                     (time, instance, point, text), when it has any\n"
    "\n"
    "T is written with at least one decimal (t12.0, t1.25). The files written are\n"
    "listed on standard output, one per line. Gauges without elements show as a\n"
    "labelled grey box. Every gauge is drawn at its size in the panel, as the\n"
    "trace reports it: the gauge line's width and height; without a width, the\n"
    "gauge's default size; without a height, the width in the proportions of the\n"
    "gauge's first bitmap.\n"
    "\n"
    "Options:\n"
    "  --module PATH        gauge module (default: Orvane_Instr next to this program)\n"
    "  --panel FILE         panel.cfg (default: the scenario's panel, else the built-in one)\n"
    "  --scenario FILE      scenario JSON (default: the built-in scenario)\n"
    "  --at SECONDS         a time to draw (repeatable; default: the scenario's\n"
    "                       \"render_at\" times, else its end, frames / 18 seconds)\n"
    "  --frames N           frames to run, 18 per simulated second, as in trace\n"
    "                       (default: the scenario's, else 36); without --at the\n"
    "                       picture is of the run's end\n"
    "  --out DIR            output directory (default: out)\n"
    "  --screen WxH         the screen the windows are placed on, 16 to 8192 pixels a\n"
    "                       side (default: the panel's own, from its main window)\n"
    "  --windows            also the window and instance pictures\n"
    "  --sheet              also the sheet of all open windows side by side\n"
    "  --set TOKEN=VALUE    hold a token at a value for the whole run (as in trace)\n"
    "  --png-level N        compression of the PNG files, 0 (stored) to 9 (smallest):\n"
    "                       the default 1 writes fastest (runs of colour only), 2 to\n"
    "                       9 are zlib's levels; the pixels are the same\n"
    "  --click INSTANCE:X,Y[:left|right][@SECONDS]\n"
    "                       click gauge point X,Y of an instance (index or gauge\n"
    "                       name) at a simulated time, besides the scenario's clicks;\n"
    "                       X,Y in the gauge's design coordinates (its bitmap's\n"
    "                       pixels, whatever its placed size); INSTANCE:placed:X,Y\n"
    "                       in pixels as placed, INSTANCE:#N mouse record N;\n"
    "                       e.g. Screen_Selector_Main:40,30@1 steps the HUD colour,\n"
    "                       Screen_Selector_Main:40,30:right@1 switches the HUD on/off\n"
    "  --every SECONDS      draw every SECONDS of the run (from --from to --to, default\n"
    "                       the whole scenario), besides the --at times; the times in\n"
    "                       the file names are then padded with zeros (t007.5, t012.0)\n"
    "                       so that the names sort in time order\n"
    "\n"
    "Overlays (on the screen, the window and instance pictures, the sheet and the\n"
    "frames):\n"
    "  --tooltip INSTANCE:X,Y[@SECONDS]\n"
    "                       the pointer rests on point X,Y of an instance from SECONDS\n"
    "                       on (default 0): its tooltip box is drawn where the\n"
    "                       simulator shows it, under the pointer (repeatable)\n"
    "  --show-areas         every mouse record of every instance: click boxes solid\n"
    "                       orange, areas dashed blue, tooltip areas dotted yellow,\n"
    "                       each labelled with its kind, cursor (c5) and the buttons\n"
    "                       a box takes (L left, R right, M pointer movement)\n"
    "  --transparent        window and instance pictures keep the panel's background\n"
    "                       transparent (PNG with alpha) instead of its colour\n"
    "\n"
    "Moving pictures (the flight between --from and --to, at --fps frames per\n"
    "simulated second; still pictures then only for the --at times given):\n"
    "  --animate FILE.gif   one animated GIF that loops (each frame stores what changed)\n"
#if defined(ORV_HAVE_VIDEO)
    "  --animate FILE.mp4   the same as an H.264 video, the smallest (FILE.webm: VP9)\n"
#endif
#if defined(ORV_HAVE_WEBP)
    "  --animate FILE.webp  the same as a lossless animated WebP (every pixel kept)\n"
#endif
    "  --png-sequence       the frame sequence DIR/frames/frame_NNNNN.png\n"
    "  --fps N              frames per second, 1 to 18 (default 6)\n"
    "  --from SECONDS       start of the window (default 0)\n"
    "  --to SECONDS         end of the window (default the scenario's end)\n"
    "  --picture WHAT       what a frame shows: \"screen\" (default: every frame the\n"
    "                       screen's size, windows opening in place), \"cockpit\"\n"
    "                       (the sheet) or a gauge name (its first shown instance)\n"
    "  --scale F            size of the animation's frames, 0.1 to 1 (default 1)\n"
    "  --gif-loss N         how far a GIF's pixels may stray from their colours in\n"
    "                       each primary, 0 to 64 (default 16), for a smaller file;\n"
    "                       0: only where a frame's changes have over 255 colours\n"
    "  A run of many pictures reports its progress on standard error: a bar on a\n"
    "  terminal, else one line per tenth of the run.\n"
    "  --x87 24|53|64       32-bit Windows build: set the x87 unit to this precision\n"
    "                       before every call into the module, as a simulator's\n"
    "                       process may leave it (other builds refuse the option)\n"
    "  --help               this text\n"
    "\n"
    "The substitute host plays no sound unless SDL_AUDIODRIVER names an SDL audio\n"
    "driver; orvane-panel sets it to \"dummy\" when it is unset.\n"
    "\n";

constexpr int kTicks = kTicksPerSecond;
#if defined(_WIN32)
constexpr int kDefaultPngLevel = 1;  // GDI+ chooses its own compression
#else
constexpr int kDefaultPngLevel = render::kFastPngLevel;
#endif

// "12.0", "1.25": at least one decimal, at most three; with `digits`, the
// whole seconds padded with zeros to that many digits ("012.0").
std::string time_label(double t, int digits = 0) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3f", t);
  std::string s = buffer;
  while (s.size() > 1 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
  const auto whole = static_cast<int>(s.find('.'));
  if (whole < digits) s.insert(0, static_cast<std::size_t>(digits - whole), '0');
  return s;
}

// Digits of the whole seconds of the latest of `times`.
int whole_digits(const std::vector<double>& times) {
  const double latest = times.empty() ? 0.0 : *std::max_element(times.begin(), times.end());
  return static_cast<int>(time_label(latest).find('.'));
}

// Lower-case letters, digits and single underscores.
std::string slug(const std::string& text) {
  std::string s;
  for (unsigned char c : text) {
    if (std::isalnum(c)) {
      s += static_cast<char>(std::tolower(c));
    } else if (!s.empty() && s.back() != '_') {
      s += '_';
    }
  }
  while (!s.empty() && s.back() == '_') s.pop_back();
  return s.empty() ? std::string("window") : s;
}

std::string two_digits(std::size_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

using render::Canvas;
using render::Colour;
using render::Image;
using render::PixelFormat;
using Picture = std::unique_ptr<Image>;

void label(Canvas& canvas, double x, double y, double size, const std::string& text, Colour colour,
           bool bold = false) {
  canvas.set_label_font(size, bold);
  canvas.show_text(x, y, text.c_str(), colour);
}

class Renderer {
 public:
  Renderer(Host& host, const ScreenLayout& layout, const render::BitmapStore& bitmaps,
           render::DrawingSurfaces& surfaces, std::string out, std::string scenario_name, int png_level,
           std::string panel_directory)
      : host_(host),
        layout_(layout),
        bitmaps_(bitmaps),
        surfaces_(surfaces),
        out_(std::move(out)),
        scenario_name_(std::move(scenario_name)),
        png_level_(png_level),
        painter_(host, layout, bitmaps, std::move(panel_directory)) {}
  ~Renderer() { forget_pictures(); }
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  // What the pictures show over the panel (see --tooltip, --show-areas,
  // --transparent).
  struct Overlays {
    std::vector<ScenarioTooltip> tooltips;
    bool areas = false;
    bool transparent = false;
  };
  // The pictures of each moment besides the screen (--windows, --sheet).
  struct Kinds {
    bool windows = false;
    bool sheet = false;
  };
  void set_kinds(Kinds kinds) { kinds_ = kinds; }
  void set_overlays(Overlays overlays) { overlays_ = std::move(overlays); }
  // The simulated time of the pictures drawn next.
  void set_time(double t) { now_ = t; }

  void attach_surfaces() {
    for (PlacedInstance& p : host_.instances()) surfaces_.attach(*p.gauge, bitmaps_);
  }

  // Writes every picture of the present moment, labelled `t`: the screen,
  // and as asked the window and instance pictures and the sheet.
  void snapshot(const std::string& t) {
    forget_pictures();
    const std::string dir = out_ + (kinds_.windows ? "/t" + t : std::string());
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) throw HostError(ErrorKind::unreadable, dir + ": cannot create the directory: " + ec.message());
    write(*draw_screen(), out_ + "/screen_t" + t + ".png");
    if (kinds_.windows) {
      for (std::size_t i = 0; i < host_.instances().size(); ++i) {
        if (!host_.shown(i)) continue;
        const PlacedInstance& p = host_.instances()[i];
        write(*instance_on_background(i), dir + "/instance" + two_digits(i) + "_" + p.gauge->name() + ".png");
      }
    }
    if (kinds_.windows || kinds_.sheet) {
      std::vector<Shown> shown;
      const auto& windows = host_.windows();
      for (std::size_t k = 0; k < windows.size(); ++k) {
        const PanelWindow& w = windows[k];
        if (!host_.state().window_open(w.number)) continue;
        Picture s = draw_window(k);
        if (kinds_.windows) write(*s, out_ + "/t" + t + "/" + picture_name(w));
        shown.push_back({&w, std::move(s)});
      }
      if (kinds_.sheet) write(*compose_sheet(shown, t), out_ + "/cockpit_t" + t + ".png");
    }
    forget_pictures();
  }

  // One frame of the moving pictures: the screen (`what` empty), the
  // cockpit sheet ("cockpit") or the first shown instance of a gauge; null
  // when that gauge is not shown. The picture lasts until the next call.
  // The screen alone (no overlays, no virtual cockpits beside it) is kept
  // from frame to frame and only its changed gauges painted again.
  Image* frame_picture(const std::string& what, const std::string& t) {
    forget_pictures();
    frame_.reset();
    if (what.empty() && screen_alone()) {
      const ScreenSize screen = layout_.screen();
      const bool fresh = screen_frame_ == nullptr;
      if (fresh) screen_frame_ = std::make_unique<Image>(screen.width, screen.height, PixelFormat::rgb);
      Canvas canvas(*screen_frame_);
      painter_.update_screen(canvas, fresh, kScreenSurround);
      return screen_frame_.get();
    }
    if (what.empty()) {
      frame_ = draw_screen();
    } else if (what == "cockpit") {
      std::vector<Shown> shown;
      const auto& windows = host_.windows();
      for (std::size_t k = 0; k < windows.size(); ++k)
        if (host_.state().window_open(windows[k].number)) shown.push_back({&windows[k], draw_window(k)});
      frame_ = compose_sheet(shown, t);
    } else {
      for (std::size_t i = 0; i < host_.instances().size() && !frame_; ++i) {
        const PlacedInstance& p = host_.instances()[i];
        if (host_.shown(i) && p.gauge->name() == what) frame_ = instance_on_background(i);
      }
    }
    forget_pictures();
    return frame_.get();
  }

  void write_picture(Image& s, const std::string& path) { write(s, path); }

 private:
  struct Shown {
    const PanelWindow* window;
    Picture picture;
  };

  // The screen picture's colour beside the screen (under the textures).
  static constexpr Colour kScreenSurround{0.12, 0.13, 0.14};

  // Whether the screen picture is the screen alone: no overlays over it,
  // no virtual cockpit's texture beside it.
  bool screen_alone() const {
    if (overlays_.areas || !overlays_.tooltips.empty()) return false;
    for (const PanelWindow& w : host_.windows())
      if (w.virtual_cockpit) return false;
    return true;
  }

  std::uint32_t window_background(std::uint32_t number) const {
    for (const PanelWindow& w : host_.windows())
      if (w.number == number) return w.background_colour;
    return 0;
  }

  // The instance drawn alone on a transparent surface of its panel size,
  // once per moment: its own picture, its window and the sheet all use it.
  const Image& instance_picture(std::size_t i) {
    if (pictures_.size() != host_.instances().size()) pictures_.resize(host_.instances().size());
    if (pictures_[i] == nullptr) {
      const PlacedInstance& p = host_.instances()[i];
      auto s = std::make_unique<Image>(std::max(1, p.width), std::max(1, p.height), PixelFormat::argb);
      Canvas canvas(*s);
      draw_instance(canvas, i);
      pictures_[i] = std::move(s);
    }
    return *pictures_[i];
  }

  // The instance on its window's background (or transparent), as its own
  // picture shows it, with its overlays.
  Picture instance_on_background(std::size_t i) {
    const PlacedInstance& p = host_.instances()[i];
    Picture s = new_picture(p.width, p.height, window_background(p.window));
    Canvas canvas(*s);
    canvas.draw_image(instance_picture(i), 0, 0);
    draw_instance_overlays(canvas, i);
    return s;
  }

  // Drops the instance pictures: the next moment draws them anew.
  void forget_pictures() {
    for (Picture& s : pictures_) s.reset();
  }

  void draw_instance(Canvas& canvas, std::size_t i) {
    const PlacedInstance& p = host_.instances()[i];
    const GaugeInstance& g = *p.gauge;
    if (g.elements().empty()) return paint_placeholder(canvas, g.name(), p.width, p.height);
    render::render_gauge(canvas, g, p.width, p.height, bitmaps_);
  }

  // windowNN_TITLE.png, or vcNN_TEXTURE.png for a virtual cockpit.
  static std::string picture_name(const PanelWindow& w) {
    const std::string nn = two_digits(static_cast<std::size_t>(w.index));
    if (w.virtual_cockpit) return "vc" + nn + "_" + slug(w.texture.empty() ? "texture" : w.texture) + ".png";
    return "window" + nn + "_" +
           slug(w.title.empty() ? w.gauges.empty() ? "window" : w.gauges.front().gauge : w.title) + ".png";
  }

  // A window alone, at its units (a virtual cockpit at its texture's
  // size), on its background bitmap or colour.
  Picture draw_window(std::size_t k) {
    const PanelWindow& w = host_.windows()[k];
    const ScreenSize units = layout_.window_units(k);
    const int width = w.virtual_cockpit ? layout_.window_rect(k).width : units.width;
    const int height = w.virtual_cockpit ? layout_.window_rect(k).height : units.height;
    Picture s = new_picture(width, height, w.background_colour);
    Canvas canvas(*s);
    painter_.paint_background(canvas, k, {0, 0, width, height}, false);
    for (std::size_t i = 0; i < host_.instances().size(); ++i) {
      const PlacedInstance& p = host_.instances()[i];
      if (p.window != w.number) continue;
      if (w.virtual_cockpit) {
        const Rect r = layout_.instance_rect(i);
        draw_instance_at(canvas, i, r);
      } else {
        canvas.draw_image(instance_picture(i), p.x, p.y);
      }
    }
    draw_window_overlays(canvas, w.number, width, height);
    return s;
  }

  // Instance i drawn at rectangle r of the canvas (its size there).
  void draw_instance_at(Canvas& canvas, std::size_t i, const Rect& r) {
    const PlacedInstance& p = host_.instances()[i];
    if (r.width == p.width && r.height == p.height) {
      canvas.draw_image(instance_picture(i), r.x, r.y);
    } else {
      painter_.paint_instance(canvas, i, r);
    }
  }

  // The screen as the pilot sees it: the open windows where the layout
  // puts them, bottom first, each on its background, with the overlays;
  // the virtual cockpits' textures beside it, each under a caption.
  Picture draw_screen() {
    constexpr int kGap = 16, kCaption = 22, kMaxWidth = 16384;
    const ScreenSize screen = layout_.screen();
    const auto& windows = host_.windows();
    // The virtual cockpits' textures in columns right of the screen, each
    // column as tall as the screen (or 2048 pixels); textures that would
    // make the picture wider than 16384 pixels are left out and counted.
    struct Texture {
      std::size_t k;
      int x, y;
    };
    std::vector<Texture> textures;
    const int column_limit = std::max(screen.height, 2048);
    int width = screen.width, height = screen.height, x = screen.width + kGap, y = 0, column = 0,
        left_out = 0;
    for (std::size_t k = 0; k < windows.size(); ++k) {
      if (!windows[k].virtual_cockpit) continue;
      const Rect& r = layout_.window_rect(k);
      if (y > 0 && y + kCaption + r.height > column_limit) {
        x += column + kGap;
        y = column = 0;
      }
      if (x + r.width + kGap > kMaxWidth) {
        ++left_out;
        continue;
      }
      textures.push_back({k, x, y});
      column = std::max(column, r.width);
      y += kCaption + r.height + kGap;
      width = std::max(width, x + r.width + kGap);
      height = std::max(height, y);
    }
    auto s = std::make_unique<Image>(width, height, PixelFormat::rgb);
    Canvas canvas(*s);
    canvas.paint(kScreenSurround);
    painter_.paint_screen(canvas);
    canvas.save();
    canvas.clip(0, 0, screen.width, screen.height);
    for (std::size_t i = 0; overlays_.areas && i < host_.instances().size(); ++i) {
      const std::optional<std::size_t> k = layout_.window_of(i);
      if (!k || windows[*k].virtual_cockpit || !host_.shown(i)) continue;
      const Rect& g = layout_.instance_rect(i);
      const PlacedInstance& p = host_.instances()[i];
      canvas.save();
      canvas.clip(layout_.window_rect(*k).x, layout_.window_rect(*k).y, layout_.window_rect(*k).width,
                  layout_.window_rect(*k).height);
      canvas.translate(g.x, g.y);
      canvas.scale(static_cast<double>(g.width) / std::max(1, p.width),
                   static_cast<double>(g.height) / std::max(1, p.height));
      draw_mouse_areas(canvas, p);
      canvas.restore();
    }
    // Tooltips over everything, kept inside the screen.
    for (const ScenarioTooltip& tip : overlays_.tooltips) {
      if (tip.t > now_ + 0.5 / kTicksPerSecond) continue;
      const std::optional<std::size_t> index = tip.target.resolve(host_);
      if (!index || !host_.shown(*index)) continue;
      const std::optional<std::size_t> k = layout_.window_of(*index);
      if (!k || windows[*k].virtual_cockpit) continue;
      const std::optional<abi::PixPoint> at = pointer(tip, *index);
      if (!at) continue;
      const Rect& g = layout_.instance_rect(*index);
      const PlacedInstance& p = host_.instances()[*index];
      const double sx = g.x + (at->x + 0.5) * g.width / std::max(1, p.width);
      const double sy = g.y + (at->y + 0.5) * g.height / std::max(1, p.height);
      draw_tooltip(canvas, std::floor(sx), std::floor(sy), host_.tooltip(*index, tip.point()).text,
                   screen.width, screen.height);
    }
    canvas.restore();
    for (const Texture& t : textures) {
      const PanelWindow& w = windows[t.k];
      label(canvas, t.x, t.y + 16, 13,
            "Vcockpit" + two_digits(static_cast<std::size_t>(w.index)) + "  texture " +
                (w.texture.empty() ? std::string("(none)") : w.texture),
            {0.8, 0.82, 0.85});
      Picture texture = draw_window(t.k);
      canvas.draw_image(*texture, t.x, t.y + kCaption);
    }
    if (left_out > 0)
      label(canvas, screen.width + kGap, height - 6, 13,
            std::to_string(left_out) + " more virtual cockpit(s) not shown (--windows draws each)",
            {0.8, 0.82, 0.85});
    return s;
  }

  // A picture of the panel's background colour, or transparent.
  Picture new_picture(int width, int height, std::uint32_t background) const {
    auto s = std::make_unique<Image>(std::max(1, width), std::max(1, height),
                                     overlays_.transparent ? PixelFormat::argb : PixelFormat::rgb);
    if (!overlays_.transparent) Canvas(*s).paint(render::colour_of_bgr(background));
    return s;
  }

  // Where the pointer of `tip` rests, in pixels of instance i as placed
  // (nullopt: a mouse record the gauge does not have).
  std::optional<abi::PixPoint> pointer(const ScenarioTooltip& tip, std::size_t i) const {
    if (tip.space == PointSpace::placed) return abi::PixPoint{tip.x, tip.y};
    const std::optional<abi::PixPoint> design = host_.design_point(i, tip.point());
    if (!design) return std::nullopt;
    return host_.placed_point(i, *design);
  }

  // The tooltip of `tip` when its time has come and it names a point of
  // instance `i`, at that point of a picture whose origin is at (dx, dy)
  // from the instance's top left.
  void draw_tooltip_of(Canvas& canvas, const ScenarioTooltip& tip, std::size_t i, int dx, int dy,
                       int picture_w, int picture_h) {
    if (tip.t > now_ + 0.5 / kTicksPerSecond) return;
    const std::optional<std::size_t> index = tip.target.resolve(host_);
    if (!index || *index != i) return;
    const std::optional<abi::PixPoint> at = pointer(tip, i);
    if (!at) return;
    draw_tooltip(canvas, dx + at->x, dy + at->y, host_.tooltip(i, tip.point()).text, picture_w, picture_h);
  }

  void draw_instance_overlays(Canvas& canvas, std::size_t i) {
    const PlacedInstance& p = host_.instances()[i];
    if (overlays_.areas) draw_mouse_areas(canvas, p);
    for (const ScenarioTooltip& tip : overlays_.tooltips)
      draw_tooltip_of(canvas, tip, i, 0, 0, p.width, p.height);
  }

  // Mouse areas of the window's instances, then the tooltips over all of them.
  void draw_window_overlays(Canvas& canvas, std::uint32_t window, int width, int height) {
    const auto& instances = host_.instances();
    for (std::size_t i = 0; overlays_.areas && i < instances.size(); ++i) {
      if (instances[i].window != window) continue;
      canvas.save();
      canvas.translate(instances[i].x, instances[i].y);
      draw_mouse_areas(canvas, instances[i]);
      canvas.restore();
    }
    for (const ScenarioTooltip& tip : overlays_.tooltips)
      for (std::size_t i = 0; i < instances.size(); ++i)
        if (instances[i].window == window)
          draw_tooltip_of(canvas, tip, i, instances[i].x, instances[i].y, width, height);
  }

  // Windows in panel order, left to right in rows no wider than the widest
  // window or 2200 pixels, each under a caption.
  Picture compose_sheet(const std::vector<Shown>& shown, const std::string& t) {
    constexpr int kMargin = 16, kCaption = 24, kTitle = 40, kMaxRow = 2200;
    int row_limit = kMaxRow;
    for (const Shown& s : shown) row_limit = std::max(row_limit, s.picture->width());
    struct Place {
      int x, y;
    };
    std::vector<Place> places;
    std::vector<std::string> captions;
    int x = kMargin, y = kTitle + kMargin, row_height = 0, sheet_w = 480;
    Image scratch(1, 1, PixelFormat::rgb);
    Canvas measure(scratch);
    measure.set_label_font(13, false);
    for (const Shown& s : shown) {
      const PanelWindow& win = *s.window;
      int w = s.picture->width();
      const int h = s.picture->height();
      const std::string size = std::to_string(w) + " x " + std::to_string(h);
      // panel.cfg is Windows text, as the simulator reads it.
      captions.push_back(win.virtual_cockpit
                             ? "Vcockpit" + two_digits(static_cast<std::size_t>(win.index)) + "  texture " +
                                   utf8_from_windows_1252(win.texture) + "  (" + size + ")"
                             : "Window" + two_digits(static_cast<std::size_t>(win.index)) + "  " +
                                   utf8_from_windows_1252(win.title) + "  (window " +
                                   std::to_string(win.number) + ", " + size + ")");
      w = std::max(w, static_cast<int>(std::ceil(measure.text_advance(captions.back().c_str()))));
      if (x > kMargin && x + w + kMargin > row_limit) {
        x = kMargin;
        y += row_height + kMargin;
        row_height = 0;
      }
      places.push_back({x, y});
      x += w + kMargin;
      sheet_w = std::max(sheet_w, x);
      row_height = std::max(row_height, h + kCaption);
    }
    const int sheet_h = y + row_height + kMargin;
    auto sheet = std::make_unique<Image>(sheet_w, sheet_h, PixelFormat::rgb);
    Canvas canvas(*sheet);
    canvas.paint({0.12, 0.13, 0.14});
    label(canvas, kMargin, 27, 18,
          "Orvane cockpit - scenario " +
              (scenario_name_.empty() ? std::string("(unnamed)") : scenario_name_) + " - t = " + t + " s",
          {0.9, 0.9, 0.9}, true);
    if (shown.empty())
      label(canvas, kMargin, kTitle + kMargin + 14, 14, "no panel window is open", {0.7, 0.7, 0.7});
    for (std::size_t k = 0; k < shown.size(); ++k) {
      const int px = places[k].x, py = places[k].y;
      const int ww = shown[k].picture->width();
      const int wh = shown[k].picture->height();
      label(canvas, px, py + 16, 13, captions[k], {0.8, 0.82, 0.85});
      canvas.draw_image(*shown[k].picture, px, py + kCaption);
      canvas.stroke_rect(px - 0.5, py + kCaption - 0.5, ww + 1.0, wh + 1.0, {0.35, 0.37, 0.4}, 1.0);
    }
    return sheet;
  }

  void write(Image& s, const std::string& path) {
    const std::string error = render::write_png(s, path, png_level_);
    if (!error.empty()) throw HostError(ErrorKind::unreadable, path + ": cannot write: " + error);
    std::cout << shown_path(path) << "\n";
  }

  Host& host_;
  const ScreenLayout& layout_;
  const render::BitmapStore& bitmaps_;
  render::DrawingSurfaces& surfaces_;
  std::string out_;
  std::string scenario_name_;
  Overlays overlays_;
  double now_ = 0.0;
  int png_level_;
  std::vector<Picture> pictures_;  // by instance index; null: not drawn yet
  Kinds kinds_;
  ScreenPainter painter_;
  Picture frame_;         // the last frame_picture, unless it is the kept screen
  Picture screen_frame_;  // the screen alone, kept from frame to frame
};

// The moving pictures asked for.
struct Motion {
  std::string gif;
  bool frames = false;
  double fps = 6.0, from = 0.0;
  std::optional<double> to;
  std::string picture;  // empty: the screen; "cockpit": the sheet; else a gauge name
  double scale = 1.0;
  double every = 0.0;  // --every: still pictures at this interval, 0: none
  int gif_loss = kDefaultGifLoss;
  bool wanted() const { return frames || !gif.empty(); }
};

// What render is asked to draw, from its command line.
struct RenderRequest {
  CommonOptions common;
  std::string out = "out";
  std::vector<double> times;  // --at
  Motion motion;
  int png_level = kDefaultPngLevel;
  Renderer::Overlays overlays;
  Renderer::Kinds kinds;
  std::optional<ScreenSize> screen;
  std::optional<int> frames;
};

double number_option(const std::string& option, const std::string& v, double lo, double hi,
                     const char* what) {
  double x = 0.0;
  if (!parse_seconds(v, x) || x < lo || x > hi)
    throw UsageError{option + " needs " + what + ", not '" + v + "'"};
  return x;
}

// Reads the command line into `request`; an exit code when the command ends
// there (--help, a bad option).
std::optional<int> parse_render_options(const Args& args, RenderRequest& request) {
  Motion& motion = request.motion;
  auto number = [](const char* option, double lo, double hi, const char* what, double& out) {
    return value_option(option, "SECONDS",
                        [=, &out](const std::string& v) { out = number_option(option, v, lo, hi, what); });
  };
  OptionTable table = run_options(request.common);
  table.push_back(frames_option(request.frames));
  table.push_back(tooltip_option(request.overlays.tooltips));
  table.push_back(value_option("--animate", "FILE.gif", [&](const std::string& v) {
    motion.gif = v;
    if (motion.gif.empty()) throw UsageError{"--animate needs a file name"};
    if (!Animation::supported(motion.gif))
      throw UsageError{"--animate " + motion.gif + ": the name needs to end in " + Animation::formats()};
  }));
  table.push_back(flag_option("--png-sequence", motion.frames));
  table.push_back(number("--fps", 1.0, 18.0, "a frame rate from 1 to 18", motion.fps));
  table.push_back(number("--from", 0.0, 86400.0, "a time in seconds from 0 to 86400", motion.from));
  table.push_back(value_option("--to", "SECONDS", [&](const std::string& v) {
    motion.to = number_option("--to", v, 0.0, 86400.0, "a time in seconds from 0 to 86400");
  }));
  table.push_back(value_option("--picture", "WHAT", [&](const std::string& v) {
    if (v.empty()) throw UsageError{"--picture needs screen, cockpit or a gauge name"};
    motion.picture = v == "screen" ? std::string() : v;
  }));
  table.push_back(value_option("--screen", "WxH", [&](const std::string& v) {
    request.screen = parse_screen_size(v);
    if (!request.screen)
      throw UsageError{"--screen needs WIDTHxHEIGHT, each 16 to 8192 pixels, not '" + v + "'"};
  }));
  table.push_back(flag_option("--windows", request.kinds.windows));
  table.push_back(flag_option("--sheet", request.kinds.sheet));
  table.push_back(number("--scale", 0.1, 1.0, "a factor from 0.1 to 1", motion.scale));
  table.push_back(value_option("--gif-loss", "N", [&](const std::string& v) {
    if (!parse_int(v, motion.gif_loss) || motion.gif_loss < 0 || motion.gif_loss > kMostGifLoss)
      throw UsageError{"--gif-loss needs a whole number from 0 to " + std::to_string(kMostGifLoss) +
                       ", not '" + v + "'"};
  }));
  table.push_back(value_option("--png-level", "N", [&](const std::string& v) {
    if (v.size() != 1 || v[0] < '0' || v[0] > '9')
      throw UsageError{"--png-level needs a zlib level from 0 to 9, not '" + v + "'"};
    request.png_level = v[0] - '0';
  }));
  table.push_back(value_option("--every", "SECONDS", [&](const std::string& v) {
    motion.every = number_option("--every", v, 0.0, 86400.0, "an interval in seconds above 0");
    if (motion.every <= 0.0) throw UsageError{"--every needs an interval in seconds above 0"};
  }));
  table.push_back(flag_option("--show-areas", request.overlays.areas));
  table.push_back(flag_option("--transparent", request.overlays.transparent));
  table.push_back(value_option("--out", "DIR", [&](const std::string& v) {
    request.out = v;
    if (request.out.empty()) throw UsageError{"--out needs a directory"};
  }));
  table.push_back(value_option("--at", "SECONDS", [&](const std::string& v) {
    double t = 0.0;
    if (!parse_seconds(v, t) || t > 86400.0)
      throw UsageError{"--at needs a time in seconds from 0 to 86400, not '" + v + "'"};
    request.times.push_back(t);
  }));
  return parse_command_line("render", kRenderHelp, args, table);
}

// When pictures are drawn.
struct RenderPlan {
  std::vector<double> times;             // still pictures, in order, one a simulation frame
  int digits = 0;                        // whole seconds' digits in their names (padded under --every)
  std::vector<long long> motion_frames;  // the simulation frame of each moving picture's frame
};

// The still pictures' times and the moving pictures' frames: --at and
// --every, else the scenario's render_at times (unless --frames or moving
// pictures are asked for), else the run's end; moving pictures from --from
// to --to at --fps.
RenderPlan plan_pictures(const RenderRequest& request, const Scenario& scenario) {
  const Motion& motion = request.motion;
  RenderPlan plan;
  std::vector<double>& times = plan.times;
  times = request.times;
  const double end = static_cast<double>(request.frames.value_or(scenario.frames.value_or(36))) / kTicks;
  // The end of the --every and moving pictures' window.
  double to = end;
  if (motion.every > 0.0 || motion.wanted()) {
    to = motion.to.value_or(end);
    if (to < motion.from) throw HostError(ErrorKind::usage, "--to comes before --from");
  }
  const bool given = !times.empty() || motion.every > 0.0;
  if (!given && !motion.wanted() && !request.frames) times = scenario.render_at;
  if (times.empty() && !given && !motion.wanted()) times.push_back(end);
  if (motion.every > 0.0) {
    if ((to - motion.from) / motion.every > 100000.0)
      throw HostError(ErrorKind::usage, "--every would draw more than 100000 times; give a longer interval");
    for (long k = 0; motion.from + static_cast<double>(k) * motion.every <= to + 1e-9; ++k)
      times.push_back(motion.from + static_cast<double>(k) * motion.every);
  }
  std::sort(times.begin(), times.end());
  // Times that fall on one frame are drawn once.
  times.erase(
      std::unique(times.begin(), times.end(),
                  [](double a, double b) { return std::llround(a * kTicks) == std::llround(b * kTicks); }),
      times.end());
  plan.digits = motion.every > 0.0 ? whole_digits(times) : 0;
  if (motion.wanted()) {
    for (long k = 0;; ++k) {
      const double t = motion.from + static_cast<double>(k) / motion.fps;
      if (t > to + 1e-9) break;
      plan.motion_frames.push_back(std::llround(t * kTicks));
    }
  }
  return plan;
}

// The moving pictures being made: the animation file and the PNG sequence.
class Film {
 public:
  Film(const Motion& motion, const std::string& out, const std::vector<long long>& frames)
      : motion_(motion), out_(out), frames_(frames) {
    if (!motion.gif.empty())
      animation_ = Animation::open(motion.gif, motion.fps, motion.scale, motion.gif_loss);
    if (motion.frames) {
      std::error_code ec;
      std::filesystem::create_directories(out + "/frames", ec);
      if (ec)
        throw HostError(ErrorKind::unreadable, out + "/frames: cannot create the directory: " + ec.message());
    }
  }

  // Adds the moving pictures' frames that fall on simulation frame `f`.
  void add(long long f, Renderer& renderer, const std::function<void()>& step) {
    for (; next_ < frames_.size() && frames_[next_] == f; ++next_) {
      Image* const picture =
          renderer.frame_picture(motion_.picture, time_label(static_cast<double>(f) / kTicks));
      if (picture == nullptr)
        throw HostError(ErrorKind::usage, "--picture " + motion_.picture +
                                              ": no instance of that gauge is shown at " +
                                              time_label(static_cast<double>(f) / kTicks) + " s");
      if (motion_.frames) {
        char name[48];
        std::snprintf(name, sizeof name, "/frames/frame_%05zu.png", next_);
        renderer.write_picture(*picture, out_ + name);
      }
      if (animation_) animation_->add(*picture);
      step();
    }
  }

  // Finishes the animation file and lists it.
  void close() {
    if (!animation_) return;
    animation_->close();
    std::cout << shown_path(motion_.gif) << "\n";
  }

 private:
  const Motion& motion_;
  const std::string& out_;
  const std::vector<long long>& frames_;
  std::size_t next_ = 0;
  std::unique_ptr<Animation> animation_;
};

// The scenario's tooltips that are due, one line each of tooltips.txt
// ("t=0.5 Baro_Pressure 5,5 \"text\"").
void ask_due_tooltips(const Scenario& scenario, const ScenarioRun& run, Host& host, std::size_t& next,
                      std::vector<std::string>& lines) {
  for (; next < scenario.tooltips.size() && run.due(scenario.tooltips[next].t); ++next) {
    const ScenarioTooltip& tip = scenario.tooltips[next];
    const std::optional<std::size_t> index = tip.target.resolve(host);
    const TooltipResult shown = index ? host.tooltip(*index, tip.point()) : TooltipResult{};
    lines.push_back("t=" + time_label(tip.t) + " " + tip.target.describe() + " " +
                    std::to_string(shown.at.x) + "," + std::to_string(shown.at.y) + " \"" +
                    escape_text(shown.text.c_str()) + "\"");
  }
}

// Writes DIR/tooltips.txt, when there are tooltips, and lists it.
void write_tooltips(const std::string& out, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  const std::string path = out + "/tooltips.txt";
  std::error_code ec;
  std::filesystem::create_directories(out, ec);  // a run of moving pictures alone may not have made it
  OutputFile file(path);
  for (const std::string& line : lines) {
    file.write(line.data(), line.size());
    file.write("\n", 1);
  }
  file.commit_or_throw();
  std::cout << shown_path(path) << "\n";
}

// Runs the scenario on the panel and draws the planned pictures.
void draw_pictures(RenderRequest& request, const Inputs& inputs, const RenderPlan& plan) {
  const Scenario& scenario = inputs.scenario;
  auto module = Module::load(request.common.module.value_or(default_module_path()));
  require_gauges(*module, request.common.clicks, request.overlays.tooltips);
  if (!request.motion.picture.empty()) require_gauge(*module, request.motion.picture, "--picture");
  const render::BitmapStore bitmaps =
      render::BitmapStore::from_module(reinterpret_cast<void*>(module->handle()));
  // The surfaces outlive the host, whose shutdown may still reach them.
  render::DrawingSurfaces surfaces;
  SimState state;
  Host host(*module, state);
  place_panel(host, inputs);
  const ScreenLayout layout(host.windows(), host.instances(), request.screen);
  Renderer renderer(host, layout, bitmaps, surfaces, request.out, scenario.name, request.png_level,
                    inputs.panel_directory);
  renderer.set_overlays(std::move(request.overlays));
  renderer.set_kinds(request.kinds);
  renderer.attach_surfaces();

  ScenarioRun run(host, scenario, std::move(request.common.sets), request.common.clicks);
  run.apply_initial();
  host.start();
  Film film(request.motion, request.out, plan.motion_frames);
  const long pictures = static_cast<long>(plan.motion_frames.size() + plan.times.size());
  // Still pictures alone report only on a terminal; frames always.
  Progress progress("render: frame", pictures, plan.motion_frames.size() > 1);
  const auto step = [&] {
    if (pictures > 1) progress.step();
  };

  // The frame of time t is the one nearest to it; clicks are due as in the
  // trace.
  std::size_t next_time = 0, next_tooltip = 0;
  std::vector<std::string> tooltip_lines;
  long long last_frame = plan.times.empty() ? 0 : std::llround(plan.times.back() * kTicks);
  if (!plan.motion_frames.empty()) last_frame = std::max(last_frame, plan.motion_frames.back());
  for (long long f = 0; f <= last_frame; ++f) {
    run.step([](const ScenarioClick& c, std::optional<std::size_t> index, const ClickResult&) {
      if (!index)
        std::fprintf(stderr, "orvane-panel: warning: click at %s s: no instance %s\n",
                     time_label(c.t).c_str(), printable(c.target.describe()).c_str());
    });
    state.clear_logs();
    // Tooltips read what the drawing surfaces show, so they are asked for
    // here, where the surfaces exist.
    ask_due_tooltips(scenario, run, host, next_tooltip, tooltip_lines);
    renderer.set_time(static_cast<double>(f) / kTicks);
    while (next_time < plan.times.size() && std::llround(plan.times[next_time] * kTicks) == f) {
      renderer.snapshot(time_label(plan.times[next_time++], plan.digits));
      step();
    }
    film.add(f, renderer, step);
  }
  host.stop();
  write_tooltips(request.out, tooltip_lines);
  if (pictures > 1) progress.done();
  film.close();
}

}  // namespace

int run_render(const Args& args) {
  RenderRequest request;
  if (auto exit = parse_render_options(args, request)) return *exit;
#if !defined(_WIN32)
  render::prepare_picture_memory();
#endif
  return report_errors([&] {
    const Inputs inputs = load_inputs(request.common.scenario, request.common.panel);
    draw_pictures(request, inputs, plan_pictures(request, inputs.scenario));
    std::fflush(stdout);
    return int{kExitOk};
  });
}

}  // namespace orv::panel_tool
