#include "host/scenario/scenario.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "host/aircraft/token_names.h"
#include "host/load/host_error.h"
#include "host/load/stop_request.h"

namespace orv::host {

using nlohmann::json;

namespace {

[[noreturn]] void fail(const std::string& file, const std::string& reason) {
  throw HostError(ErrorKind::bad_scenario, file + ": " + reason);
}

// Builds the document as the library's own reader does, and remembers where
// the text stops being JSON: the byte offset and the key path being read
// ("tokens.AIRSPEED", "keyframes[3].t"), so that a number out of range (which
// the library reports without a place) is reported with both.
class LocatingReader {
 public:
  explicit LocatingReader(json& root) : dom_(root, false) {}

  bool null() { return element() && dom_.null(); }
  bool boolean(bool v) { return element() && dom_.boolean(v); }
  bool number_integer(json::number_integer_t v) { return element() && dom_.number_integer(v); }
  bool number_unsigned(json::number_unsigned_t v) { return element() && dom_.number_unsigned(v); }
  bool number_float(json::number_float_t v, const json::string_t& s) {
    return element() && dom_.number_float(v, s);
  }
  bool string(json::string_t& v) { return element() && dom_.string(v); }
  bool binary(json::binary_t& v) { return element() && dom_.binary(v); }
  bool start_object(std::size_t n) {
    element();
    // A long document ends on a stop asked for while it is read.
    if ((++objects_ & 0xFFF) == 0) throw_if_stop_requested();
    levels_.push_back({false, 0, {}, {}});
    return dom_.start_object(n);
  }
  bool key(json::string_t& k) {
    levels_.back().key = k;
    // A key given twice in one object: the library would keep the last one
    // without a word.
    if (!levels_.back().keys.insert(k).second) {
      repeated_ = path();
      return false;
    }
    return dom_.key(k);
  }
  bool end_object() {
    levels_.pop_back();
    return dom_.end_object();
  }
  bool start_array(std::size_t n) {
    element();
    levels_.push_back({true, 0, {}, {}});
    return dom_.start_array(n);
  }
  bool end_array() {
    levels_.pop_back();
    return dom_.end_array();
  }
  bool parse_error(std::size_t position, const std::string& token, const nlohmann::detail::exception& e) {
    position_ = position;
    token_ = token;
    message_ = e.what();
    out_of_range_ = e.id == 406;
    return false;
  }

  std::size_t position() const { return position_; }
  const std::string& token() const { return token_; }
  const std::string& message() const { return message_; }
  bool out_of_range() const { return out_of_range_; }
  // The key path of a key given twice in one object, "" when none was.
  const std::string& repeated() const { return repeated_; }

  // The key path at the error: keys of objects, indexes of arrays (the
  // element being read in the innermost one).
  std::string path() const {
    std::string p;
    for (std::size_t i = 0; i < levels_.size(); ++i) {
      const Level& l = levels_[i];
      if (l.array) {
        const std::size_t index = i + 1 == levels_.size() ? l.count : l.count - 1;
        p += "[" + std::to_string(index) + "]";
      } else if (!l.key.empty()) {
        p += (p.empty() ? "" : ".") + l.key;
      }
    }
    return p;
  }

 private:
  struct Level {
    bool array;
    std::size_t count;           // elements started so far (arrays)
    std::string key;             // the key being read (objects)
    std::set<std::string> keys;  // the keys read so far (objects)
  };

  bool element() {
    if (!levels_.empty() && levels_.back().array) ++levels_.back().count;
    return true;
  }

