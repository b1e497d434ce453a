// The host's recording audio output against the real module: the sounds its
// clicks play reach the host as events of the calling instance, with the
// channel, resource and byte count, in-process and through the tool's trace.
#include "host/record/sound_recorder.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "host/panel/host.h"
#include "host/panel/panel_config.h"
#include "support/tool_run.h"

namespace orv::host {
namespace {

constexpr const char* kPanel =
    "[Window00]\n"
    "gauge00=Orvane_Instr!NAV_GPS_Switch, 0,0,46,24\n"
    "gauge01=Orvane_Instr!ILS_TAC_Switch, 0,30,46,24\n"
    "gauge02=Orvane_Instr!Radios_Toggle, 0,60,19,19\n";

// The module's click clip (WAVE 10) and its sample bytes, read through the
// module's own resource accessor, where the click's data chunk follows the
// canonical 44-byte header.
std::vector<unsigned char> click_samples() {
  auto module = Module::load(ORV_REAL_MODULE);
  using ResourceFn = const unsigned char* (*)(const char*, unsigned, unsigned*);
  auto fn =
      reinterpret_cast<ResourceFn>(dlsym(reinterpret_cast<void*>(module->handle()), "orv_module_resource"));
  unsigned size = 0;
  const unsigned char* image = fn != nullptr ? fn("WAVE", 10, &size) : nullptr;
  if (image == nullptr || size <= 44 || std::memcmp(image + 36, "data", 4) != 0) return {};
  return {image + 44, image + size};
}

struct Click {
  std::size_t instance;
  int x, y;
  MouseButton button;
};

// Runs the clicks, one a frame, and returns the sounds the host logged.
std::vector<SoundPlay> sounds_of(const std::vector<Click>& clicks) {
  auto module = Module::load(ORV_REAL_MODULE);
  EXPECT_TRUE(record_sounds(*module));
  SimState state;
  Host host(*module, state);
  std::vector<std::string> warnings;
  host.place(parse_panel_config(kPanel, "panel.cfg"), warnings);
  EXPECT_TRUE(warnings.empty());
  host.start();
  std::vector<SoundPlay> sounds;
  for (const Click& c : clicks) {
    host.begin_frame();
    host.click(c.instance, c.x, c.y, c.button);
    host.update();
    sounds.insert(sounds.end(), host.sounds().begin(), host.sounds().end());
    host.clear_sounds();
  }
  host.stop();
  return sounds;
}

TEST(SoundRecorder, ClicksThatPlayAreLoggedWithInstanceChannelResourceAndBytes) {
  const std::vector<unsigned char> clip = click_samples();
  ASSERT_FALSE(clip.empty());
  const auto bytes = static_cast<std::uint32_t>(clip.size());
  struct Case {
    const char* name;
    std::vector<Click> clicks;
    std::vector<SoundPlay> expected;  // frame, instance, channel, resource, bytes
  };
  const Case cases[] = {
      // Channels are numbered in the order of each buffer's first play; a
      // buffer keeps its channel; a window toggle plays nothing.
      {"switches",
       {{0, 20, 12, MouseButton::left},
        {2, 9, 9, MouseButton::left},
        {1, 20, 12, MouseButton::left},
        {0, 20, 12, MouseButton::left}},
       {{0, 0, 0, 10, bytes}, {2, 1, 1, 10, bytes}, {3, 0, 0, 10, bytes}}},
      // A new recording starts over: the first buffer to play is channel 0.
      {"other order", {{1, 20, 12, MouseButton::left}}, {{0, 1, 0, 10, bytes}}},
      // A click beside the switch's box plays nothing.
      {"missed", {{0, 45, 23, MouseButton::right}}, {}},
  };
  for (const Case& c : cases) {
    const std::vector<SoundPlay> got = sounds_of(c.clicks);
    ASSERT_EQ(got.size(), c.expected.size()) << c.name;
    for (std::size_t i = 0; i < got.size(); ++i) {
      const SoundPlay& g = got[i];
      const SoundPlay& e = c.expected[i];
      EXPECT_EQ(std::tuple(g.frame, g.instance, g.channel, g.resource, g.bytes),
                std::tuple(e.frame, e.instance, e.channel, e.resource, e.bytes))
          << c.name << " " << i;
    }
  }
}

TEST(SoundRecorder, ResourcesAreFoundByTheirSampleDataOnly) {
  auto module = Module::load(ORV_REAL_MODULE);
  std::vector<unsigned char> clip = click_samples();
  ASSERT_FALSE(clip.empty());
  EXPECT_EQ(module->wave_resource_with_samples(clip.data(), clip.size()), 10);
  EXPECT_EQ(module->wave_resource_with_samples(clip.data(), clip.size() - 1), -1);
  EXPECT_EQ(module->wave_resource_with_samples(nullptr, clip.size()), -1);
  clip[clip.size() / 2] ^= 0x55;
  EXPECT_EQ(module->wave_resource_with_samples(clip.data(), clip.size()), -1);
}

// The tool records the sounds: each is an event of the frame of the click
// that played it, after the click (the line formats are the trace's own).
TEST(SoundRecorder, TheToolsTraceListsEverySound) {
  const std::string args = std::string("trace --module ") + ORV_REAL_MODULE +
                           " --frames 20 --click NAV_GPS_Switch:20,12@0.5 --click Radios_Toggle:9,9@0.5"
                           " --click ILS_TAC_Switch:20,12@1 --click NAV_GPS_Switch:20,12@1";
  const test::ToolRun text = test::run_tool_command(ORV_PANEL_TOOL, args, ORV_TEST_DIR "/sound_trace_text");
  ASSERT_EQ(text.code, 0) << text.err;
  std::vector<std::string> lines;
  std::istringstream in(text.out);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("frame ") || line.starts_with("  sound ")) lines.push_back(line);
  }
  const std::string bytes = std::to_string(click_samples().size());
  auto at = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  };
  const auto frame9 = at("frame 9 t=0.5"), frame18 = at("frame 18 t=1");
  ASSERT_LT(frame18, static_cast<long>(lines.size()));
  EXPECT_EQ(at("  sound 25 NAV_GPS_Switch channel 0 resource 10 bytes " + bytes), frame9 + 1) << text.out;
  EXPECT_EQ(at("  sound 26 ILS_TAC_Switch channel 1 resource 10 bytes " + bytes), frame18 + 1) << text.out;
  EXPECT_EQ(lines.at(static_cast<std::size_t>(frame18) + 2),
            "  sound 25 NAV_GPS_Switch channel 0 resource 10 bytes " + bytes);
  EXPECT_EQ(lines.size(), 20u + 3u);
}

}  // namespace
}  // namespace orv::host
