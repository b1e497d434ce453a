// The files of the built-in panel besides its panel.cfg: the window
// background bitmaps the art generator draws (resources/artgen), built into
// the tool as the built-in panel is.
#pragma once

#include <string_view>

namespace orv::panel_tool {

// The bytes of file `name` of the built-in panel (letter case ignored, as
// Windows looks files up), or an empty view when it has none of that name.
std::string_view built_in_panel_file(std::string_view name);

}  // namespace orv::panel_tool
