// What the two-position switches share: the lever's click box over the
// switch background, and the gauge callback that sets up their click sound.
#pragma once

#include "frame/gauge_abi.h"
#include "sound/sound.h"

namespace orv::controls {

// The lever's click box, which flips the switch on a left click.
inline constexpr abi::PixBox kSwitchBox = {3, 2, 40, 20};

// The gauge callback of a switch that clicks: its sound channel is set up at
// service id 2 and released at service id 12.
template <sound::Channel& channel>
void ORV_CALL clicking_switch(abi::GaugeHeader*, abi::i32 service, abi::uptr extra) {
  if (service == abi::kServiceInstall) sound::set_up_channel(channel, extra);
  if (service == abi::kServicePreKill) sound::release_channel(channel);
}

}  // namespace orv::controls
