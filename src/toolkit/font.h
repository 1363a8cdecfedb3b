#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "base/color.h"
#include "base/font_request.h"
#include "toolkit/handles.h"

namespace yomitron::toolkit {

// The screen's logical pixels per inch.
int ScreenPixelsPerInch();

LOGFONTW ToLogFont(const FontRequest& request);

// A font description (face, height, size, style, character set, colour) owning the platform
// font built from it. Changing the face, height, size, style or character set builds the font
// anew at its natural width; installing a handle adopts that font and reads the description
// back from it.
class Font {
 public:
  Font(const std::wstring& name, int height, FontStyles style, std::uint8_t charset, Color color);

  // Takes over another font's whole description and builds the platform font anew from it, at
  // its natural width.
  void Assign(const Font& other);

  const std::wstring& Name() const { return name_; }
  // Keeps at most 31 CP932 bytes, cut at a character boundary; the empty name changes nothing.
  void SetName(std::wstring_view name);
  int Height() const { return height_; }
  void SetHeight(int height);
  // Points, from the height: -(height * 72 / ppi), halves away from zero.
  int Size() const;
  void SetSize(int points);
  FontStyles Style() const { return style_; }
  void SetStyle(FontStyles style);
  std::uint8_t Charset() const { return charset_; }
  void SetCharset(std::uint8_t charset);
  std::uint8_t Pitch() const { return pitch_; }
  Color GetColor() const { return color_; }
  void SetColor(Color color);

  // The platform font; the system's default GUI font if none could be created.
  HFONT Handle() const;
  // Adopts a platform font and takes its description from it.
  void SetHandle(UniqueFont font);

  // Called after any change, to repaint what shows the font.
  std::function<void()> OnChange;

 private:
  void Rebuild();
  void Changed();

  std::wstring name_;
  int height_;
  FontStyles style_;
  std::uint8_t charset_;
  std::uint8_t pitch_ = 0;
  Color color_;
  UniqueFont handle_;
};

}  // namespace yomitron::toolkit
