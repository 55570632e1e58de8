// The matrix grid on the real controls: layout, count rule, pins, resizing,
// snapping, scrolling and its focus rules, refresh of a whole configuration.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "model/key_code.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/main_window.h"
#include "ui_support.h"

namespace {

constexpr int kKeyA = 31;
constexpr KeyCode kCtrlShiftF1 = 112 | kModCtrl | kModShift;

class GridTest : public testing::Test {
 protected:
  void SetUp() override { ResetEditor(); }
  void TearDown() override { ResetEditor(); }
};

int Selection(HWND dropDown) { return static_cast<int>(SendMessageA(dropDown, CB_GETCURSEL, 0, 0)); }

void Scroll(bool horizontal, int request, int thumb = 0) {
  SendMessageA(MainWindow(), horizontal ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(request, thumb), 0);
}

void ExpectRange(HWND bar, int maximum) {
  int minimum = -1;
  int top = -1;
  GetScrollRange(bar, SB_CTL, &minimum, &top);
  EXPECT_EQ(minimum, 0);
  EXPECT_EQ(top, maximum);
  EXPECT_EQ(HasVisibleStyle(bar), maximum > 0);
}

std::string KeyText(KeyCode code) {
  char text[kKeyTextSize] = "";
  return FormatKeyCode(code, text);
}

// Every grid control is where the visible counts put it, shown or hidden.
void ExpectGrid(int columns, int rows) {
  ASSERT_EQ(VisibleColumnCount(), columns);
  ASSERT_EQ(VisibleRowCount(), rows);
  for (int i = 0; i < kKeyButtonCount; ++i) {
    SCOPED_TRACE("key button " + std::to_string(i));
    const bool shown = i < columns * rows;
    EXPECT_EQ(HasVisibleStyle(KeyButton(i)), shown);
    if (shown) EXPECT_PLACEMENT(KeyButton(i), 68 + 64 * (i % columns), 100 + 48 * (i / columns), 64, 48);
  }
  for (int i = 0; i < kPinCount; ++i) {
    SCOPED_TRACE("header " + std::to_string(i));
    EXPECT_EQ(HasVisibleStyle(HeaderLabel(i)), i < columns + rows);
    EXPECT_EQ(HasVisibleStyle(PinBox(i)), i < columns + rows);
    if (i < columns) {
      EXPECT_PLACEMENT(HeaderLabel(i), 72 + 64 * i, 56, 56, 16);
      EXPECT_PLACEMENT(PinBox(i), 72 + 64 * i, 72, 56, -1);
    } else if (i < columns + rows) {
      EXPECT_PLACEMENT(HeaderLabel(i), 8, 104 + 48 * (i - columns), 56, 16);
      EXPECT_PLACEMENT(PinBox(i), 8, 120 + 48 * (i - columns), 56, -1);
    }
  }
  EXPECT_PLACEMENT(HorizontalScrollBar(), 68, 100 + 48 * rows, 64 * columns, 17);
  EXPECT_PLACEMENT(VerticalScrollBar(), 68 + 64 * columns, 100, 17, 48 * rows);
}

void ExpectHeaders(int columns, int firstColumn, int rows, int firstRow) {
  for (int k = 0; k < columns; ++k) {
    EXPECT_EQ(WindowText(HeaderLabel(k)), "Col " + std::to_string(firstColumn + k)) << k;
  }
  for (int r = 0; r < rows; ++r) {
    EXPECT_EQ(WindowText(HeaderLabel(columns + r)), "Row " + std::to_string(firstRow + r)) << r;
  }
}

TEST_F(GridTest, StartsAsSixBySixWithDefaultPinsAndScrollBars) {
  ExpectGrid(6, 6);
  ExpectHeaders(6, 1, 6, 1);
  for (int i = 0; i < 36; ++i) EXPECT_EQ(WindowText(KeyButton(i)), "Not Used") << i;
  for (int k = 0; k < 6; ++k) EXPECT_EQ(Selection(PinBox(k)), k) << k;          // A to F
  for (int r = 0; r < 6; ++r) EXPECT_EQ(Selection(PinBox(6 + r)), 12 + r) << r;  // M to R
  ExpectRange(HorizontalScrollBar(), 6);
  ExpectRange(VerticalScrollBar(), 6);
  EXPECT_EQ(ColumnOffset(), 0);
  EXPECT_EQ(RowOffset(), 0);
}

TEST_F(GridTest, CountRuleKeepsRowsAndColumnsWithin24) {
  const struct { bool rows; int index; int expectRows; int expectColumns; int visibleColumns; int visibleRows; } cases[] = {
      {true, 22, 23, 1, 1, 6},    // 23 rows: the columns drop to 1
      {false, 19, 4, 20, 6, 4},   // 20 columns: the rows drop to 4
      {true, 11, 12, 12, 6, 6},   // 12 and 12 stay
      {false, 2, 12, 3, 3, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.rows ? "rows " : "columns ") + std::to_string(c.index + 1));
    ResetEditor();
    ChooseItem(c.rows ? RowsDropDown() : ColumnsDropDown(), c.index);
    EXPECT_EQ(EditorModel().rows, c.expectRows);
    EXPECT_EQ(EditorModel().columns, c.expectColumns);
    EXPECT_EQ(Selection(RowsDropDown()), c.expectRows - 1);
    EXPECT_EQ(Selection(ColumnsDropDown()), c.expectColumns - 1);
    EXPECT_TRUE(EditorModel().modified);
    ExpectGrid(c.visibleColumns, c.visibleRows);
    ExpectRange(HorizontalScrollBar(), c.expectColumns - c.visibleColumns);
    ExpectRange(VerticalScrollBar(), c.expectRows - c.visibleRows);
  }
}

