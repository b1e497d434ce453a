#include "tooltip.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv::host {
namespace {

struct TooltipCase {
  const char* text;
  const char* expected;
};

void PrintTo(const TooltipCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class TooltipFormat : public testing::TestWithParam<TooltipCase> {};

TEST_P(TooltipFormat, FillsPlaceholdersFromArgumentsAndExpressions) {
  TooltipSources sources;
  sources.number = [](int i) { return i == 1 ? 1013.456 : i == 2 ? 7.5 : 0.0; };
  sources.text = [](int i) { return i == 1 ? std::string("NAV1") : std::string("VOR2"); };
  sources.expression = [](const std::string& code) {
    return code == "(A:KOHLSMAN SETTING MB,millibar)" ? 1012.9 : -1.0;
  };
  EXPECT_EQ(format_tooltip(GetParam().text, sources), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Placeholders, TooltipFormat,
    testing::Values(TooltipCase{"Select %1!s! selected", "Select NAV1 selected"},
                    TooltipCase{"Heading %1!d!\xB0", "Heading 1013\xB0"},
                    TooltipCase{"%2!.0f! and %1!04.2f!", "8 and 1013.46"},
                    TooltipCase{"Bearing %2!03d!", "Bearing 007"},
                    TooltipCase{"Knob (%((A:KOHLSMAN SETTING MB,millibar))%!d! mb)", "Knob (1012 mb)"},
                    TooltipCase{"100%% sure", "100% sure"},
                    TooltipCase{"bad %1!q! and %9!d!", "bad %1!q! and 0"},
                    TooltipCase{"open %1!s", "open %1!s"}, TooltipCase{"trailing %", "trailing %"},
                    // Width and precision up to 99; more is copied as written.
                    TooltipCase{"%2!.99f!",
                                "7.5000000000000000000000000000000000000000000000000"
                                "00000000000000000000000000000000000000000000000000"},
                    TooltipCase{"%1!.1299999999f! left", "%1!.1299999999f! left"},
                    TooltipCase{"%1!100d!", "%1!100d!"}, TooltipCase{"%((X))%!.100f!", "-1!.100f!"}));

TEST(TooltipFormat, HugeAndNanNumbersFormatWithoutOverflow) {
  TooltipSources sources;
  sources.number = [](int i) { return i == 1 ? 1e300 : std::nan(""); };
  EXPECT_EQ(format_tooltip("%1!d! %2!d!", sources), "9200000000000000000 0");
}

}  // namespace
}  // namespace orv::host
