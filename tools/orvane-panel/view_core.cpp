#include "view_core.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include "host/aircraft/event_names.h"
#include "host/load/host_error.h"
#include "host/load/stop_request.h"
#include "host/load/windows_text.h"
#include "host/panel/host.h"
#include "host/render/drawing_surfaces.h"
#include "host/render/render.h"
#include "host/scenario/scenario_run.h"
#include "screen_painter.h"

namespace orv::panel_tool {

using namespace orv::host;

namespace {

constexpr double kTicks = 18.0;

// " NAV_GPS_SOURCE_TOGGLE": the name of an event where the host knows one,
// to follow its number and value as in the trace, else "".
std::string name_after(std::uint32_t event) {
  const char* name = event_name(event);
  return name != nullptr ? std::string(" ") + name : std::string();
}

// The flight tokens the keyboard moves, with their step per key press.
struct FlightKey {
  ViewKey key;
  std::uint32_t token;
  double step;
};
constexpr FlightKey kFlightKeys[] = {
    {ViewKey::up, 78, -1.0},           {ViewKey::down, 78, 1.0},           // pitch: negative nose up
    {ViewKey::left, 80, 2.0},          {ViewKey::right, 80, -2.0},         // bank: negative in a right bank
    {ViewKey::left_bracket, 84, -5.0}, {ViewKey::right_bracket, 84, 5.0},  // heading
    {ViewKey::page_up, 61, 10.0},      {ViewKey::page_down, 61, -10.0},    // airspeed
    {ViewKey::home, 74, 100.0},        {ViewKey::end, 74, -100.0},         // altitude
};

}  // namespace

// Everything one loaded module needs, built and torn down together (a reload
// makes a new one). The surfaces outlive the host, whose shutdown may still
// reach them.
struct ViewSession {
  ViewSession(const std::string& module_path, const Inputs& inputs, const CommonOptions& common,
              std::optional<ScreenSize> screen)
      : module(Module::load(module_path)),
        bitmaps(render::BitmapStore::from_module(reinterpret_cast<void*>(module->handle()))),
        host(std::make_unique<Host>(*module, state)),
        run(*host, inputs.scenario, common.sets, common.clicks) {
    place_panel(*host, inputs);
    // The screen render draws: one placement, backgrounds and stacking.
    layout = std::make_unique<ScreenLayout>(host->windows(), host->instances(), screen);
    painter = std::make_unique<ScreenPainter>(*host, *layout, bitmaps, inputs.panel_directory);
    for (PlacedInstance& p : host->instances()) surfaces.attach(*p.gauge, bitmaps);
    run.apply_initial();
    host->start();
  }
  ~ViewSession() {
    if (host) host->stop();
    host.reset();
  }

