// One placed gauge, as the simulator keeps it: its own copy of the gauge
// header, of every element record (following lists and gauge pointers point
// at the copies), of the mouse list, its own parameter string and text
// buffers. So everything the module writes through a header or element
// pointer (once-flag, user word, hidden bits, a replaced bitmap or help id,
// texts) is per instance; the module's globals stay shared.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "element_values.h"
#include "frame/gauge_abi.h"

namespace orv::host {

// An element copy in drawing order, with what its last evaluation produced.
struct ElementSlot {
  abi::ElementHeader* element = nullptr;  // the instance's copy
  int depth = 0;                          // 0 for the gauge's first-level list
  ElementValues values;
};

class GaugeInstance {
 public:
  // Copies the records of `source` (a header from the module's registry).
  GaugeInstance(const abi::GaugeHeader& source, std::string parameters);
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
  const std::string& parameters() const { return parameters_text_; }

  // The slot of an element copy of this instance, or null.
  ElementSlot* slot_of(const abi::ElementHeader* element);
  ElementValues values_of(const abi::ElementHeader* element) const;
  ElementValueLookup value_lookup() const;

 private:
  abi::ElementHeader* copy_element(const abi::ElementHeader* source);
  abi::ElementHeader** copy_list(abi::ElementHeader* const* list);
  void collect(abi::ElementHeader* const* list, int depth);

  abi::GaugeHeader header_;
  std::vector<std::unique_ptr<std::uint64_t[]>> element_storage_;
  std::vector<std::unique_ptr<abi::ElementHeader*[]>> lists_;
  std::vector<std::unique_ptr<char[]>> text_buffers_;
  std::unordered_map<const abi::ElementHeader*, abi::ElementHeader*> copies_;  // source -> copy
  std::unordered_map<const abi::ElementHeader*, std::size_t> index_;           // copy -> slot
  std::vector<ElementSlot> elements_;
  std::vector<abi::MouseRect> mouse_;
  std::string parameters_text_;
  std::vector<char> parameters_;  // NUL-terminated; the module may write into it
};

}  // namespace orv::host