TEST_F(GridTest, LoweredCountsKeepTheirPinsAndKeys) {
  ChangeModel([&](ConfigModel& m) { m.keys[5 * 23 + 0] = kKeyA; });
  RefreshGrid();
  ChooseItem(PinBox(6 + 5), 1);  // row 6 on pin B
  EXPECT_EQ(EditorModel().rowPins[5], 1);
  ChooseItem(RowsDropDown(), 1);
  ExpectGrid(6, 2);
  ChooseItem(RowsDropDown(), 11);
  ExpectGrid(6, 6);
  EXPECT_EQ(Selection(PinBox(6 + 5)), 1);
  EXPECT_EQ(WindowText(KeyButton(5 * 6 + 0)), KeyText(kKeyA));
}

TEST_F(GridTest, PinChoicesGoToTheLineAtTheCurrentOffsets) {
  Scroll(true, SB_THUMBPOSITION, 3);
  Scroll(false, SB_THUMBPOSITION, 2);
  SetModified(false);
  ChooseItem(PinBox(1), 2);        // second column pin box: column 5 gets C
  EXPECT_EQ(WindowText(HeaderLabel(1)), "Col 5");
  EXPECT_EQ(EditorModel().columnPins[4], 2);
  EXPECT_TRUE(EditorModel().modified);
  ChooseItem(PinBox(6 + 1), 5);    // second row pin box: row 4 gets F
  EXPECT_EQ(WindowText(HeaderLabel(6 + 1)), "Row 4");
  EXPECT_EQ(EditorModel().rowPins[3], 5);
  // No other pin moved.
  EXPECT_EQ(EditorModel().columnPins[1], 1);
  EXPECT_EQ(EditorModel().rowPins[1], 13);
}

TEST_F(GridTest, FallingCountPullsTheOffsetIntoTheNewRange) {
  Scroll(true, SB_RIGHT);
  EXPECT_EQ(ColumnOffset(), 6);
  ChooseItem(ColumnsDropDown(), 7);  // 8 columns
  EXPECT_EQ(ColumnOffset(), 2);
  ExpectRange(HorizontalScrollBar(), 2);
  ExpectHeaders(6, 3, 6, 1);
}

