#include "cli/platform/console_link_platform.h"

#include "win32/keyboard_hook.h"
#include "win32/transfer_mutex.h"

namespace {

constexpr DWORD kIdleWaitMs = 1;
// Closing the console (or logging off) ends the process once the handler returns:
// it holds the process this long for the transfer to put the settings back.
constexpr DWORD kCloseGraceMs = 3000;

volatile LONG stopRequested = 0;
HANDLE idle = nullptr;  // set while no transfer runs

BOOL WINAPI ConsoleCtrlHandler(DWORD event) {
  InterlockedExchange(&stopRequested, 1);
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;  // handled: the transfer stops
  if (idle != nullptr) WaitForSingleObject(idle, kCloseGraceMs);
  return FALSE;
}

}  // namespace

ConsoleLinkPlatform::ConsoleLinkPlatform() {
  if (idle == nullptr) idle = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  SetConsoleCtrlHandler(ConsoleCtrlHandler, TRUE);
}

void ConsoleLinkPlatform::Pause(std::uint32_t ms) {
  progress_.ShowDue(GetTickCount());
  Sleep(ms);
}

void ConsoleLinkPlatform::WaitForMessage() {
  progress_.ShowDue(GetTickCount());
  WaitForKeyEvent(kIdleWaitMs);
}

LinkMessage ConsoleLinkPlatform::TakeMessage() { return TakeKeyEvent(); }

void ConsoleLinkPlatform::ShowProgress(const char* text) { progress_.Show(text, GetTickCount()); }

bool ConsoleLinkPlatform::StopRequested() { return InterlockedCompareExchange(&stopRequested, 0, 0) != 0; }

bool ConsoleHost::Lock() {
  if (!LockTransfers()) return false;
  if (idle != nullptr) ResetEvent(idle);
  return true;
}

void ConsoleHost::Unlock() {
  UnlockTransfers();
  if (idle != nullptr) SetEvent(idle);
}

std::string ConsoleHost::SettingsRecordPath() { return TransferRecordPath(); }

bool ConsoleHost::StartListening() { return StartKeyboardHook(); }

void ConsoleHost::StopListening() { StopKeyboardHook(); }