  nlohmann::detail::json_sax_dom_parser<json> dom_;
  std::vector<Level> levels_;
  std::size_t position_ = 0;
  std::string token_, message_, repeated_;
  bool out_of_range_ = false;
  std::size_t objects_ = 0;
};

// The document of a scenario; text that is not JSON fails naming the line
// and, for a number out of range, the key.
json parse_json(const std::string& text, const std::string& file) {
  json root;
  LocatingReader reader(root);
  if (json::sax_parse(text, &reader)) return root;
  if (!reader.repeated().empty())
    throw HostError(ErrorKind::bad_scenario,
                    file + ": \"" + reader.repeated() + "\" is given twice in one object");
  const std::size_t end = std::min(reader.position(), text.size());
  const long line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n');
  const std::string where = file + ":" + std::to_string(line);
  const std::string path = reader.path();
  if (reader.out_of_range())
    throw HostError(ErrorKind::bad_scenario,
                    where + ": " + (path.empty() ? "the number" : "\"" + path + "\"") + ": '" +
                        reader.token() + "' is out of range (numbers are 64-bit floating point)");
  throw HostError(
      ErrorKind::bad_scenario,
      where + ": not valid JSON" + (path.empty() ? "" : " at \"" + path + "\"") + ": " + reader.message());
}

// Typed members: each names its key when the type is wrong.
std::string text_of(const json& j, const char* key, const std::string& file, const std::string& where) {
  if (!j[key].is_string()) fail(file, where + "\"" + key + "\" must be a text");
  return j[key].get<std::string>();
}

bool flag_of(const json& j, const char* key, const std::string& file, const std::string& where) {
  if (!j[key].is_boolean()) fail(file, where + "\"" + key + "\" must be true or false");
  return j[key].get<bool>();
}

const json& array_of(const json& j, const char* key, const std::string& file, const std::string& where) {
  if (!j[key].is_array()) fail(file, where + "\"" + key + "\" must be an array");
  return j[key];
}

const json& object_of(const json& j, const char* key, const std::string& file, const std::string& where) {
  if (!j[key].is_object()) fail(file, where + "\"" + key + "\" must be an object");
  return j[key];
}

template <std::size_t N>
void require_known_keys(const json& j, const char* const (&known)[N], const std::string& file,
                        const std::string& where) {
  for (const auto& item : j.items()) {
    const std::string& key = item.key();
    if (std::find_if(std::begin(known), std::end(known), [&](const char* k) { return key == k; }) ==
        std::end(known))
      fail(file, where + "unknown key \"" + key + "\"");
  }
}

std::optional<std::uint32_t> parse_u32(const std::string& s) {
  std::uint32_t v = 0;
  const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  const char* begin = s.data() + (hex ? 2 : 0);
  auto [end, ec] = std::from_chars(begin, s.data() + s.size(), v, hex ? 16 : 10);
  if (ec != std::errc() || end != s.data() + s.size() || begin == end) return std::nullopt;
  return v;
}

SimValue any_value_of(const json& j, const std::string& file, const std::string& where) {
  if (j.is_number()) return SimValue::of_number(j.get<double>());
  if (j.is_boolean()) return SimValue::of_number(j.get<bool>() ? 1.0 : 0.0);
  if (j.is_object() && j.size() == 1) {
    if (j.contains("int")) {
      const json& v = j["int"];
      // Negative integers stand for their 32-bit two's complement.
      if (v.is_number_unsigned() && v.get<std::uint64_t>() <= 0xFFFFFFFFu)
        return SimValue::of_integer(static_cast<std::uint32_t>(v.get<std::uint64_t>()));
      if (v.is_number_integer() && !v.is_number_unsigned() && v.get<std::int64_t>() >= INT32_MIN)
        return SimValue::of_integer(static_cast<std::uint32_t>(v.get<std::int64_t>()));
      if (v.is_string()) {
        if (auto n = parse_u32(v.get<std::string>())) return SimValue::of_integer(*n);
      }
      fail(file, where + ": \"int\" needs an integer from -2147483648 to 4294967295 or a \"0x...\" text");
    }
    if (j.contains("text") && j["text"].is_string()) return SimValue::of_text(j["text"].get<std::string>());
  }
  fail(file, where + ": a token value is a number, {\"int\": N} or {\"text\": \"...\"}");
}

// The value of token `id`, of the kind the token takes.
SimValue value_of(std::uint32_t id, const json& j, const std::string& file, const std::string& where) {
  const SimValue v = any_value_of(j, file, where);
  const bool text = v.kind == SimValue::Kind::text;
  if (!token_takes(id, text))
    fail(file, where + (text ? ": the token takes a number, not a text"
                             : ": the token takes a text, {\"text\": \"...\"}"));
  return v;
}

std::uint32_t token_of(const std::string& key, const std::string& file) {
  auto id = token_by_name(key);
  if (!id) fail(file, "unknown token '" + key + "' (use a number or a known name)");
  if (!token_number_served(*id))
    fail(file, "unknown token number " + key + " (numbers run below " + std::to_string(kTokenNumbers) +
                   "; docs/tokens.md names the others)");
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

// A gauge point's coordinate, within the bounds --click takes.
int point_of(const json& j, const char* key, const std::string& file, const std::string& where) {
  const double v = number_of(j, key, file, where, 0.0);
  if (v < -kMaxPoint || v > kMaxPoint)
    fail(file, where + ": \"" + key + "\" lies within -" + std::to_string(kMaxPoint) + " to " +
                   std::to_string(kMaxPoint));
  return static_cast<int>(v);
}

// A time of the run, in seconds from frame 0.
double time_of(const json& j, const char* key, const std::string& file, const std::string& where) {
  const double t = number_of(j, key, file, where, 0.0);
  if (t < 0.0 || t > kMaxSeconds)
    fail(file, where + ": \"" + key + "\" must be a time in seconds from 0 to " +
                   std::to_string(static_cast<int>(kMaxSeconds)));
  return t;
}

GaugeRef gauge_of(const json& j, const std::string& file, const std::string& where) {
  GaugeRef ref;
  if (j.contains("instance") && j.contains("gauge"))
    fail(file, where + ": names both \"instance\" and \"gauge\"; give one of them");
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
  e.t = time_of(j, "t", file, where);
  e.target = gauge_of(j, file, where);
  // The point: "x", "y" in the gauge's design coordinates, or with
  // "placed": true in pixels of the instance as placed; or "area", a mouse
  // record by number.
  if (j.contains("area")) {
    if (!j["area"].is_number_unsigned() || j["area"].get<std::uint64_t>() > 100000)
      fail(file, where + ": \"area\" must be the number of a mouse record");
    if (j.contains("x") || j.contains("y") || j.contains("placed"))
      fail(file, where + ": \"area\" names the point; leave out \"x\", \"y\" and \"placed\"");
    e.space = PointSpace::area;
    e.x = static_cast<int>(j["area"].get<std::uint64_t>());
    return;
  }
  e.x = point_of(j, "x", file, where);
  e.y = point_of(j, "y", file, where);
  if (j.contains("placed")) {
    if (!j["placed"].is_boolean()) fail(file, where + ": \"placed\" must be true or false");
    if (j["placed"].get<bool>()) e.space = PointSpace::placed;
  }
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
  require_known_keys(j, kTrackKeys, file, where + ": ");
  TrafficTrack t;
  if (own) {
    t.id = 1;
    t.atc_id = "F_ORVN";
    t.name = "Orvane";
  }
  if (j.contains("id")) {
    if (!j["id"].is_number_unsigned() || j["id"].get<std::uint64_t>() > 0xFFFFFFFFu)
      fail(file, where + ": \"id\" must be a count from 0 to 4294967295");
    t.id = static_cast<std::uint32_t>(j["id"].get<std::uint64_t>());
  }
  const std::string in = where + ": ";
  if (j.contains("atc_id")) t.atc_id = text_of(j, "atc_id", file, in);
  if (j.contains("name")) t.name = text_of(j, "name", file, in);
  if (j.contains("null_name")) t.null_name = flag_of(j, "null_name", file, in);
  if (j.contains("engine")) t.engine = flag_of(j, "engine", file, in);
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
  static const char* const kGpsKeys[] = {"waypoints", "aircraft",  "active",
                                         "steer",     "turn_rate", "ground_speed"};
  require_known_keys(g, kGpsKeys, file, "gps: ");
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
    if (plan.active >= std::max<std::size_t>(plan.waypoints.size(), 1))
      fail(file, "gps: \"active\" is " + std::to_string(plan.active) + ", but the plan has " +
                     std::to_string(plan.waypoints.size()) + " waypoint(s) (counted from 0)");
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

SimValue TokenTrack::at(double t) const {
  if (keys.empty()) return {};
  if (t <= keys.front().t) return keys.front().value;
  if (t >= keys.back().t) return keys.back().value;
  // The first keyframe at or after t; the one before it starts the segment.
  const auto next = std::lower_bound(keys.begin() + 1, keys.end(), t,
                                     [](const Keyframe& k, double time) { return k.t < time; });
  const Keyframe& a = *(next - 1);
  const Keyframe& b = *next;
  if (a.value.kind != SimValue::Kind::number || b.value.kind != SimValue::Kind::number || b.t <= a.t)
    return t < b.t ? a.value : b.value;
  const double f = (t - a.t) / (b.t - a.t);
  return SimValue::of_number(a.value.number + (b.value.number - a.value.number) * f);
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
  for (const TokenTrack& track : tracks) {
    SimValue v = track.at(t);
    if (v.kind == SimValue::Kind::number && v.integer == 0 && v.text.empty()) {
      state.set_number(track.token, v.number);
    } else {
      state.set_token(track.token, std::move(v));
    }
  }
  if (traffic) {
    state.set_number(kTokenClockNow, t);
    state.set_number(kTokenOwnHeading, track_at(traffic->own, t).heading);
  }
}

std::optional<SimValue> parse_token_value(const std::string& text) {
  if (text.rfind("s:", 0) == 0) return SimValue::of_text(text.substr(2));
  if (text.rfind("i:", 0) == 0) {
    if (auto v = parse_u32(text.substr(2))) return SimValue::of_integer(*v);
    return std::nullopt;
  }
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (auto v = parse_u32(text)) return SimValue::of_integer(*v);
    return std::nullopt;
  }
  double v = 0.0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty() || !std::isfinite(v))
    return std::nullopt;
  return SimValue::of_number(v);
}

namespace {

// The steps of reading a scenario document, one per top-level key.
class ScenarioReader {
 public:
  ScenarioReader(const json& root, const std::string& file, const std::string& base_dir)
      : root_(root), file_(file), base_dir_(base_dir) {}

