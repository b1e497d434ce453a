#include "host/panel/screen_layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace orv::host {

namespace {

constexpr int kMinScreen = 16;

int rounded(double v) {
  return static_cast<int>(std::lround(std::clamp(v, -4.0 * kMaxPanelPixels, 4.0 * kMaxPanelPixels)));
}

// What a window's gauges reach, in its units (at least 16 x 16).
ScreenSize reach(const PanelWindow& w, const std::vector<PlacedInstance>& instances) {
  ScreenSize need{16, 16};
  for (const PlacedInstance& p : instances) {
    if (p.window != w.number) continue;
    need.width = std::max(need.width, p.x + p.width);
    need.height = std::max(need.height, p.y + p.height);
  }
  return need;
}

ScreenSize units_of(const PanelWindow& w, const std::vector<PlacedInstance>& instances) {
  ScreenSize u{w.size_mm_x, w.size_mm_y};
  if (u.width <= 0 && w.virtual_cockpit && w.pixel_width > 0) u = {w.pixel_width, w.pixel_height};
  if (u.width <= 0 && w.background_width > 0) u = {w.background_width, w.background_height};
  if (u.width > 0 && u.height <= 0 && w.background_width > 0)
    u.height = std::max(1, rounded(static_cast<double>(u.width) * w.background_height / w.background_width));
  if (u.width <= 0 || u.height <= 0) {
    const ScreenSize need = reach(w, instances);
    if (u.width <= 0) u.width = need.width;
    if (u.height <= 0) u.height = need.height;
  }
  return u;
}

}  // namespace

std::optional<ScreenSize> parse_screen_size(const std::string& text) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  ScreenSize s;
  const char* end = text.data() + text.size();
  auto [p1, e1] = std::from_chars(text.data(), text.data() + x, s.width);
  auto [p2, e2] = std::from_chars(text.data() + x + 1, end, s.height);
  if (e1 != std::errc() || e2 != std::errc() || p1 != text.data() + x || p2 != end || x == 0)
    return std::nullopt;
  if (s.width < kMinScreen || s.height < kMinScreen || s.width > kMaxPanelPixels ||
      s.height > kMaxPanelPixels)
    return std::nullopt;
  return s;
}

