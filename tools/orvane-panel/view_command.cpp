// orvane-panel view: the panel live in a window. The host runs the panel at
// the simulator's 18 updates a second, playing the scenario; real left and
// right clicks go to the gauge under the pointer, which shows the cursor its
// areas ask for and their tooltip. The keyboard pauses, steps and speeds the
// flight and moves the main flight tokens; the module is reloaded when its
// file changes.
//
// A script (--script) drives the same window with input events at simulated
// times, as fast as the machine runs, for tests and demonstrations.
#include <SDL.h>
#include <cairo.h>
#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "host.h"
#include "host_error.h"
#include "render/drawing_surfaces.h"
#include "render/png_file.h"
#include "render/render.h"
#include "scenario_run.h"
#include "stop_request.h"
#include "token_names.h"
#include "view_script.h"

namespace orv::panel_tool {

using namespace orv::host;

namespace {

// Sanitizer builds only: the GL driver (Mesa's dri/*.so) that the window
// system loads with the window and unloads at exit keeps a few allocations
// of its own to the end. Once unloaded, nothing points to them any more and
// the leak checker reports them (under an address no library holds), which
// turned every exit, SIGINT and SIGTERM too, into exit 1. Kept loaded, they
// stay reachable from the driver's own data and nothing of ours is hidden.
void keep_gl_driver_loaded() {
#if defined(__SANITIZE_ADDRESS__)
  dl_iterate_phdr(
      [](struct dl_phdr_info* info, std::size_t, void*) {
        if (info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "/dri/") != nullptr)
          dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
        return 0;
      },
      nullptr);
#endif
}

constexpr const char* kViewHelp =
    "Usage: orvane-panel view [options]\n"
    "\n"
    "Runs the panel live in a window at 18 updates a second, playing the\n"
    "scenario (the built-in one by default; after its end the flight holds).\n"
    "Left and right clicks go to the gauge under the pointer; the pointer shows\n"
    "the cursor and the tooltip of the area under it. The module is reloaded\n"
    "(and the scenario restarted) when its file changes.\n"
    "\n"
    "Keys:\n"
    "  Space        pause or resume          .   one frame (while paused)\n"
    "  + / -        double or halve the speed (1/8 to 8 times)\n"
    "  Up / Down    pitch 1 degree nose up or down\n"
    "  Left / Right bank 2 degrees left or right\n"
    "  [ / ]        heading 5 degrees left or right\n"
    "  PgUp / PgDn  airspeed 10 knots up or down\n"
    "  Home / End   altitude 100 feet up or down\n"
    "  Backspace    give the flight tokens back to the scenario\n"
    "  R            restart the scenario        Q or Escape  quit\n"
    "\n"
    "Options:\n"
    "  --module PATH    gauge module (default: Orvane_Instr next to this program)\n"
    "  --panel FILE     panel.cfg (default: the scenario's panel, else the built-in one)\n"
    "  --scenario FILE  scenario JSON (default: the built-in scenario)\n"
    "  --set TOKEN=VALUE, --click INSTANCE:X,Y[:left|right][@SECONDS]\n"
    "                   as for trace\n"
    "  --scale F        window scale, 0.25 to 4 (default 1)\n"
    "  --script FILE    input events at simulated times, run without waiting;\n"
    "                   one per line: SECONDS click X,Y [left|right] |\n"
    "                   SECONDS move X,Y | SECONDS key NAME |\n"
    "                   SECONDS screenshot FILE.png | SECONDS quit\n"
    "                   (X,Y in window pixels at scale 1, NAME an SDL key name;\n"
    "                   a step at time t comes after the frame of t has run,\n"
    "                   and the flight runs on whatever the pause key says)\n"
    "  --screenshot FILE.png  writes the window's picture when the viewer ends\n"
    "  --help           this text\n"
    "\n"
    "Standard output: one line per click (instance, point, what the gauge\n"
    "did), per key event the module sent, per window opened or closed, per\n"
    "reload, and per screenshot written.\n"
    "\n";

constexpr double kTicks = 18.0;

// The flight tokens the keyboard moves, with their step per key press.
struct FlightKey {
  SDL_Keycode key;
  std::uint32_t token;
  double step;
};
constexpr FlightKey kFlightKeys[] = {
    {SDLK_UP, 78, -1.0},          {SDLK_DOWN, 78, 1.0},          // pitch: negative nose up
    {SDLK_LEFT, 80, 2.0},         {SDLK_RIGHT, 80, -2.0},        // bank: negative in a right bank
    {SDLK_LEFTBRACKET, 84, -5.0}, {SDLK_RIGHTBRACKET, 84, 5.0},  // heading
    {SDLK_PAGEUP, 61, 10.0},      {SDLK_PAGEDOWN, 61, -10.0},    // airspeed
    {SDLK_HOME, 74, 100.0},       {SDLK_END, 74, -100.0},        // altitude
};

// Where a window of w x h sits on a screen of sw x sh by its `position`
// (0 top left, 1 top centre, 2 top right, 3 to 5 the middle row, 6 to 8 the
// bottom row).
SDL_Point anchored(int position, int w, int h, int sw, int sh) {
  const int column = std::clamp(position, 0, 8) % 3, row = std::clamp(position, 0, 8) / 3;
  return {column == 0   ? 0
          : column == 1 ? (sw - w) / 2
                        : sw - w,
          row == 0   ? 0
          : row == 1 ? (sh - h) / 2
                     : sh - h};
}

void set_colour(cairo_t* cr, std::uint32_t bgr) {
  cairo_set_source_rgb(cr, (bgr & 0xFF) / 255.0, ((bgr >> 8) & 0xFF) / 255.0, ((bgr >> 16) & 0xFF) / 255.0);
}

// Everything one loaded module needs, built and torn down together (a reload
// makes a new one). The surfaces outlive the host, whose shutdown may still
// reach them.
struct Session {
  Session(const std::string& module_path, const Inputs& inputs, const CommonOptions& common)
      : module(Module::load(module_path)),
        bitmaps(render::BitmapStore::from_module(reinterpret_cast<void*>(module->handle()))),
        host(std::make_unique<Host>(*module, state)),
        run(*host, inputs.scenario, common.sets, common.clicks) {
    place_panel(*host, inputs);
    for (PlacedInstance& p : host->instances()) surfaces.attach(*p.gauge, bitmaps);
    run.apply_initial();
    host->start();
  }
  ~Session() {
    if (host) host->stop();
    host.reset();
  }

