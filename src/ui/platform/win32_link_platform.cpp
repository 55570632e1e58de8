#include "ui/platform/win32_link_platform.h"

namespace {

class NoProgressView : public ProgressView {
 public:
  HWND Window() override { return nullptr; }
  void SetText(const char*) override {}
  void PaintText() override {}
};

NoProgressView noView;
ProgressView* view = &noView;

// Longest idle wait while the queue is empty; a message ends it sooner.
constexpr DWORD kIdleWaitMs = 1;

bool quitKept = false;
int quitCode = 0;

}  // namespace

void Win32LinkPlatform::Pause(std::uint32_t ms) {
  view->PaintText();
  Sleep(ms);
}

void Win32LinkPlatform::WaitForMessage() {
  view->PaintText();
  // Unlike Sleep(1), which lasts a whole timer tick (15.6 ms by default), this
  // returns as soon as input or any other message arrives.
  MsgWaitForMultipleObjects(0, nullptr, FALSE, kIdleWaitMs, QS_ALLINPUT);
}

LinkMessage Win32LinkPlatform::TakeMessage() {
  if (!PeekMessageA(&taken_, nullptr, 0, 0, PM_REMOVE)) return {};
  // While Alt is held (or for F10) every key comes as a system key: the
  // encoder's answers and a user's keys alike, so they count as keys too.
  switch (taken_.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return {LinkMessageKind::kKeyDown, static_cast<int>(taken_.wParam)};
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return {LinkMessageKind::kKeyUp, static_cast<int>(taken_.wParam)};
    default:
      return {LinkMessageKind::kOther, -1};
  }
}

void Win32LinkPlatform::DispatchTakenMessage() {
  if (taken_.message == WM_QUIT) {
    quitKept = true;
    quitCode = static_cast<int>(taken_.wParam);
    return;
  }
  HWND progress = view->Window();
  if (progress != nullptr && IsWindow(progress) && IsDialogMessageA(progress, &taken_)) return;
  TranslateMessage(&taken_);
  DispatchMessageA(&taken_);
}

void Win32LinkPlatform::ShowProgress(const char* text) { view->SetText(text); }

void SetProgressView(ProgressView& shown) { view = &shown; }

ProgressView& TransferProgressView() { return *view; }

void PostKeptQuitMessage() {
  if (!quitKept) return;
  quitKept = false;
  PostQuitMessage(quitCode);
}
