#include "scenario.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "host_error.h"
#include "token_names.h"

namespace orv::host {

using nlohmann::json;

namespace {

[[noreturn]] void fail(const std::string& file, const std::string& reason) {
  throw HostError(ErrorKind::bad_scenario, file + ": " + reason);
}

std::optional<std::uint32_t> parse_u32(const std::string& s) {
  std::uint32_t v = 0;
  const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  const char* begin = s.data() + (hex ? 2 : 0);
  auto [end, ec] = std::from_chars(begin, s.data() + s.size(), v, hex ? 16 : 10);
  if (ec != std::errc() || end != s.data() + s.size() || begin == end) return std::nullopt;
  return v;
}

TokenValue value_of(const json& j, const std::string& file, const std::string& where) {
  if (j.is_number()) return TokenValue::of_number(j.get<double>());
  if (j.is_boolean()) return TokenValue::of_number(j.get<bool>() ? 1.0 : 0.0);
  if (j.is_object() && j.size() == 1) {
    if (j.contains("int")) {
      const json& v = j["int"];
      if (v.is_number_integer())
        return TokenValue::of_integer(static_cast<std::uint32_t>(v.get<std::int64_t>()));
      if (v.is_string()) {
        if (auto n = parse_u32(v.get<std::string>())) return TokenValue::of_integer(*n);
      }
      fail(file, where + ": \"int\" needs an integer or a \"0x...\" text");
    }
    if (j.contains("text") && j["text"].is_string()) return TokenValue::of_text(j["text"].get<std::string>());
  }
  fail(file, where + ": a token value is a number, {\"int\": N} or {\"text\": \"...\"}");
}

std::uint32_t token_of(const std::string& key, const std::string& file) {
  auto id = token_by_name(key);
  if (!id) fail(file, "unknown token '" + key + "' (use a number or a known name)");
  return *id;
}

double number_of(const json& j, const char* key, const std::string& file, const std::string& where,
                 double dflt) {
  if (!j.contains(key)) return dflt;
  if (!j[key].is_number()) fail(file, where + ": \"" + key + "\" must be a number");
  const double v = j[key].get<double>();
  if (!std::isfinite(v)) fail(file, where + ": \"" + key + "\" must be finite");
  return v;
}

int clamp_int(double v) { return static_cast<int>(std::clamp(v, -1.0e9, 1.0e9)); }

GaugeRef gauge_of(const json& j, const std::string& file, const std::string& where) {
  GaugeRef ref;
  if (j.contains("instance")) {
    if (!j["instance"].is_number_unsigned()) fail(file, where + ": \"instance\" must be an index");
    ref.instance = j["instance"].get<std::size_t>();
  } else if (j.contains("gauge") && j["gauge"].is_string()) {
    ref.gauge = j["gauge"].get<std::string>();
  } else {
    fail(file, where + ": needs \"gauge\" (a name) or \"instance\" (an index)");
  }
  return ref;
}

// The time, gauge and gauge point of a scripted click or tooltip.
template <typename Event>
void read_place(const json& j, const std::string& file, const std::string& where, Event& e) {
  e.t = number_of(j, "t", file, where, 0.0);
  e.target = gauge_of(j, file, where);
  e.x = clamp_int(number_of(j, "x", file, where, 0.0));
  e.y = clamp_int(number_of(j, "y", file, where, 0.0));
}

double time_of_day(const json& j, const std::string& file) {
  if (j.is_number()) return j.get<double>();
  if (j.is_string()) {
    const std::string s = j.get<std::string>();
    int h = 0, m = 0, sec = 0;
    char extra = 0;
    const int n = std::sscanf(s.c_str(), "%d:%d:%d%c", &h, &m, &sec, &extra);
    if ((n == 2 || n == 3) && h >= 0 && h < 24 && m >= 0 && m < 60 && sec >= 0 && sec < 60)
      return h * 3600.0 + m * 60.0 + sec;
  }
  fail(file, "\"start_time\" is \"HH:MM[:SS]\" or seconds after midnight");
}

// One aircraft of "traffic"; `own` marks the user's, which is placed by
// latitude and longitude rather than from the user.
TrafficTrack track_of(const json& j, const std::string& file, const std::string& where, bool own) {
  static const char* const kTrackKeys[] = {
      "id",          "atc_id",   "name",    "null_name", "latitude",  "longitude",      "bearing",
      "distance_nm", "altitude", "heading", "speed",     "turn_rate", "vertical_speed", "engine"};
  if (!j.is_object()) fail(file, where + ": must be an object");
  for (const auto& [key, value] : j.items()) {
    if (std::find_if(std::begin(kTrackKeys), std::end(kTrackKeys), [&](const char* k) { return key == k; }) ==
        std::end(kTrackKeys))
      fail(file, where + ": unknown key \"" + key + "\"");
  }
  TrafficTrack t;
  if (own) {
    t.id = 1;
    t.atc_id = "F_ORVN";
    t.name = "Orvane";
  }
  if (j.contains("id")) {
    if (!j["id"].is_number_unsigned()) fail(file, where + ": \"id\" must be a count");
    t.id = j["id"].get<std::uint32_t>();
  }
  if (j.contains("atc_id")) t.atc_id = j["atc_id"].get<std::string>();
  if (j.contains("name")) t.name = j["name"].get<std::string>();
  if (j.contains("null_name")) t.null_name = j["null_name"].get<bool>();
  if (j.contains("engine")) t.engine = j["engine"].get<bool>();
  t.latitude = number_of(j, "latitude", file, where, t.latitude);
  t.longitude = number_of(j, "longitude", file, where, t.longitude);
  t.bearing = number_of(j, "bearing", file, where, t.bearing);
  t.distance_nm = number_of(j, "distance_nm", file, where, t.distance_nm);
  t.altitude = number_of(j, "altitude", file, where, t.altitude);
  t.heading = number_of(j, "heading", file, where, t.heading);
  t.speed = number_of(j, "speed", file, where, t.speed);
  t.turn_rate = number_of(j, "turn_rate", file, where, t.turn_rate);
  t.vertical_speed = number_of(j, "vertical_speed", file, where, t.vertical_speed);
  return t;
}

TrafficScenario traffic_of(const json& j, const std::string& file) {
  if (!j.is_object()) fail(file, "\"traffic\" must be an object");
  for (const auto& [key, value] : j.items()) {
    if (key != "own" && key != "aircraft" && key != "reduced_from")
      fail(file, "traffic: unknown key \"" + key + "\"");
  }
  TrafficScenario s;
  s.own = track_of(j.contains("own") ? j["own"] : json::object(), file, "traffic own", true);
  s.reduced_from = number_of(j, "reduced_from", file, "traffic", -1.0);
  if (j.contains("aircraft")) {
    if (!j["aircraft"].is_array()) fail(file, "traffic: \"aircraft\" must be an array");
    for (std::size_t i = 0; i < j["aircraft"].size(); ++i)
      s.aircraft.push_back(track_of(j["aircraft"][i], file, "traffic aircraft " + std::to_string(i), false));
  }
  return s;
}

// The "gps" section: a flight plan and where the aircraft starts.
GpsPlan gps_plan_of(const json& g, const std::string& file) {
  if (!g.is_object()) fail(file, "\"gps\" must be an object");
  for (const auto& [key, value] : g.items()) {
    static const char* const kGpsKeys[] = {"waypoints", "aircraft",  "active",
                                           "steer",     "turn_rate", "ground_speed"};
    if (std::find_if(std::begin(kGpsKeys), std::end(kGpsKeys), [&](const char* k) { return key == k; }) ==
        std::end(kGpsKeys))
      fail(file, "gps: unknown key \"" + key + "\"");
  }
  auto degrees = [&](const json& j, const char* key, const std::string& where, double limit) {
    if (!j.contains(key)) fail(file, where + ": needs \"" + key + "\"");
    const double v = number_of(j, key, file, where, 0.0);
    if (v < -limit || v > limit)
      fail(file, where + ": \"" + key + "\" lies outside +-" + std::to_string(int(limit)));
    return v;
  };
  GpsPlan plan;
  if (!g.contains("waypoints") || !g["waypoints"].is_array()) fail(file, "gps: needs a \"waypoints\" array");
  for (std::size_t i = 0; i < g["waypoints"].size(); ++i) {
    const json& w = g["waypoints"][i];
    const std::string where = "gps waypoint " + std::to_string(i);
    if (!w.is_object() || !w.contains("ident") || !w["ident"].is_string())
      fail(file, where + ": needs \"ident\", \"lat\" and \"lon\"");
    GpsWaypoint wp;
    wp.ident = w["ident"].get<std::string>();
    if (wp.ident.empty() || wp.ident.size() > 7) fail(file, where + ": \"ident\" has 1 to 7 characters");
    wp.latitude = degrees(w, "lat", where, 90.0);
    wp.longitude = degrees(w, "lon", where, 180.0);
    plan.waypoints.push_back(wp);
  }
  if (g.contains("aircraft")) {
    const json& a = g["aircraft"];
    if (!a.is_object()) fail(file, "gps: \"aircraft\" is {\"lat\", \"lon\"[, \"heading\"]}");
    plan.latitude = degrees(a, "lat", "gps aircraft", 89.0);
    plan.longitude = degrees(a, "lon", "gps aircraft", 180.0);
    if (a.contains("heading")) plan.heading = number_of(a, "heading", file, "gps aircraft", 0.0);
  } else if (!plan.waypoints.empty()) {
    plan.latitude = plan.waypoints.front().latitude;
    plan.longitude = plan.waypoints.front().longitude;
  }
  if (g.contains("active")) {
    if (!g["active"].is_number_unsigned()) fail(file, "gps: \"active\" must be a waypoint index");
    plan.active = g["active"].get<std::size_t>();
  } else {
    plan.active = plan.waypoints.size() > 1 && !g.contains("aircraft") ? 1 : 0;
  }
  if (g.contains("steer")) {
    if (!g["steer"].is_boolean()) fail(file, "gps: \"steer\" is true or false");
    plan.steer = g["steer"].get<bool>();
  }
  plan.turn_rate = number_of(g, "turn_rate", file, "gps", plan.turn_rate);
  if (plan.turn_rate <= 0.0) fail(file, "gps: \"turn_rate\" must be above 0");
  if (g.contains("ground_speed")) plan.ground_speed = number_of(g, "ground_speed", file, "gps", 0.0);
  return plan;
}

}  // namespace

TokenValue TokenTrack::at(double t) const {
  if (keys.empty()) return {};
  if (t <= keys.front().t) return keys.front().value;
  if (t >= keys.back().t) return keys.back().value;
  std::size_t i = 1;
  while (keys[i].t < t) ++i;
  const Keyframe& a = keys[i - 1];
  const Keyframe& b = keys[i];
  if (a.value.kind != TokenValue::Kind::number || b.value.kind != TokenValue::Kind::number || b.t <= a.t)
    return t < b.t ? a.value : b.value;
  const double f = (t - a.t) / (b.t - a.t);
  return TokenValue::of_number(a.value.number + (b.value.number - a.value.number) * f);
}

std::optional<std::size_t> GaugeRef::resolve(const Host& host) const {
  const auto& all = host.instances();
  if (instance) return *instance < all.size() ? instance : std::nullopt;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (gauge == all[i].gauge->name()) return i;
  }
  return std::nullopt;
}

