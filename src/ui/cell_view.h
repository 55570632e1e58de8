// Bringing a cell or a scan line of the configuration into the grid's view.
#pragma once

#include <windows.h>

// Scrolls the grid the least so that the model cell (counted from 0) shows.
void ScrollCellIntoView(int row, int column);
// The key button that shows the model cell now, or nullptr when it is not shown.
HWND KeyButtonShowing(int row, int column);
// Scrolls a row's or column's pin box into view and returns it, or nullptr when the
// line lies outside the counts or the grid shows no cell.
HWND ShowLinePinBox(bool isRow, int index);
