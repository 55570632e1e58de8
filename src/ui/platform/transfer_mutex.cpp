#include "ui/platform/transfer_mutex.h"

#include <windows.h>

#include <atomic>

namespace {

// Per session: the keyboard settings a transfer replaces are the session's.
constexpr char kMutexName[] = "Local\\RQ57 Configuration Utility transfer";
// Long enough to outlast another program's look at whether a transfer runs.
constexpr DWORD kLockWaitMs = 50;

struct LockState {
  HANDLE mutex = nullptr;
  std::atomic<bool> held{false};  // read by other threads (a keyboard hook's)
} lock;

// Takes the mutex within ms; an abandoned one (its holder was killed) counts as taken.
bool Take(HANDLE mutex, DWORD ms) {
  const DWORD waited = WaitForSingleObject(mutex, ms);
  return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

}  // namespace

bool LockTransfers() {
  if (lock.held) return false;
  if (lock.mutex == nullptr) lock.mutex = CreateMutexA(nullptr, FALSE, kMutexName);
  if (lock.mutex == nullptr) return false;
  lock.held = Take(lock.mutex, kLockWaitMs);
  return lock.held.load();
}

void UnlockTransfers() {
  if (!lock.held) return;
  ReleaseMutex(lock.mutex);
  lock.held = false;
}

bool AnyTransferRunning() {
  if (lock.held) return true;
  HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, kMutexName);
  if (mutex == nullptr) return false;  // nobody has made it: no transfer
  const bool free = Take(mutex, 0);
  if (free) ReleaseMutex(mutex);
  CloseHandle(mutex);
  return !free;
}