std::string GaugeRef::describe() const { return instance ? "instance " + std::to_string(*instance) : gauge; }

void Scenario::apply_initial(SimState& state) const {
  state.set_start_time(start_time);
  for (const auto& [id, v] : tokens) state.set_token(id, v);
  for (const auto& [code, v] : expression_numbers) state.set_expression_number(code, v);
  for (const auto& [code, v] : expression_texts) state.set_expression_text(code, v);
  if (traffic) install_traffic_service(state, *traffic);
  apply_at(state, 0.0);
  if (gps) {
    auto service = std::make_shared<GpsService>(*gps);
    service->attach(state);
    state.add_source(std::move(service));
  }
}

void Scenario::apply_at(SimState& state, double t) const {
  for (const TokenTrack& track : tracks) state.set_token(track.token, track.at(t));
  if (traffic) {
    state.set_number(kTokenClockNow, t);
    state.set_number(kTokenOwnHeading, track_at(traffic->own, t).heading);
  }
}

std::optional<TokenValue> parse_token_value(const std::string& text) {
  if (text.rfind("s:", 0) == 0) return TokenValue::of_text(text.substr(2));
  if (text.rfind("i:", 0) == 0) {
    if (auto v = parse_u32(text.substr(2))) return TokenValue::of_integer(*v);
    return std::nullopt;
  }
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (auto v = parse_u32(text)) return TokenValue::of_integer(*v);
    return std::nullopt;
  }
  double v = 0.0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty() || !std::isfinite(v))
    return std::nullopt;
  return TokenValue::of_number(v);
}

