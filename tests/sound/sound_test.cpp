#include "sound/sound.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/resource_source.h"
#include "sound/click_wave.h"
#include "sound/platform_sound.h"

namespace {

using namespace orv;
using orv::sound::Channel;
namespace channels = orv::sound::channels;

const std::vector<std::uint8_t>& click_image() {
  static const std::vector<std::uint8_t> image = test::click_wave_image();
  return image;
}

const unsigned char* click_resource(const char* type, unsigned id, unsigned* size) {
  if (std::string(type) != "WAVE" || id != sound::kClickResource) return nullptr;
  *size = static_cast<unsigned>(click_image().size());
  return click_image().data();
}

// Each test starts with sound usable, the test's own click as the module's
// resource, and the dummy audio driver; it ends with every channel empty.
class Sound : public ::testing::Test {
 protected:
  void SetUp() override {
    sound::sound_usable = 1;
    platform::set_resource_source(click_resource);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  void TearDown() override {
    sound::sound_usable = 1;
    for (Channel* c :
         {&channels::flight_map, &channels::ils_tac_switch, &channels::multi_function_display_left,
          &channels::multi_function_display_right, &channels::nav_gps_switch, &channels::radar})
      sound::release_channel(*c);
    platform::set_resource_source(nullptr);
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }
};

TEST(HostKind, ClassifiesTheHostByItsBaseName) {
  EXPECT_EQ(sound::host_kind_of("fs2004"), 3);  // any letter case
  EXPECT_EQ(sound::host_kind_of("CFS2"), 4);
  EXPECT_STREQ(sound::host_window_class(sound::host_kind_of("CFS3")), "MSCFSMAIN");
  EXPECT_STREQ(sound::host_window_class(sound::host_kind_of(nullptr)), "FS98MAIN");
  EXPECT_EQ(sound::host_kind(), 1);  // this executable: "module_tests"
  EXPECT_EQ(sound::find_host_window(), nullptr);
}

// Instances of one gauge share its channel: the first set-up fills it (and
// opens no output), the first click opens the output, the last release
// empties the channel and closes the output.
TEST_F(Sound, InstancesShareTheChannelAndTheOutputLivesFromTheFirstClickToTheLastRelease) {
  for (int instances : {1, 3}) {
    SCOPED_TRACE(instances);
    Channel& channel = channels::nav_gps_switch;
    for (int n = 0; n < instances; ++n) sound::set_up_channel(channel, 0x1234);
    EXPECT_EQ(channel.module, 0x1234u);
    void* const device = channel.device;
    void* const buffer = channel.buffer;
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(sound::platform::output_device_id(), 0u);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    for (int n = instances; n > 1; --n) {
      sound::release_channel(channel);
      EXPECT_EQ(channel.device, device);
      EXPECT_EQ(channel.buffer, buffer);
    }
    EXPECT_EQ(sound::play_sound(&channel.buffer, 0), 1);
    EXPECT_NE(sound::platform::output_device_id(), 0u);
    sound::release_channel(channel);
    EXPECT_EQ(channel.device, nullptr);
    EXPECT_EQ(channel.buffer, nullptr);
    EXPECT_EQ(sound::platform::output_device_id(), 0u);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  }
  EXPECT_EQ(sound::sound_usable, 1);
}

// The samples that reach the output are the click's, in its own format.
TEST_F(Sound, TheClicksSamplesReachTheOutput) {
  const std::string file = ::testing::TempDir() + "orv_click_output.raw";
  std::remove(file.c_str());
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  Channel& channel = channels::ils_tac_switch;
  sound::set_up_channel(channel, 0);
  sound::play_click(channel);
  // The device writes in real time; wait until it has taken the whole clip.
  const SDL_AudioDeviceID id = sound::platform::output_device_id();
  ASSERT_NE(id, 0u);
  for (int i = 0; i < 500 && SDL_GetQueuedAudioSize(id) > 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  sound::release_channel(channel);

  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> output((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
  const std::vector<std::uint8_t> click = test::click_samples();
  EXPECT_NE(std::search(output.begin(), output.end(), click.begin(), click.end()), output.end());
  std::remove(file.c_str());
}

// One failure anywhere silences every gauge: a buffer whose output went away
// (the other buffers stay), an output that cannot be opened (at the first
// click), a click resource missing or cut short. Device creation still works afterwards; the other
// operations leave their handles alone.
TEST_F(Sound, AnyFailureSilencesEveryGauge) {
  Channel& a = channels::radar;
  Channel& b = channels::flight_map;
  sound::set_up_channel(a, 0);
  sound::set_up_channel(b, 0);
  sound::release_sound_device(&a.device);  // the output behind both buffers goes away
  sound::release_sound_device(&b.device);
  EXPECT_EQ(sound::play_sound(&a.buffer, 0), 0);
  EXPECT_EQ(a.buffer, nullptr);
  EXPECT_EQ(sound::sound_usable, 0);
  EXPECT_EQ(sound::play_sound(&b.buffer, 0), 0);
  EXPECT_NE(b.buffer, nullptr);
  sound::sound_usable = 1;
  sound::release_sound_buffer(&b.buffer);

  setenv("SDL_AUDIODRIVER", "no_such_audio_driver", 1);
  Channel& first = channels::ils_tac_switch;
  sound::set_up_channel(first, 0);
  ASSERT_NE(first.buffer, nullptr);
  EXPECT_EQ(sound::play_sound(&first.buffer, 0), 0);
  EXPECT_EQ(sound::sound_usable, 0);
  EXPECT_EQ(first.buffer, nullptr);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  Channel& next = channels::nav_gps_switch;
  sound::set_up_channel(next, 0);
  EXPECT_NE(next.device, nullptr);
  EXPECT_EQ(next.buffer, nullptr);
  void* untouched = reinterpret_cast<void*>(0x1);  // would crash if used
  EXPECT_EQ(sound::load_wave_resource(nullptr, next.device, &untouched, sound::kClickResource, 0), 0u);
  EXPECT_EQ(sound::play_sound(&untouched, 0), 0);
  sound::release_sound_buffer(&untouched);
  EXPECT_EQ(untouched, reinterpret_cast<void*>(0x1));
  sound::release_channel(next);  // silenced: keeps the device
  EXPECT_NE(next.device, nullptr);

  using Source = const unsigned char* (*)(const char*, unsigned, unsigned*);
  const Source missing = [](const char*, unsigned, unsigned*) -> const unsigned char* { return nullptr; };
  const Source truncated = [](const char*, unsigned, unsigned* size) {
    *size = 40;  // the header without its data chunk
    return click_image().data();
  };
  for (auto [source, bytes] :
       {std::pair{missing, 0u}, {truncated, 0u}, {Source{click_resource}, test::kClickBytes}}) {
    sound::sound_usable = 1;
    platform::set_resource_source(source);
    void* device = nullptr;
    void* buffer = reinterpret_cast<void*>(0x1);
    ASSERT_EQ(sound::create_sound_device(nullptr, &device), 1);
    EXPECT_EQ(sound::load_wave_resource(nullptr, device, &buffer, sound::kClickResource, 0), bytes);
    EXPECT_EQ(buffer != nullptr, bytes != 0);
    EXPECT_EQ(sound::sound_usable, bytes != 0 ? 1 : 0);
    sound::sound_usable = 1;
    sound::release_sound_buffer(&buffer);
    sound::release_sound_device(&device);
  }
}

}  // namespace
