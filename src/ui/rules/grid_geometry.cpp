// Grid geometry and the grid's pure decisions.
#include "ui/rules/grid_geometry.h"

#include <algorithm>

#include "model/config.h"

namespace {

constexpr int kColumnHeaderInset = 4;   // header labels and pin boxes sit 4 px into a column
constexpr int kColumnHeaderY = 56;
constexpr int kColumnPinBoxY = 72;
constexpr int kRowHeaderX = 8;
constexpr int kRowHeaderInset = 4;      // row labels start 4 px below the row's top
constexpr int kRowPinBoxInset = 20;
constexpr int kTopControlSlots = 6;     // the top row is centred at W/6, W/2 and 5W/6

// Walks the candidates n = 4, 5, ... and picks the nearer of the two around proposed.
int Snap(int proposed, int margin, int cell, const std::function<int(int)>& outerOf,
         bool tieGoesLarger) {
  int lower = 0;
  int upper = outerOf(margin + cell * kMinSnapCells);
  bool hasLower = false;
  for (int n = kMinSnapCells + 1; upper <= proposed && n <= kMaxSnapCells; ++n) {
    lower = upper;
    hasLower = true;
    upper = outerOf(margin + cell * n);
  }
  if (!hasLower) return upper;
  const int above = upper - proposed;
  const int below = proposed - lower;
  if (tieGoesLarger) return above <= below ? upper : lower;
  return above < below ? upper : lower;
}

int TopCentre(int control, int clientWidth) {
  return (2 * control + 1) * clientWidth / kTopControlSlots;
}

}  // namespace

int ScaleToDpi(int pixels, int dpi) {
  // Nearest integer, halves away from zero.
  const long long product = static_cast<long long>(pixels) * dpi;
  const long long half = kBaseDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi : (product - half) / kBaseDpi);
}

GridMetrics GridMetricsForDpi(int dpi) {
  const auto at = [dpi](int pixels) { return ScaleToDpi(pixels, dpi); };
  GridMetrics m = {dpi,
                   at(kCellWidth),
                   at(kCellHeight),
                   at(kGridLeft),
                   at(kGridTop),
                   at(kScrollBarThickness),
                   at(kHeaderWidth),
                   at(kHeaderHeight),
                   at(kPinBoxHeight),
                   at(kColumnHeaderInset),
                   at(kColumnHeaderY),
                   at(kColumnPinBoxY),
                   at(kRowHeaderX),
                   at(kRowHeaderInset),
                   at(kRowPinBoxInset),
                   at(kTopLabelY),
                   at(kTopDropDownY),
                   at(kTopLabelWidth),
                   at(kTopLabelHeight),
                   {}};
  for (int i = 0; i < kTopControlCount; ++i) m.topDropDownWidths[i] = at(kTopDropDownWidths[i]);
  return m;
}

int ClientWidthFor(const GridMetrics& m, int cells) {
  return m.gridLeft + m.scrollBar + m.cellWidth * cells;
}

int ClientHeightFor(const GridMetrics& m, int cells) {
  return m.gridTop + m.scrollBar + m.cellHeight * cells;
}

GridRect KeyButtonRect(const GridMetrics& m, int gridRow, int gridColumn) {
  return {m.gridLeft + m.cellWidth * gridColumn, m.gridTop + m.cellHeight * gridRow, m.cellWidth,
          m.cellHeight};
}

GridRect ColumnHeaderRect(const GridMetrics& m, int gridColumn) {
  return {m.gridLeft + m.columnHeaderInset + m.cellWidth * gridColumn, m.columnHeaderY,
          m.headerWidth, m.headerHeight};
}

GridRect ColumnPinBoxRect(const GridMetrics& m, int gridColumn) {
  return {m.gridLeft + m.columnHeaderInset + m.cellWidth * gridColumn, m.columnPinBoxY,
          m.headerWidth, m.pinBoxHeight};
}

GridRect RowHeaderRect(const GridMetrics& m, int gridRow) {
  return {m.rowHeaderX, m.gridTop + m.rowHeaderInset + m.cellHeight * gridRow, m.headerWidth,
          m.headerHeight};
}

GridRect RowPinBoxRect(const GridMetrics& m, int gridRow) {
  return {m.rowHeaderX, m.gridTop + m.rowPinBoxInset + m.cellHeight * gridRow, m.headerWidth,
          m.pinBoxHeight};
}

GridRect HorizontalScrollBarRect(const GridMetrics& m, int visibleColumns, int visibleRows) {
  return {m.gridLeft, m.gridTop + m.cellHeight * visibleRows, m.cellWidth * visibleColumns,
          m.scrollBar};
}

GridRect VerticalScrollBarRect(const GridMetrics& m, int visibleColumns, int visibleRows) {
  return {m.gridLeft + m.cellWidth * visibleColumns, m.gridTop, m.scrollBar,
          m.cellHeight * visibleRows};
}

int TopLabelX(const GridMetrics& m, int control, int clientWidth) {
  return TopCentre(control, clientWidth) - m.topLabelWidth / 2;
}

int TopDropDownX(const GridMetrics& m, int control, int clientWidth) {
  return TopCentre(control, clientWidth) - m.topDropDownWidths[control] / 2;
}

