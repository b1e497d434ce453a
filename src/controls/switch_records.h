// The records and callback the two-position switches share: a lever icon
// over the switch background, one click box that flips it, a tooltip, and a
// sound channel for the click.
#pragma once

#include "controls/mouse_records.h"
#include "frame/elements.h"
#include "sound/sound.h"

namespace orv::controls {

// The gauge callback of a switch that clicks: its sound channel is set up at
// service id 2 and released at service id 12.
template <sound::Channel& channel>
void ORV_CALL clicking_switch(GaugeHeader*, i32 service, uptr extra) {
  if (service == kServiceInstall) sound::set_up_channel(channel, extra);
  if (service == kServicePreKill) sound::release_channel(channel);
}

// The records (`elements`, `mouse`) of switch gauge `owner`: the two-image lever read
// from `lever_source` or `lever_fn` over the background, the tooltip record
// `tip`, and the click box calling `flip`. Used inside the gauge's own
// records namespace.
#define ORV_SWITCH_RECORDS(owner, background_bitmap, lever_bitmap, lever_source, lever_fn, tip, flip)   \
  IconElement lever{                                                                                    \
      .h = {.kind = kIcon, .bitmap = (lever_bitmap), .gauge = &(owner), .flags = kDrawOverlay},         \
      .source = (lever_source),                                                                         \
      .callback = (lever_fn),                                                                           \
      .switch_count = 2,                                                                                \
      .scale = 1.0,                                                                                     \
      .image_count = 2};                                                                                \
  ORV_ELEMENT_LIST(background_next, &lever.h);                                                          \
  StaticElement background{.h = {.kind = kStaticImage,                                                  \
                                 .bitmap = (background_bitmap),                                         \
                                 .gauge = &(owner),                                                     \
                                 .next = background_next,                                               \
                                 .flags = kDrawBackground}};                                            \
  ORV_ELEMENT_LIST(elements, &background.h);                                                            \
  MouseRect mouse[] = {                                                                                 \
      whole_gauge_area(), tip,        click_box({3, 2, 40, 20}, kCursorHand, kMouseLeftSingle, (flip)), \
      area_end(),         list_end(),                                                                   \
  }

}  // namespace orv::controls
