// orvane-panel check: a linter of panel.cfg against a gauge module. It reads
// the panel with the host's own panel reader, places it in a host, runs the
// probe (a click on every box of every gauge) and reports what would keep a
// gauge from showing or working in the simulator.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "host/load/host_error.h"
#include "host/load/stop_request.h"
#include "host/load/windows_text.h"
#include "host/panel/bmp_image.h"
#include "host/panel/host.h"
#include "host/record/json_writer.h"
#include "panel_art.h"
#include "probe.h"

namespace orv::panel_tool {

using namespace orv::host;
namespace fs = std::filesystem;

namespace {

constexpr const char* kCheckHelp =
    "Usage: orvane-panel check [options] [PANEL.cfg]\n"
    "\n"
    "Checks a panel configuration against the gauge module and prints one line\n"
    "per finding, 'file:line: level: message', sorted by line. Levels:\n"
    "  error    the simulator will not show the gauge or window as written\n"
    "           (unknown gauge or module, a name that differs only in case,\n"
    "           duplicate gaugeNN keys or windows, bad numbers)\n"
    "  warning  it shows but will not look or work as meant (outside its window,\n"
    "           drawn over another gauge or its click areas, a hidden window\n"
    "           nothing opens, a gauge that needs another one the panel does not\n"
    "           place, no title)\n"
    "  note     for information; never changes the exit status\n"
    "Without PANEL.cfg the built-in panel is checked.\n"
    "\n"
    "Gauges drawn over each other in one window are reported, the later one\n"
    "covering the earlier (windows are not compared with each other: an overlay\n"
    "window lies over another by design). A gauge meant to lie over others (a\n"
    "window button over a display's corner, an invisible click area) says so\n"
    "with a comment at the end of its line that starts with 'overlay':\n"
    "  gauge18=Orvane_Instr!MFD1_Toggle, 20,400,50,50  // overlay: window button\n"
    "\n"
    "Module files are looked up as the simulator does: first in the panel's own\n"
    "folder, then in the simulator's Gauges folder (--gauges, else the first\n"
    "folder named Gauges in the panel's folder or one of its parents), as\n"
    "MODULE.gau (or .dll), names compared without regard to case.\n"
    "\n"
    "Options:\n"
    "  --module PATH   gauge module to check against (default: Orvane_Instr next\n"
    "                  to this program)\n"
    "  --panel FILE    the panel to check (the same as PANEL.cfg)\n"
    "  --gauges DIR    the simulator's Gauges folder\n"
    "  --json          print one JSON object: {\"file\", \"module\", \"errors\",\n"
    "                  \"warnings\", \"notes\", \"diagnostics\": [{\"file\", \"line\",\n"
    "                  \"level\", \"code\", \"message\"}]}\n"
    "  --strict        exit 1 when there are warnings but no errors\n"
    "  --help          this text\n"
    "\n"
    "Exit status of check: 0 clean (or notes only), 1 warnings with --strict,\n"
    "2 errors; 3 and 4 as below when the panel or module cannot be read.\n"
    "\n";

enum class Level { error, warning, note };

const char* level_name(Level l) {
  switch (l) {
    case Level::error:
      return "error";
    case Level::warning:
      return "warning";
    case Level::note:
      return "note";
  }
  return "note";
}

struct Diagnostic {
  int line = 0;
  Level level = Level::note;
  std::string code;  // a short stable name of the finding, for scripts
  std::string message;
};

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string trim(const std::string& s) {
  std::size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

// The layout of the panel text the reader does not keep: where each section
// starts and which keys repeat within a section.
struct TextLayout {
  std::map<std::string, int> section_line;  // lower-case name -> first header line
  struct Repeat {
    std::string section, key;
    int line, first;
  };
  std::vector<Repeat> repeats;
  std::set<int> overlay_lines;  // lines whose trailing comment starts with "overlay"
};

bool marked_overlay(const TextLayout& layout, int line) { return layout.overlay_lines.count(line) != 0; }

// Whether the trailing comment of a panel line (after "//" or ";" that
// follows a blank) starts with "overlay".
bool overlay_comment(const std::string& line) {
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (!std::isspace(static_cast<unsigned char>(line[i - 1]))) continue;
    std::size_t at = i;
    if (line[i] == ';') {
      at = i + 1;
    } else if (line.compare(i, 2, "//") == 0) {
      at = i + 2;
    } else {
      continue;
    }
    return lower(trim(line.substr(at))).rfind("overlay", 0) == 0;
  }
  return false;
}

TextLayout scan_text(const std::string& text) {
  TextLayout layout;
  std::string section;
  std::map<std::string, int> keys;  // of the current section
  int line_no = 0;
  std::size_t pos = text.rfind(kUtf8Mark, 0) == 0 ? 3 : 0;
  while (pos <= text.size()) {
    auto eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    const std::string line = trim(text.substr(pos, eol - pos));
    pos = eol + 1;
    ++line_no;
    if (line.empty() || line[0] == ';' || line.rfind("//", 0) == 0) continue;
    if (line[0] == '[') {
      const auto close = line.find(']');
      section = lower(trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
      layout.section_line.emplace(section, line_no);
      keys.clear();
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string::npos || section.empty()) continue;
    if (overlay_comment(line)) layout.overlay_lines.insert(line_no);
    const std::string key = lower(trim(line.substr(0, eq)));
    auto [it, fresh] = keys.emplace(key, line_no);
    if (!fresh) layout.repeats.push_back({section, key, line_no, it->second});
  }
  return layout;
}

std::string section_name(int index, bool virtual_cockpit = false) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, virtual_cockpit ? "Vcockpit%02d" : "Window%02d", index);
  return buffer;
}

// The section a window was read from, as findings name it.
std::string section_name(const PanelWindow& w) { return section_name(w.index, w.virtual_cockpit); }

// The file `name`.gau (or .dll) in `dir`, names compared without case.
std::optional<fs::path> find_module_file(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  if (dir.empty() || !fs::is_directory(dir, ec)) return std::nullopt;
  const std::string want = lower(name);
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    const std::string file = lower(entry.path().filename().string());
    if (file == want + ".gau" || file == want + ".dll") return entry.path();
  }
  return std::nullopt;
}

