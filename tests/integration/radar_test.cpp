// The Radar gauge of the real module over the host's traffic service, with a
// Cairo drawing surface as the renderer gives it: the intercept's threat
// colours at three moments, the hover tooltip, and the range buttons.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "host.h"
#include "host_error.h"
#include "scenario.h"
#include "scenario_run.h"
#include "support/drawing_surface.h"

// Fontconfig keeps its caches for the life of the process; LeakSanitizer
// would report them once a picture has laid out text.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace orv::host {
namespace {

using namespace abi;

const std::string kScenarios = ORV_SCENARIO_DIR;

class RadarRun : public testing::Test {
 protected:
  void TearDown() override {  // the host first, while the surface lives
    run_.reset();
    host_.reset();
  }

  void start(const std::string& name) {
    const std::string path = kScenarios + "/" + name;
    scenario_ = parse_scenario(read_file(path), path, kScenarios);
    module_ = Module::load(ORV_REAL_MODULE);
    host_ = std::make_unique<Host>(*module_, state_);
    index_ = host_->add_instance("Radar", 0, 0, 0);
    host_->instances()[index_].width = 286;  // placed at its bitmap's size
    host_->instances()[index_].height = 291;
    for (ElementSlot& slot : host_->instance(index_).elements()) {
      if (slot.element->kind != kStaticImage || (slot.element->flags & 0x26) != 0x26) continue;
      surface_.attach(slot.element);
    }
    state_.open_window(0);
    run_ = std::make_unique<ScenarioRun>(*host_, scenario_, TokenSets{}, std::vector<ScenarioClick>{});
    run_->apply_initial();
    host_->start();
  }
  void run_to(double seconds) {
    while (frame_ <= std::llround(seconds * kTicksPerSecond)) {
      run_->step([](const auto&, const auto&, const auto&) {});
      ++frame_;
    }
  }
  std::string readout() {
    for (ElementSlot& slot : host_->instance(index_).elements())
      if (slot.element->kind == kText) return reinterpret_cast<TextElement*>(slot.element)->text;
    return {};
  }

  SimState state_;
  Scenario scenario_;
  std::unique_ptr<Module> module_;
  std::unique_ptr<Host> host_;
  std::unique_ptr<ScenarioRun> run_;
  std::size_t index_ = 0;
  long long frame_ = 0;
  test::DrawingSurface surface_{286, 286};
};

// BANDIT1 keeps 0.52 NM to the right of the user's track while the two close
// at 600 knots from 9.99 NM ahead.
TEST_F(RadarRun, InterceptTurnsGreenYellowRed) {
  start("radar_intercept.json");
  struct Moment {
    double t;
    std::uint32_t colour;
  };
  for (const Moment& m : {Moment{10, 0x00FF00u}, Moment{30, 0xFFFF00u}, Moment{45, 0xFF0000u}}) {
    run_to(m.t);
    const double ahead = 10.0 * std::cos(3.0 / 57.29577951308232) - 600.0 / 3600.0 * m.t;
    EXPECT_EQ(surface_.colours_around(143.0 + 143.0 * 10.0 * std::sin(3.0 / 57.29577951308232) / 15.0 + 1.5,
                                      143.0 - 143.0 * ahead / 15.0, 2),
              m.colour)
        << "t=" << m.t;
    if (m.t == 10) {
      run_to(10.2);
      EXPECT_EQ(host_->tooltip(index_, 150, 67).text,
                "ID: BANDIT1 ALT: 500ft GS: 300kt TRK: 180\xB0 DST: 8.3nm");
    }
  }
}

TEST_F(RadarRun, RangeButtonsStopAtTheirLimits) {
  start("radar_ranges.json");
  run_to(1);
  EXPECT_EQ(readout(), " 15 nm");
  EXPECT_EQ(host_->tooltip(index_, 270, 255).text, "Range: 15");
  run_to(5);
  EXPECT_EQ(readout(), "120 nm");
  run_to(12);
  EXPECT_EQ(readout(), "1.9 nm");
  EXPECT_EQ(host_->tooltip(index_, 270, 278).text, "Range: 2");
}

}  // namespace
}  // namespace orv::host
