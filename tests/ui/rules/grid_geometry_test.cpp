// The grid's pure decisions: geometry, fitting, snapping, count rule, scrolling.
#include "ui/rules/grid_geometry.h"

#include <gtest/gtest.h>

namespace {

const GridMetrics k96 = GridMetricsForDpi(kBaseDpi);

void ExpectRect(const GridRect& actual, int x, int y, int width, int height) {
  EXPECT_EQ(actual.x, x);
  EXPECT_EQ(actual.y, y);
  EXPECT_EQ(actual.width, width);
  EXPECT_EQ(actual.height, height);
}

TEST(GridGeometry, ControlsSitInTheirCells) {
  {
    SCOPED_TRACE("key buttons");
    ExpectRect(KeyButtonRect(k96, 0, 0), 68, 100, 64, 48);
    ExpectRect(KeyButtonRect(k96, 2, 3), 68 + 192, 100 + 96, 64, 48);
  }
  {
    SCOPED_TRACE("column headers");
    ExpectRect(ColumnHeaderRect(k96, 0), 72, 56, 56, 16);
    ExpectRect(ColumnPinBoxRect(k96, 5), 72 + 320, 72, 56, 24);
  }
  {
    SCOPED_TRACE("row headers");
    ExpectRect(RowHeaderRect(k96, 0), 8, 104, 56, 16);
    ExpectRect(RowPinBoxRect(k96, 3), 8, 120 + 144, 56, 24);
  }
  {
    SCOPED_TRACE("scroll bars follow the visible grid");
    ExpectRect(HorizontalScrollBarRect(k96, 6, 6), 68, 388, 384, 17);
    ExpectRect(VerticalScrollBarRect(k96, 6, 6), 452, 100, 17, 288);
    ExpectRect(HorizontalScrollBarRect(k96, 0, 0), 68, 100, 0, 17);
  }
}

TEST(GridGeometry, TopRowIsCentredWithTruncatingDivision) {
  const struct { int width; int labels[3]; int dropDowns[3]; } cases[] = {
      {469, {30, 186, 342}, {46, 202, 342}},
      {341, {8, 122, 236}, {24, 138, 236}},
      {470, {30, 187, 343}, {46, 203, 343}},  // 5 * 470 / 6 = 391.67 -> 391
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    for (int i = 0; i < kTopControlCount; ++i) {
      EXPECT_EQ(TopLabelX(k96, i, c.width), c.labels[i]) << i;
      EXPECT_EQ(TopDropDownX(k96, i, c.width), c.dropDowns[i]) << i;
    }
  }
}

TEST(GridGeometry, FittingCellsNeverGoNegative) {
  const struct { int extent; int columns; int rows; } cases[] = {
      {0, 0, 0},     {84, 0, 0},    {148, 0, 0},  {149, 1, 0}, {164, 1, 0},
      {165, 1, 1},   {469, 6, 7},   {405, 5, 6},  {1280, 18, 24},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.extent);
    EXPECT_EQ(FittingColumns(k96, c.extent), c.columns);
    EXPECT_EQ(FittingRows(k96, c.extent), c.rows);
  }
  EXPECT_EQ(VisibleCells(18, 12), 12);
  EXPECT_EQ(VisibleCells(6, 12), 6);
  EXPECT_EQ(VisibleCells(0, 23), 0);
  EXPECT_EQ(ScrollMaximum(12, 6), 6);
  EXPECT_EQ(ScrollMaximum(12, 12), 0);
  EXPECT_EQ(ScrollMaximum(8, 12), 0);
}

// A frame of 8 px left and right, and 50 px of caption, menu and borders.
int OuterWidth(int client) { return client + 16; }
int OuterHeight(int client) { return client + 50; }

TEST(GridGeometry, WidthSnapsToTheNearestWholeCellTieGoesWider) {
  // Candidates: n = 4 -> 341 + 16 = 357, n = 5 -> 421, n = 6 -> 485.
  const struct { int proposed; int snapped; } cases[] = {
      {0, 357},   {356, 357}, {357, 357}, {388, 357},
      {389, 421},  // 32 from both: the wider
      {390, 421}, {421, 421}, {452, 421}, {453, 485}, {485, 485},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SnapWidth(k96, c.proposed, OuterWidth), c.snapped) << c.proposed;
  }
}

