#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/muldiv.h"
#include "toolkit/font.h"
#include "toolkit/menu.h"
#include "toolkit/text.h"
#include "ui_fixture.h"

namespace yomitron {
namespace {

using testing::MainWindowTest;
using testing::Ms;
using testing::PointParam;
using testing::PumpMessages;

RECT ClientRect(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[256]{};
  GetWindowTextW(hwnd, buffer, 256);
  return buffer;
}

LOGFONTW InstalledFont(const toolkit::Label& label) {
  LOGFONTW lf{};
  GetObjectW(label.GetFont().Handle(), sizeof lf, &lf);
  return lf;
}

// --- Layout --------------------------------------------------------------------------------

TEST_F(MainWindowTest, PanelFillsTheClientAreaAndTheLabelItsInterior) {
  for (const SIZE client : {SIZE{252, 81}, SIZE{400, 150}, SIZE{252, 73}}) {
    SetClientSize(client.cx, client.cy);
    const RECT c = ClientRect(form->Handle());
    const RECT panel = form->Panel1.BoundsInParent();
    EXPECT_EQ(panel.left, 0);
    EXPECT_EQ(panel.top, 0);
    EXPECT_EQ(panel.right, c.right);
    EXPECT_EQ(panel.bottom, c.bottom);
    const RECT label = form->Label1.BoundsInParent();
    EXPECT_EQ(label.left, 5);
    EXPECT_EQ(label.top, 5);
    EXPECT_EQ(label.right, c.right - 5);
    EXPECT_EQ(label.bottom, c.bottom - 5);
  }
}

TEST_F(MainWindowTest, CreationShowsTheClockAtTheDefaultGeometry) {
  EXPECT_EQ(form->Label1.Caption(), L"12:00");
  EXPECT_EQ(WindowText(form->Label1.Handle()), L"12:00");  // readable from outside
  EXPECT_EQ(WindowText(form->Handle()), L"列車速度表示『ヨミトロン』");
  EXPECT_EQ(form->Width(), DefaultWidth);
  EXPECT_EQ(form->Height(), DefaultHeight);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), application->Handle());
  // The stored font shows unscaled until the first resize after it was set.
  const toolkit::Font& font = form->Label1.GetFont();
  EXPECT_EQ(font.Name(), L"ＭＳ ゴシック");
  EXPECT_EQ(font.Size(), DefaultFontSize);
  EXPECT_EQ(font.Style(), fsBold);
  EXPECT_EQ(font.GetColor(), clBlack);
  EXPECT_EQ(form->Label1.GetColor(), clBtnFace);
  EXPECT_EQ(InstalledFont(form->Label1).lfWidth, 0);
  EXPECT_EQ(form->Timer1.Interval(), ClockPeriodMs);
  EXPECT_TRUE(form->Timer1.Running());
}

TEST_F(MainWindowTest, TheApplicationWindowCarriesTheTitle) {
  EXPECT_EQ(WindowText(application->Handle()), L"ヨミトロン");
}

// --- The context menu ----------------------------------------------------------------------

struct ExpectedItem {
  int depth;
  const wchar_t* caption;  // nullptr for a separator
  bool enabled;
  bool checked;
};

void CollectMenu(HMENU menu, int depth, std::vector<ExpectedItem>& out,
                 std::vector<std::wstring>& texts) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
    if (state & MF_SEPARATOR) {
      out.push_back({depth, nullptr, true, false});
      continue;
    }
    wchar_t text[128]{};
    GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
    texts.emplace_back(text);
    out.push_back({depth, nullptr, !(state & MF_GRAYED), (state & MF_CHECKED) != 0});
    if (HMENU sub = GetSubMenu(menu, i)) CollectMenu(sub, depth + 1, out, texts);
  }
}

