// The element model every gauge shares: the host's drawing bits, how
// callbacks read a channel's stored value, the one form of an element
// callback, the hidden bit, and the one safe way to write an element's text.
// A gauge writes its records with frame/records.h.
//
// Callbacks receive the host's copy of the element (never assume the address
// of the static record) and must not allocate.
#pragma once

#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <type_traits>

#include "frame/gauge_abi.h"
#include "frame/text_format.h"

namespace orv {

// The binary records and their constants, by their plain names in namespace
// orv.
using abi::u8, abi::u16, abi::u32, abi::i16, abi::i32, abi::f32, abi::f64, abi::uptr, abi::ModuleFn,
    abi::GaugeFn, abi::ElementFn, abi::MouseFn, abi::TooltipNumberFn, abi::TooltipTextFn,
    abi::PanelWindowToggleFn, abi::TriggerKeyEventFn, abi::InitVarByNameFn, abi::LookupVarFn,
    abi::ExecuteCalculatorCodeFn, abi::AircraftVarGetFn, abi::GetRegisteredInterfaceFn, abi::PixPoint,
    abi::PixBox, abi::TokenValue, abi::TokenVar, abi::ImportTableRecord, abi::LinkageRecord, abi::GaugeHeader,
    abi::FailureEntry, abi::ElementHeader, abi::Image, abi::ImageSet, abi::StaticElement, abi::NeedlePoint,
    abi::NeedleElement, abi::SelectionRecord, abi::TextElement, abi::SliderElement, abi::IconElement,
    abi::MovingImageElement, abi::SpriteElement, abi::MouseAction, abi::MouseRect, abi::Click, abi::MouseArg,
    abi::ElementKind, abi::kStaticImage, abi::kNeedle, abi::kText, abi::kSlider, abi::kIcon,
    abi::kMovingImage, abi::kSprite, abi::MouseRectKind, abi::kMouseEnd, abi::kMouseArea, abi::kMouseBox,
    abi::kMouseAreaEnd, abi::kMouseTooltip, abi::kHiddenFlag, abi::kOnScreenFlag, abi::kNoBitmap,
    abi::kTextCentre, abi::kTextRight, abi::kTextVCentre, abi::kTextSingleLine, abi::kMouseLeftSingle,
    abi::kMouseRightSingle, abi::kMouseWheelLike, abi::kMouseMove, abi::kCursorNone, abi::kCursorNormal,
    abi::kCursorUp, abi::kCursorDown, abi::kCursorHand, abi::kSlotPanelWindowToggle,
    abi::kSlotTriggerKeyEvent, abi::kSlotInitVarByName, abi::kSlotLookupVar, abi::kSlotExecuteCalculatorCode,
    abi::kSlotAircraftVarGet, abi::kSlotGetRegisteredInterface, abi::kImportTableId, abi::kModuleId,
    abi::kModuleVersion, abi::kGaugeHeaderVersion, abi::kGaugeCount, abi::kServiceInstall,
    abi::kServicePostInstall, abi::kServicePreUpdate, abi::kServicePreDraw, abi::kServicePreKill,
    abi::kServicePanelOpen, abi::kServicePanelClose, abi::element_record_size;

// A value channel bound to token variable `id` (0: the module supplies the
// value itself).
constexpr TokenVar token(u32 id) {
  return TokenVar{.id = id, .host_ptr = nullptr, .host_type = 0, .value = {.n = 0.0}, .spare = {.n = 0.0}};
}

// --- Host drawing bits ------------------------------------------------------

// Bit 0x1 asks the host to draw pure black as transparent, so an element
// drawn over others shows only its symbol.
inline constexpr u32 kDrawBackground = 0x3;  // static backgrounds and panel icons
inline constexpr u32 kDrawOverlay = 0x7;     // icons and texts over a background
inline constexpr u32 kDrawMoving = 0x87;     // needles, sliders, sprites, moving images

// --- Reading a channel's stored value --------------------------------------

// The stored value as a float.
inline f64 channel_f64(const TokenVar& var) { return var.value.n; }
// The stored value as an integer delivered in the low word (BCD frequencies,
// flags).
inline u32 channel_u32(const TokenVar& var) { return var.value.d; }
// The stored value as a pointer to the host's text (may be null).
inline const char* channel_text(const TokenVar& var) { return var.value.p; }

// --- Element callbacks ------------------------------------------------------
//
// An element callback is a plain routine that takes the record of its element
// kind (the host's copy of the element) and returns the channel's value:
//
//   f64 speed_text(TextElement* e);
//
// A record binds it with `calls<speed_text>`; `calls<Fn, A...>` passes the
// constants A... after the element (`calls<pitch_ladder, kRed>` runs
// pitch_ladder(e, kRed)). The binding carries the record type, so the record
// constructors of frame/records.h refuse a routine written for another kind
// of element when the module is compiled.

template <typename E>
inline constexpr bool is_element_record =
    std::is_same_v<E, NeedleElement> || std::is_same_v<E, TextElement> || std::is_same_v<E, SliderElement> ||
    std::is_same_v<E, IconElement> || std::is_same_v<E, MovingImageElement> ||
    std::is_same_v<E, SpriteElement>;

namespace detail {
template <auto Fn, auto... Bound>
struct ElementBinding;
}  // namespace detail

// A callback bound for elements of record type E (null: the host supplies the
// value itself). Only `calls` makes one.
template <typename E>
class ElementCallback {
 public:
  static_assert(is_element_record<E>, "an element callback takes an element record with value channels");
  constexpr ElementCallback() = default;
  constexpr ElementFn fn() const { return fn_; }