// The Gauges folder: `given`, else the first folder named Gauges in `start`
// or one of its parents.
fs::path find_gauges_folder(const std::optional<std::string>& given, const fs::path& start) {
  if (given) return fs::path(*given);
  std::error_code ec;
  fs::path dir = fs::absolute(start, ec);
  for (;;) {
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
      if (lower(entry.path().filename().string()) == "gauges" && entry.is_directory(ec)) return entry.path();
    }
    if (!dir.has_parent_path() || dir.parent_path() == dir) return {};
    dir = dir.parent_path();
  }
}

// Gauges that do nothing useful without another gauge on the panel: the
// head-up display and the displays are switched on and paged only by a
// screen selector.
struct Need {
  const char* gauge;
  std::vector<const char*> any_of;
  const char* why;
};
const std::vector<Need>& needs() {
  static const std::vector<Need> table = {
      {"Head_Up_Display",
       {"Screen_Selector_Main", "Screen_Selector_Landing"},
       "it stays dark: only a screen selector switches it on"},
      {"Multi_Function_Display_Left",
       {"Screen_Selector_Main", "Screen_Selector_Landing"},
       "its pages can only be changed from a screen selector"},
      {"Multi_Function_Display_Right",
       {"Screen_Selector_Main", "Screen_Selector_Landing"},
       "its pages can only be changed from a screen selector"},
  };
  return table;
}

struct Rect {
  int x, y, w, h;
};
std::optional<Rect> intersect(const Rect& a, const Rect& b) {
  const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
  const int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
  if (x1 <= x0 || y1 <= y0) return std::nullopt;
  return Rect{x0, y0, x1 - x0, y1 - y0};
}