TEST(GridGeometry, HeightSnapsToTheNearestWholeCellTieGoesLower) {
  // Candidates: n = 4 -> 309 + 50 = 359, n = 5 -> 407, n = 6 -> 455.
  const struct { int proposed; int snapped; } cases[] = {
      {100, 359}, {359, 359}, {382, 359},
      {383, 359},  // 24 from both: the lower
      {384, 407}, {407, 407}, {431, 407}, {432, 455},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SnapHeight(k96, c.proposed, OuterHeight), c.snapped) << c.proposed;
  }
}

TEST(GridGeometry, SnappingStopsAtTheLargestCandidate) {
  const int last = OuterWidth(kGridWidthMargin + kCellWidth * kMaxSnapCells);
  EXPECT_EQ(SnapWidth(k96, 1 << 30, OuterWidth), last);
}

// Each unit scales on its own and positions are built from the scaled units, so
// that n whole cells fit exactly n at every DPI and a drag snaps to whole cells.
TEST(GridGeometry, UnitsScaleWithTheDpiAndCellsStayWhole) {
  const struct { int dpi; GridRect key23, bar66; int startWidth, startHeight, label1X; } cases[] = {
      {96, {260, 196, 64, 48}, {452, 100, 17, 288}, 469, 405, 186},
      {106, {288, 216, 71, 53}, {501, 110, 19, 318}, 520, 447, 207},
      {120, {325, 245, 80, 60}, {565, 125, 21, 360}, 586, 506, 233},
      {144, {390, 294, 96, 72}, {678, 150, 26, 432}, 704, 608, 280},
      {192, {520, 392, 128, 96}, {904, 200, 34, 576}, 938, 810, 373},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    const GridMetrics m = GridMetricsForDpi(c.dpi);
    ExpectRect(KeyButtonRect(m, 2, 3), c.key23.x, c.key23.y, c.key23.width, c.key23.height);
    ExpectRect(VerticalScrollBarRect(m, 6, 6), c.bar66.x, c.bar66.y, c.bar66.width, c.bar66.height);
    EXPECT_EQ(ClientWidthFor(m, 6), c.startWidth);
    EXPECT_EQ(ClientHeightFor(m, 6), c.startHeight);
    EXPECT_EQ(TopLabelX(m, 1, c.startWidth), c.label1X);
    for (int n = kMinSnapCells; n <= kMaxLines; ++n) {
      const int width = ClientWidthFor(m, n), height = ClientHeightFor(m, n);
      EXPECT_EQ(FittingColumns(m, width - 1), n - 1);
      EXPECT_EQ(FittingRows(m, height), n);
      EXPECT_EQ(SnapWidth(m, OuterWidth(width) + m.cellWidth / 3, OuterWidth), OuterWidth(width));
      EXPECT_EQ(SnapHeight(m, OuterHeight(height) - m.cellHeight / 3, OuterHeight), OuterHeight(height));
    }
  }
}

TEST(GridGeometry, SnappedFrameKeepsTheOppositeEdge) {
  const struct { int edge; SizingFrame expected; } cases[] = {
      {kEdgeRight, {100, 50, 400, 350}},      {kEdgeLeft, {200, 50, 500, 350}},
      {kEdgeBottom, {100, 50, 400, 350}},     {kEdgeTop, {100, 150, 400, 450}},
      {kEdgeTopLeft, {200, 150, 500, 450}},   {kEdgeTopRight, {100, 150, 400, 450}},
      {kEdgeBottomLeft, {200, 50, 500, 350}}, {kEdgeBottomRight, {100, 50, 400, 350}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.edge);
    SizingFrame frame = {100, 50, 500, 450};
    AnchorSnappedFrame(frame, c.edge, 300, 300);
    EXPECT_EQ(frame.left, c.expected.left);
    EXPECT_EQ(frame.top, c.expected.top);
    EXPECT_EQ(frame.right, c.expected.right);
    EXPECT_EQ(frame.bottom, c.expected.bottom);
  }
}

TEST(GridGeometry, CountRuleLowersTheOtherCount) {
  const struct { int changed; int other; int kept; } cases[] = {
      {23, 12, 1}, {20, 12, 4}, {12, 12, 12}, {13, 12, 11}, {1, 23, 23}, {23, 1, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OtherCountAfterChange(c.changed, c.other), c.kept) << c.changed << "+" << c.other;
  }
}

