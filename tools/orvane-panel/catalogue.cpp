#include "catalogue.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "gauge_facts.h"
#include "host/aircraft/event_names.h"
#include "host/aircraft/token_names.h"
#include "host/load/host_error.h"
#include "host/load/windows_text.h"
#include "host/render/canvas.h"
#include "host/render/drawing_surfaces.h"
#include "host/render/render.h"
#include "host/scenario/scenario_run.h"

namespace orv::panel_tool {

using namespace orv::host;

namespace {

// The moment of the pictures: the built-in flight's cruise among traffic on
// its GPS route, every window of the built-in panel then opened.
constexpr double kPictureTime = 110.0;
// The longest side of a picture; a gauge placed larger is drawn smaller.
constexpr int kThumbnail = 240;

struct Picture {
  std::string file;  // under gauges/
  int width = 0, height = 0;
};

std::string cursor_name(int cursor) {
  switch (cursor) {
    case abi::kCursorNormal:
      return "arrow cursor";
    case abi::kCursorUp:
      return "up-arrow cursor";
    case abi::kCursorDown:
      return "down-arrow cursor";
    case abi::kCursorHand:
      return "hand cursor";
    default:
      return cursor < 0 ? "" : "cursor " + std::to_string(cursor);
  }
}

std::string buttons(std::uint32_t flags) {
  std::string out;
  auto add = [&](const char* what) { out += (out.empty() ? "" : ", ") + std::string(what); };
  if (flags & abi::kMouseLeftSingle) add("left click");
  if (flags & abi::kMouseRightSingle) add("right click");
  if (flags & abi::kMouseMove) add("pointer movement");
  return out;
}

std::string box_text(const MouseFact& m) {
  return m.whole ? std::string("the whole gauge")
                 : std::to_string(m.x) + "," + std::to_string(m.y) + " " + std::to_string(m.w) + "x" +
                       std::to_string(m.h);
}

std::string event_label(std::uint32_t event) {
  const char* name = event_name(event);
  return std::to_string(event) + (name != nullptr ? std::string(" ") + name : std::string());
}

std::string list(const std::set<std::uint32_t>& values) {
  std::string out;
  for (const auto v : values) out += (out.empty() ? "" : ", ") + std::to_string(v);
  return out;
}

// A Markdown table cell or list text: '|' would end the cell.
std::string cell(std::string text) {
  std::string out;
  for (const char c : text) out += c == '|' ? std::string("\\|") : std::string(1, c);
  return out;
}

// Draws the first instance of every gauge of the built-in panel at the
// picture moment into DIR/gauges/NAME.png.
std::map<std::string, Picture> draw_pictures(Module& module, const std::string& dir) {
  const Inputs inputs = load_inputs(std::nullopt, std::nullopt);
  const render::BitmapStore bitmaps =
      render::BitmapStore::from_module(reinterpret_cast<void*>(module.handle()));
  render::DrawingSurfaces surfaces;
  SimState state;
  Host host(module, state);
  std::vector<std::string> warnings;
  host.place(inputs.panel, warnings);
  for (PlacedInstance& p : host.instances()) surfaces.attach(*p.gauge, bitmaps);
  ScenarioRun run(host, inputs.scenario, {}, {});
  run.apply_initial();
  host.start();
  for (long f = 0; f <= std::lround(kPictureTime * kTicksPerSecond); ++f) {
    run.step([](const ScenarioClick&, std::optional<std::size_t>, const ClickResult&) {});
    state.clear_logs();
  }
  for (const PanelWindow& w : host.windows()) state.open_window(w.number);
  host.frame();

  std::map<std::string, Picture> pictures;
  const std::string folder = dir + "/gauges";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) throw HostError(ErrorKind::unreadable, folder + ": cannot create the directory: " + ec.message());
  for (const PlacedInstance& p : host.instances()) {
    const std::string name = p.gauge->name();
    if (pictures.count(name) != 0) continue;
    const double scale = std::min(1.0, static_cast<double>(kThumbnail) / std::max(p.width, p.height));
    const int w = std::max(1, static_cast<int>(std::lround(p.width * scale)));
    const int h = std::max(1, static_cast<int>(std::lround(p.height * scale)));
    std::uint32_t background = 0;
    for (const PanelWindow& win : host.windows())
      if (win.number == p.window) background = win.background_colour;
    render::Image image(w, h, render::PixelFormat::rgb);
    render::Canvas canvas(image);
    canvas.paint(render::colour_of_bgr(background));
    if (!p.gauge->elements().empty()) render::render_gauge(canvas, *p.gauge, w, h, bitmaps);
    const Picture picture{name + ".png", w, h};
    const std::string path = folder + "/" + picture.file;
    const std::string error = render::write_png(image, path, 9);
    if (!error.empty()) throw HostError(ErrorKind::unreadable, path + ": cannot write: " + error);
    std::cout << shown_path(path) << "\n";
    pictures.emplace(name, picture);
  }
  host.stop();
  return pictures;
}

// The built-in panel's lines of `gauge`: "gaugeNN=..." text and parameters.
std::vector<const GaugePlacement*> placements(const PanelConfig& panel, const std::string& gauge) {
  std::vector<const GaugePlacement*> out;
  for (const PanelWindow& w : panel.windows)
    for (const GaugePlacement& g : w.gauges)
      if (g.gauge == gauge) out.push_back(&g);
  return out;
}

}  // namespace

