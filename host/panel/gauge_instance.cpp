#include "host/panel/gauge_instance.h"

#include <cstring>

#include "host/load/module.h"
#include "host/panel/element_walk.h"

namespace orv::host {

using namespace abi;

namespace {

constexpr std::size_t kGuard = 16;
constexpr char kGuardByte = '\x5A';

}  // namespace

GaugeInstance::GaugeInstance(const GaugeHeader& source, std::string parameters)
    : GaugeInstance(source, parameters.c_str()) {}

GaugeInstance::GaugeInstance(const GaugeHeader& source, const char* parameters)
    : header_(source), parameters_text_(parameters != nullptr ? parameters : "") {
  header_.parameters = nullptr;
  if (parameters != nullptr) {
    parameters_size_ = parameters_text_.size() + 1;
    parameters_ = guarded(parameters_size_);
    std::memcpy(parameters_, parameters_text_.c_str(), parameters_size_);
    header_.parameters = parameters_;
  }
  header_.elements = source.elements != nullptr ? copy_list(source.elements) : nullptr;
  walk_elements(header_.elements, [this](ElementHeader* e, int depth) {
    elements_.push_back(ElementSlot{e, sources_[e], depth, {}});
  });
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
  sources_[copy] = source;
  copy->gauge = &header_;
  if (copy->kind == kText) {
    auto* text = reinterpret_cast<TextElement*>(copy);
    const std::size_t bytes = static_cast<std::size_t>(text->max_chars) + 1;
    text->text = guarded(bytes);
    text->old_text = guarded(bytes);
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

char* GaugeInstance::guarded(std::size_t size) {
  Guarded g;
  g.size = size;
  g.bytes = std::make_unique<char[]>(size + 2 * kGuard);
  std::memset(g.bytes.get(), kGuardByte, kGuard);
  std::memset(g.bytes.get() + kGuard, 0, size);
  std::memset(g.bytes.get() + kGuard + size, kGuardByte, kGuard);
  buffers_.push_back(std::move(g));
  return buffers_.back().bytes.get() + kGuard;
}

bool GaugeInstance::guards_intact() const {
  for (const Guarded& g : buffers_)
    for (std::size_t k = 0; k < kGuard; ++k)
      if (g.bytes[k] != kGuardByte || g.bytes[kGuard + g.size + k] != kGuardByte) return false;
  return true;
}

std::vector<char> GaugeInstance::parameter_bytes() const {
  return parameters_ != nullptr ? std::vector<char>(parameters_, parameters_ + parameters_size_)
                                : std::vector<char>{};
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