TEST_F(MainWindowTest, MenuHasEveryItemInOrderWithItsStateAtCreation) {
  // The default size differs from the design size, so creation's resize enabled the reset.
  const std::vector<ExpectedItem> expected = {
      {0, L"時刻を表示(&C)", false, false},
      {0, L"最小化(&M)", true, false},
      {0, nullptr, true, false},
      {0, L"表示フォントを設定(&F)", true, false},
      {0, L"パネルの色を設定(&P)", true, false},
      {0, L"常に前面に表示(&D)", true, false},
      {0, L"初期設定に戻す(&R)", true, false},
      {0, nullptr, true, false},
      {0, L"ショートカット作成(&S)", true, false},
      {1, L"デスクトップに登録(&D)", true, false},
      {1, L"スタートアップに登録(&S)", true, false},
      {1, L"スタートメニューに登録(&M)", true, false},
      {0, L"ヘルプ(&H)", true, false},
      {1, L"ヘルプ表示(&H)", true, false},
      {1, L"バージョン情報(&A)", true, false},
      {0, nullptr, true, false},
      {0, L"終了(&E)", true, false},
  };
  std::vector<toolkit::MenuItem*> commands;
  const toolkit::UniqueMenu menu = form->PopupMenu1.Build(commands);
  std::vector<ExpectedItem> actual;
  std::vector<std::wstring> texts;
  CollectMenu(menu.get(), 0, actual, texts);
  ASSERT_EQ(actual.size(), expected.size());
  std::size_t text = 0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(actual[i].depth, expected[i].depth);
    if (expected[i].caption == nullptr) {
      EXPECT_EQ(actual[i].caption, nullptr);
      continue;
    }
    EXPECT_EQ(texts[text++], expected[i].caption);
    EXPECT_EQ(actual[i].enabled, expected[i].enabled);
    EXPECT_EQ(actual[i].checked, expected[i].checked);
  }
  EXPECT_EQ(commands.size(), 12u);  // every item but separators and submenu heads
}

TEST_F(MainWindowTest, OnlyARightClickOnTheLabelOpensTheMenu) {
  const int& opened = menusOpened;
  RECT label{};
  GetWindowRect(form->Label1.Handle(), &label);
  SendMessageW(form->Label1.Handle(), WM_CONTEXTMENU,
               reinterpret_cast<WPARAM>(form->Label1.Handle()),
               PointParam(label.left + 10, label.top + 10));
  EXPECT_EQ(opened, 1);
  // The context-menu key sends no position; the frame and the window have no menu.
  SendMessageW(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()), -1);
  SendMessageW(form->Label1.Handle(), WM_CONTEXTMENU,
               reinterpret_cast<WPARAM>(form->Label1.Handle()), -1);
  SendMessageW(form->Panel1.Handle(), WM_CONTEXTMENU,
               reinterpret_cast<WPARAM>(form->Panel1.Handle()),
               PointParam(label.left - 2, label.top - 2));
  EXPECT_EQ(opened, 1);
}

TEST_F(MainWindowTest, ChoosingAnItemFromTheMenuRunsIt) {
  // The menu's commands are numbered in order; pick the clear command by its caption.
  toolkit::PopupMenu::SetTrackHandler([](HMENU menu, HWND) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t text[64]{};
      GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
      if (std::wstring(text) == L"時刻を表示(&C)") return GetMenuItemID(menu, i);
    }
    return 0u;
  });
  clock.nowMs = Ms(12, 0, 1);
  form->Label1Click(*form);
  EXPECT_TRUE(form->Clear1.enabled);
  form->PopupMenu1.Popup(form->Handle(), 0, 0);
  EXPECT_FALSE(form->Clear1.enabled);
  EXPECT_EQ(form->Label1.Caption(), L"12 00");
  // A disabled item does nothing even when the menu returns it.
  form->Label1.SetCaption(L"x");
  form->PopupMenu1.Popup(form->Handle(), 0, 0);
  EXPECT_EQ(form->Label1.Caption(), L"x");
}

// --- Clicks and keys -----------------------------------------------------------------------

class ClickTest : public MainWindowTest {
 protected:
  // Each message a millisecond later, so every tap has an interval to divide by.
  void Send(HWND hwnd, UINT message, int x, int y) {
    clock.nowMs += 1000;
    SendMessageW(hwnd, message, message == WM_RBUTTONDOWN ? MK_RBUTTON : 0, PointParam(x, y));
  }
  std::int64_t LastTapMs() const { return IntervalMs(form->Meter().State().LastTapTime, 0); }
};

