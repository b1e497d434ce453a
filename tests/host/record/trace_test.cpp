// The trace's number format against the C library's, its JSON lines against
// its text lines, and its output: streamed in blocks, failures reported.
#include "host/record/trace.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/aircraft/event_names.h"
#include "host/load/host_error.h"
#include "host/record/trace_format.h"
#include "host/scenario/scenario.h"

namespace orv::host {
namespace {

std::string printf_g6(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6g", v);
  return buffer;
}

TEST(FormatNumber, MatchesTheCLibraryOverTiesBoundariesAndRandomValues) {
  std::vector<double> values = {0.5,
                                1.5,
                                2.5,
                                1234565.0,
                                1234575.0,
                                123456.5,
                                123457.5,
                                999999.5,
                                999999.4,
                                9.999995,
                                9.9999949,
                                0.0001,
                                0.00009999995,
                                1e-5,
                                1e15,
                                1e16,
                                1e100,
                                1e-300,
                                4.9e-324,
                                1.7976931348623157e308,
                                100000.0,
                                1000000.0,
                                0.1,
                                0.3,
                                2.0 / 3.0,
                                1.0 / 3.0,
                                0.0000123456789,
                                12345.65,
                                1.000005,
                                1.0000050000000001,
                                8.5e-5,
                                3.0e21,
                                -0.15,
                                -99999.95};
  // Decimal ties at the seventh digit across magnitudes, and their neighbours.
  for (int e = -12; e <= 20; ++e) {
    for (double digits : {1000005.0, 1234565.0, 9999995.0, 5000005.0}) {
      const double v = digits * std::pow(10.0, e - 6);
      values.insert(values.end(), {v, std::nextafter(v, 0.0), std::nextafter(v, 1e300)});
    }
  }
  std::mt19937_64 random(18);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int e = -6; e <= 7; ++e) {
    const double power = std::pow(10.0, e);
    values.insert(values.end(), {power, std::nextafter(power, 0.0), std::nextafter(power, 1e300)});
  }
  for (int i = 0; i < 20000; ++i) values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
  for (int i = 0; i < 20000; ++i) {
    const double whole = std::floor(mantissa(random) * 1e6) / std::pow(10.0, exponent(random) % 7);
    values.push_back(whole);
  }
  for (double v : values) {
    ASSERT_EQ(format_number(v), printf_g6(v)) << std::hexfloat << v;
    ASSERT_EQ(format_number(-v), printf_g6(-v)) << std::hexfloat << -v;
  }
  EXPECT_EQ(format_number(-0.0), "0");
  EXPECT_EQ(format_number(INFINITY), "inf");
  EXPECT_EQ(format_number(-INFINITY), "-inf");
}

TEST(EventNames, AreUniqueUpperCaseWordsInNumberOrder) {
  std::uint32_t last = 0;
  std::set<std::string> names;
  for (const EventInfo& e : event_table()) {
    EXPECT_GT(e.id, last);
    last = e.id;
    EXPECT_TRUE(names.insert(e.name).second) << e.name;
    for (const char* c = e.name; *c != 0; ++c)
      EXPECT_TRUE(std::isupper(static_cast<unsigned char>(*c)) ||
                  std::isdigit(static_cast<unsigned char>(*c)) || *c == '_');
    EXPECT_STREQ(event_name(e.id), e.name);
  }
  EXPECT_EQ(event_name(900006), nullptr);
}

// An output that keeps what it is given, fails from a byte count on, and
// records the size of every write.
class RecordingOutput : public TraceOutput {
 public:
  explicit RecordingOutput(std::size_t fail_after = SIZE_MAX) : fail_after_(fail_after) {}
  void write(const char* data, std::size_t size) override {
    if (text.size() + size > fail_after_) throw HostError(ErrorKind::unreadable, "disk full");
    writes.push_back(size);
    text.append(data, size);
  }
  void flush() override { ++flushes; }
  std::string text;
  std::vector<std::size_t> writes;
  int flushes = 0;

 private:
  std::size_t fail_after_;
};

class TraceRun : public testing::Test {
 protected:
  TraceRun() : module_(Module::load(ORV_PROBE_MODULE)), host_(std::make_unique<Host>(*module_, state_)) {
    state_.open_window(0);
    for (int i = 0; i < 4; ++i) host_->add_instance("Probe", 0, 0, 0);
    scenario_ = parse_scenario(R"J({
      "keyframes": [{"t": 0, "tokens": {"HEADING": 10}}, {"t": 100, "tokens": {"HEADING": 350}}],
      "clicks": [{"t": 0.05, "instance": 0, "x": 5, "y": 5}, {"t": 0.1, "gauge": "Nope", "x": 1, "y": 1}],
      "tooltips": [{"t": 0, "gauge": "Probe", "x": 1, "y": 1}, {"t": 0, "gauge": "Nope", "x": 1, "y": 1}]})J",
                               "s.json", "");
  }

  SimState state_;
  std::unique_ptr<Module> module_;
  std::unique_ptr<Host> host_;
  Scenario scenario_;
};

