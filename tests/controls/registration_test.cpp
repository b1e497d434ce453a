#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls/control_state.h"
#include "frame/registry.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

namespace {

using namespace orv;
using namespace orv::abi;
using orv::test::FakeHost;
using orv::test::GaugeCopy;

constexpr const char* kAtcId = "(A:ATC ID,string)";

// A plate placed with `parameters`, set up, updated once with the ATC
// identifier `atc_id`, and drawn.
struct Plate {
  Plate(const char* parameters, const char* atc_id) : plate(gauges::registration, parameters) {
    controls::atc_id_text = nullptr;
    host.expression_texts[kAtcId] = atc_id;
    plate.service(kServiceInstall);
    plate.service(kServicePreUpdate);
    text = plate.first<TextElement>(kText);
    text->callback[0](text);
  }
  ~Plate() { controls::atc_id_text = nullptr; }
  std::string shown() const { return text->text; }
  FakeHost host;
  GaugeCopy plate;
  TextElement* text = nullptr;
};

TEST(RegistrationPlate, ShowsTheAtcIdentifierUnlessTheTextKeyComesFirst) {
  struct Case {
    const char* parameters;
    const char* atc_id;
    const char* shown;
  };
  const Case cases[] = {
      {"r0 tXYZ", "AB_123", "AB 123"},
      {nullptr, "AB_123", "AB 123"},
      {"tXYZ", "AB_123", "XYZ"},
      {"t", "AB_123", ""},
      {" tXYZ", "D-EFGH", "D-EFGH"},
      {"tLONGER_THAN_SEVEN", "", "LONGER "},  // the first seven characters, then underscores
      {"tA_B C_D", "", "A B"},                // cut at the first blank
      {"tA#B_C D", "", "A#B_C D"},            // after a comment: no cut, no replacement
      {"tA_B#_C", "", "A B#_C"},
      {"r0", "ABCDEFGHIJK", "ABCDEFG"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parameters ? c.parameters : "(null)");
    Plate p(c.parameters, c.atc_id);
    EXPECT_EQ(p.shown(), c.shown);
    EXPECT_TRUE(p.plate.guards_intact());
  }
}

TEST(RegistrationPlate, ColourComponentsAreClampedAndAbsentOnesKept) {
  struct Case {
    const char* parameters;
    u32 colour;
  };
  const Case cases[] = {
      {"r300", 0xFFFFFF},
      {"r-1 g0 b0", 0x0000FF},
      {"r0", 0xFFFF00},
      {"r10 g20 b30", 0x1E140A},
      {"rX g0", 0xFF0000},
      {"r0 #g0 b0", 0xFFFF00},
      {"r1 g2 b3 fArial", 0x030201},
      {"fArial r0 g0 b0", 0xFFFFFF},  // the keys after the font are the font's
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parameters);
    Plate p(c.parameters, "X");
    EXPECT_EQ(p.text->text_colour, c.colour);
  }
}

TEST(RegistrationPlate, FontNamesStayWithinTheirField) {
  const std::string long_font(40, 'W');
  Plate p(("tAB f" + long_font).c_str(), "");
  EXPECT_EQ(std::string(p.text->font), long_font.substr(0, 31));
  EXPECT_EQ(p.text->font_weight, 400);
  EXPECT_EQ(p.shown(), "AB");

  Plate commented("r0 #fCourier", "");
  EXPECT_STREQ(commented.text->font, "Arial");
  EXPECT_EQ(commented.plate.parameters(), "r0 #fCourier");

  Plate empty_font("tAB f", "");
  EXPECT_STREQ(empty_font.text->font, "");
  EXPECT_EQ(empty_font.plate.parameters(), "tAB ");
}

TEST(RegistrationPlate, EmptyUntilTheFirstUpdateThenAsksForTheAtcIdentifier) {
  FakeHost host;
  host.expression_texts[kAtcId] = "F_GHIJ";
  controls::atc_id_text = nullptr;
  GaugeCopy plate(gauges::registration, "r0");
  plate.service(kServiceInstall);
  auto* text = plate.first<TextElement>(kText);
  text->text[0] = 'Z';
  text->callback[0](text);
  EXPECT_STREQ(text->text, "");
  plate.service(kServicePreUpdate);
  EXPECT_EQ(host.expressions, std::vector<std::string>{kAtcId});
  text->callback[0](text);
  EXPECT_STREQ(text->text, "F GHIJ");
  controls::atc_id_text = nullptr;
}

}  // namespace
