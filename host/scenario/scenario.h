// Scenarios: a scripted flight for the substitute host, in JSON.
//
//   {
//     "name": "approach",
//     "panel": "../panels/default/panel.cfg",   // relative to this file; optional
//     "frames": 90,                             // default frame count; optional
//     "start_time": "14:30:00",                 // local time of frame 0
//     "tokens": {                               // set once before start-up
//       "AIRSPEED": 250, "84": 90,              // by readable name or number
//       "NAV1_STANDBY": {"int": "0x1035"},      // integer in the low word
//       "NAV1_IDENT": {"text": "ORV"}           // text token
//     },
//     "keyframes": [                            // numbers interpolate linearly
//       {"t": 0, "tokens": {"PITCH": 0, "BANK": 0}},
//       {"t": 4, "tokens": {"PITCH": 5, "BANK": -20}}
//     ],
//     "expressions": {"(A:ATC ID,string)": "F_ORVN",
//                     "(A:GPS IS ACTIVE WAY POINT,number)": 1},
//     "clicks": [{"t": 1, "gauge": "NAV_GPS_Switch", "x": 10, "y": 10, "button": "left"}],
//     "tooltips": [{"t": 0.5, "gauge": "Baro_Pressure", "x": 5, "y": 5}],
//     "render_at": [2, 12],                     // times orvane-panel render draws
//     "gps": {"waypoints": [{"ident": "ORVA", "lat": 45.1, "lon": 5.2}],
//             "aircraft": {"lat": 45.0, "lon": 5.0}}   // see docs/scenarios.md
//     "traffic": {"own": {...}, "aircraft": [...]}   // see docs/scenarios.md
//   }
//
// Time is simulated seconds from frame 0 (18 frames per second). A keyframed
// token takes, at time t, the value interpolated between its keyframes around
// t (before the first: the first; after the last: the last); integer and text
// keyframes hold their value until the next. A click or tooltip names its
// gauge (the first instance of that name) or an "instance" index.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/aircraft/gps_service.h"
#include "host/aircraft/simulator.h"
#include "host/aircraft/traffic_service.h"
#include "host/panel/host.h"

namespace orv::host {

// The longest run a scenario or the command line asks for, in frames, and the
// latest time a scenario names (keyframes, clicks, tooltips, pictures): one
// simulated day.
inline constexpr int kMaxFrames = 10000000;
inline constexpr double kMaxSeconds = 86400.0;
// The farthest a clicked point may lie from its gauge's corner, on the
// command line and in a scenario alike: beyond any placed gauge, within what
// the host's coordinates hold.
inline constexpr int kMaxPoint = 1000000;

// Tokens set to values, in order.
using TokenSets = std::vector<std::pair<std::uint32_t, SimValue>>;

struct Keyframe {
  double t = 0.0;
  SimValue value;
};

struct TokenTrack {
  std::uint32_t token = 0;
  std::vector<Keyframe> keys;  // by time
  // The track's value at time t.
  SimValue at(double t) const;
};

// A gauge named by instance index or by name (first instance of that name).
struct GaugeRef {
  std::optional<std::size_t> instance;
  std::string gauge;
  // Resolves against the host's instances; nullopt when nothing matches.
  std::optional<std::size_t> resolve(const Host& host) const;
  std::string describe() const;
};

// A click's or tooltip's point: x, y in `space` (for a mouse record named
// by number, x is the number).
struct ScenarioClick {
  double t = 0.0;
  GaugeRef target;
  int x = 0, y = 0;
  PointSpace space = PointSpace::design;
  MouseButton button = MouseButton::left;
  GaugePoint point() const { return {space, x, y}; }
};

struct ScenarioTooltip {
  double t = 0.0;
  GaugeRef target;
  int x = 0, y = 0;
  PointSpace space = PointSpace::design;
  GaugePoint point() const { return {space, x, y}; }
};

struct Scenario {
  std::string name;
  std::optional<std::string> panel;  // resolved path
  std::optional<int> frames;
  double start_time = 12.0 * 3600.0;  // seconds after midnight
  TokenSets tokens;
  std::vector<TokenTrack> tracks;
  std::map<std::string, double> expression_numbers;
  std::map<std::string, std::string> expression_texts;
  std::vector<ScenarioClick> clicks;
  std::vector<ScenarioTooltip> tooltips;
  std::vector<double> render_at;           // seconds, ascending; empty: the renderer's default
  std::optional<GpsPlan> gps;              // a flight plan: the host serves the GPS data block
  std::optional<TrafficScenario> traffic;  // the traffic service, when declared

  // Start time, tokens, expressions and the traffic service, before start-up;
  // the GPS, if the scenario has a flight plan, joins the state's frame
  // sources.
  void apply_initial(SimState& state) const;
  // The keyframed tokens at time t (with traffic: the clock and the user's
  // heading too).
  void apply_at(SimState& state, double t) const;
};

// Parses scenario JSON; `file` names it in messages and `base_dir` resolves
// its panel path. Throws HostError(bad_scenario) naming the file and the key
// (or the line, for text that is not JSON or a number beyond 64-bit floating
// point): wrong types, unknown keys, "frames" beyond kMaxFrames, times
// outside 0 to kMaxSeconds.
Scenario parse_scenario(const std::string& json, const std::string& file, const std::string& base_dir);

// Parses a token value as the command line writes it: "12.5" a number,
// "0x1835" or "i:6197" an integer, "s:TEXT" a text. Nullopt if malformed.
std::optional<SimValue> parse_token_value(const std::string& text);

}  // namespace orv::host
