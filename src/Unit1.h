#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/color.h"
#include "base/font_request.h"
#include "meter/meter.h"
#include "toolkit/application.h"
#include "toolkit/common_dialogs.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/menu.h"
#include "toolkit/timer.h"

namespace yomitron {

class IniDocument;

// Appearance defaults, used when the settings file has no entry and by the reset command.
inline constexpr int DefaultHeight = 108;
inline constexpr int DefaultWidth = 260;
inline constexpr std::wstring_view DefaultFontName = L"ＭＳ ゴシック";
inline constexpr std::wstring_view DefaultFontColor = L"clBlack";
inline constexpr std::wstring_view DefaultPanelColor = L"clBtnFace";
inline constexpr int DefaultFontSize = 26;
inline constexpr FontStyles DefaultFontStyle = fsBold;

inline constexpr std::wstring_view VersionText = L"V2.1";
inline constexpr std::wstring_view MainCaption = L"列車速度表示『ヨミトロン』";

// The main window: a framed panel filled by the readout, and the context menu that leads to
// every command. The components are declared in the order the window is made of.
class TForm1 : public toolkit::Form {
 public:
  // The settings file is the executable's path with ".ini" unless another is given.
  TForm1(toolkit::Application& application, MeterClock& clock, std::wstring settingsPath = {});
  ~TForm1() override;

  toolkit::Panel Panel1;
  toolkit::Label Label1;
  toolkit::PopupMenu PopupMenu1;
  toolkit::MenuItem File1, DeskTop1, StartUp1, Menu1, StayTop1, Help1, Help2, About1;
  toolkit::Timer Timer1;
  toolkit::MenuItem Clear1, N1;
  toolkit::FontDialog FontDialog1;
  toolkit::MenuItem Font1, N3, PanelColor1;
  toolkit::ColorDialog ColorDialog1;
  toolkit::MenuItem N2, Exit1, Minimize1, Reset1;

  void FormCreate(Object& sender);
  void Close1Click(Object& sender);
  void Minimize1Click(Object& sender);
  void DeskTop1Click(Object& sender);
  void StartUp1Click(Object& sender);
  void Menu1Click(Object& sender);
  void FormCloseQuery(Object& sender, bool& canClose);
  void StayTop1Click(Object& sender);
  void About1Click(Object& sender);
  void Help2Click(Object& sender);
  void Label1Click(Object& sender);
  void Timer1Timer(Object& sender);
  void Clear1Click(Object& sender);
  void FormKeyPress(Object& sender, wchar_t& key);
  void Font1Click(Object& sender);
  void PanelColor1Click(Object& sender);
  void FormResize(Object& sender);
  void Reset1Click(Object& sender);

  SpeedMeter& Meter() { return meter_; }
  const std::wstring& QuotedTitle() const { return quotedTitle_; }

 private:
  class MeterOutputs;

  void ApplySettings(const IniDocument& ini);
  void SaveSettings();

  toolkit::Application& application_;
  std::wstring settingsPath_;
  std::wstring quotedTitle_;
  std::unique_ptr<MeterOutputs> outputs_;
  SpeedMeter meter_;
};

}  // namespace yomitron
