#include "ui/key_dialog.h"

// Placeholder until the key selection dialog lands: nothing is chosen.
INT_PTR CALLBACK KeyDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

int RunKeyDialog(HWND, KeyCode) { return -1; }
