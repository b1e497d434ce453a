// The element lines of a trace: what the trace last wrote of each element
// of each instance, so that a line appears only when it changed. An
// element's raw state (its channel values bit for bit, kind and bitmap,
// hidden flag, text) is compared first, all fields at once; only an element
// whose raw state moved is formatted, into a line kept from frame to frame
// ("  element 3.1 Gauge needle v=20 bmp=20 shown"). Every buffer is sized
// when the run starts, so the frames allocate nothing.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "frame/gauge_abi.h"
#include "host/panel/element_kind.h"
#include "host/panel/host.h"
#include "host/record/byte_buffer.h"
#include "host/record/trace_format.h"

namespace orv::host {

// An element's state without its text: kind, three numbers, bitmap, visibility.
constexpr std::size_t kLineRoom = 16 + 3 * (kNumberChars + 1) + 16 + 8 + 8;

// What an element line shows of the element's kind: its name and how many
// channel values.
struct KindFormat {
  std::string_view name;
  int channels = 0;
};

inline KindFormat describe_kind(abi::u32 kind) {
  const abi::ElementKindLayout* k = element_kind(kind);
  return k != nullptr ? KindFormat{k->name, static_cast<int>(k->described)} : KindFormat{"unknown", 0};
}

// The raw state of an element the trace last formatted, compared before
// anything is formatted.
struct RawState {
  static constexpr std::uint64_t kUnseen = 1;
  std::uint64_t bits[3] = {0, 0, 0};  // the channel values, bit for bit
  std::uint64_t kind_bitmap = 0;      // the header's kind and bitmap words
  std::uint64_t hidden = kUnseen;     // the hidden flag's bit; kUnseen before the first
};

// The header's kind and bitmap words as one.
inline std::uint64_t kind_and_bitmap(const abi::ElementHeader* e) {
  static_assert(offsetof(abi::ElementHeader, bitmap) ==
                offsetof(abi::ElementHeader, kind) + sizeof(abi::u32));
  std::uint64_t both;
  std::memcpy(&both, &e->kind, sizeof both);
  return both;
}

// What the trace last wrote of an element.
struct ElementMemo {
  RawState raw;
  ByteBuffer text;  // a text element's text
  // The element's line as the text format writes it ("  element 3.1 Gauge
  // needle v=20 bmp=20 shown"), its state alone for JSON lines.
  ByteBuffer line;
  std::size_t state_at = 0;  // where the state starts in `line`
};

// The numbers formatted last, by their bits: a frame shows one value on
// many elements (the head-up display draws each symbol in four colours, the
// displays repeat the heading and speeds).
class NumberCache {
 public:
  // put_number(out, v); `out` has room for kNumberChars bytes.
  char* put(char* out, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Entry& e = entries_[(bits * 0x9E3779B97F4A7C15u) >> (64 - kIndexBits)];
    if (e.size == 0 || e.bits != bits) {
      e.bits = bits;
      e.size = static_cast<std::uint32_t>(put_number(e.text, v) - e.text);
    }
    std::memcpy(out, e.text, kNumberChars);
    return out + e.size;
  }

 private:
  static constexpr int kIndexBits = 6;
  struct Entry {
    std::uint64_t bits = 0;
    std::uint32_t size = 0;  // 0: empty
    char text[kNumberChars];
  };
  std::array<Entry, std::size_t{1} << kIndexBits> entries_{};
};

// A text element's text ("" for none).
inline const char* element_text(const abi::ElementHeader* e) {
  const char* text = reinterpret_cast<const abi::TextElement*>(e)->text;
  return text != nullptr ? text : "";
}

class ElementLines {
 public:
  // Memos for every element of every instance placed on `host`; `named`:
  // the lines start with the text format's identifiers ("  element 3.1
  // Gauge "), which JSON lines do without.
  ElementLines(Host& host, bool named);

  // The gauge name instance `i`'s lines start with; rename() when the
  // instance's name changed.
  const char* name(std::size_t i) const { return names_[i]; }
  void rename(std::size_t i, const char* gauge);

  // Instance `i`'s memos, one per element in the order of its slots.
  ElementMemo* memos(std::size_t i) { return memo_[i].data(); }

  KindFormat kind_format(abi::u32 kind) const {
    return kind < kinds_.size() ? kinds_[kind] : describe_kind(kind);
  }

  // Takes the element's present state into its memo; true when the state as
  // written differs from the last one written (or none was). The raw state
  // is compared first, all fields at once; only an element whose raw state
  // moved is formatted, into a buffer that is kept from frame to frame.
  bool remember(const ElementSlot& slot, ElementMemo& memo) {
    const RawState now = raw_state(slot);
    const RawState& last = memo.raw;
    const bool same_raw =
        ((now.bits[0] ^ last.bits[0]) | (now.bits[1] ^ last.bits[1]) | (now.bits[2] ^ last.bits[2]) |
         (now.kind_bitmap ^ last.kind_bitmap) | (now.hidden ^ last.hidden)) == 0;
    const abi::ElementHeader* e = slot.element;
    if (same_raw && (e->kind != abi::kText || same_text(memo.text, element_text(e)))) return false;
    return restate(slot, memo);
  }

 private:
  static RawState raw_state(const ElementSlot& slot) {
    const double* channel = slot.values.channel;
    return {{std::bit_cast<std::uint64_t>(channel[0]), std::bit_cast<std::uint64_t>(channel[1]),
             std::bit_cast<std::uint64_t>(channel[2])},
            kind_and_bitmap(slot.element),
            slot.element->flags & abi::kHiddenFlag};
  }

  // The rest of remember() for an element whose raw state moved: formats
  // it, and keeps it when it prints differently. Out of line, so that the
  // loop over the unchanged elements keeps its registers.
  [[gnu::noinline]] bool restate(const ElementSlot& slot, ElementMemo& memo);

  // The state an element line shows after the element's identifier
  // ("needle v=20 bmp=20 shown"), formatted into line_.
  std::string_view format_state(const abi::ElementHeader* e, const double* channel, bool hidden,
                                const char* text, std::size_t text_size);

  // Whether the stored text is `text`, without measuring `text` first.
  static bool same_text(const ByteBuffer& stored, const char* text) {
    const char* a = stored.data();
    const char* const end = a + stored.size();
    for (; a != end; ++a, ++text)
      if (*a != *text) return false;
    return *text == '\0';
  }

  std::vector<std::vector<ElementMemo>> memo_;
  std::vector<const char*> names_;  // each instance's gauge name in its element lines
  std::array<KindFormat, 8> kinds_;
  NumberCache numbers_;
  ByteBuffer line_{kLineRoom + kEscapeChars * 1024};  // an element's state being formatted
};

}  // namespace orv::host