TEST(GridGeometry, ScrollRequestsGiveTheirSteps) {
  const struct { int request; int thumb; int current; int visible; ScrollStep step; } cases[] = {
      {kScrollLineBack, 0, 3, 6, {true, -1, true}},
      {kScrollLineForward, 0, 3, 6, {true, 1, true}},
      {kScrollPageBack, 0, 3, 6, {true, -5, true}},
      {kScrollPageForward, 0, 3, 6, {true, 5, true}},
      {kScrollPageForward, 0, 3, 1, {true, 0, true}},   // one visible cell: no page
      {kScrollPageBack, 0, 3, 0, {true, 0, true}},      // nothing visible: no page either
      {kScrollThumbPosition, 5, 3, 6, {true, 2, false}},
      {kScrollThumbTrack, 1, 3, 6, {true, -2, false}},
      {kScrollToStart, 0, 3, 6, {true, -1024, true}},
      {kScrollToEnd, 0, 3, 6, {true, 1024, true}},
      {8, 0, 3, 6, {false, 0, false}},                 // end of scrolling
      {9, 0, 3, 6, {false, 0, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.request);
    const ScrollStep step = ScrollStepFor(c.request, c.thumb, c.current, c.visible);
    EXPECT_EQ(step.act, c.step.act);
    EXPECT_EQ(step.delta, c.step.delta);
    EXPECT_EQ(step.redraw, c.step.redraw);
  }
}

TEST(GridGeometry, ScrollDeltaIsCutToTheRange) {
  EXPECT_EQ(ClampScrollDelta(3, 1024, 0, 6), 3);
  EXPECT_EQ(ClampScrollDelta(3, -1024, 0, 6), -3);
  EXPECT_EQ(ClampScrollDelta(6, 1, 0, 6), 0);
  EXPECT_EQ(ClampScrollDelta(0, -1, 0, 6), 0);
  EXPECT_EQ(ClampScrollDelta(2, 2, 0, 6), 2);
}

TEST(GridGeometry, ColumnScrollKeepsTheFocusedCell) {
  // 6 x 6 visible; button 14 is grid row 2, grid column 2.
  const struct { int button; int delta; int focus; } cases[] = {
      {14, 1, 13},   // line right: the same cell one column further left
      {12, 1, 12},   // grid column 0 stays in grid column 0
      {14, -1, 15},  // line left
      {17, -1, 17},  // last grid column stays there
      {14, 5, 12},   // page right: first button of the row
      {17, 5, 12},
      {12, -5, 17},  // page left from the first column: last of the row
      {14, 0, 14},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyFocusAfterColumnScroll(c.button, c.delta, 6, 6), c.focus)
        << c.button << " by " << c.delta;
  }
}

TEST(GridGeometry, RowScrollKeepsTheFocusedCell) {
  // 4 columns by 5 rows visible; button 13 is grid row 3, grid column 1.
  const struct { int button; int delta; int focus; } cases[] = {
      {13, 1, 9},    // line down: grid row 2, same column
      {1, 1, 1},     // grid row 0 stays in grid row 0
      {13, -1, 17},  // line up: grid row 4
      {17, -1, 17},  // last grid row stays there
      {13, 4, 1},    // page down: first grid row
      {1, -4, 17},   // page up: last grid row
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyFocusAfterRowScroll(c.button, c.delta, 4, 5), c.focus)
        << c.button << " by " << c.delta;
  }
}

TEST(GridGeometry, PinFocusStaysWithinTheVisibleLines) {
  const struct { int line; int delta; int focus; } cases[] = {
      {2, 1, 1}, {0, 1, 0}, {5, -1, 5}, {5, 1, 4}, {3, 1024, 0}, {3, -1024, 5},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PinFocusAfterScroll(c.line, c.delta, 6), c.focus) << c.line << " by " << c.delta;
  }
}