class Checker {
 public:
  Checker(const std::string& file, const std::string& text, Module& module)
      : file_(file), text_(text), module_(module) {}

  std::vector<Diagnostic> run(const std::optional<std::string>& gauges_dir, bool resolve_modules);

 private:
  void add(int line, Level level, const char* code, std::string message) {
    diagnostics_.push_back({line, level, code, std::move(message)});
  }
  void reader_findings(const PanelConfig& panel);
  void repeated_keys(const TextLayout& layout);
  void windows(const PanelConfig& panel, const TextLayout& layout, bool on_disk);
  void module_names(const PanelConfig& panel, const std::optional<std::string>& gauges_dir, bool resolve);
  void gauge_names(const PanelConfig& panel);
  void size_numbers(const PanelConfig& panel);
  void placement(const Host& host, const std::vector<const GaugePlacement*>& placed,
                 const TextLayout& layout);
  void reach(const Host& host, const std::vector<ProbedInstance>& probed,
             const std::vector<const GaugePlacement*>& placed, const TextLayout& layout);
  void gauge_needs(const std::vector<const GaugePlacement*>& placed);
  int window_line(const TextLayout& layout, const PanelWindow& w) const {
    if (w.line > 0) return w.line;
    auto it = layout.section_line.find(lower(section_name(w)));
    return it == layout.section_line.end() ? 0 : it->second;
  }

  std::string file_;
  const std::string& text_;
  Module& module_;
  std::vector<Diagnostic> diagnostics_;
  std::vector<std::string> gauge_names_;
};

void Checker::reader_findings(const PanelConfig& panel) {
  // The reader's messages are "file:line: reason"; a line it skips or a
  // value it cannot take is a line the simulator will not use as written.
  const std::string prefix = panel.file + ":";
  for (const std::string& w : panel.warnings) {
    int line = 0;
    std::string reason = w;
    if (w.rfind(prefix, 0) == 0) {
      const auto colon = w.find(':', prefix.size());
      if (colon != std::string::npos) {
        line = std::atoi(w.substr(prefix.size(), colon - prefix.size()).c_str());
        reason = trim(w.substr(colon + 1));
      }
    }
    const bool repeat = reason.find("repeats an earlier") != std::string::npos;
    add(line, Level::error, repeat ? "duplicate-window" : "bad-line", reason);
  }
}

void Checker::repeated_keys(const TextLayout& layout) {
  for (const auto& r : layout.repeats) {
    const bool gauge = r.key.rfind("gauge", 0) == 0;
    add(r.line, gauge ? Level::error : Level::warning, gauge ? "duplicate-gauge-key" : "duplicate-key",
        "'" + r.key + "' repeats in [" + r.section + "] (first at line " + std::to_string(r.first) +
            "); the simulator keeps only one of them");
  }
}

// `on_disk`: the panel is a file (the built-in panel's bitmaps are built in).
void Checker::windows(const PanelConfig& panel, const TextLayout& layout, bool on_disk) {
  std::map<std::uint32_t, const PanelWindow*> numbers;  // window number -> its section
  for (const PanelWindow& w : panel.windows) {
    const int line = window_line(layout, w);
    auto [it, fresh] = numbers.emplace(w.number, &w);
    if (!fresh) {
      add(line, Level::error, "duplicate-window",
          "[" + section_name(w) + "] has window number " + std::to_string(w.number) + " like [" +
              section_name(*it->second) + "]; key events can address only one of them");
    }
    // A background bitmap the simulator cannot show: missing beside the
    // panel, or not an uncompressed 8- or 24-bit BMP.
    if (on_disk && !w.background_file.empty()) {
      const BmpResult bmp = read_bmp_file(directory_of(file_) + "/" + w.background_file);
      const bool missing = bmp.error == "cannot be opened";
      if (missing && !built_in_panel_file(w.background_file).empty()) {
        add(w.background_line, Level::note, "bad-background",
            "[" + section_name(w) + "] background '" + w.background_file +
                "' is not in the panel's folder; orvane-panel draws the built-in panel's own, which the "
                "release has beside panels/default/panel.cfg: copy it with the panel");
      } else if (!bmp.image) {
        add(w.background_line, Level::warning, "bad-background",
            "[" + section_name(w) + "] background '" + w.background_file + "' " +
                (missing ? "is not in the panel's folder" : "cannot be read: " + bmp.error));
      }
    }
    // A virtual cockpit has no title and no window of its own on the screen.
    if (w.virtual_cockpit) continue;
    if (w.title.empty()) {
      add(line, Level::warning, "missing-title",
          "[" + section_name(w) + "] has no title in [Window Titles] (" + section_name(w) + "=...)");
    }
    // A width alone is a size: the height follows the background bitmap.
    if (w.size_mm_x <= 0) {
      add(line, Level::warning, "missing-size", "[" + section_name(w) + "] has no size_mm");
    }
  }
}

