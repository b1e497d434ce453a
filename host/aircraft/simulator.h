// The simulator's side of the panel services: token variables by number, the
// key events the module sends (with the frame they came in and their effect
// on the state), the set of open panel windows, host expressions, and the
// registries of named data blocks and host interfaces.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "frame/gauge_abi.h"
#include "frame/panel_windows.h"

namespace orv::host {

// A token variable's value, as the host delivers it: an f64, an integer in the
// low word (BCD frequencies, flag words) or a text.
struct SimValue {
  enum class Kind { number, integer, text };
  Kind kind = Kind::number;
  double number = 0.0;
  std::uint32_t integer = 0;
  std::string text;

  static SimValue of_number(double v) { return {Kind::number, v, 0, {}}; }
  static SimValue of_integer(std::uint32_t v) { return {Kind::integer, 0.0, v, {}}; }
  static SimValue of_text(std::string v) { return {Kind::text, 0.0, 0, std::move(v)}; }
  // The value as a float: integers convert, texts read as 0.
  double as_double() const;
  bool operator==(const SimValue&) const = default;
};

// Frames before the first update (services 2, 14, 3) carry this number.
inline constexpr std::int64_t kSetupFrame = -1;

struct KeyEventRecord {
  std::uint32_t event;
  std::uint32_t value;
  std::int64_t frame;
  bool operator==(const KeyEventRecord&) const = default;
};

struct WindowChange {
  std::uint32_t window;
  bool open;
  std::int64_t frame;
  bool operator==(const WindowChange&) const = default;
};

// Simulator ticks per second of simulated time (token 1).
inline constexpr int kTicksPerSecond = 18;

// Key events with an effect on the state: the panel window events of
// frame/panel_windows.h.
inline constexpr std::uint32_t kEventWindowToggle = abi::windows::kEventToggle;
inline constexpr std::uint32_t kEventWindowOpen = abi::windows::kEventOpen;
inline constexpr std::uint32_t kEventWindowClose = abi::windows::kEventClose;

class SimState {
 public:
  SimState();

  // --- Token variables -----------------------------------------------------
  void set_token(std::uint32_t id, SimValue value);
  void set_number(std::uint32_t id, double v);
  void set_integer(std::uint32_t id, std::uint32_t v) { set_token(id, SimValue::of_integer(v)); }
  void set_text(std::uint32_t id, std::string v) { set_token(id, SimValue::of_text(std::move(v))); }
  // The token's value, or null for a token never set (it reads as 0).
  const SimValue* token(std::uint32_t id) const;
  double number(std::uint32_t id) const;
  // Writes token `var.id`'s value into the record's value field as the host
  // does: `.n` for floats, `.d` (upper bytes zero) for integers, `.p` for texts.
  void deliver(abi::TokenVar& var) const {
    if (var.id < kDirectTokens) {
      var.value = delivered_[var.id];
    } else {
      deliver(var, token(var.id));
    }
  }
  // The same with the token's value already looked up (null: never set).
  static void deliver(abi::TokenVar& var, const SimValue* value);

  // --- Time ----------------------------------------------------------------
  // Local time of frame 0, in seconds after midnight.
  void set_start_time(double seconds_after_midnight) { start_time_ = seconds_after_midnight; }
  double start_time() const { return start_time_; }
  // Enters frame `frame`: token 1 counts ticks, tokens 3, 4 and 5 give the
  // hours, minutes and seconds of the simulated local time.
  void begin_frame(std::int64_t frame);
  std::int64_t frame() const { return frame_; }
  // Simulated seconds since frame 0.
  double time() const { return static_cast<double>(frame_ < 0 ? 0 : frame_) / kTicksPerSecond; }

  // --- Key events ----------------------------------------------------------
  // Logs the event and applies its effect on the state, if it has one.
  void send_key_event(std::uint32_t event, std::uint32_t value);
  const std::vector<KeyEventRecord>& key_events() const { return key_events_; }
  // Forgets the logged key events and window changes (long runs).
  void clear_logs() {
    key_events_.clear();
    window_changes_.clear();
  }

