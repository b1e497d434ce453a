// A placed instance of the head-up display, as a host keeps one: its own copy
// of every element record (walked from the gauge header through the
// following-element lists), with a text buffer of max_chars + 1 bytes for
// each string, guarded on both sides so an overrun shows. `evaluate` fills an
// element's channel variables the way the host does and calls its callbacks
// with the copy's address.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

#include "frame/elements.h"
#include "frame/module_records.h"
#include "frame/registry.h"

namespace orv::test {

class HudInstance {
 public:
  // Fills a channel variable with the host's value for its token id.
  using Deliver = void (*)(abi::TokenVar& var);

  static constexpr std::size_t kGuard = 8;
  static constexpr char kGuardByte = '#';

  HudInstance() {
    abi::ElementHeader* e = gauges::head_up_display.elements ? gauges::head_up_display.elements[0] : nullptr;
    for (; e != nullptr; e = first_following(e)) add(e);
  }

  std::size_t size() const { return elements_.size(); }
  const abi::ElementHeader* original(std::size_t i) const { return originals_[i]; }
  abi::ElementHeader* element(std::size_t i) {
    return reinterpret_cast<abi::ElementHeader*>(elements_[i].get());
  }
  template <typename E>
  E* as(std::size_t i) {
    return reinterpret_cast<E*>(elements_[i].get());
  }
  const char* text(std::size_t i) { return as<abi::TextElement>(i)->text; }

  // Runs the element's callbacks and returns the value of the channel that
  // has one (sprites: y; sliders: the channel with a callback), or 0 for an
  // element without callbacks.
  abi::f64 evaluate(std::size_t i, Deliver deliver) {
    using namespace abi;
    ElementHeader* h = element(i);
    void* raw = elements_[i].get();
    auto fill = [deliver](TokenVar& var) {
      if (var.id != 0) deliver(var);
    };
    switch (h->kind) {
      case kNeedle: {
        auto* e = as<NeedleElement>(i);
        fill(e->source);
        return e->callback ? e->callback(raw) : 0.0;
      }
      case kText: {
        auto* e = as<TextElement>(i);
        fill(e->source[0]);
        return e->callback[0] ? e->callback[0](raw) : 0.0;
      }
      case kSlider: {
        auto* e = as<SliderElement>(i);
        fill(e->x);
        fill(e->y);
        f64 value = 0.0;
        if (e->x_callback) value = e->x_callback(raw);
        if (e->y_callback) value = e->y_callback(raw);
        return value;
      }
      case kIcon: {
        auto* e = as<IconElement>(i);
        fill(e->source);
        return e->callback ? e->callback(raw) : 0.0;
      }
      case kMovingImage: {
        auto* e = as<MovingImageElement>(i);
        fill(e->x);
        fill(e->y);
        return e->x_callback ? e->x_callback(raw) : 0.0;
      }
      case kSprite: {
        auto* e = as<SpriteElement>(i);
        fill(e->x);
        fill(e->y);
        fill(e->angle);
        return e->y_callback ? e->y_callback(raw) : 0.0;
      }
      default:
        return 0.0;
    }
  }

  bool guards_intact() const {
    for (const auto& buffer : buffers_) {
      for (std::size_t k = 0; k < kGuard; ++k) {
        if (buffer[k] != kGuardByte || buffer[buffer.size() - 1 - k] != kGuardByte) return false;
      }
    }
    return true;
  }

 private:
  static std::size_t record_size(abi::u32 kind) {
    using namespace abi;
    switch (kind) {
      case kStaticImage:
        return sizeof(StaticElement);
      case kNeedle:
        return sizeof(NeedleElement);
      case kText:
        return sizeof(TextElement);
      case kSlider:
        return sizeof(SliderElement);
      case kIcon:
        return sizeof(IconElement);
      case kMovingImage:
        return sizeof(MovingImageElement);
      case kSprite:
        return sizeof(SpriteElement);
      default:
        return sizeof(ElementHeader);
    }
  }

  void add(abi::ElementHeader* e) {
    const std::size_t size = record_size(e->kind);
    auto copy = std::make_unique<unsigned char[]>(size);
    std::memcpy(copy.get(), e, size);
    originals_.push_back(e);
    elements_.push_back(std::move(copy));
    if (e->kind == abi::kText) {
      auto* t = reinterpret_cast<abi::TextElement*>(elements_.back().get());
      buffers_.emplace_back(t->max_chars + 1 + 2 * kGuard, kGuardByte);
      std::vector<char>& buffer = buffers_.back();
      std::memset(buffer.data() + kGuard, 0, t->max_chars + 1u);
      t->text = buffer.data() + kGuard;
    }
  }

  std::vector<const abi::ElementHeader*> originals_;
  std::vector<std::unique_ptr<unsigned char[]>> elements_;
  std::vector<std::vector<char>> buffers_;  // never resized after a text points into it
};

}  // namespace orv::test
