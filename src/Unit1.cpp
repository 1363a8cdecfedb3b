#include "Unit1.h"

#include <windows.h>

#include <algorithm>
#include <exception>

#include "base/paths.h"
#include "settings/color_text.h"
#include "settings/ini_document.h"
#include "settings/int_text.h"
#include "shell/help.h"
#include "shell/shortcuts.h"
#include "toolkit/atomic_file.h"
#include "toolkit/text.h"

namespace yomitron {

using toolkit::MenuItem;
using toolkit::Object;

namespace {

// The window's client area before the stored geometry replaces it.
constexpr SIZE kDesignClientSize{252, 73};

const toolkit::WindowClass kFormClass{L"TForm1", CS_DBLCLKS, IDC_HAND};

// The context menu, top to bottom.
struct MenuEntry {
  MenuItem TForm1::*item;
  MenuItem TForm1::*parent;  // the submenu it belongs to, or none
  const wchar_t* caption;
  bool enabled;
  bool autoCheck;
  void (TForm1::*onClick)(Object&);
};

const MenuEntry kMenu[] = {
    {&TForm1::Clear1, nullptr, L"時刻を表示(&C)", false, false, &TForm1::Clear1Click},
    {&TForm1::Minimize1, nullptr, L"最小化(&M)", true, false, &TForm1::Minimize1Click},
    {&TForm1::N1, nullptr, L"-", true, false, nullptr},
    {&TForm1::Font1, nullptr, L"表示フォントを設定(&F)", true, false, &TForm1::Font1Click},
    {&TForm1::PanelColor1, nullptr, L"パネルの色を設定(&P)", true, false,
     &TForm1::PanelColor1Click},
    {&TForm1::StayTop1, nullptr, L"常に前面に表示(&D)", true, true, &TForm1::StayTop1Click},
    {&TForm1::Reset1, nullptr, L"初期設定に戻す(&R)", false, false, &TForm1::Reset1Click},
    {&TForm1::N3, nullptr, L"-", true, false, nullptr},
    {&TForm1::File1, nullptr, L"ショートカット作成(&S)", true, false, nullptr},
    {&TForm1::DeskTop1, &TForm1::File1, L"デスクトップに登録(&D)", true, false,
     &TForm1::DeskTop1Click},
    {&TForm1::StartUp1, &TForm1::File1, L"スタートアップに登録(&S)", true, false,
     &TForm1::StartUp1Click},
    {&TForm1::Menu1, &TForm1::File1, L"スタートメニューに登録(&M)", true, false,
     &TForm1::Menu1Click},
    {&TForm1::Help1, nullptr, L"ヘルプ(&H)", true, false, nullptr},
    {&TForm1::Help2, &TForm1::Help1, L"ヘルプ表示(&H)", true, false, &TForm1::Help2Click},
    {&TForm1::About1, &TForm1::Help1, L"バージョン情報(&A)", true, false, &TForm1::About1Click},
    {&TForm1::N2, nullptr, L"-", true, false, nullptr},
    {&TForm1::Exit1, nullptr, L"終了(&E)", true, false, &TForm1::Close1Click},
};

}  // namespace

// What the meter changes: the readout, the display timer's interval, the clear item.
class TForm1::MeterOutputs : public MeterDisplay {
 public:
  explicit MeterOutputs(TForm1& form) : form_(form) {}
  void SetReadout(const std::wstring& text) override { form_.Label1.SetCaption(text); }
  void SetTimerInterval(unsigned milliseconds) override { form_.Timer1.SetInterval(milliseconds); }
  void SetClearEnabled(bool enabled) override { form_.Clear1.enabled = enabled; }

