// The one JSON writer of the host: the strings and numbers every JSON output
// shares, and the commas, spacing and line breaks of a document.
#include "host/record/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace orv::host {
namespace {

TEST(JsonWriter, StringsAreAsciiWithWindows1252CodePoints) {
  const struct {
    std::string text;
    const char* json;
  } cases[] = {
      {"plain", R"("plain")"},
      {"quote \" and \\", R"("quote \" and \\")"},
      {"line\nfeed\x1b", R"("line\u000afeed\u001b")"},
      {"\xb0 \x80 \x7f", R"("\u00b0 \u20ac \u007f")"},
      {"undefined \x81", R"("undefined \ufffd")"},
      {std::string("nul\0inside", 10), R"("nul\u0000inside")"},
  };
  for (const auto& c : cases) {
    JsonWriter w;
    EXPECT_EQ(w.string(c.text).text(), c.json) << c.json;
  }
}

TEST(JsonWriter, NumbersAsTheTraceWritesThemAndNonFiniteAsStrings) {
  const struct {
    double v;
    const char* json;
  } cases[] = {
      {0.1 + 0.2, "0.3"},
      {-1234567.0, "-1.23457e+06"},
      {std::numeric_limits<double>::quiet_NaN(), R"("nan")"},
      {-std::numeric_limits<double>::infinity(), R"("-inf")"},
  };
  for (const auto& c : cases) {
    JsonWriter w;
    EXPECT_EQ(w.number(c.v).text(), c.json) << c.json;
  }
}

TEST(JsonWriter, PlacesCommasSpacingAndLineBreaks) {
  JsonWriter spaced;
  spaced.begin_object().key("a").integer(1).key("list").begin_array();
  for (int i = 0; i < 2; ++i)
    spaced.line_break(2).begin_object().key("i").integer(i).key("ok").boolean(true).end_object();
  spaced.line_break(0).end_array().key("empty").begin_array().end_array().key("none").string_or_null(nullptr);
  spaced.end_object();
  EXPECT_EQ(spaced.text(),
            "{\"a\": 1, \"list\": [\n  {\"i\": 0, \"ok\": true},\n  {\"i\": 1, \"ok\": true}\n], "
            "\"empty\": [], \"none\": null}");

  JsonWriter compact(JsonWriter::Spacing::compact);
  compact.begin_array().integer(1).begin_array().null().string("x").end_array().end_array();
  EXPECT_EQ(compact.text(), R"([1,[null,"x"]])");
}

}  // namespace
}  // namespace orv::host
