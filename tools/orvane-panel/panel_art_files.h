// The table the art generator writes for the built-in panel's files
// (build/.../resources/orvane_panel_art.cpp); read through panel_art.h.
#pragma once

namespace orv::panel_tool {

struct PanelArtFile {
  const char* name;
  unsigned size;
  const char* bytes;
};
extern const PanelArtFile kPanelArtFiles[];
extern const unsigned kPanelArtFileCount;

}  // namespace orv::panel_tool
