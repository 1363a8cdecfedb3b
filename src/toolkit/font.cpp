#include "toolkit/font.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "settings/font_size.h"
#include "toolkit/text.h"

namespace yomitron::toolkit {

int ScreenPixelsPerInch() {
  ScreenDc dc;
  const int ppi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
  return ppi > 0 ? ppi : 96;
}

LOGFONTW ToLogFont(const FontRequest& r) {
  LOGFONTW lf{};  // the face field starts all zero, so the copied name is always terminated
  lf.lfHeight = r.height;
  lf.lfWidth = r.width;
  lf.lfEscapement = r.escapement;
  lf.lfOrientation = r.orientation;
  lf.lfWeight = r.weight;
  lf.lfItalic = r.italic;
  lf.lfUnderline = r.underline;
  lf.lfStrikeOut = r.strikeOut;
  lf.lfCharSet = r.charset;
  lf.lfOutPrecision = r.outPrecision;
  lf.lfClipPrecision = r.clipPrecision;
  lf.lfQuality = r.quality;
  lf.lfPitchAndFamily = r.pitchAndFamily;
  const std::size_t n = std::min(r.faceName.size(), std::size(lf.lfFaceName) - 1);
  std::wmemcpy(lf.lfFaceName, r.faceName.data(), n);
  return lf;
}

Font::Font(const std::wstring& name, int height, FontStyles style, std::uint8_t charset,
           Color color)
    : name_(CutToCodePageBytes(name, kFaceNameBytes)),
      height_(height),
      style_(style),
      charset_(charset),
      color_(color) {
  Rebuild();
}

void Font::Assign(const Font& other) {
  name_ = other.name_;
  height_ = other.height_;
  style_ = other.style_;
  charset_ = other.charset_;
  pitch_ = other.pitch_;
  color_ = other.color_;
  Rebuild();
}

void Font::SetName(std::wstring_view name) {
  if (name.empty()) return;
  std::wstring cut = CutToCodePageBytes(name, kFaceNameBytes);
  if (cut == name_) return;
  name_ = std::move(cut);
  Rebuild();
}

void Font::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Rebuild();
}

int Font::Size() const {
  return SizeForHeight(height_, ScreenPixelsPerInch());
}

void Font::SetSize(int points) {
  SetHeight(HeightForSize(points, ScreenPixelsPerInch()));
}

void Font::SetStyle(FontStyles style) {
  style &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
  if (style == style_) return;
  style_ = style;
  Rebuild();
}

void Font::SetCharset(std::uint8_t charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Rebuild();
}

void Font::SetColor(Color color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

HFONT Font::Handle() const {
  return handle_ ? handle_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Font::Rebuild() {
  FontRequest r;
  r.height = height_;
  r.weight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
  r.italic = (style_ & fsItalic) ? 1 : 0;
  r.underline = (style_ & fsUnderline) ? 1 : 0;
  r.strikeOut = (style_ & fsStrikeOut) ? 1 : 0;
  r.charset = charset_;
  r.pitchAndFamily = pitch_;
  r.faceName = name_;
  const LOGFONTW lf = ToLogFont(r);
  handle_.reset(CreateFontIndirectW(&lf));
  Changed();
}

void Font::SetHandle(UniqueFont font) {
  LOGFONTW lf{};
  if (!font || GetObjectW(font.get(), sizeof lf, &lf) != sizeof lf) {
    // No font could be created: fall back to the default description.
    handle_.reset();
    Changed();
    return;
  }
  handle_ = std::move(font);
  name_ = std::wstring(lf.lfFaceName, wcsnlen(lf.lfFaceName, std::size(lf.lfFaceName)));
  height_ = lf.lfHeight;
  style_ = static_cast<FontStyles>(
      (lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic == 1 ? fsItalic : 0) |
      (lf.lfUnderline == 1 ? fsUnderline : 0) | (lf.lfStrikeOut == 1 ? fsStrikeOut : 0));
  charset_ = lf.lfCharSet;
  pitch_ = lf.lfPitchAndFamily & 3;
  Changed();
}

void Font::Changed() {
  if (OnChange) OnChange();
}

}  // namespace yomitron::toolkit
