// The trace of a run: its header, the set-up, each frame's clicks, events,
// window changes, sounds, element lines and tooltips, the shutdown, in text
// or JSON lines. The element lines' memory is element_lines', the writing
// trace_writer's, the numbers' and texts' formatting trace_format's.
#include "host/record/trace.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include "host/aircraft/event_names.h"
#include "host/aircraft/radio_stack.h"
#include "host/aircraft/token_names.h"
#include "host/panel/element_kind.h"
#include "host/record/element_lines.h"
#include "host/record/trace_writer.h"
#include "host/scenario/scenario_run.h"

namespace orv::host {

using namespace abi;

namespace {

const char* button_name(MouseButton b) {
  return b == MouseButton::left ? "left" : b == MouseButton::right ? "right" : "move";
}

struct ClickRecord {
  const ScenarioClick* click;
  std::optional<std::size_t> index;
  ClickResult result;
};

struct TooltipRecord {
  const ScenarioTooltip* tooltip;
  std::optional<std::size_t> index;
  TooltipResult result;
};

class TraceRun {
 public:
  TraceRun(Host& host, TraceOutput& out, const TraceOptions& options)
      : host_(host),
        out_(out),
        full_(options.full),
        json_(options.format == TraceFormat::jsonl),
        lines_(host, !json_) {}

  void header() {
    const Module& module = host_.module();
    if (json_) {
      out_ << R"({"type":"trace","version":1})";
      out_.end_line();
      out_ << R"({"type":"module","name":)";
      out_.json_string(module.name()) << R"(,"gauges":)" << module.gauges().size() << '}';
      out_.end_line();
    } else {
      out_ << "orvane-panel trace 1";
      out_.end_line();
      out_ << "module " << module.name() << " gauges " << module.gauges().size();
      out_.end_line();
    }
    for (const PanelWindow& w : host_.windows()) {
      if (json_) {
        out_ << R"({"type":"panel_window","window":)" << w.number << R"(,"title":)";
        out_.json_string(w.title) << R"(,"open":)";
        out_.json_bool(w.visible) << '}';
      } else {
        out_ << "window " << w.number << " \"";
        out_.escaped(w.title.c_str()) << "\" " << (w.visible ? "open" : "closed");
      }
      out_.end_line();
    }
    for (std::size_t i = 0; i < host_.instances().size(); ++i) {
      const PlacedInstance& p = host_.instances()[i];
      if (json_) {
        out_ << R"({"type":"instance","instance":)" << i << R"(,"gauge":)";
        out_.json_string(p.gauge->name())
            << R"(,"window":)" << p.window << R"(,"x":)" << p.x << R"(,"y":)" << p.y << R"(,"width":)"
            << p.width << R"(,"height":)" << p.height << R"(,"params":)";
        out_.json_string(p.gauge->parameters()) << '}';
      } else {
        out_ << "instance " << i << ' ' << p.gauge->name() << " window " << p.window << " at " << p.x << ','
             << p.y << " size " << p.width << 'x' << p.height << " params \"";
        out_.escaped(p.gauge->parameters().c_str()) << '"';
      }
      out_.end_line();
    }
  }

  // "setup", "shutdown", "end".
  void marker(const char* name) {
    if (json_) {
      out_ << R"({"type":")" << name << R"("})";
    } else {
      out_ << name;
    }
    out_.end_line();
  }

  void frame_line(int frame, double t) {
    frame_ = frame;
    if (json_) {
      out_ << R"({"type":"frame","frame":)" << frame << R"(,"t":)";
      out_.json_number(t) << '}';
    } else {
      out_ << "frame " << frame << " t=";
      out_.number(t);
    }
    out_.end_line();
  }

  void finish() { out_.finish(); }

  // The phase's frame number in JSON objects: -1 during set-up, the number of
  // frames run during shutdown.
  void set_frame(std::int64_t frame) { frame_ = frame; }

