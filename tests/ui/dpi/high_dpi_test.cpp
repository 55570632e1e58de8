// The editor at 144 DPI, in a Wine prefix of its own set to 144 DPI: every control at
// one and a half times its 96-DPI place, no label cut, a picked key shown whole in
// its button, snapping on whole cells; and a DPI change to 192 sent by hand (Wine
// never sends one), and back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "model/key_code.h"
#include "ui/app_core.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/main_window.h"
#include "ui/resources/resource.h"
#include "ui/window_dpi.h"
#include "ui_support.h"

namespace {

constexpr int kTestDpi = 144;
constexpr int kChangedDpi = 192;
constexpr int kStartCells = 6;
constexpr int kStartWidth96 = 469;
constexpr int kStartHeight96 = 405;
constexpr int kPrintScreen = 124;

class HighDpiTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(UiDpi(), kTestDpi) << "runs in a Wine prefix whose LogPixels is 144";
    ResetEditor();
  }
  void TearDown() override { ResetEditor(); }
};

// A control stands at dpi/96 times its 96-DPI place and size, within a pixel; a
// negative width or height is not checked.
void ExpectScaledAt(const char* file, int line, HWND control, int dpi, int x, int y, int width,
                    int height) {
  SCOPED_TRACE(testing::Message() << file << ":" << line);
  const RECT rect = ChildRect(control);
  const auto scaled = [dpi](int actual, int at96) { return std::abs(actual * 96 - at96 * dpi) <= dpi; };
  EXPECT_TRUE(scaled(rect.left, x)) << rect.left << " for " << x;
  EXPECT_TRUE(scaled(rect.top, y)) << rect.top << " for " << y;
  const int actualWidth = rect.right - rect.left;
  const int actualHeight = rect.bottom - rect.top;
  EXPECT_TRUE(width < 0 || scaled(actualWidth, width)) << actualWidth << " for " << width;
  EXPECT_TRUE(height < 0 || scaled(actualHeight, height)) << actualHeight << " for " << height;
}
#define EXPECT_SCALED(control, dpi, x, y, width, height) \
  ExpectScaledAt(__FILE__, __LINE__, control, dpi, x, y, width, height)

// The start window's 6 x 6 grid and top row against their 96-DPI places.
void ExpectStartLayoutAt(int dpi) {
  RECT client = {};
  GetClientRect(MainWindow(), &client);
  EXPECT_LE(std::abs(client.right * 96 - kStartWidth96 * dpi), dpi);
  EXPECT_LE(std::abs(client.bottom * 96 - kStartHeight96 * dpi), dpi);
  ASSERT_EQ(VisibleColumnCount(), kStartCells);
  ASSERT_EQ(VisibleRowCount(), kStartCells);
  const int labelX[] = {30, 186, 342};
  const int dropDownX[] = {46, 202, 342};
  const int dropDownWidth[] = {64, 64, 96};
  for (int i = 0; i < kTopControlCount; ++i) {
    EXPECT_SCALED(TopLabel(i), dpi, labelX[i], 8, 96, 16);
    EXPECT_SCALED(DropDownAt(i), dpi, dropDownX[i], 24, dropDownWidth[i], -1);
  }
  for (int i = 0; i < kStartCells * kStartCells; ++i) {
    EXPECT_SCALED(KeyButton(i), dpi, 68 + 64 * (i % kStartCells), 100 + 48 * (i / kStartCells), 64, 48);
  }
  for (int k = 0; k < kStartCells; ++k) {
    EXPECT_SCALED(HeaderLabel(k), dpi, 72 + 64 * k, 56, 56, 16);
    EXPECT_SCALED(PinBox(k), dpi, 72 + 64 * k, 72, 56, -1);
    EXPECT_SCALED(HeaderLabel(kStartCells + k), dpi, 8, 104 + 48 * k, 56, 16);
    EXPECT_SCALED(PinBox(kStartCells + k), dpi, 8, 120 + 48 * k, 56, -1);
  }
  EXPECT_SCALED(HorizontalScrollBar(), dpi, 68, 388, 384, 17);
  EXPECT_SCALED(VerticalScrollBar(), dpi, 452, 100, 17, 288);
}

