#include "ui/key_capture.h"

#include "ui/app_core.h"
#include "win32/keyboard_hook.h"
#include "win32/transfer_mutex.h"

namespace {

struct KeyCaptureState {
  HWND window = nullptr;
  KeyEventHandler handler = nullptr;
} capture;

}  // namespace

void CaptureKeyboard(HWND window, KeyEventHandler handler) {
  if (capture.window != window) StopKeyboardHook();
  capture.window = window;
  capture.handler = handler;
  // The hook's thread asks the lock, which any thread may ask, whether a transfer runs.
  StartKeyboardHookFor(window, kCapturedKeyMessage, AnyTransferRunning);
}

void ReleaseKeyboard(KeyEventHandler handler) {
  if (capture.handler != handler) return;
  StopKeyboardHook();
  capture = KeyCaptureState{};
}

void DeliverCapturedKey(HWND window, WPARAM wParam, LPARAM lParam) {
  if (window != capture.window || capture.handler == nullptr || !IsWindowEnabled(window) ||
      TransferRunning()) {
    return;
  }
  const PostedKey key = PostedKeyOf(wParam, lParam);
  capture.handler({key.virtualKey, key.scanCode, key.extended}, key.down);
}