TEST_F(ClickTest, PressAndReleaseInsideTapsOnRelease) {
  const HWND label = form->Label1.Handle();
  Send(label, WM_LBUTTONDOWN, 20, 20);
  EXPECT_EQ(form->Meter().State().LastTapTime, 0);
  Send(label, WM_LBUTTONUP, 21, 20);
  EXPECT_EQ(LastTapMs(), clock.nowMs);
  EXPECT_EQ(form->Label1.Caption(), L"  0Km/h");
  Send(label, WM_LBUTTONDOWN, 20, 20);
  Send(label, WM_LBUTTONUP, 20, 20);
  EXPECT_EQ(form->Label1.Caption(), L" 45Km/h");  // two seconds later
}

TEST_F(ClickTest, TheFrameTapsToo) {
  Send(form->Panel1.Handle(), WM_LBUTTONDOWN, 2, 2);
  Send(form->Panel1.Handle(), WM_LBUTTONUP, 2, 2);
  EXPECT_EQ(LastTapMs(), clock.nowMs);
}

TEST_F(ClickTest, ReleaseOutsideADoubleClickAndTheRightButtonDoNotTap) {
  const HWND label = form->Label1.Handle();
  Send(label, WM_LBUTTONDOWN, 20, 20);
  Send(label, WM_LBUTTONUP, -30, 20);  // dragged off the label
  Send(label, WM_LBUTTONDBLCLK, 20, 20);
  Send(label, WM_LBUTTONUP, 20, 20);
  Send(label, WM_RBUTTONDOWN, 20, 20);
  Send(label, WM_RBUTTONUP, 20, 20);
  EXPECT_EQ(form->Meter().State().LastTapTime, 0);
  EXPECT_EQ(menusOpened, 1);  // the right click opened the menu instead
  // The press after a double click counts again.
  Send(label, WM_LBUTTONDOWN, 20, 20);
  Send(label, WM_LBUTTONUP, 20, 20);
  EXPECT_EQ(LastTapMs(), clock.nowMs);
}

TEST_F(ClickTest, TypedCharactersReachTheMeterButTabDoesNot) {
  clock.nowMs = Ms(12, 0, 5);
  SendMessageW(form->Handle(), WM_CHAR, L'\t', 0);
  EXPECT_EQ(form->Meter().State().LastTapTime, 0);
  SendMessageW(form->Handle(), WM_CHAR, L'a', 0);
  EXPECT_EQ(LastTapMs(), Ms(12, 0, 5));
  clock.nowMs = Ms(12, 0, 7);
  SendMessageW(form->Handle(), WM_CHAR, L' ', 0);
  EXPECT_EQ(form->Label1.Caption(), L" 45Km/h");
  SendMessageW(form->Handle(), WM_CHAR, 27, 0);
  EXPECT_EQ(form->Label1.Caption(), L"12 00");  // an odd second
  EXPECT_FALSE(form->Clear1.enabled);
}

// --- The default error report --------------------------------------------------------------

TEST_F(ClickTest, ATapInTheSameMillisecondIsReportedAndTheWindowGoesOn) {
  clock.nowMs = Ms(12, 0, 5);
  SendMessageW(form->Handle(), WM_CHAR, L'a', 0);
  SendMessageW(form->Handle(), WM_CHAR, L'a', 0);  // the same millisecond
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"0 による浮動小数点数除算.");
  EXPECT_EQ(boxes[0].caption, L"ヨミトロン");
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_EQ(form->Label1.Caption(), L"  0Km/h");
  clock.nowMs = Ms(12, 0, 7);
  SendMessageW(form->Handle(), WM_CHAR, L'a', 0);
  EXPECT_EQ(form->Label1.Caption(), L" 45Km/h");
}

