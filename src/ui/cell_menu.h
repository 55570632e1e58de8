// The context menu of a key button: "Select Key..." (the key dialog for its cell),
// then the Edit menu's Cut, Copy, Paste and Clear, greyed as there.
#pragma once

#include <windows.h>

// Puts the focus on the button and opens its menu at point (screen coordinates, as
// WM_CONTEXTMENU gives them; -1, -1 from the keyboard: at the button's lower left).
void OpenCellMenu(HWND button, LPARAM point);
