// The HUD's records as the host sees them, the colour-copy visibility rule
// over the whole chain, and robustness against bad token values.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "hud_test_support.h"

namespace orv::test {
namespace {

using namespace abi;

struct ElementRow {
  u32 kind;
  u32 bitmap;  // light green copy's for colour groups
  i32 x, y;
  u32 flags;
  u32 token;  // the main channel's element variable
  std::vector<u32> failure_keys;
};

// The chain's single elements and the first (red) copy of each group; the
// other copies differ only in bitmap and text colour.
TEST_F(HudTest, ChainHoldsTheFortySixElementsInDrawingOrder) {
  ASSERT_EQ(hud.size(), 46u);
  struct Row {
    std::size_t position;
    ElementRow e;
  };
  const std::vector<Row> rows = {
      {kBackground, {kStaticImage, 1000, 0, 0, 0x3, 0, {}}},
      {kGlass, {kIcon, 1010, 0, 0, 0x3, 0, {}}},
      {kSymbology, {kIcon, 1020, 19, 9, 0x7, 0, {21, 20}}},
      {kGearCue, {kIcon, 1260, 89, 73, 0x7, 332, {}}},
      {kToFrom, {kIcon, 1210, 166, 140, 0x7, 0, {20, 21, 14, 15}}},
      {kCourse, {kText, kNoBitmap, 150, 155, 0x7, 0, {21, 20}}},
      {kNavSource, {kIcon, 1200, 34, 157, 0x7, 0, {21, 20}}},
      {kGlideslope, {kSlider, 1220, 31, 110, 0x87, 0, {20, 21, 14, 15}}},
      {kLocalizer, {kSlider, 1160, 100, 154, 0x87, 0, {20, 21, 14, 15}}},
      {kAngleOfAttack, {kText, kNoBitmap, 7, 66, 0x7, 789, {18, 20}}},
      {kAirspeed, {kText, kNoBitmap, 28, 77, 0x7, 61, {20, 21, 6, 3}}},
      {kHeadingTape, {kMovingImage, 1120, 42, 139, 0x87, 84, {20, 21, 11}}},
      {kFlightPath, {kSprite, 1080, 19, 9, 0x87, 78, {20, 21, 3, 19, 7}}},
      {kPitchLadder, {kSprite, 1040, 19, 9, 0x87, 78, {20, 21, 8, 2, 4}}},
      {kAltitude, {kText, kNoBitmap, 153, 77, 0x7, 74, {20, 21, 3, 7}}},
      {kBankPointer, {kNeedle, 1030, 102, 82, 0x87, 80, {20, 21, 8, 2, 4}}},
  };
  for (const Row& row : rows) {
    const bool group = colour_of(row.position) >= 0;
    for (u32 c = 0; c < (group ? 4u : 1u); ++c) {
      const std::size_t i = group ? copy_at(row.position, c) : row.position;
      SCOPED_TRACE(i);
      const ElementHeader* h = hud.original(i);
      EXPECT_EQ(h->kind, row.e.kind);
      const u32 step = row.e.kind == kNeedle ? 1 : 10;
      EXPECT_EQ(h->bitmap, row.e.bitmap == kNoBitmap ? kNoBitmap : row.e.bitmap + step * c);
      EXPECT_EQ(h->position.x, row.e.x);
      EXPECT_EQ(h->position.y, row.e.y);
      EXPECT_EQ(h->flags, row.e.flags);
      EXPECT_EQ(h->gauge, &gauges::head_up_display);
      std::vector<u32> keys;
      for (const FailureEntry* f = h->failures; f != nullptr && (f->key | f->action) != 0; ++f)
        keys.push_back(f->key);
      EXPECT_EQ(keys, row.e.failure_keys);
      if (i + 1 < hud.size()) {
        ASSERT_NE(h->next, nullptr);
        EXPECT_EQ(h->next[0], hud.original(i + 1));
        EXPECT_EQ(h->next[1], nullptr);
      } else {
        EXPECT_EQ(h->next, nullptr);
      }
    }
  }
}

TEST_F(HudTest, RecordsCarryTheHostsDrawingParameters) {
  const u32 text_colours[4] = {0x0039F508, 0x001D9E00, 0x00115701, 0x000000FF};
  const std::pair<std::size_t, u16> strings[] = {
      {kCourse, 3}, {kAngleOfAttack, 8}, {kAirspeed, 4}, {kAltitude, 5}};
  for (auto [first, chars] : strings) {
    for (u32 c = 0; c < 4; ++c) {
      const auto* t = reinterpret_cast<const TextElement*>(hud.original(copy_at(first, c)));
      EXPECT_STREQ(t->font, "Quartz");
      EXPECT_EQ(t->font_weight, 600);
      EXPECT_EQ(t->charset, 1);
      EXPECT_EQ(t->format, 0x25u);
      EXPECT_EQ(t->max_chars, chars);
      EXPECT_EQ(t->text_colour, text_colours[c]);
      EXPECT_EQ(t->background_colour, 0u);
      EXPECT_EQ(t->highlight_colour, 0x0000FFFFu);
    }
  }
  for (u32 c = 0; c < 4; ++c) {
    const auto* ladder = reinterpret_cast<const SpriteElement*>(hud.original(copy_at(kPitchLadder, c)));
    const auto* marker = reinterpret_cast<const SpriteElement*>(hud.original(copy_at(kFlightPath, c)));
    EXPECT_EQ(ladder->angle.id, 80u);
    EXPECT_EQ(ladder->angle_scale, -1.0);
    EXPECT_EQ(marker->angle_scale, 0.0);
    for (const SpriteElement* s : {ladder, marker}) {
      EXPECT_EQ(s->x.id, 0u);
      EXPECT_EQ(s->y_scale, 6.0);
      EXPECT_EQ(s->centre.x, 102);
      EXPECT_EQ(s->centre.y, 82);
      EXPECT_EQ(s->texture_scale_x, 1.0f);
      EXPECT_EQ(s->texture_scale_y, 1.0f);
    }
    const auto* gs = reinterpret_cast<const SliderElement*>(hud.original(copy_at(kGlideslope, c)));
    const auto* loc = reinterpret_cast<const SliderElement*>(hud.original(copy_at(kLocalizer, c)));
    EXPECT_EQ(gs->y_scale, 0.16666);
    EXPECT_EQ(loc->x_scale, 0.31496);
    const auto* tape = reinterpret_cast<const MovingImageElement*>(hud.original(copy_at(kHeadingTape, c)));
    EXPECT_EQ(tape->min_x, 0.0);
    EXPECT_EQ(tape->max_x, 360.0);
    const auto* needle = reinterpret_cast<const NeedleElement*>(hud.original(copy_at(kBankPointer, c)));
    EXPECT_EQ(needle->h.offset.x, 0);
    EXPECT_EQ(needle->h.offset.y, 3);
    ASSERT_EQ(needle->table_count, 2u);
    EXPECT_EQ(needle->table[0].value, -90.0);
    EXPECT_EQ(needle->table[0].point.x, 52);
    EXPECT_EQ(needle->table[1].value, 90.0);
    EXPECT_EQ(needle->table[1].point.x, 152);
    EXPECT_EQ(needle->table[1].point.y, 82);
  }
  const GaugeHeader& g = gauges::head_up_display;
  EXPECT_STREQ(g.name, "Head_Up_Display");
  EXPECT_EQ(g.size_x_mm, 100u);
  EXPECT_EQ(g.callback, nullptr);
  const MouseRect* m = g.mouse_rects;
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m[0].kind, kMouseArea);
  EXPECT_EQ(m[1].kind, kMouseTooltip);
  EXPECT_STREQ(m[1].action.text, "Head-Up Display");
  EXPECT_EQ(m[2].kind, kMouseAreaEnd);
  EXPECT_EQ(m[3].kind, kMouseEnd);
}

// Every further condition of every symbol holds: gear down, NAV 1 valid and
// TO, so only the colour rule decides.
void fly_with_everything_shown(FakeHost& host) {
  host.tokens = {{332, 16000}, {333, 16000}, {334, 16000}, {44, 1},    {49, 1}, {40, 10}, {41, 20},
                 {45, 123},    {61, 250},    {74, 5000},   {789, 0.1}, {78, 2}, {80, 10}, {84, 90}};
  host.int_tokens = {{43, 1}};
}

TEST_F(HudTest, OnlyTheCopyOfTheSelectedColourShowsAndNothingWhileOff) {
  fly_with_everything_shown(host);
  struct State {
    bool on;
    u32 colour;
  };
  for (State s : {State{false, 0}, State{true, 0}, State{true, 1}, State{true, 2}, State{true, 3}}) {
    set_mode(s.on, s.colour);
    for (std::size_t i = 0; i < hud.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "on " << s.on << " colour " << s.colour << " element " << i);
      const f64 value = eval(i);
      const int copy = colour_of(i);
      const bool visible = s.on && (copy < 0 || static_cast<u32>(copy) == s.colour);
      const ElementHeader* h = hud.element(i);
      switch (h->kind) {
        case kIcon:
          if (i == kGlass) {
            EXPECT_EQ(value, s.on ? 1.0 : 0.0);
          } else {
            EXPECT_EQ(value, visible ? static_cast<f64>(s.colour) : -1.0);
          }
          break;
        case kText: {
          const std::string text = hud.text(i);
          const bool altitude = i >= kAltitude && i < kAltitude + 4;
          if (visible) {
            EXPECT_NE(text.find_first_not_of(' '), std::string::npos) << text;
          } else {
            EXPECT_EQ(text, altitude ? "     " : "   ");
          }
          break;
        }
        case kStaticImage:
          break;
        default:
          EXPECT_EQ(is_hidden(h), !visible);
      }
    }
  }
}

