#include "ui/progress.h"

#include "ui/main_window.h"
#include "ui/resources/resource.h"

namespace {

// The open progress window; null while no transfer runs.
HWND progressWindow = nullptr;

}  // namespace

// Handles no command: Esc, Enter and the like cannot close the window.
namespace {

INT_PTR CALLBACK ProgressDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

// Any command (OK, Enter, Esc, the close box) ends the box with its id.

}  // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

void OpenProgressWindow() {
  progressWindow = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(IDD_PROGRESS), MainWindow(),
                                      ProgressDialogProc, 0);
  if (progressWindow == nullptr) return;
  ShowWindow(progressWindow, SW_SHOW);
  UpdateWindow(progressWindow);
}

void CloseProgressWindow() {
  if (progressWindow != nullptr) DestroyWindow(progressWindow);
  progressWindow = nullptr;
}

HWND ProgressWindow() { return progressWindow; }

void SetProgressText(const char* text) {
  if (progressWindow == nullptr) return;
  SetWindowTextA(GetDlgItem(progressWindow, IDC_PROGRESS_TEXT), text);
}

void ShowAboutBox() {
  DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_ABOUT), MainWindow(), AboutDialogProc, 0);
}
