#include "ui/window_dpi.h"

namespace {

using DpiForWindowCall = UINT(WINAPI*)(HWND);
using AdjustForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// A user32 function of newer systems, or null.
template <typename Call>
Call User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

}  // namespace

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int WindowDpi(HWND window) {
  static const auto dpiForWindow = User32Function<DpiForWindowCall>("GetDpiForWindow");
  const UINT dpi = dpiForWindow != nullptr ? dpiForWindow(window) : 0;
  return dpi != 0 ? static_cast<int>(dpi) : ScreenDpi();
}

void AdjustWindowRectForDpi(RECT& frame, DWORD style, bool menu, int dpi) {
  static const auto adjustForDpi = User32Function<AdjustForDpiCall>("AdjustWindowRectExForDpi");
  if (adjustForDpi != nullptr &&
      adjustForDpi(&frame, style, menu ? TRUE : FALSE, 0, static_cast<UINT>(dpi))) {
    return;
  }
  AdjustWindowRect(&frame, style, menu ? TRUE : FALSE);
}
