// The viewer's own cursors, the same for every window system.
#include "view_window.h"

namespace orv::panel_tool {

ArrowCursor arrow_cursor(bool up) {
  // A triangle head over a stem, white with a black edge.
  ArrowCursor a;
  for (int row = 0; row < 16; ++row) {
    const int r = up ? row : 15 - row;
    int half = row < 8 ? row : 2;  // head widens, then the stem
    if (row >= 14) half = -1;
    for (int x = 8 - half - 1; x <= 8 + half; ++x) {
      if (half < 0 || x < 0 || x > 15) continue;
      const bool edge = x == 8 - half - 1 || x == 8 + half || row == 7 || row == 13;
      a.shape[r * 2 + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
      if (edge) a.edge[r * 2 + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
    }
  }
  a.hot_y = up ? 0 : 15;
  return a;
}

}  // namespace orv::panel_tool