TEST_F(HudTest, BadTokenValuesGiveFiniteValuesAndTextsInsideTheirFields) {
  const f64 inf = std::numeric_limits<f64>::infinity();
  const f64 bad[] = {std::nan(""), inf, -inf, 1e308, -1e308, 1e15, -1e15};
  const u32 ids[] = {332, 333, 334, 40, 41, 44, 45, 49, 50, 53, 54, 58, 61, 65, 74, 78, 80, 84, 789, 882};
  for (f64 v : bad) {
    for (u32 id : ids) host.tokens[id] = v;
    host.tokens[44] = host.tokens[49] = host.tokens[53] = host.tokens[58] = 1.0;  // keep the carets live
    for (i32 source : {1, 0}) {
      cockpit::nav_source_nav1 = source;
      for (u32 colour = 0; colour < 4; ++colour) {
        set_mode(true, colour);
        for (std::size_t i = 0; i < hud.size(); ++i) {
          SCOPED_TRACE(testing::Message() << "value " << v << " element " << i);
          EXPECT_TRUE(std::isfinite(eval(i)));
          if (hud.element(i)->kind == kText) {
            EXPECT_LE(std::strlen(hud.text(i)), hud.as<TextElement>(i)->max_chars);
            EXPECT_EQ(std::string(hud.text(i)).find("nan"), std::string::npos);
            EXPECT_EQ(std::string(hud.text(i)).find("inf"), std::string::npos);
          }
        }
      }
    }
    for (f64 f : hud::hud_glideslope_filter) EXPECT_TRUE(std::isfinite(f));
  }
  EXPECT_TRUE(hud.guards_intact());
}

}  // namespace
}  // namespace orv::test
