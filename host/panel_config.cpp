#include "panel_config.h"

#include <cctype>
#include <charconv>

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

// "[Window07]" gives 7; other section names give nullopt.
std::optional<int> window_section(const std::string& name) {
  const std::string n = lower(name);
  if (n.rfind("window", 0) != 0 || n.size() == 6) return std::nullopt;
  auto v = parse_int(n.substr(6));
  if (!v || *v < 0 || *v > 999) return std::nullopt;
  return static_cast<int>(*v);
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
    if (t == p.name) return p.number;
  }
  auto v = parse_int(t);
  if (!v || *v < 0) return std::nullopt;
  return static_cast<std::uint32_t>(*v);
}

PanelConfig parse_panel_config(const std::string& text, const std::string& file_name) {
  PanelConfig config;
  config.file = file_name;
  std::vector<std::pair<int, std::string>> titles;  // window index, title
  PanelWindow* window = nullptr;
  bool in_titles = false;
  int line_no = 0;
  auto warn = [&](const std::string& reason) {
    config.warnings.push_back(file_name + ":" + std::to_string(line_no) + ": " + reason);
  };

  std::size_t pos = 0;
  while (pos <= text.size()) {
    auto eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    std::string line = trim(text.substr(pos, eol - pos));
    pos = eol + 1;
    ++line_no;
    if (line.empty() || line[0] == ';' || line.rfind("//", 0) == 0) continue;

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
      if (auto index = window_section(name)) {
        bool repeated = false;
        for (const auto& w : config.windows) repeated = repeated || w.index == *index;
        if (repeated) {
          warn("section [" + name + "] repeats an earlier window; its lines are ignored");
          continue;
        }
        config.windows.push_back(PanelWindow{});
        window = &config.windows.back();
        window->index = *index;
        window->number = static_cast<std::uint32_t>(*index);
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
      if (auto index = window_section(key)) {
        titles.emplace_back(*index, value);
      } else {
        warn("unknown key '" + key + "' in [Window Titles]");
      }
      continue;
    }
    if (window == nullptr) continue;  // sections this host does not use

    if (key.rfind("gauge", 0) == 0 && parse_int(key.substr(5))) {
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
    } else if (key == "size_mm") {
      auto parts = split(value, ',');
      auto w = parse_int(parts[0]);
      auto h = parts.size() > 1 ? parse_int(parts[1]) : std::nullopt;
      if (parts.size() != 2 || !w || !h) {
        warn("size_mm needs two integers");
        continue;
      }
      window->size_mm_x = static_cast<int>(*w);
      window->size_mm_y = static_cast<int>(*h);
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
      if (w.index == index) w.title = title;
    }
  }
  return config;
}

}  // namespace orv::host
