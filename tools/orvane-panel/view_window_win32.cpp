// The viewer's window on Windows: a plain window of the system's own, its
// messages as the viewer's input, the picture (a DIB section the canvas
// drew with GDI+) copied into it with GDI.
#include <windows.h>
#include <windowsx.h>

#include <string>

#include "host/load/host_error.h"
#include "view_window.h"

namespace orv::panel_tool {

using host::ErrorKind;
using host::HostError;

namespace {

constexpr wchar_t kClassName[] = L"OrvanePanelView";

// Keys that give no character.
bool key_of_virtual(WPARAM vk, ViewKey& key) {
  switch (vk) {
    case VK_ESCAPE:
      key = ViewKey::escape;
      return true;
    case VK_SPACE:
      key = ViewKey::space;
      return true;
    case VK_BACK:
      key = ViewKey::backspace;
      return true;
    case VK_UP:
      key = ViewKey::up;
      return true;
    case VK_DOWN:
      key = ViewKey::down;
      return true;
    case VK_LEFT:
      key = ViewKey::left;
      return true;
    case VK_RIGHT:
      key = ViewKey::right;
      return true;
    case VK_PRIOR:
      key = ViewKey::page_up;
      return true;
    case VK_NEXT:
      key = ViewKey::page_down;
      return true;
    case VK_HOME:
      key = ViewKey::home;
      return true;
    case VK_END:
      key = ViewKey::end;
      return true;
    default:
      return false;
  }
}

// Keys by the character they type, whatever the keyboard's layout.
ViewKey key_of_character(wchar_t c) {
  switch (c) {
    case L'q':
    case L'Q':
      return ViewKey::q;
    case L'r':
    case L'R':
      return ViewKey::r;
    case L'.':
      return ViewKey::period;
    case L'+':
      return ViewKey::plus;
    case L'=':
      return ViewKey::equals;
    case L'-':
      return ViewKey::minus;
    case L'[':
      return ViewKey::left_bracket;
    case L']':
      return ViewKey::right_bracket;
    default:
      return ViewKey::other;
  }
}

HCURSOR make_arrow(bool up) {
  // Windows cursors are the system's size: the arrow at the top left, the
  // rest transparent (AND 1, XOR 0); the arrow's pixels AND 0, XOR 1 white.
  const int w = GetSystemMetrics(SM_CXCURSOR), h = GetSystemMetrics(SM_CYCURSOR);
  if (w < 16 || h < 16) return nullptr;
  const int row_bytes = (w + 15) / 16 * 2;
  std::string and_plane(static_cast<std::size_t>(row_bytes * h), '\xFF'), xor_plane(and_plane.size(), '\0');
  const ArrowCursor a = arrow_cursor(up);
  for (int y = 0; y < 16; ++y)
    for (int b = 0; b < 2; ++b) {
      const auto shape = a.shape[y * 2 + b], edge = a.edge[y * 2 + b];
      and_plane[static_cast<std::size_t>(y * row_bytes + b)] = static_cast<char>(~shape);
      xor_plane[static_cast<std::size_t>(y * row_bytes + b)] = static_cast<char>(shape & ~edge);
    }
  return CreateCursor(GetModuleHandleW(nullptr), a.hot_x, a.hot_y, w, h, and_plane.data(), xor_plane.data());
}

class Win32ViewWindow final : public ViewWindow {
 public:
  Win32ViewWindow() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32ViewWindow::procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = nullptr;  // the viewer sets the cursor itself
    wc.lpszClassName = kClassName;
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw HostError(ErrorKind::unavailable, "cannot open a window: the window class was refused (error " +
                                                  std::to_string(GetLastError()) + ")");
    cursors_[0] = LoadCursorA(nullptr, IDC_ARROW);
    cursors_[1] = make_arrow(true);
    cursors_[2] = make_arrow(false);
    cursors_[3] = LoadCursorA(nullptr, IDC_HAND);
    for (int i = 1; i < 3; ++i)
      if (cursors_[i] == nullptr) cursors_[i] = cursors_[0];
    current_ = cursors_[0];
  }
  ~Win32ViewWindow() override {
    if (window_ != nullptr) DestroyWindow(window_);
    for (int i = 1; i < 3; ++i)
      if (cursors_[i] != cursors_[0]) DestroyCursor(cursors_[i]);
    UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
  }