  std::unique_ptr<Module> module;
  render::BitmapStore bitmaps;
  render::DrawingSurfaces surfaces;
  SimState state;
  std::unique_ptr<Host> host;
  ScenarioRun run;
  long long frame = 0;
};

class Viewer {
 public:
  Viewer(std::string module_path, Inputs inputs, CommonOptions common, double scale)
      : module_path_(std::move(module_path)),
        inputs_(std::move(inputs)),
        common_(std::move(common)),
        scale_(scale) {
    load();
    screen_w_ = 320;
    screen_h_ = 240;
    for (const PanelWindow& w : session_->host->windows()) {
      if (w.virtual_cockpit) continue;
      screen_w_ = std::max(screen_w_, w.size_mm_x);
      screen_h_ = std::max(screen_h_, w.size_mm_y);
    }
  }
  ~Viewer() {
    for (SDL_Cursor* c : cursors_)
      if (c != nullptr) SDL_FreeCursor(c);
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (picture_ != nullptr) cairo_surface_destroy(picture_);
  }

  void open_window() {
    const int w = static_cast<int>(std::lround(screen_w_ * scale_));
    const int h = static_cast<int>(std::lround(screen_h_ * scale_));
    window_ =
        SDL_CreateWindow("orvane-panel view", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, w, h, 0);
    if (window_ == nullptr)
      throw HostError(ErrorKind::unavailable,
                      std::string("cannot open a window (no display?): ") + SDL_GetError());
    // The picture is drawn by Cairo; the window only shows it, which the
    // software renderer does as well as any without a GPU driver.
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr)
      throw HostError(ErrorKind::unavailable, std::string("cannot draw into the window: ") + SDL_GetError());
    keep_gl_driver_loaded();
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h);
    picture_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cursors_[0] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    cursors_[1] = arrow_cursor(true);
    cursors_[2] = arrow_cursor(false);
    cursors_[3] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
  }

  // Runs until the user quits (live) or the script ends; the exit code.
  int run(const std::optional<ViewScript>& script, const std::string& final_screenshot) {
    std::size_t next = 0;
    Uint64 last = SDL_GetPerformanceCounter();
    double due = 0.0;  // frames owed to real time
    bool quit = false;
    while (!quit) {
      // SIGINT and SIGTERM end the viewer too, also while it is paused.
      throw_if_stop_requested();
      // Script events are pushed as SDL events at their frame, so they take
      // the same way as real input.
      // A step at time t comes once the frame of that time (the nearest
      // one, as render --at takes it) has run.
      if (script) {
        const long long ran = session_->frame - 1;
        for (; next < script->steps.size() && std::llround(script->steps[next].t * kTicks) <= ran; ++next)
          push(script->steps[next]);
        if (next == script->steps.size() && !pending_quit_) push(ViewStep{0.0, ViewStep::Kind::quit});
      }
      SDL_Event e;
      while (SDL_PollEvent(&e) != 0) quit = handle(e) || quit;
      if (quit) break;
      if (script) {
        advance();
      } else {
        const Uint64 now = SDL_GetPerformanceCounter();
        due += static_cast<double>(now - last) / static_cast<double>(SDL_GetPerformanceFrequency()) * kTicks *
               speed_;
        last = now;
        due = std::min(due, 4.0);  // a stall does not make the flight race
        while (!paused_ && due >= 1.0) {
          advance();
          due -= 1.0;
        }
        if (paused_) due = 0.0;
        reload_if_changed();
      }
      present();
      if (!script) SDL_Delay(5);
    }
    if (!final_screenshot.empty()) screenshot(final_screenshot);
    return int{kExitOk};
  }

 private:
  void load() {
    session_.reset();
    session_ = std::make_unique<Session>(module_path_, inputs_, common_);
    std::error_code ec;
    module_time_ = std::filesystem::last_write_time(module_path_, ec);
  }

  void reload_if_changed() {
    if (++reload_check_ % 18 != 0) return;
    std::error_code ec;
    const auto t = std::filesystem::last_write_time(module_path_, ec);
    if (ec || t == module_time_) return;
    std::printf("reload %s\n", module_path_.c_str());
    std::fflush(stdout);
    load();
  }

  Host& host() { return *session_->host; }
  // The time of the last frame run.
  double now() const { return static_cast<double>(std::max(0LL, session_->frame - 1)) / kTicks; }

  void advance() {
    Session& s = *session_;
    s.run.step([](const ScenarioClick&, std::optional<std::size_t>, const ClickResult&) {});
    ++s.frame;
    report_logs();
  }

  // Key events and window changes since the last report.
  void report_logs() {
    SimState& state = session_->state;
    const double t = now();
    for (const KeyEventRecord& k : state.key_events())
      std::printf("t=%.2f key_event %u %u\n", t, k.event, k.value);
    for (const WindowChange& w : state.window_changes())
      std::printf("t=%.2f window %u %s\n", t, w.window, w.open ? "open" : "closed");
    std::fflush(stdout);
    state.clear_logs();
  }

  void push(const ViewStep& step) {
    SDL_Event e{};
    const int x = static_cast<int>(std::lround(step.x * scale_)),
              y = static_cast<int>(std::lround(step.y * scale_));
    switch (step.kind) {
      case ViewStep::Kind::click:
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = step.right ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT;
        e.button.x = x;
        e.button.y = y;
        break;
      case ViewStep::Kind::move:
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        break;
      case ViewStep::Kind::key:
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = step.key;
        break;
      case ViewStep::Kind::screenshot:
        screenshot_requests_.push_back(step.file);
        e.type = SDL_USEREVENT;
        break;
      case ViewStep::Kind::quit:
        pending_quit_ = true;
        e.type = SDL_QUIT;
        break;
    }
    SDL_PushEvent(&e);
  }

  // True when the viewer should end.
  bool handle(const SDL_Event& e) {
    switch (e.type) {
      case SDL_QUIT:
        return true;
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT || e.button.button == SDL_BUTTON_RIGHT)
          click(e.button.x, e.button.y,
                e.button.button == SDL_BUTTON_RIGHT ? MouseButton::right : MouseButton::left);
        return false;
      case SDL_MOUSEMOTION:
        pointer_ = SDL_Point{e.motion.x, e.motion.y};
        pointer_inside_ = true;
        return false;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_LEAVE) pointer_inside_ = false;
        return false;
      case SDL_KEYDOWN:
        return key(e.key.keysym.sym);
      case SDL_USEREVENT:
        present();
        for (const std::string& f : screenshot_requests_) screenshot(f);
        screenshot_requests_.clear();
        return false;
      default:
        return false;
    }
  }

  bool key(SDL_Keycode k) {
    switch (k) {
      case SDLK_ESCAPE:
      case SDLK_q:
        return true;
      case SDLK_SPACE:
        paused_ = !paused_;
        break;
      case SDLK_PERIOD:
        if (paused_) advance();
        break;
      case SDLK_PLUS:
      case SDLK_EQUALS:
      case SDLK_KP_PLUS:
        speed_ = std::min(8.0, speed_ * 2.0);
        break;
      case SDLK_MINUS:
      case SDLK_KP_MINUS:
        speed_ = std::max(0.125, speed_ / 2.0);
        break;
      case SDLK_BACKSPACE:
        release_flight_tokens();
        break;
      case SDLK_r:
        load();
        break;
      default:
        for (const FlightKey& f : kFlightKeys)
          if (f.key == k) nudge(f.token, f.step);
        break;
    }
    return false;
  }

  // Holds a flight token at its present value plus `step` (heading wrapped).
  void nudge(std::uint32_t token, double step) {
    TokenSets& held = session_->run.held();
    auto it = std::find_if(held.begin(), held.end(), [&](const auto& h) { return h.first == token; });
    double v = 0.0;
    if (it != held.end()) {
      v = it->second.as_double();
    } else if (const TokenValue* now = session_->state.token(token); now != nullptr) {
      v = now->as_double();
    }
    v += step;
    if (token == 84) v = std::fmod(std::fmod(v, 360.0) + 360.0, 360.0);
    if (it != held.end())
      it->second = TokenValue::of_number(v);
    else
      held.emplace_back(token, TokenValue::of_number(v));
  }

  void release_flight_tokens() {
    TokenSets& held = session_->run.held();
    std::erase_if(held, [](const auto& h) {
      return std::any_of(std::begin(kFlightKeys), std::end(kFlightKeys),
                         [&](const FlightKey& f) { return f.token == h.first; });
    });
    for (const auto& set : common_.sets) held.push_back(set);  // the command line's own stay held
  }

  // The shown window and instance under a window point, topmost first: later
  // windows over earlier, later instances over earlier.
  struct Hit {
    std::size_t instance;
    int x, y;  // in the instance's placed pixels
  };
  std::optional<Hit> hit(int wx, int wy) {
    const int sx = static_cast<int>(std::floor(wx / scale_)), sy = static_cast<int>(std::floor(wy / scale_));
    const auto& windows = host().windows();
    for (auto w = windows.rbegin(); w != windows.rend(); ++w) {
      if (w->virtual_cockpit || !session_->state.window_open(w->number)) continue;
      const SDL_Point at = anchored(w->position, w->size_mm_x, w->size_mm_y, screen_w_, screen_h_);
      const int x = sx - at.x, y = sy - at.y;
      if (x < 0 || y < 0 || x >= w->size_mm_x || y >= w->size_mm_y) continue;
      const auto& instances = host().instances();
      for (std::size_t i = instances.size(); i-- > 0;) {
        const PlacedInstance& p = instances[i];
        if (p.window != w->number) continue;
        if (x >= p.x && y >= p.y && x < p.x + p.width && y < p.y + p.height) return Hit{i, x - p.x, y - p.y};
      }
      return std::nullopt;  // the window's background takes the click
    }
    return std::nullopt;
  }

  void click(int wx, int wy, MouseButton button) {
    const std::optional<Hit> h = hit(wx, wy);
    const double t = now();
    const char* name = button == MouseButton::right ? "right" : "left";
    if (!h) {
      std::printf("t=%.2f click %d,%d %s: no gauge\n", t, wx, wy, name);
      return;
    }
    const ClickResult r = host().click(h->instance, h->x, h->y, button);
    std::printf("t=%.2f click instance %zu %s %d,%d %s: ", t, h->instance,
                host().instances()[h->instance].gauge->name(), h->x, h->y, name);
    if (r.rect < 0)
      std::printf("no box\n");
    else if (r.event != 0)
      std::printf("box %d sent %u\n", r.rect, r.event);
    else
      std::printf("box %d%s\n", r.rect, r.called ? " called" : "");
    report_logs();
  }

  static SDL_Cursor* arrow_cursor(bool up) {
    // A 16 x 16 arrow: a triangle head over a stem, white with a black edge.
    Uint8 data[32] = {}, mask[32] = {};
    for (int row = 0; row < 16; ++row) {
      const int r = up ? row : 15 - row;
      int half = row < 8 ? row : 2;  // head widens, then the stem
      if (row >= 14) half = -1;
      for (int x = 8 - half - 1; x <= 8 + half; ++x) {
        if (half < 0 || x < 0 || x > 15) continue;
        const bool edge = x == 8 - half - 1 || x == 8 + half || row == 7 || row == 13;
        mask[r * 2 + x / 8] |= static_cast<Uint8>(0x80 >> (x % 8));
        if (edge) data[r * 2 + x / 8] |= static_cast<Uint8>(0x80 >> (x % 8));
      }
    }
    return SDL_CreateCursor(data, mask, 16, 16, 8, up ? 0 : 15);
  }

  void show_cursor(abi::i32 cursor) {
    SDL_Cursor* c = cursors_[0];
    if (cursor == abi::kCursorUp) c = cursors_[1];
    if (cursor == abi::kCursorDown) c = cursors_[2];
    if (cursor == abi::kCursorHand) c = cursors_[3];
    if (c != nullptr && c != SDL_GetCursor()) SDL_SetCursor(c);
  }

  void draw_instance(cairo_t* cr, const PlacedInstance& p) {
    const GaugeInstance& g = *p.gauge;
    if (g.elements().empty()) return;
    render::render_gauge(cr, g.header(), p.width, p.height, session_->bitmaps, g.value_lookup());
  }

  void draw_tooltip(cairo_t* cr, const std::string& text, double x, double y) {
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12);
    cairo_text_extents_t te;
    cairo_text_extents(cr, text.c_str(), &te);
    const double w = te.x_advance + 8, h = 18;
    const double bx = std::min(x + 12, screen_w_ * scale_ - w - 1),
                 by = std::min(y + 20, screen_h_ * scale_ - h - 1);
    cairo_rectangle(cr, bx + 0.5, by + 0.5, w, h);
    cairo_set_source_rgb(cr, 1.0, 1.0, 0.88);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_move_to(cr, bx + 4.5, by + 13.5);
    cairo_show_text(cr, text.c_str());
  }

  // Draws the open windows at their places, the tooltip under the pointer,
  // and shows the picture.
  void present() {
    cairo_t* cr = cairo_create(picture_);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.06);
    cairo_paint(cr);
    cairo_scale(cr, scale_, scale_);
    for (const PanelWindow& w : host().windows()) {
      if (w.virtual_cockpit || !session_->state.window_open(w.number)) continue;
      const SDL_Point at = anchored(w.position, w.size_mm_x, w.size_mm_y, screen_w_, screen_h_);
      cairo_save(cr);
      cairo_translate(cr, at.x, at.y);
      cairo_rectangle(cr, 0, 0, w.size_mm_x, w.size_mm_y);
      cairo_clip(cr);
      set_colour(cr, w.background_colour);
      cairo_paint(cr);
      for (const PlacedInstance& p : host().instances()) {
        if (p.window != w.number) continue;
        cairo_save(cr);
        cairo_translate(cr, p.x, p.y);
        draw_instance(cr, p);
        cairo_restore(cr);
      }
      cairo_restore(cr);
    }
    cairo_identity_matrix(cr);
    abi::i32 cursor = abi::kCursorNone;
    if (pointer_inside_) {
      if (const std::optional<Hit> h = hit(pointer_.x, pointer_.y)) {
        cursor = host().cursor(h->instance, h->x, h->y);
        const TooltipResult tip = host().tooltip(h->instance, h->x, h->y);
        if (!tip.text.empty()) draw_tooltip(cr, tip.text, pointer_.x, pointer_.y);
      }
    }
    cairo_destroy(cr);
    show_cursor(cursor);
    cairo_surface_flush(picture_);
    SDL_UpdateTexture(texture_, nullptr, cairo_image_surface_get_data(picture_),
                      cairo_image_surface_get_stride(picture_));
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
  }

  void screenshot(const std::string& path) {
    if (render::write_png(picture_, path) != CAIRO_STATUS_SUCCESS)
      throw HostError(ErrorKind::unreadable, path + ": cannot write");
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
  }

  std::string module_path_;
  Inputs inputs_;
  CommonOptions common_;
  double scale_;
  std::unique_ptr<Session> session_;
  std::filesystem::file_time_type module_time_{};
  long reload_check_ = 0;
  int screen_w_ = 0, screen_h_ = 0;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  cairo_surface_t* picture_ = nullptr;
  SDL_Cursor* cursors_[4] = {};
  SDL_Point pointer_{0, 0};
  bool pointer_inside_ = false;
  bool paused_ = false;
  bool pending_quit_ = false;
  double speed_ = 1.0;
  std::vector<std::string> screenshot_requests_;
};

