#include "frame/elements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "frame/records.h"

namespace {

using namespace orv;

// A callback binds only to the channels of its own element kind: a routine
// written for a text refused on an icon is a wrong element caught when the
// module is compiled, not a cast that reads the wrong record at run time.
f64 icon_routine(IconElement*) { return 0.0; }
f64 text_routine(const TextElement*, u32) { return 0.0; }
template <typename Spec, typename Callback>
concept binds_to = requires(Spec s, Callback c) {
  s.callback = c;
};
static_assert(binds_to<records::IconSpec, decltype(calls<icon_routine>)>);
static_assert(binds_to<records::TextSpec, decltype(calls<text_routine, 2u>)>);
static_assert(!binds_to<records::IconSpec, decltype(calls<text_routine, 2u>)>);
static_assert(!binds_to<records::TextSpec, decltype(calls<icon_routine>)>);
static_assert(!binds_to<records::IconSpec, ElementFn>);  // only through calls

// A text element with a buffer of exactly max_chars + 1 bytes, guarded on
// both sides so an overrun shows.
struct GuardedText {
  explicit GuardedText(u16 max_chars) : storage(max_chars + 1 + 2 * kGuard, '#') {
    element.max_chars = max_chars;
    element.text = storage.data() + kGuard;
  }
  bool guards_intact() const {
    for (std::size_t i = 0; i < kGuard; ++i)
      if (storage[i] != '#' || storage[storage.size() - 1 - i] != '#') return false;
    return true;
  }
  static constexpr std::size_t kGuard = 8;
  std::vector<char> storage;
  TextElement element{};
};

TEST(WriteText, KeepsEveryTextInsideItsField) {
  struct Case {
    u16 max_chars;
    const char* format;
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {4, "%4.0f", 250.4, " 250"},       {4, "%4.0f", 99999.6, "1000"}, {8, "AOA %2.1f", -12.34, "AOA -12."},
      {5, "%5.0f", 12345.0, "12345"},    {3, "%03.0f", 7.0, "007"},     {0, "%f", 1.0, ""},
      {3, "%3.0f", std::nan(""), "nan"}, {3, "%3.0f", 1e300, "100"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    GuardedText t(c.max_chars);
    write_text(&t.element, c.format, c.value);
    EXPECT_STREQ(t.element.text, c.expected);
    EXPECT_TRUE(t.guards_intact());
  }
}

// Plain texts come out as write_text(e, "%s", text) writes them, in fields
// shorter, as long as and longer than the text, and for a null text.
TEST(WriteText, PlainTextsAreWhatTheStringFormatWrites) {
  const char* volatile null_text = nullptr;  // not a constant: no format warning
  for (const char* text : {"", "   ", "FROM", "%d%%", static_cast<const char*>(null_text)}) {
    for (const u16 max_chars : {0, 3, 4, 12}) {
      SCOPED_TRACE(std::string(text != nullptr ? text : "null") + " in " + std::to_string(max_chars));
      GuardedText plain(max_chars), formatted(max_chars);
      EXPECT_EQ(write_plain(&plain.element, text), write_text(&formatted.element, "%s", text));
      EXPECT_STREQ(plain.element.text, formatted.element.text);
      EXPECT_TRUE(plain.guards_intact());
    }
  }
  EXPECT_EQ(write_plain(nullptr, "x"), 0);
  TextElement no_buffer{};
  EXPECT_EQ(write_plain(&no_buffer, "x"), 0);
}

TEST(WriteText, NullElementOrBufferWritesNothing) {
  EXPECT_EQ(write_text(nullptr, "%d", 1), 0);
  TextElement e{};
  e.max_chars = 5;
  EXPECT_EQ(write_text(&e, "%d", 12), 0);
  char buf[4] = "abc";
  EXPECT_EQ(format_bounded(buf, 0, "%d", 5), 0);
  EXPECT_STREQ(buf, "abc");
  EXPECT_EQ(format_bounded(buf, sizeof buf, "%d", 123456), 3);
  EXPECT_STREQ(buf, "123");
}

TEST(Elements, FiniteOrClampsAndReplacesNonFinite) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_DOUBLE_EQ(finite_or(std::nan(""), 1, 0, 10), 1);
  EXPECT_DOUBLE_EQ(finite_or(inf, 2, 0, 10), 2);
  EXPECT_DOUBLE_EQ(finite_or(-5, 2, 0, 10), 0);
  EXPECT_DOUBLE_EQ(finite_or(50, 2, 0, 10), 10);
  EXPECT_DOUBLE_EQ(finite_or(5, 2, 0, 10), 5);
}

}  // namespace
