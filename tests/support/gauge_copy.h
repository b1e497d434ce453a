// One placed instance of a registered gauge, made and driven by the host's
// own code: the copy is a host::GaugeInstance (its own header, element and
// mouse records, parameter string and text buffers between guard bytes),
// elements are evaluated by the host's evaluation rule and clicks and
// tooltips routed by point as the host routes them. Token values come from
// the current FakeHost. A callback that reached for the static records
// instead of the ones it is given, or wrote past a buffer, shows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "frame/elements.h"
#include "frame/gauge_abi.h"
#include "host/panel/gauge_instance.h"

namespace orv::test {

class GaugeCopy {
 public:
  // `parameters` null: the host gives the instance no parameter string.
  explicit GaugeCopy(const abi::GaugeHeader& registered, const char* parameters = nullptr);
  GaugeCopy(const GaugeCopy&) = delete;
  GaugeCopy& operator=(const GaugeCopy&) = delete;

  host::GaugeInstance instance;
  abi::GaugeHeader& header;

  // The gauge callback with a service id, as the host calls it.
  void service(abi::i32 id, abi::uptr extra = 0);

  // Element i in drawing order (each element followed by its following
  // elements, depth first), and the registered record it was copied from.
  std::size_t size() const { return instance.elements().size(); }
  abi::ElementHeader* element(std::size_t i) const { return instance.elements().at(i).element; }
  const abi::ElementHeader* original(std::size_t i) const { return instance.elements().at(i).source; }
  template <typename E>
  E* as(std::size_t i) const {
    return reinterpret_cast<E*>(element(i));
  }
  const char* text(std::size_t i) const { return as<abi::TextElement>(i)->text; }
  // The position in drawing order of the n-th element (0: the first) bound
  // to `callback` in any channel, found by walking the chain as the host
  // placed it: tests reach elements this way, never by a position written
  // down. Returns size() when there is none, so that reaching the element
  // throws (std::out_of_range) and fails the test.
  std::size_t find(abi::ElementFn callback, std::size_t n = 0) const;
  template <typename E>
  std::size_t find(ElementCallback<E> callback, std::size_t n = 0) const {
    return find(callback.fn(), n);
  }
  // The same for the n-th element drawing `bitmap` (for elements without a
  // callback).
  std::size_t find_bitmap(abi::u32 bitmap, std::size_t n = 0) const;
  // The first element of a kind, in drawing order.
  template <typename E>
  E* first(abi::u32 kind) const {
    for (const host::ElementSlot& s : instance.elements())
      if (s.element->kind == kind) return reinterpret_cast<E*>(s.element);
    return nullptr;
  }

  // Fills element i's channel variables from the current FakeHost and runs
  // its callbacks, as the host does every update. Returns the value of the
  // channel that has a callback (sprites: y, else x, else the rotation), or 0.
  abi::f64 evaluate(std::size_t i);

  // Mouse record n of a kind, in list order.
  abi::MouseRect* mouse(abi::u32 kind, std::size_t n = 0);

  // Clicks the middle of box n with `flags` as the host does: the click goes
  // to the first box under that point that asks for one of the flags (-1:
  // none); the host sends that box's own key event, else calls its callback.
  abi::i32 click(std::size_t n, abi::u32 flags);
  // Clicks a point in gauge pixels.
  abi::i32 click_at(int x, int y, abi::u32 flags);

  // Tooltip argument `arg` of the first tooltip: its text or number callback.
  const char* tooltip_text(std::size_t arg);
  abi::f64 tooltip_number(std::size_t arg);

  // The parameter string as it stands now (after the module's cut, if any),
  // and all bytes of the host's buffer, terminator and whatever followed it.
  std::string parameters() const { return header.parameters ? header.parameters : ""; }
  std::vector<char> parameter_bytes() const { return instance.parameter_bytes(); }

  bool guards_intact() const { return instance.guards_intact(); }
};

// A text of `size` characters built by repeating `pattern`.
std::string repeated(const std::string& pattern, std::size_t size);

}  // namespace orv::test
