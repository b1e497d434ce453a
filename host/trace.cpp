#include "trace.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "element_kind.h"
#include "radio_stack.h"
#include "scenario_run.h"
#include "token_names.h"

namespace orv::host {

using namespace abi;

std::string format_number(double v) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  if (v == 0.0) return "0";
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 6);
  if (ec != std::errc()) return "?";
  return std::string(buffer, end);
}

std::string escape_text(const char* text) {
  std::string out;
  if (text == nullptr) return out;
  static const char kHex[] = "0123456789ABCDEF";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    if (*p == '"' || *p == '\\') {
      out += '\\';
      out += static_cast<char>(*p);
    } else if (*p >= 0x20 && *p < 0x7F) {
      out += static_cast<char>(*p);
    } else {
      out += "\\x";
      out += kHex[*p >> 4];
      out += kHex[*p & 15];
    }
  }
  return out;
}

namespace {

// What an element line shows after its identifier.
std::string element_state(const ElementSlot& slot) {
  const ElementHeader* e = slot.element;
  const ElementKind* kind = element_kind(e->kind);
  std::string s = element_kind_name(e->kind);
  const std::size_t n = kind != nullptr ? kind->channels : 0;
  for (std::size_t i = 0; i < n; ++i) s += (i == 0 ? " v=" : ",") + format_number(slot.values.channel[i]);
  if (e->kind != kText) s += " bmp=" + std::to_string(e->bitmap);
  s += (e->flags & kHiddenFlag) != 0 ? " hidden" : " shown";
  if (e->kind == kText) s += " text=\"" + escape_text(reinterpret_cast<const TextElement*>(e)->text) + "\"";
  return s;
}

const char* button_name(MouseButton b) {
  return b == MouseButton::left ? "left" : b == MouseButton::right ? "right" : "move";
}

class TraceRun {
 public:
  TraceRun(Host& host, std::ostream& out, bool full) : host_(host), out_(out), full_(full) {
    previous_.resize(host.instances().size());
    for (std::size_t i = 0; i < previous_.size(); ++i)
      previous_[i].resize(host.instance(i).elements().size());
  }

  void header() {
    out_ << "orvane-panel trace 1\n";
    out_ << "module " << host_.module().name() << " gauges " << host_.module().gauges().size() << "\n";
    for (const PanelWindow& w : host_.windows()) {
      out_ << "window " << w.number << " \"" << escape_text(w.title.c_str()) << "\" "
           << (w.visible ? "open" : "closed") << "\n";
    }
    for (std::size_t i = 0; i < host_.instances().size(); ++i) {
      const PlacedInstance& p = host_.instances()[i];
      out_ << "instance " << i << " " << p.gauge->name() << " window " << p.window << " at " << p.x << ","
           << p.y << " size " << p.width << "x" << p.height << " params \""
           << escape_text(p.gauge->parameters().c_str()) << "\"\n";
    }
  }

  // Key events and window changes logged since the last call.
  void state_changes() {
    const auto& events = host_.state().key_events();
    for (; events_seen_ < events.size(); ++events_seen_) {
      out_ << "  event " << events[events_seen_].event << " " << events[events_seen_].value << "\n";
      radio_tokens(events[events_seen_].event);
    }
    const auto& windows = host_.state().window_changes();
    for (; windows_seen_ < windows.size(); ++windows_seen_) {
      out_ << "  window " << windows[windows_seen_].window
           << (windows[windows_seen_].open ? " open" : " closed") << "\n";
    }
  }

  // The tokens a radio event changed, with their values as they stand now.
  void radio_tokens(std::uint32_t event) {
    for (std::uint32_t id : radio_event_tokens(event)) {
      if (id == 0) continue;
      const TokenValue* v = host_.state().token(id);
      const char* name = token_name(id);
      out_ << "    token " << id << " " << (name != nullptr ? name : "?") << " ";
      if (v != nullptr && v->kind == TokenValue::Kind::integer) {
        char hex[16];
        auto [end, ec] = std::to_chars(hex, hex + sizeof hex, v->integer, 16);
        const std::string digits(hex, ec == std::errc() ? end : hex);
        out_ << "0x" << std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') << digits;
      } else {
        out_ << format_number(v != nullptr ? v->as_double() : 0.0);
      }
      out_ << "\n";
    }
  }