void write_catalogue(Module& module, const std::string& dir) {
  std::vector<std::string> names;
  for (const abi::GaugeHeader* h : module.gauges()) names.push_back(h->name);
  SimState facts_state;  // outlives the pictures' run (gather_facts)
  const std::vector<GaugeFacts> facts = gather_facts(module, names, facts_state);
  const std::map<std::string, Picture> pictures = draw_pictures(module, dir);
  const Inputs inputs = load_inputs(std::nullopt, std::nullopt);

  const std::string module_name = module.name();
  std::string md = "# The gauges of " + module_name + "\n\n";
  md +=
      "<!-- Written by `orvane-panel info --catalogue docs` from the module: change the\n"
      "     module or the tool, not this page. The test catalogue_matches_module fails\n"
      "     when the two part. -->\n\n";
  md += "Every gauge of `" + module_name + "` (" + std::to_string(facts.size()) +
        ", in the module's order) with what a panel designer\n"
        "needs to place it: its picture, its default size, the tokens it reads, where\n"
        "it takes clicks and shows tooltips, and the key events and windows its clicks\n"
        "drive. Each picture shows the gauge as the built-in panel\n"
        "(`data/panels/default/panel.cfg`) places it, " +
        std::to_string(static_cast<int>(kPictureTime)) +
        " s into the built-in flight (the\n"
        "cruise, among traffic on a GPS route) with every window open, at most " +
        std::to_string(kThumbnail) +
        "\n"
        "pixels a side. Boxes are in the pixels of the gauge's bitmap, which the host\n"
        "scales to the gauge's size on the panel. A gauge line reads\n"
        "`gaugeNN=" +
        module_name +
        "!GAUGE, x, y[, w[, h]][, parameters]` (README, \"Installing in\n"
        "the simulator\"); `orvane-panel info GAUGE` prints the same facts for one gauge.\n\n";
  md += "| Gauge | Default size | Takes | Sends or opens |\n|---|---|---|---|\n";
  for (const GaugeFacts& g : facts) {
    std::string takes;
    for (const MouseFact& m : g.mouse) {
      if (m.kind != "box" || buttons(m.flags).empty()) continue;
      const std::string b = buttons(m.flags);
      if (takes.find(b) == std::string::npos) takes += (takes.empty() ? "" : "; ") + b;
    }
    std::string drives;
    for (const auto e : g.events) drives += (drives.empty() ? "" : ", ") + event_label(e);
    if (!g.opens.empty()) drives += (drives.empty() ? "" : "; ") + std::string("windows ") + list(g.opens);
    std::string anchor = g.name;
    for (char& c : anchor) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    md += "| [" + g.name + "](#" + anchor + ") | " + std::to_string(g.width) + " x " +
          std::to_string(g.height) + " | " + (takes.empty() ? "-" : takes) + " | " +
          (drives.empty() ? "-" : cell(drives)) + " |\n";
  }
  for (const GaugeFacts& g : facts) {
    md += "\n## " + g.name + "\n\n";
    if (auto it = pictures.find(g.name); it != pictures.end()) {
      md += "<img src=\"gauges/" + it->second.file + "\" width=\"" + std::to_string(it->second.width) +
            "\" height=\"" + std::to_string(it->second.height) + "\" alt=\"" + g.name + "\">\n\n";
    }
    md += "- Default size " + std::to_string(g.width) + " x " + std::to_string(g.height) + ", bitmap " +
          std::to_string(g.bitmap_width) + " x " + std::to_string(g.bitmap_height) + ".\n";
    for (const GaugePlacement* p : placements(inputs.panel, g.name)) {
      std::string line = std::to_string(p->x) + "," + std::to_string(p->y);
      if (p->width) line += "," + std::to_string(*p->width);
      if (p->height) line += "," + std::to_string(*p->height);
      if (!p->parameters.empty()) line += ", " + p->parameters;
      md += "- In the built-in panel: `" + p->module + "!" + g.name + ", " + line + "`.\n";
      break;
    }
    std::set<std::string> parameters;
    for (const GaugePlacement* p : placements(inputs.panel, g.name))
      if (!p->parameters.empty()) parameters.insert(p->parameters);
    if (!parameters.empty()) {
      md += "- Parameter strings in the built-in panel:";
      for (const std::string& s : parameters) md += " `" + s + "`";
      md += " (the keys: README, \"Parameter-string keys\").\n";
    }
    md += "- Elements:";
    int count = 0;
    for (const auto& [k, n] : g.kinds) {
      md += std::string(count == 0 ? " " : ", ") + k + " " + std::to_string(n);
      ++count;
    }
    md += count == 0 ? " none.\n" : ".\n";
    md += "- Tokens read:";
    count = 0;
    for (const auto t : g.tokens) {
      const char* name = token_name(t);
      md +=
          std::string(count++ == 0 ? " " : ", ") + std::to_string(t) + (name ? std::string(" ") + name : "");
    }
    md += count == 0 ? " none.\n" : ".\n";
    std::string clicks, tips;
    for (const MouseFact& m : g.mouse) {
      if (m.kind == "box" && !buttons(m.flags).empty()) {
        std::string line = "  - " + box_text(m) + ": " + buttons(m.flags);
        if (!cursor_name(m.cursor).empty()) line += ", " + cursor_name(m.cursor);
        if (m.event != 0) line += ", event " + event_label(m.event);
        clicks += line + "\n";
      } else if (m.kind == "tooltip") {
        tips += "  - " + box_text(m) + ": " +
                (m.tooltip.empty() ? "the simulator's help text " + std::to_string(m.help_id)
                                   : "\"" + cell(utf8_from_windows_1252(m.tooltip)) + "\"") +
                "\n";
      }
    }
    md += clicks.empty() ? "- Click areas: none.\n" : "- Click areas:\n" + clicks;
    if (!tips.empty()) md += "- Tooltips:\n" + tips;
    if (!g.events.empty()) {
      md += "- Sends:";
      count = 0;
      for (const auto e : g.events) md += std::string(count++ == 0 ? " " : ", ") + event_label(e);
      md += ".\n";
    }
    if (!g.opens.empty()) md += "- Opens windows " + list(g.opens) + ".\n";
    if (!g.closes.empty()) md += "- Closes windows " + list(g.closes) + ".\n";
  }
  const std::string path = dir + "/gauges.md";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) throw HostError(ErrorKind::unreadable, path + ": cannot write");
  const bool written = std::fwrite(md.data(), 1, md.size(), f) == md.size();
  if (std::fclose(f) != 0 || !written) throw HostError(ErrorKind::unreadable, path + ": cannot write");
  std::cout << shown_path(path) << "\n";
  std::cout.flush();
}

}  // namespace orv::panel_tool
