#include "ui/cell_view.h"

#include "ui/app_core.h"
#include "ui/controls.h"
#include "ui/grid.h"

namespace {

bool InsideCounts(int row, int column) {
  const ConfigModel& model = EditorModel();
  return row >= 0 && row < model.rows && column >= 0 && column < model.columns;
}

}  // namespace

void ScrollCellIntoView(int row, int column) {
  if (!InsideCounts(row, column)) return;
  ShowModelCell(row, column);
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
    ShowModelCell(index, -1);
    const int gridRow = index - RowOffset();
    return gridRow >= 0 && gridRow < rows ? PinBox(columns + gridRow) : nullptr;
  }
  if (!InsideCounts(0, index)) return nullptr;
  ShowModelCell(-1, index);
  const int gridColumn = index - ColumnOffset();
  return gridColumn >= 0 && gridColumn < columns ? PinBox(gridColumn) : nullptr;
}