// SDL's video, started and ended with the command.
struct SdlVideo {
  SdlVideo() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
      throw HostError(ErrorKind::unavailable,
                      std::string("no display to show the panel on: ") + SDL_GetError());
    // With no display the library falls back to drivers that show nothing;
    // those run only when asked for by name (SDL_VIDEODRIVER=dummy, headless).
    const char* driver = SDL_GetCurrentVideoDriver();
    const std::string name = driver != nullptr ? driver : "";
    if (std::getenv("SDL_VIDEODRIVER") == nullptr && name != "x11" && name != "wayland") {
      SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
      throw HostError(ErrorKind::unavailable,
                      "no display to show the panel on (DISPLAY and WAYLAND_DISPLAY are not set; the video "
                      "library offers only '" +
                          name + "'; SDL_VIDEODRIVER=dummy runs without a window)");
    }
  }
  ~SdlVideo() { SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS); }
};

}  // namespace

int run_view(const Args& args) {
  CommonOptions common;
  double scale = 1.0;
  std::optional<std::string> script_path;
  std::string screenshot;
  auto own = [&](const std::string& a, const OptionValue& value) {
    if (a == "--scale") {
      const std::string& v = value();
      if (!parse_seconds(v, scale) || scale < 0.25 || scale > 4.0)
        throw UsageError{"--scale needs a factor from 0.25 to 4, not '" + v + "'"};
    } else if (a == "--script") {
      script_path = value();
    } else if (a == "--screenshot") {
      screenshot = value();
      if (screenshot.empty()) throw UsageError{"--screenshot needs a file name"};
    } else {
      return false;
    }
    return true;
  };
  if (auto exit = parse_command_line("view", kViewHelp, args, common, own)) return *exit;

  return report_errors([&] {
    std::optional<ViewScript> script;
    if (script_path) script = read_view_script(*script_path);
    Inputs inputs = load_inputs(common.scenario, common.panel);
    const std::string module = common.module.value_or(default_module_path());
    SdlVideo video;
    Viewer viewer(module, std::move(inputs), common, scale);
    viewer.open_window();
    return viewer.run(script, screenshot);
  });
}

}  // namespace orv::panel_tool
