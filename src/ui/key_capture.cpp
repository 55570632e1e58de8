#include "ui/key_capture.h"

#include <windows.h>

#include "ui/app_core.h"
#include "ui/platform/transfer_mutex.h"

namespace {

struct KeyCaptureState {
  HHOOK hook = nullptr;
  KeyEventHandler handler = nullptr;
} capture;

LRESULT CALLBACK KeyCaptureHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HC_ACTION || capture.handler == nullptr || TransferRunning() ||
      AnyTransferRunning()) {
    return CallNextHookEx(capture.hook, code, wParam, lParam);
  }
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  const Keystroke stroke = {static_cast<int>(key->vkCode), static_cast<int>(key->scanCode),
                            (key->flags & LLKHF_EXTENDED) != 0};
  capture.handler(stroke, (key->flags & LLKHF_UP) == 0);
  return 1;
}

}  // namespace

void CaptureKeyboard(KeyEventHandler handler) {
  capture.handler = handler;
  if (capture.hook == nullptr) {
    capture.hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyCaptureHookProc, AppInstance(), 0);
  }
}

void ReleaseKeyboard(KeyEventHandler handler) {
  if (capture.handler != handler) return;
  capture.handler = nullptr;
  if (capture.hook != nullptr) UnhookWindowsHookEx(capture.hook);
  capture.hook = nullptr;
}