 private:
  template <auto, auto...>
  friend struct detail::ElementBinding;
  constexpr explicit ElementCallback(ElementFn fn) : fn_(fn) {}
  ElementFn fn_ = nullptr;
};

namespace detail {

// The record a routine takes (a routine that only reads may take it const).
template <typename E, typename... A>
std::remove_const_t<E> record_of(f64 (*)(E*, A...));

template <auto Fn, auto... Bound>
struct ElementBinding {
  using Record = decltype(record_of(Fn));
  static f64 ORV_CALL run(void* element) { return Fn(static_cast<Record*>(element), Bound...); }
  static constexpr ElementCallback<Record> callback{&run};
};

}  // namespace detail

template <auto Fn, auto... Bound>
inline constexpr auto calls = detail::ElementBinding<Fn, Bound...>::callback;

// --- Visibility -------------------------------------------------------------

inline bool is_hidden(const ElementHeader* e) { return e != nullptr && (e->flags & kHiddenFlag) != 0; }

// The one way the module shows or hides an element: sets or clears the hidden
// bit and never touches the host's other bits.
inline void set_hidden(ElementHeader* e, bool hidden) {
  if (e == nullptr) return;
  e->flags = hidden ? (e->flags | kHiddenFlag) : (e->flags & ~kHiddenFlag);
}

// --- Text -------------------------------------------------------------------

// Writes a formatted text into the element's buffer, which the host sized at
// max_chars + 1 bytes. A text longer than the field is cut after max_chars
// characters (the leading characters stay), so nothing is ever written past
// the buffer. Returns the number of characters written; a null element or
// buffer writes nothing.
int write_text(TextElement* e, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
int write_text_v(TextElement* e, const char* format, std::va_list args);

// The same for a text with one number, its format read when the program is
// compiled (frame/text_format.h): what write_text(e, format.text, value)
// writes, at a fraction of the cost. Literal formats are written as
// template arguments: write_number<"%4.0f kt">(e, v).
int write_number(TextElement* e, const NumberFormat& format, f64 value);
template <NumberFormat Format>
int write_number(TextElement* e, f64 value) {
  if (e == nullptr) return 0;
  return format_number<Format>(e->text, static_cast<std::size_t>(e->max_chars) + 1, value);
}

// The same for a text without conversions: `text` is copied as it is (what
// write_text(e, "%s", text) writes), cut after max_chars characters. Blanks
// and fixed words take this path on every update.
int write_plain(TextElement* e, const char* text);

// write_plain of a literal, written whole when the field holds it (a blank,
// a fixed word).
template <std::size_t N>
[[gnu::always_inline]] inline int write_fixed(TextElement* e, const char (&text)[N]) {
  if (e == nullptr || e->text == nullptr || e->max_chars < N - 1) return write_plain(e, text);
  for (std::size_t i = 0; i < N; ++i) e->text[i] = text[i];
  return static_cast<int>(N - 1);
}

// The same rule for any caller-owned buffer of `size` bytes (size includes the
// terminator).
int format_bounded(char* buffer, std::size_t size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// A float that is safe to hand to the host: NaN and infinities become
// `fallback`, and the value is clamped to [lo, hi].
inline f64 finite_or(f64 value, f64 fallback, f64 lo, f64 hi) {
  if (!std::isfinite(value)) return fallback;
  if (value < lo) return lo;
  if (value > hi) return hi;
  return value;
}

// The first following element of `e`, or null.
inline ElementHeader* first_following(const ElementHeader* e) {
  return (e != nullptr && e->next != nullptr) ? e->next[0] : nullptr;
}

}  // namespace orv