  Scenario read() {
    if (!root_.is_object()) fail(file_, "a scenario is a JSON object");
    static const char* const kKeys[] = {"name",      "description", "panel",       "frames", "start_time",
                                        "tokens",    "keyframes",   "expressions", "clicks", "tooltips",
                                        "render_at", "gps",         "traffic"};
    require_known_keys(root_, kKeys, file_, "");
    if (has("name")) s_.name = text_of(root_, "name", file_, "");
    if (has("description")) text_of(root_, "description", file_, "");
    if (has("panel")) read_panel();
    if (has("frames")) read_frames();
    if (has("start_time")) s_.start_time = time_of_day(root_["start_time"], file_);
    if (has("tokens")) read_tokens();
    if (has("keyframes")) read_keyframes();
    if (has("expressions")) read_expressions();
    if (has("clicks")) read_clicks();
    if (has("tooltips")) read_tooltips();
    if (has("render_at")) read_render_at();
    if (has("traffic")) s_.traffic = traffic_of(root_["traffic"], file_);
    if (has("gps")) s_.gps = gps_plan_of(root_["gps"], file_);
    auto by_time = [](const auto& a, const auto& b) { return a.t < b.t; };
    std::stable_sort(s_.clicks.begin(), s_.clicks.end(), by_time);
    std::stable_sort(s_.tooltips.begin(), s_.tooltips.end(), by_time);
    return std::move(s_);
  }

