#include "panel_config.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <utility>

namespace orv::host {

namespace {

std::string trim(const std::string& s) {
  std::size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::optional<long> parse_int(const std::string& text) {
  const std::string t = trim(text);
  if (t.empty()) return std::nullopt;
  long v = 0;
  const char* begin = t.data();
  if (*begin == '+') ++begin;
  auto [end, ec] = std::from_chars(begin, t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return v;
}

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const auto pos = s.find(sep, start);
    parts.push_back(s.substr(start, pos == std::string::npos ? std::string::npos : pos - start));
    if (pos == std::string::npos) return parts;
    start = pos + 1;
  }
}

// "[Window07]" gives 7 (and "[Vcockpit07]" with prefix "vcockpit"); other
// section names give nullopt.
std::optional<int> numbered_section(const std::string& name, const std::string& prefix = "window") {
  const std::string n = lower(name);
  if (n.rfind(prefix, 0) != 0 || n.size() == prefix.size()) return std::nullopt;
  auto v = parse_int(n.substr(prefix.size()));
  if (!v || *v < 0 || *v > 999) return std::nullopt;
  return static_cast<int>(*v);
}

// The line without a trailing `//` or `;` comment (one that starts the line
// or follows a blank).
std::string strip_comment(const std::string& line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    const bool starts = line[i] == ';' || line.compare(i, 2, "//") == 0;
    if (starts && (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1])))) return line.substr(0, i);
  }
  return line;
}

// Width and height of a BMP file, if it is one.
std::optional<std::pair<int, int>> bmp_size(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char h[26] = {};
  if (!in.read(reinterpret_cast<char*>(h), sizeof h) || h[0] != 'B' || h[1] != 'M') return std::nullopt;
  auto i32 = [&](int at) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(h[at]) | static_cast<std::uint32_t>(h[at + 1]) << 8 |
        static_cast<std::uint32_t>(h[at + 2]) << 16 | static_cast<std::uint32_t>(h[at + 3]) << 24);
  };
  const std::int32_t w = i32(18), hh = i32(22);
  if (w <= 0 || w > 65536 || hh == 0 || hh > 65536 || hh < -65536) return std::nullopt;
  return std::pair{static_cast<int>(w), static_cast<int>(hh < 0 ? -hh : hh)};
}

struct NamedPanel {
  const char* name;
  std::uint32_t number;
};
constexpr NamedPanel kNamedPanels[] = {
    {"MAIN_PANEL", 0},           {"THROTTLE_PANEL", 10},       {"RADIO_STACK_PANEL", 50},
    {"COMPASS_PANEL", 75},       {"MINI_CONTROLS_PANEL", 100}, {"ANNUNCIATOR_PANEL", 125},
    {"ANNUNCIATOR2_PANEL", 150}, {"IFR_MAIN_PANEL", 175},      {"COLLECTIVE_PANEL", 200},
    {"GPS_PANEL", 225},          {"OVERHEAD_PANEL", 250},
};

}  // namespace

std::optional<std::uint32_t> window_number_of_ident(const std::string& ident) {
  const std::string t = trim(ident);
  for (const auto& p : kNamedPanels) {
    if (lower(t) == lower(p.name)) return p.number;
  }
  auto v = parse_int(t);
  if (!v || *v < 0) return std::nullopt;
  return static_cast<std::uint32_t>(*v);
}