// Every JSON line parses and carries what the text line of the same event
// says, in the same order.
TEST_F(TraceRun, JsonLinesCarryTheTextLinesEventForEvent) {
  TraceOptions options;
  options.frames = 4;
  std::ostringstream text_out;
  run_trace(*host_, scenario_, options, text_out);

  SimState state;
  state.open_window(0);
  auto module = Module::load(ORV_PROBE_MODULE);
  Host host(*module, state);
  for (int i = 0; i < 4; ++i) host.add_instance("Probe", 0, 0, 0);
  options.format = TraceFormat::jsonl;
  std::ostringstream json_out;
  run_trace(host, scenario_, options, json_out);

  std::istringstream text_lines(text_out.str()), json_lines(json_out.str());
  std::string text, line;
  std::getline(text_lines, text);
  EXPECT_EQ(text, "orvane-panel trace 1");
  int elements = 0, events = 0, frames = 0;
  while (std::getline(json_lines, line)) {
    const nlohmann::json j = nlohmann::json::parse(line);
    const std::string type = j.at("type");
    if (type == "trace") {
      EXPECT_EQ(j.at("version"), 1);
      continue;
    }
    ASSERT_TRUE(std::getline(text_lines, text)) << line;
    if (type == "frame") {
      EXPECT_EQ(text, "frame " + std::to_string(int{j.at("frame")}) + " t=" + format_number(j.at("t")));
      ++frames;
    } else if (type == "element") {
      std::string values;
      for (const auto& v : j.at("values")) values += (values.empty() ? " v=" : ",") + format_number(v);
      EXPECT_EQ(text, "  element " + std::to_string(int{j.at("instance")}) + "." +
                          std::to_string(int{j.at("element")}) + " " + std::string(j.at("gauge")) + " " +
                          std::string(j.at("kind")) + values +
                          (j.contains("bitmap") ? " bmp=" + std::to_string(int{j.at("bitmap")}) : "") +
                          (j.at("shown") ? " shown" : " hidden") +
                          (j.contains("text") ? " text=\"" + std::string(j.at("text")) + "\"" : ""));
      EXPECT_EQ(j.at("frame"), frames - 1);
      ++elements;
    } else if (type == "event") {
      const std::string name = j.at("name").is_null() ? "" : " " + std::string(j.at("name"));
      EXPECT_EQ(text, "  event " + std::to_string(unsigned{j.at("event")}) + " " +
                          std::to_string(unsigned{j.at("value")}) + name);
      ++events;
    } else if (type == "click" || type == "tooltip") {
      EXPECT_EQ(text.rfind("  " + type + " ", 0), 0u) << text;
      if (j.contains("missing")) {
        EXPECT_EQ(text, "  " + type + " " + std::string(j.at("target")) + " missing");
      } else {
        EXPECT_EQ(text.find(" " + std::string(j.at("gauge")) + " " + std::to_string(int{j.at("x")}) + "," +
                            std::to_string(int{j.at("y")})),
                  text.find(' ', 2 + type.size() + 1));
      }
      if (type == "click" && j.contains("event_name") && !j.at("event_name").is_null()) {
        EXPECT_NE(text.find(std::string(j.at("event_name"))), std::string::npos);
      }
      if (type == "tooltip" && j.contains("text") && !j.at("text").is_null()) {
        EXPECT_NE(text.find("\"" + std::string(j.at("text")) + "\""), std::string::npos);
      }
    } else if (type == "setup" || type == "shutdown" || type == "end") {
      EXPECT_EQ(text, type);
    } else {
      EXPECT_EQ(text.rfind(type == "panel_window" ? "window "
                           : type == "module"     ? "module "
                                                  : "",
                           0),
                0u)
          << type << " / " << text;
    }
  }
  EXPECT_FALSE(std::getline(text_lines, text)) << text;
  EXPECT_EQ(frames, 4);
  EXPECT_GT(elements, 12);
  EXPECT_GT(events, 4);
}