TEST(GridGeometry, FocusSearchesOutsideTheVisibleGridFindNothing) {
  EXPECT_EQ(KeyFocusAfterColumnScroll(36, 1, 6, 6), -1);
  EXPECT_EQ(KeyFocusAfterColumnScroll(-1, 1, 6, 6), -1);
  EXPECT_EQ(KeyFocusAfterColumnScroll(0, 1, 0, 6), -1);  // no visible column: no division
  EXPECT_EQ(KeyFocusAfterRowScroll(0, 1, 0, 0), -1);
  EXPECT_EQ(PinFocusAfterScroll(6, 1, 6), -1);
  EXPECT_EQ(PinFocusAfterScroll(0, 1, 0), -1);
}

TEST(GridGeometry, KeyButtonsMapToModelCellsAtTheOffsets) {
  ModelCell cell = {};
  ASSERT_TRUE(KeyButtonCell(14, 6, 6, 3, 1, cell));
  EXPECT_EQ(cell.row, 3);
  EXPECT_EQ(cell.column, 5);
  ASSERT_TRUE(KeyButtonCell(0, 1, 1, 22, 0, cell));
  EXPECT_EQ(cell.column, 22);
  EXPECT_FALSE(KeyButtonCell(36, 6, 6, 0, 0, cell));
  EXPECT_FALSE(KeyButtonCell(0, 0, 6, 0, 0, cell));
  EXPECT_FALSE(KeyButtonCell(0, 1, 1, 23, 0, cell));  // past the matrix
}

TEST(GridGeometry, PinBoxesEditColumnsThenRowsAtTheOffsets) {
  const struct { int box; int columnOffset; int rowOffset; bool column; int index; } cases[] = {
      {1, 3, 0, true, 4},    // second column pin box, offset 3: fifth column
      {5, 0, 2, true, 5},
      {6, 0, 2, false, 2},   // first row pin box
      {11, 4, 6, false, 11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    PinTarget target = {};
    ASSERT_TRUE(PinBoxTarget(c.box, 6, 6, c.columnOffset, c.rowOffset, target));
    EXPECT_EQ(target.column, c.column);
    EXPECT_EQ(target.index, c.index);
  }
  PinTarget target = {};
  EXPECT_FALSE(PinBoxTarget(12, 6, 6, 0, 0, target));
  EXPECT_FALSE(PinBoxTarget(-1, 6, 6, 0, 0, target));
}

}  // namespace

TEST(GridGeometry, ScrollDeltaBringsALineIntoView) {
  const struct { int line; int offset; int visible; int delta; } cases[] = {
      {4, 3, 6, 0},    // shown
      {8, 3, 6, 0},    // last shown line
      {9, 3, 6, 1},    // just below: the least scroll
      {22, 0, 6, 17},
      {1, 3, 6, -2},   // above: it becomes the first line
      {5, 0, 0, 0},    // nothing shows, nothing to scroll to
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScrollDeltaToShow(c.line, c.offset, c.visible), c.delta) << c.line << " at " << c.offset;
  }
}

TEST(GridGeometry, WheelDeltasAddUpToWholeCells) {
  WheelAccumulator wheel;
  EXPECT_EQ(WheelCells(wheel, kWheelNotch, 3), 3);
  EXPECT_EQ(WheelCells(wheel, -kWheelNotch, 1), -1);
  // Parts of a notch gather; a remainder carries to the next turn.
  EXPECT_EQ(WheelCells(wheel, 30, 1), 0);
  EXPECT_EQ(WheelCells(wheel, 30, 1), 0);
  EXPECT_EQ(WheelCells(wheel, 30, 1), 0);
  EXPECT_EQ(WheelCells(wheel, 50, 1), 1);
  EXPECT_EQ(WheelCells(wheel, 100, 1), 1);   // 20 left over + 100
  // A turn the other way drops what was gathered.
  EXPECT_EQ(WheelCells(wheel, 60, 1), 0);
  EXPECT_EQ(WheelCells(wheel, -60, 1), 0);
  EXPECT_EQ(WheelCells(wheel, -60, 1), -1);
  EXPECT_EQ(WheelCells(wheel, 40, 7), 2);    // 280: 2 cells, 40 left
  EXPECT_EQ(WheelCells(wheel, 40, 7), 2);    // 40 + 280: 80 left
  EXPECT_EQ(WheelCells(wheel, 40, 7), 3);    // 80 + 280
  EXPECT_EQ(WheelCells(wheel, kWheelNotch, 0), 0);
}
