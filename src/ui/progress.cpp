#include "ui/progress.h"

#include "ui/app_core.h"
#include "ui/platform/win32_link_platform.h"
#include "ui/resources/resource.h"

namespace {

// A transfer sets the progress text for every byte, faster than a screen shows
// it, and every paint lengthens the transfer. So a new text is painted at once
// when the last paint is a frame old, else when the link next waits.
constexpr DWORD kFrameMs = 16;

struct ProgressState {
  DWORD lastPaint = 0;
  bool paintPending = false;
} progress;

HWND ProgressLabel() { return GetDlgItem(ProgressWindow(), IDC_PROGRESS_TEXT); }

// Handles no command: Esc, Enter and the like cannot close the window.
INT_PTR CALLBACK ProgressDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The progress window as the link's providers see it.
class ProgressWindowView : public ProgressView {
 public:
  HWND Window() override { return ProgressWindow(); }
  void SetText(const char* text) override { SetProgressText(text); }
  void PaintText() override { PaintProgressText(); }
};

ProgressWindowView windowView;

}  // namespace

// Any command (OK, Enter, Esc, the close box) ends the box with its id.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

bool OpenProgressWindow() {
  HWND window = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(IDD_PROGRESS), MainWindow(),
                                   ProgressDialogProc, 0);
  SetProgressWindow(window);
  if (window == nullptr) return false;
  SetProgressView(windowView);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  progress.lastPaint = GetTickCount();
  progress.paintPending = false;
  return true;
}

void CloseProgressWindow() {
  if (HWND window = ProgressWindow()) DestroyWindow(window);
  SetProgressWindow(nullptr);
}

void SetProgressText(const char* text) {
  if (ProgressWindow() == nullptr) return;
  // The label's own handling would paint the text at once; the default one
  // only stores it, and the label paints what is stored.
  DefWindowProcA(ProgressLabel(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  progress.paintPending = true;
  if (GetTickCount() - progress.lastPaint >= kFrameMs) PaintProgressText();
}

void PaintProgressText() {
  if (ProgressWindow() == nullptr || !progress.paintPending) return;
  RedrawWindow(ProgressLabel(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  progress.lastPaint = GetTickCount();
  progress.paintPending = false;
}

void ShowAboutBox() {
  DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_ABOUT), MainWindow(), AboutDialogProc, 0);
}
