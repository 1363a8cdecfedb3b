#include "Unit1.h"

#include <windows.h>

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
    {&TForm1::DeskTop1, &TForm1::File1, L"デスクトップに登録(&D)", true, false, nullptr},
    {&TForm1::StartUp1, &TForm1::File1, L"スタートアップに登録(&S)", true, false, nullptr},
    {&TForm1::Menu1, &TForm1::File1, L"スタートメニューに登録(&M)", true, false, nullptr},
    {&TForm1::Help1, nullptr, L"ヘルプ(&H)", true, false, nullptr},
    {&TForm1::Help2, &TForm1::Help1, L"ヘルプ表示(&H)", true, false, nullptr},
    {&TForm1::About1, &TForm1::Help1, L"バージョン情報(&A)", true, false, nullptr},
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

TForm1::TForm1(toolkit::Application& application, MeterClock& clock)
    : Form(kFormClass, std::wstring(MainCaption), kDesignClientSize, application.Handle()),
      Panel1(*this),
      Label1(Panel1),
      application_(application),
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
  // The default position centres the window's initial size on the primary screen.
  SetTop((GetSystemMetrics(SM_CYSCREEN) - Height()) / 2);
  SetLeft((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2);
  SetHeight(DefaultHeight);
  SetWidth(DefaultWidth);
  toolkit::Font& font = Label1.GetFont();
  font.SetName(DefaultFontName);
  font.SetSize(DefaultFontSize);
  font.SetStyle(DefaultFontStyle);
  font.SetColor(clBlack);
  Label1.SetColor(clBtnFace);
  StayTop1.checked = false;
  StayTop1Click(*this);
  Label1.SetCaption(meter_.ClockText());
}

void TForm1::FormCloseQuery(Object&, bool&) {}

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
  font.SetColor(clBlack);
  font.SetStyle(0);
  Label1.SetColor(clBtnFace);
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
