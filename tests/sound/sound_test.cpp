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
#include <vector>

#include "platform/resource_source.h"
#include "sound/click_wave.h"
#include "sound/platform_sound.h"

namespace {

using namespace orv;
using orv::sound::Channel;

const std::vector<std::uint8_t>& click_image() {
  static const std::vector<std::uint8_t> image = test::click_wave_image();
  return image;
}

const unsigned char* click_resource(const char* type, unsigned id, unsigned* size) {
  if (std::string(type) != "WAVE" || id != sound::kClickResource) return nullptr;
  *size = static_cast<unsigned>(click_image().size());
  return click_image().data();
}

const unsigned char* no_resource(const char*, unsigned, unsigned*) { return nullptr; }

const unsigned char* truncated_resource(const char*, unsigned, unsigned* size) {
  *size = 40;  // the header without its data chunk
  return click_image().data();
}

Channel* const kAllChannels[] = {
    &sound::channels::flight_map,
    &sound::channels::ils_tac_switch,
    &sound::channels::multi_function_display_left,
    &sound::channels::multi_function_display_right,
    &sound::channels::nav_gps_switch,
    &sound::channels::radar,
};

// Each test starts with sound usable, the test's own click as the module's
// resource, and the audio driver it names; it ends with every channel empty.
class Sound : public ::testing::Test {
 protected:
  void use_driver(const char* driver) { setenv("SDL_AUDIODRIVER", driver, 1); }
  void SetUp() override {
    sound::sound_usable = 1;
    platform::set_resource_source(click_resource);
    use_driver("dummy");
  }
  void TearDown() override {
    sound::sound_usable = 1;
    for (Channel* c : kAllChannels) sound::release_channel(*c);
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

TEST_F(Sound, SetUpLoadsTheClickAndEveryGaugesChannelPlays) {
  void* device = nullptr;
  void* buffer = nullptr;
  ASSERT_EQ(sound::create_sound_device(nullptr, &device), 1);
  EXPECT_EQ(sound::load_wave_resource(nullptr, device, &buffer, sound::kClickResource, 0), test::kClickBytes);
  EXPECT_EQ(sound::play_sound(&buffer, 0), 1);
  EXPECT_EQ(sound::play_sound(&buffer, 0), 1);
  sound::release_sound_buffer(&buffer);
  sound::release_sound_device(&device);
  EXPECT_EQ(buffer, nullptr);
  EXPECT_EQ(device, nullptr);
  for (Channel* c : kAllChannels) {
    sound::set_up_channel(*c, 0x1234);
    EXPECT_EQ(c->module, 0x1234u);
    ASSERT_NE(c->buffer, nullptr);
    EXPECT_EQ(sound::play_sound(&c->buffer, 0), 1);
  }
  EXPECT_EQ(sound::sound_usable, 1);
  for (Channel* c : kAllChannels) {
    sound::release_channel(*c);
    EXPECT_EQ(c->device, nullptr);
    EXPECT_EQ(c->buffer, nullptr);
  }
}

// Instances of one gauge share its channel: the first set-up fills it, the
// last release empties it and closes the output.
TEST_F(Sound, InstancesOfOneGaugeShareItsChannelUntilTheLastRelease) {
  for (int instances : {1, 2, 3}) {
    SCOPED_TRACE(instances);
    Channel& channel = sound::channels::nav_gps_switch;
    for (int n = 0; n < instances; ++n) sound::set_up_channel(channel, 0);
    void* const device = channel.device;
    void* const buffer = channel.buffer;
    ASSERT_NE(buffer, nullptr);
    for (int n = instances; n > 1; --n) {
      sound::release_channel(channel);
      EXPECT_EQ(channel.device, device);
      EXPECT_EQ(channel.buffer, buffer);
      EXPECT_EQ(sound::play_sound(&channel.buffer, 0), 1);
    }
    sound::release_channel(channel);
    EXPECT_EQ(channel.device, nullptr);
    EXPECT_EQ(channel.buffer, nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  }
}

TEST_F(Sound, TheClicksSamplesReachTheOutput) {
  const std::string file = ::testing::TempDir() + "orv_click_output.raw";
  std::remove(file.c_str());
  use_driver("disk");
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  Channel& channel = sound::channels::ils_tac_switch;
  sound::set_up_channel(channel, 0);
  ASSERT_NE(channel.buffer, nullptr);
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
  ASSERT_GE(output.size(), click.size());
  EXPECT_NE(std::search(output.begin(), output.end(), click.begin(), click.end()), output.end());
  std::remove(file.c_str());
}

// Setting a channel up opens nothing: the output opens at the first click.
TEST_F(Sound, TheOutputOpensAtTheFirstClickNotAtSetUp) {
  Channel& channel = sound::channels::radar;
  sound::set_up_channel(channel, 0);
  ASSERT_NE(channel.buffer, nullptr);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  EXPECT_EQ(sound::platform::output_device_id(), 0u);
  sound::play_click(channel);
  EXPECT_NE(sound::platform::output_device_id(), 0u);
  EXPECT_EQ(sound::sound_usable, 1);
  sound::release_channel(channel);
  EXPECT_EQ(sound::platform::output_device_id(), 0u);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}

// An output that cannot be opened fails the first click, which silences
// every gauge as a failed device does.
TEST_F(Sound, AFailedOutputSilencesEveryGaugeButLaterDevicesAreStillMade) {
  use_driver("no_such_audio_driver");
  Channel& first = sound::channels::ils_tac_switch;
  sound::set_up_channel(first, 0);
  ASSERT_NE(first.buffer, nullptr);
  EXPECT_EQ(sound::play_sound(&first.buffer, 0), 0);
  EXPECT_EQ(sound::sound_usable, 0);
  EXPECT_EQ(first.buffer, nullptr);

  // Creation ignores the latch; loading and playing do nothing.
  use_driver("dummy");
  Channel& next = sound::channels::nav_gps_switch;
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
  EXPECT_EQ(sound::sound_usable, 0);
}

TEST_F(Sound, AMissingOrMalformedClickSilencesEveryGauge) {
  for (auto source : {no_resource, truncated_resource}) {
    sound::sound_usable = 1;
    platform::set_resource_source(source);
    void* device = nullptr;
    void* buffer = reinterpret_cast<void*>(0x1);
    ASSERT_EQ(sound::create_sound_device(nullptr, &device), 1);
    EXPECT_EQ(sound::load_wave_resource(nullptr, device, &buffer, sound::kClickResource, 0), 0u);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(sound::sound_usable, 0);
    sound::sound_usable = 1;
    sound::release_sound_device(&device);
  }
}

TEST_F(Sound, AFailedPlayClearsThatBufferAndSilencesTheOthers) {
  Channel& first = sound::channels::ils_tac_switch;
  Channel& second = sound::channels::nav_gps_switch;
  sound::set_up_channel(first, 0);
  sound::set_up_channel(second, 0);
  ASSERT_NE(first.buffer, nullptr);
  // The output behind both buffers goes away.
  sound::release_sound_device(&first.device);
  sound::release_sound_device(&second.device);
  EXPECT_EQ(sound::play_sound(&first.buffer, 0), 0);
  EXPECT_EQ(first.buffer, nullptr);
  EXPECT_EQ(sound::sound_usable, 0);
  EXPECT_NE(second.buffer, nullptr);
  EXPECT_EQ(sound::play_sound(&second.buffer, 0), 0);
  EXPECT_NE(second.buffer, nullptr);
}

}  // namespace
