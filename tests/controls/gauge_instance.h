// One placed instance of a registered gauge, as the host makes it: its own
// copy of the header with its own parameter string, copies of every element
// (text elements with a host-sized text buffer) and of the mouse list. Tests
// drive the copy exactly as the host would, so a callback that reached for the
// static records instead of the ones it is given would show.
//
// The parameter string and the text buffers sit between guard bytes, so a
// write past them shows in `guards_intact()`.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "frame/gauge_abi.h"

namespace orv::test {

class GaugeInstance {
 public:
  // `parameters` null: the host gives the instance no parameter string.
  explicit GaugeInstance(const abi::GaugeHeader& registered, const char* parameters = nullptr);

  abi::GaugeHeader header{};

  // The gauge callback with a service id, as the host calls it.
  void service(abi::i32 id, abi::uptr extra = 0);

  // Element i in drawing order (first level, each followed by its following
  // elements, depth first).
  abi::ElementHeader* element(std::size_t i) const { return elements_.at(i); }
  std::size_t element_count() const { return elements_.size(); }
  // The first element of a kind, in drawing order.
  template <typename E>
  E* first(abi::u32 kind) const {
    for (abi::ElementHeader* e : elements_)
      if (e->kind == kind) return reinterpret_cast<E*>(e);
    return nullptr;
  }

  // Mouse records of a kind, in list order.
  abi::MouseRect* mouse(abi::u32 kind, std::size_t n = 0);

  // Clicks click box n with `flags`: its callback, or its event through the
  // host (the test's key event log), as the host would.
  abi::i32 click(std::size_t n, abi::u32 flags);

  // The text of tooltip argument `arg` (a text callback), or its number.
  const char* tooltip_text(std::size_t arg);
  abi::f64 tooltip_number(std::size_t arg);

  // The parameter string as it stands now (after the module's cut, if any),
  // and all bytes of the host's buffer, terminator and whatever followed it.
  std::string parameters() const {
    return header.parameters ? std::string(header.parameters) : std::string();
  }
  std::vector<char> parameter_bytes() const;

  bool guards_intact() const;

 private:
  abi::ElementHeader* copy_element(const abi::ElementHeader* e);
  abi::ElementHeader** copy_list(abi::ElementHeader* const* list);

  std::vector<std::unique_ptr<unsigned char[]>> storage_;
  std::vector<std::unique_ptr<abi::ElementHeader*[]>> lists_;
  std::vector<abi::ElementHeader*> elements_;
  std::vector<abi::MouseRect> mouse_;
  std::vector<char> parameter_storage_;
  std::size_t parameter_size_ = 0;
  struct Buffer {
    std::vector<char> bytes;
    std::size_t size;
  };
  std::vector<std::unique_ptr<Buffer>> text_buffers_;
};

// A parameter string of `size` characters built by repeating `pattern`.
std::string repeated(const std::string& pattern, std::size_t size);

}  // namespace orv::test
