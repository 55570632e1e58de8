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

void LayoutGrid();
void UpdateScrollBars();
void RefreshGrid();
// LayoutGrid, UpdateScrollBars and RefreshGrid, in this order.
void UpdateGrid();
// After a whole configuration entered the model (New, Open, Read): selects the top
// drop-downs from the model's counts and typematic, then runs the grid update.
void ShowWholeConfiguration();

void ScrollColumns(int delta, bool redraw);
void ScrollRows(int delta, bool redraw);
void OnScrollRequest(bool horizontal, WPARAM wParam);
void SnapWindowRect(WPARAM edge, RECT* rect);

// The mouse wheel over the main window (WM_MOUSEWHEEL, or WM_MOUSEHWHEEL with
// horizontalWheel): scrolls rows, or columns with Shift or the horizontal wheel,
// by whole cells as the scroll bars do.
void OnMouseWheel(bool horizontalWheel, WPARAM wParam);
// Scrolls model column (or row) line into view as the scroll bars would.
void ShowModelLine(bool column, int line);