TEST(ErrorReportTextTest, AddsAFullStopAfterAnythingAboveIt) {
  const struct {
    const wchar_t* message;
    const wchar_t* report;
  } cases[] = {
      {L"タイマーを取得できません", L"タイマーを取得できません."},
      {L"done.", L"done."},
      {L"a-", L"a-"},  // "-" lies below "."
      {L"abc", L"abc."},
      {L"1/2", L"1/2."},  // "/" lies above "."
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(toolkit::ErrorReportText(c.message), c.report);
}

// --- Font scaling --------------------------------------------------------------------------

TEST_F(MainWindowTest, ResizeScalesTheReadoutToTheLabel) {
  SetClientSize(252, 73);
  ASSERT_EQ(form->Label1.Width(), 242);
  ASSERT_EQ(form->Label1.Height(), 63);
  const LOGFONTW lf = InstalledFont(form->Label1);
  EXPECT_EQ(lf.lfHeight, 31);
  EXPECT_EQ(lf.lfWidth, 30);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(lf.lfPitchAndFamily, 0);
  EXPECT_EQ(std::wstring(lf.lfFaceName), L"ＭＳ ゴシック");
  const toolkit::Font& font = form->Label1.GetFont();
  EXPECT_EQ(font.Height(), 31);
  EXPECT_EQ(font.Size(), -MulDiv(31, 72, toolkit::ScreenPixelsPerInch()).value());
  if (toolkit::ScreenPixelsPerInch() == 96) {
    EXPECT_EQ(font.Size(), -23);
  }
  EXPECT_EQ(font.Charset(), 128);
  EXPECT_TRUE(form->Reset1.enabled);
}

struct LabelSizeCase {
  int width, height;
  int requestWidth, requestHeight;
};

TEST_F(MainWindowTest, TinyLabelsAskForDefaultHeightAndNaturalWidth) {
  const LabelSizeCase cases[] = {
      {242, 63, 30, 31}, {100, 1, 12, 0}, {7, 60, 0, 30}, {8, 54, 1, 27}, {1, 1, 0, 0}};
  for (const auto& c : cases) {
    SetWindowPos(form->Label1.Handle(), nullptr, 5, 5, c.width, c.height, SWP_NOZORDER);
    form->FormResize(*form);
    const LOGFONTW lf = InstalledFont(form->Label1);
    EXPECT_EQ(lf.lfWidth, c.requestWidth) << c.width;
    EXPECT_EQ(lf.lfHeight, c.requestHeight) << c.height;
  }
}

TEST_F(MainWindowTest, ResizeCarriesEveryStyleAndAlwaysUsesTheJapaneseCharset) {
  toolkit::Font& font = form->Label1.GetFont();
  const FontStyles styles[] = {
      0, fsBold, fsItalic, fsUnderline, fsStrikeOut, fsBold | fsItalic | fsUnderline | fsStrikeOut};
  for (const FontStyles style : styles) {
    font.SetStyle(style);
    font.SetCharset(ANSI_CHARSET);
    for (int run = 0; run < 3; ++run) form->FormResize(*form);
    const LOGFONTW lf = InstalledFont(form->Label1);
    EXPECT_EQ(lf.lfWeight, (style & fsBold) ? FW_BOLD : FW_NORMAL) << int(style);
    EXPECT_EQ(lf.lfItalic, (style & fsItalic) ? 1 : 0);
    EXPECT_EQ(lf.lfUnderline, (style & fsUnderline) ? 1 : 0);
    EXPECT_EQ(lf.lfStrikeOut, (style & fsStrikeOut) ? 1 : 0);
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(font.Style(), style);
    EXPECT_EQ(font.Charset(), 128);
  }
}

TEST_F(MainWindowTest, FaceNamesKeepAtMost31Cp932Bytes) {
  const struct {
    std::wstring name;
    std::wstring kept;
  } cases[] = {
      {L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde", L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde"},  // 31 bytes
      {L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef", L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde"},
      {L"あいうえおかきくけこさしすせそA", L"あいうえおかきくけこさしすせそA"},  // 31 bytes
      // 32 bytes of double-byte characters: cut before the last one, never inside it.
      {L"あいうえおかきくけこさしすせそた", L"あいうえおかきくけこさしすせそ"},
  };
  toolkit::Font& font = form->Label1.GetFont();
  for (const auto& c : cases) {
    font.SetName(c.name);
    EXPECT_EQ(font.Name(), c.kept);
    EXPECT_LE(toolkit::ToCodePage(font.Name()).size(), 31u);
    form->FormResize(*form);
    const LOGFONTW lf = InstalledFont(form->Label1);
    EXPECT_EQ(std::wstring(lf.lfFaceName), c.kept);
    EXPECT_EQ(font.Name(), c.kept);
  }
  font.SetName(L"");  // the empty name leaves the face
  EXPECT_EQ(font.Name(), cases[3].kept);
}

TEST_F(MainWindowTest, EveryReplacedFontIsReleased) {
  std::vector<HFONT> replaced;
  for (int i = 0; i < 500; ++i) {
    replaced.push_back(form->Label1.GetFont().Handle());
    SetClientSize(200 + i % 50, 60 + i % 30);
    if (i % 7 == 0) form->FormResize(*form);  // same size twice: still a new font
  }
  const HFONT current = form->Label1.GetFont().Handle();
  int alive = 0;
  for (HFONT f : replaced) alive += (f != current && GetObjectType(f) != 0) ? 1 : 0;
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(GetObjectType(current), static_cast<DWORD>(OBJ_FONT));
}

TEST_F(MainWindowTest, MovingTheWindowDoesNotRescale) {
  form->Reset1.enabled = false;
  const HFONT before = form->Label1.GetFont().Handle();
  form->SetBounds(form->Left() + 30, form->Top() + 20, form->Width(), form->Height());
  PumpMessages();
  EXPECT_EQ(form->Label1.GetFont().Handle(), before);
  EXPECT_FALSE(form->Reset1.enabled);
}

// --- The simple commands -------------------------------------------------------------------

bool Topmost(HWND hwnd) {
  return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST_F(MainWindowTest, StayOnTopFollowsTheCheckBothWays) {
  form->Reset1.enabled = false;
  const RECT before{form->Left(), form->Top(), form->Width(), form->Height()};
  form->StayTop1.Click();
  EXPECT_TRUE(form->StayTop1.checked);
  EXPECT_TRUE(Topmost(form->Handle()));
  form->StayTop1.Click();
  EXPECT_FALSE(form->StayTop1.checked);
  EXPECT_FALSE(Topmost(form->Handle()));
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), application->Handle());  // owner given back
  const RECT after{form->Left(), form->Top(), form->Width(), form->Height()};
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_FALSE(form->Reset1.enabled);
}

