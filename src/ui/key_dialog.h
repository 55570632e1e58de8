// The "Select a key" dialog.
#pragma once

#include <windows.h>

#include "model/key_code.h"

INT_PTR CALLBACK KeyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally for a cell's key code; returns the new key code, or -1
// when the cell is to stay as it is.
int RunKeyDialog(HWND owner, KeyCode current);
