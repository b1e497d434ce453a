// One placed gauge, as the simulator keeps it: its own copy of the gauge
// header, of every element record (following lists and gauge pointers point
// at the copies), of the mouse list, its own parameter string and text
// buffers. So everything the module writes through a header or element
// pointer (once-flag, user word, hidden bits, a replaced bitmap or help id,
// texts) is per instance; the module's globals stay shared.
//
// The parameter string and every text buffer sit between guard bytes, so a
// module that writes past one is caught (`guards_intact()`).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "frame/gauge_abi.h"
#include "host/panel/element_values.h"

namespace orv::host {

// An element copy in drawing order, with what its last evaluation produced.
struct ElementSlot {
  abi::ElementHeader* element = nullptr;       // the instance's copy
  const abi::ElementHeader* source = nullptr;  // the module's record it copies
  int depth = 0;                               // 0 for the gauge's first-level list
  ElementValues values;
};

class GaugeInstance {
 public:
  // Copies the records of `source` (a header from the module's registry).
  GaugeInstance(const abi::GaugeHeader& source, std::string parameters);
  // `parameters` null: the instance has no parameter string (a null pointer
  // in its header).
  GaugeInstance(const abi::GaugeHeader& source, const char* parameters);
  GaugeInstance(const GaugeInstance&) = delete;
  GaugeInstance& operator=(const GaugeInstance&) = delete;

  abi::GaugeHeader& header() { return header_; }
  const abi::GaugeHeader& header() const { return header_; }
  const char* name() const { return header_.name; }
  // Elements in drawing order: each first-level element, then its following
  // elements (depth first), later over earlier.
  std::vector<ElementSlot>& elements() { return elements_; }
  const std::vector<ElementSlot>& elements() const { return elements_; }
  // The instance's mouse list (ends with a kind 0 record), or null.
  abi::MouseRect* mouse_rects() { return mouse_.empty() ? nullptr : mouse_.data(); }
  const abi::MouseRect* mouse_rects() const { return mouse_.empty() ? nullptr : mouse_.data(); }
  // The parameter string as placed (the module may have cut its copy since).
  const std::string& parameters() const { return parameters_text_; }
  // Every byte of the header's parameter buffer, its terminator included.
  std::vector<char> parameter_bytes() const;
  // No guard byte around the parameter string or a text buffer was written.
  bool guards_intact() const;

  // The slot of an element copy of this instance, or null.
  ElementSlot* slot_of(const abi::ElementHeader* element);
  ElementValues values_of(const abi::ElementHeader* element) const;
  ElementValueLookup value_lookup() const;

 private:
  abi::ElementHeader* copy_element(const abi::ElementHeader* source);
  abi::ElementHeader** copy_list(abi::ElementHeader* const* list);
  char* guarded(std::size_t size);

  // A buffer of `size` bytes between two runs of guard bytes.
  struct Guarded {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
  };

  abi::GaugeHeader header_;
  std::vector<std::unique_ptr<std::uint64_t[]>> element_storage_;
  std::vector<std::unique_ptr<abi::ElementHeader*[]>> lists_;
  std::vector<Guarded> buffers_;  // texts and the parameter string
  std::unordered_map<const abi::ElementHeader*, abi::ElementHeader*> copies_;         // source -> copy
  std::unordered_map<const abi::ElementHeader*, const abi::ElementHeader*> sources_;  // copy -> source
  std::unordered_map<const abi::ElementHeader*, std::size_t> index_;                  // copy -> slot
  std::vector<ElementSlot> elements_;
  std::vector<abi::MouseRect> mouse_;
  std::string parameters_text_;
  char* parameters_ = nullptr;  // NUL-terminated; the module may write into it
  std::size_t parameters_size_ = 0;
};

}  // namespace orv::host
