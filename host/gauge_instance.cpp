#include "gauge_instance.h"

#include <cstring>

#include "module.h"

namespace orv::host {

using namespace abi;

GaugeInstance::GaugeInstance(const GaugeHeader& source, std::string parameters)
    : header_(source), parameters_text_(std::move(parameters)) {
  parameters_.assign(parameters_text_.begin(), parameters_text_.end());
  parameters_.push_back('\0');
  header_.parameters = parameters_.data();
  header_.elements = source.elements != nullptr ? copy_list(source.elements) : nullptr;
  if (header_.elements != nullptr) collect(header_.elements, 0);
  index_.reserve(elements_.size());
  for (std::size_t i = 0; i < elements_.size(); ++i) index_[elements_[i].element] = i;

  if (source.mouse_rects != nullptr) {
    std::size_t n = 0;
    while (n < static_cast<std::size_t>(kMaxMouseRects) && source.mouse_rects[n].kind != kMouseEnd) ++n;
    mouse_.assign(source.mouse_rects, source.mouse_rects + n);
    mouse_.push_back(MouseRect{});  // the end record
    header_.mouse_rects = mouse_.data();
  }
}

ElementHeader* GaugeInstance::copy_element(const ElementHeader* source) {
  if (auto it = copies_.find(source); it != copies_.end()) return it->second;
  const std::size_t size = element_record_size(source->kind);
  auto storage = std::make_unique<std::uint64_t[]>((size + 7) / 8);
  std::memcpy(storage.get(), source, size);
  auto* copy = reinterpret_cast<ElementHeader*>(storage.get());
  element_storage_.push_back(std::move(storage));
  copies_[source] = copy;
  copy->gauge = &header_;
  if (copy->kind == kText) {
    auto* text = reinterpret_cast<TextElement*>(copy);
    const std::size_t bytes = static_cast<std::size_t>(text->max_chars) + 1;
    text_buffers_.push_back(std::make_unique<char[]>(bytes));
    text->text = text_buffers_.back().get();
    text_buffers_.push_back(std::make_unique<char[]>(bytes));
    text->old_text = text_buffers_.back().get();
  }
  if (source->next != nullptr) copy->next = copy_list(source->next);
  return copy;
}

ElementHeader** GaugeInstance::copy_list(ElementHeader* const* list) {
  std::size_t n = 0;
  while (list[n] != nullptr) ++n;
  auto copy = std::make_unique<ElementHeader*[]>(n + 1);
  ElementHeader** out = copy.get();
  lists_.push_back(std::move(copy));
  for (std::size_t i = 0; i < n; ++i) out[i] = copy_element(list[i]);
  out[n] = nullptr;
  return out;
}

void GaugeInstance::collect(ElementHeader* const* list, int depth) {
  for (std::size_t i = 0; list[i] != nullptr; ++i) {
    ElementHeader* e = list[i];
    bool seen = false;
    for (const auto& s : elements_) seen = seen || s.element == e;
    if (seen) continue;  // an element listed twice draws once
    elements_.push_back(ElementSlot{e, depth, {}});
    if (e->next != nullptr) collect(e->next, depth + 1);
  }
}

ElementSlot* GaugeInstance::slot_of(const ElementHeader* element) {
  auto it = index_.find(element);
  return it == index_.end() ? nullptr : &elements_[it->second];
}

ElementValues GaugeInstance::values_of(const ElementHeader* element) const {
  auto it = index_.find(element);
  return it == index_.end() ? ElementValues{} : elements_[it->second].values;
}

ElementValueLookup GaugeInstance::value_lookup() const {
  return [this](const ElementHeader* e) { return values_of(e); };
}

}  // namespace orv::host
