// The viewer's window through SDL (native builds): SDL's events as the
// viewer's input, the picture shown through SDL's software renderer.
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/load/host_error.h"
#include "view_window.h"

namespace orv::panel_tool {

using host::ErrorKind;
using host::HostError;

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

ViewKey key_of(SDL_Keycode k) {
  switch (k) {
    case SDLK_ESCAPE:
      return ViewKey::escape;
    case SDLK_q:
      return ViewKey::q;
    case SDLK_r:
      return ViewKey::r;
    case SDLK_SPACE:
      return ViewKey::space;
    case SDLK_PERIOD:
      return ViewKey::period;
    case SDLK_PLUS:
    case SDLK_KP_PLUS:
      return ViewKey::plus;
    case SDLK_EQUALS:
      return ViewKey::equals;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
      return ViewKey::minus;
    case SDLK_BACKSPACE:
      return ViewKey::backspace;
    case SDLK_UP:
      return ViewKey::up;
    case SDLK_DOWN:
      return ViewKey::down;
    case SDLK_LEFT:
      return ViewKey::left;
    case SDLK_RIGHT:
      return ViewKey::right;
    case SDLK_LEFTBRACKET:
      return ViewKey::left_bracket;
    case SDLK_RIGHTBRACKET:
      return ViewKey::right_bracket;
    case SDLK_PAGEUP:
      return ViewKey::page_up;
    case SDLK_PAGEDOWN:
      return ViewKey::page_down;
    case SDLK_HOME:
      return ViewKey::home;
    case SDLK_END:
      return ViewKey::end;
    default:
      return ViewKey::other;
  }
}

SDL_Cursor* sdl_arrow(bool up) {
  // SDL draws black where data and mask are set, white where only the mask is.
  const ArrowCursor a = arrow_cursor(up);
  return SDL_CreateCursor(a.edge, a.shape, 16, 16, a.hot_x, a.hot_y);
}

// Why SDL opens no sound device, or "" when it opens one. ALSA and SDL
// complain on standard error, in many lines, on a machine without one; the
// probe keeps their lines off it, and the viewer says it in one.
std::string sound_problem() {
  std::fflush(stderr);
  const int saved = dup(2);
  if (const int null = open("/dev/null", O_WRONLY); null >= 0) {
    dup2(null, 2);
    close(null);
  }
  std::string problem;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    problem = SDL_GetError();
  } else {
    SDL_AudioSpec want{};
    want.freq = 22050;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 512;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (device == 0)
      problem = SDL_GetError();
    else
      SDL_CloseAudioDevice(device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  std::fflush(stderr);
  if (saved >= 0) {
    dup2(saved, 2);
    close(saved);
  }
  return problem;
}

// With no sound device the module's clicks play on SDL's silent driver.
void choose_sound_driver() {
  if (std::getenv("SDL_AUDIODRIVER") != nullptr) return;
  const std::string problem = sound_problem();
  if (problem.empty()) return;
  std::fprintf(stderr, "orvane-panel view: no sound device (%s); the gauges' sounds are not heard\n",
               problem.c_str());
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

class SdlViewWindow final : public ViewWindow {
 public:
  SdlViewWindow() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Before the module is loaded, which opens the sound device itself.
    choose_sound_driver();
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
  ~SdlViewWindow() override {
    for (SDL_Cursor* c : cursors_)
      if (c != nullptr) SDL_FreeCursor(c);
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }

  void open(int w, int h) override {
    window_ =
        SDL_CreateWindow("orvane-panel view", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, w, h, 0);
    if (window_ == nullptr)
      throw HostError(ErrorKind::unavailable,
                      std::string("cannot open a window (no display?): ") + SDL_GetError());
    // The picture is drawn by the canvas; the window only shows it, which
    // the software renderer does as well as any without a GPU driver.
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr)
      throw HostError(ErrorKind::unavailable, std::string("cannot draw into the window: ") + SDL_GetError());
    keep_gl_driver_loaded();
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h);
    cursors_[0] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    cursors_[1] = sdl_arrow(true);
    cursors_[2] = sdl_arrow(false);
    cursors_[3] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
  }

  void poll(std::vector<ViewInput>& input) override {
    SDL_Event e;
    while (SDL_PollEvent(&e) != 0) {
      ViewInput in;
      switch (e.type) {
        case SDL_QUIT:
          in.kind = ViewInput::Kind::quit;
          break;
        case SDL_MOUSEBUTTONDOWN:
          if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) continue;
          in.kind = ViewInput::Kind::click;
          in.x = e.button.x;
          in.y = e.button.y;
          in.right = e.button.button == SDL_BUTTON_RIGHT;
          break;
        case SDL_MOUSEMOTION:
          in.kind = ViewInput::Kind::move;
          in.x = e.motion.x;
          in.y = e.motion.y;
          break;
        case SDL_WINDOWEVENT:
          if (e.window.event != SDL_WINDOWEVENT_LEAVE) continue;
          in.kind = ViewInput::Kind::leave;
          break;
        case SDL_KEYDOWN:
          in.kind = ViewInput::Kind::key;
          in.key = key_of(e.key.keysym.sym);
          break;
        default:
          continue;
      }
      input.push_back(in);
    }
  }

  void show(render::Image& picture, ViewCursor cursor) override {
    SDL_Cursor* c = cursors_[static_cast<int>(cursor)];
    if (c != nullptr && c != SDL_GetCursor()) SDL_SetCursor(c);
    SDL_UpdateTexture(texture_, nullptr, picture.data(), picture.stride());
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
  }

 private:
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Cursor* cursors_[4] = {};  // by ViewCursor
};

}  // namespace

std::unique_ptr<ViewWindow> start_view_window() { return std::make_unique<SdlViewWindow>(); }

}  // namespace orv::panel_tool
