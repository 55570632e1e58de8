// The progress window of the transfers and the About box, from their resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/main_window.h"
#include "ui/progress.h"
#include "ui/resources/resource.h"
#include "ui_support.h"

namespace {

void ExpectClientSize(HWND dialog, int width, int height) {
  const DialogPlace expected = DialogUnitsToPixels(dialog, 0, 0, width, height);
  RECT client = {};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, expected.width);
  EXPECT_EQ(client.bottom, expected.height);
}

// Dispatches as the transfers' waits do while the progress window exists: the
// dialog manager gets the first look at every message.
void PumpThroughProgressWindow(DWORD maxMs) {
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < maxMs) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      HWND progress = ProgressWindow();
      if (progress != nullptr && IsDialogMessageA(progress, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

class ProgressWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    OpenProgressWindow();
    window_ = ProgressWindow();
    ASSERT_NE(window_, nullptr);
    PumpUntilIdle();
  }
  void TearDown() override {
    CloseProgressWindow();
    PumpUntilIdle();
  }
  HWND window_ = nullptr;
};

TEST_F(ProgressWindowTest, ShowsInitializingInATopmostBoxWithoutCloseBox) {
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_EQ(WindowText(window_), kAppTitle);
  EXPECT_EQ(WindowText(GetDlgItem(window_, IDC_PROGRESS_TEXT)), "Initializing...");
  EXPECT_EQ(GetWindow(window_, GW_OWNER), MainWindow());
  const LONG style = GetWindowLongA(window_, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(style & WS_SYSMENU, 0);   // no system menu, so no close box
  EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  ExpectClientSize(window_, 125, 25);
  // The text control reaches past the box, which clips it.
  EXPECT_DIALOG_PLACEMENT(GetDlgItem(window_, IDC_PROGRESS_TEXT), 4, 4, 160, 28);
}

TEST_F(ProgressWindowTest, StaysAboveTheMainWindowWhenThatIsActivated) {
  SetWindowPos(MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  FocusControl(MainWindow());
  RECT box = {};
  GetWindowRect(window_, &box);
  const POINT centre = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  HWND top = WindowFromPoint(centre);
  EXPECT_TRUE(top == window_ || GetAncestor(top, GA_ROOT) == window_);
}

TEST_F(ProgressWindowTest, KeysAndCloseRequestsLeaveItOpen) {
  const struct { const char* name; WORD key; bool alt; } cases[] = {
      {"Esc", VK_ESCAPE, false}, {"Enter", VK_RETURN, false}, {"Alt+F4", VK_F4, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
    SetFocus(window_);
    if (c.alt) keybd_event(VK_MENU, 0, 0, 0);
    keybd_event(static_cast<BYTE>(c.key), 0, 0, 0);
    keybd_event(static_cast<BYTE>(c.key), 0, KEYEVENTF_KEYUP, 0);
    if (c.alt) keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    PumpThroughProgressWindow(300);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(ProgressWindow(), window_);
  }
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window_));
}

// The label's pixels as they are on the screen.
std::vector<std::uint32_t> LabelPixels(HWND label) {
  RECT client = {};
  GetClientRect(label, &client);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HDC screen = GetDC(label);
  BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
  ReleaseDC(label, screen);
  GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(first, first + client.right * client.bottom);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return pixels;
}

// Texts may come faster than they are painted, but once the link waits the
// screen shows the last one, exactly as a full repaint draws it.
TEST_F(ProgressWindowTest, ScreenShowsTheLastTextOnceTheLinkWaits) {
  HWND label = GetDlgItem(window_, IDC_PROGRESS_TEXT);
  const std::vector<std::uint32_t> initial = LabelPixels(label);
  char text[64];
  for (int percent = 0; percent <= 100; ++percent) {
    wsprintfA(text, "Reading configuration - 100%%\nReading data - %d%%", percent);
    SetProgressText(text);
    EXPECT_EQ(WindowText(label), text);
  }
  PaintProgressText();
  const std::vector<std::uint32_t> shown = LabelPixels(label);
  RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(shown, LabelPixels(label));
  EXPECT_NE(shown, initial);
}

TEST_F(ProgressWindowTest, TextIsReplacedAndClosingForgetsTheWindow) {
  SetProgressText("Reading byte 7 of 319");
  EXPECT_EQ(WindowText(GetDlgItem(window_, IDC_PROGRESS_TEXT)), "Reading byte 7 of 319");
  CloseProgressWindow();
  EXPECT_EQ(ProgressWindow(), nullptr);
  EXPECT_FALSE(IsWindow(window_));
  SetProgressText("no window");  // harmless without a window
  OpenProgressWindow();          // a new window starts from the template's text
  ASSERT_NE(ProgressWindow(), nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(ProgressWindow(), IDC_PROGRESS_TEXT)), "Initializing...");
}

// --- About -----------------------------------------------------------------------

INT_PTR RunAboutBox() {
  return DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_ABOUT), MainWindow(), AboutDialogProc,
                         0);
}

// What a click on the close box does: the system command SC_CLOSE. (A real mouse
// click at the caption button's place proved unreliable on a loaded machine.)
void ClickCloseBox(HWND modal) { PostMessageA(modal, WM_SYSCOMMAND, SC_CLOSE, 0); }

// Whether every line of a static text fits its control without wrapping or clipping.
bool TextFits(HWND control) {
  const std::string text = WindowText(control);
  RECT box = {};
  GetClientRect(control, &box);
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT needed = box;
  DrawTextA(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_CENTER | DT_WORDBREAK);
  RECT unwrapped = box;
  DrawTextA(dc, text.c_str(), -1, &unwrapped, DT_CALCRECT | DT_CENTER);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return needed.bottom == unwrapped.bottom && needed.bottom <= box.bottom &&
         unwrapped.right <= box.right;
}

TEST(AboutBox, ShowsNameAndVersionWithOk) {
  HWND seen = nullptr;
  std::string text;
  std::string title;
  const bool finished = RunModalScript(
      [] { RunAboutBox(); },
      {[&](HWND modal) {
         seen = modal;
         title = WindowText(modal);
         text = WindowText(GetDlgItem(modal, IDC_ABOUT_TEXT));
         EXPECT_TRUE(TextFits(GetDlgItem(modal, IDC_ABOUT_TEXT)));
         EXPECT_EQ(GetWindow(modal, GW_OWNER), MainWindow());
         EXPECT_EQ(SendMessageA(modal, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
         EXPECT_NE(GetWindowLongA(modal, GWL_STYLE) & WS_SYSMENU, 0);
         ExpectClientSize(modal, 168, 56);
       },
       ClickStep(IDOK)});
  EXPECT_TRUE(finished);
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(title, "About RQ57Load");
  EXPECT_EQ(text.substr(0, text.find('\n')), "RQ57Load version 2.74");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

TEST(AboutBox, EachWayOfClosingEndsItWithItsCommand) {
  const struct { const char* name; ModalStep step; INT_PTR result; } cases[] = {
      {"OK button", ClickStep(IDOK), IDOK},
      {"Enter", PressKeyStep(VK_RETURN), IDOK},
      {"Esc", PressKeyStep(VK_ESCAPE), IDCANCEL},
      {"close box", ClickCloseBox, IDCANCEL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    INT_PTR result = 0;
    const bool finished = RunModalScript([&] { result = RunAboutBox(); },
                                         {[](HWND modal) { SetForegroundWindow(modal); }, c.step});
    EXPECT_TRUE(finished);
    EXPECT_EQ(result, c.result);
  }
}

}  // namespace
