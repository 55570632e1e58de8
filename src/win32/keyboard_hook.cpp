#include "win32/keyboard_hook.h"

#include <deque>

namespace {

// Windows removes a low-level hook that keeps the system waiting (about a
// second): the hook's thread does nothing but queue or post events, and nothing
// it does can block for long.
constexpr DWORD kStartWaitMs = 5000;
constexpr DWORD kStopWaitMs = 5000;
constexpr std::size_t kMostQueued = 4096;
constexpr int kVirtualKeys = 256;

struct HookState {
  CRITICAL_SECTION guard;  // the queue and the swallowed keys
  bool guardReady = false;
  std::deque<LinkMessage> queue;
  bool swallowed[kVirtualKeys] = {};
  HANDLE arrived = nullptr;  // auto-reset: an event was queued
  HANDLE ready = nullptr;    // the thread has installed the hook (or failed to)
  HANDLE thread = nullptr;
  DWORD threadId = 0;
  HHOOK hook = nullptr;
  // Set before the thread starts: where events go instead of the queue.
  HWND window = nullptr;
  UINT message = 0;
  bool (*passOn)() = nullptr;
} state;

// The hook reports the left and right modifier keys; the link, like a window's
// queue, knows them as one.
int LinkKey(DWORD vk) {
  switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return static_cast<int>(vk);
  }
}

// Whether the event goes no further: every key-down, and the key-up of one that was
// swallowed.
bool Swallow(DWORD vk, bool up) {
  if (!up) {
    state.swallowed[vk] = true;
    return true;
  }
  const bool swallow = state.swallowed[vk];
  state.swallowed[vk] = false;
  return swallow;
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wParam, lParam);
  const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  const DWORD vk = event->vkCode % kVirtualKeys;
  const bool up = (event->flags & LLKHF_UP) != 0;  // system keys (Alt held) included
  if (state.passOn != nullptr && state.passOn()) {
    EnterCriticalSection(&state.guard);
    state.swallowed[vk] = false;
    LeaveCriticalSection(&state.guard);
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  EnterCriticalSection(&state.guard);
  if (state.window == nullptr && state.queue.size() < kMostQueued) {
    state.queue.push_back({up ? LinkMessageKind::kKeyUp : LinkMessageKind::kKeyDown, LinkKey(vk)});
  }
  const bool swallow = Swallow(vk, up);
  LeaveCriticalSection(&state.guard);
  if (state.window != nullptr) {
    PostMessageA(state.window, state.message, vk, MAKELPARAM(event->scanCode, event->flags));
  } else {
    SetEvent(state.arrived);
  }
  return swallow ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI HookThreadProc(void*) {
  state.hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHookProc, GetModuleHandleA(nullptr), 0);
  // Wine calls a thread's low-level hook only once the thread has looked at its
  // queue; the look also makes the queue that the quit message goes to.
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
  SetEvent(state.ready);
  if (state.hook == nullptr) return 1;
  // The hook is called from inside GetMessage.
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
  }
  UnhookWindowsHookEx(state.hook);
  state.hook = nullptr;
  return 0;
}

void ClearQueue() {
  EnterCriticalSection(&state.guard);
  state.queue.clear();
  for (bool& key : state.swallowed) key = false;
  LeaveCriticalSection(&state.guard);
}

}  // namespace

bool StartKeyboardHook() { return StartKeyboardHookFor(nullptr, 0, nullptr); }

bool StartKeyboardHookFor(HWND window, UINT message, bool (*passOn)()) {
  if (state.thread != nullptr) return true;
  state.window = window;
  state.message = message;
  state.passOn = passOn;
  if (!state.guardReady) {
    InitializeCriticalSection(&state.guard);
    state.arrived = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    state.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    state.guardReady = true;
  }
  if (state.arrived == nullptr || state.ready == nullptr) return false;
  ClearQueue();
  ResetEvent(state.ready);
  state.thread = CreateThread(nullptr, 0, HookThreadProc, nullptr, 0, &state.threadId);
  if (state.thread == nullptr) return false;
  const bool started = WaitForSingleObject(state.ready, kStartWaitMs) == WAIT_OBJECT_0 && state.hook != nullptr;
  if (!started) StopKeyboardHook();
  return started;
}

void StopKeyboardHook() {
  if (state.thread == nullptr) return;
  PostThreadMessageA(state.threadId, WM_QUIT, 0, 0);
  // A thread that does not end in time is left to the end of the process.
  WaitForSingleObject(state.thread, kStopWaitMs);
  CloseHandle(state.thread);
  state.thread = nullptr;
  ClearQueue();
}

LinkMessage TakeKeyEvent() {
  if (!state.guardReady) return {};
  EnterCriticalSection(&state.guard);
  LinkMessage event;
  if (!state.queue.empty()) {
    event = state.queue.front();
    state.queue.pop_front();
  }
  LeaveCriticalSection(&state.guard);
  return event;
}

void WaitForKeyEvent(DWORD ms) {
  if (state.arrived != nullptr) WaitForSingleObject(state.arrived, ms);
}

PostedKey PostedKeyOf(WPARAM wParam, LPARAM lParam) {
  const DWORD flags = HIWORD(lParam);
  return {static_cast<int>(wParam), LOWORD(lParam), (flags & LLKHF_EXTENDED) != 0, (flags & LLKHF_UP) == 0};
}
