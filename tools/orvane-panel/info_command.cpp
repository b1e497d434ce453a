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

#include "catalogue.h"
#include "cli.h"
#include "commands.h"
#include "gauge_facts.h"
#include "host/aircraft/token_names.h"
#include "host/load/host_error.h"
#include "host/panel/element_kind.h"
#include "host/panel/host.h"
#include "host/panel/mouse_routing.h"
#include "host/record/json_writer.h"
#include "host/record/trace_format.h"
#include "probe.h"

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
    "  --catalogue DIR write the gauge catalogue: DIR/gauges.md with every gauge's\n"
    "                  picture (DIR/gauges/GAUGE.png, the built-in panel at 110 s of\n"
    "                  the built-in flight, every window open) and the above\n"
    "                  (docs/gauges.md is written so: info --catalogue docs)\n"
    "  --help          this text\n"
    "\n";

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

// One gauge's facts as a member of --json's "gauges".
void write_json(JsonWriter& out, const GaugeFacts& g, const std::vector<std::uint32_t>& opens,
                const std::vector<std::uint32_t>& closes) {
  const auto numbers = [&out](const std::vector<std::uint32_t>& values) {
    out.begin_array();
    for (const auto v : values) out.integer(v);
    out.end_array();
  };
  out.begin_object().key("name").string(g.name);
  out.key("default_size").begin_array().integer(g.width).integer(g.height).end_array();
  out.key("bitmap_size").begin_array().integer(g.bitmap_width).integer(g.bitmap_height).end_array();
  out.key("elements").begin_object();
  for (const auto& [k, n] : g.kinds) out.key(k).integer(n);
  out.end_object().key("tokens").begin_array();
  for (const auto t : g.tokens)
    out.begin_object().key("id").integer(t).key("name").string_or_null(token_name(t)).end_object();
  out.end_array().key("mouse").begin_array();
  for (const MouseFact& r : g.mouse) {
    out.line_break(4).begin_object().key("index").integer(r.index).key("kind").string(r.kind);
    out.key("box").begin_array().integer(r.x).integer(r.y).integer(r.w).integer(r.h).end_array();
    out.key("whole").boolean(r.whole).key("cursor").integer(r.cursor).key("flags").string(hex(r.flags));
    out.key("help_id").integer(r.help_id).key("event").integer(r.event).key("tooltip").string(r.tooltip);
    out.end_object();
  }
  out.end_array().key("events");
  numbers(g.events);
  out.key("opens");
  numbers(opens);
  out.key("closes");
  numbers(closes);
  out.end_object();
}

}  // namespace

int run_info(const Args& args) {
  CommonOptions common;
  std::vector<std::string> wanted;
  bool json = false;
  std::optional<std::string> catalogue;
  const OptionTable table = {
      module_option(common),
      panel_option(common),
      json_option(json),
      value_option("--catalogue", "DIR", [&](const std::string& v) { catalogue = v; }),
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
    if (catalogue) {
      write_catalogue(*module, *catalogue);
      return int{kExitOk};
    }
    SimState state;
    const std::vector<GaugeFacts> facts = gather_facts(*module, names, state);
    std::string out;
    JsonWriter report;
    if (json) report.begin_object().key("module").string(module->path()).key("gauges").begin_array();
    for (std::size_t i = 0; i < facts.size(); ++i) {
      const GaugeFacts& g = facts[i];
      const std::vector<std::uint32_t> opens(g.opens.begin(), g.opens.end());
      const std::vector<std::uint32_t> closes(g.closes.begin(), g.closes.end());
      if (json) {
        write_json(report.line_break(2), g, opens, closes);
        continue;
      }
      out += g.name + ": default size " + std::to_string(g.width) + "x" + std::to_string(g.height) +
             ", bitmap " + std::to_string(g.bitmap_width) + "x" + std::to_string(g.bitmap_height) +
             " (mouse boxes below are in bitmap pixels)\n";
      out += "  elements:";
      for (const auto& [k, n] : g.kinds) out += " " + k + " " + std::to_string(n);
      out += "\n  tokens:";
      for (const auto t : g.tokens) out += " " + token_label(t) + ";";
      out += "\n";
      for (const MouseFact& r : g.mouse) {
        out += "  mouse " + std::to_string(r.index) + " " + r.kind + " " +
               (r.whole ? std::string("whole gauge")
                        : std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
                              std::to_string(r.h)) +
               " cursor " + std::to_string(r.cursor) + " flags " + hex(r.flags);
        if (r.help_id != 0) out += " help " + std::to_string(r.help_id);
        if (r.event != 0) out += " event " + std::to_string(r.event);
        if (!r.tooltip.empty()) out += " tooltip \"" + escape_text(r.tooltip.c_str()) + "\"";
        out += "\n";
      }
      if (!g.events.empty()) out += "  sends: " + number_list(g.events) + "\n";
      if (!opens.empty()) out += "  opens windows: " + number_list(opens) + "\n";
      if (!closes.empty()) out += "  closes windows: " + number_list(closes) + "\n";
    }
    if (json) out = report.line_break(0).end_array().end_object().text() + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return int{kExitOk};
  });
}

}  // namespace orv::panel_tool