 private:
  TForm1& form_;
};

TForm1::TForm1(toolkit::Application& application, MeterClock& clock, std::wstring settingsPath)
    : Form(kFormClass, std::wstring(MainCaption), kDesignClientSize, application.Handle()),
      Panel1(*this),
      Label1(Panel1),
      application_(application),
      settingsPath_(settingsPath.empty() ? ChangeExtension(toolkit::ModulePath(), L".ini")
                                         : std::move(settingsPath)),
      outputs_(std::make_unique<MeterOutputs>(*this)),
      meter_(clock, *outputs_) {
  for (const MenuEntry& entry : kMenu) {
    MenuItem& item = this->*entry.item;
    item.caption = entry.caption;
    item.enabled = entry.enabled;
    item.autoCheck = entry.autoCheck;
    if (entry.onClick)
      item.OnClick = [this, f = entry.onClick](Object& sender) { (this->*f)(sender); };
    (entry.parent ? this->*entry.parent : PopupMenu1.items).Add(item);
  }
  Label1.popupMenu = &PopupMenu1;

  OnCreate = [this](Object& sender) { FormCreate(sender); };
  OnCloseQuery = [this](Object& sender, bool& canClose) { FormCloseQuery(sender, canClose); };
  OnResize = [this](Object& sender) { FormResize(sender); };
  OnKeyPress = [this](Object& sender, wchar_t& key) { FormKeyPress(sender, key); };
  const auto tap = [this](Object& sender) { Label1Click(sender); };
  OnClick = tap;
  Panel1.OnClick = tap;
  Label1.OnClick = tap;
  Timer1.SetOnTimer([this](Object& sender) { Timer1Timer(sender); });

  DoCreate();
  Show();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate(Object&) {
  quotedTitle_ = L"『" + application_.Title() + L"』";
  // Whatever cannot be read reads as no file: the defaults.
  ApplySettings(IniDocument(toolkit::ReadWholeFile(settingsPath_).bytes));
  StayTop1Click(*this);
  Label1.SetCaption(meter_.ClockText());
}

void TForm1::ApplySettings(const IniDocument& ini) {
  using toolkit::FromCodePage;
  using toolkit::ToCodePage;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  // The default position centres the window's size at this moment, before the stored size.
  const int top = ini.ReadInteger("POSITION", "Top", (screenHeight - Height()) / 2);
  const int left = ini.ReadInteger("POSITION", "Left", (screenWidth - Width()) / 2);
  const int height = ini.ReadInteger("POSITION", "Height", DefaultHeight);
  const int width = ini.ReadInteger("POSITION", "Width", DefaultWidth);
  SetTop(top);
  SetLeft(left);
  SetHeight(height);
  SetWidth(width);
  // A place on a monitor that is no longer there would leave the window out of reach.
  const RECT placed{Left(), Top(), Left() + Width(), Top() + Height()};
  if (!MonitorFromRect(&placed, MONITOR_DEFAULTTONULL)) {
    SetTop((screenHeight - Height()) / 2);
    SetLeft((screenWidth - Width()) / 2);
  }

  toolkit::Font& font = Label1.GetFont();
  font.SetName(FromCodePage(ini.ReadString("FONT", "Name", ToCodePage(DefaultFontName))));
  font.SetSize(ini.ReadInteger("FONT", "Size", DefaultFontSize));
  font.SetStyle(StyleByte(ini.ReadInteger("FONT", "Style", DefaultFontStyle)));
  // An unusable colour is reported and keeps the window's initial colour; the other settings
  // still apply.
  const auto readColor = [&](const char* section, std::wstring_view fallback) {
    return StringToColor(FromCodePage(ini.ReadString(section, "Color", ToCodePage(fallback))));
  };
  try {
    font.SetColor(readColor("FONT", DefaultFontColor));
  } catch (const EConvertError& e) {
    application_.ShowException(e.Message());
  }
  try {
    Label1.SetColor(readColor("PANEL", DefaultPanelColor));
  } catch (const EConvertError& e) {
    application_.ShowException(e.Message());
  }
  StayTop1.checked = ini.ReadBool("OPTION", "StayOnTop", false);
}

void TForm1::FormCloseQuery(Object&, bool&) {
  // The window closes even when the save fails, so the program can always be ended and never
  // holds up a logoff; the user is told, and the old file stays as it was.
  try {
    SaveSettings();
  } catch (const Error& e) {
    application_.ShowException(e.Message());
  } catch (const std::exception&) {
    application_.ShowException(EIniFileException(settingsPath_).Message());
  }
}

void TForm1::SaveSettings() {
  using toolkit::ToCodePage;
  IniDocument ini(toolkit::ReadFileForRewrite(settingsPath_));
  const std::wstring executable = toolkit::ModulePath();
  const std::wstring_view name = FileNameOf(executable);

  ini.EraseSection("PROGRAM");
  ini.WriteString("PROGRAM", "Name", ToCodePage(name));
  ini.WriteString(
      "PROGRAM", "Path",
      ToCodePage(std::wstring_view(executable).substr(0, executable.size() - name.size())));
  ini.WriteString("PROGRAM", "Version", ToCodePage(VersionText));

  ini.EraseSection("POSITION");
  ini.WriteInteger("POSITION", "Top", std::max(Top(), 0));
  ini.WriteInteger("POSITION", "Left", std::max(Left(), 0));
  ini.WriteInteger("POSITION", "Height", Height());
  ini.WriteInteger("POSITION", "Width", Width());

  const toolkit::Font& font = Label1.GetFont();
  ini.EraseSection("FONT");
  ini.WriteString("FONT", "Name", ToCodePage(font.Name()));
  ini.WriteInteger("FONT", "Size", font.Size());
  ini.WriteInteger("FONT", "Style", font.Style());
  ini.WriteString("FONT", "Color", ToCodePage(ColorToString(font.GetColor())));

  ini.EraseSection("PANEL");
  ini.WriteString("PANEL", "Color", ToCodePage(ColorToString(Label1.GetColor())));

  ini.EraseSection("OPTION");
  ini.WriteBool("OPTION", "StayOnTop", StayTop1.checked);

  toolkit::SaveFileAtomically(settingsPath_, ini.Serialize());
}

void TForm1::DeskTop1Click(Object&) {
  shell::RegisterShortcut(shell::ShortcutFolder::Desktop, application_.Title(),
                          toolkit::ModulePath());
}

void TForm1::StartUp1Click(Object&) {
  shell::RegisterShortcut(shell::ShortcutFolder::Startup, application_.Title(),
                          toolkit::ModulePath());
}

void TForm1::Menu1Click(Object&) {
  shell::RegisterShortcut(shell::ShortcutFolder::Programs, application_.Title(),
                          toolkit::ModulePath());
}

void TForm1::Help2Click(Object&) {
  shell::OpenHelp(application_.Handle(), toolkit::ModulePath());
}

void TForm1::About1Click(Object&) {
  shell::ShowAbout(Handle(), quotedTitle_, VersionText, application_.Icon());
}

void TForm1::Close1Click(Object&) {
  Close();
}

void TForm1::Minimize1Click(Object&) {
  application_.Minimize();
}

void TForm1::StayTop1Click(Object&) {
  SetFormStyle(StayTop1.checked ? toolkit::FormStyle::StayOnTop : toolkit::FormStyle::Normal);
}

void TForm1::Label1Click(Object&) {
  meter_.Tap();
}

void TForm1::FormKeyPress(Object&, wchar_t& key) {
  meter_.Key(key);
}

void TForm1::Timer1Timer(Object&) {
  meter_.Tick();
}

void TForm1::Clear1Click(Object&) {
  meter_.Clear();
}

void TForm1::FormResize(Object&) {
  toolkit::Font& font = Label1.GetFont();
  const LOGFONTW request = toolkit::ToLogFont(
      ScaledFontRequest(Label1.Width(), Label1.Height(), font.Style(), font.Name()));
  font.SetHandle(toolkit::UniqueFont(CreateFontIndirectW(&request)));
  Reset1.enabled = true;
}

void TForm1::Font1Click(Object&) {
  // The dialog starts from the readout's face, height and style at their natural width, not
  // from the stretched font the scaling installed.
  FontDialog1.font.Assign(Label1.GetFont());
  if (!FontDialog1.Execute(Handle())) return;
  Label1.GetFont().Assign(FontDialog1.font);
  FormResize(*this);
}

void TForm1::PanelColor1Click(Object&) {
  ColorDialog1.color = Label1.GetColor();
  if (!ColorDialog1.Execute(Handle())) return;
  Label1.SetColor(ColorDialog1.color);
  FormResize(*this);
}

void TForm1::Reset1Click(Object&) {
  toolkit::Font& font = Label1.GetFont();
  font.SetName(DefaultFontName);
  font.SetColor(StringToColor(DefaultFontColor));
  font.SetStyle(0);
  Label1.SetColor(StringToColor(DefaultPanelColor));
  // Through the smallest height, so the font is rescaled even at the default size already.
  SetHeight(0);
  SetHeight(DefaultHeight);
  SetWidth(DefaultWidth);
  SetTop((GetSystemMetrics(SM_CYSCREEN) - Height()) / 2);
  SetLeft((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2);
  StayTop1.checked = false;
  StayTop1Click(*this);
  Reset1.enabled = false;
  Clear1Click(*this);
}

}  // namespace yomitron
