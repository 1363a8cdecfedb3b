#pragma once

#include <windows.h>

#include <string>

#include "base/color.h"
#include "toolkit/font.h"
#include "toolkit/window.h"

namespace yomitron::toolkit {

class PopupMenu;

COLORREF ToColorRef(Color color);

// A control that paints all of itself through a memory bitmap: no background erase, no
// flicker.
class BufferedControl : public Control {
 protected:
  using Control::Control;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual void Paint(HDC dc, const RECT& client) = 0;
};

// A framed panel: a 2-pixel sunken edge, a 2-pixel raised bevel and a 1-pixel margin in its own
// colour, so its interior is its client area less 5 pixels on every side.
class Panel : public BufferedControl {
 public:
  static constexpr int kFrameWidth = 5;

  explicit Panel(Control& parent);
  Color color = clBtnFace;

 protected:
  RECT InteriorRect() const override;
  void Paint(HDC dc, const RECT& client) override;
};

// One line of text centred in its own font and colour on its own background. A real child
// window whose window text is the caption, so screen readers and other programs can read it.
class Label : public BufferedControl {
 public:
  explicit Label(Control& parent);

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& caption);
  Font& GetFont() { return font_; }
  const Font& GetFont() const { return font_; }
  Color GetColor() const { return color_; }
  void SetColor(Color color);
  // The menu a right click on the label opens.
  PopupMenu* popupMenu = nullptr;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc, const RECT& client) override;

 private:
  std::wstring caption_;
  Font font_;
  Color color_ = clBtnFace;
};

}  // namespace yomitron::toolkit
