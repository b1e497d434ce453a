// The viewer's window on Windows, run under Wine on Xvfb by the native test
// suite (view_under_wine.sh): the system's messages (keys by virtual key and
// by character, clicks, pointer moves and leaves, closing) become the
// viewer's input in order, and a picture shown lands in the window.
//
// Returns 0 when every check holds; prints each failed check.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "../support/plain_check.h"
#include "host/render/canvas.h"
#include "view_window.h"

namespace {

using plain_check::failures;

using orv::panel_tool::ViewInput;
using orv::panel_tool::ViewKey;
using Kind = ViewInput::Kind;

struct Want {
  Kind kind;
  ViewKey key;
  int x, y;
  bool right;
};

}  // namespace

int main() {
  try {
    auto window = orv::panel_tool::start_view_window();
    window->open(64, 48);
    HWND hwnd = FindWindowW(L"OrvanePanelView", nullptr);
    CHECK(hwnd != nullptr);
    // A picture of one colour, shown and read back from the window.
    orv::render::Image picture(64, 48, orv::render::PixelFormat::rgb);
    {
      orv::render::Canvas canvas(picture);
      canvas.paint({1.0, 0.0, 0.0});
    }
    picture.flush();
    window->show(picture, orv::panel_tool::ViewCursor::hand);
    if (HDC dc = GetDC(hwnd); dc != nullptr) {
      CHECK(GetPixel(dc, 10, 10) == RGB(255, 0, 0));
      ReleaseDC(hwnd, dc);
    }

    struct Message {
      UINT msg;
      WPARAM wp;
      LPARAM lp;
    };
    const Message sent[] = {
        {WM_KEYDOWN, VK_PRIOR, 0},
        {WM_KEYDOWN, VK_SPACE, 0},
        {WM_CHAR, L' ', 0},
        {WM_CHAR, L'+', 0},
        {WM_CHAR, L'Q', 0},
        {WM_CHAR, L'x', 0},
        {WM_KEYDOWN, VK_BACK, 0},
        {WM_CHAR, 8, 0},
        {WM_LBUTTONDOWN, 0, MAKELPARAM(5, 7)},
        {WM_RBUTTONDOWN, 0, MAKELPARAM(30, 40)},
        {WM_MOUSEMOVE, 0, MAKELPARAM(12, 13)},
        {WM_MOUSELEAVE, 0, 0},
        {WM_CLOSE, 0, 0},
    };
    for (const Message& m : sent) PostMessageW(hwnd, m.msg, m.wp, m.lp);
    std::vector<ViewInput> got;
    for (int i = 0; i < 50 && (got.empty() || got.back().kind != Kind::quit); ++i) {
      window->poll(got);
      Sleep(10);
    }
    // A space and a backspace come once (as keys, not again as characters).
    const Want wanted[] = {
        {Kind::key, ViewKey::page_up, 0, 0, false},  {Kind::key, ViewKey::space, 0, 0, false},
        {Kind::key, ViewKey::plus, 0, 0, false},     {Kind::key, ViewKey::q, 0, 0, false},
        {Kind::key, ViewKey::other, 0, 0, false},    {Kind::key, ViewKey::backspace, 0, 0, false},
        {Kind::click, ViewKey::other, 5, 7, false},  {Kind::click, ViewKey::other, 30, 40, true},
        {Kind::move, ViewKey::other, 12, 13, false}, {Kind::leave, ViewKey::other, 0, 0, false},
        {Kind::quit, ViewKey::other, 0, 0, false},
    };
    // The system may add leaves of its own (the real pointer is elsewhere).
    std::vector<ViewInput> input;
    for (const ViewInput& in : got)
      if (in.kind != Kind::leave || (!input.empty() && input.back().kind == Kind::move)) input.push_back(in);
    CHECK(input.size() == sizeof wanted / sizeof wanted[0]);
    if (input.size() != sizeof wanted / sizeof wanted[0])
      for (const ViewInput& in : got)
        std::printf("got kind %d key %d at %d,%d\n", static_cast<int>(in.kind), static_cast<int>(in.key),
                    in.x, in.y);
    for (std::size_t i = 0; i < input.size() && i < sizeof wanted / sizeof wanted[0]; ++i) {
      const Want& w = wanted[i];
      const ViewInput& in = input[i];
      const bool ok =
          in.kind == w.kind && in.key == w.key && in.x == w.x && in.y == w.y && in.right == w.right;
      if (!ok)
        std::printf("input %zu: kind %d key %d at %d,%d right %d\n", i, static_cast<int>(in.kind),
                    static_cast<int>(in.key), in.x, in.y, in.right ? 1 : 0);
      CHECK(ok);
    }
  } catch (const std::exception& e) {
    std::printf("FAILED: %s\n", e.what());
    return 1;
  }
  if (failures == 0) std::printf("view window: all checks hold\n");
  return failures == 0 ? 0 : 1;
}
