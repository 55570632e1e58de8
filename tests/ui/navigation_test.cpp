// Keyboard navigation of the grid with real keystrokes: the focus cycle over several
// visible grid shapes, arrow keys with scrolling at the edges, Enter opening the key
// dialog for the focused cell, and a grid with nothing visible.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/config.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/rules/grid_geometry.h"
#include "ui/main_window.h"
#include "ui/resources/resource.h"
#include "ui_support.h"

namespace {

constexpr int kWidthMargin = kGridWidthMargin;    // client width of a grid with no column
constexpr int kHeightMargin = kGridHeightMargin;  // client height of a grid with no row
constexpr int kStartWidth = 469;
constexpr int kStartHeight = 405;

KeyCode Cell(int row, int column) { return EditorModel().keys[row * kMatrixStride + column]; }
void SetCell(int row, int column, KeyCode code) {
  ChangeModel([&](ConfigModel& m) { m.keys[row * kMatrixStride + column] = code; });
}

void SetOffsets(int columnOffset, int rowOffset) {
  SetScrollPos(HorizontalScrollBar(), SB_CTL, columnOffset, TRUE);
  SetScrollPos(VerticalScrollBar(), SB_CTL, rowOffset, TRUE);
  RefreshGrid();
}

std::string Name(HWND control) {
  for (int p = 0; p < kDropDownCount; ++p) {
    if (DropDownAt(p) == control) return "drop-down " + std::to_string(p);
  }
  for (int i = 0; i < kKeyButtonCount; ++i) {
    if (KeyButton(i) == control) return "key button " + std::to_string(i);
  }
  return control == MainWindow() ? "main window" : "another window";
}

class Navigation : public testing::Test {
 protected:
  // A model of the given counts shown in a window of w x h cells, scrolled.
  void ShowGrid(int w, int h, int columnOffset = 0, int rowOffset = 0, int columns = 12,
                int rows = 12) {
    ChangeModel([&](ConfigModel& model) {
      ResetModel(model);
      model.columns = columns;
      model.rows = rows;
    });
    ShowWholeConfiguration();
    SetClientSize(MainWindow(), kWidthMargin + kCellWidth * w,
                  kHeightMargin + kCellHeight * h);
    PumpUntilIdle();
    SetOffsets(columnOffset, rowOffset);
    ASSERT_EQ(VisibleColumnCount(), w);
    ASSERT_EQ(VisibleRowCount(), h);
    ASSERT_EQ(ColumnOffset(), columnOffset);
    ASSERT_EQ(RowOffset(), rowOffset);
  }

  void TearDown() override {
    ChangeModel(ResetModel);
    ShowWholeConfiguration();
    SetClientSize(MainWindow(), kStartWidth, kStartHeight);
    PumpUntilIdle();
    SetOffsets(0, 0);
    FocusControl(MainWindow());
  }