  // The line of a click the run delivered.
  std::string click_line(const ScenarioClick& c, std::optional<std::size_t> index,
                         const ClickResult& r) const {
    std::string line = "  click ";
    if (!index) return line + c.target.describe() + " missing";
    line += std::to_string(*index) + " " + host_.instance(*index).name() + " " + std::to_string(c.x) + "," +
            std::to_string(c.y) + " " + button_name(c.button);
    if (r.rect < 0) {
      line += " none";
    } else {
      line += " box " + std::to_string(r.rect);
      if (r.event != 0) line += " event " + std::to_string(r.event);
      if (r.called) line += " callback";
    }
    return line;
  }

  void tooltip(const ScenarioTooltip& t, std::vector<std::string>& lines) {
    auto index = t.target.resolve(host_);
    std::string line = "  tooltip ";
    if (!index) {
      lines.push_back(line + t.target.describe() + " missing");
      return;
    }
    const TooltipResult r = host_.tooltip(*index, t.x, t.y);
    line += std::to_string(*index) + " " + host_.instance(*index).name() + " " + std::to_string(t.x) + "," +
            std::to_string(t.y);
    lines.push_back(r.rect < 0 ? line + " none" : line + " \"" + escape_text(r.text.c_str()) + "\"");
  }

  void elements() {
    for (std::size_t i = 0; i < host_.instances().size(); ++i) {
      if (!host_.shown(i)) continue;
      GaugeInstance& g = host_.instance(i);
      for (std::size_t k = 0; k < g.elements().size(); ++k) {
        const ElementSlot& slot = g.elements()[k];
        if (!slot.values.evaluated) continue;
        std::string state = element_state(slot);
        if (full_ || state != previous_[i][k]) {
          out_ << "  element " << i << "." << k << " " << g.name() << " " << state << "\n";
          previous_[i][k] = std::move(state);
        }
      }
    }
  }

 private:
  Host& host_;
  std::ostream& out_;
  bool full_;
  std::vector<std::vector<std::string>> previous_;
  std::size_t events_seen_ = 0;
  std::size_t windows_seen_ = 0;
};

}  // namespace

void run_trace(Host& host, const Scenario& scenario, const TraceOptions& options, std::ostream& out) {
  ScenarioRun scenario_run(host, scenario, options.sets, options.clicks);
  scenario_run.apply_initial();
  std::vector<ScenarioTooltip> tooltips = scenario.tooltips;
  tooltips.insert(tooltips.end(), options.tooltips.begin(), options.tooltips.end());
  std::stable_sort(tooltips.begin(), tooltips.end(), [](const auto& a, const auto& b) { return a.t < b.t; });

  TraceRun run(host, out, options.full);
  run.header();
  out << "setup\n";
  host.start();
  run.state_changes();

  std::size_t next_tooltip = 0;
  std::vector<std::string> click_lines, tooltip_lines;
  for (int f = 0; f < options.frames; ++f) {
    click_lines.clear();
    tooltip_lines.clear();
    const double t = scenario_run.step([&](const ScenarioClick& c, auto index, const ClickResult& r) {
      click_lines.push_back(run.click_line(c, index, r));
    });
    out << "frame " << f << " t=" << format_number(t) << "\n";
    for (const auto& line : click_lines) out << line << "\n";

    while (next_tooltip < tooltips.size() && scenario_run.due(tooltips[next_tooltip].t))
      run.tooltip(tooltips[next_tooltip++], tooltip_lines);

    run.state_changes();
    run.elements();
    for (const auto& line : tooltip_lines) out << line << "\n";
  }

  out << "shutdown\n";
  host.stop();
  run.state_changes();
  out << "end\n";
}

}  // namespace orv::host
