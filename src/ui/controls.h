// The main window's child controls: created once at start-up, then only moved,
// shown, hidden and relabelled.
#pragma once

#include <windows.h>

#include "model/config.h"
#include "ui/rules/grid_geometry.h"

// One pin box and one header label per pin: the column lines, then the row lines.
constexpr int kKeyButtonCount = 144;
// Rows, columns, typematic, then the pin boxes.
constexpr int kDropDownCount = kTopControlCount + kPinCount;

// The procedures that subclass the drop-downs and the key buttons (keyboard
// navigation, which builds on the controls).
struct ControlProcedures {
  WNDPROC dropDown;
  WNDPROC keyButton;
};

// Creates every control of the main window, hidden but for the top row; the grid
// layout places and shows the rest.
void CreateMainControls(HWND mainWindow, const ControlProcedures& procedures);
bool ControlsCreated();
// The grid's units at the editor's DPI.
GridMetrics UiMetrics();
// After the editor's DPI changed from fromDpi: every control, hidden ones too, gets
// its size at the new DPI and its place scaled; the grid layout then places the
// shown ones exactly.
void RescaleControls(int fromDpi);
// Gives every control but the scroll bars the font, and repaints it.
void SetControlsFont(HFONT font);

HWND TopLabel(int i);          // 0 rows, 1 columns, 2 typematic
HWND RowsDropDown();
HWND ColumnsDropDown();
HWND TypematicDropDown();
HWND DropDownAt(int position); // 0..26 in the navigation order
HWND HeaderLabel(int i);
HWND PinBox(int i);
HWND KeyButton(int i);
HWND HorizontalScrollBar();
HWND VerticalScrollBar();

// Index of a control among the first count key buttons (or pin boxes), or -1.
int FindKeyButton(HWND control, int count);
int FindPinBox(HWND control, int count);

// Gives a drop-down the height of its opened list, or its closed height, in place.
void SizeDropDownForList(HWND dropDown, bool open);

// Class procedures replaced by the navigation subclasses.
WNDPROC SavedDropDownProc();
WNDPROC SavedKeyButtonProc();