TEST_F(GridTest, ClientSizeDecidesTheVisibleCells) {
  const struct { int width; int height; int columns; int rows; } cases[] = {
      {341, 309, 4, 4},   {469, 405, 6, 6},   {533, 453, 7, 7},   {532, 452, 6, 6},
      {149, 165, 1, 1},   {148, 300, 0, 3},   {300, 164, 3, 0},   {148, 164, 0, 0},
      {1000, 700, 12, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    SetClientSize(MainWindow(), c.width, c.height);
    PumpUntilIdle();
    RECT client = {};
    GetClientRect(MainWindow(), &client);
    ASSERT_EQ(client.right, c.width);
    ASSERT_EQ(client.bottom, c.height);
    ExpectGrid(c.columns, c.rows);
    ExpectRange(HorizontalScrollBar(), 12 - c.columns);
    ExpectRange(VerticalScrollBar(), 12 - c.rows);
    EXPECT_PLACEMENT(TopLabel(1), c.width / 2 - 48, 8, 96, 16);
    EXPECT_PLACEMENT(TypematicDropDown(), 5 * c.width / 6 - 48, 24, 96, -1);
  }
}

TEST_F(GridTest, MaximisedWindowShowsTheWholeMatrixOrAsManyRowsAsFit) {
  ShowWindow(MainWindow(), SW_MAXIMIZE);
  PumpUntilIdle();
  RECT client = {};
  GetClientRect(MainWindow(), &client);
  ASSERT_GE(client.right, 85 + 64 * 12);
  ASSERT_GE(client.bottom, 117 + 48 * 12);
  ExpectGrid(12, 12);
  EXPECT_FALSE(HasVisibleStyle(HorizontalScrollBar()));
  EXPECT_FALSE(HasVisibleStyle(VerticalScrollBar()));

  ChooseItem(RowsDropDown(), 22);
  const int fit = (client.bottom - 117) / 48;
  ExpectGrid(1, fit < 23 ? fit : 23);
  ExpectRange(VerticalScrollBar(), fit < 23 ? 23 - fit : 0);
  EXPECT_FALSE(HasVisibleStyle(HorizontalScrollBar()));
}

TEST_F(GridTest, UnchangedVisibleCountsMoveNothingButTheTopRow) {
  SetWindowPos(KeyButton(0), nullptr, 1, 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetClientSize(MainWindow(), 479, 415);  // still 6 by 6
  PumpUntilIdle();
  EXPECT_PLACEMENT(KeyButton(0), 1, 1, 64, 48);
  EXPECT_PLACEMENT(TopLabel(0), 479 / 6 - 48, 8, 96, 16);
  SetClientSize(MainWindow(), 533, 415);  // 7 by 6: everything is placed anew
  PumpUntilIdle();
  EXPECT_PLACEMENT(KeyButton(0), 68, 100, 64, 48);
}

TEST_F(GridTest, MinimisingRunsNoLayoutRestoringDoes) {
  ShowWindow(MainWindow(), SW_MINIMIZE);
  PumpUntilIdle();
  EXPECT_EQ(VisibleColumnCount(), 6);
  EXPECT_EQ(VisibleRowCount(), 6);
  SetWindowTextA(KeyButton(0), "stale");
  ShowWindow(MainWindow(), SW_RESTORE);
  PumpUntilIdle();
  ExpectGrid(6, 6);
  EXPECT_EQ(WindowText(KeyButton(0)), "Not Used");
}

int OuterWidth(int client) {
  RECT frame = {0, 0, client, 0};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, TRUE);
  return frame.right - frame.left;
}

int OuterHeight(int client) {
  RECT frame = {0, 0, 0, client};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, TRUE);
  return frame.bottom - frame.top;
}

RECT Sizing(WPARAM edge, RECT proposed) {
  EXPECT_EQ(SendMessageA(MainWindow(), WM_SIZING, edge, reinterpret_cast<LPARAM>(&proposed)), TRUE);
  return proposed;
}

