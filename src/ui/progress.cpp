#include "ui/progress.h"

#include "ui/main_window.h"
#include "ui/resources/resource.h"

namespace {

// The open progress window; null while no transfer runs.
HWND progressWindow = nullptr;

// A transfer sets the progress text for every byte, faster than a screen shows
// it, and every paint lengthens the transfer. So a new text is painted at once
// when the last paint is a frame old, else when the link next waits.
constexpr DWORD kFrameMs = 16;
DWORD lastPaint = 0;
bool paintPending = false;

HWND ProgressLabel() { return GetDlgItem(progressWindow, IDC_PROGRESS_TEXT); }

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
  lastPaint = GetTickCount();
  paintPending = false;
}

void CloseProgressWindow() {
  if (progressWindow != nullptr) DestroyWindow(progressWindow);
  progressWindow = nullptr;
}

HWND ProgressWindow() { return progressWindow; }

void SetProgressText(const char* text) {
  if (progressWindow == nullptr) return;
  // The label's own handling would paint the text at once; the default one
  // only stores it, and the label paints what is stored.
  DefWindowProcA(ProgressLabel(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  paintPending = true;
  if (GetTickCount() - lastPaint >= kFrameMs) PaintProgressText();
}

void PaintProgressText() {
  if (progressWindow == nullptr || !paintPending) return;
  RedrawWindow(ProgressLabel(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  lastPaint = GetTickCount();
  paintPending = false;
}

void ShowAboutBox() {
  DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_ABOUT), MainWindow(), AboutDialogProc, 0);
}
