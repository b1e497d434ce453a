#include "names.h"

#include <algorithm>
#include <cctype>

namespace orv::panel_tool {

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The first letter of each word: words are split by '_', '-', ' ' and a
// lower-case letter followed by a capital.
std::string initials(const std::string& name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (!std::isalnum(c)) continue;
    const auto before = i == 0 ? '_' : static_cast<unsigned char>(name[i - 1]);
    const bool starts = !std::isalnum(before) || (std::isupper(c) && std::islower(before));
    if (starts) out += static_cast<char>(std::tolower(c));
  }
  return out;
}

}  // namespace

int name_distance(const std::string& a, const std::string& b) {
  std::vector<int> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = static_cast<int>(i);
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
      const int next = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = row[j];
      row[j] = next;
    }
  }
  return row[b.size()];
}

std::string closest_name(const std::string& name, const std::vector<std::string>& names) {
  if (name.empty()) return {};
  std::string best;
  int best_distance = 0;
  for (const std::string& n : names) {
    const int d = name_distance(name, n);
    if (best.empty() || d < best_distance) {
      best = n;
      best_distance = d;
    }
  }
  // A typo changes a few letters; a different name shares little.
  const int limit = std::max(2, static_cast<int>(name.size()) / 4);
  if (!best.empty() && best_distance <= limit) return best;
  const std::string want = lower(name);
  if (want.size() >= 2) {
    for (const std::string& n : names)
      if (initials(n) == want) return n;
  }
  std::string containing;
  int count = 0;
  for (const std::string& n : names) {
    if (want.size() >= 3 && lower(n).find(want) != std::string::npos) {
      containing = n;
      ++count;
    }
  }
  return count == 1 ? containing : std::string();
}

std::string did_you_mean(const std::string& name, const std::vector<std::string>& names) {
  const std::string near = closest_name(name, names);
  return near.empty() ? std::string() : "; did you mean '" + near + "'?";
}

}  // namespace orv::panel_tool