TEST_F(GridTest, DraggedFrameSnapsToWholeCells) {
  const int w5 = OuterWidth(85 + 64 * 5);
  const int h5 = OuterHeight(117 + 48 * 5);
  const struct { int width; int height; int columns; int rows; } cases[] = {
      {w5, h5, 5, 5},
      {w5 + 31, h5 + 23, 5, 5},
      {w5 + 32, h5 + 24, 6, 5},   // halfway: the wider width, the lower height
      {w5 + 33, h5 + 25, 6, 6},
      {w5 - 32, h5 - 24, 5, 4},
      {10, 10, 4, 4},             // nothing below 4 by 4 cells
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    const RECT snapped = Sizing(WMSZ_BOTTOMRIGHT, {100, 50, 100 + c.width, 50 + c.height});
    EXPECT_EQ(snapped.left, 100);
    EXPECT_EQ(snapped.top, 50);
    EXPECT_EQ(snapped.right - snapped.left, OuterWidth(85 + 64 * c.columns));
    EXPECT_EQ(snapped.bottom - snapped.top, OuterHeight(117 + 48 * c.rows));
  }
  // The snapped frame really holds whole cells.
  const RECT snapped = Sizing(WMSZ_BOTTOMRIGHT, {100, 50, 100 + w5 + 40, 50 + h5 + 40});
  SetWindowPos(MainWindow(), nullptr, snapped.left, snapped.top, snapped.right - snapped.left,
               snapped.bottom - snapped.top, SWP_NOZORDER | SWP_NOACTIVATE);
  PumpUntilIdle();
  RECT client = {};
  GetClientRect(MainWindow(), &client);
  EXPECT_EQ(client.right, 85 + 64 * 6);
  EXPECT_EQ(client.bottom, 117 + 48 * 6);
  ExpectGrid(6, 6);
}

TEST_F(GridTest, DraggedLeftOrTopEdgeKeepsTheOppositeEdge) {
  const int width = OuterWidth(85 + 64 * 5);
  const int height = OuterHeight(117 + 48 * 5);
  const RECT proposed = {200, 150, 200 + width + 10, 150 + height + 10};
  const struct { WPARAM edge; bool keepsRight; bool keepsBottom; } cases[] = {
      {WMSZ_LEFT, true, false},     {WMSZ_RIGHT, false, false},      {WMSZ_TOP, false, true},
      {WMSZ_BOTTOM, false, false},  {WMSZ_TOPLEFT, true, true},      {WMSZ_TOPRIGHT, false, true},
      {WMSZ_BOTTOMLEFT, true, false}, {WMSZ_BOTTOMRIGHT, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.edge);
    const RECT snapped = Sizing(c.edge, proposed);
    EXPECT_EQ(snapped.right - snapped.left, width);
    EXPECT_EQ(snapped.bottom - snapped.top, height);
    EXPECT_EQ(c.keepsRight ? snapped.right : snapped.left, c.keepsRight ? proposed.right : proposed.left);
    EXPECT_EQ(c.keepsBottom ? snapped.bottom : snapped.top, c.keepsBottom ? proposed.bottom : proposed.top);
  }
}

TEST_F(GridTest, ScrollRequestsMoveTheOffsetsWithinTheirRange) {
  const struct { bool horizontal; int request; int thumb; int offset; } steps[] = {
      {true, SB_LINERIGHT, 0, 1},   {true, SB_PAGERIGHT, 0, 6},  {true, SB_LINELEFT, 0, 5},
      {true, SB_PAGELEFT, 0, 0},    {true, SB_RIGHT, 0, 6},      {true, SB_LEFT, 0, 0},
      {true, SB_THUMBTRACK, 4, 4},  {true, SB_THUMBPOSITION, 2, 2}, {true, SB_ENDSCROLL, 5, 2},
      {false, SB_BOTTOM, 0, 6},     {false, SB_LINEUP, 0, 5},    {false, SB_TOP, 0, 0},
      {false, SB_LINEUP, 0, 0},     {false, SB_THUMBTRACK, 3, 3},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(std::string(s.horizontal ? "horizontal " : "vertical ") + std::to_string(s.request));
    Scroll(s.horizontal, s.request, s.thumb);
    EXPECT_EQ(s.horizontal ? ColumnOffset() : RowOffset(), s.offset);
  }
  ExpectHeaders(6, 3, 6, 4);
  ChangeModel([&](ConfigModel& m) { m.keys[3 * 23 + 2] = kCtrlShiftF1; });
  Scroll(true, SB_LINELEFT);
  EXPECT_EQ(WindowText(KeyButton(1)), KeyText(kCtrlShiftF1));
}

TEST_F(GridTest, ScrollRequestThatMovesNothingRefreshesNothing) {
  Scroll(true, SB_RIGHT);
  SetWindowTextA(KeyButton(0), "stale");
  FocusControl(KeyButton(8));
  Scroll(true, SB_LINERIGHT);
  EXPECT_EQ(ColumnOffset(), 6);
  EXPECT_EQ(WindowText(KeyButton(0)), "stale");
  EXPECT_EQ(GetFocus(), KeyButton(8));
}

