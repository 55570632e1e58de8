// The progress window of the transfers and the About box.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Creates and shows the progress window (owned by the main window) and keeps its handle.
void OpenProgressWindow();
// Destroys it and clears the handle.
void CloseProgressWindow();
// The open progress window, or nullptr. While it exists a transfer runs.
HWND ProgressWindow();
// Sets the progress text; it is painted at once unless the last paint is less
// than a frame old.
void SetProgressText(const char* text);
// Paints a text not painted yet. Called whenever the link waits.
void PaintProgressText();

void ShowAboutBox();
