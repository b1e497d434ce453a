#include "host/panel/tooltip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

namespace orv::host {
namespace {

TEST(TooltipFormat, FillsPlaceholdersFromArgumentsAndExpressions) {
  TooltipSources sources;
  sources.number = [](int i) { return i == 1 ? 1013.456 : i == 2 ? 7.5 : 0.0; };
  sources.text = [](int i) { return i == 1 ? std::string("NAV1") : std::string("VOR2"); };
  sources.expression = [](const std::string& code) {
    return code == "(A:KOHLSMAN SETTING MB,millibar)" ? 1012.9 : -1.0;
  };
  const std::pair<const char*, const char*> cases[] = {
      {"Select %1!s! selected", "Select NAV1 selected"},
      {"Heading %1!d!\xB0", "Heading 1013\xB0"},
      {"%2!.0f! and %1!04.2f!", "8 and 1013.46"},
      {"Bearing %2!03d!", "Bearing 007"},
      {"Knob (%((A:KOHLSMAN SETTING MB,millibar))%!d! mb)", "Knob (1012 mb)"},
      {"100%% sure", "100% sure"},
      {"bad %1!q! and %9!d!", "bad %1!q! and 0"},
      {"open %1!s", "open %1!s"},
      {"trailing %", "trailing %"},
      // Width and precision up to 99; more is copied as written.
      {"%2!.99f!",
       "7.5000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000"},
      {"%1!.1299999999f! left", "%1!.1299999999f! left"},
      {"%1!100d!", "%1!100d!"},
      {"%((X))%!.100f!", "-1!.100f!"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(format_tooltip(text, sources), expected) << text;
}

TEST(TooltipFormat, HugeAndNanNumbersFormatWithoutOverflow) {
  TooltipSources sources;
  sources.number = [](int i) { return i == 1 ? 1e300 : std::nan(""); };
  EXPECT_EQ(format_tooltip("%1!d! %2!d!", sources), "9200000000000000000 0");
}

}  // namespace
}  // namespace orv::host
