// Keyboard navigation of the grid: subclass procedures of key buttons and drop-downs.
#pragma once

#include <windows.h>

LRESULT CALLBACK KeyButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DropDownProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
