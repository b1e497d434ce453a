// One placed instance of a registered gauge, as the host makes it: its own
// copy of the header with its own parameter string, copies of every element
// (following lists and gauge pointers point at the copies; text elements get
// a buffer of max_chars + 1 bytes) and of the mouse list. Tests drive the copy
// as the host would, so a callback that reached for the static records
// instead of the ones it is given would show.
//
// The parameter string and the text buffers sit between guard bytes, so a
// write past them shows in `guards_intact()`.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "frame/gauge_abi.h"

namespace orv::test {

class GaugeCopy {
 public:
  // `parameters` null: the host gives the instance no parameter string.
  explicit GaugeCopy(const abi::GaugeHeader& registered, const char* parameters = nullptr);
  GaugeCopy(const GaugeCopy&) = delete;
  GaugeCopy& operator=(const GaugeCopy&) = delete;

  abi::GaugeHeader header{};

  // The gauge callback with a service id, as the host calls it.
  void service(abi::i32 id, abi::uptr extra = 0);

  // Element i in drawing order (each element followed by its following
  // elements, depth first), and the registered record it was copied from.
  std::size_t size() const { return elements_.size(); }
  abi::ElementHeader* element(std::size_t i) const { return elements_.at(i); }
  const abi::ElementHeader* original(std::size_t i) const { return originals_.at(i); }
  template <typename E>
  E* as(std::size_t i) const {
    return reinterpret_cast<E*>(element(i));
  }
  const char* text(std::size_t i) const { return as<abi::TextElement>(i)->text; }
  // The first element of a kind, in drawing order.
  template <typename E>
  E* first(abi::u32 kind) const {
    for (abi::ElementHeader* e : elements_)
      if (e->kind == kind) return reinterpret_cast<E*>(e);
    return nullptr;
  }

  // Fills element i's channel variables from the current FakeHost and runs
  // its callbacks, as the host does every update. Returns the value of the
  // channel that has a callback (sprites: y, else x, else the rotation), or 0.
  abi::f64 evaluate(std::size_t i);

  // Mouse record n of a kind, in list order.
  abi::MouseRect* mouse(abi::u32 kind, std::size_t n = 0);

  // Clicks box n with `flags` as the host does: nothing (-1) unless the box
  // asks for one of the flags; then its callback, or its own key event.
  abi::i32 click(std::size_t n, abi::u32 flags);

  // Tooltip argument `arg` of the first tooltip: its text or number callback.
  const char* tooltip_text(std::size_t arg);
  abi::f64 tooltip_number(std::size_t arg);

  // The parameter string as it stands now (after the module's cut, if any),
  // and all bytes of the host's buffer, terminator and whatever followed it.
  std::string parameters() const { return header.parameters ? header.parameters : ""; }
  std::vector<char> parameter_bytes() const;

  bool guards_intact() const;

 private:
  struct Guarded {
    std::vector<char> bytes;  // guard, `size` usable bytes, guard
    std::size_t size;
    char* data();
    bool intact() const;
  };

  abi::ElementHeader** copy_list(abi::ElementHeader* const* list);
  char* guarded(std::size_t size);

  std::vector<std::unique_ptr<std::uint64_t[]>> storage_;
  std::vector<std::unique_ptr<abi::ElementHeader*[]>> lists_;
  std::vector<abi::ElementHeader*> elements_;
  std::vector<const abi::ElementHeader*> originals_;
  std::vector<abi::MouseRect> mouse_;
  std::vector<std::unique_ptr<Guarded>> buffers_;  // [0]: the parameter string, if any
  std::size_t parameter_size_ = 0;
};

// A text of `size` characters built by repeating `pattern`.
std::string repeated(const std::string& pattern, std::size_t size);

}  // namespace orv::test
