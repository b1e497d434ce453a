// What each element kind means to the host, in one place: its name, its value
// channels (the token variable and callback of each, in channel order) and
// their names. The trace, `info` and the test support read elements through
// this table; evaluation writes the same channel order out per kind, for
// speed (tests/host/element_kind_test.cpp holds the two together).
//
// Channel order by kind: needle {value}; text {value} (then its second and
// third sources);
// slider {x, y}; icon {image index}; moving image {x, y}; sprite {x, y,
// angle}; static image none.
#pragma once

#include <array>
#include <cstddef>

#include "frame/gauge_abi.h"

namespace orv::host {

struct ElementKindInfo {
  abi::u32 kind;
  const char* name;  // as the trace and `info` print it
  // The channel values that describe the element (a text's second and third
  // sources only feed its text), and their names.
  std::size_t channels;
  const char* channel_names[3];
};

// The description of `kind`, or null for a kind the host does not know.
const ElementKindInfo* element_kind(abi::u32 kind);
// The name of `kind`, "unknown" for one the host does not know.
const char* element_kind_name(abi::u32 kind);

// One value channel of an element record: the token variable the host fills
// and the callback that turns it into the channel's value (either may be
// unused: id 0, null callback).
struct ElementChannel {
  abi::TokenVar* source = nullptr;
  abi::ElementFn callback = nullptr;
};

// The channels of an element record in channel order (a text element gives
// its three sources; only the first has the text callback's meaning).
struct ElementChannels {
  std::array<ElementChannel, 3> channel{};
  std::size_t count = 0;
  ElementChannel* begin() { return channel.data(); }
  ElementChannel* end() { return channel.data() + count; }
};
// Inline: the host asks for every element of every frame.
inline ElementChannels element_channels(abi::ElementHeader* e) {
  ElementChannels out;
  auto add = [&](abi::TokenVar& source, abi::ElementFn callback) {
    out.channel[out.count++] = {&source, callback};
  };
  switch (e->kind) {
    case abi::kNeedle: {
      auto* n = reinterpret_cast<abi::NeedleElement*>(e);
      add(n->source, n->callback);
      break;
    }
    case abi::kText: {
      auto* t = reinterpret_cast<abi::TextElement*>(e);
      for (int i = 0; i < 3; ++i) add(t->source[i], t->callback[i]);
      break;
    }
    case abi::kSlider: {
      auto* s = reinterpret_cast<abi::SliderElement*>(e);
      add(s->x, s->x_callback);
      add(s->y, s->y_callback);
      break;
    }
    case abi::kIcon: {
      auto* c = reinterpret_cast<abi::IconElement*>(e);
      add(c->source, c->callback);
      break;
    }
    case abi::kMovingImage: {
      auto* m = reinterpret_cast<abi::MovingImageElement*>(e);
      add(m->x, m->x_callback);
      add(m->y, m->y_callback);
      break;
    }
    case abi::kSprite: {
      auto* s = reinterpret_cast<abi::SpriteElement*>(e);
      add(s->x, s->x_callback);
      add(s->y, s->y_callback);
      add(s->angle, s->angle_callback);
      break;
    }
    default:
      break;
  }
  return out;
}

// Evaluates an element as the host does every update: every channel's
// variable is filled first (a text callback formats from all three, a clock
// from hours, minutes and seconds), then each channel's callback runs in
// channel order. `fill(TokenVar&)` delivers a variable; `fallback(const
// TokenVar&)` gives a channel's value when it has no callback. Writes one
// value per channel record into `out` (up to three).
template <typename Fill, typename Fallback>
void evaluate_element(abi::ElementHeader* element, double* out, Fill&& fill, Fallback&& fallback) {
  // Written out per kind (the order of element_channels) rather than through
  // an ElementChannels table: the host runs this for every element of every
  // frame.
  auto fill_if = [&](abi::TokenVar& v) {
    if (v.id != 0) fill(v);
  };
  auto value = [&](abi::TokenVar& source, abi::ElementFn callback) -> double {
    return callback != nullptr ? callback(element) : fallback(source);
  };
  // Needles and icons have one channel, sliders and moving images two (x, y).
  auto one_channel = [&](auto* e) {
    fill_if(e->source);
    out[0] = value(e->source, e->callback);
  };
  auto two_channels = [&](auto* e) {
    fill_if(e->x);
    fill_if(e->y);
    out[0] = value(e->x, e->x_callback);
    out[1] = value(e->y, e->y_callback);
  };
  switch (element->kind) {
    case abi::kNeedle:
      one_channel(reinterpret_cast<abi::NeedleElement*>(element));
      break;
    case abi::kText: {
      auto* t = reinterpret_cast<abi::TextElement*>(element);
      for (abi::TokenVar& v : t->source) fill_if(v);
      for (int i = 0; i < 3; ++i) out[i] = value(t->source[i], t->callback[i]);
      break;
    }
    case abi::kSlider:
      two_channels(reinterpret_cast<abi::SliderElement*>(element));
      break;
    case abi::kIcon:
      one_channel(reinterpret_cast<abi::IconElement*>(element));
      break;
    case abi::kMovingImage:
      two_channels(reinterpret_cast<abi::MovingImageElement*>(element));
      break;
    case abi::kSprite: {
      auto* s = reinterpret_cast<abi::SpriteElement*>(element);
      fill_if(s->x);
      fill_if(s->y);
      fill_if(s->angle);
      out[0] = value(s->x, s->x_callback);
      out[1] = value(s->y, s->y_callback);
      out[2] = value(s->angle, s->angle_callback);
      break;
    }
    default:
      break;
  }
}

}  // namespace orv::host