void Checker::module_names(const PanelConfig& panel, const std::optional<std::string>& gauges_dir,
                           bool resolve) {
  const fs::path panel_dir = fs::path(directory_of(file_));
  const fs::path gauges = resolve ? find_gauges_folder(gauges_dir, panel_dir) : fs::path();
  std::set<std::string> reported;
  std::map<std::string, std::optional<fs::path>> files;  // looked up once per module name
  for (const PanelWindow& w : panel.windows) {
    for (const GaugePlacement& g : w.gauges) {
      const bool loaded = lower(g.module) == lower(module_.name());
      std::optional<fs::path> found;
      if (resolve) {
        auto [it, fresh] = files.try_emplace(lower(g.module));
        if (fresh) {
          it->second = find_module_file(panel_dir, g.module);
          if (!it->second) it->second = find_module_file(gauges, g.module);
        }
        found = it->second;
      }
      const std::string where =
          "the panel's folder" + std::string(gauges.empty() ? "" : " or " + gauges.string());
      if (loaded) {
        if (resolve && !found && reported.insert(lower(g.module)).second) {
          add(g.line, Level::note, "module-not-installed",
              "module '" + g.module + "' is checked against " + module_.path() +
                  ", but the simulator finds no " + g.module + ".gau in " + where);
        }
        continue;
      }
      if (found) {
        if (reported.insert(lower(g.module)).second) {
          add(g.line, Level::note, "other-module",
              "gauges of module '" + g.module + "' (" + found->string() + ") are not checked");
        }
        continue;
      }
      std::string message = "module '" + g.module + "' is not loaded";
      if (resolve) message += " and not found in " + where;
      if (name_distance(g.module, module_.name()) <= std::max(2, static_cast<int>(g.module.size()) / 4))
        message += "; did you mean '" + module_.name() + "'?";
      add(g.line, Level::error, "unknown-module", message);
    }
  }
}

// The reader takes the first field after x and y that is not an integer as
// the start of the parameter string; a field that starts like a number but
// is not one ("20.5", "19x19") is a size the simulator cannot read.
void Checker::size_numbers(const PanelConfig& panel) {
  for (const PanelWindow& w : panel.windows) {
    for (const GaugePlacement& g : w.gauges) {
      if (g.width && g.height) continue;
      const std::string first = trim(g.parameters.substr(0, g.parameters.find(',')));
      const bool numeric_start = !first.empty() && (std::isdigit(static_cast<unsigned char>(first[0])) ||
                                                    first[0] == '-' || first[0] == '+');
      if (numeric_start) {
        add(g.line, Level::error, "bad-number",
            "'" + first + "' is not an integer " + (g.width ? "height" : "width") +
                "; the simulator reads it as the start of the parameter string");
      }
    }
  }
}

