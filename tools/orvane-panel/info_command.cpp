// orvane-panel info: what a module offers a panel designer and a test
// writer, read from its records and one probe run: every gauge's default
// size, elements by kind, the tokens its elements read, its mouse records,
// and the key events and windows its boxes send and open when clicked.
#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "element_kind.h"
#include "host.h"
#include "host_error.h"
#include "mouse_routing.h"
#include "probe.h"
#include "token_names.h"
#include "trace.h"

namespace orv::panel_tool {

using namespace orv::host;

namespace {

constexpr const char* kInfoHelp =
    "Usage: orvane-panel info [options] [GAUGE ...]\n"
    "\n"
    "Describes the gauges of the module (all, or the ones named): default size,\n"
    "element count by kind, the tokens the elements read, every mouse record\n"
    "(kind, box in gauge pixels, cursor, flags, help id, event, tooltip text)\n"
    "and, from a probe run that clicks every box with each button it takes, the\n"
    "key events sent and the panel windows opened and closed.\n"
    "\n"
    "Options:\n"
    "  --module PATH   gauge module (default: Orvane_Instr next to this program)\n"
    "  --panel FILE    describe the gauges of the module this panel.cfg places\n"
    "  --json          one JSON object: {\"module\", \"gauges\": [{\"name\",\n"
    "                  \"default_size\", \"elements\", \"tokens\", \"mouse\",\n"
    "                  \"events\", \"opens\", \"closes\"}]}\n"
    "  --help          this text\n"
    "\n";

// The token numbers an element's channels read.
void element_tokens(abi::ElementHeader* e, std::set<std::uint32_t>& out) {
  for (const ElementChannel& c : element_channels(e))
    if (c.source->id != 0) out.insert(c.source->id);
}

std::string hex(std::uint32_t v) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08x", v);
  return buffer;
}

std::string token_label(std::uint32_t id) {
  const char* name = token_name(id);
  return std::to_string(id) + (name != nullptr ? std::string(" ") + name : std::string());
}

bool same_name(const std::string& a, const std::string& b) {
  return a.size() == b.size() && name_distance(a, b) == 0;
}

std::string number_list(const std::vector<std::uint32_t>& values) {
  std::string out;
  for (const auto v : values) out += (out.empty() ? "" : ", ") + std::to_string(v);
  return out;
}

}  // namespace

