#include "panel_art.h"

#include <cctype>

#include "panel_art_files.h"

namespace orv::panel_tool {

std::string_view built_in_panel_file(std::string_view name) {
  for (unsigned i = 0; i < kPanelArtFileCount; ++i) {
    const std::string_view file = kPanelArtFiles[i].name;
    if (file.size() != name.size()) continue;
    bool same = true;
    for (std::size_t k = 0; same && k < file.size(); ++k)
      same = std::tolower(static_cast<unsigned char>(file[k])) ==
             std::tolower(static_cast<unsigned char>(name[k]));
    if (same) return {kPanelArtFiles[i].bytes, kPanelArtFiles[i].size};
  }
  return {};
}

}  // namespace orv::panel_tool