void Checker::gauge_names(const PanelConfig& panel) {
  for (const PanelWindow& w : panel.windows) {
    for (const GaugePlacement& g : w.gauges) {
      if (lower(g.module) != lower(module_.name()) || module_.find_gauge(g.gauge) != nullptr) continue;
      std::string same_case;
      for (const auto& n : gauge_names_) {
        if (lower(n) == lower(g.gauge)) same_case = n;
      }
      if (!same_case.empty()) {
        add(g.line, Level::error, "gauge-case",
            "gauge '" + g.gauge + "' differs from '" + same_case + "' only in case; gauge names are exact");
        continue;
      }
      std::string message = "module " + module_.name() + " has no gauge '" + g.gauge + "'";
      const std::string near = closest_name(g.gauge, gauge_names_);
      if (!near.empty()) message += "; did you mean '" + near + "'?";
      add(g.line, Level::error, "unknown-gauge", message);
    }
  }
}

void Checker::placement(const Host& host, const std::vector<const GaugePlacement*>& placed,
                        const TextLayout& layout) {
  const auto& instances = host.instances();
  std::map<std::uint32_t, const PanelWindow*> by_number;
  for (const PanelWindow& w : host.windows()) by_number.emplace(w.number, &w);
  for (std::size_t i = 0; i < instances.size(); ++i) {
    const PlacedInstance& p = instances[i];
    const PanelWindow* w = by_number.at(p.window);
    if (w->size_mm_x > 0 && w->size_mm_y > 0 &&
        (p.x < 0 || p.y < 0 || p.x + p.width > w->size_mm_x || p.y + p.height > w->size_mm_y)) {
      add(placed[i]->line, Level::warning, "outside-window",
          std::string(p.gauge->name()) + " at " + std::to_string(p.x) + "," + std::to_string(p.y) + " size " +
              std::to_string(p.width) + "x" + std::to_string(p.height) + " reaches outside [" +
              section_name(*w) + "] (" + std::to_string(w->size_mm_x) + "x" + std::to_string(w->size_mm_y) +
              ")");
    }
  }
  // Gauges with something to draw whose placed rectangles in one window
  // overlap: the one placed later covers the other there. A gauge line
  // whose trailing comment starts with "overlay" is meant to lie over the
  // others.
  for (std::size_t j = 0; j < instances.size(); ++j) {
    if (instances[j].gauge->elements().empty()) continue;
    for (std::size_t i = 0; i < j; ++i) {
      if (instances[i].window != instances[j].window || instances[i].gauge->elements().empty()) continue;
      if (marked_overlay(layout, placed[i]->line) || marked_overlay(layout, placed[j]->line)) continue;
      const PlacedInstance& a = instances[i];
      const PlacedInstance& b = instances[j];
      const std::optional<Rect> overlap =
          intersect(Rect{a.x, a.y, a.width, a.height}, Rect{b.x, b.y, b.width, b.height});
      if (!overlap) continue;
      add(placed[j]->line, Level::warning, "overlapping-gauges",
          std::string(b.gauge->name()) + " is drawn over " + a.gauge->name() + " (line " +
              std::to_string(placed[i]->line) + ") at " + std::to_string(overlap->x) + "," +
              std::to_string(overlap->y) + " size " + std::to_string(overlap->w) + "x" +
              std::to_string(overlap->h) + "; end the line with '// overlay' if that is meant");
    }
  }
  // Click boxes of different gauges in one window that take the same button
  // over the same spot: a click there reaches only one of them.
  std::vector<std::vector<std::pair<Rect, std::uint32_t>>> boxes(instances.size());
  for (std::size_t i = 0; i < instances.size(); ++i) {
    const PlacedInstance& p = instances[i];
    for (const MouseRecord& r : placed_mouse_records(p)) {
      if (r.rect->kind != abi::kMouseBox || (r.rect->flags & kClickButtons) == 0) continue;
      boxes[i].push_back({Rect{p.x + r.x, p.y + r.y, r.w, r.h}, r.rect->flags & kClickButtons});
    }
  }
  for (std::size_t j = 0; j < instances.size(); ++j) {
    throw_if_stop_requested();
    for (std::size_t i = 0; i < j; ++i) {
      if (instances[i].window != instances[j].window) continue;
      std::optional<Rect> overlap;
      for (const auto& [a, fa] : boxes[i]) {
        for (const auto& [b, fb] : boxes[j]) {
          if ((fa & fb) != 0 && !overlap) overlap = intersect(a, b);
        }
      }
      if (!overlap) continue;
      add(placed[j]->line, Level::warning, "overlapping-clicks",
          std::string("click areas of ") + instances[j].gauge->name() + " and " + instances[i].gauge->name() +
              " (line " + std::to_string(placed[i]->line) + ") overlap at " + std::to_string(overlap->x) +
              "," + std::to_string(overlap->y) + " size " + std::to_string(overlap->w) + "x" +
              std::to_string(overlap->h) + "; a click there reaches only one of them");
    }
  }
}