  // Key events, window changes and sounds logged since the last call; the
  // logs are emptied, so that they do not grow over a long run.
  void state_changes() {
    SimState& state = host_.state();
    for (const KeyEventRecord& e : state.key_events()) {
      const char* name = event_name(e.event);
      if (json_) {
        begin_object("event") << R"(,"event":)" << e.event << R"(,"name":)";
        out_.json_name(name) << R"(,"value":)" << e.value << '}';
      } else {
        out_ << "  event " << e.event << ' ' << e.value;
        if (name != nullptr) out_ << ' ' << name;
      }
      out_.end_line();
      radio_tokens(e.event);
    }
    for (const WindowChange& w : state.window_changes()) {
      if (json_) {
        begin_object("window") << R"(,"window":)" << w.window << R"(,"open":)";
        out_.json_bool(w.open) << '}';
      } else {
        out_ << "  window " << w.window << (w.open ? " open" : " closed");
      }
      out_.end_line();
    }
    for (const SoundPlay& s : host_.sounds()) {
      const char* gauge =
          s.instance >= 0 ? host_.instance(static_cast<std::size_t>(s.instance)).name() : nullptr;
      if (json_) {
        begin_object("sound") << R"(,"instance":)";
        if (s.instance >= 0) {
          out_ << s.instance;
        } else {
          out_ << "null";
        }
        out_ << R"(,"gauge":)";
        out_.json_name(gauge) << R"(,"channel":)" << s.channel << R"(,"resource":)" << s.resource
                              << R"(,"bytes":)" << s.bytes << '}';
      } else {
        out_ << "  sound ";
        if (s.instance >= 0) {
          out_ << s.instance << ' ' << gauge;
        } else {
          out_ << "- -";
        }
        out_ << " channel " << s.channel << " resource " << s.resource << " bytes " << s.bytes;
      }
      out_.end_line();
    }
    state.clear_logs();
    host_.clear_sounds();
  }

  void clicks(const std::vector<ClickRecord>& records) {
    for (const ClickRecord& r : records) {
      const ScenarioClick& c = *r.click;
      if (begin_aimed("click", c.target, r.index)) continue;
      const char* gauge = host_.instance(*r.index).name();
      const char* event = r.result.event != 0 ? event_name(r.result.event) : nullptr;
      if (json_) {
        out_ << R"(,"instance":)" << *r.index << R"(,"gauge":)";
        out_.json_string(gauge) << R"(,"x":)" << r.result.at.x << R"(,"y":)" << r.result.at.y
                                << R"(,"button":")" << button_name(c.button) << R"(","box":)";
        if (r.result.rect < 0) {
          out_ << "null";
        } else {
          out_ << r.result.rect;
        }
        out_ << R"(,"event":)";
        if (r.result.event != 0) {
          out_ << r.result.event;
        } else {
          out_ << "null";
        }
        out_ << R"(,"event_name":)";
        out_.json_name(event) << R"(,"callback":)";
        out_.json_bool(r.result.called) << '}';
      } else {
        out_ << *r.index << ' ' << gauge << ' ' << r.result.at.x << ',' << r.result.at.y << ' '
             << button_name(c.button);
        if (r.result.rect < 0) {
          out_ << " none";
        } else {
          out_ << " box " << r.result.rect;
          if (r.result.event != 0) {
            out_ << " event " << r.result.event;
            if (event != nullptr) out_ << ' ' << event;
          }
          if (r.result.called) out_ << " callback";
        }
      }
      out_.end_line();
    }
  }

  void tooltips(const std::vector<TooltipRecord>& records) {
    for (const TooltipRecord& r : records) {
      const ScenarioTooltip& t = *r.tooltip;
      if (begin_aimed("tooltip", t.target, r.index)) continue;
      const char* gauge = host_.instance(*r.index).name();
      if (json_) {
        out_ << R"(,"instance":)" << *r.index << R"(,"gauge":)";
        out_.json_string(gauge) << R"(,"x":)" << r.result.at.x << R"(,"y":)" << r.result.at.y << R"(,"box":)";
        if (r.result.rect < 0) {
          out_ << R"(null,"text":null})";
        } else {
          out_ << r.result.rect << R"(,"text":)";
          out_.json_string(r.result.text) << '}';
        }
      } else {
        out_ << *r.index << ' ' << gauge << ' ' << r.result.at.x << ',' << r.result.at.y;
        if (r.result.rect < 0) {
          out_ << " none";
        } else {
          out_ << " \"";
          out_.escaped(r.result.text.c_str()) << '"';
        }
      }
      out_.end_line();
    }
  }

