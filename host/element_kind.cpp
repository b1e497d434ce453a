#include "element_kind.h"

namespace orv::host {

using namespace abi;

namespace {

constexpr ElementKind kKinds[] = {
    {kStaticImage, "static", 0, {}},
    {kNeedle, "needle", 1, {"value"}},
    {kText, "text", 1, {"value"}},
    {kSlider, "slider", 2, {"x", "y"}},
    {kIcon, "icon", 1, {"image"}},
    {kMovingImage, "moving", 2, {"x", "y"}},
    {kSprite, "sprite", 3, {"x", "y", "angle"}},
};

template <typename E>
E* as(ElementHeader* e) {
  return reinterpret_cast<E*>(e);
}

}  // namespace

const ElementKind* element_kind(u32 kind) {
  for (const ElementKind& k : kKinds)
    if (k.kind == kind) return &k;
  return nullptr;
}

const char* element_kind_name(u32 kind) {
  const ElementKind* k = element_kind(kind);
  return k != nullptr ? k->name : "unknown";
}

ElementChannels element_channels(ElementHeader* e) {
  ElementChannels out;
  auto add = [&](TokenVar& source, ElementFn callback) { out.channel[out.count++] = {&source, callback}; };
  switch (e->kind) {
    case kNeedle:
      add(as<NeedleElement>(e)->source, as<NeedleElement>(e)->callback);
      break;
    case kText:
      for (int i = 0; i < 3; ++i) add(as<TextElement>(e)->source[i], as<TextElement>(e)->callback[i]);
      break;
    case kSlider:
      add(as<SliderElement>(e)->x, as<SliderElement>(e)->x_callback);
      add(as<SliderElement>(e)->y, as<SliderElement>(e)->y_callback);
      break;
    case kIcon:
      add(as<IconElement>(e)->source, as<IconElement>(e)->callback);
      break;
    case kMovingImage:
      add(as<MovingImageElement>(e)->x, as<MovingImageElement>(e)->x_callback);
      add(as<MovingImageElement>(e)->y, as<MovingImageElement>(e)->y_callback);
      break;
    case kSprite:
      add(as<SpriteElement>(e)->x, as<SpriteElement>(e)->x_callback);
      add(as<SpriteElement>(e)->y, as<SpriteElement>(e)->y_callback);
      add(as<SpriteElement>(e)->angle, as<SpriteElement>(e)->angle_callback);
      break;
    default:
      break;
  }
  return out;
}

}  // namespace orv::host
