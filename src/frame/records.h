// The one way a gauge describes itself to the host: its elements as one chain
// in drawing order, and its mouse areas as one list in record order.
//
// Every gauge of this module is a single chain: the gauge header's first-level
// list holds the first element, and each element's following list holds the
// next one. A gauge file writes the chain once, as a table, and the chain
// derives everything else (each element's following list, its owning gauge):
//
//   namespace orv::gauges::attitude_records {
//   using namespace orv::records;
//   constinit Chain chain{attitude,                    // the gauge header
//       static_image({.bitmap = 4000}),                 // the background
//       icon({.bitmap = 4010, .callback = calls<ball_icon>}),
//       text({.at = {10, 20}, .box = {40, 9}, .chars = 4, .callback = calls<speed_text>,
//             .font = "Arial Narrow", .colour = 0x00FFFFFF}),
//   };
//   MouseRect mouse[] = {whole_gauge_area(), tooltip("Attitude"), area_end(), list_end()};
//   }
//   ORV_DEFINE_GAUGE(attitude, attitude_records::chain.first, attitude_records::mouse, nullptr)
//
// Every record lives in writable memory (`constinit`, never `const`): the host
// writes into elements, mouse rectangles, tooltip argument tables and needle
// tables, as the simulator does. Each element callback is bound with
// `calls<routine>` (frame/elements.h), which refuses a routine written for
// another kind of element. Nothing numbers the elements: tests reach them
// the host's way, from the gauge header, and find them by their callbacks.
#pragma once

#include <array>
#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "frame/elements.h"
#include "frame/gauge_abi.h"

namespace orv::records {

using abi::ElementHeader;
using abi::FailureEntry;
using abi::GaugeHeader;
using abi::i32;
using abi::IconElement;
using abi::MouseArg;
using abi::MouseFn;
using abi::MouseRect;
using abi::MovingImageElement;
using abi::NeedleElement;
using abi::NeedlePoint;
using abi::PixBox;
using abi::PixPoint;
using abi::SelectionRecord;
using abi::SliderElement;
using abi::SpriteElement;
using abi::StaticElement;
using abi::TextElement;
using abi::TooltipNumberFn;
using abi::TooltipTextFn;
using abi::u16;
using abi::u32;
using abi::u8;
using orv::calls;
using orv::ElementCallback;

// --- The chain ----------------------------------------------------------------

// A gauge's elements, drawn in the order given (later over earlier). Construct
// it as a `constinit` variable: the constructor links the records inside the
// object itself.
template <typename... E>
struct Chain {
  static constexpr std::size_t kLength = sizeof...(E);
  static_assert(kLength > 0, "a gauge chain holds at least one element");

  std::tuple<E...> elements;
  ElementHeader* links[kLength][2];  // each element's following list
  ElementHeader* first[2];           // the gauge header's first-level list

  constexpr explicit Chain(GaugeHeader& gauge, E... records) : elements{records...}, links{}, first{} {
    link(gauge, std::index_sequence_for<E...>{});
  }