int FittingColumns(const GridMetrics& m, int clientWidth) {
  return std::max(0, (clientWidth - ClientWidthFor(m, 0)) / m.cellWidth);
}

int FittingRows(const GridMetrics& m, int clientHeight) {
  return std::max(0, (clientHeight - ClientHeightFor(m, 0)) / m.cellHeight);
}

int VisibleCells(int fitting, int count) { return std::max(0, std::min(fitting, count)); }

int ScrollMaximum(int count, int visible) { return std::max(0, count - visible); }

int SnapWidth(const GridMetrics& m, int proposedWidth, const std::function<int(int)>& outerOf) {
  return Snap(proposedWidth, ClientWidthFor(m, 0), m.cellWidth, outerOf, true);
}

int SnapHeight(const GridMetrics& m, int proposedHeight, const std::function<int(int)>& outerOf) {
  return Snap(proposedHeight, ClientHeightFor(m, 0), m.cellHeight, outerOf, false);
}

void AnchorSnappedFrame(SizingFrame& frame, int edge, int width, int height) {
  if (edge == kEdgeLeft || edge == kEdgeTopLeft || edge == kEdgeBottomLeft) {
    frame.left = frame.right - width;
  } else {
    frame.right = frame.left + width;
  }
  if (edge == kEdgeTop || edge == kEdgeTopLeft || edge == kEdgeTopRight) {
    frame.top = frame.bottom - height;
  } else {
    frame.bottom = frame.top + height;
  }
}

ScrollStep ScrollStepFor(int request, int thumbPosition, int currentPosition, int visibleCount) {
  // A page is one cell less than the visible part, and no page at all when at most
  // one cell shows.
  const int page = std::max(0, visibleCount - 1);
  switch (request) {
    case kScrollLineBack: return {true, -1, true};
    case kScrollLineForward: return {true, 1, true};
    case kScrollPageBack: return {true, -page, true};
    case kScrollPageForward: return {true, page, true};
    case kScrollThumbPosition:
    case kScrollThumbTrack: return {true, thumbPosition - currentPosition, false};
    case kScrollToStart: return {true, -kScrollToEndDelta, true};
    case kScrollToEnd: return {true, kScrollToEndDelta, true};
    default: return {false, 0, false};
  }
}

int ClampScrollDelta(int position, int delta, int minimum, int maximum) {
  if (position + delta < minimum) delta = minimum - position;
  if (position + delta > maximum) delta = maximum - position;
  return delta;
}

int KeyFocusAfterColumnScroll(int button, int delta, int visibleColumns, int visibleRows) {
  if (visibleColumns <= 0 || button < 0 || button >= visibleColumns * visibleRows) return -1;
  const int column = button % visibleColumns;
  const int rowStart = button - column;
  if (column - delta < 0) return rowStart;
  if (column - delta >= visibleColumns) return rowStart + visibleColumns - 1;
  return button - delta;
}

int KeyFocusAfterRowScroll(int button, int delta, int visibleColumns, int visibleRows) {
  if (visibleColumns <= 0 || button < 0 || button >= visibleColumns * visibleRows) return -1;
  const int row = button / visibleColumns;
  const int column = button % visibleColumns;
  if (row - delta < 0) return column;
  if (row - delta >= visibleRows) return (visibleRows - 1) * visibleColumns + column;
  return button - delta * visibleColumns;
}

int PinFocusAfterScroll(int gridLine, int delta, int visibleLines) {
  if (gridLine < 0 || gridLine >= visibleLines) return -1;
  if (gridLine - delta < 0) return 0;
  if (gridLine - delta >= visibleLines) return visibleLines - 1;
  return gridLine - delta;
}

bool KeyButtonCell(int button, int visibleColumns, int visibleRows, int columnOffset,
                   int rowOffset, ModelCell& cell) {
  if (visibleColumns <= 0 || button < 0 || button >= visibleColumns * visibleRows) return false;
  cell.row = rowOffset + button / visibleColumns;
  cell.column = columnOffset + button % visibleColumns;
  return cell.row >= 0 && cell.row < kMaxLines && cell.column >= 0 && cell.column < kMaxLines;
}

bool PinBoxTarget(int pinBox, int visibleColumns, int visibleRows, int columnOffset,
                  int rowOffset, PinTarget& target) {
  if (pinBox < 0 || pinBox >= visibleColumns + visibleRows) return false;
  target.column = pinBox < visibleColumns;
  target.index = target.column ? columnOffset + pinBox : rowOffset + pinBox - visibleColumns;
  return target.index >= 0 && target.index < kMaxLines;
}

int ScrollDeltaToShow(int line, int offset, int visible) {
  if (visible <= 0) return 0;
  if (line < offset) return line - offset;
  if (line >= offset + visible) return line - (offset + visible - 1);
  return 0;
}

int WheelCells(WheelAccumulator& wheel, int delta, int perNotch) {
  if (perNotch <= 0 || delta == 0) return 0;
  // A turn the other way drops what the last direction had gathered.
  if ((delta > 0) != (wheel.rest > 0) && wheel.rest != 0) wheel.rest = 0;
  wheel.rest += delta * perNotch;
  const int cells = wheel.rest / kWheelNotch;
  wheel.rest -= cells * kWheelNotch;
  return cells;
}
