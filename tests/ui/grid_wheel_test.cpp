// The mouse wheel over the editor, driven with real wheel input: whole cells per
// notch as the system's setting says, Shift and the horizontal wheel for columns,
// the scroll bars' clamping and focus rules, and closed drop-downs left alone.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/main_window.h"
#include "ui_support.h"

namespace {

constexpr int kNotch = WHEEL_DELTA;

class GridWheelTest : public testing::Test {
 protected:
  void SetUp() override {
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &savedLines_, 0);
    SetWheelLines(3);
    ResetEditor();
  }
  void TearDown() override {
    SetWheelLines(savedLines_);
    ResetEditor();
  }
  static void SetWheelLines(UINT lines) {
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, lines, nullptr, 0);
  }

 private:
  UINT savedLines_ = 3;
};

int Selection(HWND dropDown) { return static_cast<int>(SendMessageA(dropDown, CB_GETCURSEL, 0, 0)); }

// Puts the mouse over target (the main window: over its background), where a user
// turns the wheel.
void PointAt(HWND target) {
  POINT point = {2, 2};
  if (target != MainWindow()) {
    RECT rect = {};
    GetClientRect(target, &rect);
    point = {rect.right / 2, rect.bottom / 2};
  }
  ClientToScreen(target, &point);
  SetCursorPos(point.x, point.y);
}

// Turns the wheel by delta (positive: away from the user) with the focus on
// target and the mouse over it, Shift held if asked.
void Wheel(HWND target, int delta, bool shift = false) {
  FocusControl(target);
  PointAt(target);
  if (shift) keybd_event(VK_SHIFT, 0, 0, 0);
  mouse_event(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(delta), 0);
  if (shift) keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
  PumpUntilIdle();
}

// The horizontal wheel (positive: right). Wine drops horizontal wheel input, so
// the message goes to the focused window as the system would send it.
void HorizontalWheel(HWND target, int delta) {
  FocusControl(target);
  SendMessageA(target, WM_MOUSEHWHEEL, MAKEWPARAM(0, delta), 0);
  PumpUntilIdle();
}

TEST_F(GridWheelTest, NotchesScrollRowsByTheSystemsSettingAndClamp) {
  Wheel(MainWindow(), -kNotch);
  EXPECT_EQ(RowOffset(), 3);
  EXPECT_EQ(ColumnOffset(), 0);
  Wheel(MainWindow(), -kNotch);
  EXPECT_EQ(RowOffset(), 6);  // cut to the largest offset
  Wheel(MainWindow(), kNotch);
  EXPECT_EQ(RowOffset(), 3);

  SetWheelLines(1);
  for (int part : {40, 40}) {
    Wheel(MainWindow(), part);
    EXPECT_EQ(RowOffset(), 3) << "a part of a notch";
  }
  Wheel(MainWindow(), 40);
  EXPECT_EQ(RowOffset(), 2);
  EXPECT_EQ(WindowText(HeaderLabel(6)), "Row 3");
}

TEST_F(GridWheelTest, ShiftAndTheHorizontalWheelScrollColumns) {
  Wheel(MainWindow(), -kNotch, true);
  EXPECT_EQ(ColumnOffset(), 3);
  EXPECT_EQ(RowOffset(), 0);
  HorizontalWheel(MainWindow(), kNotch);
  EXPECT_EQ(ColumnOffset(), 6);
  HorizontalWheel(PinBox(2), -2 * kNotch);
  EXPECT_EQ(ColumnOffset(), 0);
  EXPECT_EQ(Selection(PinBox(2)), 2);
  EXPECT_EQ(WindowText(HeaderLabel(0)), "Col 1");
  ChangeModel([](ConfigModel& model) { model.rows = 1; });  // the columns' bar alone:
  ShowWholeConfiguration();
  Wheel(MainWindow(), -kNotch);                             // the plain wheel scrolls it
  EXPECT_EQ(ColumnOffset(), 3);
}

// The focus follows the cell it was on, as with the scroll bars; a closed
// drop-down keeps its selection while the grid scrolls.
TEST_F(GridWheelTest, FocusFollowsAndClosedDropDownsKeepTheirSelection) {
  Wheel(KeyButton(4 * 6 + 1), -kNotch);  // grid row 4 shows row 8 now at grid row 1
  EXPECT_EQ(RowOffset(), 3);
  EXPECT_EQ(GetFocus(), KeyButton(1 * 6 + 1));

  const int pinBefore = Selection(PinBox(6 + 5));
  Wheel(PinBox(6 + 5), kNotch);
  EXPECT_EQ(RowOffset(), 0);
  EXPECT_EQ(GetFocus(), PinBox(6 + 5)) << "the last grid row's pin box stays at the edge";
  EXPECT_EQ(Selection(PinBox(6 + 5)), 17);  // row 6's pin, shown again
  EXPECT_NE(pinBefore, 17);

  for (HWND dropDown : {RowsDropDown(), TypematicDropDown(), PinBox(0)}) {
    Wheel(dropDown, -kNotch);
    Wheel(dropDown, -kNotch, true);
    EXPECT_EQ(GetFocus(), dropDown);
  }
  EXPECT_EQ(Selection(RowsDropDown()), 11);
  EXPECT_EQ(Selection(TypematicDropDown()), 0);
  EXPECT_EQ(EditorModel().columnPins[0], 0);
  EXPECT_EQ(EditorModel().rows, 12);
  EXPECT_FALSE(EditorModel().modified);
  EXPECT_EQ(RowOffset(), 6);
  EXPECT_EQ(ColumnOffset(), 6);
}

// An open list takes the wheel itself and the grid stays.
TEST_F(GridWheelTest, AnOpenListScrollsItselfNotTheGrid) {
  HWND pinBox = PinBox(0);
  FocusControl(pinBox);
  SendMessageA(pinBox, CB_SHOWDROPDOWN, TRUE, 0);
  PumpUntilIdle();
  ASSERT_TRUE(SendMessageA(pinBox, CB_GETDROPPEDSTATE, 0, 0));
  const LRESULT top = SendMessageA(pinBox, CB_GETTOPINDEX, 0, 0);
  Wheel(pinBox, -kNotch);
  EXPECT_EQ(RowOffset(), 0);
  EXPECT_GT(SendMessageA(pinBox, CB_GETTOPINDEX, 0, 0), top);
  SendMessageA(pinBox, CB_SHOWDROPDOWN, FALSE, 0);
  PumpUntilIdle();
  EXPECT_EQ(EditorModel().columnPins[0], 0);
}

}  // namespace
