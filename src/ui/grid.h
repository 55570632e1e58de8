// The matrix grid: layout, scroll bars and wheel, refresh, snapping.
#pragma once

#include <windows.h>

// Wheel messages and settings newer than the headers' Windows version; the
// editor handles them where the system sends them.
#ifndef WM_MOUSEHWHEEL
#define WM_MOUSEHWHEEL 0x020E
#endif
#ifndef SPI_GETWHEELSCROLLCHARS
#define SPI_GETWHEELSCROLLCHARS 0x006C
#endif

int VisibleColumnCount();
int VisibleRowCount();
int ColumnOffset();   // position of the horizontal scroll bar
int RowOffset();      // position of the vertical scroll bar

// Copies the model into the visible controls.
void RefreshGrid();
// Lays the grid out for the client size and counts, ranges the scroll bars, then
// refreshes the controls.
void UpdateGrid();
// The grid update, placing every shown control also where the visible counts stay
// (after the DPI changed).
void RelayoutGrid();
// After a whole configuration entered the model (New, Open, Read): selects the top
// drop-downs from the model's counts and typematic, then runs the grid update.
void ShowWholeConfiguration();

// A drop-down's selected item, or -1.
int SelectedIndex(HWND dropDown);
// The count a rows or columns drop-down shows; modelCount when nothing is selected.
int SelectedCount(HWND dropDown, int modelCount);
// Whether the typematic drop-down shows "Enabled".
bool SelectedTypematic();

void OnScrollRequest(bool horizontal, WPARAM wParam);
// Moves the column offset (horizontal) or the row offset by step within its range
// and refreshes the grid. Unlike the scroll bar's requests it leaves the focus where
// it is: the focused key button then shows the neighbouring cell (the arrow keys).
void SlideGrid(bool horizontal, int step);
void SnapWindowRect(WPARAM edge, RECT* rect);

// The mouse wheel over the main window (WM_MOUSEWHEEL, or WM_MOUSEHWHEEL with
// horizontalWheel): scrolls rows, or columns with Shift or the horizontal wheel
// (or when the columns' scroll bar is the only one shown), by whole cells as the
// scroll bars do.
void OnMouseWheel(bool horizontalWheel, WPARAM wParam);
// Scrolls model row and column into view as the scroll bars would (-1: that
// direction stays), then refreshes the grid.
void ShowModelCell(int row, int column);