  void elements() {
    const SimState& state = host_.state();
    std::vector<PlacedInstance>& instances = host_.instances();
    for (std::size_t i = 0; i < instances.size(); ++i) {
      if (!state.window_open(instances[i].window)) continue;  // Host::shown
      GaugeInstance& g = *instances[i].gauge;
      if (!json_ && g.name() != lines_.name(i)) lines_.rename(i, g.name());
      // Walked by pointer, slots and memos side by side (the memos were
      // sized to the instance's elements, whose number never changes).
      const ElementSlot* const first = g.elements().data();
      const ElementSlot* const end = first + g.elements().size();
      ElementMemo* memo = lines_.memos(i);
      for (const ElementSlot* slot = first; slot != end; ++slot, ++memo) {
        if (!slot->values.evaluated) continue;
        if (!lines_.remember(*slot, *memo) && !full_) continue;
        if (json_) {
          json_element(i, static_cast<std::size_t>(slot - first), g.name(), *slot);
        } else {
          out_.line(memo->line.view());
        }
      }
    }
  }

 private:
  TraceWriter& begin_object(const char* type) {
    return out_ << R"({"type":")" << type << R"(","frame":)" << frame_;
  }

  // Starts the line of a click or tooltip aimed at `target`; when it names
  // no instance (`index` empty), writes the whole line and returns true.
  bool begin_aimed(const char* type, const GaugeRef& target, const std::optional<std::size_t>& index) {
    if (json_) {
      begin_object(type);
    } else {
      out_ << "  " << type << ' ';
    }
    if (index) return false;
    if (json_) {
      out_ << R"(,"target":)";
      out_.json_string(target.describe()) << R"(,"missing":true})";
    } else {
      out_ << target.describe() << " missing";
    }
    out_.end_line();
    return true;
  }

  void json_element(std::size_t instance, std::size_t index, const char* gauge, const ElementSlot& slot) {
    const ElementHeader* e = slot.element;
    begin_object("element") << R"(,"instance":)" << instance << R"(,"element":)" << index << R"(,"gauge":)";
    out_.json_string(gauge) << R"(,"kind":")" << element_kind_name(e->kind) << R"(","values":[)";
    const int n = lines_.kind_format(e->kind).channels;
    for (int c = 0; c < n; ++c) {
      if (c > 0) out_ << ',';
      out_.json_number(slot.values.channel[c]);
    }
    out_ << ']';
    if (e->kind != kText) out_ << R"(,"bitmap":)" << e->bitmap;
    out_ << R"(,"shown":)";
    out_.json_bool((e->flags & kHiddenFlag) == 0);
    if (e->kind == kText) {
      out_ << R"(,"text":)";
      out_.json_string(element_text(e));
    }
    out_ << '}';
    out_.end_line();
  }

