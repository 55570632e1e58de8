// The progress window of the transfers and the About box.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Creates and shows the progress window (owned by the main window); from then on
// a transfer runs (ProgressWindow() and TransferRunning() in app_core.h). False when
// it could not be created.
bool OpenProgressWindow();
// Destroys it: the transfer is over.
void CloseProgressWindow();
// Sets the progress text; it is painted at once unless the last paint is less
// than a frame old.
void SetProgressText(const char* text);
// Paints a text not painted yet. Called whenever the link waits.
void PaintProgressText();

void ShowAboutBox();