TEST_F(GridTest, PageRequestWithOneVisibleColumnDoesNothing) {
  SetClientSize(MainWindow(), 149, 405);
  PumpUntilIdle();
  ASSERT_EQ(VisibleColumnCount(), 1);
  Scroll(true, SB_LINERIGHT);
  Scroll(true, SB_PAGERIGHT);
  EXPECT_EQ(ColumnOffset(), 1);
  Scroll(true, SB_PAGELEFT);
  EXPECT_EQ(ColumnOffset(), 1);
}

TEST_F(GridTest, ScrollingKeepsTheFocusOnTheSameCell) {
  // 6 by 6 visible; key button 8 is grid row 1, grid column 2.
  const struct { const char* what; int startOffset; HWND focus; bool horizontal; int request; HWND expected; } cases[] = {
      {"line right", 0, KeyButton(8), true, SB_LINERIGHT, KeyButton(7)},
      {"line right in column 0", 0, KeyButton(6), true, SB_LINERIGHT, KeyButton(6)},
      {"page right", 0, KeyButton(8), true, SB_PAGERIGHT, KeyButton(6)},
      {"page right from the last column", 0, KeyButton(11), true, SB_PAGERIGHT, KeyButton(6)},
      {"line left in the last column", 3, KeyButton(11), true, SB_LINELEFT, KeyButton(11)},
      {"line down", 0, KeyButton(19), false, SB_LINEDOWN, KeyButton(13)},
      {"line down in row 0", 0, KeyButton(1), false, SB_LINEDOWN, KeyButton(1)},
      {"page up", 6, KeyButton(7), false, SB_PAGEUP, KeyButton(31)},
      {"column pin box", 0, PinBox(2), true, SB_LINERIGHT, PinBox(1)},
      {"last column pin box, line left", 3, PinBox(5), true, SB_LINELEFT, PinBox(5)},
      {"first column pin box, page right", 0, PinBox(0), true, SB_PAGERIGHT, PinBox(0)},
      {"row pin box", 0, PinBox(6 + 3), false, SB_LINEDOWN, PinBox(6 + 2)},
      {"column pin box, vertical", 0, PinBox(2), false, SB_LINEDOWN, PinBox(2)},
      {"row pin box, horizontal", 0, PinBox(6 + 3), true, SB_LINERIGHT, PinBox(6 + 3)},
      {"top drop-down", 0, ColumnsDropDown(), true, SB_LINERIGHT, ColumnsDropDown()},
      {"main window", 0, nullptr, false, SB_LINEDOWN, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ResetEditor();
    Scroll(c.horizontal, SB_THUMBPOSITION, c.startOffset);
    HWND focus = c.focus != nullptr ? c.focus : MainWindow();
    FocusControl(focus);
    ASSERT_EQ(GetFocus(), focus);
    Scroll(c.horizontal, c.request);
    EXPECT_EQ(GetFocus(), c.expected != nullptr ? c.expected : MainWindow());
  }
}

TEST_F(GridTest, WholeConfigurationIsShownAfterItEntersTheModel) {
  ChangeModel([](ConfigModel& model) {
    model.rows = 3;
    model.columns = 5;
    model.typematic = true;
    model.columnPins[4] = 23;
    model.rowPins[2] = 7;
    model.keys[2 * 23 + 4] = kCtrlShiftF1;
  });
  ShowWholeConfiguration();
  PumpUntilIdle();
  EXPECT_EQ(Selection(RowsDropDown()), 2);
  EXPECT_EQ(Selection(ColumnsDropDown()), 4);
  EXPECT_EQ(Selection(TypematicDropDown()), 1);
  ExpectGrid(5, 3);
  ExpectHeaders(5, 1, 3, 1);
  EXPECT_FALSE(HasVisibleStyle(HorizontalScrollBar()));
  EXPECT_FALSE(HasVisibleStyle(VerticalScrollBar()));
  EXPECT_EQ(Selection(PinBox(4)), 23);
  EXPECT_EQ(Selection(PinBox(5 + 2)), 7);
  EXPECT_EQ(WindowText(KeyButton(2 * 5 + 4)), KeyText(kCtrlShiftF1));
}

}  // namespace