PanelConfig parse_panel_config(const std::string& text, const std::string& file_name,
                               const std::string& directory) {
  PanelConfig config;
  config.file = file_name;
  std::vector<std::pair<int, std::string>> titles;  // window index, title
  PanelWindow* window = nullptr;
  PanelSection* section = nullptr;
  std::vector<std::string> backgrounds;  // file= of each window, by position in config.windows
  bool in_titles = false;
  int line_no = 0;
  auto warn = [&](const std::string& reason) {
    config.warnings.push_back(file_name + ":" + std::to_string(line_no) + ": " + reason);
  };

  std::size_t pos = 0;
  while (pos <= text.size()) {
    auto eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    std::string line = trim(strip_comment(text.substr(pos, eol - pos)));
    pos = eol + 1;
    ++line_no;
    if (line.empty()) continue;

    if (line[0] == '[') {
      const auto close = line.find(']');
      if (close == std::string::npos) {
        warn("section header without ']'");
        window = nullptr;
        in_titles = false;
        continue;
      }
      const std::string name = trim(line.substr(1, close - 1));
      in_titles = lower(name) == "window titles";
      window = nullptr;
      config.sections.push_back({name, line_no, 0, ""});
      section = &config.sections.back();
      section->use = in_titles ? "window titles"
                               : "not read (this host reads [Window Titles], [WindowNN] and [VcockpitNN])";
      const auto window_index = numbered_section(name);
      const auto vc_index = numbered_section(name, "vcockpit");
      if (window_index || vc_index) {
        const bool vc = !window_index;
        const int index = vc ? *vc_index : *window_index;
        bool repeated = false;
        for (const auto& w : config.windows)
          repeated = repeated || (w.index == index && w.virtual_cockpit == vc);
        if (repeated) {
          warn("section [" + name + "] repeats an earlier section; its lines are ignored");
          section->use = "not read: repeats an earlier section";
          continue;
        }
        config.windows.push_back(PanelWindow{});
        backgrounds.emplace_back();
        window = &config.windows.back();
        window->index = index;
        window->virtual_cockpit = vc;
        window->number = vc ? kVirtualCockpitWindowBase + static_cast<std::uint32_t>(index)
                            : static_cast<std::uint32_t>(index);
        section->use = vc ? "virtual cockpit" : "window";
      }
      continue;
    }

    const auto eq = line.find('=');
    if (eq == std::string::npos) {
      if (in_titles || window != nullptr) warn("line without '='");
      continue;
    }
    const std::string key = lower(trim(line.substr(0, eq)));
    const std::string value = trim(line.substr(eq + 1));

    if (in_titles) {
      if (auto index = numbered_section(key)) {
        titles.emplace_back(*index, value);
      } else {
        warn("unknown key '" + key + "' in [Window Titles]");
      }
      continue;
    }
    if (window == nullptr) continue;  // sections this host does not use

    if (key.rfind("gauge", 0) == 0 && parse_int(key.substr(5))) {
      ++section->gauge_lines;
      auto fields = split(value, ',');
      const auto bang = fields[0].find('!');
      if (bang == std::string::npos) {
        warn("gauge line without 'Module!Gauge'");
        continue;
      }
      GaugePlacement g;
      g.module = trim(fields[0].substr(0, bang));
      g.gauge = trim(fields[0].substr(bang + 1));
      g.line = line_no;
      if (g.module.empty() || g.gauge.empty()) {
        warn("gauge line with an empty module or gauge name");
        continue;
      }
      auto x = fields.size() > 1 ? parse_int(fields[1]) : std::nullopt;
      auto y = fields.size() > 2 ? parse_int(fields[2]) : std::nullopt;
      if (!x || !y) {
        warn("gauge line needs integer x and y after the gauge name");
        continue;
      }
      g.x = static_cast<int>(*x);
      g.y = static_cast<int>(*y);
      std::size_t next = 3;
      if (next < fields.size()) {
        if (auto w = parse_int(fields[next])) {
          g.width = static_cast<int>(*w);
          ++next;
          if (next < fields.size()) {
            if (auto h = parse_int(fields[next])) {
              g.height = static_cast<int>(*h);
              ++next;
            }
          }
        }
      }
      if ((g.width && *g.width <= 0) || (g.height && *g.height <= 0)) {
        warn("gauge size must be positive");
        continue;
      }
      std::string params;
      for (std::size_t i = next; i < fields.size(); ++i) params += (i == next ? "" : ",") + fields[i];
      g.parameters = trim(params);
      window->gauges.push_back(std::move(g));
    } else if (key == "size_mm" || key == "pixel_size") {
      auto parts = split(value, ',');
      auto w = parse_int(parts[0]);
      auto h = parts.size() > 1 ? parse_int(parts[1]) : std::nullopt;
      // The height may be left out: it then follows the background bitmap
      // or what the gauges need.
      if (parts.size() > 2 || !w || *w <= 0 || (parts.size() == 2 && (!h || *h <= 0))) {
        warn(key + " needs a positive width and optionally a height");
        continue;
      }
      (key == "size_mm" ? window->size_mm_x : window->pixel_width) = static_cast<int>(*w);
      (key == "size_mm" ? window->size_mm_y : window->pixel_height) = h ? static_cast<int>(*h) : 0;
    } else if (key == "texture") {
      window->texture = value;
    } else if (key == "file") {
      backgrounds[static_cast<std::size_t>(window - config.windows.data())] = value;
    } else if (key == "position") {
      auto v = parse_int(value);
      if (!v) {
        warn("position needs an integer");
        continue;
      }
      window->position = static_cast<int>(*v);
    } else if (key == "visible") {
      auto v = parse_int(value);
      if (!v) {
        warn("visible needs 0 or 1");
        continue;
      }
      window->visible = *v != 0;
    } else if (key == "ident") {
      auto n = window_number_of_ident(value);
      if (!n) {
        warn("ident '" + value + "' is neither a panel name nor a number");
        continue;
      }
      window->number = *n;
    } else if (key == "background_color") {
      auto parts = split(value, ',');
      std::uint32_t colour = 0;
      bool ok = parts.size() == 3;
      for (std::size_t i = 0; ok && i < 3; ++i) {
        auto c = parse_int(parts[i]);
        ok = c && *c >= 0 && *c <= 255;
        if (ok) colour |= static_cast<std::uint32_t>(*c) << (8 * i);
      }
      if (!ok) {
        warn("background_color needs three integers 0 to 255");
        continue;
      }
      window->background_colour = colour;
    }
    // Other keys of a window section (pixel sizes, zoom, ...) do not concern this host.
  }

  for (const auto& [index, title] : titles) {
    for (auto& w : config.windows) {
      if (w.index == index && !w.virtual_cockpit) w.title = title;
    }
  }
  for (std::size_t i = 0; i < config.windows.size(); ++i) {
    PanelWindow& w = config.windows[i];
    if (w.size_mm_x > 0 && w.size_mm_y == 0 && !backgrounds[i].empty() && !directory.empty()) {
      if (auto size = bmp_size(directory + "/" + backgrounds[i]))
        w.size_mm_y =
            static_cast<int>(std::lround(static_cast<double>(w.size_mm_x) * size->second / size->first));
    }
  }
  // What each section was used for, now that the windows are complete.
  std::size_t next_window = 0;
  for (PanelSection& section : config.sections) {
    if (section.use != "window" && section.use != "virtual cockpit") continue;
    const PanelWindow& w = config.windows[next_window++];
    section.use = w.virtual_cockpit ? "virtual cockpit " + std::to_string(w.index) + ", texture " +
                                          (w.texture.empty() ? std::string("(none)") : w.texture)
                                    : "window " + std::to_string(w.number);
  }
  return config;
}

std::string describe_sections(const PanelConfig& panel) {
  std::string out;
  for (const PanelSection& s : panel.sections) {
    out += "  line " + std::to_string(s.line) + " [" + s.name + "]: " + s.use;
    if ((s.use.rfind("window ", 0) == 0 && s.use != "window titles") ||
        s.use.rfind("virtual cockpit", 0) == 0)
      out +=
          s.gauge_lines == 0 ? "; no gauge lines" : "; " + std::to_string(s.gauge_lines) + " gauge line(s)";
    out += "\n";
  }
  if (panel.sections.empty()) out += "  no [section] header at all\n";
  return out;
}

}  // namespace orv::host
