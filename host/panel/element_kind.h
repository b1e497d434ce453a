// The host's reading of element records, from the one description of each
// kind in frame/gauge_abi.h (kElementKinds: name, record size, channels).
// Evaluation, the trace, the renderer, `info`, the test support and the
// benchmarks all walk an element's channels through these.
#pragma once

#include <array>
#include <cstddef>
#include <utility>

#include "frame/gauge_abi.h"

namespace orv::host {

// The description of `kind`, or null for a kind the host does not know.
inline const abi::ElementKindLayout* element_kind(abi::u32 kind) { return abi::element_layout(kind); }
// The name of `kind`, "unknown" for one the host does not know.
inline const char* element_kind_name(abi::u32 kind) {
  const abi::ElementKindLayout* k = element_kind(kind);
  return k != nullptr ? k->name : "unknown";
}

// The token variable of channel `c` of `layout` in the record `e`.
inline abi::TokenVar& channel_source(abi::ElementHeader* e, const abi::ChannelLayout& c) {
  return *reinterpret_cast<abi::TokenVar*>(reinterpret_cast<char*>(e) + c.source);
}
// The callback of channel `c` (null: the channel's value is its variable's).
inline abi::ElementFn channel_callback(const abi::ElementHeader* e, const abi::ChannelLayout& c) {
  abi::ElementFn fn;
  __builtin_memcpy(&fn, reinterpret_cast<const char*>(e) + c.callback, sizeof fn);
  return fn;
}

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
inline ElementChannels element_channels(abi::ElementHeader* e) {
  ElementChannels out;
  if (const abi::ElementKindLayout* k = element_kind(e->kind)) {
    for (abi::u32 i = 0; i < k->channels; ++i)
      out.channel[out.count++] = {&channel_source(e, k->channel[i]), channel_callback(e, k->channel[i])};
  }
  return out;
}

namespace detail {
// Evaluation of one kind, its layout known at compile time so that the
// channel loops unroll: the host runs this for every element of every frame.
template <abi::u32 Kind, typename Fill, typename Fallback>
void evaluate_kind(abi::ElementHeader* element, double* out, Fill& fill, Fallback& fallback) {
  constexpr const abi::ElementKindLayout& k = abi::kElementKinds[Kind];
  for (abi::u32 i = 0; i < k.channels; ++i) {
    abi::TokenVar& v = channel_source(element, k.channel[i]);
    if (v.id != 0) fill(v);
  }
  for (abi::u32 i = 0; i < k.channels; ++i) {
    const abi::ElementFn callback = channel_callback(element, k.channel[i]);
    out[i] = callback != nullptr ? callback(element) : fallback(channel_source(element, k.channel[i]));
  }
}
// The evaluation of the one entry of the kinds' table whose kind the
// element has (none: a kind without a record has no channels).
template <typename Fill, typename Fallback, abi::u32... Kind>
void evaluate_any_kind(abi::ElementHeader* element, double* out, Fill& fill, Fallback& fallback,
                       std::integer_sequence<abi::u32, Kind...>) {
  (void)((element->kind == Kind && (evaluate_kind<Kind>(element, out, fill, fallback), true)) || ...);
}
}  // namespace detail

// Evaluates an element as the host does every update: every channel's
// variable is filled first, then each channel's callback runs in channel
// order. `fill(TokenVar&)` delivers a variable; `fallback(const TokenVar&)`
// gives a channel's value when it has no callback. Writes one value per
// evaluated channel into `out` (up to three).
template <typename Fill, typename Fallback>
void evaluate_element(abi::ElementHeader* element, double* out, Fill&& fill, Fallback&& fallback) {
  detail::evaluate_any_kind(element, out, fill, fallback,
                            std::make_integer_sequence<abi::u32, abi::kElementKindCount>{});
}

}  // namespace orv::host