Scenario parse_scenario(const std::string& text, const std::string& file, const std::string& base_dir) {
  json root;
  try {
    root = json::parse(text);
  } catch (const json::parse_error& e) {
    fail(file, std::string("not valid JSON: ") + e.what());
  }
  if (!root.is_object()) fail(file, "a scenario is a JSON object");
  static const char* const kKeys[] = {"name",       "description", "panel",     "frames",
                                      "start_time", "tokens",      "keyframes", "expressions",
                                      "clicks",     "tooltips",    "render_at", "gps",
                                      "traffic"};
  for (const auto& [key, value] : root.items()) {
    if (std::find_if(std::begin(kKeys), std::end(kKeys), [&](const char* k) { return key == k; }) ==
        std::end(kKeys))
      fail(file, "unknown key \"" + key + "\"");
  }

  Scenario s;
  try {
    if (root.contains("name")) s.name = root["name"].get<std::string>();
    if (root.contains("panel")) {
      const std::string p = root["panel"].get<std::string>();
      const bool absolute = !p.empty() && (p[0] == '/' || p[0] == '\\' || (p.size() > 1 && p[1] == ':'));
      s.panel = absolute || base_dir.empty() ? p : base_dir + "/" + p;
    }
    if (root.contains("frames")) {
      if (!root["frames"].is_number_unsigned()) fail(file, "\"frames\" must be a count");
      s.frames = root["frames"].get<int>();
    }
    if (root.contains("start_time")) s.start_time = time_of_day(root["start_time"], file);
    if (root.contains("tokens")) {
      if (!root["tokens"].is_object()) fail(file, "\"tokens\" must be an object");
      for (const auto& [key, value] : root["tokens"].items())
        s.tokens.emplace_back(token_of(key, file), value_of(value, file, "token " + key));
    }
    if (root.contains("keyframes")) {
      if (!root["keyframes"].is_array()) fail(file, "\"keyframes\" must be an array");
      std::map<std::uint32_t, TokenTrack> tracks;
      for (std::size_t i = 0; i < root["keyframes"].size(); ++i) {
        const json& k = root["keyframes"][i];
        const std::string where = "keyframe " + std::to_string(i);
        if (!k.is_object() || !k.contains("tokens") || !k["tokens"].is_object())
          fail(file, where + ": needs \"t\" and \"tokens\"");
        const double t = number_of(k, "t", file, where, 0.0);
        for (const auto& [key, value] : k["tokens"].items()) {
          const std::uint32_t id = token_of(key, file);
          tracks[id].token = id;
          tracks[id].keys.push_back({t, value_of(value, file, where + " token " + key)});
        }
      }
      for (auto& [id, track] : tracks) {
        std::stable_sort(track.keys.begin(), track.keys.end(),
                         [](const Keyframe& a, const Keyframe& b) { return a.t < b.t; });
        s.tracks.push_back(std::move(track));
      }
    }
    if (root.contains("expressions")) {
      for (const auto& [code, value] : root["expressions"].items()) {
        if (value.is_number()) {
          s.expression_numbers[code] = value.get<double>();
        } else if (value.is_string()) {
          s.expression_texts[code] = value.get<std::string>();
        } else {
          fail(file, "expression " + code + ": a number or a text");
        }
      }
    }
    if (root.contains("clicks")) {
      for (std::size_t i = 0; i < root["clicks"].size(); ++i) {
        const json& c = root["clicks"][i];
        const std::string where = "click " + std::to_string(i);
        if (!c.is_object()) fail(file, where + ": must be an object");
        ScenarioClick click;
        read_place(c, file, where, click);
        const std::string button = c.value("button", std::string("left"));
        if (button != "left" && button != "right" && button != "move")
          fail(file, where + ": \"button\" is \"left\", \"right\" or \"move\"");
        click.button = button == "left"    ? MouseButton::left
                       : button == "right" ? MouseButton::right
                                           : MouseButton::move;
        s.clicks.push_back(click);
      }
    }
    if (root.contains("tooltips")) {
      for (std::size_t i = 0; i < root["tooltips"].size(); ++i) {
        const json& c = root["tooltips"][i];
        const std::string where = "tooltip " + std::to_string(i);
        if (!c.is_object()) fail(file, where + ": must be an object");
        ScenarioTooltip tip;
        read_place(c, file, where, tip);
        s.tooltips.push_back(tip);
      }
    }
    if (root.contains("render_at")) {
      const json& r = root["render_at"];
      if (!r.is_array()) fail(file, "\"render_at\" must be an array of times");
      for (const json& t : r) {
        if (!t.is_number() || !std::isfinite(t.get<double>()) || t.get<double>() < 0)
          fail(file, "\"render_at\" holds times in seconds, 0 or more");
        s.render_at.push_back(t.get<double>());
      }
      std::sort(s.render_at.begin(), s.render_at.end());
    }
    if (root.contains("traffic")) s.traffic = traffic_of(root["traffic"], file);
    if (root.contains("gps")) s.gps = gps_plan_of(root["gps"], file);
  } catch (const json::exception& e) {
    fail(file, std::string("wrong type: ") + e.what());
  }
  auto by_time = [](const auto& a, const auto& b) { return a.t < b.t; };
  std::stable_sort(s.clicks.begin(), s.clicks.end(), by_time);
  std::stable_sort(s.tooltips.begin(), s.tooltips.end(), by_time);
  return s;
}

}  // namespace orv::host
