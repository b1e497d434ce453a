// The golden pictures of cases.h, rendered afresh by orvane-panel with the
// module of this tree and compared with their references under a tolerance
// for anti-aliasing. On a difference the test writes NAME.new.png (the new
// render) and NAME.diff.png (the reference dimmed, failing pixels in red)
// beside the reference and names them. With ORV_GOLDEN_UPDATE set (see
// scripts/golden.sh) it writes the renders over the references instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "picture_compare.h"
#include "support/tool_run.h"

namespace orv::golden {
namespace {

namespace fs = std::filesystem;

struct Case {
  const char* name;
  const char* scenario;
  double at;
  const char* picture;  // a gauge name, "screen" or "cockpit"
  const char* options;
};

const Case kCases[] = {
#define GOLDEN(name, scenario, at, picture, options) {#name, scenario, at, picture, options},
#include "cases.h"
#undef GOLDEN
};

// Cases print by name in test listings.
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

bool updating() {
  const char* v = std::getenv("ORV_GOLDEN_UPDATE");
  return v != nullptr && *v != '\0';
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// The picture the case keeps among the files of one render.
fs::path pick(const fs::path& out, const std::string& picture) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    const std::string file = entry.path().filename().string();
    if (entry.path().extension() != ".png") continue;
    const bool wanted = picture == "cockpit" ? file.rfind("cockpit_t", 0) == 0
                        : picture == "screen"
                            ? file.rfind("screen_t", 0) == 0
                            : file.rfind("instance", 0) == 0 && file.size() > picture.size() + 5 &&
                                  file.compare(file.size() - picture.size() - 5, std::string::npos,
                                               "_" + picture + ".png") == 0;
    if (wanted) found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  return found.empty() ? fs::path() : found.front();
}

class Golden : public testing::TestWithParam<Case> {};

TEST_P(Golden, RenderMatchesTheReference) {
  const Case& c = GetParam();
  const fs::path dir = ORV_GOLDEN_DIR;
  const fs::path reference = dir / (std::string(c.name) + ".png");
  const fs::path fresh = dir / (std::string(c.name) + ".new.png");
  const fs::path diff = dir / (std::string(c.name) + ".diff.png");
  fs::remove(fresh);
  fs::remove(diff);

  const fs::path out = fs::path(ORV_GOLDEN_WORK) / c.name;
  fs::remove_all(out);
  std::ostringstream args;
  args << "render --module " << quoted(ORV_REAL_MODULE) << " --scenario "
       << quoted(fs::path(ORV_SCENARIO_DIR) / c.scenario) << " --at " << c.at << " --out " << quoted(out)
       << (std::string(c.picture) == "cockpit"  ? " --sheet"
           : std::string(c.picture) == "screen" ? ""
                                                : " --windows")
       << " " << c.options;
  const test::ToolRun run = test::run_tool_command(ORV_PANEL_TOOL, args.str(), out);
  ASSERT_EQ(run.code, 0) << args.str() << "\nfailed:\n" << run.err;
  const fs::path rendered = pick(out, c.picture);
  ASSERT_FALSE(rendered.empty()) << "the render holds no picture of " << c.picture << "; it wrote:\n"
                                 << run.out;

  if (updating()) {
    fs::copy_file(rendered, reference, fs::copy_options::overwrite_existing);
    return;
  }
  Picture now, before;
  ASSERT_TRUE(read_png(rendered.string(), now)) << rendered;
  if (!read_png(reference.string(), before)) {
    fs::copy_file(rendered, fresh, fs::copy_options::overwrite_existing);
    FAIL() << "no reference picture " << reference << "; the render is " << fresh
           << "; accept it with: bash scripts/golden.sh " << c.name;
  }
  const Comparison result = compare(before, now);
  if (result.matches()) return;
  fs::copy_file(rendered, fresh, fs::copy_options::overwrite_existing);
  if (!result.same_size) {
    FAIL() << c.name << ": the render is " << now.width << "x" << now.height << ", the reference "
           << before.width << "x" << before.height << "\n  reference: " << reference
           << "\n  new:       " << fresh << "\naccept an intended change with: bash scripts/golden.sh "
           << c.name;
  }
  write_png(diff.string(), result.diff);
  FAIL() << c.name << ": " << result.differing << " pixels differ beyond the tolerance (" << result.allowed
         << " allowed; largest channel difference " << result.worst << ")\n  reference: " << reference
         << "\n  new:       " << fresh << "\n  diff:      " << diff
         << "\naccept an intended change with: bash scripts/golden.sh " << c.name;
}

INSTANTIATE_TEST_SUITE_P(Pictures, Golden, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name);
                         });

// The comparison itself: a line drawn half a pixel aside passes; a line
// moved, a new mark, another colour or another size does not.
TEST(PictureCompare, ForgivesEdgeShadesAndSmallShiftsButNotNewMarks) {
  constexpr std::uint32_t kWhite = 0xFFFFFFFFu, kGrey = 0xFF808080u, kRed = 0xFFFF0000u;
  struct Line {
    int x, top, bottom;
    std::uint32_t colour;
  };
  // A black picture 100 wide with vertical lines.
  auto picture = [](std::initializer_list<Line> lines, int height = 100) {
    Picture p{100, height, std::vector<std::uint32_t>(100 * height, 0xFF000000u)};
    for (const Line& l : lines)
      for (int y = l.top; y < l.bottom; ++y) p.pixels[y * 100 + l.x] = l.colour;
    return p;
  };
  const Picture reference = picture({{50, 20, 80, kWhite}});
  const std::pair<Picture, bool> cases[] = {
      {picture({{50, 20, 80, kGrey}, {51, 20, 80, kGrey}}), true},  // half a pixel right
      {picture({{53, 20, 80, kWhite}}), false},                     // three pixels right
      {picture({{50, 20, 80, kWhite}, {10, 10, 12, kWhite}, {11, 10, 12, kWhite}}), false},  // a 2x2 mark
      {picture({{50, 20, 80, kRed}}), false},
      {picture({{50, 20, 80, kWhite}}, 99), false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Comparison c = compare(reference, cases[i].first);
    EXPECT_EQ(c.matches(), cases[i].second) << "case " << i << ": " << c.differing << " differ";
  }
  EXPECT_EQ(compare(reference, reference).diff.width, 100);
}

}  // namespace
}  // namespace orv::golden