void Checker::reach(const Host& host, const std::vector<ProbedInstance>& probed,
                    const std::vector<const GaugePlacement*>& placed, const TextLayout& layout) {
  std::set<std::uint32_t> opened;
  for (const auto& p : probed) opened.insert(p.opened.begin(), p.opened.end());
  std::set<std::uint32_t> numbers;
  for (const PanelWindow& w : host.windows()) {
    numbers.insert(w.number);
    if (!w.visible && !w.virtual_cockpit && opened.count(w.number) == 0) {
      add(window_line(layout, w), Level::warning, "unreachable-window",
          "[" + section_name(w) + "] (window " + std::to_string(w.number) +
              ") starts hidden and no toggle or selector on this panel opens it");
    }
  }
  for (std::size_t i = 0; i < probed.size(); ++i) {
    for (const std::uint32_t n : probed[i].opened) {
      if (numbers.count(n) != 0) continue;
      add(placed[i]->line, Level::note, "missing-window",
          std::string(host.instances()[i].gauge->name()) + " opens window " + std::to_string(n) +
              ", which this panel does not define");
    }
  }
}

void Checker::gauge_needs(const std::vector<const GaugePlacement*>& placed) {
  std::set<std::string> names;
  for (const auto* g : placed) names.insert(g->gauge);
  std::set<std::string> reported;
  for (const auto* g : placed) {
    for (const Need& need : needs()) {
      if (g->gauge != need.gauge || !reported.insert(g->gauge).second) continue;
      bool met = false;
      std::string list;
      for (const char* other : need.any_of) {
        met = met || names.count(other) != 0;
        list += (list.empty() ? "" : " or ") + std::string(other);
      }
      if (!met) {
        add(g->line, Level::warning, "missing-companion",
            std::string(need.gauge) + " needs " + list + " on the panel: " + need.why);
      }
    }
  }
}

