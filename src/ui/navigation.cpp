#include "ui/navigation.h"

#include "ui/controls.h"

// Placeholder until keyboard navigation lands: pass everything on.
LRESULT CALLBACK KeyButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(SavedKeyButtonProc(), window, message, wParam, lParam);
}

LRESULT CALLBACK DropDownProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(SavedDropDownProc(), window, message, wParam, lParam);
}