  std::unique_ptr<Module> module;
  render::BitmapStore bitmaps;
  render::DrawingSurfaces surfaces;
  SimState state;
  std::unique_ptr<Host> host;
  ScenarioRun run;
  std::unique_ptr<ScreenLayout> layout;
  std::unique_ptr<ScreenPainter> painter;
  long long frame = 0;
};

// The shown window and instance under a window point.
struct Viewer::Hit {
  std::size_t instance;
  int x, y;  // in the instance's placed pixels
};

Viewer::Viewer(std::string module_path, Inputs inputs, CommonOptions common, double scale,
               std::optional<ScreenSize> screen)
    : module_path_(std::move(module_path)),
      inputs_(std::move(inputs)),
      common_(std::move(common)),
      scale_(scale),
      screen_(screen) {
  load();
  screen_w_ = session_->layout->screen().width;
  screen_h_ = session_->layout->screen().height;
  picture_ = std::make_unique<render::Image>(width(), height(), render::PixelFormat::rgb);
}

Viewer::~Viewer() = default;

int Viewer::width() const { return static_cast<int>(std::lround(screen_w_ * scale_)); }
int Viewer::height() const { return static_cast<int>(std::lround(screen_h_ * scale_)); }

int Viewer::run(ViewWindow& window, const std::optional<ViewScript>& script,
                const std::string& final_screenshot) {
  using Clock = std::chrono::steady_clock;
  std::size_t next = 0;
  bool quit_queued = false;
  auto last = Clock::now();
  double due = 0.0;  // frames owed to real time
  std::vector<ViewInput> input;
  bool quit = false;
  while (!quit) {
    // SIGINT and SIGTERM end the viewer too, also while it is paused.
    throw_if_stop_requested();
    input.clear();
    // A script's steps join the window's input at their frame, so they
    // take the same way as real input: a step at time t comes once the
    // frame of that time (the nearest one, as render --at takes it) has run.
    if (script) {
      const long long ran = session_->frame - 1;
      for (; next < script->steps.size() && std::llround(script->steps[next].t * kTicks) <= ran; ++next) {
        ViewInput in = script->steps[next].input;
        in.x = static_cast<int>(std::lround(in.x * scale_));
        in.y = static_cast<int>(std::lround(in.y * scale_));
        if (in.kind == ViewInput::Kind::quit) quit_queued = true;
        input.push_back(std::move(in));
      }
      if (next == script->steps.size() && !quit_queued) {
        input.push_back(ViewInput{});
        quit_queued = true;
      }
    }
    window.poll(input);
    for (const ViewInput& in : input) {
      quit = handle(in, window);
      if (quit) break;
    }
    if (quit) break;
    if (script) {
      advance();
    } else {
      const auto t = Clock::now();
      due += std::chrono::duration<double>(t - last).count() * kTicks * speed_;
      last = t;
      due = std::min(due, 4.0);  // a stall does not make the flight race
      while (!paused_ && due >= 1.0) {
        advance();
        due -= 1.0;
      }
      if (paused_) due = 0.0;
      reload_if_changed();
    }
    present(window);
    if (!script) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!final_screenshot.empty()) screenshot(final_screenshot);
  return int{kExitOk};
}

void Viewer::load() {
  session_.reset();
  session_ = std::make_unique<ViewSession>(module_path_, inputs_, common_, screen_);
  std::error_code ec;
  module_time_ = std::filesystem::last_write_time(module_path_, ec);
}

void Viewer::reload_if_changed() {
  if (++reload_check_ % 18 != 0) return;
  std::error_code ec;
  const auto t = std::filesystem::last_write_time(module_path_, ec);
  if (ec || t == module_time_) return;
  std::printf("reload %s\n", module_path_.c_str());
  std::fflush(stdout);
  load();
}

// The time of the last frame run.
double Viewer::now() const { return static_cast<double>(std::max(0LL, session_->frame - 1)) / kTicks; }

void Viewer::advance() {
  ViewSession& s = *session_;
  s.run.step([](const ScenarioClick&, std::optional<std::size_t>, const ClickResult&) {});
  ++s.frame;
  report_logs();
}

// Key events and window changes since the last report.
void Viewer::report_logs() {
  SimState& state = session_->state;
  const double t = now();
  for (const KeyEventRecord& k : state.key_events())
    std::printf("t=%.2f key_event %u %u%s\n", t, k.event, k.value, name_after(k.event).c_str());
  for (const WindowChange& w : state.window_changes())
    std::printf("t=%.2f window %u %s\n", t, w.window, w.open ? "open" : "closed");
  std::fflush(stdout);
  state.clear_logs();
}

bool Viewer::handle(const ViewInput& in, ViewWindow& window) {
  switch (in.kind) {
    case ViewInput::Kind::quit:
      return true;
    case ViewInput::Kind::click:
      click(in.x, in.y, in.right);
      return false;
    case ViewInput::Kind::move:
      pointer_x_ = in.x;
      pointer_y_ = in.y;
      pointer_inside_ = true;
      return false;
    case ViewInput::Kind::leave:
      pointer_inside_ = false;
      return false;
    case ViewInput::Kind::key:
      return key(in.key);
    case ViewInput::Kind::screenshot:
      present(window);
      screenshot(in.file);
      return false;
  }
  return false;
}

bool Viewer::key(ViewKey k) {
  switch (k) {
    case ViewKey::escape:
    case ViewKey::q:
      return true;
    case ViewKey::space:
      paused_ = !paused_;
      break;
    case ViewKey::period:
      if (paused_) advance();
      break;
    case ViewKey::plus:
    case ViewKey::equals:
      speed_ = std::min(8.0, speed_ * 2.0);
      break;
    case ViewKey::minus:
      speed_ = std::max(0.125, speed_ / 2.0);
      break;
    case ViewKey::backspace:
      release_flight_tokens();
      break;
    case ViewKey::r:
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
void Viewer::nudge(std::uint32_t token, double step) {
  TokenSets& held = session_->run.held();
  auto it = std::find_if(held.begin(), held.end(), [&](const auto& h) { return h.first == token; });
  double v = 0.0;
  if (it != held.end()) {
    v = it->second.as_double();
  } else if (const SimValue* value = session_->state.token(token); value != nullptr) {
    v = value->as_double();
  }
  v += step;
  if (token == 84) v = std::fmod(std::fmod(v, 360.0) + 360.0, 360.0);
  if (it != held.end())
    it->second = SimValue::of_number(v);
  else
    held.emplace_back(token, SimValue::of_number(v));
}

void Viewer::release_flight_tokens() {
  TokenSets& held = session_->run.held();
  std::erase_if(held, [](const auto& h) {
    return std::any_of(std::begin(kFlightKeys), std::end(kFlightKeys),
                       [&](const FlightKey& f) { return f.token == h.first; });
  });
  for (const auto& set : common_.sets) held.push_back(set);  // the command line's own stay held
}

// The layout's hit: the topmost open window under the point, its last
// instance there.
std::optional<Viewer::Hit> Viewer::hit(int wx, int wy) {
  const int sx = static_cast<int>(std::floor(wx / scale_)), sy = static_cast<int>(std::floor(wy / scale_));
  const auto h = session_->layout->hit(session_->state, sx, sy);
  if (!h) return std::nullopt;
  return Hit{h->instance, h->x, h->y};
}

void Viewer::click(int wx, int wy, bool right) {
  const std::optional<Hit> h = hit(wx, wy);
  const double t = now();
  const char* name = right ? "right" : "left";
  if (!h) {
    std::printf("t=%.2f click %d,%d %s: no gauge\n", t, wx, wy, name);
    return;
  }
  Host& host = *session_->host;
  const ClickResult r = host.click(h->instance, h->x, h->y, right ? MouseButton::right : MouseButton::left);
  std::printf("t=%.2f click instance %zu %s %d,%d %s: ", t, h->instance,
              host.instances()[h->instance].gauge->name(), h->x, h->y, name);
  if (r.rect < 0)
    std::printf("no box\n");
  else if (r.event != 0)
    std::printf("box %d sent %u%s\n", r.rect, r.event, name_after(r.event).c_str());
  else
    std::printf("box %d%s\n", r.rect, r.called ? " called" : "");
  report_logs();
}

// The open windows at their places and the tooltip under the pointer; the
// cursor the gauge under the pointer asks for.
void Viewer::draw() {
  Host& host = *session_->host;
  render::Canvas canvas(*picture_);
  canvas.paint({0.05, 0.05, 0.06});
  canvas.save();
  canvas.scale(scale_, scale_);
  session_->painter->paint_screen(canvas);
  canvas.restore();
  abi::i32 cursor = abi::kCursorNone;
  if (pointer_inside_) {
    if (const std::optional<Hit> h = hit(pointer_x_, pointer_y_)) {
      cursor = host.cursor(h->instance, h->x, h->y);
      const TooltipResult tip = host.tooltip(h->instance, h->x, h->y);
      if (!tip.text.empty()) {
        const std::string text = utf8_from_windows_1252(tip.text);
        // The system's pale yellow box under the pointer, kept on the screen.
        canvas.set_label_font(12, false);
        const double w = canvas.text_advance(text.c_str()) + 8, h = 18;
        const double bx = std::min(pointer_x_ + 12.0, width() - w - 1),
                     by = std::min(pointer_y_ + 20.0, height() - h - 1);
        canvas.fill_rect(bx + 0.5, by + 0.5, w, h, {1.0, 1.0, 0.88});
        canvas.stroke_rect(bx + 0.5, by + 0.5, w, h, {0.2, 0.2, 0.2}, 1.0);
        canvas.show_text(bx + 4.5, by + 13.5, text.c_str(), {0.2, 0.2, 0.2});
      }
    }
  }
  cursor_ = cursor == abi::kCursorUp     ? ViewCursor::up
            : cursor == abi::kCursorDown ? ViewCursor::down
            : cursor == abi::kCursorHand ? ViewCursor::hand
                                         : ViewCursor::arrow;
}

void Viewer::present(ViewWindow& window) {
  draw();
  picture_->flush();
  window.show(*picture_, cursor_);
}

void Viewer::screenshot(const std::string& path) {
  const std::string error = render::write_png(*picture_, path, 6);
  if (!error.empty()) throw HostError(ErrorKind::unreadable, path + ": cannot write: " + error);
  std::printf("%s\n", path.c_str());
  std::fflush(stdout);
}

}  // namespace orv::panel_tool