 private:
  bool has(const char* key) const { return root_.contains(key); }

  // Relative to the scenario's folder unless absolute.
  void read_panel() {
    const std::string p = text_of(root_, "panel", file_, "");
    const bool absolute = !p.empty() && (p[0] == '/' || p[0] == '\\' || (p.size() > 1 && p[1] == ':'));
    s_.panel = absolute || base_dir_.empty() ? p : base_dir_ + "/" + p;
  }

  void read_frames() {
    const json& f = root_["frames"];
    if (!f.is_number_unsigned() || f.get<std::uint64_t>() > static_cast<std::uint64_t>(kMaxFrames))
      fail(file_, "\"frames\" must be a count from 0 to " + std::to_string(kMaxFrames));
    s_.frames = static_cast<int>(f.get<std::uint64_t>());
  }

  void read_tokens() {
    for (const auto& [key, value] : object_of(root_, "tokens", file_, "").items()) {
      const std::uint32_t id = token_of(key, file_);
      s_.tokens.emplace_back(id, value_of(id, value, file_, "token " + key));
    }
  }

  // Each token's keyframes become one track, in time order (keyframes of
  // equal time keep their order).
  void read_keyframes() {
    const json& list = array_of(root_, "keyframes", file_, "");
    std::map<std::uint32_t, TokenTrack> tracks;
    for (std::size_t i = 0; i < list.size(); ++i) {
      if ((i & 0xFFF) == 0) throw_if_stop_requested();
      const json& k = list[i];
      const std::string where = "keyframe " + std::to_string(i);
      if (!k.is_object() || !k.contains("tokens") || !k["tokens"].is_object())
        fail(file_, where + ": needs \"t\" and \"tokens\"");
      const double t = time_of(k, "t", file_, where);
      for (const auto& [key, value] : k["tokens"].items()) {
        const std::uint32_t id = token_of(key, file_);
        tracks[id].token = id;
        tracks[id].keys.push_back({t, value_of(id, value, file_, where + " token " + key)});
      }
    }
    for (auto& [id, track] : tracks) {
      std::stable_sort(track.keys.begin(), track.keys.end(),
                       [](const Keyframe& a, const Keyframe& b) { return a.t < b.t; });
      s_.tracks.push_back(std::move(track));
    }
  }

