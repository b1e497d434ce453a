#include "host/panel/panel_config.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
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

// A decimal integer (64-bit on every target, so a value out of the ranges
// below is reported as such rather than wrapped).
std::optional<long long> parse_int(const std::string& text) {
  const std::string t = trim(text);
  if (t.empty()) return std::nullopt;
  long long v = 0;
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

// A section name that reads as a numbered window or virtual cockpit whose
// number is not one ("[Window-1]", "[Window1000]").
bool looks_numbered(const std::string& name, const std::string& prefix) {
  const std::string n = lower(name);
  if (n.rfind(prefix, 0) != 0 || n.size() == prefix.size()) return false;
  const char c = n[prefix.size()];
  return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+';
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
  if (!v || *v < 0 || *v > 0xFFFFFFFFLL) return std::nullopt;
  return static_cast<std::uint32_t>(*v);
}

namespace {

// Reads panel.cfg one line at a time: section headers open a window, a
// virtual cockpit or the titles; keys fill what is open. `finish` completes
// what needs the whole file (titles, heights from backgrounds, the sections'
// uses).
class PanelReader {
 public:
  explicit PanelReader(const std::string& file_name) { config_.file = file_name; }

  void read(const std::string& text) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
      auto eol = text.find('\n', pos);
      if (eol == std::string::npos) eol = text.size();
      const std::string line = trim(strip_comment(text.substr(pos, eol - pos)));
      pos = eol + 1;
      ++line_no_;
      if (line.empty()) continue;
      if (line[0] == '[') {
        open_section(line);
      } else {
        read_key_line(line);
      }
    }
  }

  PanelConfig finish(const std::string& directory) {
    apply_titles();
    apply_background_heights(directory);
    describe_uses();
    return std::move(config_);
  }

 private:
  void warn(const std::string& reason) {
    config_.warnings.push_back(config_.file + ":" + std::to_string(line_no_) + ": " + reason);
  }

  void open_section(const std::string& line) {
    window_ = nullptr;
    in_titles_ = false;
    quiet_ = false;
    const auto close = line.find(']');
    if (close == std::string::npos) {
      warn("section header without ']'");
      section_ = nullptr;
      quiet_ = true;
      return;
    }
    const std::string name = trim(line.substr(1, close - 1));
    in_titles_ = lower(name) == "window titles";
    config_.sections.push_back({name, line_no_, 0, ""});
    section_ = &config_.sections.back();
    section_->use = in_titles_ ? "window titles"
                               : "not read (this host reads [Window Titles], [WindowNN] and [VcockpitNN])";
    if (in_titles_) return;
    const auto window_index = numbered_section(name);
    const auto vc_index = numbered_section(name, "vcockpit");
    if (!window_index && !vc_index) {
      if (looks_numbered(name, "window") || looks_numbered(name, "vcockpit")) {
        warn("section [" + name + "] is not read: window and virtual cockpit numbers are 00 to 999");
        section_->use = "not read: the number is not 00 to 999";
        quiet_ = true;
      }
      return;
    }
    const bool vc = !window_index;
    const int index = vc ? *vc_index : *window_index;
    for (const auto& w : config_.windows) {
      if (w.index == index && w.virtual_cockpit == vc) {
        warn("section [" + name + "] repeats an earlier section; its lines are ignored");
        section_->use = "not read: repeats an earlier section";
        quiet_ = true;
        return;
      }
    }
    config_.windows.push_back(PanelWindow{});
    window_ = &config_.windows.back();
    window_->line = line_no_;
    window_->index = index;
    window_->virtual_cockpit = vc;
    window_->number = vc ? kVirtualCockpitWindowBase + static_cast<std::uint32_t>(index)
                         : static_cast<std::uint32_t>(index);
    section_->use = vc ? "virtual cockpit" : "window";
  }

  void read_key_line(const std::string& line) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) {
      if (in_titles_ || window_ != nullptr) warn("line without '='");
      return;
    }
    const std::string key = lower(trim(line.substr(0, eq)));
    const std::string value = trim(line.substr(eq + 1));
    if (in_titles_) {
      read_title(key, value);
    } else if (window_ != nullptr) {
      read_window_key(key, value);
    } else if (is_gauge_key(key) && !quiet_) {
      // Sections this host does not read keep their other keys to themselves;
      // a gauge placed there would silently be missing.
      if (section_ != nullptr) ++section_->gauge_lines;
      warn("gauge line outside any [WindowNN] or [VcockpitNN] section is not placed");
    }
  }

  void read_title(const std::string& key, const std::string& value) {
    if (auto index = numbered_section(key)) {
      titles_.emplace_back(*index, value);
    } else {
      warn("unknown key '" + key + "' in [Window Titles]");
    }
  }

  void read_window_key(const std::string& key, const std::string& value) {
    if (is_gauge_key(key)) {
      ++section_->gauge_lines;
      read_gauge_line(value);
    } else if (key == "size_mm" || key == "pixel_size") {
      read_window_size(key, value);
    } else if (key == "texture") {
      window_->texture = value;
    } else if (key == "file") {
      window_->background_file = value;
      window_->background_line = line_no_;
    } else if (key == "window_pos" || key == "window_size") {
      read_fractions(key, value);
    } else if (key == "position") {
      auto v = parse_int(value);
      if (!v || *v < INT_MIN || *v > INT_MAX) return warn("position needs an integer");
      window_->position = static_cast<int>(*v);
    } else if (key == "visible") {
      auto v = parse_int(value);
      if (!v) return warn("visible needs 0 or 1");
      // A virtual cockpit is always shown: visible= is for panel windows.
      if (!window_->virtual_cockpit) window_->visible = *v != 0;
    } else if (key == "ident") {
      auto n = window_number_of_ident(value);
      if (!n) return warn("ident '" + value + "' is neither a panel name nor a number 0 to 4294967295");
      window_->number = *n;
    } else if (key == "background_color") {
      read_background_colour(value);
    }
    // Other keys of a window section (zoom, ...) do not concern this host.
  }

  void read_gauge_line(const std::string& value) {
    const auto fields = split(value, ',');
    const auto bang = fields[0].find('!');
    if (bang == std::string::npos) return warn("gauge line without 'Module!Gauge'");
    GaugePlacement g;
    g.module = trim(fields[0].substr(0, bang));
    g.gauge = trim(fields[0].substr(bang + 1));
    g.line = line_no_;
    if (g.module.empty() || g.gauge.empty()) return warn("gauge line with an empty module or gauge name");
    auto x = fields.size() > 1 ? parse_int(fields[1]) : std::nullopt;
    auto y = fields.size() > 2 ? parse_int(fields[2]) : std::nullopt;
    if (!x || !y) return warn("gauge line needs integer x and y after the gauge name");
    // By value: GCC 12 at -Os takes the optionals' values for uninitialised.
    const long long px = x.value_or(0), py = y.value_or(0);
    if (!within(px, -kMaxPanelPixels, kMaxPanelPixels) || !within(py, -kMaxPanelPixels, kMaxPanelPixels))
      return warn("gauge position " + std::to_string(px) + "," + std::to_string(py) + " lies outside -" +
                  std::to_string(kMaxPanelPixels) + " to " + std::to_string(kMaxPanelPixels));
    g.x = static_cast<int>(px);
    g.y = static_cast<int>(py);
    // Up to two integers after x and y are the size; the parameter string
    // starts at the first field that is not one.
    std::size_t next = 3;
    std::optional<long long> size[2];
    for (auto& s : size) {
      if (next >= fields.size() || !(s = parse_int(fields[next]))) break;
      ++next;
    }
    for (const auto& s : size) {
      if (s && !within(*s, 1, kMaxPanelPixels))
        return warn("gauge size " + std::to_string(*s) + " lies outside 1 to " +
                    std::to_string(kMaxPanelPixels));
    }
    if (size[0]) g.width = static_cast<int>(*size[0]);
    if (size[1]) g.height = static_cast<int>(*size[1]);
    std::string params;
    for (std::size_t i = next; i < fields.size(); ++i) params += (i == next ? "" : ",") + fields[i];
    g.parameters = trim(params);
    window_->gauges.push_back(std::move(g));
  }

  // size_mm=w[,h] or pixel_size=w[,h]: the height may be left out; it then
  // follows the background bitmap or what the gauges need.
  void read_window_size(const std::string& key, const std::string& value) {
    const auto parts = split(value, ',');
    long long width = 0, height = 0;
    bool ok = parts.size() <= 2;
    if (const auto w = parse_int(parts[0]))
      width = *w;
    else
      ok = false;
    if (parts.size() == 2) {
      if (const auto h = parse_int(parts[1]))
        height = *h;
      else
        ok = false;
    }
    ok = ok && within(width, 1, kMaxPanelPixels) && (parts.size() == 1 || within(height, 1, kMaxPanelPixels));
    if (!ok)
      return warn(key + " needs a width and optionally a height, each 1 to " +
                  std::to_string(kMaxPanelPixels));
    (key == "size_mm" ? window_->size_mm_x : window_->pixel_width) = static_cast<int>(width);
    (key == "size_mm" ? window_->size_mm_y : window_->pixel_height) = static_cast<int>(height);
  }

  // window_pos=x,y (where the window's top left lies) or window_size=w,h
  // (its size), as fractions of the screen.
  void read_fractions(const std::string& key, const std::string& value) {
    const auto parts = split(value, ',');
    double v[2] = {};
    bool ok = parts.size() == 2;
    for (std::size_t i = 0; ok && i < 2; ++i) {
      const std::string t = trim(parts[i]);
      char* end = nullptr;
      v[i] = std::strtod(t.c_str(), &end);
      ok = !t.empty() && end == t.c_str() + t.size() && std::isfinite(v[i]);
    }
    const bool size = key == "window_size";
    // A window may start off the screen's edge, but not far; a size is
    // above 0 and at most the screen.
    for (double f : v) ok = ok && (size ? f > 0.0 && f <= 1.0 : f >= -1.0 && f <= 1.0);
    if (!ok)
      return warn(key + (size ? " needs two fractions of the screen above 0 and at most 1"
                              : " needs two fractions of the screen from -1 to 1"));
    (size ? window_->size_x : window_->pos_x) = v[0];
    (size ? window_->size_y : window_->pos_y) = v[1];
  }

  void read_background_colour(const std::string& value) {
    const auto parts = split(value, ',');
    std::uint32_t colour = 0;
    bool ok = parts.size() == 3;
    for (std::size_t i = 0; ok && i < 3; ++i) {
      auto c = parse_int(parts[i]);
      ok = c && *c >= 0 && *c <= 255;
      if (ok) colour |= static_cast<std::uint32_t>(*c) << (8 * i);
    }
    if (!ok) return warn("background_color needs three integers 0 to 255");
    window_->background_colour = colour;
  }

  void apply_titles() {
    for (const auto& [index, title] : titles_) {
      for (auto& w : config_.windows) {
        if (w.index == index && !w.virtual_cockpit) w.title = title;
      }
    }
  }

  // Each background bitmap's size, and the height of a window whose
  // size_mm gives the width alone: the width in the bitmap's proportions.
  void apply_background_heights(const std::string& directory) {
    for (PanelWindow& w : config_.windows) {
      if (w.background_file.empty() || directory.empty()) continue;
      const auto size = bmp_size(directory + "/" + w.background_file);
      if (!size) continue;
      w.background_width = size->first;
      w.background_height = size->second;
      if (w.size_mm_x <= 0 || w.size_mm_y != 0) continue;
      const long long h = std::llround(static_cast<double>(w.size_mm_x) * size->second / size->first);
      w.size_mm_y = static_cast<int>(std::clamp<long long>(h, 1, kMaxPanelPixels));
    }
  }

  // What each section was used for, now that the windows are complete.
  void describe_uses() {
    std::size_t next_window = 0;
    for (PanelSection& section : config_.sections) {
      if (section.use != "window" && section.use != "virtual cockpit") continue;
      const PanelWindow& w = config_.windows[next_window++];
      section.use = w.virtual_cockpit ? "virtual cockpit " + std::to_string(w.index) + ", texture " +
                                            (w.texture.empty() ? std::string("(none)") : w.texture)
                                      : "window " + std::to_string(w.number);
    }
  }

  static bool is_gauge_key(const std::string& key) {
    return key.rfind("gauge", 0) == 0 && parse_int(key.substr(5)).has_value();
  }
  static bool within(long long v, long long low, long long high) { return v >= low && v <= high; }

  PanelConfig config_;
  std::vector<std::pair<int, std::string>> titles_;  // window index, title
  PanelWindow* window_ = nullptr;
  PanelSection* section_ = nullptr;
  bool in_titles_ = false;
  bool quiet_ = false;  // a section already reported as not read
  int line_no_ = 0;
};

}  // namespace

PanelConfig parse_panel_config(const std::string& text, const std::string& file_name,
                               const std::string& directory) {
  PanelReader reader(file_name);
  // A UTF-8 byte-order mark, as some editors write one, is not text.
  reader.read(text.rfind(kUtf8Mark, 0) == 0 ? text.substr(3) : text);
  return reader.finish(directory);
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
