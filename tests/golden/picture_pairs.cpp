// Compares the pictures of two renders of one flight file by file, the way
// a reader sees them (picture_compare.h), with the tolerance that two
// anti-aliasing engines need:
//
//   picture_pairs [--channel N] [--reach N] [--share F] [--names PREFIX]
//                 REFERENCE_DIR OTHER_DIR DIFF_DIR
//
// Every PNG under REFERENCE_DIR whose name starts with PREFIX (default
// "instance": the instance pictures) must have
// a counterpart at the same relative path under OTHER_DIR that matches it.
// One line per picture; the diff picture of each that does not match goes to
// DIFF_DIR (same relative path). Exits 0 when all match, 1 otherwise, 2 on a
// bad command line.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "picture_compare.h"

namespace fs = std::filesystem;
using orv::golden::Picture;

int main(int argc, char** argv) {
  orv::golden::Tolerance tolerance;
  std::vector<std::string> dirs;
  std::string names = "instance";
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 < argc && a == "--channel") {
      tolerance.channel = std::atoi(argv[++i]);
    } else if (i + 1 < argc && a == "--reach") {
      tolerance.reach = std::atoi(argv[++i]);
    } else if (i + 1 < argc && a == "--share") {
      tolerance.share = std::atof(argv[++i]);
    } else if (i + 1 < argc && a == "--names") {
      names = argv[++i];
    } else {
      dirs.push_back(a);
    }
  }
  if (dirs.size() != 3) {
    std::fprintf(stderr,
                 "usage: picture_pairs [--channel N] [--reach N] [--share F] [--names PREFIX] REFERENCE "
                 "OTHER DIFF_DIR\n");
    return 2;
  }
  std::vector<fs::path> pictures;
  for (const auto& entry : fs::recursive_directory_iterator(dirs[0]))
    if (entry.path().extension() == ".png" && entry.path().filename().string().rfind(names, 0) == 0)
      pictures.push_back(fs::relative(entry.path(), dirs[0]));
  std::sort(pictures.begin(), pictures.end());
  int failed = 0;
  for (const fs::path& rel : pictures) {
    Picture a, b;
    if (!orv::golden::read_png((fs::path(dirs[0]) / rel).string(), a) ||
        !orv::golden::read_png((fs::path(dirs[1]) / rel).string(), b)) {
      std::printf("%s: missing or unreadable\n", rel.string().c_str());
      ++failed;
      continue;
    }
    const orv::golden::Comparison c = orv::golden::compare(a, b, tolerance);
    std::printf("%s: %s, %ld pixels differ (%ld allowed), worst channel difference %d\n",
                rel.string().c_str(),
                c.matches()   ? "match"
                : c.same_size ? "DIFFERENT"
                              : "DIFFERENT SIZE",
                c.differing, c.allowed, c.worst);
    if (c.matches()) continue;
    ++failed;
    if (c.diff.width == 0) continue;
    const fs::path out = fs::path(dirs[2]) / rel;
    fs::create_directories(out.parent_path());
    orv::golden::write_png(out.string(), c.diff);
  }
  std::printf("%zu pictures, %d differ\n", pictures.size(), failed);
  return pictures.empty() || failed > 0 ? 1 : 0;
}