int run_info(const Args& args) {
  CommonOptions common;
  std::vector<std::string> wanted;
  bool json = false;
  const OptionTable table = {
      module_option(common),
      panel_option(common),
      json_option(json),
      value_option("", "GAUGE", [&](const std::string& v) { wanted.push_back(v); }),
  };
  if (auto exit = parse_command_line("info", kInfoHelp, args, table)) return *exit;

  return report_errors([&] {
    auto module = Module::load(common.module.value_or(default_module_path()));
    std::vector<std::string> names;
    for (const abi::GaugeHeader* h : module->gauges()) names.push_back(h->name);
    if (!wanted.empty()) {
      for (const std::string& w : wanted) {
        if (module->find_gauge(w) == nullptr) {
          throw HostError(ErrorKind::usage,
                          module->name() + " has no gauge '" + w + "'" + did_you_mean(w, names));
        }
      }
      names = wanted;
    } else if (common.panel) {
      // The gauges of this module the panel places, each once, in panel order.
      const PanelConfig panel =
          parse_panel_config(read_file(*common.panel), *common.panel, directory_of(*common.panel));
      names.clear();
      for (const PanelWindow& w : panel.windows) {
        for (const GaugePlacement& g : w.gauges) {
          if (module->find_gauge(g.gauge) == nullptr || !same_name(g.module, module->name())) continue;
          if (std::find(names.begin(), names.end(), g.gauge) == names.end()) names.push_back(g.gauge);
        }
      }
      if (names.empty())
        throw HostError(ErrorKind::bad_panel,
                        *common.panel + ": places no gauge of module " + module->name());
    }
    SimState state;
    Host host(*module, state);
    // All in window 0, open, so that their elements run as on a panel.
    for (const std::string& n : names) host.add_instance(n, 0, 0, 0);
    state.open_window(0);
    // Records as loaded, before any callback could change the copies.
    struct Static {
      std::map<std::string, int> kinds;
      std::set<std::uint32_t> tokens;
      std::vector<MouseRecord> mouse;
    };
    std::vector<Static> statics(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
      PlacedInstance& p = host.instances()[i];
      for (const ElementSlot& slot : p.gauge->elements()) {
        const auto kind = slot.element->kind;
        ++statics[i].kinds[element_kind_name(kind)];
        element_tokens(slot.element, statics[i].tokens);
      }
      statics[i].mouse = mouse_records(p.gauge->mouse_rects(), p.bitmap_width > 0 ? p.bitmap_width : p.width,
                                       p.bitmap_width > 0 ? p.bitmap_height : p.height);
    }
    const Scenario scenario = parse_scenario(kDefaultScenario, "built-in scenario", "");
    const auto probed = probe_clicks(host, scenario);

    std::string out;
    if (json) out = "{\"module\": " + json_string(module->path()) + ", \"gauges\": [";
    for (std::size_t i = 0; i < names.size(); ++i) {
      const PlacedInstance& p = host.instances()[i];
      const Static& s = statics[i];
      const ProbedInstance& pr = probed[i];
      const std::vector<std::uint32_t> opens(pr.opened.begin(), pr.opened.end());
      const std::vector<std::uint32_t> closes(pr.closed.begin(), pr.closed.end());
      auto tooltip_of = [](const MouseRecord& r) -> std::string {
        return r.rect->kind == abi::kMouseTooltip && r.rect->action.text != nullptr ? r.rect->action.text
                                                                                    : "";
      };
      if (json) {
        out += std::string(i == 0 ? "\n" : ",\n") + "  {\"name\": " + json_string(names[i]) +
               ", \"default_size\": [" + std::to_string(p.width) + ", " + std::to_string(p.height) +
               "], \"bitmap_size\": [" + std::to_string(p.bitmap_width) + ", " +
               std::to_string(p.bitmap_height) + "], \"elements\": {";
        bool first = true;
        for (const auto& [k, n] : s.kinds) {
          out += std::string(first ? "" : ", ") + "\"" + k + "\": " + std::to_string(n);
          first = false;
        }
        out += "}, \"tokens\": [";
        first = true;
        for (const auto t : s.tokens) {
          const char* name = token_name(t);
          out += std::string(first ? "" : ", ") + "{\"id\": " + std::to_string(t) +
                 ", \"name\": " + (name != nullptr ? json_string(name) : "null") + "}";
          first = false;
        }
        out += "], \"mouse\": [";
        for (std::size_t m = 0; m < s.mouse.size(); ++m) {
          const MouseRecord& r = s.mouse[m];
          const auto kind = r.rect->kind;
          out += std::string(m == 0 ? "\n    " : ",\n    ") + "{\"index\": " + std::to_string(r.index) +
                 ", \"kind\": \"" + mouse_kind_name(kind) + "\", \"box\": [" + std::to_string(r.x) + ", " +
                 std::to_string(r.y) + ", " + std::to_string(r.w) + ", " + std::to_string(r.h) +
                 "], \"whole\": " + (r.whole ? "true" : "false") +
                 ", \"cursor\": " + std::to_string(r.rect->cursor) + ", \"flags\": \"" + hex(r.rect->flags) +
                 "\", \"help_id\": " + std::to_string(r.rect->help_id) +
                 ", \"event\": " + std::to_string(kind == abi::kMouseTooltip ? 0 : r.rect->event) +
                 ", \"tooltip\": " + json_string(tooltip_of(r)) + "}";
        }
        out += "], \"events\": [" + number_list(pr.events) + "], \"opens\": [" + number_list(opens) +
               "], \"closes\": [" + number_list(closes) + "]}";
        continue;
      }
      out += names[i] + ": default size " + std::to_string(p.width) + "x" + std::to_string(p.height) +
             ", bitmap " + std::to_string(p.bitmap_width) + "x" + std::to_string(p.bitmap_height) +
             " (mouse boxes below are in bitmap pixels)\n";
      out += "  elements:";
      for (const auto& [k, n] : s.kinds) out += " " + k + " " + std::to_string(n);
      out += "\n  tokens:";
      for (const auto t : s.tokens) out += " " + token_label(t) + ";";
      out += "\n";
      for (const MouseRecord& r : s.mouse) {
        const auto kind = r.rect->kind;
        out += "  mouse " + std::to_string(r.index) + " " + mouse_kind_name(kind) + " " +
               (r.whole ? std::string("whole gauge")
                        : std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
                              std::to_string(r.h)) +
               " cursor " + std::to_string(r.rect->cursor) + " flags " + hex(r.rect->flags);
        if (r.rect->help_id != 0) out += " help " + std::to_string(r.rect->help_id);
        if (kind != abi::kMouseTooltip && r.rect->event != 0)
          out += " event " + std::to_string(r.rect->event);
        if (!tooltip_of(r).empty()) out += " tooltip \"" + escape_text(tooltip_of(r).c_str()) + "\"";
        out += "\n";
      }
      if (!pr.events.empty()) out += "  sends: " + number_list(pr.events) + "\n";
      if (!opens.empty()) out += "  opens windows: " + number_list(opens) + "\n";
      if (!closes.empty()) out += "  closes windows: " + number_list(closes) + "\n";
    }
    if (json) out += "\n]}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return int{kExitOk};
  });
}

}  // namespace orv::panel_tool
