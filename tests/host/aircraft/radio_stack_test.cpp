// The host's radio stack: each key event of the radios page changes the packed
// tokens as a radio does, through SimState::send_key_event.
#include "host/aircraft/radio_stack.h"

#include <gtest/gtest.h>

#include "host/aircraft/simulator.h"

namespace orv::host {
namespace {

TEST(RadioStack, StepsChangeThePackedToken) {
  const struct {
    std::uint32_t event, token, before, after;
  } cases[] = {
      {65637, 617, 0x3695, 0x1895}, {65636, 617, 0x1800, 0x3600},  // COM 1 whole MHz up and down wrap
      {65639, 617, 0x1802, 0x1805}, {65639, 617, 0x1897, 0x1800},  // fraction up from 25, wraps in the MHz
      {66438, 871, 0x2700, 0x2797},                                // COM 2 fraction down wraps
      {65641, 872, 0x1795, 0x0895}, {65642, 872, 0x0800, 0x0895},  // NAV 1
      {65644, 873, 0x0850, 0x1750}, {65647, 873, 0x2000, 0x0805},  // NAV 2; out of band restarts
      {65666, 16, 0x0344, 0x0244},                                 // ADF left digit down
      {65651, 38, 0x7000, 0x0000},  {66458, 38, 0x1200, 0x1207},   // transponder digits wrap
  };
  for (const auto& c : cases) {
    SimState state;
    state.set_integer(c.token, c.before);
    state.send_key_event(c.event, 0);
    ASSERT_NE(state.token(c.token), nullptr);
    EXPECT_EQ(state.token(c.token)->integer, c.after)
        << c.event << " " << std::hex << state.token(c.token)->integer;
    EXPECT_EQ(radio_event_tokens(c.event)[0], c.token);
  }
}

TEST(RadioStack, SwapsExchangeActiveAndStandby) {
  SimState state;
  state.set_integer(617, 0x2450);
  state.set_integer(23, 0x1835);
  state.send_key_event(66372, 0);
  EXPECT_EQ(state.token(617)->integer, 0x1835u);
  EXPECT_EQ(state.token(23)->integer, 0x2450u);
  EXPECT_EQ(radio_event_tokens(66372), (std::array<std::uint32_t, 2>{617, 23}));
}

TEST(RadioStack, AdfCarriesAcrossTheThousandAndWrapsInItsBand) {
  struct AdfCase {
    std::uint32_t event, digits, word, after_digits, after_word;
  };
  const AdfCase cases[] = {
      {66462, 0x0999, 0x0009, 0x0000, 0x0100},  // 999.9 up 0.1: 1000.0
      {66461, 0x0000, 0x0100, 0x0999, 0x0009},  // 1000.0 down 0.1: 999.9
      {65648, 0x0750, 0x0100, 0x0250, 0x0000},  // 1750.0 up 100: 250.0
      {66543, 0x0200, 0x0000, 0x0799, 0x0100},  // 200.0 down 1: 1799.0
  };
  for (const auto& c : cases) {
    SimState state;
    state.set_integer(16, c.digits);
    state.set_integer(18, c.word);
    state.send_key_event(c.event, 0);
    EXPECT_EQ(state.token(16)->integer, c.after_digits) << c.event;
    EXPECT_EQ(state.token(18)->integer, c.after_word) << c.event;
  }
}

TEST(RadioStack, AudioSelectionsToggle) {
  SimState state;
  for (std::uint32_t event : {65842u, 65843u, 65846u, 66477u}) {
    const std::uint32_t token = radio_event_tokens(event)[0];
    state.send_key_event(event, 0);
    EXPECT_EQ(state.number(token), 1.0) << event;
    state.send_key_event(event, 0);
    EXPECT_EQ(state.number(token), 0.0) << event;
  }
  EXPECT_EQ(radio_event_tokens(65716), (std::array<std::uint32_t, 2>{0, 0}));
}

TEST(RadioStack, ComFractionsKeepTheir25kHzStep) {
  EXPECT_EQ(packed_to_khz(0x1802, true), 118025u);
  EXPECT_EQ(packed_to_khz(0x1802, false), 118020u);
  EXPECT_EQ(khz_to_packed(118975), 0x1897u);
}

}  // namespace
}  // namespace orv::host