 private:
  template <std::size_t... I>
  constexpr void link(GaugeHeader& gauge, std::index_sequence<I...>) {
    ElementHeader* headers[kLength] = {&std::get<I>(elements).h...};
    for (std::size_t i = 0; i < kLength; ++i) {
      headers[i]->gauge = &gauge;
      links[i][0] = (i + 1 < kLength) ? headers[i + 1] : nullptr;
      links[i][1] = nullptr;
      headers[i]->next = (i + 1 < kLength) ? links[i] : nullptr;
    }
    first[0] = headers[0];
    first[1] = nullptr;
  }
};

template <typename... E>
Chain(GaugeHeader&, E...) -> Chain<E...>;

// A chain from parts in drawing order, where a part is one element record or
// a std::array of records drawn one after another (a symbol's copies):
//
//   constinit auto chain = chain_of(hud, static_image({.bitmap = 1000}), text_copies(...));
//
// The chain is built in place in the variable (the result is never copied),
// so its links point into the variable itself.
namespace detail {

template <typename E>
constexpr std::tuple<E> chain_part(const E& element) {
  return std::tuple<E>{element};
}

template <std::size_t, typename T>
using same_type = T;

template <typename E, std::size_t N, std::size_t... I>
constexpr auto chain_part(const std::array<E, N>& copies, std::index_sequence<I...>) {
  return std::tuple<same_type<I, E>...>{copies[I]...};
}

template <typename E, std::size_t N>
constexpr auto chain_part(const std::array<E, N>& copies) {
  return chain_part(copies, std::make_index_sequence<N>{});
}

template <typename Parts, std::size_t... I>
constexpr auto chain_from(GaugeHeader& gauge, const Parts& parts, std::index_sequence<I...>) {
  return Chain<std::tuple_element_t<I, Parts>...>(gauge, std::get<I>(parts)...);
}

}  // namespace detail

template <typename... Parts>
constexpr auto chain_of(GaugeHeader& gauge, const Parts&... parts) {
  const auto flat = std::tuple_cat(detail::chain_part(parts)...);
  using Flat = std::remove_cvref_t<decltype(flat)>;
  return detail::chain_from(gauge, flat, std::make_index_sequence<std::tuple_size_v<Flat>>{});
}

// --- Element constructors ----------------------------------------------------------
//
// Each takes one designated-initializer record; fields left out take the
// defaults below. `token` is the value channel's token variable (0: the module
// supplies the value itself).

struct StaticSpec {
  u32 bitmap;
  PixPoint at{0, 0};
  u32 flags = kDrawBackground;
  const FailureEntry* failures = nullptr;
};

constexpr ElementHeader element_header(u32 kind, u32 bitmap, PixPoint at, u32 flags,
                                       const FailureEntry* failures, PixPoint offset = {0, 0}) {
  return ElementHeader{.kind = kind,
                       .bitmap = bitmap,
                       .position = at,
                       .previous_position = {0, 0},
                       .offset = offset,
                       .gauge = nullptr,
                       .previous = nullptr,
                       .next = nullptr,
                       .failures = failures,
                       .flags = flags,
                       .special_flags = 0,
                       .reserved = 0};
}

constexpr StaticElement static_image(const StaticSpec& s) {
  StaticElement e{};
  e.h = element_header(abi::kStaticImage, s.bitmap, s.at, s.flags, s.failures);
  return e;
}

struct IconSpec {
  u32 bitmap;
  PixPoint at{0, 0};
  u32 flags = kDrawOverlay;
  u32 token = 0;
  ElementCallback<IconElement> callback = {};
  i32 images = 1;  // image k is bitmap `bitmap + k`
  const FailureEntry* failures = nullptr;
};

constexpr IconElement icon(const IconSpec& s) {
  IconElement e{};
  e.h = element_header(abi::kIcon, s.bitmap, s.at, s.flags, s.failures);
  e.source = token(s.token);
  e.callback = s.callback.fn();
  e.switch_count = s.images;
  e.scale = 1.0;
  e.image_count = s.images;
  return e;
}

// A needle's value-to-angle table: the points live in a writable array of the
// gauge file (the host fills each point's degrees).
struct NeedleTable {
  NeedlePoint* points = nullptr;
  u32 count = 0;
};

template <std::size_t N>
constexpr NeedleTable needle_table(NeedlePoint (&points)[N]) {
  return NeedleTable{points, static_cast<u32>(N)};
}

struct NeedleSpec {
  u32 bitmap;
  PixPoint at;     // the pivot in the gauge
  PixPoint pivot;  // the pivot inside the needle bitmap
  NeedleTable table;
  u32 token = 0;
  ElementCallback<NeedleElement> callback = {};
  u32 flags = kDrawMoving;
  const FailureEntry* failures = nullptr;
};

constexpr NeedleElement needle(const NeedleSpec& s) {
  NeedleElement e{};
  e.h = element_header(abi::kNeedle, s.bitmap, s.at, s.flags, s.failures, s.pivot);
  e.source = token(s.token);
  e.callback = s.callback.fn();
  e.table = s.table.points;
  e.table_count = s.table.count;
  return e;
}

struct TextSpec {
  PixPoint at;
  PixPoint box;  // width, height
  u16 chars;     // the field's character count; the host sizes the buffer from it
  ElementCallback<TextElement> callback = {};
  u32 token = 0;
  const char* font = "";
  i32 weight = 400;
  u8 charset = 0;
  u32 format = abi::kTextCentre | abi::kTextVCentre | abi::kTextSingleLine;  // 0x25
  u32 colour = 0x00FFFFFF;
  u32 background = 0x00000000;
  u32 highlight = 0x00000000;
  u32 flags = kDrawOverlay;
  SelectionRecord* selections = nullptr;
  const FailureEntry* failures = nullptr;
};

constexpr TextElement text(const TextSpec& s) {
  TextElement e{};
  e.h = element_header(abi::kText, abi::kNoBitmap, s.at, s.flags, s.failures);
  e.source[0] = token(s.token);
  e.source[1] = token(0);
  e.source[2] = token(0);
  e.callback[0] = s.callback.fn();
  e.box = s.box;
  e.text_colour = s.colour;
  e.background_colour = s.background;
  e.highlight_colour = s.highlight;
  for (std::size_t i = 0; i + 1 < sizeof e.font && s.font[i] != '\0'; ++i) e.font[i] = s.font[i];
  e.font_weight = s.weight;
  e.charset = s.charset;
  e.format = s.format;
  e.max_chars = s.chars;
  e.selections = s.selections;
  return e;
}

struct SliderSpec {
  u32 bitmap;
  PixPoint at;
  u32 x_token = 0;
  ElementCallback<SliderElement> x_callback = {};
  double x_scale = 0.0;  // pixels per unit
  u32 y_token = 0;
  ElementCallback<SliderElement> y_callback = {};
  double y_scale = 0.0;
  u32 flags = kDrawMoving;
  const FailureEntry* failures = nullptr;
};

constexpr SliderElement slider(const SliderSpec& s) {
  SliderElement e{};
  e.h = element_header(abi::kSlider, s.bitmap, s.at, s.flags, s.failures);
  e.x = token(s.x_token);
  e.x_callback = s.x_callback.fn();
  e.x_scale = s.x_scale;
  e.y = token(s.y_token);
  e.y_callback = s.y_callback.fn();
  e.y_scale = s.y_scale;
  return e;
}

struct MovingImageSpec {
  u32 bitmap;  // the picture; bitmap + 1 is its window mask
  PixPoint at;
  u32 x_token = 0;
  ElementCallback<MovingImageElement> x_callback = {};
  double min_x = 0.0, max_x = 0.0;
  u32 y_token = 0;
  ElementCallback<MovingImageElement> y_callback = {};
  double min_y = 0.0, max_y = 0.0;
  u32 flags = kDrawMoving;
  const FailureEntry* failures = nullptr;
};

constexpr MovingImageElement moving_image(const MovingImageSpec& s) {
  MovingImageElement e{};
  e.h = element_header(abi::kMovingImage, s.bitmap, s.at, s.flags, s.failures);
  e.x = token(s.x_token);
  e.x_callback = s.x_callback.fn();
  e.min_x = s.min_x;
  e.max_x = s.max_x;
  e.y = token(s.y_token);
  e.y_callback = s.y_callback.fn();
  e.min_y = s.min_y;
  e.max_y = s.max_y;
  return e;
}

struct SpriteSpec {
  u32 bitmap;  // the texture; bitmap + 1 is its window mask
  PixPoint at;
  PixPoint centre;  // gauge coordinates the texture moves and turns about
  u32 x_token = 0;
  ElementCallback<SpriteElement> x_callback = {};
  double x_scale = 0.0;
  u32 y_token = 0;
  ElementCallback<SpriteElement> y_callback = {};
  double y_scale = 0.0;
  u32 angle_token = 0;
  ElementCallback<SpriteElement> angle_callback = {};
  double angle_scale = 0.0;
  float texture_scale_x = 1.0f, texture_scale_y = 1.0f;
  u32 flags = kDrawMoving;
  const FailureEntry* failures = nullptr;
};

constexpr SpriteElement sprite(const SpriteSpec& s) {
  SpriteElement e{};
  e.h = element_header(abi::kSprite, s.bitmap, s.at, s.flags, s.failures);
  e.x = token(s.x_token);
  e.x_callback = s.x_callback.fn();
  e.x_scale = s.x_scale;
  e.y = token(s.y_token);
  e.y_callback = s.y_callback.fn();
  e.y_scale = s.y_scale;
  e.angle = token(s.angle_token);
  e.angle_callback = s.angle_callback.fn();
  e.angle_scale = s.angle_scale;
  e.texture_scale_x = s.texture_scale_x;
  e.texture_scale_y = s.texture_scale_y;
  e.centre = s.centre;
  return e;
}

// --- Mouse lists ----------------------------------------------------------------
//
// A list reads as the pilot meets it: the whole-gauge area (empty box) with its
// help id or tooltip, then the click boxes and nested areas, `area_end()` and
// `list_end()`. Keep the list a writable array (`MouseRect mouse[] = {...}`)
// and tooltip argument tables writable too (`MouseArg args[] = {...}`): the
// host fills each argument's source variable in place.

// An area whose box bounds the records up to the matching `area_end()`; the
// first record of every list is `whole_gauge_area()`.
constexpr MouseRect area(PixBox box = {0, 0, 0, 0}, u32 help_id = 0, i32 cursor = abi::kCursorNone) {
  return MouseRect{.kind = abi::kMouseArea,
                   .box = box,
                   .cursor = cursor,
                   .help_id = help_id,
                   .flags = 0,
                   .event = 0,
                   .action = {.fn = nullptr},
                   .args = nullptr};
}

constexpr MouseRect whole_gauge_area(u32 help_id = 0) { return area({0, 0, 0, 0}, help_id); }

// The tooltip of the enclosing area: a help id, or a text with `count`
// arguments from `args`.
constexpr MouseRect tooltip(const char* text, u32 count = 0, MouseArg* args = nullptr) {
  return MouseRect{.kind = abi::kMouseTooltip,
                   .box = {0, 0, 0, 0},
                   .cursor = abi::kCursorNone,
                   .help_id = 0,
                   .flags = 0,
                   .event = count,
                   .action = {.text = text},
                   .args = args};
}

template <std::size_t N>
constexpr MouseRect tooltip(const char* text, MouseArg (&args)[N]) {
  return tooltip(text, static_cast<u32>(N), args);
}

constexpr MouseRect help_tooltip(u32 help_id) {
  MouseRect r = tooltip(nullptr);
  r.help_id = help_id;
  return r;
}

// A clickable box that calls `fn` on the requested clicks.
constexpr MouseRect click_box(PixBox box, i32 cursor, u32 flags, MouseFn fn, u32 help_id = 0) {
  return MouseRect{.kind = abi::kMouseBox,
                   .box = box,
                   .cursor = cursor,
                   .help_id = help_id,
                   .flags = flags,
                   .event = 0,
                   .action = {.fn = fn},
                   .args = nullptr};
}

// A clickable box that has the host send `event` itself.
constexpr MouseRect event_box(PixBox box, i32 cursor, u32 flags, u32 event, u32 help_id = 0) {
  return MouseRect{.kind = abi::kMouseBox,
                   .box = box,
                   .cursor = cursor,
                   .help_id = help_id,
                   .flags = flags,
                   .event = event,
                   .action = {.fn = nullptr},
                   .args = nullptr};
}

constexpr MouseRect area_end() {
  MouseRect r{};
  r.kind = abi::kMouseAreaEnd;
  r.cursor = abi::kCursorNone;
  return r;
}

constexpr MouseRect list_end() { return MouseRect{}; }

// A tooltip argument filled by a text callback.
constexpr MouseArg text_argument(TooltipTextFn fn) {
  MouseArg a{};
  a.string_callback = fn;
  return a;
}

// A tooltip argument filled by a numeric callback (or, without one, by the
// host from token variable `token_id` times `scale`).
constexpr MouseArg number_argument(TooltipNumberFn fn, u32 token_id = 0, double scale = 1.0) {
  MouseArg a{};
  a.source = token(token_id);
  a.scale = scale;
  a.numeric_callback = fn;
  return a;
}

}  // namespace orv::records
