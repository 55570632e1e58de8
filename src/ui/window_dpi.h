// The window's DPI and its frame at a DPI, through the calls of newer systems where
// they exist (looked up at run time, so that the program still starts where they do
// not), else through the system-wide ones.
#pragma once

#include <windows.h>

// Sent to a top-level window whose DPI changed: the new DPI in wParam, the
// suggested window rectangle in lParam. Newer than the headers' Windows version.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI the window is drawn at; the screen's where the system has no per-window DPI.
int WindowDpi(HWND window);
// The DPI of the screen before any window exists.
int ScreenDpi();
// Outer rectangle of a window with this style and menu around the client rectangle
// in frame, with the frame metrics of dpi.
void AdjustWindowRectForDpi(RECT& frame, DWORD style, bool menu, int dpi);
