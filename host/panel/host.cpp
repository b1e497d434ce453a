#include "host/panel/host.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <utility>

#include "host/load/host_error.h"
#include "host/load/module_call.h"
#include "host/panel/element_kind.h"
#include "host/panel/mouse_routing.h"
#include "host/panel/tooltip.h"

namespace orv::host {

using namespace abi;

namespace {

Host* g_active = nullptr;

// --- The service table -------------------------------------------------------
// Each slot forwards to the active host's state; with no active host the
// calls do nothing and return neutral values.

i32 ORV_CALL service_panel_window_toggle(u32 /*window*/) {
  if (g_active != nullptr) g_active->close_calling_window();
  return 0;
}

u32 ORV_CALL service_trigger_key_event(u32 event, u32 value) {
  if (g_active != nullptr) g_active->state().send_key_event(event, value);
  return 0;
}

void ORV_CALL service_init_var_by_name(TokenVar* rec, const char* name) {
  if (rec == nullptr) return;
  rec->host_ptr = g_active != nullptr ? g_active->state().named_data(name) : nullptr;
}

void ORV_CALL service_lookup_var(TokenVar* rec) {
  if (rec == nullptr) return;
  if (g_active != nullptr) {
    g_active->state().deliver(*rec);
  } else {
    rec->value.n = 0.0;
  }
}

i32 ORV_CALL service_execute_calculator_code(const char* code, f64* num, i32* inum, const char** text) {
  double number = 0.0;
  const bool known = g_active != nullptr && g_active->state().evaluate(code, &number, text);
  if (g_active == nullptr && text != nullptr) *text = "";
  if (num != nullptr) *num = number;
  if (inum != nullptr) *inum = static_cast<i32>(std::clamp(number, -2147483648.0, 2147483647.0));
  return known ? 1 : 0;
}

f64 ORV_CALL service_aircraft_var_get(u32 var, u32 unit, i32 index) {
  if (g_active == nullptr || !g_active->state().simulation_variable) return 0.0;
  return g_active->state().simulation_variable(var, unit, index);
}

void* ORV_CALL service_get_registered_interface(const char* name) {
  return g_active != nullptr ? g_active->state().host_interface(name) : nullptr;
}

}  // namespace

Host* Host::active() { return g_active; }

Host::Host(Module& module, SimState& state) : module_(module), state_(state) {
  table_[kSlotPanelWindowToggle] = reinterpret_cast<void*>(&service_panel_window_toggle);
  table_[kSlotTriggerKeyEvent] = reinterpret_cast<void*>(&service_trigger_key_event);
  table_[kSlotInitVarByName] = reinterpret_cast<void*>(&service_init_var_by_name);
  table_[kSlotLookupVar] = reinterpret_cast<void*>(&service_lookup_var);
  table_[kSlotExecuteCalculatorCode] = reinterpret_cast<void*>(&service_execute_calculator_code);
  table_[kSlotAircraftVarGet] = reinterpret_cast<void*>(&service_aircraft_var_get);
  table_[kSlotGetRegisteredInterface] = reinterpret_cast<void*>(&service_get_registered_interface);
  g_active = this;
  module_.import_table().services = table_;
  if (module_.linkage().init != nullptr) {
    ModuleCallScope call(CallKind::linkage, nullptr, -1, -1);
    module_.linkage().init();
  }
}

Host::~Host() {
  if (started_ && !stopped_) stop();
  module_.import_table().services = nullptr;
  if (g_active == this) g_active = nullptr;
}

void Host::place(const PanelConfig& panel, std::vector<std::string>& warnings) {
  for (const PanelWindow& w : panel.windows) {
    windows_.push_back(w);
    windows_.back().gauges.clear();
    for (const GaugePlacement& g : w.gauges) {
      const std::string where = panel.file + ":" + std::to_string(g.line) + ": ";
      std::string module_lower = g.module, name_lower = module_.name();
      for (char& c : module_lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      for (char& c : name_lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (module_lower != name_lower) {
        warnings.push_back(where + "module '" + g.module + "' is not loaded (loaded: " + module_.name() +
                           ")");
        continue;
      }
      if (module_.find_gauge(g.gauge) == nullptr) {
        warnings.push_back(where + "module " + module_.name() + " has no gauge '" + g.gauge + "'");
        continue;
      }
      const std::size_t index = add_instance(g.gauge, w.number, g.x, g.y, g.parameters);
      size(index, g.width, g.height);
      windows_.back().gauges.push_back(g);
    }
  }
}

std::size_t Host::add_instance(const std::string& gauge, std::uint32_t window, int x, int y,
                               const std::string& parameters) {
  if (started_) throw HostError(ErrorKind::bad_panel, "gauge " + gauge + " placed after start");
  GaugeHeader* source = module_.find_gauge(gauge);
  if (source == nullptr)
    throw HostError(ErrorKind::bad_panel, module_.name() + " has no gauge '" + gauge + "'");
  PlacedInstance p;
  p.gauge = std::make_unique<GaugeInstance>(*source, parameters);
  p.window = window;
  p.x = x;
  p.y = y;
  const ElementHeader* first = source->elements != nullptr ? source->elements[0] : nullptr;
  if (first == nullptr || !module_.bitmap_size(first->bitmap, p.bitmap_width, p.bitmap_height))
    p.bitmap_width = p.bitmap_height = 0;
  p.gauge->header().position = {x, y};
  instances_.push_back(std::move(p));
  size(instances_.size() - 1, std::nullopt, std::nullopt);
  return instances_.size() - 1;
}

void Host::size(std::size_t index, std::optional<int> width, std::optional<int> height) {
  PlacedInstance& p = instances_.at(index);
  constexpr int kLargest = kMaxPanelPixels;
  p.width = std::clamp(width.value_or(static_cast<int>(std::min<u32>(p.gauge->header().size_x_mm, kLargest))),
                       0, kLargest);
  if (height) {
    p.height = std::clamp(*height, 0, kLargest);
  } else if (p.bitmap_width > 0) {
    p.height = static_cast<int>(std::lround(
        std::clamp(static_cast<double>(p.width) * p.bitmap_height / p.bitmap_width, 0.0, double{kLargest})));
  } else {
    p.height = p.width;
  }
  p.gauge->header().size = {p.width, p.height};
}

namespace {

// A point of the placed instance in the gauge's bitmap coordinates.
PixPoint bitmap_point(const PlacedInstance& p, int x, int y) {
  if (p.bitmap_width <= 0 || p.bitmap_height <= 0 || p.width <= 0 || p.height <= 0) return {x, y};
  // Points far outside the gauge stay far outside, without overflowing.
  auto scale = [](int v, int from, int to) {
    return static_cast<i32>(std::clamp(std::floor(static_cast<double>(v) * to / from), -1.0e9, 1.0e9));
  };
  return {scale(x, p.width, p.bitmap_width), scale(y, p.height, p.bitmap_height)};
}

}  // namespace

void Host::call_gauge(PlacedInstance& p, i32 service, uptr extra) {
  GaugeHeader& h = p.gauge->header();
  if (h.callback == nullptr) return;
  current_ = &p;
  ModuleCallScope call(CallKind::service, p.gauge->name(), index_of(p), service);
  h.callback(&h, service, extra);
  current_ = nullptr;
}

void Host::start() {
  if (started_) return;
  started_ = true;
  state_.begin_frame(kSetupFrame);
  for (const PanelWindow& w : windows_) {
    if (w.visible) state_.open_window(w.number);
  }
  for (auto& p : instances_) call_gauge(p, kServiceInstall, module_.handle());
  for (auto& p : instances_) call_gauge(p, kServicePanelOpen, 0);
  for (auto& p : instances_) call_gauge(p, kServicePostInstall, 0);
}

void Host::begin_frame() { state_.begin_frame(next_frame_++); }

bool Host::shown(std::size_t index) const { return state_.window_open(instances_.at(index).window); }

// Gauges of a closed panel window are neither updated nor drawn, as in the
// simulator (docs/closed-windows.md): services 6 and 10 and the element
// evaluation reach only the instances of open windows.
void Host::update() {
  for (auto& p : instances_)
    if (state_.window_open(p.window)) call_gauge(p, kServicePreUpdate, 0);
  for (auto& p : instances_) {
    if (!state_.window_open(p.window)) continue;
    evaluate(p);
    call_gauge(p, kServicePreDraw, 0);
  }
}

void Host::stop() {
  if (!started_ || stopped_) return;
  stopped_ = true;
  state_.begin_frame(next_frame_);
  for (auto& p : instances_) call_gauge(p, kServicePreKill, 0);
  for (auto& p : instances_) call_gauge(p, kServicePanelClose, 0);
  if (module_.linkage().deinit != nullptr) {
    ModuleCallScope call(CallKind::linkage, nullptr, -1, -1);
    module_.linkage().deinit();
  }
}

// Stores each channel's token value into the element copy, then calls the
// channels' callbacks; what they return is kept per element.
void Host::evaluate(PlacedInstance& p) {
  current_ = &p;
  auto fill = [this](TokenVar& var) { state_.deliver(var); };
  // Most channels without a callback have no token either (a text's second
  // and third sources): their own value, without a call.
  auto fallback = [this](const TokenVar& var) { return var.id == 0 ? var.value.n : token_number(var); };
  // One call record for the instance; each element only sets its index.
  ModuleCallScope call(CallKind::element, p.gauge->name(), index_of(p), -1);
  int index = 0;
  for (ElementSlot& slot : p.gauge->elements()) {
    ElementHeader* e = slot.element;
    g_module_call.detail = index++;
    evaluate_element(e, slot.values.channel, fill, fallback);
    if (e->kind == kText) {
      auto* t = reinterpret_cast<TextElement*>(e);
      t->text[t->max_chars] = '\0';
    }
    slot.values.evaluated = true;
  }
  current_ = nullptr;
}

void Host::close_calling_window() {
  if (current_ != nullptr) state_.close_window(current_->window);
}

int Host::calling_instance() const {
  return current_ == nullptr ? -1 : static_cast<int>(current_ - instances_.data());
}

void Host::sound_played(int channel, int resource, std::uint32_t bytes) {
  sounds_.push_back({state_.frame(), calling_instance(), channel, resource, bytes});
}

std::optional<PixPoint> Host::design_point(std::size_t index, const GaugePoint& point) const {
  const PlacedInstance& p = instances_.at(index);
  switch (point.space) {
    case PointSpace::design:
      return PixPoint{point.x, point.y};
    case PointSpace::placed:
      return bitmap_point(p, point.x, point.y);
    case PointSpace::area:
      break;
  }
  // The centre of the record's box; a record without a size covers the
  // whole gauge.
  const MouseRect* rects = std::as_const(*p.gauge).mouse_rects();
  int count = 0;
  while (rects != nullptr && rects[count].kind != kMouseEnd && count <= point.x) ++count;
  if (point.x < 0 || point.x >= count) return std::nullopt;
  const MouseBounds b = record_bounds(rects, point.x);
  if (b.unbounded || b.w <= 0 || b.h <= 0) {
    const int w = p.bitmap_width > 0 ? p.bitmap_width : p.width,
              h = p.bitmap_width > 0 ? p.bitmap_height : p.height;
    return PixPoint{w / 2, h / 2};
  }
  return PixPoint{b.x + b.w / 2, b.y + b.h / 2};
}

PixPoint Host::placed_point(std::size_t index, PixPoint design) const {
  const PlacedInstance& p = instances_.at(index);
  if (p.bitmap_width <= 0 || p.bitmap_height <= 0 || p.width <= 0 || p.height <= 0) return design;
  auto scale = [](int v, int from, int to) {
    return static_cast<i32>(std::clamp(std::floor((v + 0.5) * to / from), -1.0e9, 1.0e9));
  };
  return {scale(design.x, p.bitmap_width, p.width), scale(design.y, p.bitmap_height, p.height)};
}

ClickResult Host::click(std::size_t index, int placed_x, int placed_y, MouseButton button) {
  return click(index, GaugePoint{PointSpace::placed, placed_x, placed_y}, button);
}

TooltipResult Host::tooltip(std::size_t index, int placed_x, int placed_y) {
  return tooltip(index, GaugePoint{PointSpace::placed, placed_x, placed_y});
}

// A click goes to the first click box, in list order, that contains the point
// (inside every enclosing area) and requests the click's kind. The host sends
// the box's event id itself when it has one; otherwise it calls the box's
// mouse callback with a click record whose point is relative to the box.
ClickResult Host::click(std::size_t index, const GaugePoint& point, MouseButton button) {
  PlacedInstance& p = instances_.at(index);
  ClickResult result;
  const std::optional<PixPoint> at = design_point(index, point);
  if (!at) return result;
  result.at = *at;
  const int x = at->x, y = at->y;
  const u32 flag = button == MouseButton::left    ? kMouseLeftSingle
                   : button == MouseButton::right ? kMouseRightSingle
                                                  : kMouseMove;
  MouseRect* rects = p.gauge->mouse_rects();
  const MouseHit hit = click_target(rects, x, y, flag);
  result.rect = hit.rect;
  const MouseBounds& hit_bounds = hit.bounds;
  if (result.rect < 0) return result;
  MouseRect& r = rects[result.rect];
  if (r.event != 0) {
    result.event = r.event;
    state_.send_key_event(r.event, 0);
  } else if (r.action.fn != nullptr) {
    Click c{};
    c.point = {hit_bounds.unbounded ? x : x - hit_bounds.x, hit_bounds.unbounded ? y : y - hit_bounds.y};
    c.gauge = &p.gauge->header();
    c.rect = &r;
    const PixPoint placed =
        point.space == PointSpace::placed ? PixPoint{point.x, point.y} : placed_point(index, *at);
    c.screen = {
        static_cast<i32>(std::clamp<long long>(static_cast<long long>(p.x) + placed.x, INT32_MIN, INT32_MAX)),
        static_cast<i32>(
            std::clamp<long long>(static_cast<long long>(p.y) + placed.y, INT32_MIN, INT32_MAX))};
    current_ = &p;
    ModuleCallScope call(CallKind::mouse, p.gauge->name(), static_cast<int>(index), result.rect);
    r.action.fn(&c, flag);
    current_ = nullptr;
    result.called = true;
  }
  return result;
}

// The tooltip of a point comes from the deepest record whose area holds the
// point: a tooltip record (its text with its argument table, or its help id)
// or an area or box with a help id; among equally deep ones the later wins.
TooltipResult Host::tooltip(std::size_t index, const GaugePoint& point) {
  PlacedInstance& p = instances_.at(index);
  TooltipResult result;
  const std::optional<PixPoint> at = design_point(index, point);
  if (!at) return result;
  result.at = *at;
  const int x = at->x, y = at->y;
  MouseRect* rects = p.gauge->mouse_rects();
  const int best = tooltip_target(rects, x, y);
  result.rect = best;
  if (best < 0) return result;
  const MouseRect& r = rects[best];
  if (r.kind != kMouseTooltip || r.action.text == nullptr) {
    result.text = "help " + std::to_string(r.help_id);
    return result;
  }

  const TooltipSources sources = tooltip_sources(rects[best], &p.gauge->header());
  current_ = &p;
  ModuleCallScope call(CallKind::tooltip, p.gauge->name(), static_cast<int>(index), best);
  result.text = format_tooltip(r.action.text, sources);
  current_ = nullptr;
  return result;
}

// What a tooltip text's arguments read. As the simulator does, the host fills
// each argument's source variable in place, inside the module's own table,
// and hands the callback that variable's own address.
TooltipSources Host::tooltip_sources(MouseRect& tip, GaugeHeader* header) {
  const u32 count = tip.args != nullptr ? tip.event : 0;
  auto argument = [this, &tip, count](int i) -> MouseArg* {
    if (i < 1 || static_cast<u32>(i) > count) return nullptr;
    MouseArg* a = &tip.args[i - 1];
    if (a->source.id != 0) state_.deliver(a->source);
    return a;
  };
  TooltipSources sources;
  sources.number = [this, argument, header](int i) {
    MouseArg* a = argument(i);
    if (a == nullptr) return 0.0;
    const double raw = token_number(a->source);
    if (a->numeric_callback != nullptr) return a->numeric_callback(raw, 0, nullptr, &a->source, header);
    return a->scale != 0.0 ? raw * a->scale : raw;
  };
  sources.text = [this, argument, header](int i) -> std::string {
    MouseArg* a = argument(i);
    if (a == nullptr) return {};
    if (a->string_callback != nullptr) {
      const char* s = a->string_callback(token_number(a->source), 0, nullptr, &a->source, header);
      return s != nullptr ? s : "";
    }
    const SimValue* t = state_.token(a->source.id);
    return t != nullptr && t->kind == SimValue::Kind::text ? t->text : std::string();
  };
  sources.expression = [this](const std::string& code) {
    double v = 0.0;
    state_.evaluate(code.c_str(), &v, nullptr);
    return v;
  };
  return sources;
}

abi::i32 Host::cursor(std::size_t index, int placed_x, int placed_y) {
  PlacedInstance& p = instances_.at(index);
  const PixPoint at = bitmap_point(p, placed_x, placed_y);
  return cursor_at(p.gauge->mouse_rects(), at.x, at.y);
}

int Host::index_of(const PlacedInstance& p) const { return static_cast<int>(&p - instances_.data()); }

// A variable's number: its own value without a token, else the token's.
double Host::token_number(const TokenVar& var) const {
  if (var.id == 0) return var.value.n;
  const SimValue* t = state_.token(var.id);
  return t == nullptr ? 0.0 : t->as_double();
}

}  // namespace orv::host
