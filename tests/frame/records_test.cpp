#include "frame/records.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace orv::records;

orv::abi::GaugeHeader test_gauge{};
orv::abi::NeedlePoint dial[] = {{{0, 0}, 0.0, 0.0}, {{10, 0}, 100.0, 0.0}};

constinit Chain chain{test_gauge, static_image({.bitmap = 10}),
                      icon({.bitmap = 20, .at = {3, 4}, .images = 2}),
                      text({.at = {5, 6}, .box = {40, 9}, .chars = 4, .font = "Arial Narrow"}),
                      needle({.bitmap = 30, .at = {50, 50}, .pivot = {2, 3}, .table = needle_table(dial)})};

TEST(Chain, LinksEveryElementToTheNextInDrawingOrder) {
  // Walk the chain the host's way, from the first-level list.
  const orv::abi::u32 expected_bitmaps[] = {10, 20, orv::abi::kNoBitmap, 30};
  ElementHeader* e = chain.first[0];
  ASSERT_EQ(chain.first[1], nullptr);
  for (orv::abi::u32 bitmap : expected_bitmaps) {
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->bitmap, bitmap);
    EXPECT_EQ(e->gauge, &test_gauge);
    e = orv::first_following(e);
  }
  EXPECT_EQ(e, nullptr);
  EXPECT_EQ(chain.header(3), &chain.at<3>().h);
  EXPECT_EQ(chain.at<3>().h.next, nullptr);
  EXPECT_EQ(chain.header(4), nullptr);
}

// Parts spliced in drawing order: a symbol's copies given as one array.
constexpr std::array<orv::abi::IconElement, 2> kCopies{icon({.bitmap = 41}), icon({.bitmap = 42})};
constinit auto spliced = chain_of(test_gauge, static_image({.bitmap = 40}), kCopies, icon({.bitmap = 43}));

TEST(Chain, SplicesArraysOfCopiesIntoTheDrawingOrder) {
  static_assert(decltype(spliced)::kLength == 4);
  orv::abi::u32 bitmap = 40;
  for (ElementHeader* e = spliced.first[0]; e != nullptr; e = orv::first_following(e)) {
    EXPECT_EQ(e->bitmap, bitmap++);
    EXPECT_EQ(e->gauge, &test_gauge);
  }
  EXPECT_EQ(bitmap, 44u);
  EXPECT_EQ(spliced.header(2), &spliced.at<2>().h);  // links point into the variable itself
}

}  // namespace
