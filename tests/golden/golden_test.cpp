// The golden pictures of cases.h, rendered afresh by orvane-panel with the
// module of this tree and compared with their references under a tolerance
// for anti-aliasing. On a difference the test writes NAME.new.png (the new
// render) and NAME.diff.png (the reference dimmed, failing pixels in red)
// beside the reference and names them. With ORV_GOLDEN_UPDATE set (see
// scripts/golden.sh) it writes the renders over the references instead.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "picture_compare.h"

namespace orv::golden {
namespace {

namespace fs = std::filesystem;

struct Case {
  const char* name;
  const char* scenario;
  double at;
  const char* picture;  // a gauge name, or "cockpit"
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

std::string read(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// The picture the case keeps among the files of one render.
fs::path pick(const fs::path& out, const std::string& picture) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    const std::string file = entry.path().filename().string();
    if (entry.path().extension() != ".png") continue;
    const bool wanted = picture == "cockpit"
                            ? file.rfind("cockpit_t", 0) == 0
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
  fs::create_directories(out);
  std::ostringstream at;
  at << c.at;
  const std::string cmd = std::string(ORV_PANEL_TOOL) + " render --module " + quoted(ORV_REAL_MODULE) +
                          " --scenario " + quoted(fs::path(ORV_SCENARIO_DIR) / c.scenario) + " --at " +
                          at.str() + " --out " + quoted(out) + " " + c.options + " >" +
                          quoted(out / "files.txt") + " 2>" + quoted(out / "stderr.txt");
  const int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << cmd << "\nfailed:\n"
                                                             << read(out / "stderr.txt");
  const fs::path rendered = pick(out, c.picture);
  ASSERT_FALSE(rendered.empty()) << "the render holds no picture of " << c.picture << "; it wrote:\n"
                                 << read(out / "files.txt");

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

// The comparison itself: anti-aliasing and half-pixel shifts pass, a changed
// digit or colour does not.
Picture canvas(int w, int h, std::uint32_t fill) {
  return Picture{w, h, std::vector<std::uint32_t>(w * h, fill)};
}

TEST(PictureCompare, ForgivesEdgeShadesAndSmallShiftsButNotNewMarks) {
  constexpr std::uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu, kGrey = 0xFF808080u, kRed = 0xFFFF0000u;
  const Picture reference = [&] {
    Picture p = canvas(100, 100, kBlack);
    for (int y = 20; y < 80; ++y) p.pixels[y * 100 + 50] = kWhite;  // a vertical line
    return p;
  }();
  struct Change {
    const char* what;
    void (*apply)(Picture&);
    bool matches;
  };
  const Change changes[] = {
      {"the line drawn half a pixel to the right",
       [](Picture& p) {
         for (int y = 20; y < 80; ++y) p.pixels[y * 100 + 50] = p.pixels[y * 100 + 51] = kGrey;
       },
       true},
      {"the line moved by three pixels",
       [](Picture& p) {
         for (int y = 20; y < 80; ++y) std::swap(p.pixels[y * 100 + 50], p.pixels[y * 100 + 53]);
       },
       false},
      {"a new 2x2 mark",
       [](Picture& p) {
         for (int i : {1010, 1011, 1110, 1111}) p.pixels[i] = kWhite;
       },
       false},
      {"the line turned red",
       [](Picture& p) {
         for (int y = 20; y < 80; ++y) p.pixels[y * 100 + 50] = kRed;
       },
       false},
  };
  for (const Change& change : changes) {
    Picture actual = reference;
    change.apply(actual);
    const Comparison c = compare(reference, actual);
    EXPECT_EQ(c.matches(), change.matches) << change.what << ": " << c.differing << " differ";
    EXPECT_EQ(c.diff.width, 100);
  }
  EXPECT_FALSE(compare(reference, canvas(100, 99, kBlack)).matches());
}

}  // namespace
}  // namespace orv::golden
