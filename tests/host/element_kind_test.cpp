#include "element_kind.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv::host {
namespace {

using namespace abi;

// What evaluation did, in order: "fill N" for a variable filled (N its id),
// "call N" for a callback (N the value it returns).
std::vector<std::string> g_log;

template <int N>
f64 ORV_CALL callback(void*) {
  g_log.push_back("call " + std::to_string(N));
  return N;
}

struct KindCase {
  const char* name;
  u32 kind;
};

class EvaluateElement : public testing::TestWithParam<KindCase> {};

// Every channel of every kind: variables filled first, then the callbacks in
// the channel order element_channels gives; a channel without a callback
// takes the fallback of its own variable.
TEST_P(EvaluateElement, FillsEveryVariableThenCallsEachChannelInOrder) {
  alignas(8) unsigned char storage[sizeof(SpriteElement) + sizeof(TextElement) + 256] = {};
  auto* e = reinterpret_cast<ElementHeader*>(storage);
  e->kind = GetParam().kind;
  ElementChannels channels = element_channels(e);
  std::vector<std::string> expected;
  const ElementFn callbacks[] = {&callback<10>, nullptr, &callback<30>};
  for (std::size_t i = 0; i < channels.count; ++i) {
    channels.channel[i].source->id = static_cast<u32>(100 + i);
    expected.push_back("fill " + std::to_string(100 + i));
  }
  // Channels 0 and 2 with callbacks, channel 1 without.
  for (std::size_t i = 0; i < channels.count; ++i) {
    ElementFn fn = callbacks[i];
    switch (e->kind) {
      case kNeedle:
        reinterpret_cast<NeedleElement*>(e)->callback = fn;
        break;
      case kText:
        reinterpret_cast<TextElement*>(e)->callback[i] = fn;
        break;
      case kSlider:
        (i == 0 ? reinterpret_cast<SliderElement*>(e)->x_callback
                : reinterpret_cast<SliderElement*>(e)->y_callback) = fn;
        break;
      case kIcon:
        reinterpret_cast<IconElement*>(e)->callback = fn;
        break;
      case kMovingImage:
        (i == 0 ? reinterpret_cast<MovingImageElement*>(e)->x_callback
                : reinterpret_cast<MovingImageElement*>(e)->y_callback) = fn;
        break;
      case kSprite: {
        auto* s = reinterpret_cast<SpriteElement*>(e);
        (i == 0 ? s->x_callback : i == 1 ? s->y_callback : s->angle_callback) = fn;
        break;
      }
      default:
        break;
    }
  }
  const ElementChannels with_callbacks = element_channels(e);
  std::vector<double> values;
  for (std::size_t i = 0; i < channels.count; ++i) {
    if (with_callbacks.channel[i].callback != nullptr) {
      expected.push_back("call " + std::to_string(i == 0 ? 10 : 30));
      values.push_back(i == 0 ? 10.0 : 30.0);
    } else {
      values.push_back(-static_cast<double>(100 + i));
    }
  }

  g_log.clear();
  double out[3] = {7.0, 7.0, 7.0};
  evaluate_element(
      e, out, [](TokenVar& v) { g_log.push_back("fill " + std::to_string(v.id)); },
      [](const TokenVar& v) { return -static_cast<double>(v.id); });
  EXPECT_EQ(g_log, expected);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(out[i], i < values.size() ? values[i] : 7.0) << i;
}

INSTANTIATE_TEST_SUITE_P(Kinds, EvaluateElement,
                         testing::Values(KindCase{"static", kStaticImage}, KindCase{"needle", kNeedle},
                                         KindCase{"text", kText}, KindCase{"slider", kSlider},
                                         KindCase{"icon", kIcon}, KindCase{"moving", kMovingImage},
                                         KindCase{"sprite", kSprite}),
                         [](const testing::TestParamInfo<KindCase>& info) { return info.param.name; });

}  // namespace
}  // namespace orv::host
