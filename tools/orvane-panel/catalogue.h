// The gauge catalogue (docs/gauges.md): every gauge of a module with its
// picture, sizes, elements, the tokens it reads, its click and tooltip
// areas, the events it sends and the windows it opens, written by
// `orvane-panel info --catalogue DIR` as DIR/gauges.md and DIR/gauges/*.png.
#pragma once

#include <string>

#include "host/panel/host.h"

namespace orv::panel_tool {

// Writes the catalogue of `module` into `dir`, listing the files written.
void write_catalogue(host::Module& module, const std::string& dir);

}  // namespace orv::panel_tool