TEST_F(MainWindowTest, MinimiseHidesTheWindowAndRestoreBringsItBackUnchanged) {
  clock.nowMs = Ms(12, 0, 3);
  form->Label1Click(*form);
  const RECT before{form->Left(), form->Top(), form->Width(), form->Height()};
  form->Minimize1.Click();
  PumpMessages();
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(application->Minimized());
  SendMessageW(application->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  PumpMessages();
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_FALSE(application->Minimized());
  const RECT after{form->Left(), form->Top(), form->Width(), form->Height()};
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_EQ(form->Label1.Caption(), L"  0Km/h");
}

TEST_F(MainWindowTest, TheWindowsOwnMinimiseButtonMinimisesTheApplication) {
  SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  PumpMessages();
  EXPECT_TRUE(application->Minimized());
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_FALSE(IsIconic(form->Handle()));  // no stray icon of an owned window
  SendMessageW(application->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  PumpMessages();
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(MainWindowTest, ExitClosesTheWindowAfterTheCloseQuery) {
  int closed = 0;
  form->OnClosed = [&](toolkit::Object&) { ++closed; };
  form->Exit1.Click();
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(MainWindowTest, TheCloseBoxGoesTheSameWay) {
  int closed = 0;
  form->OnClosed = [&](toolkit::Object&) { ++closed; };
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(closed, 1);
}

// --- The timer -----------------------------------------------------------------------------

TEST_F(MainWindowTest, ARefusedTimerIsReportedAndStaysStoppedUntilTheNextChange) {
  toolkit::Timer::SetCreateHandler([](HWND, UINT_PTR, UINT) { return false; });
  clock.nowMs = Ms(12, 0, 3);
  SendMessageW(form->Handle(), WM_CHAR, L'a', 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"タイマーを取得できません.");
  EXPECT_FALSE(form->Timer1.Running());
  EXPECT_FALSE(form->Clear1.enabled);  // the rest of the tap did not run
  toolkit::Timer::SetCreateHandler(nullptr);
  clock.nowMs = Ms(12, 0, 5);
  SendMessageW(form->Handle(), WM_CHAR, L'a', 0);  // the same 10 s: no change, still stopped
  EXPECT_FALSE(form->Timer1.Running());
  form->Clear1Click(*form);  // 1000 ms is a change: the timer runs again
  EXPECT_TRUE(form->Timer1.Running());
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(MainWindowTest, TicksArriveFromTheSystemTimer) {
  form->Label1.SetCaption(L"");
  clock.nowMs = Ms(12, 0, 3);
  const DWORD start = GetTickCount();
  while (form->Label1.Caption().empty() && GetTickCount() - start < 5000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    PumpMessages();
  }
  EXPECT_EQ(form->Label1.Caption(), L"12 00");
}

}  // namespace
}  // namespace yomitron