  // Presses a key on the focused control and returns the control focused after it.
  static HWND PressOnFocus(WORD key, int modifiers = kNoModifier) {
    PressKey(GetFocus(), key, modifiers);
    return GetFocus();
  }
};

// The cycle as it should be: top drop-downs, column pin boxes, then each row's pin
// box and buttons.
std::vector<HWND> ExpectedCycle(int w, int h) {
  std::vector<HWND> cycle = {RowsDropDown(), ColumnsDropDown(), TypematicDropDown()};
  for (int k = 0; k < w; ++k) cycle.push_back(PinBox(k));
  for (int r = 0; r < h; ++r) {
    cycle.push_back(PinBox(w + r));
    for (int k = 0; k < w; ++k) cycle.push_back(KeyButton(r * w + k));
  }
  return cycle;
}

TEST_F(Navigation, TabAndShiftTabWalkTheVisibleControls) {
  const struct { int w, h, columnOffset, rowOffset; } shapes[] = {
      {1, 1, 0, 0}, {5, 3, 0, 0}, {2, 4, 0, 0}, {4, 3, 2, 5}};
  for (const auto& shape : shapes) {
    SCOPED_TRACE(testing::Message() << shape.w << " x " << shape.h << " at " << shape.columnOffset
                                    << ", " << shape.rowOffset);
    ShowGrid(shape.w, shape.h, shape.columnOffset, shape.rowOffset);
    const std::vector<HWND> cycle = ExpectedCycle(shape.w, shape.h);
    const size_t n = cycle.size();
    FocusControl(RowsDropDown());
    for (size_t i = 1; i <= n; ++i) {
      HWND focus = PressOnFocus(VK_TAB);
      ASSERT_EQ(focus, cycle[i % n]) << "Tab " << i << " reached " << Name(focus);
      EXPECT_TRUE(IsWindowVisible(focus));
    }
    for (size_t i = 1; i <= n; ++i) {
      HWND focus = PressOnFocus(VK_TAB, kShift);
      ASSERT_EQ(focus, cycle[(n - i) % n]) << "Shift+Tab " << i << " reached " << Name(focus);
    }
    // Tab never scrolls.
    EXPECT_EQ(ColumnOffset(), shape.columnOffset);
    EXPECT_EQ(RowOffset(), shape.rowOffset);
  }
}

TEST_F(Navigation, CtrlIsIgnoredAndShiftOnlyCountsWithTab) {
  ShowGrid(3, 2);
  FocusControl(KeyButton(1));
  EXPECT_EQ(PressOnFocus(VK_TAB, kCtrl), KeyButton(2));
  EXPECT_EQ(PressOnFocus(VK_TAB, kCtrl | kShift), KeyButton(1));
  EXPECT_EQ(PressOnFocus(VK_RIGHT, kShift), KeyButton(2));
  EXPECT_EQ(PressOnFocus(VK_DOWN, kShift), KeyButton(5));
  EXPECT_EQ(PressOnFocus(VK_LEFT, kCtrl), KeyButton(4));
}

// Arrow keys: the focus moves inside the grid; at an edge the grid scrolls under the
// focused button, never past the model's first or last row and column.
TEST_F(Navigation, ArrowKeysMoveAndScrollAtTheEdges) {
  struct ArrowCase {
    const char* name;
    int columnOffset, rowOffset;
    int button;
    WORD key;
    int focusAfter;
    int columnOffsetAfter, rowOffsetAfter;
  };
  // 6 x 6 visible of a 12 x 12 model: the largest offsets are 6.
  const ArrowCase cases[] = {
      {"right inside", 0, 0, 7, VK_RIGHT, 8, 0, 0},
      {"left inside", 0, 0, 7, VK_LEFT, 6, 0, 0},
      {"up inside", 0, 0, 7, VK_UP, 1, 0, 0},
      {"down inside", 0, 0, 7, VK_DOWN, 13, 0, 0},
      {"right edge scrolls", 0, 0, 11, VK_RIGHT, 11, 1, 0},
      {"bottom edge scrolls", 2, 3, 33, VK_DOWN, 33, 2, 4},
      {"left edge scrolls", 4, 0, 12, VK_LEFT, 12, 3, 0},
      {"top edge scrolls", 0, 1, 4, VK_UP, 4, 0, 0},
      {"left at the first model column", 0, 2, 12, VK_LEFT, 12, 0, 2},
      {"up at the first model row", 3, 0, 2, VK_UP, 2, 3, 0},
      {"right at the last model column", 6, 0, 17, VK_RIGHT, 17, 6, 0},
      {"down at the last model row", 0, 6, 32, VK_DOWN, 32, 0, 6},
  };
  for (const ArrowCase& c : cases) {
    SCOPED_TRACE(c.name);
    ShowGrid(6, 6, c.columnOffset, c.rowOffset);
    // Mark the cells so that the focused button's text tells which cell it shows.
    for (int row = 0; row < 12; ++row) {
      for (int column = 0; column < 12; ++column) SetCell(row, column, kModCtrl | (1 + row));
    }
    SetCell(c.rowOffset + c.button / 6, c.columnOffset + c.button % 6, 0);
    RefreshGrid();
    FocusControl(KeyButton(c.button));
    EXPECT_EQ(PressOnFocus(c.key), KeyButton(c.focusAfter));
    EXPECT_EQ(ColumnOffset(), c.columnOffsetAfter);
    EXPECT_EQ(RowOffset(), c.rowOffsetAfter);
    const bool scrolled = c.columnOffsetAfter != c.columnOffset || c.rowOffsetAfter != c.rowOffset;
    if (scrolled) {
      // The grid slid under the focus: the button shows the neighbouring cell.
      char expected[kKeyTextSize] = "";
      const int row = c.rowOffsetAfter + c.focusAfter / 6;
      const int column = c.columnOffsetAfter + c.focusAfter % 6;
      EXPECT_EQ(WindowText(KeyButton(c.focusAfter)), FormatKeyCode(Cell(row, column), expected));
      EXPECT_NE(WindowText(KeyButton(c.focusAfter)), "Not Used");
    }
  }
}

// Smaller models: the last model column or row is reached inside the window.
TEST_F(Navigation, ArrowKeysStopAtTheModelsLastColumnAndRow) {
  ShowGrid(4, 3, 0, 0, 4, 3);  // everything visible: no scroll bar range
  FocusControl(KeyButton(3));
  EXPECT_EQ(PressOnFocus(VK_RIGHT), KeyButton(3));
  FocusControl(KeyButton(9));
  EXPECT_EQ(PressOnFocus(VK_DOWN), KeyButton(9));
  EXPECT_EQ(ColumnOffset(), 0);
  EXPECT_EQ(RowOffset(), 0);

  ShowGrid(1, 1, 0, 0, 3, 2);  // one cell walks the whole model by scrolling
  FocusControl(KeyButton(0));
  for (int step = 0; step < 4; ++step) PressOnFocus(VK_RIGHT);
  EXPECT_EQ(ColumnOffset(), 2);
  for (int step = 0; step < 4; ++step) PressOnFocus(VK_DOWN);
  EXPECT_EQ(RowOffset(), 1);
  EXPECT_EQ(GetFocus(), KeyButton(0));
}

// The drop-downs keep their own arrow keys: the selection changes, the focus stays.
TEST_F(Navigation, ArrowKeysOnADropDownChangeItsSelection) {
  ShowGrid(6, 6);
  const LRESULT before = SendMessageA(PinBox(0), CB_GETCURSEL, 0, 0);
  FocusControl(PinBox(0));
  EXPECT_EQ(PressOnFocus(VK_DOWN), PinBox(0));
  EXPECT_EQ(SendMessageA(PinBox(0), CB_GETCURSEL, 0, 0), before + 1);
}

// Enter on a key button clicks it: the dialog opens for the cell it shows, and the
// choice lands in that cell.
TEST_F(Navigation, EnterOpensTheKeyDialogForTheFocusedCell) {
  ShowGrid(4, 3, 2, 5);
  const int button = 6;  // grid row 1, grid column 2: model cell (6, 4)
  SetCell(6, 4, kModAlt | kModShift | 0x1F);
  RefreshGrid();
  SetModified(false);
  int checked = 0, disabled = 0, focusId = 0;
  const bool finished = RunModalScript(
      [&] { PressKey(KeyButton(button), VK_RETURN); },
      {[&](HWND dialog) {
         checked = IsDlgButtonChecked(dialog, IDC_MOD_ALT) + 2 * IsDlgButtonChecked(dialog, IDC_MOD_SHIFT) +
                   4 * IsDlgButtonChecked(dialog, IDC_MOD_CTRL);
         disabled = IsWindowEnabled(GetDlgItem(dialog, IDC_MOD_CTRL)) ? 0 : 1;
         focusId = GetDlgCtrlID(GetFocus());
       },
       ClickStep(IDC_KEY_BASE + 17)});
  EXPECT_TRUE(finished);
  EXPECT_EQ(checked, 3);
  EXPECT_EQ(disabled, 1);
  EXPECT_EQ(focusId, IDC_KEY_BASE + 0x1F);
  EXPECT_EQ(Cell(6, 4), kModAlt | kModShift | 17);
  EXPECT_TRUE(EditorModel().modified);
  EXPECT_EQ(WindowText(KeyButton(button)), "[alt] [shift]\nQ");
  EXPECT_EQ(GetFocus(), KeyButton(button));
}

// Esc and the close box leave the cell and the modified flag alone; the focus comes
// back to the button.
TEST_F(Navigation, CancellingTheKeyDialogLeavesTheCell) {
  ShowGrid(6, 6, 1, 1);
  const int button = 14;  // model cell (3, 3)
  const struct {
    const char* name;
    ModalStep step;
  } cases[] = {
      {"Esc", PressKeyStep(VK_ESCAPE)},
      {"close box", [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetCell(3, 3, kModCtrl | 0x20);
    RefreshGrid();
    SetModified(false);
    EXPECT_TRUE(RunModalScript([&] { PressKey(KeyButton(button), VK_RETURN); }, {c.step}));
    EXPECT_EQ(Cell(3, 3), kModCtrl | 0x20);
    EXPECT_FALSE(EditorModel().modified);
    EXPECT_EQ(WindowText(KeyButton(button)), "[ctrl]\nS");
    EXPECT_EQ(GetFocus(), KeyButton(button));
  }
}

// A cell holding a key number the dialog has no button for: "Not Used" takes the
// focus, and Enter clears the cell.
TEST_F(Navigation, UnnamedKeyNumberOpensOnNotUsed) {
  ShowGrid(6, 6);
  SetCell(0, 0, kModShift | 42);
  RefreshGrid();
  int focusId = 0;
  EXPECT_TRUE(RunModalScript([&] { PressKey(KeyButton(0), VK_RETURN); },
                             {[&](HWND) { focusId = GetDlgCtrlID(GetFocus()); },
                              PressKeyStep(VK_RETURN)}));
  EXPECT_EQ(focusId, IDC_KEY_BASE);
  EXPECT_EQ(Cell(0, 0), 0);
  EXPECT_TRUE(EditorModel().modified);
}

// With no visible column (or row) the navigation keys do nothing beyond the control's
// own handling, and the focus never lands on a hidden control.
TEST_F(Navigation, NothingMovesWithoutVisibleCells) {
  const struct { const char* name; int width, height; } windows[] = {
      {"no column", kWidthMargin + kCellWidth - 1, kHeightMargin + 3 * kCellHeight},
      {"no row", kWidthMargin + 3 * kCellWidth, kHeightMargin + kCellHeight - 1},
  };
  for (const auto& window : windows) {
    SCOPED_TRACE(window.name);
    ChangeModel(ResetModel);
    ShowWholeConfiguration();
    SetClientSize(MainWindow(), window.width, window.height);
    PumpUntilIdle();
    ASSERT_EQ(VisibleColumnCount() * VisibleRowCount(), 0);
    for (HWND start : {RowsDropDown(), TypematicDropDown(), PinBox(0)}) {
      if (!IsWindowVisible(start)) continue;
      for (int modifiers : {kNoModifier, kShift}) {
        FocusControl(start);
        EXPECT_EQ(PressOnFocus(VK_TAB, modifiers), start) << Name(start);
      }
    }
  }
}

}  // namespace
