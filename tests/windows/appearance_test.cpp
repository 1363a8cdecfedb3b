#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "toolkit/common_dialogs.h"
#include "ui_fixture.h"

namespace yomitron {
namespace {

using testing::MainWindowTest;
using testing::Ms;
using testing::PumpMessages;

LOGFONTW InstalledFont(const toolkit::Label& label) {
  LOGFONTW lf{};
  GetObjectW(label.GetFont().Handle(), sizeof lf, &lf);
  return lf;
}

bool Topmost(HWND hwnd) {
  return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

class AppearanceTest : public MainWindowTest {
 protected:
  void TearDown() override {
    toolkit::FontDialog::SetExecuteHandler(nullptr);
    toolkit::ColorDialog::SetExecuteHandler(nullptr);
    MainWindowTest::TearDown();
  }
};

TEST_F(AppearanceTest, TheFontDialogStartsFromTheReadoutAtItsNaturalWidth) {
  SetClientSize(300, 100);  // the readout now has a stretched, scaled font
  toolkit::Font& readout = form->Label1.GetFont();
  readout.SetStyle(fsItalic | fsBold);
  form->FormResize(*form);
  ASSERT_NE(InstalledFont(form->Label1).lfWidth, 0);
  std::optional<LOGFONTW> seen;
  toolkit::FontDialog::SetExecuteHandler([&](toolkit::FontDialog& dialog, HWND owner) {
    EXPECT_EQ(owner, form->Handle());
    EXPECT_EQ(dialog.font.Name(), readout.Name());
    EXPECT_EQ(dialog.font.Height(), readout.Height());
    EXPECT_EQ(dialog.font.Style(), fsItalic | fsBold);
    EXPECT_EQ(dialog.font.GetColor(), readout.GetColor());
    LOGFONTW lf{};
    GetObjectW(dialog.font.Handle(), sizeof lf, &lf);
    seen = lf;
    return false;
  });
  form->Font1Click(*form);
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->lfWidth, 0);
}

TEST_F(AppearanceTest, AConfirmedFontIsScaledToTheLabelWithItsFaceAndStyle) {
  SetClientSize(300, 100);
  form->Reset1.enabled = false;
  form->Label1.GetFont().SetColor(clWindowText);  // a system colour value, untouched below
  toolkit::FontDialog::SetExecuteHandler([](toolkit::FontDialog& dialog, HWND) {
    dialog.font.SetName(L"DejaVu Sans Mono");
    dialog.font.SetSize(48);  // a size has no lasting effect
    dialog.font.SetStyle(fsBold | fsUnderline);
    dialog.font.SetCharset(ANSI_CHARSET);
    return true;
  });
  form->Font1Click(*form);
  const LOGFONTW lf = InstalledFont(form->Label1);
  EXPECT_EQ(std::wstring(lf.lfFaceName), L"DejaVu Sans Mono");
  EXPECT_EQ(lf.lfHeight, form->Label1.Height() / 2);
  EXPECT_EQ(lf.lfWidth, form->Label1.Width() / 8);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_EQ(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(form->Label1.GetFont().GetColor(), clWindowText);
  EXPECT_TRUE(form->Reset1.enabled);
  // Bold stays bold through later resizes.
  SetClientSize(260, 90);
  EXPECT_EQ(InstalledFont(form->Label1).lfWeight, FW_BOLD);
}

TEST_F(AppearanceTest, ACancelledDialogChangesNothing) {
  form->Reset1.enabled = false;
  const HFONT font = form->Label1.GetFont().Handle();
  const Color color = form->Label1.GetColor();
  toolkit::FontDialog::SetExecuteHandler([](toolkit::FontDialog& dialog, HWND) {
    dialog.font.SetName(L"DejaVu Sans Mono");
    return false;
  });
  toolkit::ColorDialog::SetExecuteHandler([](toolkit::ColorDialog& dialog, HWND) {
    dialog.color = RGB(1, 2, 3);
    return false;
  });
  form->Font1Click(*form);
  form->PanelColor1Click(*form);
  EXPECT_EQ(form->Label1.GetFont().Handle(), font);
  EXPECT_EQ(form->Label1.GetFont().Name(), L"ＭＳ ゴシック");
  EXPECT_EQ(form->Label1.GetColor(), color);
  EXPECT_FALSE(form->Reset1.enabled);
}

TEST_F(AppearanceTest, AConfirmedPanelColourIsAppliedAndRescales) {
  form->Reset1.enabled = false;
  toolkit::ColorDialog::SetExecuteHandler([](toolkit::ColorDialog& dialog, HWND) {
    EXPECT_EQ(dialog.color, clBtnFace);
    dialog.color = RGB(0x12, 0x34, 0x56);
    return true;
  });
  form->PanelColor1Click(*form);
  EXPECT_EQ(form->Label1.GetColor(), RGB(0x12, 0x34, 0x56));
  EXPECT_TRUE(form->Reset1.enabled);
  EXPECT_NE(InstalledFont(form->Label1).lfWidth, 0);
}

TEST_F(AppearanceTest, ResetBringsEverythingBackToTheDefaults) {
  toolkit::Font& font = form->Label1.GetFont();
  font.SetStyle(fsBold | fsItalic);
  font.SetName(L"DejaVu Sans Mono");
  font.SetColor(RGB(255, 0, 0));
  form->Label1.SetColor(RGB(0, 0, 255));
  form->StayTop1.Click();
  ASSERT_TRUE(Topmost(form->Handle()));
  form->SetBounds(10, 20, 400, 200);
  clock.nowMs = Ms(12, 0, 4);
  form->Label1Click(*form);  // a tap: the clear item is enabled

  form->Reset1Click(*form);
  PumpMessages();
  EXPECT_EQ(font.Name(), L"ＭＳ ゴシック");
  EXPECT_EQ(font.Style(), 0);
  EXPECT_EQ(font.GetColor(), clBlack);
  EXPECT_EQ(form->Label1.GetColor(), clBtnFace);  // still the system colour value
  EXPECT_EQ(InstalledFont(form->Label1).lfWeight, FW_NORMAL);
  EXPECT_EQ(form->Width(), DefaultWidth);
  EXPECT_EQ(form->Height(), DefaultHeight);
  EXPECT_EQ(form->Top(), (GetSystemMetrics(SM_CYSCREEN) - DefaultHeight) / 2);
  EXPECT_EQ(form->Left(), (GetSystemMetrics(SM_CXSCREEN) - DefaultWidth) / 2);
  if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
    EXPECT_EQ(form->Top(), 330);
    EXPECT_EQ(form->Left(), 382);
  }
  EXPECT_FALSE(form->StayTop1.checked);
  EXPECT_FALSE(Topmost(form->Handle()));
  EXPECT_FALSE(form->Reset1.enabled);
  EXPECT_FALSE(form->Clear1.enabled);
  EXPECT_EQ(form->Label1.Caption(), L"12:00");
  EXPECT_EQ(form->Meter().State().LastTapTime, 0);
}

TEST_F(AppearanceTest, ResetAtTheDefaultsStillRescales) {
  form->Reset1Click(*form);
  const HFONT before = form->Label1.GetFont().Handle();
  form->Reset1Click(*form);
  EXPECT_NE(form->Label1.GetFont().Handle(), before);
  EXPECT_EQ(InstalledFont(form->Label1).lfHeight, form->Label1.Height() / 2);
  EXPECT_NE(InstalledFont(form->Label1).lfWidth, 0);
  EXPECT_FALSE(form->Reset1.enabled);
}

// --- The platform's own dialogs, confirmed by pressing OK from inside their modal loop ---------

struct OpenedDialog {
  HWND window = nullptr;
  RECT rect{};
};

OpenedDialog* g_opened = nullptr;

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM) {
  wchar_t cls[16]{};
  GetClassNameW(hwnd, cls, 16);
  if (IsWindowVisible(hwnd) && std::wstring(cls) == L"#32770") {
    g_opened->window = hwnd;
    GetWindowRect(hwnd, &g_opened->rect);
    return FALSE;
  }
  return TRUE;
}

void CALLBACK PressOk(HWND, UINT, UINT_PTR id, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), &FindDialog, 0);
  if (!g_opened->window) return;  // not up yet: try again on the next tick
  KillTimer(nullptr, id);
  PostMessageW(g_opened->window, WM_COMMAND, IDOK, 0);
}

class RealDialogTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    g_opened = &opened;
    timer = SetTimer(nullptr, 0, 200, &PressOk);
  }
  void TearDown() override {
    KillTimer(nullptr, timer);
    g_opened = nullptr;
    MainWindowTest::TearDown();
  }
  void ExpectPlaced() {
    ASSERT_NE(opened.window, nullptr);
    const SIZE size{opened.rect.right - opened.rect.left, opened.rect.bottom - opened.rect.top};
    const POINT expected = toolkit::DialogPosition(form->Handle(), size);
    EXPECT_EQ(opened.rect.left, expected.x);
    EXPECT_EQ(opened.rect.top, expected.y);
  }
  OpenedDialog opened;
  UINT_PTR timer = 0;
};

TEST_F(RealDialogTest, TheColourDialogTurnsASystemColourIntoPlainRgb) {
  ASSERT_EQ(form->Label1.GetColor(), clBtnFace);
  form->PanelColor1Click(*form);
  ExpectPlaced();
  EXPECT_EQ(form->Label1.GetColor(), GetSysColor(COLOR_BTNFACE));
  EXPECT_FALSE(IsSystemColor(form->Label1.GetColor()));
  EXPECT_TRUE(form->Reset1.enabled);
}

TEST_F(RealDialogTest, TheFontDialogConfirmsAndKeepsTheUntouchedColour) {
  form->Reset1.enabled = false;
  form->Label1.GetFont().SetColor(clWindowText);
  form->Font1Click(*form);
  ExpectPlaced();
  EXPECT_FALSE(form->Label1.GetFont().Name().empty());
  EXPECT_EQ(form->Label1.GetFont().GetColor(), clWindowText);
  EXPECT_EQ(form->Label1.GetFont().Style(), fsBold);
  EXPECT_EQ(InstalledFont(form->Label1).lfHeight, form->Label1.Height() / 2);
  EXPECT_TRUE(form->Reset1.enabled);
}

}  // namespace
}  // namespace yomitron
