// Engine_On: the cockpit's start-up and watch gauge. It draws one plain
// bitmap and has no clickable area; the panel places it only for its gauge
// callback.
//
// When the panel opens (service 14) it brings the cockpit to life: it takes the
// two fuel tank capacities the right display needs, switches the radio master
// and all six radio channels on, selects the start pages of both displays and
// sends a fixed series of simulator events. On every update (service 6) it
// keeps two simulator switches in step with the states that lead them, by
// sending a toggle event whenever a follower disagrees with its leader.
#include <cmath>

#include "cockpit/mode_state.h"
#include "frame/cockpit_numbers.h"
#include "frame/host_services.h"
#include "frame/records.h"
#include "frame/registry.h"

namespace orv::cockpit {
namespace {

// Token variables read here.
constexpr u32 kTankCapacityToken[2] = {292, 298};  // gallons
constexpr u32 kRadioMasterToken = 740;
constexpr u32 kStartUpConditionToken = 881;
constexpr u32 kFollowerAToken = 620;
constexpr u32 kLeaderAToken = 625;
constexpr u32 kFollowerBToken = 632;
constexpr u32 kLeaderBToken = 621;

// Key events sent here.
constexpr u32 kRadioMasterToggle = 66293;
constexpr u32 kAdfStartEvent = 65836;
constexpr u32 kComNavStartEvent = 65832;
constexpr u32 kNav2StartEvent = 65833;
constexpr u32 kStartUpConditionEvent = 66477;
constexpr u32 kFirstLevelEvent = 65919;
constexpr u32 kSecondLevelEvent = 65920;
constexpr u32 kLevelEventValue = 16383;
constexpr u32 kFollowerAToggle = 66376;
constexpr u32 kFollowerBToggle = 66378;

// Leader A switches its follower on at or above this value.
constexpr f64 kLeaderAThreshold = 45.0;

// A positive capacity reading replaces the stored one; zero, negative or
// unreadable readings (and readings too large to convert) keep it.
void take_capacity(f64 gallons, f64& capacity_kg) {
  if (!(gallons > 0.0)) return;
  const f64 kg = gallons * numbers::kPoundsPerGallon * numbers::kKilogramsPerPound;
  if (std::isfinite(kg)) capacity_kg = kg;
}

void start_up() {
  const f64 tank0 = read_token_f64(kTankCapacityToken[0]);
  const f64 tank1 = read_token_f64(kTankCapacityToken[1]);
  take_capacity(tank0, fuel_tank_capacity_kg[0]);
  take_capacity(tank1, fuel_tank_capacity_kg[1]);

  if (read_token_f64(kRadioMasterToken) == 0.0) send_key_event(kRadioMasterToggle, 0);

  adf_on = 1;
  send_key_event(kAdfStartEvent, 0);
  com1_on = 1;
  com2_on = 1;
  nav1_on = 1;
  send_key_event(kComNavStartEvent, 0);
  nav2_on = 1;
  send_key_event(kNav2StartEvent, 0);

  if (read_token_f64(kStartUpConditionToken) > 0.0) send_key_event(kStartUpConditionEvent, 0);

  transponder_on = 1;
  left_mfd_page = kLeftPageMap;
  right_mfd_page = kRightPageNavCircle;

  send_key_event(kFirstLevelEvent, kLevelEventValue);
  send_key_event(kSecondLevelEvent, kLevelEventValue);
}

// Followers and leaders are read again on every update, so a toggle the
// simulator has not yet carried out is simply sent again. A follower (or
// leader B) holding anything but 0 or 1 is left alone.
void watch() {
  const f64 follower_a = read_token_f64(kFollowerAToken);
  const f64 leader_a = read_token_f64(kLeaderAToken);
  const f64 follower_b = read_token_f64(kFollowerBToken);
  const f64 leader_b = read_token_f64(kLeaderBToken);

  if (follower_a == 0.0 && leader_a >= kLeaderAThreshold) {
    send_key_event(kFollowerAToggle, 0);
  } else if (follower_a == 1.0 && leader_a < kLeaderAThreshold) {
    send_key_event(kFollowerAToggle, 0);
  }

  if ((follower_b == 1.0 && leader_b == 0.0) || (follower_b == 0.0 && leader_b == 1.0)) {
    send_key_event(kFollowerBToggle, 0);
  }
}

void ORV_CALL engine_on_callback(GaugeHeader*, i32 service, uptr) {
  if (service == kServicePanelOpen) {
    start_up();
  } else if (service == kServicePreUpdate) {
    watch();
  }
}

}  // namespace
}  // namespace orv::cockpit

namespace orv::gauges::engine_on_records {
using namespace orv::records;
constinit Chain chain{engine_on, static_image({.bitmap = 40})};
}  // namespace orv::gauges::engine_on_records

ORV_DEFINE_GAUGE(engine_on, engine_on_records::chain.first, nullptr, orv::cockpit::engine_on_callback)