  void read_expressions() {
    for (const auto& [code, value] : object_of(root_, "expressions", file_, "").items()) {
      if (value.is_number()) {
        s_.expression_numbers[code] = value.get<double>();
      } else if (value.is_string()) {
        s_.expression_texts[code] = value.get<std::string>();
      } else {
        fail(file_, "expression " + code + ": a number or a text");
      }
    }
  }

  void read_clicks() {
    const json& list = array_of(root_, "clicks", file_, "");
    for (std::size_t i = 0; i < list.size(); ++i) {
      const json& c = list[i];
      const std::string where = "click " + std::to_string(i);
      if (!c.is_object()) fail(file_, where + ": must be an object");
      ScenarioClick click;
      read_place(c, file_, where, click);
      const std::string button = c.contains("button") ? text_of(c, "button", file_, where + ": ") : "left";
      if (button != "left" && button != "right" && button != "move")
        fail(file_, where + ": \"button\" is \"left\", \"right\" or \"move\"");
      click.button = button == "left"    ? MouseButton::left
                     : button == "right" ? MouseButton::right
                                         : MouseButton::move;
      s_.clicks.push_back(click);
    }
  }

  void read_tooltips() {
    const json& list = array_of(root_, "tooltips", file_, "");
    for (std::size_t i = 0; i < list.size(); ++i) {
      const json& c = list[i];
      const std::string where = "tooltip " + std::to_string(i);
      if (!c.is_object()) fail(file_, where + ": must be an object");
      ScenarioTooltip tip;
      read_place(c, file_, where, tip);
      s_.tooltips.push_back(tip);
    }
  }

  void read_render_at() {
    const json& list = array_of(root_, "render_at", file_, "");
    for (std::size_t i = 0; i < list.size(); ++i) {
      const json& t = list[i];
      if (!t.is_number() || t.get<double>() < 0.0 || t.get<double>() > kMaxSeconds)
        fail(file_, "\"render_at\" " + std::to_string(i) + ": times are seconds from 0 to " +
                        std::to_string(static_cast<int>(kMaxSeconds)));
      s_.render_at.push_back(t.get<double>());
    }
    std::sort(s_.render_at.begin(), s_.render_at.end());
  }

  const json& root_;
  const std::string& file_;
  const std::string& base_dir_;
  Scenario s_;
};

}  // namespace

Scenario parse_scenario(const std::string& text, const std::string& file, const std::string& base_dir) {
  const json root = parse_json(text, file);
  try {
    return ScenarioReader(root, file, base_dir).read();
  } catch (const json::exception& e) {
    // Every member is type-checked before it is read; this is a safety net.
    fail(file, std::string("wrong type: ") + e.what());
  }
}

}  // namespace orv::host
