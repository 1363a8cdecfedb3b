#include "toolkit/controls.h"

#include "toolkit/handles.h"
#include "toolkit/menu.h"

namespace yomitron::toolkit {

namespace {

const WindowClass kPanelClass{L"TPanel", CS_DBLCLKS, IDC_HAND};
const WindowClass kLabelClass{L"TLabel", CS_DBLCLKS, IDC_HAND};

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// Paints through a memory bitmap the size of the client area, then copies it in one go.
template <typename PaintFunction>
void PaintBuffered(HWND hwnd, PaintFunction paint) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client{};
  GetClientRect(hwnd, &client);
  const int w = client.right - client.left;
  const int h = client.bottom - client.top;
  if (dc && w > 0 && h > 0) {
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, w, h));
    if (memory && bitmap) {
      SelectedObject selected(memory.get(), bitmap.get());
      paint(memory.get(), client);
      BitBlt(dc, 0, 0, w, h, memory.get(), 0, 0, SRCCOPY);
    } else {
      paint(dc, client);
    }
  }
  EndPaint(hwnd, &ps);
}

void FillColor(HDC dc, const RECT& r, Color color) {
  UniqueBrush brush(CreateSolidBrush(ToColorRef(color)));
  FillRect(dc, &r, brush.get());
}

}  // namespace

COLORREF ToColorRef(Color color) {
  if (IsSystemColor(color)) return GetSysColor(SystemColorIndex(color));
  if (color == clDefault) return GetSysColor(COLOR_WINDOW);
  if (color == clNone) return GetSysColor(COLOR_BTNFACE);
  return color & 0x00FFFFFF;
}

Panel::Panel(Control& parent) : BufferedControl(&parent) {
  align = Align::Client;
  RECT r{};
  GetClientRect(parent.Handle(), &r);
  CreateHandle(kPanelClass, kChildStyle, 0, r, parent.Handle());
}

RECT Panel::InteriorRect() const {
  RECT r = Control::InteriorRect();
  InflateRect(&r, -kFrameWidth, -kFrameWidth);
  return r;
}

void Panel::Paint(HDC dc, const RECT& client) {
  RECT r = client;
  FillColor(dc, r, color);
  DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  // The raised bevel: highlight on the top and left, shadow on the bottom and right.
  for (int i = 0; i < 2 && r.right - r.left > 1 && r.bottom - r.top > 1; ++i) {
    FillColor(dc, {r.left, r.top, r.right, r.top + 1}, clBtnHighlight);
    FillColor(dc, {r.left, r.top, r.left + 1, r.bottom}, clBtnHighlight);
    FillColor(dc, {r.left, r.bottom - 1, r.right, r.bottom}, clBtnShadow);
    FillColor(dc, {r.right - 1, r.top, r.right, r.bottom}, clBtnShadow);
    InflateRect(&r, -1, -1);
  }
}

LRESULT BufferedControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintBuffered(Handle(), [this](HDC dc, const RECT& client) { Paint(dc, client); });
      return 0;
    default:
      return Control::WindowProc(message, wParam, lParam);
  }
}

Label::Label(Control& parent)
    : BufferedControl(&parent), font_(L"ＭＳ ゴシック", -37, fsBold, ANSI_CHARSET, clWindowText) {
  align = Align::Client;
  font_.OnChange = [this] {
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
  };
  RECT r{};
  GetClientRect(parent.Handle(), &r);
  CreateHandle(kLabelClass, kChildStyle, 0, r, parent.Handle());
}

void Label::SetCaption(const std::wstring& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  SetWindowTextW(Handle(), caption_.c_str());
  InvalidateRect(Handle(), nullptr, FALSE);
}

void Label::SetColor(Color color) {
  if (color == color_) return;
  color_ = color;
  InvalidateRect(Handle(), nullptr, FALSE);
}

void Label::Paint(HDC dc, const RECT& client) {
  FillColor(dc, client, color_);
  SelectedObject font(dc, font_.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(font_.GetColor()));
  RECT r = client;
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

LRESULT Label::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CONTEXTMENU:
      // Only a right click on the label opens the menu; the context-menu key (no position)
      // goes to the focused window, which has none.
      if (popupMenu && lParam != -1) {
        popupMenu->Popup(GetAncestor(Handle(), GA_ROOT), static_cast<short>(LOWORD(lParam)),
                         static_cast<short>(HIWORD(lParam)));
        return 0;
      }
      return 0;
    default:
      return BufferedControl::WindowProc(message, wParam, lParam);
  }
}

}  // namespace yomitron::toolkit
