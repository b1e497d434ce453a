#include "element_kind.h"

namespace orv::host {

using namespace abi;

namespace {

constexpr ElementKindInfo kKinds[] = {
    {kStaticImage, "static", 0, {}},
    {kNeedle, "needle", 1, {"value"}},
    {kText, "text", 1, {"value"}},
    {kSlider, "slider", 2, {"x", "y"}},
    {kIcon, "icon", 1, {"image"}},
    {kMovingImage, "moving", 2, {"x", "y"}},
    {kSprite, "sprite", 3, {"x", "y", "angle"}},
};

}  // namespace

const ElementKindInfo* element_kind(u32 kind) {
  for (const ElementKindInfo& k : kKinds)
    if (k.kind == kind) return &k;
  return nullptr;
}

const char* element_kind_name(u32 kind) {
  const ElementKindInfo* k = element_kind(kind);
  return k != nullptr ? k->name : "unknown";
}

}  // namespace orv::host