// The text drawn with the control's font, laid out in the control's width as a
// multi-line control lays it out.
SIZE TextExtent(HWND control, UINT format) {
  const std::string text = WindowText(control);
  RECT client = {};
  GetClientRect(control, &client);
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT needed = {0, 0, client.right, 0};
  DrawTextA(dc, text.c_str(), -1, &needed, format | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {needed.right, needed.bottom};
}

void ExpectWholeText(HWND control, UINT format) {
  SCOPED_TRACE(WindowText(control));
  RECT client = {};
  GetClientRect(control, &client);
  const SIZE needed = TextExtent(control, format);
  EXPECT_LE(needed.cx, client.right);
  EXPECT_LE(needed.cy, client.bottom);
}

TEST_F(HighDpiTest, ControlsStandAtOneAndAHalfTimesTheirPlaces) {
  ExpectStartLayoutAt(kTestDpi);
  LOGFONTA font = {};
  ASSERT_EQ(GetObjectA(UiFont(), sizeof font, &font), static_cast<int>(sizeof font));
  EXPECT_EQ(font.lfHeight, -17);   // 8.25 points at 144 DPI
}

TEST_F(HighDpiTest, NoLabelIsCut) {
  // The widest header texts: "Col 12" and "Row 23".
  ChangeModel([](ConfigModel& m) { m.rows = 23; m.columns = 1; });
  ShowWholeConfiguration();
  SendMessageA(MainWindow(), WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
  for (int i = 0; i < kTopControlCount; ++i) ExpectWholeText(TopLabel(i), DT_SINGLELINE);
  for (int i = 0; i < VisibleColumnCount() + VisibleRowCount(); ++i) {
    ExpectWholeText(HeaderLabel(i), DT_SINGLELINE);
  }
  EXPECT_EQ(WindowText(HeaderLabel(VisibleColumnCount() + VisibleRowCount() - 1)), "Row 23");
}

TEST_F(HighDpiTest, KeyPickedInTheDialogShowsWholeInItsButton) {
  const int button = 1 * VisibleColumnCount() + 2;
  const bool finished = RunModalScript(
      [&] { SendMessageA(KeyButton(button), BM_CLICK, 0, 0); },
      {ClickStep(IDC_MOD_CTRL), ClickStep(IDC_MOD_SHIFT), ClickStep(IDC_KEY_BASE + kPrintScreen)});
  ASSERT_TRUE(finished);
  const KeyCode chosen = kPrintScreen | kModCtrl | kModShift;
  EXPECT_EQ(EditorModel().keys[1 * kMatrixStride + 2], chosen);
  char text[kKeyTextSize] = "";
  EXPECT_EQ(WindowText(KeyButton(button)), FormatKeyCode(chosen, text));
  ExpectWholeText(KeyButton(button), DT_WORDBREAK | DT_CENTER);
}

TEST_F(HighDpiTest, DragSnapsToWholeCells) {
  // At 144 DPI a cell is 96 by 72 pixels; the grid's frame 128 wide and 176 high.
  const struct { int growX; int growY; int columns; int rows; } drags[] = {
      {100, 40, 7, 7}, {-200, -150, 4, 4}, {47, 35, 6, 6}, {49, 37, 7, 7},
  };
  for (const auto& drag : drags) {
    SCOPED_TRACE(drag.growX);
    ResetEditor();   // 12 x 12, 6 x 6 shown
    RECT rect = {};
    GetWindowRect(MainWindow(), &rect);
    rect.right += drag.growX;
    rect.bottom += drag.growY;
    SendMessageA(MainWindow(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&rect));
    SetWindowPos(MainWindow(), nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpUntilIdle();
    RECT client = {};
    GetClientRect(MainWindow(), &client);
    EXPECT_EQ(client.right, 128 + 96 * drag.columns);
    EXPECT_EQ(client.bottom, 176 + 72 * drag.rows);
    EXPECT_EQ(VisibleColumnCount(), drag.columns);
    EXPECT_EQ(VisibleRowCount(), drag.rows);
  }
}

// Sends WM_DPICHANGED as Windows does, with a suggested window that gives the client
// area dpi/96 times its 96-DPI start size (Wine keeps its frame at every DPI).
void ChangeDpi(int dpi) {
  RECT window = {};
  RECT client = {};
  GetWindowRect(MainWindow(), &window);
  GetClientRect(MainWindow(), &client);
  window.right += MulDiv(kStartWidth96, dpi, 96) - client.right;
  window.bottom += MulDiv(kStartHeight96, dpi, 96) - client.bottom;
  SendMessageA(MainWindow(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&window));
  PumpUntilIdle();
}

TEST_F(HighDpiTest, DpiChangeRelaysEverythingAndKeepsTheView) {
  SendMessageA(MainWindow(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
  SendMessageA(MainWindow(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
  FocusControl(KeyButton(7));
  const HFONT before = UiFont();

  ChangeDpi(kChangedDpi);
  EXPECT_EQ(UiDpi(), kChangedDpi);
  EXPECT_EQ(GetObjectType(before), 0u) << "the old font is deleted";
  LOGFONTA font = {};
  ASSERT_EQ(GetObjectA(UiFont(), sizeof font, &font), static_cast<int>(sizeof font));
  EXPECT_EQ(font.lfHeight, -22);   // 8.25 points at 192 DPI
  ExpectStartLayoutAt(kChangedDpi);
  // Laid out anew, not only scaled from 144 DPI (26 px would give 35).
  EXPECT_EQ(ChildRect(VerticalScrollBar()).right - ChildRect(VerticalScrollBar()).left, 34);
  EXPECT_EQ(ChildRect(HorizontalScrollBar()).bottom - ChildRect(HorizontalScrollBar()).top, 34);
  // Hidden controls take the new size and the font too.
  for (HWND hidden : {KeyButton(143), HeaderLabel(23), PinBox(23)}) {
    EXPECT_FALSE(HasVisibleStyle(hidden));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(hidden, WM_GETFONT, 0, 0)), UiFont());
  }
  const RECT button = ChildRect(KeyButton(143));
  EXPECT_EQ(button.right - button.left, 128);
  EXPECT_EQ(button.bottom - button.top, 96);
  const RECT label = ChildRect(HeaderLabel(23));
  EXPECT_EQ(label.right - label.left, 112);
  EXPECT_EQ(label.bottom - label.top, 32);
  EXPECT_EQ(ColumnOffset(), 2);
  EXPECT_EQ(RowOffset(), 3);
  EXPECT_EQ(GetFocus(), KeyButton(7));
  EXPECT_EQ(WindowText(HeaderLabel(0)), "Col 3");

  ChangeDpi(kTestDpi);
  EXPECT_EQ(UiDpi(), kTestDpi);
  ExpectStartLayoutAt(kTestDpi);
  EXPECT_EQ(ColumnOffset(), 2);
  EXPECT_EQ(GetFocus(), KeyButton(7));
}

}  // namespace