  void open(int w, int h) override {
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT r{0, 0, w, h};
    AdjustWindowRect(&r, kStyle, FALSE);
    window_ = CreateWindowExW(0, kClassName, L"orvane-panel view", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                              this);
    if (window_ == nullptr)
      throw HostError(ErrorKind::unavailable,
                      "cannot open a window (error " + std::to_string(GetLastError()) + ")");
    width_ = w;
    height_ = h;
    ShowWindow(window_, SW_SHOWNORMAL);
  }

  void poll(std::vector<ViewInput>& input) override {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) pending_.push_back(ViewInput{});
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    input.insert(input.end(), pending_.begin(), pending_.end());
    pending_.clear();
  }

  void show(render::Image& picture, ViewCursor cursor) override {
    picture_ = &picture;
    HCURSOR c = cursors_[static_cast<int>(cursor)];
    if (c != current_) {
      current_ = c;
      if (pointer_inside_) SetCursor(current_);
    }
    if (HDC dc = GetDC(window_); dc != nullptr) {
      paint(dc);
      ReleaseDC(window_, dc);
    }
  }

 private:
  void paint(HDC dc) const {
    if (picture_ == nullptr || picture_->data() == nullptr) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture_->width();
    info.bmiHeader.biHeight = -picture_->height();  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(picture_->width()), static_cast<DWORD>(picture_->height()),
                      0, 0, 0, static_cast<UINT>(picture_->height()), picture_->data(), &info,
                      DIB_RGB_COLORS);
  }

  void push(ViewInput in) { pending_.push_back(std::move(in)); }

  LRESULT message(UINT msg, WPARAM wp, LPARAM lp) {
    ViewInput in;
    switch (msg) {
      case WM_CLOSE:
        push(ViewInput{});
        return 0;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
        in.kind = ViewInput::Kind::click;
        in.x = GET_X_LPARAM(lp);
        in.y = GET_Y_LPARAM(lp);
        in.right = msg == WM_RBUTTONDOWN;
        push(in);
        return 0;
      case WM_MOUSEMOVE:
        if (!pointer_inside_) {
          // Asks for WM_MOUSELEAVE when the pointer leaves.
          TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
          TrackMouseEvent(&track);
          pointer_inside_ = true;
        }
        in.kind = ViewInput::Kind::move;
        in.x = GET_X_LPARAM(lp);
        in.y = GET_Y_LPARAM(lp);
        push(in);
        return 0;
      case WM_MOUSELEAVE:
        pointer_inside_ = false;
        in.kind = ViewInput::Kind::leave;
        push(in);
        return 0;
      case WM_KEYDOWN:
        if (key_of_virtual(wp, in.key)) {
          in.kind = ViewInput::Kind::key;
          push(in);
          return 0;
        }
        break;
      case WM_CHAR:
        // Control characters (Escape, Backspace) and the space came as keys.
        if (wp > L' ') {
          in.kind = ViewInput::Kind::key;
          in.key = key_of_character(static_cast<wchar_t>(wp));
          push(in);
        }
        return 0;
      case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
          SetCursor(current_);
          return TRUE;
        }
        break;
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        paint(dc);
        EndPaint(window_, &ps);
        return 0;
      }
      default:
        break;
    }
    return DefWindowProcW(window_, msg, wp, lp);
  }

  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* self = static_cast<Win32ViewWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      self->window_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32ViewWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self != nullptr ? self->message(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
  }

  HWND window_ = nullptr;
  int width_ = 0, height_ = 0;
  HCURSOR cursors_[4] = {};  // by ViewCursor
  HCURSOR current_ = nullptr;
  bool pointer_inside_ = false;
  render::Image* picture_ = nullptr;
  std::vector<ViewInput> pending_;
};

}  // namespace

std::unique_ptr<ViewWindow> start_view_window() { return std::make_unique<Win32ViewWindow>(); }

}  // namespace orv::panel_tool