  // The tokens a radio event changed, with their values as they stand now.
  void radio_tokens(std::uint32_t event) {
    for (std::uint32_t id : radio_event_tokens(event)) {
      if (id == 0) continue;
      const SimValue* v = host_.state().token(id);
      const char* name = token_name(id);
      const bool integer = v != nullptr && v->kind == SimValue::Kind::integer;
      char hex[16] = "0x";
      char* hex_end = hex + 2;
      if (integer) {
        char digits[12];
        auto [end, ec] = std::to_chars(digits, digits + sizeof digits, v->integer, 16);
        const auto count = static_cast<std::size_t>((ec == std::errc() ? end : digits) - digits);
        for (std::size_t pad = count; pad < 4; ++pad) *hex_end++ = '0';
        std::memcpy(hex_end, digits, count);
        hex_end += count;
      }
      const std::string_view hex_text(hex, static_cast<std::size_t>(hex_end - hex));
      if (json_) {
        begin_object("token") << R"(,"token":)" << id << R"(,"name":)";
        out_.json_name(name) << R"(,"value":)";
        if (integer) {
          out_ << v->integer << R"(,"hex":")" << hex_text << '"';
        } else {
          out_.json_number(v != nullptr ? v->as_double() : 0.0);
        }
        out_ << '}';
      } else {
        out_ << "    token " << id << ' ' << (name != nullptr ? name : "?") << ' ';
        if (integer) {
          out_ << hex_text;
        } else {
          out_.number(v != nullptr ? v->as_double() : 0.0);
        }
      }
      out_.end_line();
    }
  }

  Host& host_;
  TraceWriter out_;
  bool full_;
  bool json_;
  std::int64_t frame_ = kSetupFrame;
  ElementLines lines_;
};

}  // namespace

struct TraceRecorder::State {
  State(Host& host, const Scenario& scenario, const TraceOptions& options, TraceOutput& out)
      : host(host), scenario_run(host, scenario, options.sets, options.clicks), run(host, out, options) {
    tooltips = scenario.tooltips;
    tooltips.insert(tooltips.end(), options.tooltips.begin(), options.tooltips.end());
    std::stable_sort(tooltips.begin(), tooltips.end(),
                     [](const auto& a, const auto& b) { return a.t < b.t; });
  }
  Host& host;
  ScenarioRun scenario_run;
  TraceRun run;
  std::vector<ScenarioTooltip> tooltips;
  std::size_t next_tooltip = 0;
  int frame = 0;
  std::vector<ClickRecord> clicks;
  std::vector<TooltipRecord> tips;
};

TraceRecorder::TraceRecorder(Host& host, const Scenario& scenario, const TraceOptions& options,
                             TraceOutput& out)
    : state_(std::make_unique<State>(host, scenario, options, out)) {}

TraceRecorder::~TraceRecorder() = default;

void TraceRecorder::start() {
  State& s = *state_;
  s.scenario_run.apply_initial();
  s.run.header();
  s.run.marker("setup");
  s.host.start();
  s.run.state_changes();
}

void TraceRecorder::frame() {
  State& s = *state_;
  s.clicks.clear();
  s.tips.clear();
  const double t = s.scenario_run.step([&s](const ScenarioClick& c, auto index, const ClickResult& r) {
    s.clicks.push_back({&c, index, r});
  });
  s.run.frame_line(s.frame, t);
  s.run.clicks(s.clicks);
  while (s.next_tooltip < s.tooltips.size() && s.scenario_run.due(s.tooltips[s.next_tooltip].t)) {
    const ScenarioTooltip& tip = s.tooltips[s.next_tooltip++];
    const std::optional<std::size_t> index = tip.target.resolve(s.host);
    s.tips.push_back({&tip, index, index ? s.host.tooltip(*index, tip.point()) : TooltipResult{}});
  }
  s.run.state_changes();
  s.run.elements();
  s.run.tooltips(s.tips);
  ++s.frame;
}

void TraceRecorder::finish() {
  State& s = *state_;
  s.run.set_frame(s.frame);
  s.run.marker("shutdown");
  s.host.stop();
  s.run.state_changes();
  s.run.marker("end");
  s.run.finish();
}

void run_trace(Host& host, const Scenario& scenario, const TraceOptions& options, TraceOutput& out) {
  TraceRecorder trace(host, scenario, options, out);
  trace.start();
  for (int f = 0; f < options.frames; ++f) trace.frame();
  trace.finish();
}

void run_trace(Host& host, const Scenario& scenario, const TraceOptions& options, std::ostream& out) {
  StreamTraceOutput output(out);
  run_trace(host, scenario, options, output);
}

}  // namespace orv::host