  // --- Panel windows -------------------------------------------------------
  bool window_open(std::uint32_t window) const {
    return window < kDirectWindows ? open_flags_[window] != 0 : open_windows_.count(window) != 0;
  }
  const std::set<std::uint32_t>& open_windows() const { return open_windows_; }
  void open_window(std::uint32_t window);
  void close_window(std::uint32_t window);
  void toggle_window(std::uint32_t window);
  const std::vector<WindowChange>& window_changes() const { return window_changes_; }
  // When an open window was opened, as a count of openings (later openings
  // count higher; 0: the window is closed). A screen stacks windows by it.
  std::uint64_t opening(std::uint32_t window) const {
    const auto it = openings_.find(window);
    return it == openings_.end() ? 0 : it->second;
  }

  // --- Host expressions ----------------------------------------------------
  // Setting an expression that is already known allocates nothing (a frame
  // source sets its expressions every frame).
  void set_expression_number(std::string_view code, double v);
  void set_expression_text(std::string_view code, std::string v);
  // Evaluates `code` (either out-pointer may be null). An unknown expression
  // gives 0 and an empty text; returns whether the expression was known.
  bool evaluate(const char* code, double* number, const char** text) const;

  // --- Named data blocks, host interfaces, aircraft variables --------------
  void register_named_data(const std::string& name, void* block) { named_data_[name] = block; }
  void* named_data(const char* name) const;
  void register_interface(const std::string& name, void* object) { interfaces_[name] = object; }
  void* host_interface(const char* name) const;
  std::function<double(std::uint32_t var, std::uint32_t unit, std::int32_t index)> simulation_variable;
  // Keeps an object (a host service a scenario installs) alive as long as
  // the state.
  void keep(std::shared_ptr<void> object) { kept_.push_back(std::move(object)); }

  // --- Parts of the simulation that move on their own (the GPS) -------------
  // Each source advances once per frame, after the frame's scenario tokens
  // are set and before the gauges see the frame.
  class FrameSource {
   public:
    virtual ~FrameSource() = default;
    virtual void advance(SimState& state) = 0;
  };
  void add_source(std::shared_ptr<FrameSource> source) { sources_.push_back(std::move(source)); }
  const std::vector<std::shared_ptr<FrameSource>>& sources() const { return sources_; }
  void advance_sources() {
    for (auto& s : sources_) s->advance(*this);
  }

 private:
  std::vector<std::shared_ptr<FrameSource>> sources_;
  // Token values: those numbered below kDirectTokens found through a table
  // indexed by number (no search, no allocation once a token exists), any
  // other in a map. Values never move once stored (a delivered text pointer
  // stays valid until the token is set again).
  static constexpr std::uint32_t kDirectTokens = 16384;
  std::vector<SimValue*> direct_;  // token number -> its value in direct_values_, null: never set
  // Token number -> the value word deliver() writes (0 for a token never
  // set), kept up to date by set_token: a read is one indexed copy.
  std::vector<abi::TokenValue> delivered_;
  std::deque<SimValue> direct_values_;
  std::map<std::uint32_t, SimValue> tokens_;
  std::vector<KeyEventRecord> key_events_;
  std::set<std::uint32_t> open_windows_;
  std::map<std::uint32_t, std::uint64_t> openings_;  // open windows: their opening count
  std::uint64_t opening_count_ = 0;
  // The same for windows numbered below kDirectWindows, as flags (asked for
  // every instance of every frame).
  static constexpr std::uint32_t kDirectWindows = 256;
  std::array<std::uint8_t, kDirectWindows> open_flags_{};
  std::vector<WindowChange> window_changes_;
  // Keyed by text, looked up without building a string (std::less<>).
  std::map<std::string, double, std::less<>> expression_numbers_;
  std::map<std::string, std::string, std::less<>> expression_texts_;
  std::map<std::string, void*, std::less<>> named_data_;
  std::map<std::string, void*, std::less<>> interfaces_;
  std::vector<std::shared_ptr<void>> kept_;
  double start_time_ = 12.0 * 3600.0;
  std::int64_t frame_ = kSetupFrame;
};

}  // namespace orv::host
