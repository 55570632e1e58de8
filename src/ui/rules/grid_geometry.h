// Pure decisions of the matrix grid: where every control goes, how many cells fit,
// which window size a frame drag snaps to, what a scroll request
// does and where the focus goes when the grid scrolls. No Win32 here.
#pragma once

#include <functional>

#include "model/config.h"   // the count rule

// Sizes are given at 96 DPI; a window at another DPI scales each unit on its own,
// rounding as the system's MulDiv does, and builds every position and snap size from
// the scaled units, so that the grid stays on whole cells at any DPI.
constexpr int kBaseDpi = 96;
int ScaleToDpi(int pixels, int dpi);

// Cells and their frame, in client pixels at kBaseDpi.
constexpr int kCellWidth = 64;
constexpr int kCellHeight = 48;
constexpr int kGridLeft = 68;              // first key button column
constexpr int kGridTop = 100;              // first key button row
constexpr int kScrollBarThickness = 17;
constexpr int kGridWidthMargin = kGridLeft + kScrollBarThickness;   // 85
constexpr int kGridHeightMargin = kGridTop + kScrollBarThickness;   // 117
constexpr int kHeaderWidth = 56;
constexpr int kHeaderHeight = 16;
constexpr int kPinBoxHeight = 24;          // a closed pin box
// Counts of cells: these do not scale.
constexpr int kMinSnapCells = 4;           // the smallest window a drag gives: 4 x 4 cells
constexpr int kMaxSnapCells = 1023;

// The top row: three labels with their drop-downs centred on the client width.
constexpr int kTopLabelY = 8;
constexpr int kTopDropDownY = 24;
constexpr int kTopLabelWidth = 96;
constexpr int kTopLabelHeight = 16;
constexpr int kTopControlCount = 3;        // 0 rows, 1 columns, 2 typematic
constexpr int kTopDropDownWidths[kTopControlCount] = {64, 64, 96};

// The units above at one DPI.
struct GridMetrics {
  int dpi;
  int cellWidth;
  int cellHeight;
  int gridLeft;
  int gridTop;
  int scrollBar;
  int headerWidth;
  int headerHeight;
  int pinBoxHeight;
  int columnHeaderInset;   // column labels and pin boxes sit this far into a column
  int columnHeaderY;
  int columnPinBoxY;
  int rowHeaderX;
  int rowHeaderInset;      // below the row's top
  int rowPinBoxInset;
  int topLabelY;
  int topDropDownY;
  int topLabelWidth;
  int topLabelHeight;
  int topDropDownWidths[kTopControlCount];
};
GridMetrics GridMetricsForDpi(int dpi);

// Client extent that holds cells whole, with room for the scroll bar.
int ClientWidthFor(const GridMetrics& m, int cells);
int ClientHeightFor(const GridMetrics& m, int cells);

struct GridRect {
  int x;
  int y;
  int width;
  int height;
};

GridRect KeyButtonRect(const GridMetrics& m, int gridRow, int gridColumn);
GridRect ColumnHeaderRect(const GridMetrics& m, int gridColumn);
GridRect ColumnPinBoxRect(const GridMetrics& m, int gridColumn);
GridRect RowHeaderRect(const GridMetrics& m, int gridRow);
GridRect RowPinBoxRect(const GridMetrics& m, int gridRow);
GridRect HorizontalScrollBarRect(const GridMetrics& m, int visibleColumns, int visibleRows);
GridRect VerticalScrollBarRect(const GridMetrics& m, int visibleColumns, int visibleRows);

int TopLabelX(const GridMetrics& m, int control, int clientWidth);
int TopDropDownX(const GridMetrics& m, int control, int clientWidth);

// Cells that fit a client extent (never negative).
int FittingColumns(const GridMetrics& m, int clientWidth);
int FittingRows(const GridMetrics& m, int clientHeight);
// Visible cells: those that fit, at most the count.
int VisibleCells(int fitting, int count);

// Largest scroll offset: count - visible, never below 0.
int ScrollMaximum(int count, int visible);

// Window snapping. outerOf(clientExtent) gives the outer window extent for a client
// extent. The candidate for n cells has a client extent of margin + cell * n, n from 4.
// A width halfway between two candidates takes the wider one, a height the lower one.
int SnapWidth(const GridMetrics& m, int proposedWidth, const std::function<int(int)>& outerOf);
int SnapHeight(const GridMetrics& m, int proposedHeight, const std::function<int(int)>& outerOf);

// Frame edges being dragged, numbered as the sizing message numbers them.
enum SizingEdge {
  kEdgeLeft = 1, kEdgeRight, kEdgeTop, kEdgeTopLeft, kEdgeTopRight,
  kEdgeBottom, kEdgeBottomLeft, kEdgeBottomRight
};
struct SizingFrame {
  int left;
  int top;
  int right;
  int bottom;
};
// Gives the rectangle the snapped size, keeping the edge opposite the dragged one.
void AnchorSnappedFrame(SizingFrame& frame, int edge, int width, int height);

// Scroll requests of the scroll bars (the request codes are those of the platform).
enum ScrollRequest {
  kScrollLineBack = 0, kScrollLineForward, kScrollPageBack, kScrollPageForward,
  kScrollThumbPosition, kScrollThumbTrack, kScrollToStart, kScrollToEnd
};
constexpr int kScrollToEndDelta = 1024;
struct ScrollStep {
  bool act;      // false: the request does nothing
  int delta;
  bool redraw;   // repaint the scroll bar at once
};
ScrollStep ScrollStepFor(int request, int thumbPosition, int currentPosition, int visibleCount);
// Cuts delta so that position + delta stays within minimum..maximum.
int ClampScrollDelta(int position, int delta, int minimum, int maximum);

// Scroll delta that brings model line (a column or row) into a view of visible
// lines at offset; 0 when it shows already or nothing shows.
int ScrollDeltaToShow(int line, int offset, int visible);

// The wheel: deltas of a notch (120) or parts of one add up until they make whole
// cells, perNotch cells to a notch. Returns the cells to scroll (negative: back).
constexpr int kWheelNotch = 120;
struct WheelAccumulator {
  int rest = 0;   // in 1/kWheelNotch of a cell, of the sign of the last turn
};
int WheelCells(WheelAccumulator& wheel, int delta, int perNotch);

// Focus after the grid scrolled by delta columns (or rows), so that the focus stays
// on the same model cell where it is still shown, else at the nearest grid edge.
// Key buttons are numbered row by row; every function returns -1 when the input is
// not a visible control.
int KeyFocusAfterColumnScroll(int button, int delta, int visibleColumns, int visibleRows);
int KeyFocusAfterRowScroll(int button, int delta, int visibleColumns, int visibleRows);
// For pin boxes: the grid column (or row) whose pin box takes the focus.
int PinFocusAfterScroll(int gridLine, int delta, int visibleLines);

// The model cell of a visible key button at the current offsets, or false when the
// button is not visible or the cell lies outside the matrix.
struct ModelCell {
  int row;
  int column;
};
bool KeyButtonCell(int button, int visibleColumns, int visibleRows, int columnOffset,
                   int rowOffset, ModelCell& cell);

// Which pin a pin box edits: the column pins come first, then the row pins.
struct PinTarget {
  bool column;   // columnPins, else rowPins
  int index;
};
bool PinBoxTarget(int pinBox, int visibleColumns, int visibleRows, int columnOffset,
                  int rowOffset, PinTarget& target);
