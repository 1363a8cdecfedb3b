#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "base/color.h"
#include "toolkit/font.h"
#include "toolkit/window.h"

namespace yomitron::toolkit {

// Where both dialogs open: centred horizontally on the monitor that shows the owner, with a
// third of the free height above and two thirds below.
POINT DialogPosition(HWND owner, SIZE dialog);

// The font dialog: TrueType screen fonts of fixed pitch, with the effects (underline,
// strikeout, colour). It starts from its font and, on confirmation, gives it the chosen face,
// the height for the chosen size and the style; the colour only when the user changed it.
class FontDialog : public Object {
 public:
  FontDialog();
  Font font;

  // Shows the dialog, modal to the owner; true when the user confirmed.
  bool Execute(HWND owner);

  // Replaces the platform dialog (tests): the handler may change the font and returns whether
  // the dialog was confirmed.
  static void SetExecuteHandler(std::function<bool(FontDialog&, HWND)> handler);
};

// The colour dialog in its basic form, with the button that opens the custom colours. It starts
// from its colour as RGB; on confirmation its colour becomes the chosen plain RGB value and the
// custom colours are kept as edited, for the rest of the run.
class ColorDialog : public Object {
 public:
  Color color = clBlack;
  std::array<COLORREF, 16> customColors;

  ColorDialog() { customColors.fill(RGB(255, 255, 255)); }
  bool Execute(HWND owner);

  static void SetExecuteHandler(std::function<bool(ColorDialog&, HWND)> handler);
};

}  // namespace yomitron::toolkit