// A trace of changes lists exactly the elements of the full trace (written
// from their live values on every frame) that differ from the element's
// object in the frame before (all of them in the first frame): comparing
// raw values first skips nothing that prints differently, whichever field
// moves alone.
TEST_F(TraceRun, ChangeTraceIsTheFullTraceLessRepeatedElements) {
  auto trace = [](bool full) {
    SimState state;
    state.open_window(0);
    auto module = Module::load(ORV_PROBE_MODULE);
    Host host(*module, state);
    host.add_instance("Probe", 0, 0, 0);
    const Scenario scenario = parse_scenario("{}", "s.json", "");
    TraceOptions options;
    options.full = full;
    options.format = TraceFormat::jsonl;
    RecordingOutput out;
    TraceRecorder recorder(host, scenario, options, out);
    recorder.start();
    abi::ElementHeader* background = host.instance(0).elements()[0].element;  // no callback
    const std::function<void()> steps[] = {
        [] {},                                        // nothing moves
        [&] { state.set_number(80, 12.0); },          // the sprite's angle alone
        [&] { state.set_number(78, 3.0); },           // its x alone
        [&] { state.set_number(84, 90.0); },          // needle and text
        [&] { state.set_number(84, 90.0 + 1e-12); },  // moved, prints alike
        [&] { background->flags |= abi::kHiddenFlag; },
        [&] { background->bitmap = 11; },
        [&] { background->flags &= ~abi::kHiddenFlag; }};
    for (const auto& step : steps) {
      step();
      recorder.frame();
    }
    recorder.finish();
    return out.text;
  };
  std::istringstream full(trace(true));
  std::map<std::pair<int, int>, std::string> last;  // (instance, element) -> its object less the frame
  std::string expected, line;
  while (std::getline(full, line)) {
    nlohmann::json j = nlohmann::json::parse(line);
    if (j.at("type") == "element") {
      std::string& previous = last[{j.at("instance"), j.at("element")}];
      j.erase("frame");
      if (previous == j.dump()) continue;
      previous = j.dump();
    }
    expected += line + '\n';
  }
  EXPECT_EQ(trace(false), expected);
}

// A long run reaches its output in bounded blocks while it runs, and an
// output that fails stops it with an error naming the failure.
TEST_F(TraceRun, StreamsInBlocksAndStopsWhenTheOutputFails) {
  TraceOptions options;
  options.frames = 2000;
  options.full = true;
  RecordingOutput out;
  run_trace(*host_, scenario_, options, out);
  ASSERT_GT(out.writes.size(), 3u);
  for (std::size_t size : out.writes) EXPECT_LT(size, 128u * 1024);
  EXPECT_EQ(out.flushes, 1);
  EXPECT_EQ(out.text.substr(out.text.size() - 4), "end\n");

  SimState state;
  state.open_window(0);
  auto module = Module::load(ORV_PROBE_MODULE);
  Host host(*module, state);
  for (int i = 0; i < 4; ++i) host.add_instance("Probe", 0, 0, 0);
  RecordingOutput failing(100000);
  try {
    run_trace(host, scenario_, options, failing);
    FAIL() << "the failing output went unnoticed";
  } catch (const HostError& e) {
    EXPECT_EQ(e.kind(), ErrorKind::unreadable);
  }
  EXPECT_LT(state.frame(), 1000);  // stopped early, not at the end
}

TEST(FileTraceOutput, NamesTheOutputWhenAWriteFails) {
  std::FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  FileTraceOutput out(full, "standard output");
  const std::string block(1 << 16, 'x');
  try {
    out.write(block.data(), block.size());
    out.flush();
    FAIL() << "writing to /dev/full succeeded";
  } catch (const HostError& e) {
    EXPECT_EQ(e.kind(), ErrorKind::unreadable);
    EXPECT_EQ(std::string(e.what()).rfind("standard output: cannot write the trace", 0), 0u) << e.what();
  }
  std::fclose(full);
}

}  // namespace
}  // namespace orv::host

namespace orv::host {
namespace {

// Sounds logged with the host come out in the frame they were logged in, in
// both formats.
TEST_F(TraceRun, SoundsLoggedWithTheHostAreEventsOfTheirFrame) {
  for (TraceFormat format : {TraceFormat::text, TraceFormat::jsonl}) {
    SimState state;
    state.open_window(0);
    auto module = Module::load(ORV_PROBE_MODULE);
    Host host(*module, state);
    host.add_instance("Probe", 0, 0, 0);
    TraceOptions options;
    options.format = format;
    RecordingOutput out;
    TraceRecorder trace(host, scenario_, options, out);
    trace.start();
    trace.frame();
    host.sound_played(2, 10, 1914);
    trace.frame();
    trace.finish();
    const std::string expected =
        format == TraceFormat::text ? "  sound - - channel 2 resource 10 bytes 1914\n"
                                    : R"({"type":"sound","frame":1,"instance":null,"gauge":null,"channel":2,)"
                                      R"("resource":10,"bytes":1914})"
                                      "\n";
    const auto at = out.text.find(expected);
    ASSERT_NE(at, std::string::npos) << out.text;
    EXPECT_EQ(out.text.find(expected, at + 1), std::string::npos);
    EXPECT_LT(out.text.find(format == TraceFormat::text ? "frame 1 " : R"("frame":1,"t")"), at);
  }
}

}  // namespace
}  // namespace orv::host