std::vector<Diagnostic> Checker::run(const std::optional<std::string>& gauges_dir, bool resolve_modules) {
  for (const abi::GaugeHeader* h : module_.gauges()) gauge_names_.push_back(h->name);
  // The panel's folder, for the background bitmaps that size width-only windows.
  const PanelConfig panel =
      parse_panel_config(text_, file_, resolve_modules ? directory_of(file_) : std::string());
  const TextLayout layout = scan_text(text_);
  reader_findings(panel);
  repeated_keys(layout);
  windows(panel, layout, resolve_modules);
  module_names(panel, gauges_dir, resolve_modules);
  gauge_names(panel);
  size_numbers(panel);

  SimState state;
  Host host(module_, state);
  std::vector<std::string> ignored;  // reported above, with their levels
  host.place(panel, ignored);
  std::vector<const GaugePlacement*> placed;
  for (const PanelWindow& w : host.windows()) {
    for (const GaugePlacement& g : w.gauges) placed.push_back(&g);
  }
  placement(host, placed, layout);
  gauge_needs(placed);
  const Scenario scenario = parse_scenario(kDefaultScenario, "built-in scenario", "");
  const auto probed = probe_clicks(host, scenario);
  reach(host, probed, placed, layout);

  std::stable_sort(diagnostics_.begin(), diagnostics_.end(),
                   [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
  return diagnostics_;
}

}  // namespace

// Findings of one kind printed in full before the rest are summed up.
constexpr std::size_t kShownPerKind = 10;

int run_check(const Args& args) {
  CommonOptions common;
  std::optional<std::string> panel_path, gauges_dir;
  bool json = false, strict = false;
  auto take_panel = [&](const std::string& v) {
    if (panel_path) throw UsageError{"one panel at a time ('" + *panel_path + "' and '" + v + "')"};
    panel_path = v;
  };
  const OptionTable table = {
      module_option(common),
      value_option("--panel", "FILE", take_panel, Must::read_file),
      value_option(
          "--gauges", "DIR", [&](const std::string& v) { gauges_dir = v; }, Must::read_folder),
      json_option(json),
      flag_option("--strict", strict),
      value_option("", "PANEL.cfg", take_panel, Must::read_file),
  };
  if (auto exit = parse_command_line("check", kCheckHelp, args, table)) return *exit;

  return report_errors([&] {
    const std::string file = panel_path.value_or("built-in panel");
    const std::string text = panel_path ? read_file(*panel_path) : std::string(kDefaultPanel);
    auto module = Module::load(common.module.value_or(default_module_path()));
    Checker checker(file, text, *module);
    const auto found = checker.run(gauges_dir, panel_path.has_value());
    int counts[3] = {0, 0, 0};
    for (const Diagnostic& d : found) ++counts[static_cast<int>(d.level)];
    if (json) {
      JsonWriter out;
      out.begin_object().key("file").string(file).key("module").string(module->path());
      out.key("errors").integer(counts[0]).key("warnings").integer(counts[1]).key("notes").integer(counts[2]);
      out.key("diagnostics").begin_array();
      for (const Diagnostic& d : found) {
        out.line_break(2).begin_object().key("file").string(file).key("line").integer(d.line);
        out.key("level")
            .string(level_name(d.level))
            .key("code")
            .string(d.code)
            .key("message")
            .string(d.message);
        out.end_object();
      }
      if (!found.empty()) out.line_break(0);
      out.end_array().end_object();
      std::fputs((out.text() + "\n").c_str(), stdout);
    } else {
      // Past the first few findings of one kind, the rest are counted on
      // one line with the lines they are on (the full list: --json).
      std::map<std::string, std::vector<int>> more;
      for (const Diagnostic& d : found) {
        std::vector<int>& lines = more[d.code];
        lines.push_back(d.line);
        if (lines.size() > kShownPerKind) continue;
        // The panel's names in the messages are Windows text, as the simulator
        // reads panel.cfg; control characters are shown escaped.
        std::printf("%s:%d: %s: %s\n", printable(file).c_str(), d.line, level_name(d.level),
                    utf8_from_windows_1252(printable(d.message)).c_str());
      }
      for (const auto& [code, lines] : more) {
        if (lines.size() <= kShownPerKind) continue;
        std::string at;
        for (std::size_t i = kShownPerKind; i < lines.size() && i < kShownPerKind + 20; ++i)
          at += (at.empty() ? "" : ", ") + std::to_string(lines[i]);
        if (lines.size() > kShownPerKind + 20) at += ", ...";
        std::printf("%s:%d: note: %zu more like the above (%s): lines %s\n", file.c_str(),
                    lines[kShownPerKind], lines.size() - kShownPerKind, code.c_str(), at.c_str());
      }
      if (!found.empty()) {
        std::fprintf(stderr, "%d error(s), %d warning(s), %d note(s)\n", counts[0], counts[1], counts[2]);
      }
    }
    std::fflush(stdout);
    if (counts[0] > 0) return 2;
    if (strict && counts[1] > 0) return 1;
    return int{kExitOk};
  });
}

}  // namespace orv::panel_tool
