#include "ui/cell_view.h"

#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/key_tester_rules.h"
#include "ui/main_window.h"

namespace {

void ShowColumn(int column) {
  const int offset = ColumnOffset();
  ScrollColumns(OffsetShowing(column, offset, VisibleColumnCount()) - offset, true);
}

void ShowRow(int row) {
  const int offset = RowOffset();
  ScrollRows(OffsetShowing(row, offset, VisibleRowCount()) - offset, true);
}

bool InsideCounts(int row, int column) {
  const ConfigModel& model = EditorModel();
  return row >= 0 && row < model.rows && column >= 0 && column < model.columns;
}

}  // namespace

void ScrollCellIntoView(int row, int column) {
  if (!InsideCounts(row, column)) return;
  ShowColumn(column);
  ShowRow(row);
}

HWND KeyButtonShowing(int row, int column) {
  if (!InsideCounts(row, column)) return nullptr;
  const int gridColumn = column - ColumnOffset();
  const int gridRow = row - RowOffset();
  const int columns = VisibleColumnCount();
  if (gridColumn < 0 || gridColumn >= columns || gridRow < 0 || gridRow >= VisibleRowCount()) {
    return nullptr;
  }
  return KeyButton(gridRow * columns + gridColumn);
}

HWND ShowLinePinBox(bool isRow, int index) {
  const int columns = VisibleColumnCount();
  const int rows = VisibleRowCount();
  if (columns <= 0 || rows <= 0) return nullptr;
  if (isRow) {
    if (!InsideCounts(index, 0)) return nullptr;
    ShowRow(index);
    const int gridRow = index - RowOffset();
    return gridRow >= 0 && gridRow < rows ? PinBox(columns + gridRow) : nullptr;
  }
  if (!InsideCounts(0, index)) return nullptr;
  ShowColumn(index);
  const int gridColumn = index - ColumnOffset();
  return gridColumn >= 0 && gridColumn < columns ? PinBox(gridColumn) : nullptr;
}
