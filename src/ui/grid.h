// The matrix grid: layout, scroll bars, refresh, snapping, count and pin changes.
#pragma once

#include <windows.h>

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

// Reactions to a user's selection change.
void OnCountChanged(HWND dropDown);
void OnPinBoxChanged(int pinBox);
