// The editor at 144 DPI in a Wine prefix of its own: manifest, layout, texts and
// snapping; then a DPI change to 192 sent by hand (Wine sends none), and back.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/main_window.h"
#include "ui/resources/resource.h"
#include "ui/window_dpi.h"
#include "ui_support.h"

namespace {

// The 6 x 6 start grid and top row at dpi/96 times their 96-DPI places, within a pixel.
void ExpectStartGridAt(int dpi) {
  const auto at = [dpi](HWND control, int x, int y, int width) {
    const RECT r = ChildRect(control);
    for (const POINT& p : {POINT{r.left, x}, {r.top, y}, {r.right - r.left, width}}) {
      EXPECT_LE(std::abs(p.x * 96 - p.y * dpi), dpi) << WindowText(control) << ": " << p.x;
    }
  };
  at(TopLabel(1), 186, 8, 96);
  for (int i = 0; i < 36; ++i) at(KeyButton(i), 68 + 64 * (i % 6), 100 + 48 * (i / 6), 64);
  for (int k = 0; k < 6; ++k) at(PinBox(k), 72 + 64 * k, 72, 56), at(HeaderLabel(6 + k), 8, 104 + 48 * k, 56);
  at(HorizontalScrollBar(), 68, 388, 384);
}

// The control's text, laid out in its width with its font, fits it whole.
bool TextFits(HWND control, UINT format) {
  RECT client = {}, needed = {};
  GetClientRect(control, &client);
  needed.right = client.right;
  HDC dc = GetDC(control);
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  DrawTextA(dc, WindowText(control).c_str(), -1, &needed, format | DT_CALCRECT);
  ReleaseDC(control, dc);
  return needed.right <= client.right && needed.bottom <= client.bottom;
}

TEST(HighDpi, ManifestLayoutTextsAndSnappingFollowTheDpi) {
  using Query = BOOL(WINAPI*)(DWORD, HANDLE, const wchar_t*, const wchar_t*, wchar_t*, SIZE_T, SIZE_T*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryActCtxSettingsW")));
  const wchar_t* const kSettings[][3] = {
      {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"},
      {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2, PerMonitor"},
      {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"longPathAware", L"true"}};
  for (const auto& s : kSettings) {
    wchar_t value[64] = L"";
    EXPECT_TRUE(query(0, nullptr, s[0], s[1], value, 64, nullptr) && wcscmp(value, s[2]) == 0);
  }

  ASSERT_EQ(UiDpi(), 144) << "runs in a Wine prefix whose LogPixels is 144";
  ResetEditor();
  ExpectStartGridAt(144);
  // The widest labels, and a key picked in the dialog, shown whole.
  ChangeModel([](ConfigModel& m) { m.rows = 23; m.columns = 1; });
  ShowWholeConfiguration();
  SendMessageA(MainWindow(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(WindowText(HeaderLabel(VisibleRowCount())), "Row 23");
  for (HWND label : {TopLabel(0), TopLabel(1), TopLabel(2), HeaderLabel(VisibleRowCount())}) {
    EXPECT_TRUE(TextFits(label, DT_SINGLELINE)) << WindowText(label);
  }
  ASSERT_TRUE(RunModalScript([] { SendMessageA(KeyButton(0), BM_CLICK, 0, 0); },
                             {ClickStep(IDC_MOD_CTRL), ClickStep(IDC_MOD_SHIFT), ClickStep(IDC_KEY_BASE + 124)}));
  EXPECT_EQ(WindowText(KeyButton(0)), "[shift] [ctrl]\nPrint Screen");
  EXPECT_TRUE(TextFits(KeyButton(0), DT_WORDBREAK));
  // A drag past half a cell snaps to 7 x 7 cells of 96 x 72 beside a frame of 128 x 176.
  RECT rect = {};
  GetWindowRect(MainWindow(), &rect);
  rect = {rect.left, rect.top, rect.right + 49, rect.bottom + 37};
  SendMessageA(MainWindow(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&rect));
  SetWindowPos(MainWindow(), nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top, SWP_NOMOVE);
  GetClientRect(MainWindow(), &rect);
  EXPECT_EQ(rect.right, 128 + 96 * 7);
  EXPECT_EQ(rect.bottom, 176 + 72 * 7);
}

// WM_DPICHANGED as Windows sends it, suggesting a client area of dpi/96 times the
// 96-DPI start size (Wine keeps its frame at every DPI).
void ChangeDpi(int dpi) {
  RECT window = {}, client = {};
  GetWindowRect(MainWindow(), &window);
  GetClientRect(MainWindow(), &client);
  window = {window.left, window.top, window.right + MulDiv(469, dpi, 96) - client.right,
            window.bottom + MulDiv(405, dpi, 96) - client.bottom};
  SendMessageA(MainWindow(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&window));
}

TEST(HighDpi, DpiChangeRelaysEverythingAndKeepsTheView) {
  ResetEditor();
  SendMessageA(MainWindow(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
  FocusControl(KeyButton(7));
  const HFONT before = UiFont();
  ChangeDpi(192);
  ExpectStartGridAt(192);
  EXPECT_EQ(GetObjectType(before), 0u) << "the old font is deleted";
  EXPECT_EQ(ChildRect(VerticalScrollBar()).right - ChildRect(VerticalScrollBar()).left, 34) << "laid out anew";
  // Hidden controls take the new font and size too.
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(KeyButton(143), WM_GETFONT, 0, 0)), UiFont());
  EXPECT_EQ(ChildRect(KeyButton(143)).bottom - ChildRect(KeyButton(143)).top, 96);
  EXPECT_EQ(ColumnOffset(), 2);
  EXPECT_EQ(GetFocus(), KeyButton(7));
  ChangeDpi(144);
  ExpectStartGridAt(144);
}

}  // namespace