ScreenLayout::ScreenLayout(const std::vector<PanelWindow>& windows,
                           const std::vector<PlacedInstance>& instances, std::optional<ScreenSize> screen)
    : placed_(&instances) {
  for (const PanelWindow& w : windows) windows_.push_back({&w, units_of(w, instances), {}, false});

  // The main window: window 0, else the first panel window.
  const Placed* main = nullptr;
  for (const Placed& p : windows_)
    if (!p.window->virtual_cockpit &&
        (main == nullptr || (p.window->number == 0 && main->window->number != 0)))
      main = &p;

  if (screen) {
    screen_ = *screen;
  } else if (main == nullptr) {
    screen_ = {1024, 768};
  } else if (main->window->size_x && main->window->size_y) {
    screen_ = {rounded(main->units.width / *main->window->size_x),
               rounded(main->units.height / *main->window->size_y)};
  } else {
    screen_ = {main->units.width, std::max(main->units.height, rounded(main->units.width * 0.75))};
  }
  screen_.width = std::clamp(screen_.width, kMinScreen, kMaxPanelPixels);
  screen_.height = std::clamp(screen_.height, kMinScreen, kMaxPanelPixels);
  const double sw = screen_.width, sh = screen_.height;

  // Screen pixels per unit of the windows without a window_size: the main
  // window's, which spans the screen's width unless its window_size says
  // otherwise.
  double scale = 1.0;
  if (main != nullptr)
    scale = (main->window->size_x ? *main->window->size_x * sw : sw) / std::max(1, main->units.width);

  for (Placed& p : windows_) {
    const PanelWindow& w = *p.window;
    if (w.virtual_cockpit) {
      p.rect = {0, 0, w.pixel_width > 0 ? w.pixel_width : p.units.width,
                w.pixel_width > 0 && w.pixel_height > 0 ? w.pixel_height
                : w.pixel_width > 0
                    ? rounded(static_cast<double>(w.pixel_width) * p.units.height / p.units.width)
                    : p.units.height};
      continue;
    }
    Rect& r = p.rect;
    if (w.size_x && w.size_y) {
      r.width = rounded(*w.size_x * sw);
      r.height = rounded(*w.size_y * sh);
    } else {
      r.width = rounded(p.units.width * scale);
      r.height = rounded(p.units.height * scale);
    }
    r.width = std::max(1, r.width);
    r.height = std::max(1, r.height);
    if (w.pos_x && w.pos_y) {
      r.x = rounded(*w.pos_x * sw);
      r.y = rounded(*w.pos_y * sh);
    } else {
      const int position = w.position >= 0 && w.position <= 8 ? w.position : 0;
      const int column = position % 3, row = position / 3;
      r.x = column == 0 ? 0 : column == 1 ? (screen_.width - r.width) / 2 : screen_.width - r.width;
      r.y = row == 0 ? 0 : row == 1 ? (screen_.height - r.height) / 2 : screen_.height - r.height;
    }
    p.covers_screen =
        r.x <= 0 && r.y <= 0 && r.x + r.width >= screen_.width && r.y + r.height >= screen_.height;
  }

  instances_.resize(instances.size());
  instance_window_.resize(instances.size());
  for (std::size_t i = 0; i < instances.size(); ++i) {
    const PlacedInstance& g = instances[i];
    for (std::size_t k = 0; k < windows_.size(); ++k) {
      if (windows_[k].window->number != g.window) continue;
      const Placed& p = windows_[k];
      const double kx = static_cast<double>(p.rect.width) / p.units.width;
      const double ky = static_cast<double>(p.rect.height) / p.units.height;
      const int x0 = rounded(g.x * kx), y0 = rounded(g.y * ky);
      const int x1 = rounded((g.x + g.width) * kx), y1 = rounded((g.y + g.height) * ky);
      instances_[i] = {p.rect.x + x0, p.rect.y + y0, std::max(1, x1 - x0), std::max(1, y1 - y0)};
      if (p.window->virtual_cockpit) instances_[i] = {x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0)};
      instance_window_[i] = k;
      break;
    }
  }
}

std::optional<std::size_t> ScreenLayout::window_of(std::size_t instance) const {
  return instance < instance_window_.size() ? instance_window_[instance] : std::nullopt;
}

std::vector<std::size_t> ScreenLayout::stack(const SimState& state) const {
  std::vector<std::size_t> open;
  for (std::size_t k = 0; k < windows_.size(); ++k)
    if (!windows_[k].window->virtual_cockpit && state.window_open(windows_[k].window->number))
      open.push_back(k);
  std::stable_sort(open.begin(), open.end(), [&](std::size_t a, std::size_t b) {
    const Placed &pa = windows_[a], &pb = windows_[b];
    if (pa.covers_screen != pb.covers_screen) return pa.covers_screen;
    return state.opening(pa.window->number) < state.opening(pb.window->number);
  });
  return open;
}

std::optional<ScreenLayout::Hit> ScreenLayout::hit(const SimState& state, int x, int y) const {
  const std::vector<std::size_t> order = stack(state);
  for (auto k = order.rbegin(); k != order.rend(); ++k) {
    const Placed& p = windows_[*k];
    if (!p.rect.contains(x, y)) continue;
    for (std::size_t i = instances_.size(); i-- > 0;) {
      if (instance_window_[i] != *k || !instances_[i].contains(x, y)) continue;
      // The point in the window's units, then in the instance's placed pixels.
      const PlacedInstance& g = (*placed_)[i];
      const double kx = static_cast<double>(p.rect.width) / p.units.width;
      const double ky = static_cast<double>(p.rect.height) / p.units.height;
      const int ux = static_cast<int>(std::floor((x - p.rect.x + 0.5) / kx));
      const int uy = static_cast<int>(std::floor((y - p.rect.y + 0.5) / ky));
      return Hit{i, std::clamp(ux - g.x, 0, std::max(0, g.width - 1)),
                 std::clamp(uy - g.y, 0, std::max(0, g.height - 1))};
    }
    return std::nullopt;  // the window's background takes the point
  }
  return std::nullopt;
}

}  // namespace orv::host
