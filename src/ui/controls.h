// The main window's child controls: created once at start-up, then only moved,
// shown, hidden and relabelled.
#pragma once

#include <windows.h>

constexpr int kKeyButtonCount = 144;
constexpr int kPinBoxCount = 24;
constexpr int kHeaderLabelCount = 24;
constexpr int kDropDownCount = 27;   // rows, columns, typematic, then the 24 pin boxes

HWND CreateDropDown(int x, int y, int width, int height);
HWND CreateKeyButton(int x, int y, int width, int height, const char* text);
HWND CreateLabel(int x, int y, int width, int height, const char* text);

// Creates every control of the main window (start-up steps 8-14).
void CreateMainControls(HWND mainWindow);
bool ControlsCreated();

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

// Class procedures replaced by the navigation subclasses.
WNDPROC SavedDropDownProc();
WNDPROC SavedKeyButtonProc();
